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

#ifdef TAVOZZ_HAVE_REPORTS
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
             "  tavozz-cli equipment next|intervals|inspect ...  zdvihací zařízení: termíny, intervaly, revize\n"
#ifdef TAVOZZ_HAVE_REPORTS
             "  tavozz-cli report check|eval ...      sestavy\n"
#endif
          ;
#ifdef TAVOZZ_HAVE_REPORTS
    err() << "  tavozz-cli " << app::kReportRunUsage;
#endif
    err().flush();
    return 2;
}

int cmdInit(const QStringList &args)
{
    if (args.isEmpty())
        return usage();
    const QString dir = args.at(0);
    const bool demo = args.contains(QStringLiteral("--demo"));
    QDir().mkpath(dir);
    if (QFileInfo::exists(QDir(dir).filePath(QString::fromLatin1(db::Database::FileName)))) {
        err() << "Datový adresář " << QDir::toNativeSeparators(dir) << " již obsahuje data; nic se nemění.\n";
        return 1;
    }
    db::Database d;
    d.openSqlite(dir);
    db::installSchema(d);
    if (demo)
        db::loadDemoData(d);
    out() << "Vytvořen datový adresář " << QDir::toNativeSeparators(QDir(dir).absolutePath()) << (demo ? " s ukázkovými daty" : "") << "\n";
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

// Takes "--name value" out of the arguments; empty when absent.
QString takeOption(QStringList &args, const QString &name)
{
    const int i = args.indexOf(name);
    if (i < 0)
        return {};
    const QString v = args.value(i + 1);
    args.remove(i, qMin(2, int(args.size()) - i));
    return v.isEmpty() ? QStringLiteral(" ") : v;
}

// A register by its short or full name; -1 with a message when unknown.
int registerIndex(const QString &text)
{
    static const QHash<QString, int> shortNames = {{"vp", 0}, {"zz", 1}, {"osoby", 2}, {"ok", 3}, {"oppp", 4}};
    const QStringList names = app::MainState::registerNames();
    int reg = shortNames.value(text.toLower(), -1);
    for (int i = 0; i < names.size() && reg < 0; ++i)
        if (names[i].compare(text, Qt::CaseInsensitive) == 0)
            reg = i;
    if (reg < 0)
        err() << "Neznámý registr: " << text << "\n";
    return reg;
}

// The company of "--firma N": 999 (all) when absent, 0 with a message when wrong.
int companyOption(QStringList &args)
{
    const QString f = takeOption(args, QStringLiteral("--firma"));
    if (f.isEmpty())
        return 999;
    bool ok = false;
    const int firma = f.toInt(&ok);
    if (!ok || firma < 1 || firma > 998) {
        err() << "Číslo firmy musí být 1 až 998.\n";
        return 0;
    }
    return firma;
}

QDate dateArgument(const QString &text)
{
    const QDate day = parseDate(text);
    if (!day.isValid())
        err() << "Chybné datum: " << text << " (zadejte den.měsíc.rok)\n";
    return day;
}

int cmdPlan(const QStringList &argsIn)
{
    QStringList args = argsIn;
    const int firma = companyOption(args);
    if (firma == 0)
        return 2;
    if (args.size() != 3)
        return usage();
    const int reg = registerIndex(args.at(1));
    const QDate day = dateArgument(args.at(2));
    if (reg < 0 || !day.isValid())
        return 2;
    db::Database d;
    app::openDataPath(d, args.at(0));
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

int cmdXlsxList(const QStringList &argsIn)
{
    QStringList args = argsIn;
    const int firma = companyOption(args);
    const QString plan = takeOption(args, QStringLiteral("--plan")).trimmed();
    const QString outPath = takeOption(args, QStringLiteral("--out")).trimmed();
    if (firma == 0)
        return 2;
    if (args.size() != 2 || outPath.isEmpty())
        return usage();
    const int reg = registerIndex(args.at(1));
    if (reg < 0)
        return 2;
    QDate day;
    if (!plan.isEmpty() && !(day = dateArgument(plan)).isValid())
        return 2;
    db::Database d;
    app::openDataPath(d, args.at(0));
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
    // the templates of the program folder, or those installed beside the program
    const QString dataDir = d.dataDir();
    const QString folder = app::templateFolder(QFileInfo(dataDir).absolutePath(), kListTemplate);
    try {
        saveList(doc, folder, outPath);
    } catch (const SpreadsheetError &e) {
        err() << e.message() << "\n";
        return 1;
    }
    out() << "Zapsáno řádků: " << doc.rows.size() << " do " << QDir::toNativeSeparators(outPath) << "\n";
    return 0;
}

int cmdMonthStep(const QStringList &args)
{
    if (args.size() != 2)
        return usage();
    const QDate d = parseDate(args.at(0));
    if (!d.isValid()) {
        err() << "Neplatné datum: " << args.at(0) << " (zadejte d.m.rrrr)\n";
        return 1;
    }
    bool ok = false;
    const int n = args.at(1).toInt(&ok);
    if (!ok) {
        err() << "Počet měsíců musí být celé číslo: " << args.at(1) << "\n";
        return 1;
    }
    out() << formatDate2(monthStep(d, n)) << "\n";
    return 0;
}

int cmdSql(const QStringList &args)
{
    if (args.size() < 2)
        return usage();
    db::Database d;
    app::openDataPath(d, args.at(0));
    const QString sql = args.mid(1).join(QLatin1Char(' '));
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

} // namespace

int main(int argc, char **argv)
{
#ifdef TAVOZZ_HAVE_REPORTS
    // Composing a report measures text with fonts, which needs the graphics
    // layer (without any window).
    const bool graphic = argc > 2 && qstrcmp(argv[1], "report") == 0 && qstrcmp(argv[2], "run") == 0;
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
            rc = args.value(0) == QLatin1String("run") ? app::reportRun(args.mid(1), out(), err())
                                                       : rep::runCli(args, out(), err());
#endif
        else
            rc = usage();
        out().flush();
        err().flush();
        return rc;
    } catch (const db::Error &e) {
        out().flush();
        err() << e.userText() << "\n";
        err().flush();
        return 1;
    }
}
