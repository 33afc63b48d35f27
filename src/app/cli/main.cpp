// tavozz-cli: the program's jobs without a window, on a data directory.
#include "dataset.h"
#include "datadir.h"
#include "datamodule.h"
#include "dates.h"
#include "equipmentcli.h"
#include "mainstate.h"
#include "db.h"
#include "listdocument.h"
#include "spreadsheet.h"
#include "program.h"
#include "cliargs.h"

#ifdef TAVOZZ_HAVE_REPORTS
#include "cardcli.h"
#include "reportcli.h"
#include "reportrun.h"
#endif

#include <QCoreApplication>
#include <QDir>
#ifdef TAVOZZ_HAVE_REPORTS
#include <QGuiApplication>
#endif
#include <QRegularExpression>
#include <QTextStream>

#include <memory>

using namespace tz;

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int usage()
{
    err() << "Použití:\n"
             "  tavozz-cli init DATADIR [--demo]      vytvoří nový datový adresář\n"
             "  tavozz-cli sql DIR \"příkaz\"            provede příkaz SQL a vypíše výsledek\n"
             "  tavozz-cli plan DIR REGISTR DATUM [--firma N]\n"
             "                                        plánovací seznam registru ke dni\n"
             "                                        (REGISTR: vp, zz, osoby, ok, oppp nebo celý název)\n"
             "  tavozz-cli xlsx-list DIR REGISTR [--plan DATUM] [--firma N] --out SOUBOR.xlsx\n"
             "                                        seznam registru do sešitu podle šablony Seznam_x\n"
             "  tavozz-cli monthstep DATUM N          datum posunuté o N měsíců (příští termín prohlídky)\n"
             "                                        (DATUM: d.m.rrrr, rok 1 až 9999)\n"
             "  tavozz-cli equipment next|intervals|inspect ...  zdvihací zařízení: termíny, intervaly, revize\n"
#ifdef TAVOZZ_HAVE_REPORTS
             "  tavozz-cli report check|eval ...      sestavy\n"
#endif
          ;
#ifdef TAVOZZ_HAVE_REPORTS
    err() << "  tavozz-cli " << app::kReportRunUsage;
    err() << "  tavozz-cli " << app::kCardUsage;
#endif
    err().flush();
    return 2;
}

using cli::Arguments;
using cli::ArgumentError;
using cli::Option;

int cmdInit(const QStringList &args)
{
    const Arguments a(args, {{"--demo", Option::Flag}});
    a.expectPositional(1, 1, {"DATADIR"});
    const QString dir = a.positional(0);
    const bool demo = a.has(QStringLiteral("--demo"));
    if (QFileInfo::exists(QDir(dir).filePath(QString::fromLatin1(db::Database::FileName)))) {
        err() << "Datový adresář " << QDir(dir).absolutePath() << " již obsahuje data; nic se nemění.\n";
        return 1;
    }
    if (!QDir().mkpath(dir)) {
        err() << "Datový adresář " << QDir(dir).absolutePath() << " nelze vytvořit.\n";
        return 1;
    }
    db::Database d;
    d.openSqlite(dir);
    db::installSchema(d);
    if (demo)
        db::loadDemoData(d);
    out() << "Vytvořen datový adresář " << QDir(dir).absolutePath() << (demo ? " s ukázkovými daty" : "") << "\n";
    return 0;
}

void printDataset(db::Dataset &ds)
{
    QStringList header;
    for (int i = 0; i < ds.fieldCount(); ++i)
        header << ds.fieldAt(i)->name();
    out() << header.join(QLatin1Char('\t')) << "\n";
    for (ds.first(); !ds.eof(); ds.next()) {
        QStringList row;
        for (int i = 0; i < ds.fieldCount(); ++i)
            row << ds.fieldAt(i)->asString().replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        out() << row.join(QLatin1Char('\t')) << "\n";
    }
}

// A register by its short or full name.
int registerIndex(const QString &text)
{
    static const QHash<QString, int> shortNames = {{"vp", 0}, {"zz", 1}, {"osoby", 2}, {"ok", 3}, {"oppp", 4}};
    const QStringList names = app::MainState::registerNames();
    int reg = shortNames.value(text.toLower(), -1);
    for (int i = 0; i < names.size() && reg < 0; ++i)
        if (names[i].compare(text, Qt::CaseInsensitive) == 0)
            reg = i;
    if (reg < 0)
        throw ArgumentError(QStringLiteral("Neznámý registr: %1 (možné: vp, zz, osoby, ok, oppp nebo celý název)").arg(text));
    return reg;
}

// The company of "--firma N": 999 (all) when absent.
int companyOption(const Arguments &a)
{
    if (!a.has(QStringLiteral("--firma")))
        return 999;
    return cli::integerArgument(a.value(QStringLiteral("--firma")), QStringLiteral("Číslo firmy"), 1, 998);
}

int cmdPlan(const QStringList &args)
{
    const Arguments a(args, {{"--firma", Option::Value}});
    a.expectPositional(3, 3, {"DIR", "REGISTR", "DATUM"});
    const int firma = companyOption(a);
    const int reg = registerIndex(a.positional(1));
    const QDate day = cli::dateArgument(a.positional(2));
    db::Database d;
    app::openDataPath(d, a.positional(0));
    db::TDM dm(&d);
    dm.setSelectedCompany(firma);
    app::MainState st(dm);
    st.setRegister(app::MainState::registerNames()[reg]);
    st.setPage(app::Page::Planning);
    st.setPlanDate(day);
    st.refresh();
    printDataset(*st.planningList());
    return 0;
}

int cmdXlsxList(const QStringList &args)
{
    const Arguments a(args, {{"--firma", Option::Value}, {"--plan", Option::Value}, {"--out", Option::Value, true}});
    a.expectPositional(2, 2, {"DIR", "REGISTR"});
    const int firma = companyOption(a);
    const int reg = registerIndex(a.positional(1));
    const QString outPath = a.value(QStringLiteral("--out")).trimmed();
    QDate day;
    if (a.has(QStringLiteral("--plan")))
        day = cli::dateArgument(a.value(QStringLiteral("--plan")));
    db::Database d;
    app::openDataPath(d, a.positional(0));
    db::TDM dm(&d);
    dm.setSelectedCompany(firma);
    app::MainState st(dm);
    st.setRegister(app::MainState::registerNames()[reg]);
    st.setPage(day.isValid() ? app::Page::Planning : app::Page::Evidence);
    if (day.isValid())
        st.setPlanDate(day);
    st.refresh();
    db::Dataset *list = day.isValid() ? st.planningList() : st.evidenceList();
    const ListDocument doc = app::listDocument(dm, *list, st.registerName(), day.isValid());
    try {
        // the template of the program folder, else the one installed beside the programs
        saveList(doc, app::programFolderOf(a.positional(0)).dir(), outPath);
    } catch (const SpreadsheetError &e) {
        err() << e.message() << "\n";
        return 1;
    }
    out() << "Zapsáno řádků: " << doc.rows.size() << " do " << QFileInfo(outPath).absoluteFilePath() << "\n";
    return 0;
}

int cmdMonthStep(const QStringList &args)
{
    const Arguments a(args, {});
    a.expectPositional(2, 2, {"DATUM", "N"});
    const QDate d = cli::dateArgument(a.positional(0));
    // more months than the years 1 to 9999 hold cannot give a date of the program
    constexpr int kMaxMonths = (cli::kLastYear - cli::kFirstYear + 1) * 12;
    const int n = cli::integerArgument(a.positional(1), QStringLiteral("Počet měsíců"), -kMaxMonths, kMaxMonths);
    out() << formatDate2(cli::checkedResultDate(monthStep(d, n))) << "\n";
    return 0;
}

int cmdSql(const QStringList &args)
{
    const Arguments a(args, {});
    a.expectPositional(2, -1, {"DIR", "\"příkaz\""});
    db::Database d;
    app::openDataPath(d, a.positional(0));
    const QString sql = a.positional().mid(1).join(QLatin1Char(' '));
    static const QRegularExpression select(QStringLiteral("^\\s*(select|with|pragma)\\b"), QRegularExpression::CaseInsensitiveOption);
    if (!select.match(sql).hasMatch()) {
        const int n = d.exec(sql);
        out() << "Změněno řádků: " << n << "\n";
        return 0;
    }
    db::Dataset ds(&d, QStringLiteral("sql"));
    ds.setSql(sql);
    ds.open();
    printDataset(ds);
    return 0;
}

#ifdef TAVOZZ_HAVE_REPORTS
// "report check FILE" and "report eval EXPR [--param TEXT]...": the arguments
// are checked here, the work is done by the report engine's own commands.
int cmdReport(const QStringList &args)
{
    const QString sub = args.value(0);
    if (sub == QLatin1String("run"))
        return app::reportRun(args.mid(1), out(), err());
    if (sub == QLatin1String("check")) {
        const Arguments a(args.mid(1), {});
        a.expectPositional(1, 1, {"SOUBOR.pts"});
        return rep::runCli({sub, a.positional(0)}, out(), err());
    }
    if (sub == QLatin1String("eval")) {
        const Arguments a(args.mid(1), {{"--param", Option::Values}});
        a.expectPositional(1, 1, {"\"VÝRAZ\""});
        QStringList forward{sub, a.positional(0)};
        for (const QString &p : a.values(QStringLiteral("--param")))
            forward << QStringLiteral("--param") << p;
        return rep::runCli(forward, out(), err());
    }
    throw ArgumentError(sub.isEmpty() ? QStringLiteral("Chybí příkaz sestav (check, eval nebo run).")
                                      : QStringLiteral("Neznámý příkaz sestav: %1 (možné: check, eval, run)").arg(sub));
}
#endif

} // namespace

int main(int argc, char **argv)
{
#ifdef TAVOZZ_HAVE_REPORTS
    // Composing a report measures text with fonts, which needs the graphics
    // layer (without any window).
    const bool graphic = (argc > 2 && qstrcmp(argv[1], "report") == 0 && qstrcmp(argv[2], "run") == 0)
        || (argc > 1 && qstrcmp(argv[1], "card") == 0);
    if (graphic && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application(graphic ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
#else
    std::unique_ptr<QCoreApplication> application(new QCoreApplication(argc, argv));
#endif
    QStringList args = application->arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString cmd = args.takeFirst();
    try {
        int rc = 2;
        if (cmd == QLatin1String("init"))
            rc = cmdInit(args);
        else if (cmd == QLatin1String("sql"))
            rc = cmdSql(args);
        else if (cmd == QLatin1String("plan"))
            rc = cmdPlan(args);
        else if (cmd == QLatin1String("xlsx-list"))
            rc = cmdXlsxList(args);
        else if (cmd == QLatin1String("monthstep"))
            rc = cmdMonthStep(args);
        else if (cmd == QLatin1String("equipment"))
            rc = app::equipmentCli(args, out(), err());
#ifdef TAVOZZ_HAVE_REPORTS
        else if (cmd == QLatin1String("report"))
            rc = cmdReport(args);
        else if (cmd == QLatin1String("card"))
            rc = app::cardCli(args, out(), err());
#endif
        else
            throw ArgumentError(QStringLiteral("Neznámý příkaz: %1").arg(cmd));
        out().flush();
        err().flush();
        return rc;
    } catch (const ArgumentError &e) {
        out().flush();
        err() << e.message() << "\n" << "Seznam příkazů vypíše tavozz-cli bez argumentů.\n";
        err().flush();
        return 2;
    } catch (const db::Error &e) {
        out().flush();
        err() << e.userText() << "\n";
        err().flush();
        return 1;
    }
}
