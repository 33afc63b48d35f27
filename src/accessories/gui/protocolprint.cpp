// Printing from the accessory's windows: one inspection's protocol from the
// history window, the evidence card from the card.
#include "accessorycard.h"
#include "cardprint.h"
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
        // the row the user chose by its whole key: the accessory (number and
        // kind, those of the card the history belongs to) and the date
        dm.Tisk_rev.close();
        dm.Tisk_rev.setParam(QStringLiteral("_datum"), hist.value(QStringLiteral("DATUM")));
        dm.Tisk_rev.open();
        if (dm.Tisk_rev.isEmpty()) {
            tz::gui::warn(&window, QStringLiteral("Revize k tisku nebyla nalezena; uložte ji a opakujte tisk."));
            return;
        }
        // the accessory's company, the organisation that inspects and its logo
        const Organisation org = userOrganisation(dm);
        handOverLogo(org);
        const QStringList params = protocolParameters(companyLine(dm, dm.BasicView.value(QStringLiteral("Firma"))), org);
        tz::rep::DatasetSource source(&dm.Tisk_rev);
        tz::rep::TSestava rep;
        rep.setReportDirIgnore(false);
        // the program folder's definition, else the one installed beside the programs
        rep.setReportDir(tz::reportFolder(QDir::currentPath(), card.kind().protocolReport));
        rep.setReportName(card.kind().protocolReport);
        rep.tiskJedenZaznam = true;
        rep.Parametry = params;
        rep.dataSource = &source;
        if (tag == 10)
            rep.Preview();
        else
            rep.Print();
    } catch (const Error &e) {
        tz::gui::showError(&window, e.userText());
    }
}

void printEvidenceCard(TfVazaci &card, bool preview)
{
    try {
        CardRun run(card.dataModule(), QDir::currentPath());
        // the picture the card shows
        const tz::rep::TSestError e = run.run(card.shownPicture(), [preview](tz::rep::TSestava &rep) {
            return preview ? rep.Preview() : rep.Print();
        });
        if (e == tz::rep::seJina && !run.problem().isEmpty())
            tz::gui::warn(&card, run.problem());
    } catch (const Error &e) {
        tz::gui::showError(&card, e.userText());
    }
}

} // namespace tz::acc
