#include "overviewprint.h"
#include "folders.h"

#include "dataset.h"
#include "datasetsource.h"
#include "sestava.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tz::gui {

std::optional<OverviewDefinition> overviewFor(const QString &registerName)
{
    if (registerName == QStringLiteral("Vázací prostředky"))
        return OverviewDefinition{QStringLiteral("pvp.pts"),
                                  {{QStringLiteral("Firma"), QStringLiteral("Firma")},
                                   {QStringLiteral("D"), QStringLiteral("Druh")},
                                   {QStringLiteral("POPIS"), QStringLiteral("Popis")},
                                   {QStringLiteral("OZNACENI"), QStringLiteral("Označení")},
                                   {QStringLiteral("EVID_C"), QStringLiteral("Evidenční č.")},
                                   {QStringLiteral("DAT_PLAN_1"), QStringLiteral("Příští prohlídka")},
                                   {QStringLiteral("DAT_PLAN_3"), QStringLiteral("Příští důkladná")}}};
    if (registerName == QStringLiteral("Zdvihací zařízení"))
        return OverviewDefinition{QStringLiteral("pzz.pts"),
                                  {{QStringLiteral("Firma"), QStringLiteral("Firma")},
                                   {QStringLiteral("Typ_Zar"), QStringLiteral("Druh zařízení")},
                                   {QStringLiteral("Max_nosnost"), QStringLiteral("Nosnost")},
                                   {QStringLiteral("EVID_C"), QStringLiteral("Evidenční č.")},
                                   {QStringLiteral("Next_Inspekce"), QStringLiteral("Příští inspekce")},
                                   {QStringLiteral("Next_Revize"), QStringLiteral("Příští revize")},
                                   {QStringLiteral("Next_RevZk"), QStringLiteral("Příští rev.zkouška")}}};
    return std::nullopt;
}

QString overviewReportDir(const QString &programFolder, const QString &file)
{
    return tz::reportFolder(programFolder, file);
}

void printOverview(const QString &programFolder, const QString &registerName, tz::db::Dataset *list,
                   const QString &companyText)
{
    const std::optional<OverviewDefinition> ov = overviewFor(registerName);
    if (!ov || !list)
        return;
    tz::rep::DatasetSource source(list);
    for (const auto &[field, label] : ov->labels) {
        source.setLabel(field, label);
        source.addEmptyField(field, label);
    }
    tz::rep::TSestava rep;
    rep.setReportDirIgnore(false);
    rep.setReportDir(overviewReportDir(programFolder, ov->file));
    rep.setReportName(ov->file);
    rep.tiskJedenZaznam = false;
    rep.Parametry = {companyText};
    rep.dataSource = &source;
    rep.Preview();
    if (!source.lastError().isEmpty())
        tz::rep::showMessage(tz::rep::MessageKind::Error, QStringLiteral("Chyba"), source.lastError());
}

} // namespace tz::gui
