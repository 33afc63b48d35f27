#pragma once
// The overview print of the main window ("Tisk přehledu"): the list shown on
// the active page as the data of "pvp.pts" (accessories) or "pzz.pts"
// (equipment) from the program folder's reports, with the company text as the
// first parameter, in the preview window.
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace tz::db {
class Dataset;
}

namespace tz::gui {

struct OverviewDefinition {
    QString file;                                // "pvp.pts", "pzz.pts"
    QList<QPair<QString, QString>> labels;       // field -> label for the report
};

// The overview of a register; nullopt for the registers without one.
std::optional<OverviewDefinition> overviewFor(const QString &registerName);
// The folder holding the definition: the program folder's "reports", else the
// one installed beside the programs, else (for the message) the program folder's.
QString overviewReportDir(const QString &programFolder, const QString &file);
// Runs the preview of the register's overview over the list; nothing for other
// registers. Fields of the labels that the list lacks (a planning list) print
// empty. Messages are the report engine's.
void printOverview(const QString &programFolder, const QString &registerName, tz::db::Dataset *list,
                   const QString &companyText);

} // namespace tz::gui
