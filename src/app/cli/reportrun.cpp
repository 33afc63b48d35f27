#include "reportrun.h"

#include "dataset.h"
#include "datasetsource.h"
#include "db.h"
#include "cliargs.h"
#include "exporter.h"
#include "folders.h"
#include "program.h"
#include "sestava.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace tz::app {

const char *const kReportRunUsage =
    "report run SOUBOR.pts --data DIR --sql \"select ...\" [--param TEXT]...\n"
    "                        --format pdf|html|txt|rtf|svg --out CESTA [--codepage ascii|cp867|cp852|cp1250]\n"
    "                                        sestava nad výsledkem dotazu do souboru\n";

namespace {

struct RunArgs {
    QString definition, data, sql, format, out, codepage;
    QStringList params;
};

// Reads the arguments; an empty text when they are complete, else the reason.
QString parse(const QStringList &args, RunArgs &a)
{
    using tz::cli::Option;
    try {
        const tz::cli::Arguments given(args, {{"--data", Option::Value, true},
                                              {"--sql", Option::Value, true},
                                              {"--format", Option::Value, true},
                                              {"--out", Option::Value, true},
                                              {"--codepage", Option::Value},
                                              {"--param", Option::Values}});
        given.expectPositional(1, 1, {"SOUBOR.pts"});
        a.definition = given.positional(0);
        a.data = given.value(QStringLiteral("--data"));
        a.sql = given.value(QStringLiteral("--sql"));
        a.format = given.value(QStringLiteral("--format")).toLower();
        a.out = given.value(QStringLiteral("--out"));
        a.codepage = given.value(QStringLiteral("--codepage"));
        a.params = given.values(QStringLiteral("--param"));
    } catch (const tz::cli::ArgumentError &e) {
        return e.message();
    }
    if (!tz::rep::exportFormats().contains(a.format))
        return QStringLiteral("Neznámý výstupní formát: %1 (možné: %2)")
            .arg(a.format, tz::rep::exportFormats().join(QStringLiteral(", ")));
    // the report only reads: anything but a query is refused before the data is touched
    static const QRegularExpression query(QStringLiteral("^\\s*(select|with)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (!query.match(a.sql).hasMatch())
        return QStringLiteral("Dotaz --sql musí být příkaz select.");
    return {};
}

// The definition as given, else by its name in the "reports" of the data's
// program folder, else in those beside the programs.
tz::InstalledFile findDefinition(const RunArgs &a)
{
    tz::InstalledFile f;
    f.name = tz::installName(a.definition);
    const QFileInfo given(f.name);
    f.searched << given.absolutePath();
    if (given.isFile()) {
        f.path = given.absoluteFilePath();
        return f;
    }
    if (given.isAbsolute())
        return f;
    const tz::InstalledFile installed = tz::findReportDefinition(programFolderOf(a.data).dir(), f.name);
    for (const QString &dir : installed.searched)
        if (!f.searched.contains(dir))
            f.searched << dir;
    f.path = installed.path;
    return f;
}

int codepage(const QString &name, bool *ok)
{
    *ok = true;
    const QString n = name.toLower();
    if (n.isEmpty() || n == QLatin1String("cp1250"))
        return n.isEmpty() ? tz::rep::slUndefined : tz::rep::slCP1250;
    if (n == QLatin1String("ascii"))
        return tz::rep::slASCII;
    if (n == QLatin1String("cp867"))
        return tz::rep::slCP867;
    if (n == QLatin1String("cp852"))
        return tz::rep::slCP852;
    *ok = false;
    return 0;
}

} // namespace

int reportRun(const QStringList &args, QTextStream &out, QTextStream &err)
{
    RunArgs a;
    const QString wrong = parse(args, a);
    if (!wrong.isEmpty()) {
        err << wrong << "\nPoužití:\n  tavozz-cli " << kReportRunUsage;
        return 2;
    }
    bool cpOk = false;
    const int language = codepage(a.codepage, &cpOk);
    if (!cpOk) {
        err << "Neznámá znaková sada: " << a.codepage << " (možné: ascii, cp867, cp852, cp1250)\n";
        return 2;
    }
    const tz::InstalledFile found = findDefinition(a);
    if (!found.found()) {
        err << "Nebyl nalezen soubor s předlohou tiskové sestavy \"" << found.name << "\" (hledáno "
            << (found.searched.size() > 1 ? "ve složkách " : "ve složce ") << found.searchedText() << ")\n";
        return 1;
    }
    const QFileInfo def(found.path);

    tz::rep::setMessageHandler([&err](tz::rep::MessageKind, const QString &caption, const QString &text) {
        err << caption << ": " << text << "\n";
        err.flush();
        return false;   // questions are answered "No" without a window
    });
    struct ResetHandler {
        ~ResetHandler() { tz::rep::setMessageHandler({}); }
    } reset;

    tz::db::Database d;
    openDataPath(d, a.data);
    tz::db::Dataset ds(&d, QStringLiteral("report"));
    ds.setSql(a.sql);
    try {
        ds.open();
    } catch (const tz::db::Error &e) {
        err << "Dotaz se nepodařilo provést: " << e.userText() << "\n";
        return 1;
    }
    tz::rep::DatasetSource source(&ds);

    tz::rep::TSestava rep;
    rep.setReportDirIgnore(false);
    rep.setReportDir(def.absolutePath());
    rep.setReportName(def.fileName());
    rep.Parametry = a.params;
    rep.dataSource = &source;
    rep.exportLanguage = language;
    const tz::rep::TSestError e = rep.exportTo(a.format, a.out);
    if (!source.lastError().isEmpty())
        err << "Chyba při čtení dat: " << source.lastError() << "\n";
    if (e != tz::rep::seOK) {
        if (e == tz::rep::sePreruseno)
            err << "Sestava byla přerušena.\n";
        return 1;
    }
    out << "Sestava " << def.fileName() << ": stran " << rep.pages.pageCount() << ", záznamů " << ds.recordCount()
        << ", zapsáno do " << QFileInfo(a.out).absoluteFilePath() << "\n";
    return source.lastError().isEmpty() ? 0 : 1;
}

} // namespace tz::app
