// Equipment inspection records: protocol numbers per kind, the checklist from
// the item set of the kind and equipment kind, deletion with everything that
// hangs on an inspection in one transaction, checklist input, defects and
// their catalogue, and a new item stored before its first inspection and
// removed again with it when its card is cancelled.
#include "equipmentcard.h"
#include "equipmenttestdb.h"
#include "inspections.h"

#include <QtTest>

using namespace tz;
using namespace tz::eq;
using tz::db::Params;

namespace {

QDate d(int day, int month, int year) { return QDate(year, month, day); }

// "1:N 3:NV 4:V" -> defects 1 (to be removed before use), 3 (both), 4 (to be verified)
QVector<Defect> defectList(const QString &text)
{
    QVector<Defect> out;
    for (const QString &part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        Defect x;
        x.pc = part.section(QLatin1Char(':'), 0, 0).toInt();
        const QString flags = part.section(QLatin1Char(':'), 1);
        x.nutne = flags.contains(QLatin1Char('N'));
        x.overit = flags.contains(QLatin1Char('V'));
        out << x;
    }
    return out;
}

} // namespace

class TstEquipmentInspections : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void protocolNumbersPerKind()
    {
        EquipmentTestDb t;
        struct Step { int poradi; const char *kind; const char *number; };
        const Step steps[] = {{1, "1", "R-1/ZZ"}, {2, "1", "R-2/ZZ"}, {1, "3", "I-1/ZZ"}, {3, "2", "RZ-1/ZZ"}, {3, "1", "R-3/ZZ"}};
        QVector<NewInspection> made;
        for (const Step &s : steps) {
            const NewInspection n = createInspection(*t.db, s.poradi, s.kind, d(1, 3, 2026), "1");
            QCOMPARE(n.protocolNumber(), QString::fromLatin1(s.number));
            made << n;
        }
        for (int i = 0; i < made.size(); ++i) {
            // iD and both links are new for every inspection, over all kinds
            QCOMPARE(made[i].id, i + 1);
            QCOMPARE(made[i].polozky, i + 1);
            QCOMPARE(made[i].zavady, i + 1);
            QCOMPARE(t.count("select count(*) from zz_revize where iD=:id and Poradi=:p and Typ=:t and Polozky=:l and Zavady=:z "
                             "and CisZapisuNum=:n and Datum=:d",
                             Params{{"id", made[i].id}, {"p", made[i].poradi}, {"t", made[i].kind}, {"l", made[i].polozky},
                                    {"z", made[i].zavady}, {"n", made[i].cisZapisuNum}, {"d", d(1, 3, 2026)}}),
                     1);
        }
        // deleting the highest number lets the next inspection reuse it; any other leaves a gap
        QVERIFY(deleteInspection(*t.db, made[4].id));
        QCOMPARE(createInspection(*t.db, 2, "1", d(2, 3, 2026), "1").cisZapisuNum, 3);
        QVERIFY(deleteInspection(*t.db, made[0].id));
        QCOMPARE(createInspection(*t.db, 2, "1", d(3, 3, 2026), "1").cisZapisuNum, 4);
    }

    void protocolTexts()
    {
        EquipmentTestDb t;
        // a suffix longer than ten characters is kept whole
        ProtocolSettings s = protocolSettings(*t.db);
        QCOMPARE(s.textsOf("2"), std::make_pair(QStringLiteral("RZ-"), QStringLiteral("/ZZ")));
        s.rPred = "Rev. O'Neill ";
        s.rZa = "/2026/ZZ-Brno/x";
        saveProtocolSettings(*t.db, s);
        const NewInspection n = createInspection(*t.db, 1, "1", d(1, 1, 2026), "1");
        QCOMPARE(n.protocolNumber(), QStringLiteral("Rev. O'Neill 1/2026/ZZ-Brno/x"));
        QCOMPARE(t.db->scalar("select CisZapisu2 from zz_revize where iD=:id", Params{{"id", n.id}}).toString(),
                 QStringLiteral("/2026/ZZ-Brno/x"));
        // without a settings row the number stands alone, and saving creates the row
        t.db->exec("delete from CislaProtokolu");
        QCOMPARE(createInspection(*t.db, 1, "3", d(1, 1, 2026), "1").protocolNumber(), QStringLiteral("1"));
        ProtocolSettings only;
        only.iPred = "I-";
        saveProtocolSettings(*t.db, only);
        QCOMPARE(t.count("select count(*) from CislaProtokolu"), 1);
        QCOMPARE(createInspection(*t.db, 1, "3", d(2, 1, 2026), "1").protocolNumber(), QStringLiteral("I-2"));
    }

    void checklistFromTemplate_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("assignment"); // "", "none", "no set", "empty set"
        QTest::addColumn<int>("expectedSet");
        QTest::addColumn<int>("expectedRows");
        QTest::newRow("revision") << "1" << "" << 1 << 12;
        QTest::newRow("revision test") << "2" << "" << 3 << 13;
        QTest::newRow("examination") << "3" << "" << 2 << 7;
        QTest::newRow("no assignment row: set 1") << "3" << "none" << 1 << 12;
        QTest::newRow("assignment without a set: set 1") << "3" << "no set" << 1 << 12;
        QTest::newRow("empty set: empty checklist") << "3" << "empty set" << 4 << 0;
    }
    void checklistFromTemplate()
    {
        QFETCH(QString, kind);
        QFETCH(QString, assignment);
        QFETCH(int, expectedSet);
        QFETCH(int, expectedRows);
        EquipmentTestDb t;
        const Params key{{"r", kind}, {"z", "1"}};
        if (assignment == "none")
            t.db->exec("delete from zz_roz_revize where Typ_R=:r and Typ_Z=:z", key);
        else if (assignment == "no set")
            t.db->exec("update zz_roz_revize set Sada=null where Typ_R=:r and Typ_Z=:z", key);
        else if (assignment == "empty set") {
            t.db->exec("insert into zz_h_sada_revize (ID, Nazev) values (4, 'Prázdná')");
            t.db->exec("update zz_roz_revize set Sada=4 where Typ_R=:r and Typ_Z=:z", key);
        }
        const NewInspection n = createInspection(*t.db, 1, kind, d(5, 5, 2026), "1");
        QCOMPARE(n.sada, expectedSet);
        QCOMPARE(n.checklistRows, expectedRows);
        QCOMPARE(t.count("select count(*) from zz_polozkyrev where Revize=:r", Params{{"r", n.polozky}}), expectedRows);
        // each row is the set's item with its label, not yet answered
        QCOMPARE(t.count("select count(*) from zz_polozkyrev p, zz_sada_revize s where p.Revize=:r and s.ID=:s "
                         "and s.Polozka=p.Polozka and s.Oznaceni=p.Oznaceni and p.Vysledek is null and p.Cislo is null",
                         Params{{"r", n.polozky}, {"s", expectedSet}}),
                 expectedRows);
        // a later change of the template leaves the inspection's checklist alone
        t.db->exec("delete from zz_sada_revize where ID=:s", Params{{"s", expectedSet}});
        QCOMPARE(checklist(*t.db, n.polozky).size(), expectedRows);
    }

    void refusedInspectionsWriteNothing()
    {
        EquipmentTestDb t;
        QVERIFY_THROWS_EXCEPTION(db::Error, createInspection(*t.db, 99, "1", d(1, 1, 2026), "1")); // not stored
        QVERIFY_THROWS_EXCEPTION(db::Error, createInspection(*t.db, 1, "4", d(1, 1, 2026), "1"));  // kinds 1 to 3 only
        QVERIFY_THROWS_EXCEPTION(db::Error, createInspection(*t.db, 1, "1", QDate(), "1"));
        // a failure while the checklist is copied takes the inspection back too
        t.db->exec("create trigger no_items before insert on zz_polozkyrev begin select raise(abort, 'blocked'); end");
        QVERIFY_THROWS_EXCEPTION(db::Error, createInspection(*t.db, 1, "1", d(1, 1, 2026), "1"));
        QCOMPARE(t.count("select count(*) from zz_revize"), 0);
        QCOMPARE(t.count("select count(*) from zz_polozkyrev"), 0);
    }

    void deleteTakesEverythingOfTheInspection()
    {
        EquipmentTestDb t;
        const NewInspection a = createInspection(*t.db, 1, "1", d(1, 2, 2026), "1");
        const NewInspection b = createInspection(*t.db, 1, "3", d(2, 2, 2026), "1");
        for (const NewInspection &n : {a, b}) {
            addDefect(*t.db, n.zavady, {0, "Uvolněný šroub", "Neprodleně", true, false});
            t.db->exec("insert into prilohy (ID, x, r, Popis) values (:id, 1, :r, 'foto')", Params{{"id", n.id * 10}, {"r", n.id}});
        }
        t.db->exec("insert into prilohy (ID, x, Popis) values (99, 1, 'karta')"); // an attachment of the item
        const QVariant nextBefore = t.db->scalar("select Next_Revize from zz_basic where Poradi=1");

        QVERIFY(deleteInspection(*t.db, a.id));
        QCOMPARE(t.count("select count(*) from zz_revize where iD=:id", Params{{"id", a.id}}), 0);
        QCOMPARE(t.count("select count(*) from zz_polozkyrev where Revize=:r", Params{{"r", a.polozky}}), 0);
        QCOMPARE(t.count("select count(*) from zz_zavady where ID=:z", Params{{"z", a.zavady}}), 0);
        QCOMPARE(t.count("select count(*) from prilohy where r=:r", Params{{"r", a.id}}), 0);
        // the other inspection, the item's own attachment and its dates stay
        QCOMPARE(t.count("select count(*) from zz_polozkyrev where Revize=:r",
                         Params{{"r", b.polozky}}),
                 b.checklistRows);
        QCOMPARE(t.count("select count(*) from zz_zavady where ID=:z", Params{{"z", b.zavady}}), 1);
        QCOMPARE(t.count("select count(*) from prilohy"), 2);
        QCOMPARE(t.db->scalar("select Next_Revize from zz_basic where Poradi=1"), nextBefore);
        QVERIFY(!deleteInspection(*t.db, a.id));

        // a new inspection does not inherit anything of the deleted one
        const NewInspection c = createInspection(*t.db, 2, "1", d(3, 2, 2026), "9");
        QVERIFY(defects(*t.db, c.zavady).isEmpty());
        QCOMPARE(t.count("select count(*) from prilohy where r=:r", Params{{"r", c.id}}), 0);
    }

    void deleteIsOneTransaction()
    {
        EquipmentTestDb t;
        const NewInspection a = createInspection(*t.db, 1, "1", d(1, 2, 2026), "1");
        addDefect(*t.db, a.zavady, {0, "Trhlina", "", true, true});
        t.db->exec("insert into prilohy (ID, x, r) values (1, 1, :r)", Params{{"r", a.id}});
        // the last statement fails: nothing of the inspection is gone
        t.db->exec("create trigger keep before delete on zz_revize begin select raise(abort, 'kept'); end");
        QVERIFY_THROWS_EXCEPTION(db::Error, deleteInspection(*t.db, a.id));
        QCOMPARE(t.count("select count(*) from zz_polozkyrev where Revize=:r", Params{{"r", a.polozky}}), a.checklistRows);
        QCOMPARE(t.count("select count(*) from zz_zavady where ID=:z", Params{{"z", a.zavady}}), 1);
        QCOMPARE(t.count("select count(*) from prilohy where r=:r", Params{{"r", a.id}}), 1);
        QCOMPARE(t.count("select count(*) from zz_revize"), 1);
    }

    void checklistInput()
    {
        EquipmentTestDb t;
        // item 13 is a text item; let it also ask for confirmation: it still offers only its text
        t.db->exec("update zz_cis_revize set Potvrzovat=:t where Polozka=13", Params{{"t", true}});
        const NewInspection n = createInspection(*t.db, 1, "1", d(1, 2, 2026), "1");
        setChecklistResult(*t.db, n.polozky, 3, true);
        setChecklistResult(*t.db, n.polozky, 4, false);
        setChecklistValue(*t.db, n.polozky, 5, "12,5 \"new\"");
        setChecklistText(*t.db, n.polozky, 13, "Lano vyměněno; O'Brien\nřádek 2");
        int seen = 0;
        for (const ChecklistRow &r : checklist(*t.db, n.polozky)) {
            switch (r.polozka) {
            case 3:
                QCOMPARE(r.vysledek, QVariant(true));
                QVERIFY(r.offersYesNo() && !r.offersValue() && !r.offersText());
                ++seen;
                break;
            case 4:
                QCOMPARE(r.vysledek, QVariant(false));
                ++seen;
                break;
            case 5:
                QCOMPARE(r.cislo, QStringLiteral("12,5 \"new\""));
                QCOMPARE(r.doplneni, QStringLiteral("průměr lana (mm):"));
                QVERIFY(r.offersValue() && r.offersYesNo());
                ++seen;
                break;
            case 13:
                QCOMPARE(r.text, QStringLiteral("Lano vyměněno; O'Brien\nřádek 2"));
                QVERIFY(r.offersText() && !r.offersYesNo() && !r.offersValue());
                ++seen;
                break;
            default:
                QVERIFY(r.vysledek.isNull()); // not answered
            }
        }
        QCOMPARE(seen, 4);
    }

    void defectNumbers()
    {
        EquipmentTestDb t;
        const NewInspection a = createInspection(*t.db, 1, "1", d(1, 2, 2026), "1");
        const NewInspection b = createInspection(*t.db, 2, "1", d(1, 2, 2026), "9");
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(addDefect(*t.db, a.zavady, {0, QStringLiteral("Závada %1").arg(i), "", false, false}), i);
        QCOMPARE(addDefect(*t.db, b.zavady, {0, "Jiná", "", false, false}), 1); // numbering per inspection
        QVERIFY(deleteDefect(*t.db, a.zavady, 2));
        QCOMPARE(addDefect(*t.db, a.zavady, {0, "Čtvrtá", "", false, false}), 4);
        QVERIFY(updateDefect(*t.db, a.zavady, {4, "Čtvrtá, upravená 'x'", "Při GO", true, true}));
        QVERIFY(!updateDefect(*t.db, a.zavady, {2, "smazaná", "", false, false}));
        const QVector<Defect> list = defects(*t.db, a.zavady);
        QCOMPARE(list.size(), 3);
        QCOMPARE(list.last().pc, 4);
        QCOMPARE(list.last().zavada, QStringLiteral("Čtvrtá, upravená 'x'"));
        QCOMPARE(list.last().odstranit, QStringLiteral("Při GO"));
        QVERIFY(list.last().nutne && list.last().overit);
        QVERIFY(!list.first().nutne);
    }

    // Two workstations start a defect of one inspection at the same time: both
    // are shown number 1, and the one stored second takes number 2.
    void defectNumbersOfTwoWorkstations()
    {
        EquipmentTestDb t;
        const NewInspection n = createInspection(*t.db, 1, "1", d(1, 2, 2026), "1");
        db::Database second(QStringLiteral("second"));
        second.openSqlite(t.dir.path());
        db::TDM a(t.db.get()), b(&second);
        QVector<db::Dataset *> sets;
        for (db::TDM *dm : {&a, &b}) {
            guardDefectNumbers(*dm);
            dm->setSelectedCompany(999);
            dm->ZZBasicView.open();
            QVERIFY(dm->ZZBasicView.locate("Poradi", 1));
            dm->zz_revize.open();
            QVERIFY(dm->zz_revize.locate("iD", n.id));
            dm->zz_zavady.open();
            dm->zz_zavady.append();
            QCOMPARE(dm->zz_zavady.value("PC").toInt(), 1);
            dm->zz_zavady.setFieldValue("Zavada", dm == &a ? "první" : "druhá");
            sets << &dm->zz_zavady;
        }
        sets[0]->post();
        sets[1]->post();
        QCOMPARE(sets[1]->value("PC").toInt(), 2);
        const QVector<Defect> list = defects(*t.db, n.zavady);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[1].zavada, QStringLiteral("druhá"));
    }

    void conclusion_data()
    {
        QTest::addColumn<QString>("defects");
        QTest::addColumn<QVariant>("body1");
        QTest::addColumn<QVariant>("body2");
        QTest::addColumn<QVariant>("zpusobile");
        QTest::addColumn<QVariant>("expBody1");
        QTest::addColumn<QVariant>("expBody2");
        QTest::addColumn<QVariant>("expZpusobile");
        QTest::addColumn<bool>("changed");
        const QVariant none;
        QTest::newRow("flagged defects") << "1:N 3:NV 4:V" << QVariant("") << none << QVariant(true)
                                         << QVariant("1, 3") << QVariant("3, 4") << QVariant(false) << true;
        QTest::newRow("no flags change nothing") << "1: 2:" << QVariant("7") << QVariant("8") << QVariant(true)
                                                 << QVariant("7") << QVariant("8") << QVariant(true) << false;
        QTest::newRow("the same list again") << "2:N" << QVariant("2") << none << QVariant(false)
                                             << QVariant("2") << none << QVariant(false) << false;
        QTest::newRow("only the verified ones") << "5:V" << QVariant("1") << none << none
                                                << QVariant("1") << QVariant("5") << QVariant(false) << true;
        QTest::newRow("the only urgent defect deleted") << "" << QVariant("2") << QVariant("2") << QVariant(false)
                                                        << QVariant("2") << QVariant("2") << QVariant(false) << false;
        QTest::newRow("nothing makes it fit again") << "1:" << none << none << QVariant(false)
                                                    << none << none << QVariant(false) << false;
    }
    void conclusion()
    {
        QFETCH(QString, defects);
        QFETCH(QVariant, body1);
        QFETCH(QVariant, body2);
        QFETCH(QVariant, zpusobile);
        QFETCH(QVariant, expBody1);
        QFETCH(QVariant, expBody2);
        QFETCH(QVariant, expZpusobile);
        QFETCH(bool, changed);
        const Conclusion c = conclusionFromDefects(defectList(defects), body1, body2, zpusobile);
        QCOMPARE(c.body1.toString(), expBody1.toString());
        QCOMPARE(c.body2.toString(), expBody2.toString());
        QCOMPARE(c.zpusobile.isNull(), expZpusobile.isNull());
        QCOMPARE(c.zpusobile.toBool(), expZpusobile.toBool());
        QCOMPARE(c.changed, changed);
    }

    void conclusionOnTheInspectionRow()
    {
        EquipmentTestDb t;
        db::TDM dm(t.db.get());
        dm.setSelectedCompany(999);
        dm.ZZBasicView.open();
        QVERIFY(dm.ZZBasicView.locate("Poradi", 1));
        const NewInspection n = createInspection(*t.db, 1, "2", d(31, 10, 2026), "1");
        addDefect(*t.db, n.zavady, {0, "A", "", true, false});
        addDefect(*t.db, n.zavady, {0, "B", "", true, true});
        dm.zz_revize.open();
        QVERIFY(dm.zz_revize.locate("iD", n.id));
        EquipmentCardRules card(dm);
        QVERIFY(card.applyDefectConclusion());
        QVERIFY(card.DBEdit32Exit()); // validity by the revision-test interval of 48 months
        dm.zz_revize.post();
        QCOMPARE(t.db->scalar("select Body1 from zz_revize where iD=:id", Params{{"id", n.id}}).toString(), QStringLiteral("1, 2"));
        QCOMPARE(t.db->scalar("select Body2 from zz_revize where iD=:id", Params{{"id", n.id}}).toString(), QStringLiteral("2"));
        QCOMPARE(t.count("select count(*) from zz_revize where iD=:id and Zpusobile=0", Params{{"id", n.id}}), 1);
        QCOMPARE(db::Database::fromEngine(t.db->scalar("select Platnost from zz_revize where iD=:id", Params{{"id", n.id}}),
                                          db::FieldType::Date).toDate(),
                 d(31, 10, 2030));
    }

    void catalogueAndGroups()
    {
        EquipmentTestDb t;
        const int rows = catalogue(*t.db).size();
        QVERIFY(rows > 0);
        const int pc = addCatalogueDefect(*t.db, "Ostatní nálezy", "Chybí 'výstražná' tabulka");
        QCOMPARE(pc, rows + 1);
        QCOMPARE(addCatalogueDefect(*t.db, "Ostatní nálezy", "Chybí 'výstražná' tabulka"), rows + 2); // duplicates allowed
        const QStringList groups = defectGroups(*t.db);
        QCOMPARE(groups.count("Ostatní nálezy"), 1);
        QVERIFY(groups.contains("Pojezd"));
        // Czech order: "Č" right after "C", before "D"
        addCatalogueDefect(*t.db, "Čepy", "Opotřebený čep");
        addCatalogueDefect(*t.db, "Cívky", "Přehřátá cívka brzdy");
        const QStringList sorted = defectGroups(*t.db);
        QVERIFY(sorted.indexOf("Cívky") < sorted.indexOf("Čepy"));
        QVERIFY(sorted.indexOf("Čepy") < sorted.indexOf("Dokumentace a značení"));
        QVERIFY(deleteCatalogueDefect(*t.db, pc));
        QCOMPARE(catalogue(*t.db).size(), rows + 3);
        t.db->exec("insert into RTech (PCREV, Technik) values (1, 'Žák Petr'), (2, 'Adámek Jan'), (3, 'Čermák Ivo')");
        QCOMPARE(technicianNames(*t.db), (QStringList{"Adámek Jan", "Čermák Ivo", "Žák Petr"}));
        QVERIFY(removeTechnician(*t.db, 3));
        QCOMPARE(technicianNames(*t.db).size(), 2);
    }

    void recordingOnAStoredItem()
    {
        EquipmentTestDb t;
        // the same date as stored records nothing
        QVERIFY(!recordOnItem(*t.db, 1, TagRevize, d(10, 2, 2026), d(1, 1, 2027)));
        QCOMPARE(t.count("select count(*) from zz_revize"), 0);
        const auto r = recordOnItem(*t.db, 1, TagRevize, d(15, 4, 2027), d(1, 1, 2027));
        QVERIFY(r && r->inspection);
        QCOMPARE(r->nextDate, d(15, 4, 2029)); // out of the revision-test year 2028
        QCOMPARE(t.count("select count(*) from zz_basic where Poradi=1 and Dat_Revize=:l and Next_Revize=:n and datum_akt=:a",
                         Params{{"l", d(15, 4, 2027)}, {"n", d(15, 4, 2029)}, {"a", d(1, 1, 2027)}}),
                 1);
        // electrical inspection: dates only
        const auto e = recordOnItem(*t.db, 1, TagElektrorev, d(1, 3, 2026), d(1, 1, 2027));
        QVERIFY(e && !e->inspection);
        QCOMPARE(t.count("select count(*) from zz_revize"), 1);
        QVERIFY_THROWS_EXCEPTION(db::Error, recordOnItem(*t.db, 42, TagRevize, d(1, 1, 2026), d(1, 1, 2027)));
        QVERIFY_THROWS_EXCEPTION(db::Error, recordOnItem(*t.db, 1, 19, d(1, 1, 2026), d(1, 1, 2027)));
    }

    // A new item is stored before its first inspection; cancelling its card
    // removes the item with exactly what the card created for it.
    void newItemStoredFirstAndCancelled()
    {
        EquipmentTestDb t;
        const NewInspection other = createInspection(*t.db, 1, "1", d(1, 1, 2026), "1");
        db::TDM dm(t.db.get());
        dm.setSelectedCompany(1);
        dm.currentKind = "1";
        dm.ZZBasicView.open();
        dm.ZZBasicView.append();
        dm.ZZBasicView.setFieldValue("Int_Revize", 12);
        EquipmentCardRules card(dm);
        card.remember();
        card.RevizeEnter(TagRevize);
        dm.ZZBasicView.setFieldValue("Dat_Revize", d(20, 6, 2026));
        const auto rec = card.RevizeExit(TagRevize);
        QVERIFY(rec);
        const int poradi = rec->poradi;
        QCOMPARE(poradi, 4);
        QVERIFY(card.holdsNewItem());
        QCOMPARE(dm.ZZBasicView.state(), db::Dataset::State::Edit);
        QCOMPARE(t.count("select count(*) from zz_basic where Poradi=:p", Params{{"p", poradi}}), 1);
        QCOMPARE(dm.ZZBasicView.value("Next_Revize").toDate(), d(20, 6, 2027));
        // what the windows add to it: a defect, an attachment
        addDefect(*t.db, rec->zavady, {0, "Závada", "", true, false});
        t.db->exec("insert into prilohy (ID, x, r) values (7, :x, :r)", Params{{"x", poradi}, {"r", rec->id}});

        QVERIFY(card.cancel());
        QCOMPARE(t.count("select count(*) from zz_basic where Poradi=:p", Params{{"p", poradi}}), 0);
        QCOMPARE(t.count("select count(*) from zz_revize where Poradi=:p", Params{{"p", poradi}}), 0);
        QCOMPARE(t.count("select count(*) from zz_polozkyrev where Revize=:r", Params{{"r", rec->polozky}}), 0);
        QCOMPARE(t.count("select count(*) from zz_zavady where ID=:z", Params{{"z", rec->zavady}}), 0);
        QCOMPARE(t.count("select count(*) from prilohy"), 0);
        // the rows of other items stay
        QCOMPARE(t.count("select count(*) from zz_revize where iD=:id", Params{{"id", other.id}}), 1);
        QCOMPARE(t.count("select count(*) from zz_polozkyrev where Revize=:r", Params{{"r", other.polozky}}), other.checklistRows);
        QCOMPARE(t.count("select count(*) from zz_basic"), 3);
    }

    void newItemConfirmedAndExistingItemCancelled()
    {
        EquipmentTestDb t;
        db::TDM dm(t.db.get());
        dm.setSelectedCompany(1);
        dm.currentKind = "3";
        dm.ZZBasicView.open();
        dm.ZZBasicView.append();
        EquipmentCardRules card(dm);
        card.remember();
        card.RevizeEnter(TagInspekce);
        dm.ZZBasicView.setFieldValue("Dat_Inspekce", d(31, 1, 2026));
        const auto rec = card.RevizeExit(TagInspekce);
        QVERIFY(rec);
        QCOMPARE(rec->sada, 2);
        card.confirm();
        QVERIFY(!card.holdsNewItem());
        QCOMPARE(t.count("select count(*) from zz_basic where Poradi=:p and Dat_Inspekce=:d and Next_Inspekce=:n and Typ_Zar=:k",
                         Params{{"p", rec->poradi}, {"d", d(31, 1, 2026)}, {"n", d(31, 1, 2027)}, {"k", "Konzolový"}}),
                 1);
        // an existing item keeps the inspection recorded on it when its card is cancelled,
        // and the item's dates stay as they were stored
        dm.ZZBasicView.edit();
        card.remember();
        card.RevizeEnter(TagInspekce);
        dm.ZZBasicView.setFieldValue("Dat_Inspekce", d(28, 2, 2026));
        const auto second = card.RevizeExit(TagInspekce);
        QVERIFY(second);
        QVERIFY(!card.cancel());
        QCOMPARE(t.count("select count(*) from zz_revize where Poradi=:p", Params{{"p", rec->poradi}}), 2);
        QCOMPARE(t.count("select count(*) from zz_basic where Poradi=:p and Dat_Inspekce=:d", Params{{"p", rec->poradi}, {"d", d(31, 1, 2026)}}), 1);
    }
};

QTEST_GUILESS_MAIN(TstEquipmentInspections)
#include "tst_equipmentinspections.moc"
