// Printing one inspection's protocol from the history window.
#include "accessorycard.h"
#include "folders.h"
#include "datasetsource.h"
#include "historywindow.h"
#include "prompts.h"
#include "sestava.h"

#include <QDir>

using tz::db::Dataset;
using tz::db::Error;

namespace tz::acc {

void printInspectionProtocol(TfVazaci &card, THistoryWindow &window, int tag)
{
    tz::db::TDM &dm = card.dataModule();
    Dataset &hist = window.history();
    if (!hist.isOpen() || hist.recNo() < 0)
        return;
    try {
        // the row the user chose: the accessory (number and kind) and the date
        dm.Tisk_rev.close();
        dm.Tisk_rev.setParam(QStringLiteral("_datum"), hist.value(QStringLiteral("DATUM")));
        dm.Tisk_rev.open();
        if (dm.Tisk_rev.isEmpty()) {
            tz::gui::warn(&window, QStringLiteral("Revize k tisku nebyla nalezena; uložte ji a opakujte tisk."));
            return;
        }
        QString param = dm.companyText();
        if (param.trimmed().isEmpty()) {
            if (!dm.Majitel.isOpen())
                dm.Majitel.open();
            if (!dm.Majitel.isEmpty())
                param = dm.Majitel.field(QStringLiteral("FIRMA"))->asString();
        }
        tz::rep::DatasetSource source(&dm.Tisk_rev);
        tz::rep::TSestava rep;
        rep.setReportDirIgnore(false);
        // the program folder's definition, else the one installed beside the programs
        rep.setReportDir(tz::reportFolder(QDir::currentPath(), card.kind().protocolReport));
        rep.setReportName(card.kind().protocolReport);
        rep.tiskJedenZaznam = true;
        rep.Parametry = QStringList{param};
        rep.dataSource = &source;
        if (tag == 10)
            rep.Preview();
        else
            rep.Print();
    } catch (const Error &e) {
        tz::gui::showError(&window, e.userText());
    }
}

} // namespace tz::acc
