// tavozz-cli equipment: next dates, default intervals and inspections from the
// command line, its refusal of malformed arguments, and several processes
// recording inspections at the same time without sharing any number (SQLite,
// and PostgreSQL when a test server is given by TAVOZZ_PG_*).
#include "equipmenttestdb.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace tz;
using tz::db::Params;

namespace {

struct Run
{
    int code = -1;
    QString out, err;
};

Run cli(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TAVOZZ_CLI), args);
    Run r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("tavozz-cli did not finish");
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// "name\tvalue" lines of the output.
QString outputValue(const QString &out, const QString &name)
{
    for (const QString &line : out.split(QLatin1Char('\n')))
        if (line.section(QLatin1Char('\t'), 0, 0) == name)
            return line.section(QLatin1Char('\t'), 1);
    return {};
}

QString pgEnv(const char *n, const char *def = "") { return qEnvironmentVariable(n, QString::fromLatin1(def)); }

} // namespace

class TstEquipmentCli : public QObject
{
    Q_OBJECT

    // Several processes record inspections of the demo items at once: kind 1
    // and kind 3, every one with a date of its own. Then every iD, link and
    // running number must be distinct, and every checklist whole.
    void concurrentInspections(const QString &target, db::Database &check)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TAVOZZ_TEST_ALLOCATION_PAUSE_MS"), QStringLiteral("40"));
        struct Job { int poradi; QString kind; QDate date; };
        QVector<Job> jobs;
        for (int i = 0; i < 12; ++i)
            jobs.push_back({i % 3 + 1, i % 3 == 2 ? QStringLiteral("3") : QStringLiteral("1"), QDate(2030, 1, 1).addDays(i)});
        std::vector<std::unique_ptr<QProcess>> procs;
        for (const Job &j : jobs) {
            auto p = std::make_unique<QProcess>();
            p->setProcessEnvironment(env);
            p->start(QStringLiteral(TAVOZZ_CLI), {"equipment", "inspect", target, QString::number(j.poradi), j.kind,
                                                 j.date.toString(QStringLiteral("d.M.yyyy"))});
            procs.push_back(std::move(p));
        }
        QSet<QString> printedIds;
        for (auto &p : procs) {
            QVERIFY(p->waitForFinished(120000));
            const QString out = QString::fromUtf8(p->readAllStandardOutput());
            QVERIFY2(p->exitCode() == 0, qPrintable(QString::fromUtf8(p->readAllStandardError())));
            printedIds << outputValue(out, "iD");
        }
        QCOMPARE(printedIds.size(), jobs.size());

        const int kind1 = int(std::count_if(jobs.begin(), jobs.end(), [](const Job &j) { return j.kind == "1"; }));
        const int kind3 = int(jobs.size()) - kind1;
        QCOMPARE(check.scalar("select count(*) from zz_revize").toInt(), int(jobs.size()));
        for (const char *col : {"iD", "Polozky", "Zavady"})
            QCOMPARE(check.scalar(QStringLiteral("select count(distinct %1) from zz_revize").arg(QLatin1String(col))).toInt(),
                     int(jobs.size()));
        // one running sequence per kind, without gaps or doubles
        for (const auto &[kind, n] : {std::pair<QString, int>{"1", kind1}, std::pair<QString, int>{"3", kind3}}) {
            const Params k{{"t", kind}};
            QCOMPARE(check.scalar("select count(distinct CisZapisuNum) from zz_revize where Typ=:t", k).toInt(), n);
            QCOMPARE(check.scalar("select min(CisZapisuNum) from zz_revize where Typ=:t", k).toInt(), 1);
            QCOMPARE(check.scalar("select max(CisZapisuNum) from zz_revize where Typ=:t", k).toInt(), n);
        }
        // every checklist belongs to one inspection and is the whole set (12 items of a revision, 7 of an examination)
        QCOMPARE(check.scalar("select count(*) from zz_polozkyrev").toInt(), kind1 * 12 + kind3 * 7);
        QCOMPARE(check.scalar("select count(*) from zz_revize r where (select count(*) from zz_polozkyrev p where p.Revize=r.Polozky) "
                              "<> case when r.Typ='1' then 12 else 7 end").toInt(),
                 0);
    }

private Q_SLOTS:
    void nextDate_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("31st into February") << QStringList{"31.8.2005", "6"} << "28.02.2006";
        QTest::newRow("empty interval") << QStringList{"10.1.2005", ""} << "10.04.2005";
        QTest::newRow("negative interval") << QStringList{"15.3.2005", "-3"} << "15.06.2005";
        QTest::newRow("leap year") << QStringList{"31.1.2008", "1"} << "28.02.2008";
        QTest::newRow("out of the revision-test year") << QStringList{"15.4.2005", "12", "--revzk", "1.9.2006"} << "15.04.2007";
        QTest::newRow("option first, another year") << QStringList{"--revzk", "1.9.2007", "15.4.2005", "12"} << "15.04.2006";
    }
    void nextDate()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        const Run r = cli(QStringList{"equipment", "next"} + args);
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed(), expected);
    }

    void malformedArguments_data()
    {
        QTest::addColumn<QStringList>("args"); // DIR stands for a data directory
        QTest::addColumn<QString>("message");
        QTest::newRow("bad date") << QStringList{"next", "31.2.2005", "1"} << "Neplatné datum";
        QTest::newRow("ISO date") << QStringList{"next", "2008-01-31", "1"} << "Neplatné datum";
        QTest::newRow("result after the year 9999") << QStringList{"next", "31.12.9999", "12"} << "mimo roky 1 až 9999";
        QTest::newRow("bad interval") << QStringList{"next", "1.1.2005", "x"} << "Interval musí být celé číslo";
        QTest::newRow("interval with a fraction") << QStringList{"next", "1.1.2005", "1,5"} << "Interval musí být celé číslo";
        QTest::newRow("option without value") << QStringList{"next", "1.1.2005", "1", "--revzk"} << "potřebuje hodnotu";
        QTest::newRow("bad test date") << QStringList{"next", "1.1.2005", "1", "--revzk", "2005"} << "Neplatné datum";
        QTest::newRow("unknown option") << QStringList{"next", "1.1.2005", "1", "--mesice", "3"} << "Neznámá volba";
        QTest::newRow("missing interval") << QStringList{"next", "1.1.2005"} << "Použití";
        QTest::newRow("intervals: too few") << QStringList{"intervals", "DIR", "1", "", "J1"} << "Použití";
        QTest::newRow("inspect: bad item number") << QStringList{"inspect", "DIR", "x", "1", "1.1.2026"} << "Pořadové číslo";
        QTest::newRow("inspect: kind 4") << QStringList{"inspect", "DIR", "1", "4", "1.1.2026"} << "Druh revize musí být";
        QTest::newRow("inspect: bad date") << QStringList{"inspect", "DIR", "1", "1", "1.13.2026"} << "Neplatné datum";
        QTest::newRow("inspect: unknown option") << QStringList{"inspect", "DIR", "1", "1", "1.1.2026", "--force"} << "Neznámá volba";
        QTest::newRow("inspect: no such item") << QStringList{"inspect", "DIR", "42", "1", "1.1.2026"} << "neexistuje";
        QTest::newRow("unknown command") << QStringList{"plan"} << "Neznámý příkaz";
        QTest::newRow("nothing") << QStringList{} << "Použití";
    }
    void malformedArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        EquipmentTestDb t;
        args.replaceInStrings(QRegularExpression("^DIR$"), t.dir.path());
        const Run r = cli(QStringList{"equipment"} + args);
        QVERIFY2(r.code > 0, qPrintable(QString::number(r.code)));
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QCOMPARE(t.count("select count(*) from zz_revize"), 0);
    }

    void intervals_data()
    {
        QTest::addColumn<QStringList>("classification");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("values"); // Revize, Revizní zkouška, Inspekce, Elektrorevize, Zaměření dráhy
        QTest::newRow("kind's own row") << QStringList{"5", "s hákem", "J2", "III"} << "Intervaly pro druh 5"
                                        << QStringList{"12", "24", "12", "12", ""};
        QTest::newRow("general row") << QStringList{"1", "drapákový", "J1", "I"} << "Obecné intervaly"
                                     << QStringList{"48", "96", "12", "24", "96"};
        QTest::newRow("no row") << QStringList{"1", "", "", ""} << "žádný řádek" << QStringList{};
    }
    void intervals()
    {
        QFETCH(QStringList, classification);
        QFETCH(QString, heading);
        QFETCH(QStringList, values);
        EquipmentTestDb t;
        const Run r = cli(QStringList{"equipment", "intervals", t.dir.path()} + classification);
        QCOMPARE(r.code, 0);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.value(0).contains(heading), qPrintable(r.out));
        const QStringList labels{"Revize", "Revizní zkouška", "Inspekce", "Elektrorevize", "Zaměření dráhy"};
        QCOMPARE(lines.size(), values.isEmpty() ? 1 : 6);
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(lines.value(i + 1), labels[i] + '\t' + values[i]);
    }

    void inspect()
    {
        EquipmentTestDb t;
        const Run r = cli({"equipment", "inspect", t.dir.path(), "1", "1", "15.4.2027"});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(outputValue(r.out, "iD"), QStringLiteral("1"));
        QCOMPARE(outputValue(r.out, "Číslo protokolu"), QStringLiteral("R-1/ZZ"));
        QCOMPARE(outputValue(r.out, "Položek kontroly"), QStringLiteral("12"));
        QCOMPARE(outputValue(r.out, "Příští termín"), QStringLiteral("15.04.2029"));
        QCOMPARE(t.count("select count(*) from zz_basic where Poradi=1 and Dat_Revize=:l and Next_Revize=:n",
                         Params{{"l", QDate(2027, 4, 15)}, {"n", QDate(2029, 4, 15)}}),
                 1);
        QCOMPARE(t.count("select count(*) from zz_polozkyrev where Revize=1"), 12);
        // the same date again is no change: nothing is recorded
        const Run again = cli({"equipment", "inspect", t.dir.path(), "1", "1", "15.4.2027"});
        QCOMPARE(again.code, 1);
        QVERIFY2(again.err.contains("nic se nezapisuje"), qPrintable(again.err));
        QCOMPARE(t.count("select count(*) from zz_revize"), 1);
        // an examination starts its own sequence
        const Run exam = cli({"equipment", "inspect", t.dir.path(), "3", "3", "31.1.2027"});
        QCOMPARE(exam.code, 0);
        QCOMPARE(outputValue(exam.out, "Číslo protokolu"), QStringLiteral("I-1/ZZ"));
        QCOMPARE(outputValue(exam.out, "Příští termín"), QStringLiteral("30.04.2027")); // demo item 3: every 3 months
    }

    void concurrentOnSqlite()
    {
        EquipmentTestDb t;
        concurrentInspections(t.dir.path(), *t.db);
    }

    void concurrentOnPostgres()
    {
        if (pgEnv("TAVOZZ_PG_DB").isEmpty())
            QSKIP("no PostgreSQL test database given (TAVOZZ_PG_DB)");
        const QString schema = QStringLiteral("tz_equipment_cli");
        db::Database pg(QStringLiteral("eqpg"));
        try {
            pg.openPostgres(pgEnv("TAVOZZ_PG_HOST", "localhost"), pgEnv("TAVOZZ_PG_PORT", "5432").toInt(), pgEnv("TAVOZZ_PG_DB"),
                            pgEnv("TAVOZZ_PG_USER"), pgEnv("TAVOZZ_PG_PASSWORD"));
            // a schema of its own: other tests empty the public one
            pg.exec(QStringLiteral("drop schema if exists %1 cascade").arg(schema));
            pg.exec(QStringLiteral("create schema %1").arg(schema));
            pg.exec(QStringLiteral("set search_path to %1").arg(schema));
            pg.refreshCatalog();
            db::installSchema(pg);
            db::loadDemoData(pg);
        } catch (const db::Error &e) {
            QFAIL(qPrintable(e.userText()));
        }
        QUrl url;
        url.setScheme(QStringLiteral("postgresql"));
        url.setHost(pgEnv("TAVOZZ_PG_HOST", "localhost"));
        url.setPort(pgEnv("TAVOZZ_PG_PORT", "5432").toInt());
        url.setPath(QLatin1Char('/') + pgEnv("TAVOZZ_PG_DB"));
        url.setUserName(pgEnv("TAVOZZ_PG_USER"));
        url.setPassword(pgEnv("TAVOZZ_PG_PASSWORD"));
        url.setQuery(QStringLiteral("schema=") + schema);
        concurrentInspections(url.toString(), pg);
        pg.exec(QStringLiteral("drop schema %1 cascade").arg(schema));
    }
};

QTEST_GUILESS_MAIN(TstEquipmentCli)
#include "tst_equipmentcli.moc"
