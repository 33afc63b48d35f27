// Accessory rules without widgets: picture names, next due dates, periods,
// the capacity table, and the partner variant's test values and price.
#include "accessoryrules.h"
#include "datadir.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::acc;
using namespace tz::db;

class TstAccessoryRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureNames_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("typ");
        QTest::addColumn<QString>("trida");
        QTest::addColumn<QString>("name");
        QTest::newRow("chain 3 in 8S") << "R" << 3 << "8S" << "I3V";
        QTest::newRow("chain 3 in 10") << "R" << 3 << "10" << "I310";
        QTest::newRow("chain 3 in M24") << "R" << 3 << "M24" << "I324";
        QTest::newRow("chain 2 in 10") << "R" << 2 << "10" << "I210";
        QTest::newRow("chain 5 in M24") << "R" << 5 << "M24" << "In24";
        QTest::newRow("chain 1 in 8: no suffix") << "R" << 1 << "8" << "I1";
        QTest::newRow("chain 6 in 10V") << "R" << 6 << "10V" << "IV1V";
        QTest::newRow("chain 9 without class") << "R" << 9 << "" << "IL24";
        QTest::newRow("chain 0: none") << "R" << 0 << "8" << "";
        QTest::newRow("chain 10: none") << "R" << 10 << "8" << "";
        QTest::newRow("rope 8") << "L" << 8 << "1770" << "IL8";
        QTest::newRow("textile 0: none") << "X" << 0 << "8" << "";
        QTest::newRow("textile 1 ignores class") << "X" << 1 << "8S" << "Ix1";
        QTest::newRow("clamp 5") << "S" << 5 << "" << "Is5";
        QTest::newRow("clamp 6: none") << "S" << 6 << "" << "";
        QTest::newRow("spreader beam 4") << "T" << 4 << "" << "IT4";
        QTest::newRow("other 6") << "J" << 6 << "" << "IJ6";
        QTest::newRow("unknown kind") << "Q" << 1 << "" << "";
    }
    void pictureNames()
    {
        QFETCH(QString, kind);
        QFETCH(int, typ);
        QFETCH(QString, trida);
        QFETCH(QString, name);
        QCOMPARE(standardPictureName(kind, typ, trida), name);
    }

    void kindTable()
    {
        QCOMPARE(accessoryKinds().size(), 6);
        for (const char *l : {"R", "L", "X", "S", "T", "J"}) {
            const AccessoryKind *k = kindByLetter(QString::fromLatin1(l));
            QVERIFY(k);
            QCOMPARE(kindByForm(k->formClass), k);
            QCOMPARE(k->name, TDM::kindName(k->letter));
        }
        // only chains and textiles carry the thorough inspection; only these look capacities up
        QCOMPARE(kindByLetter("R")->period3Choices, (QList<int>{36, 24, 12}));
        QVERIFY(kindByLetter("L")->period3Choices.isEmpty());
        QVERIFY(kindByLetter("X")->lookup == LookupNever);
        QVERIFY(kindByLetter("R")->lookup & LookupOnNumbers);
        QVERIFY(kindByLetter("T")->lookup & LookupOnNumbers);
        QVERIFY(!(kindByLetter("L")->lookup & LookupOnNumbers));
        QCOMPARE(kindByLetter("R")->typeHints.size(), 9);
        QCOMPARE(kindByLetter("S")->typeHints.at(2), QStringLiteral("Horiz. svěrka (IPHGZ,  IPHGUZ, IPBHZ...)"));
    }

    void nextDates_data()
    {
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QDate>("inService");
        QTest::addColumn<QVariant>("period");
        QTest::addColumn<QDate>("expected");   // invalid: the next date stays
        const QDate none;
        QTest::newRow("31.1. + 12") << QDate(2005, 1, 31) << none << QVariant(12) << QDate(2006, 1, 31);
        QTest::newRow("31.8. + 6 to February") << QDate(2005, 8, 31) << none << QVariant(6) << QDate(2006, 2, 28);
        QTest::newRow("31.12. + 3") << QDate(2004, 12, 31) << none << QVariant(3) << QDate(2005, 3, 31);
        QTest::newRow("31.5. + 36") << QDate(2005, 5, 31) << none << QVariant(36) << QDate(2008, 5, 31);
        QTest::newRow("31.7. + 9 to April") << QDate(2005, 7, 31) << none << QVariant(9) << QDate(2006, 4, 30);
        QTest::newRow("29.2. + 36") << QDate(2004, 2, 29) << none << QVariant(36) << QDate(2007, 2, 28);
        QTest::newRow("30.11. + 3") << QDate(2004, 11, 30) << none << QVariant(3) << QDate(2005, 2, 28);
        QTest::newRow("from service date") << none << QDate(2004, 10, 10) << QVariant(12) << QDate(2005, 10, 10);
        QTest::newRow("from today") << none << none << QVariant(12) << QDate(2027, 12, 10);
        QTest::newRow("empty period keeps") << QDate(2005, 1, 31) << none << QVariant() << none;
        QTest::newRow("blank text period keeps") << QDate(2005, 1, 31) << none << QVariant(" ") << none;
        QTest::newRow("period as text") << QDate(2005, 1, 31) << none << QVariant("24") << QDate(2007, 1, 31);
    }
    void nextDates()
    {
        QFETCH(QDate, last);
        QFETCH(QDate, inService);
        QFETCH(QVariant, period);
        QFETCH(QDate, expected);
        const auto got = nextDueDate(last, inService, period, QDate(2026, 12, 10));
        QCOMPARE(got.has_value(), expected.isValid());
        if (got)
            QCOMPARE(*got, expected);
    }

    void periodsBelowOneAreRefused_data()
    {
        QTest::addColumn<QVariant>("period");
        QTest::addColumn<bool>("refused");
        QTest::newRow("-3") << QVariant(-3) << true;
        QTest::newRow("0") << QVariant(0) << true;
        QTest::newRow("abc") << QVariant("abc") << true;
        QTest::newRow("1") << QVariant(1) << false;
        QTest::newRow("empty") << QVariant() << false;
    }
    void periodsBelowOneAreRefused()
    {
        QFETCH(QVariant, period);
        QFETCH(bool, refused);
        QCOMPARE(!periodProblem(period).isEmpty(), refused);
        if (refused)
            QVERIFY(!nextDueDate(QDate(2005, 1, 31), {}, period, QDate(2026, 1, 1)));
    }

    void capacityLookupIsExact()
    {
        QTemporaryDir tmp;
        Database db(QStringLiteral("cap"));
        db.openSqlite(tmp.path());
        installSchema(db);
        TDM dm(&db);
        dm.setSelectedCompany(1);
        dm.BasicView.open();
        dm.BasicView.append();
        Dataset &v = dm.BasicView;
        v.setFieldValue("DRUH", "R");
        v.setFieldValue("TYP", 2);
        v.setFieldValue("JAK_TRIDA", "8");
        v.setFieldValue("PRUMER", 10);
        QVERIFY(lookupCapacity(dm.Nosnosti, v));
        QCOMPARE(v.field("NOSNOST_1")->asFloat(), 6300.0);
        QCOMPARE(v.field("NOSNOST_3")->asFloat(), 3150.0);
        // no partial or case-blind match: the typed capacities stay
        v.setFieldValue("NOSNOST_1", 1234);
        v.setFieldValue("JAK_TRIDA", "8s");
        QVERIFY(!lookupCapacity(dm.Nosnosti, v));
        QCOMPARE(v.field("NOSNOST_1")->asFloat(), 1234.0);
        v.setFieldValue("JAK_TRIDA", "8");
        v.setFieldValue("PRUMER", 10.5);
        QVERIFY(!lookupCapacity(dm.Nosnosti, v));
        v.cancel();
        // a browsing row is never changed
        QVERIFY(!lookupCapacity(dm.Nosnosti, v));
    }

    void partnerTestValues()
    {
        // 13 mm, no hook, master link, 4 legs
        TestValues t = testValues(13, false, true, 4);
        QCOMPARE(t.proud5.value(), 380.0);
        QCOMPARE(t.tloustka1.value(), 32.0);
        QCOMPARE(t.proud1.value(), 850.0);
        QVERIFY(!t.tloustka4 && !t.proud4);
        // two legs take the other table; a hook adds the end part
        t = testValues(8, true, true, 2);
        QCOMPARE(t.tloustka1.value(), 16.0);
        QCOMPARE(t.proud1.value(), 410.0);
        QCOMPARE(t.tloustka4.value(), 29.0);
        QCOMPARE(t.proud4.value(), 760.0);
        // a diameter outside the tables changes nothing
        t = testValues(12, true, true, 1);
        QVERIFY(!t.proud5 && !t.tloustka1 && !t.proud1 && !t.tloustka4 && !t.proud4);
    }

    void partnerPrices_data()
    {
        QTest::addColumn<double>("delka");
        QTest::addColumn<int>("price");
        QTest::newRow("3.5 m: two further metres") << 3.5 << 700;
        QTest::newRow("2.2 m: one") << 2.2 << 600;
        QTest::newRow("2 m: none") << 2.0 << 500;
        QTest::newRow("1 m: none") << 1.0 << 500;
        QTest::newRow("3.1 m") << 3.1 << 700;
        QTest::newRow("4.1 m like 3.1 m") << 4.1 << 800;
        QTest::newRow("5.1 m") << 5.1 << 900;
        QTest::newRow("3.0 m") << 3.0 << 600;
        QTest::newRow("2.6 m") << 2.6 << 600;
    }
    void partnerPrices()
    {
        QFETCH(double, delka);
        QFETCH(int, price);
        QCOMPARE(partnerPrice(500, 100, delka), price);
    }
};

QTEST_GUILESS_MAIN(TstAccessoryRules)
#include "tst_accessoryrules.moc"
