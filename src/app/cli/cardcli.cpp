#include "cardcli.h"

#include "cardprint.h"
#include "cliargs.h"
#include "datamodule.h"
#include "db.h"
#include "program.h"
#include "sestava.h"

#include <QFileInfo>

namespace tz::app {

const char *const kCardUsage =
    "card DIR PORADI --out SOUBOR.pdf     evidenční karta vázacího prostředku do PDF\n";

int cardCli(const QStringList &args, QTextStream &out, QTextStream &err)
{
    using tz::cli::Option;
    const tz::cli::Arguments a(args, {{"--out", Option::Value, true}});
    a.expectPositional(2, 2, {"DIR", "PORADI"});
    const int poradi = tz::cli::integerArgument(a.positional(1), QStringLiteral("Pořadové číslo"), 1, 32767);
    const QString outPath = a.value(QStringLiteral("--out")).trimmed();

    tz::rep::setMessageHandler([&err](tz::rep::MessageKind, const QString &caption, const QString &text) {
        err << caption << ": " << text << "\n";
        err.flush();
        return false;   // questions are answered "No" without a window
    });
    struct ResetHandler {
        ~ResetHandler() { tz::rep::setMessageHandler({}); }
    } reset;

    tz::db::Database d;
    openDataPath(d, a.positional(0));
    tz::db::TDM dm(&d);
    dm.setSelectedCompany(999);   // any company's accessory
    dm.BasicView.open();
    if (!dm.BasicView.locate(QStringLiteral("PORADI"), poradi)) {
        err << "Vázací prostředek s pořadovým číslem " << poradi << " nebyl nalezen.\n";
        return 1;
    }
    tz::acc::CardRun card(dm, programFolderOf(a.positional(0)).dir());
    int pages = 0;
    const tz::rep::TSestError e =
        card.run(tz::acc::accessoryPicture(dm.BasicView), [&](tz::rep::TSestava &rep) {
            const tz::rep::TSestError r = rep.exportTo(QStringLiteral("pdf"), outPath);
            pages = rep.pages.pageCount();
            return r;
        });
    if (e != tz::rep::seOK) {
        if (!card.problem().isEmpty())
            err << card.problem() << "\n";
        return 1;
    }
    out << "Evidenční karta " << card.definitionFile() << ": stran " << pages << ", zapsáno do "
        << QFileInfo(outPath).absoluteFilePath() << "\n";
    return 0;
}

} // namespace tz::app
