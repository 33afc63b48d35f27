// The report command line: check and eval.
#include "reportcli.h"

#include <QtTest>

using namespace tz::rep;

namespace {
struct Run {
    int rc;
    QString out;
    QString err;
};
Run run(const QStringList &args)
{
    QString o, e;
    QTextStream out(&o), err(&e);
    const int rc = runCli(args, out, err);
    out.flush();
    err.flush();
    return {rc, o, e};
}
QString data(const char *name) { return QStringLiteral(TZ_REPORT_TESTDATA "/") + QLatin1String(name); }
} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void checkSummarizesStructure()
    {
        const Run r = run({QStringLiteral("check"), data("full.pts")});
        QCOMPARE(r.rc, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Oddíly: 9")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("Skupiny: 2")));
        QVERIFY(r.out.contains(QStringLiteral("Funkce: 3")));
        QVERIFY(r.out.contains(QStringLiteral("Prvků celkem: 27")));
        QVERIFY(r.out.contains(QStringLiteral("Detaily: 2")));
        QVERIFY(r.out.contains(QStringLiteral("Skupina 1: #DRUH (nová stránka)")));
        QVERIFY(r.out.contains(QStringLiteral("Výrazy: v pořádku")));
    }

    void checkReportsBadExpressionsAndFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zla.pts"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("F,0,A,\"\",0,\"0\",0,\"LEFT(#X\",0,15,2,2\r\nI,4,0,\"1+\",1,10,1,10,0\r\n");
        f.close();
        Run r = run({QStringLiteral("check"), path});
        QCOMPARE(r.rc, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Výrazy s chybou: 2")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("Chyba : \"chybí pravá závorka\" na pozici 8")));

        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("I,0,\"x\r\n");
        f.close();
        r = run({QStringLiteral("check"), path});
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.contains(QStringLiteral("zla.pts")) && r.err.contains(QStringLiteral("řádek 1")), qPrintable(r.err));

        r = run({QStringLiteral("check"), dir.filePath(QStringLiteral("neni.pts"))});
        QCOMPARE(r.rc, 1);
        QVERIFY(r.err.startsWith(QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy")));
    }

    void evalWithParameters()
    {
        Run r = run({QStringLiteral("eval"), QStringLiteral("&1*2 + STRTONUM(&2)"), QStringLiteral("--param"),
                     QStringLiteral("1,5"), QStringLiteral("--param"), QStringLiteral("4")});
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out.section(u'\n', 0, 0), QStringLiteral("7"));
        r = run({QStringLiteral("eval"), QStringLiteral("YEAR(%1) > 2000")});
        QCOMPARE(r.out.section(u'\n', 0, 0), QStringLiteral("1"));
        r = run({QStringLiteral("eval"), QStringLiteral("2*(3+")});
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.startsWith(QStringLiteral("Chyba : \"chybí pravá závorka\" na pozici 6")), qPrintable(r.err));
    }

    void usage()
    {
        QCOMPARE(run({}).rc, 2);
        QCOMPARE(run({QStringLiteral("nic")}).rc, 2);
        QCOMPARE(run({QStringLiteral("eval")}).rc, 2);
        QCOMPARE(run({QStringLiteral("eval"), QStringLiteral("1"), QStringLiteral("--param")}).rc, 2);
        QVERIFY(run({QStringLiteral("check")}).err.contains(QStringLiteral("Použití:")));
    }
};

QTEST_APPLESS_MAIN(TestCli)
#include "tst_cli.moc"
