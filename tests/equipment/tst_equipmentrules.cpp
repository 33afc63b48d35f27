// Due dates and intervals of the lifting equipment register: the month step
// and the next-date rules, seeding from the verification test, the default
// intervals, the classification handlers and the card's reaction to changed
// last dates and intervals.
#include "equipmentcard.h"
#include "equipmenttestdb.h"
#include "intervals.h"

#include <QtTest>

using namespace tz;
using namespace tz::eq;
using tz::db::Params;

namespace {

QDate d(int day, int month, int year) { return QDate(year, month, day); }

} // namespace

class TstEquipmentRules : public QObject
{
    Q_OBJECT

    std::unique_ptr<EquipmentTestDb> m_t;
    std::unique_ptr<db::TDM> m_dm;

    // The data module on a fresh data directory, its editing set on item `poradi` in edit state.
    db::Dataset &editItem(int poradi)
    {
        m_t = std::make_unique<EquipmentTestDb>();
        m_dm = std::make_unique<db::TDM>(m_t->db.get());
        m_dm->setSelectedCompany(999);
        m_dm->ZZBasicView.open();
        if (!m_dm->ZZBasicView.locate("Poradi", poradi))
            qFatal("demo item %d missing", poradi);
        m_dm->ZZBasicView.edit();
        return m_dm->ZZBasicView;
    }
    int inspections() { return m_t->count("select count(*) from zz_revize"); }

private Q_SLOTS:
    void cleanup()
    {
        m_dm.reset();
        m_t.reset();
    }

    // --- the month step and the next date, one table ----------------------

    void nextDueDate_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QVariant>("interval");
        QTest::addColumn<QDate>("nextRevZk");
        QTest::addColumn<QDate>("expected");

        const QVariant none;
        const int t21 = TagRevZk; // a check without the revision-test rule
        QTest::newRow("31.1. + 1 -> 28.2.") << t21 << d(31, 1, 2005) << QVariant(1) << QDate() << d(28, 2, 2005);
        QTest::newRow("31.8. + 6 -> 28.2. next year") << t21 << d(31, 8, 2005) << QVariant(6) << QDate() << d(28, 2, 2006);
        QTest::newRow("31.5. + 1 -> 30.6.") << t21 << d(31, 5, 2005) << QVariant(1) << QDate() << d(30, 6, 2005);
        QTest::newRow("31.3. + 12 keeps the 31st") << t21 << d(31, 3, 2005) << QVariant(12) << QDate() << d(31, 3, 2006);
        QTest::newRow("empty interval steps 3 months") << t21 << d(10, 1, 2005) << none << QDate() << d(10, 4, 2005);
        QTest::newRow("29.2. + 12 -> 28.2.") << t21 << d(29, 2, 2004) << QVariant(12) << QDate() << d(28, 2, 2005);
        QTest::newRow("leap year: 31.1.2008 + 1 -> 28.2.2008") << t21 << d(31, 1, 2008) << QVariant(1) << QDate() << d(28, 2, 2008);
        QTest::newRow("leap year: 29.2.2008 + 48 -> 28.2.2012") << t21 << d(29, 2, 2008) << QVariant(48) << QDate() << d(28, 2, 2012);
        QTest::newRow("30.11. + 3 -> 28.2.") << t21 << d(30, 11, 2005) << QVariant(3) << QDate() << d(28, 2, 2006);
        QTest::newRow("31.7. + 9 -> 30.4.") << t21 << d(31, 7, 2005) << QVariant(9) << QDate() << d(30, 4, 2006);
        QTest::newRow("31.10. + 11 -> 30.9.") << t21 << d(31, 10, 2005) << QVariant(11) << QDate() << d(30, 9, 2006);
        QTest::newRow("31.8. + 3 -> 30.11.") << t21 << d(31, 8, 2005) << QVariant(3) << QDate() << d(30, 11, 2005);
        QTest::newRow("31.12. + 14 over a year end") << t21 << d(31, 12, 2004) << QVariant(14) << QDate() << d(28, 2, 2006);
        QTest::newRow("120 months") << t21 << d(1, 1, 2000) << QVariant(120) << QDate() << d(1, 1, 2010);
        QTest::newRow("interval 0 steps 3 months") << t21 << d(15, 3, 2005) << QVariant(0) << QDate() << d(15, 6, 2005);
        QTest::newRow("negative interval steps 3 months") << t21 << d(15, 3, 2005) << QVariant(-3) << QDate() << d(15, 6, 2005);
        QTest::newRow("interval as empty text") << t21 << d(15, 3, 2005) << QVariant(QString()) << QDate() << d(15, 6, 2005);
        QTest::newRow("interval as text") << t21 << d(15, 3, 2005) << QVariant(QStringLiteral("24")) << QDate() << d(15, 3, 2007);
        QTest::newRow("empty last date gives no next date") << int(TagRevize) << QDate() << QVariant(12) << d(1, 9, 2006) << QDate();

        // tag 20: out of the calendar year of the next revision test, once
        QTest::newRow("revision in the test year moves on") << int(TagRevize) << d(15, 4, 2005) << QVariant(12) << d(1, 9, 2006) << d(15, 4, 2007);
        QTest::newRow("revision in another year stays") << int(TagRevize) << d(15, 4, 2005) << QVariant(12) << d(1, 9, 2007) << d(15, 4, 2006);
        QTest::newRow("revision without a test date") << int(TagRevize) << d(15, 4, 2005) << QVariant(12) << QDate() << d(15, 4, 2006);
        QTest::newRow("revision moved once only") << int(TagRevize) << d(10, 2, 2005) << QVariant(3) << d(1, 7, 2005) << d(10, 8, 2005);
        QTest::newRow("revision moved with the 3-month default") << int(TagRevize) << d(10, 1, 2005) << none << d(1, 1, 2005) << d(10, 7, 2005);
        QTest::newRow("moved revision keeps the clipped day") << int(TagRevize) << d(31, 8, 2005) << QVariant(6) << d(1, 12, 2006) << d(28, 8, 2006);
        QTest::newRow("revision test date in the year before") << int(TagRevize) << d(15, 4, 2005) << QVariant(12) << d(31, 12, 2005) << d(15, 4, 2006);
        QTest::newRow("revision-test rule only for the revision") << int(TagInspekce) << d(15, 4, 2005) << QVariant(12) << d(1, 9, 2006) << d(15, 4, 2006);
    }
    void nextDueDate()
    {
        QFETCH(int, tag);
        QFETCH(QDate, last);
        QFETCH(QVariant, interval);
        QFETCH(QDate, nextRevZk);
        QFETCH(QDate, expected);
        QCOMPARE(eq::nextDueDate(tag, last, interval, nextRevZk), expected);
    }

    void validity_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QDate>("datum");
        QTest::addColumn<QDate>("expected");
        // demo item 1: Int_Revize 12, Int_RevZk 48, Int_Inspekce 3, Int_Elektrorev 36, Int_zamereni empty
        QTest::newRow("revision") << "1" << d(31, 1, 2026) << d(31, 1, 2027);
        QTest::newRow("revision test") << "2" << d(29, 2, 2024) << d(28, 2, 2028);
        QTest::newRow("examination into February") << "3" << d(30, 11, 2026) << d(28, 2, 2027);
        QTest::newRow("electrical") << "4" << d(10, 2, 2025) << d(10, 2, 2028);
        QTest::newRow("survey without interval") << "5" << d(31, 5, 2026) << d(31, 8, 2026);
        QTest::newRow("unknown kind") << "7" << d(1, 1, 2026) << d(1, 4, 2026);
    }
    void validity()
    {
        QFETCH(QString, kind);
        QFETCH(QDate, datum);
        QFETCH(QDate, expected);
        editItem(1);
        EquipmentCardRules card(*m_dm);
        QCOMPARE(card.validityOf(kind, datum), expected);
    }

    // --- default intervals --------------------------------------------------

    void defaultIntervalLookup()
    {
        EquipmentTestDb t;
        // a kind's own row
        auto mobile = findDefaultIntervals(*t.db, {"5", "s hákem", "J1", "I"});
        QVERIFY(mobile);
        QVERIFY(!mobile->general);
        QCOMPARE(mobile->revize, QVariant(12));
        QCOMPARE(mobile->rzk, QVariant(24));
        QVERIFY(mobile->zam.isNull());
        // an empty load-handling device matches the rows kept for it
        QVERIFY(findDefaultIntervals(*t.db, {"5", "", "J2", "I"}).value_or(DefaultIntervals{}).revize == QVariant(12));
        // the general row of the groups
        auto overhead = findDefaultIntervals(*t.db, {"1", "s hákem", "J3", "II"});
        QVERIFY(overhead);
        QVERIFY(overhead->general);
        QCOMPARE(overhead->revize, QVariant(36));
        QCOMPARE(overhead->rzk, QVariant(72));
        QCOMPARE(overhead->insp, QVariant(12));
        // groups that disagree: the more demanding one counts
        QCOMPARE(findDefaultIntervals(*t.db, {"1", "", "J1", "IV"})->revize, QVariant(12));
        QCOMPARE(findDefaultIntervals(*t.db, {"1", "", "J5", "I"})->rzk, QVariant(24));
        // nothing for an unknown group or an empty classification
        QVERIFY(!findDefaultIntervals(*t.db, {"1", "s hákem", "J7", "II"}));
        QVERIFY(!findDefaultIntervals(*t.db, {"", "", "", ""}));
        // the comparison is exact
        QVERIFY(!findDefaultIntervals(*t.db, {"1", "", "j3", "II"}));
        // a row of its own beats the general one, and its empty values stay empty
        t.db->exec("insert into zz_dintervaly (Druh, Uchopeni, ProvSkup, Skupina, IRevize, IRzk, IERev, IZam, IInsp) "
                   "values ('1', 'magnetový', 'J3', 'II', null, 12, 6, null, 1)");
        auto own = findDefaultIntervals(*t.db, {"1", "magnetový", "J3", "II"});
        QVERIFY(own && !own->general);
        QVERIFY(own->revize.isNull());
        QCOMPARE(own->insp, QVariant(1));
    }

    // Every pair of operating group and crane group that the card can set has
    // a general row with all five intervals.
    void installedGeneralRowsComplete()
    {
        EquipmentTestDb t;
        for (const char *pg : {"J1", "J2", "J3", "J4", "J5", "J6"})
            for (const char *sk : {"I", "II", "III", "IV"}) {
                const auto r = findDefaultIntervals(*t.db, {"E", "", pg, sk});
                QVERIFY2(r && r->general, qPrintable(QStringLiteral("%1/%2").arg(pg, sk)));
                for (const QVariant &v : {r->revize, r->insp, r->rzk, r->erev, r->zam})
                    QVERIFY2(v.toInt() > 0, qPrintable(QStringLiteral("%1/%2").arg(pg, sk)));
            }
    }

    // --- the classification handlers on the card ---------------------------

    void classificationHandlers_data()
    {
        QTest::addColumn<QString>("druh");
        QTest::addColumn<QString>("uchopeni");
        QTest::addColumn<QString>("provSkup");
        QTest::addColumn<QString>("skupina");
        QTest::addColumn<QString>("handler"); // U, S or P
        QTest::addColumn<int>("position");    // the selected entry of the list left (S)
        QTest::addColumn<QString>("expProvSkup");
        QTest::addColumn<QString>("expSkupina");
        QTest::addColumn<int>("expRevize");   // demo item 1 has 12 and 48
        QTest::addColumn<int>("expRevZk");
        QTest::addColumn<bool>("applied");

        QTest::newRow("J2 sets group I") << "1" << "s hákem" << "J2" << "" << "P" << -1 << "J2" << "I" << 48 << 96 << true;
        QTest::newRow("J5 replaces group I by IV") << "1" << "s hákem" << "J5" << "I" << "P" << -1 << "J5" << "IV" << 12 << 24 << true;
        QTest::newRow("J3 sets II") << "1" << "" << "J3" << "IV" << "P" << -1 << "J3" << "II" << 36 << 72 << true;
        QTest::newRow("no operating group keeps the group") << "1" << "" << "" << "II" << "P" << -1 << "" << "II" << 12 << 48 << false;
        QTest::newRow("group II sets an empty J3") << "1" << "s hákem" << "" << "II" << "S" << 1 << "J3" << "II" << 36 << 72 << true;
        QTest::newRow("J4 already there stays") << "1" << "s hákem" << "J4" << "II" << "S" << 1 << "J4" << "II" << 24 << 48 << true;
        QTest::newRow("limiting conditions M2 set J3") << "1" << "s hákem" << "" << "" << "S" << 1 << "J3" << "" << 12 << 48 << false;
        QTest::newRow("position 0 sets J1") << "1" << "" << "" << "I" << "S" << 0 << "J1" << "I" << 48 << 96 << true;
        QTest::newRow("position 3 sets J5") << "1" << "" << "" << "IV" << "S" << 3 << "J5" << "IV" << 12 << 24 << true;
        QTest::newRow("position 5 leaves it empty") << "1" << "" << "" << "II" << "S" << 5 << "" << "II" << 12 << 48 << false;
        QTest::newRow("no selection leaves it empty") << "1" << "" << "" << "II" << "S" << -1 << "" << "II" << 12 << 48 << false;
        QTest::newRow("mobile crane row of its own") << "5" << "s hákem" << "J1" << "I" << "U" << -1 << "J1" << "I" << 12 << 24 << true;
        QTest::newRow("general row for any device") << "1" << "drapákový" << "J3" << "III" << "U" << -1 << "J3" << "III" << 24 << 48 << true;
        QTest::newRow("no row leaves the intervals") << "1" << "s hákem" << "J7" << "I" << "U" << -1 << "J7" << "I" << 12 << 48 << false;
    }
    void classificationHandlers()
    {
        QFETCH(QString, druh);
        QFETCH(QString, uchopeni);
        QFETCH(QString, provSkup);
        QFETCH(QString, skupina);
        QFETCH(QString, handler);
        QFETCH(int, position);
        QFETCH(QString, expProvSkup);
        QFETCH(QString, expSkupina);
        QFETCH(int, expRevize);
        QFETCH(int, expRevZk);
        QFETCH(bool, applied);
        db::Dataset &v = editItem(1);
        auto set = [&v](const char *f, const QString &s) { v.setFieldValue(f, s.isEmpty() ? QVariant() : QVariant(s)); };
        set("Druh", druh);
        set("Uchopeni", uchopeni);
        set("Prov_Skup_Zar", provSkup);
        set("Skupina", skupina);
        const QDate nextBefore = v.value("Next_Revize").toDate();
        EquipmentCardRules card(*m_dm);
        bool done = false;
        if (handler == "U")
            done = card.ComboUchopeniExit();
        else if (handler == "S")
            done = card.ComboSkupinyExit(position);
        else
            done = card.ComboPSkupinyExit();
        QCOMPARE(done, applied);
        QCOMPARE(v.value("Prov_Skup_Zar").toString(), expProvSkup);
        QCOMPARE(v.value("Skupina").toString(), expSkupina);
        QCOMPARE(v.value("Int_Revize").toInt(), expRevize);
        QCOMPARE(v.value("Int_RevZk").toInt(), expRevZk);
        // next dates change only through the date rules
        QCOMPARE(v.value("Next_Revize").toDate(), nextBefore);
        if (handler == "U" && druh == "5")
            QVERIFY(v.value("Int_zamereni").isNull()); // an empty value in the table empties the field
    }

    void handlersDoNothingWhileBrowsing()
    {
        db::Dataset &v = editItem(1);
        v.cancel();
        EquipmentCardRules card(*m_dm);
        card.remember();
        QVERIFY(!card.ComboPSkupinyExit());
        QVERIFY(!card.ComboSkupinyExit(0));
        QVERIFY(!card.PriraDIntervalProhlidek());
        QVERIFY(!card.IntervalExit(TagRevize));
        QCOMPARE(card.OverZkExit(), 0);
        QVERIFY(!card.RevizeExit(TagRevize));
        QCOMPARE(v.value("Skupina").toString(), QStringLiteral("II"));
        QCOMPARE(m_t->count("select count(*) from zz_basic where Int_Revize=12 and Poradi=1"), 1);
    }

    // --- the card: last dates, intervals, verification test -----------------

    void lastDateChange_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QDate>("newDate");
        QTest::addColumn<QString>("recordedKind"); // empty: nothing recorded
        QTest::addColumn<QDate>("expectedNext");
        // demo item 1: revision 10.2.2026/12 (next test 10.2.2028), test 48, examination 3,
        // electrical 36, no survey interval
        QTest::newRow("revision") << int(TagRevize) << d(15, 4, 2026) << "1" << d(15, 4, 2027);
        QTest::newRow("revision out of the test year") << int(TagRevize) << d(15, 4, 2027) << "1" << d(15, 4, 2029);
        QTest::newRow("revision test") << int(TagRevZk) << d(10, 2, 2028) << "2" << d(10, 2, 2032);
        QTest::newRow("examination on the 31st") << int(TagInspekce) << d(31, 3, 2026) << "3" << d(30, 6, 2026);
        QTest::newRow("electrical records nothing") << int(TagElektrorev) << d(10, 2, 2026) << "" << d(10, 2, 2029);
        QTest::newRow("survey without interval") << int(TagZamereni) << d(31, 5, 2026) << "" << d(31, 8, 2026);
        QTest::newRow("unchanged date") << int(TagRevize) << d(10, 2, 2026) << "" << d(10, 2, 2027);
        QTest::newRow("emptied date") << int(TagRevize) << QDate() << "" << d(10, 2, 2027);
    }
    void lastDateChange()
    {
        QFETCH(int, tag);
        QFETCH(QDate, newDate);
        QFETCH(QString, recordedKind);
        QFETCH(QDate, expectedNext);
        db::Dataset &v = editItem(1);
        const CheckInfo *c = checkByTag(tag);
        EquipmentCardRules card(*m_dm);
        card.remember();
        const int before = inspections();
        card.RevizeEnter(tag);
        v.setFieldValue(c->lastField, newDate.isValid() ? QVariant(newDate) : QVariant());
        const auto rec = card.RevizeExit(tag);
        QCOMPARE(rec.has_value(), !recordedKind.isEmpty());
        QCOMPARE(inspections(), before + (recordedKind.isEmpty() ? 0 : 1));
        if (rec) {
            QCOMPARE(rec->kind, recordedKind);
            QCOMPARE(m_t->count("select count(*) from zz_revize where iD=:id and Poradi=1 and Typ=:t and Datum=:d",
                                Params{{"id", rec->id}, {"t", recordedKind}, {"d", newDate}}),
                     1);
        }
        QCOMPARE(v.value(c->nextField).toDate(), expectedNext);
        // leaving the field again without a change does nothing more
        card.RevizeEnter(tag);
        QVERIFY(!card.RevizeExit(tag));
        QCOMPARE(inspections(), before + (recordedKind.isEmpty() ? 0 : 1));
    }

    void intervalChange_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QVariant>("interval");
        QTest::addColumn<bool>("computed");
        QTest::addColumn<QDate>("expectedNext");
        QTest::newRow("revision into the test year moves on") << int(TagRevize) << QVariant(24) << true << d(10, 2, 2030);
        QTest::newRow("revision 6 months") << int(TagRevize) << QVariant(6) << true << d(10, 8, 2026);
        QTest::newRow("examination 1 month") << int(TagInspekce) << QVariant(1) << true << d(1, 10, 2026);
        QTest::newRow("negative interval steps 3 months") << int(TagElektrorev) << QVariant(-2) << true << d(10, 5, 2025);
        QTest::newRow("emptied interval steps 3 months") << int(TagElektrorev) << QVariant() << true << d(10, 5, 2025);
        QTest::newRow("no last date: next date stays") << int(TagZamereni) << QVariant(12) << false << QDate();
        QTest::newRow("same interval") << int(TagRevize) << QVariant(12) << false << d(10, 2, 2027);
    }
    void intervalChange()
    {
        QFETCH(int, tag);
        QFETCH(QVariant, interval);
        QFETCH(bool, computed);
        QFETCH(QDate, expectedNext);
        db::Dataset &v = editItem(1);
        const CheckInfo *c = checkByTag(tag);
        EquipmentCardRules card(*m_dm);
        card.IntervalEnter(tag);
        v.setFieldValue(c->intervalField, interval);
        QCOMPARE(card.IntervalExit(tag), computed);
        QCOMPARE(v.value(c->nextField).toDate(), expectedNext);
        QCOMPARE(inspections(), 0);
    }

    void verificationTestSeedsEmptyNextDates()
    {
        db::Dataset &v = editItem(1);
        v.setFieldValue("Next_Revize", QVariant());
        v.setFieldValue("Next_Inspekce", QVariant());
        v.setFieldValue("Int_zamereni", 12);
        v.setFieldValue("Int_Elektrorev", QVariant());
        v.setFieldValue("Next_Elektrorev", QVariant());
        EquipmentCardRules card(*m_dm);
        QCOMPARE(card.OverZkExit(), 0); // no verification test yet
        v.setFieldValue("Dat_overzk", d(31, 5, 1998));
        QCOMPARE(card.OverZkExit(), 3);
        QCOMPARE(v.value("Next_Revize").toDate(), d(31, 5, 1999));  // no revision-test rule here
        QCOMPARE(v.value("Next_Inspekce").toDate(), d(31, 8, 1998));
        QCOMPARE(v.value("Next_zamereni").toDate(), d(31, 5, 1999));
        QVERIFY(v.value("Next_Elektrorev").isNull());                // no interval
        QCOMPARE(v.value("Next_RevZk").toDate(), d(10, 2, 2028));    // already filled
        // a later change of the verification test changes nothing that is filled
        v.setFieldValue("Dat_overzk", d(1, 1, 2000));
        QCOMPARE(card.OverZkExit(), 0);
        QCOMPARE(v.value("Next_Revize").toDate(), d(31, 5, 1999));
        QCOMPARE(inspections(), 0);
    }

    void seedingRule_data()
    {
        QTest::addColumn<QVariant>("interval");
        QTest::addColumn<QDate>("next");
        QTest::addColumn<bool>("seeded");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("interval, no next date") << QVariant(12) << QDate() << true << d(31, 1, 2001);
        QTest::newRow("interval 0 counts as given") << QVariant(0) << QDate() << true << d(30, 4, 2000);
        QTest::newRow("empty interval") << QVariant() << QDate() << false << QDate();
        QTest::newRow("next date filled") << QVariant(12) << d(1, 1, 2030) << false << QDate();
    }
    void seedingRule()
    {
        QFETCH(QVariant, interval);
        QFETCH(QDate, next);
        QFETCH(bool, seeded);
        QFETCH(QDate, expected);
        const auto out = seedFromVerificationTest(d(31, 1, 2000), {{TagRevize, interval, next}});
        QCOMPARE(out.size(), seeded ? 1 : 0);
        if (seeded)
            QCOMPARE(out.first().next, expected);
        QVERIFY(seedFromVerificationTest(QDate(), {{TagRevize, interval, next}}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstEquipmentRules)
#include "tst_equipmentrules.moc"
