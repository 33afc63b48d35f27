#include "reportrun.h"

#include "dataset.h"
#include "datasetsource.h"
#include "db.h"
#include "exporter.h"
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
    for (int i = 0; i < args.size(); ++i) {
        const QString &o = args[i];
        QString *target = nullptr;
        if (o == QLatin1String("--data"))
            target = &a.data;
        else if (o == QLatin1String("--sql"))
            target = &a.sql;
        else if (o == QLatin1String("--format"))
            target = &a.format;
        else if (o == QLatin1String("--out"))
            target = &a.out;
        else if (o == QLatin1String("--codepage"))
            target = &a.codepage;
        if (target || o == QLatin1String("--param")) {
            if (i + 1 >= args.size())
                return QStringLiteral("Chybí hodnota za %1.").arg(o);
            if (target)
                *target = args[++i];
            else
                a.params << args[++i];
        } else if (o.startsWith(QLatin1String("--"))) {
            return QStringLiteral("Neznámá volba: %1").arg(o);
        } else if (a.definition.isEmpty()) {
            a.definition = o;
        } else {
            return QStringLiteral("Nadbytečný argument: %1").arg(o);
        }
    }
    if (a.definition.isEmpty())
        return QStringLiteral("Chybí soubor s předlohou sestavy.");
    if (a.data.isEmpty())
        return QStringLiteral("Chybí datový adresář (--data).");
    if (a.sql.trimmed().isEmpty())
        return QStringLiteral("Chybí dotaz (--sql).");
    if (a.format.isEmpty())
        return QStringLiteral("Chybí výstupní formát (--format).");
    if (a.out.isEmpty())
        return QStringLiteral("Chybí výstupní soubor (--out).");
    a.format = a.format.toLower();
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
    const QFileInfo def(a.definition);
    if (!def.isFile()) {
        err << "Nebyl nalezen soubor s předlohou tiskové sestavy \"" << QDir::toNativeSeparators(def.absoluteFilePath())
            << "\"\n";
        return 1;
    }

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
        << ", zapsáno do " << QDir::toNativeSeparators(a.out) << "\n";
    return source.lastError().isEmpty() ? 0 : 1;
}

} // namespace tz::app
