// The data module: keys, new-row values, carry-over, save hooks, derived fields,
// planning queries and the removal of companies, on a real database.
#include "datadir.h"
#include "datamodule.h"
#include "deletion.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz::db;

class TstDataModule : public QObject
{
    Q_OBJECT
    QTemporaryDir m_tmp;
    int m_run = 0;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TDM> m_dm;

    void exec(const QString &sql, const Params &p = {}) { m_db->exec(sql, p); }
    QStringList column(Dataset &ds, const QString &field)
    {
        QStringList out;
        ds.close();
        ds.open();
        for (ds.first(); !ds.eof(); ds.next())
            out << ds.field(field)->asString();
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<Database>(QStringLiteral("dm"));
        const QString dir = m_tmp.filePath(QString::number(++m_run));
        QDir().mkpath(dir);
        m_db->openSqlite(dir);
        installSchema(*m_db);
        exec("insert into firmy (PCFir, Firma) values (1, 'Alfa')");
        exec("insert into firmy (PCFir, Firma) values (7, 'Sedmá')");
        m_dm = std::make_unique<TDM>(m_db.get());
        m_dm->today = [] { return QDate(2026, 12, 10); };
    }
    void cleanup()
    {
        m_dm.reset();
        m_db.reset();
    }

    void keyAllocation_data()
    {
        QTest::addColumn<QString>("dataset");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("seed"); // a row with key 41
        QTest::newRow("accessories") << "BasicView" << "PORADI" << "insert into basic (Firma, PORADI, DRUH) values (1, 41, 'R')";
        QTest::newRow("equipment") << "ZZBasicView" << "Poradi" << "insert into zz_basic (Firma, Poradi, Druh) values (1, 41, '1')";
        QTest::newRow("persons") << "LBasicView" << "Os_id" << "insert into l_basic (Firma, Os_id) values (1, 41)";
        QTest::newRow("constructions") << "OKBasicView" << "Poradi" << "insert into ok_basic (Firma, Poradi) values (1, 41)";
        QTest::newRow("fall protection") << "OPBasicWiew" << "PORADI" << "insert into op_basic (Firma, PORADI, DRUH) values (1, 41, 'O')";
        QTest::newRow("technicians") << "RTech" << "PCREV" << "insert into rtech (PCREV) values (41)";
        QTest::newRow("trainings") << "L_Skoleni" << "skoleni_id" << "insert into l_skoleni (skoleni_id) values (41)";
        QTest::newRow("attachments") << "Prilohy" << "ID" << "insert into prilohy (ID) values (41)";
        QTest::newRow("equipment inspections") << "zz_revize" << "iD" << "insert into zz_revize (iD) values (41)";
    }
    void keyAllocation()
    {
        QFETCH(QString, dataset);
        QFETCH(QString, key);
        QFETCH(QString, seed);
        Dataset *ds = nullptr;
        for (Dataset *d : m_dm->all())
            if (d->name() == dataset)
                ds = d;
        QVERIFY(ds);
        if (dataset == "zz_revize") {
            exec("insert into zz_basic (Firma, Poradi, Druh) values (1, 1, '1')");
            m_dm->ZZBasicView.open();
        }
        ds->open();
        ds->append();
        QCOMPARE(ds->field(key)->asInteger(), 1); // empty table
        ds->cancel();
        exec(seed);
        ds->append();
        QCOMPARE(ds->field(key)->asInteger(), 42);
        ds->post();
        QCOMPARE(m_db->scalar(QString("select count(*) from %1 where %2 = 42").arg(ds->updateTable(), key)).toInt(), 1);
        // deleting the highest number gives it out again
        ds->remove();
        ds->append();
        QCOMPARE(ds->field(key)->asInteger(), 42);
        ds->cancel();
    }

    void firstCompanyGetsNumberOne()
    {
        exec("delete from firmy");
        m_dm->Firmy.open();
        m_dm->Firmy.append();
        QCOMPARE(m_dm->Firmy.field("PCFir")->asInteger(), 1);
        m_dm->Firmy.cancel();
        QCOMPARE(m_db->scalar("select count(*) from firmy").toInt(), 0);
    }

    void twoWorkstationsNeverOverwriteEachOther()
    {
        Database otherDb(QStringLiteral("dm-other"));
        otherDb.openSqlite(m_db->dataDir());
        TDM other(&otherDb);
        for (TDM *dm : {m_dm.get(), &other}) {
            dm->setSelectedCompany(1);
            dm->BasicView.open();
            dm->BasicView.append();
        }
        QCOMPARE(m_dm->BasicView.field("PORADI")->asInteger(), 1);
        QCOMPARE(other.BasicView.field("PORADI")->asInteger(), 1);
        m_dm->BasicView.setFieldValue("POPIS", "stanice 1");
        other.BasicView.setFieldValue("POPIS", "stanice 2");
        m_dm->BasicView.post();
        other.BasicView.post();
        QCOMPARE(other.BasicView.field("PORADI")->asInteger(), 2);
        QVERIFY(other.takeKeyNote().contains(QStringLiteral("uložen pod číslem 2")));
        QVERIFY(m_dm->takeKeyNote().isEmpty());
        QCOMPARE(m_db->scalar("select POPIS from basic where PORADI=1").toString(), QStringLiteral("stanice 1"));
        QCOMPARE(m_db->scalar("select POPIS from basic where PORADI=2").toString(), QStringLiteral("stanice 2"));
    }

    void newAccessoryDefaultsAndCarryOver()
    {
        m_dm->setSelectedCompany(7);
        m_dm->loadTypy("R");
        Dataset &bv = m_dm->BasicView;
        bv.open();
        bv.append();
        QCOMPARE(bv.field("Firma")->asInteger(), 7);
        QCOMPARE(bv.field("DRUH")->asString(), QStringLiteral("R"));
        QCOMPARE(bv.field("PERIODA1")->asInteger(), 12);
        QCOMPARE(bv.field("PERIODA3")->asInteger(), 36);
        QCOMPARE(bv.field("TYP")->asInteger(), 0);
        QVERIFY(bv.field("JAK_TRIDA")->isNull());
        bv.setFieldValue("TYP", 2);
        bv.setFieldValue("PERIODA1", 6);
        bv.setFieldValue("STREDISKO", "Lisovna");
        bv.setFieldValue("JAK_TRIDA", "8");
        bv.post();
        // empty POPIS took the type name, the day of change is stamped
        QCOMPARE(bv.field("POPIS")->asString(), QStringLiteral("Dvoupramenný"));
        QCOMPARE(bv.field("Datum_akt")->asDate(), QDate(2026, 12, 10));
        bv.append();
        QCOMPARE(bv.field("PERIODA1")->asInteger(), 6);
        QCOMPARE(bv.field("TYP")->asInteger(), 2);
        QCOMPARE(bv.field("STREDISKO")->asString(), QStringLiteral("Lisovna"));
        QCOMPARE(bv.field("JAK_TRIDA")->asString(), QStringLiteral("8"));
        bv.setFieldValue("TYP", QVariant()); // an empty type keeps the carried one
        bv.setFieldValue("STREDISKO", "Svařovna");
        bv.post();
        bv.append();
        QCOMPARE(bv.field("TYP")->asInteger(), 2);
        QCOMPARE(bv.field("STREDISKO")->asString(), QStringLiteral("Svařovna"));
        bv.cancel();
    }

    void savedAccessoryMovesToTheSelectedCompany()
    {
        exec("insert into basic (Firma, PORADI, DRUH, TYP) values (1, 5, 'L', 1)");
        // all companies: the company stays
        m_dm->setSelectedCompany(999);
        Dataset &bv = m_dm->BasicView;
        bv.open();
        QVERIFY(bv.locate("PORADI", 5));
        bv.edit();
        bv.setFieldValue("EVID_C", "L-5");
        bv.post();
        QCOMPARE(m_db->scalar("select firma from basic where poradi=5").toInt(), 1);
        // company 7 selected: the row read with another number is moved to 7
        m_dm->setSelectedCompany(7);
        m_dm->setCompanyRange(1, 999);
        bv.close();
        bv.open();
        QVERIFY(bv.locate("PORADI", 5));
        bv.edit();
        bv.setFieldValue("EVID_C", "L-5b");
        bv.post();
        QCOMPARE(m_db->scalar("select firma from basic where poradi=5").toInt(), 7);
    }

    void newEquipmentAndItsSave()
    {
        m_dm->setSelectedCompany(1);
        m_dm->currentKind = "9";
        Dataset &zv = m_dm->ZZBasicView;
        zv.open();
        zv.append();
        QCOMPARE(zv.field("Druh")->asString(), QStringLiteral("9"));
        QCOMPARE(zv.field("Int_Inspekce")->asInteger(), 12);
        QCOMPARE(zv.field("PocetKladkostroju")->asInteger(), 1);
        QCOMPARE(zv.field("ZobrazitKl")->asBoolean(), true);
        QCOMPARE(zv.field("Firma")->asInteger(), 1);
        zv.post();
        QCOMPARE(zv.field("Typ_Zar")->asString(), QStringLiteral("Zdvihadlo"));
        QCOMPARE(zv.field("datum_akt")->asDate(), QDate(2026, 12, 10));
    }

    void personAndFallProtectionDefaults()
    {
        m_dm->setSelectedCompany(7);
        m_dm->LBasicView.open();
        m_dm->LBasicView.append();
        QCOMPARE(m_dm->LBasicView.field("Firma")->asInteger(), 7);
        m_dm->LBasicView.post();
        QCOMPARE(m_dm->LBasicView.field("datum_akt")->asDate(), QDate(2026, 12, 10));
        m_dm->OPBasicWiew.open();
        m_dm->OPBasicWiew.append();
        QCOMPARE(m_dm->OPBasicWiew.field("DRUH")->asString(), QStringLiteral("O"));
        QCOMPARE(m_dm->OPBasicWiew.field("Firma")->asInteger(), 7);
        m_dm->OPBasicWiew.cancel();
    }

    void partnerInspectionDefaults()
    {
        exec("insert into basic (Firma, PORADI, DRUH, TYP) values (1, 3, 'R', 2)");
        exec("insert into revize (PORADI, DRUH, DATUM, CProtNDT, CRevZpr) values (3, 'R', '2025-01-01', 17, 4)");
        m_dm->revTech = "Jan Kos";
        m_dm->revFirma = "Partner s.r.o.";
        m_dm->BasicView.open();
        m_dm->Prubeh_rov.open();
        m_dm->Prubeh_rov.append();
        Dataset &r = m_dm->Prubeh_rov;
        QCOMPARE(r.field("PORADI")->asInteger(), 3);
        QCOMPARE(r.field("DRUH")->asString(), QStringLiteral("R"));
        QCOMPARE(r.field("CProtNDT")->asInteger(), 18);
        QCOMPARE(r.field("CRevZpr")->asInteger(), 5);
        QCOMPARE(r.field("VYSLEDEK")->asString(), QStringLiteral("Vyhovuje"));
        QCOMPARE(r.field("TYPREVIZE")->asString(), QStringLiteral("1"));
        QCOMPARE(r.field("Voda")->asString(), QStringLiteral("A"));
        QCOMPARE(r.field("Benzin")->asString(), QStringLiteral("N"));
        QCOMPARE(r.field("PROVEDL")->asString(), QStringLiteral("Jan Kos"));
        QCOMPARE(r.field("Firma")->asString(), QStringLiteral("Partner s.r.o."));
        r.cancel();
    }

    void derivedFields()
    {
        const QHash<QString, QString> kinds{{"J", "Ostatní"}, {"L", "Lano"}, {"R", "Řetěz"}, {"S", "Svěrka"},
                                            {"T", "Traverza"}, {"X", "Textilie"}, {"Q", ""}, {"", ""}, {"Rx", "Řetěz"}};
        for (auto it = kinds.begin(); it != kinds.end(); ++it)
            QCOMPARE(TDM::kindName(it.key()), it.value());
        const int legs[][2] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 0}, {6, 2}, {7, 4}, {8, 1}, {9, 1}, {0, 0}, {12, 12}};
        for (auto &l : legs)
            QCOMPARE(TDM::legsOfType(l[0]), l[1]);
        QCOMPARE(TDM::inspectionKindName("2"), QStringLiteral("Revizní zkouška"));
        QCOMPARE(TDM::inspectionKindName("5"), QStringLiteral("Zaměření"));
        QCOMPARE(TDM::inspectionKindName("6"), QString());
        QCOMPARE(TDM::protocolNumber("R-", 17, "/ZZ"), QStringLiteral("R-17/ZZ"));
        QCOMPARE(TDM::protocolNumber(QVariant(), QVariant(), "/x"), QStringLiteral("/x"));
        QCOMPARE(TDM::longDescription("Brzdy", "dráha:", "12"), QStringLiteral("Brzdy         dráha:    12"));
        QCOMPARE(TDM::layoutInspectionName("3"), QStringLiteral("Inspekce"));
        QCOMPARE(TDM::layoutInspectionName("4"), QString());
        QCOMPARE(TDM::layoutEquipmentName("A"), QStringLiteral("Zvedák vozidel"));
        QCOMPARE(TDM::layoutEquipmentName("E"), QStringLiteral("Jiné zař."));

        // the calculated fields on the datasets themselves
        exec("insert into basic (Firma, PORADI, DRUH, TYP) values (1, 1, 'T', 5)");
        m_dm->loadTypy("T");
        m_dm->BasicView.open();
        QCOMPARE(m_dm->BasicView.field("C_Druh")->asString(), QStringLiteral("Traverza"));
        QCOMPARE(m_dm->BasicView.field("prameny")->asInteger(), 0);
        QVERIFY(m_dm->BasicView.field("Nazev_t")->isNull()); // no type 5 among spreader beams
        exec("insert into zz_basic (Firma, Poradi, Druh) values (1, 1, '1')");
        exec("insert into zz_revize (iD, Poradi, Typ, Zpusobile, CisZapisu, CisZapisuNum, CisZapisu2) values (1, 1, '3', 0, 'I-', 8, '/26')");
        m_dm->ZZBasicView.open();
        m_dm->zz_revize.open();
        QCOMPARE(m_dm->zz_revize.field("Typ_look")->asString(), QStringLiteral("Inspekce"));
        QCOMPARE(m_dm->zz_revize.field("Zpusobile_Look")->asString(), QStringLiteral("Ne"));
        QCOMPARE(m_dm->zz_revize.field("zapis")->asString(), QStringLiteral("I-8/26"));
    }

    void listsJoinAndHide()
    {
        exec("insert into basic (Firma, PORADI, DRUH) values (1, 1, 'R')");
        exec("insert into basic (Firma, PORADI, DRUH) values (3, 2, 'R')");  // no such company
        exec("insert into basic (Firma, PORADI, DRUH) values (1, 3, 'Q')");  // no such kind
        m_dm->setSelectedCompany(999);
        QCOMPARE(column(m_dm->Basic, "PORADI"), QStringList{"1"});
        QCOMPARE(m_dm->Basic.fieldAt(0)->name(), QStringLiteral("Firma"));
        QVERIFY(m_dm->Basic.findField("Firma_1"));
        QVERIFY(!m_dm->Basic.field("ZAVES")->isVisible());
        QVERIFY(m_dm->Basic.field("DAT_PLAN_1")->isVisible());
        // the maximum still counts the invisible rows
        QCOMPARE(m_dm->newKey("Select max(poradi) as maximum from Basic"), 4);
    }

    void personsByFunction()
    {
        exec("insert into l_basic (Firma, Os_id, Prijmeni) values (1, 1, 'Malý')");
        exec("insert into l_basic (Firma, Os_id, Prijmeni) values (1, 2, 'Velký')");
        exec("insert into l_zarazeni (Os_id, Druh) values (1, 'V')");
        exec("insert into l_zarazeni (Os_id, Druh) values (1, 'J')");
        exec("insert into l_zarazeni (Os_id, Druh) values (2, 'J')");
        m_dm->setSelectedCompany(1);
        QCOMPARE(column(m_dm->L_Basic, "Prijmeni"), QStringList({"Malý", "Velký"}));
        m_dm->L_Basic1.setParam("_druh", "J");
        QCOMPARE(column(m_dm->L_Basic1, "Prijmeni"), QStringList({"Malý", "Velký"}));
        QVERIFY(m_dm->L_Basic1.findField("os_id_1"));
        m_dm->L_Basic1.setParam("_druh", "V");
        QCOMPARE(column(m_dm->L_Basic1, "Prijmeni"), QStringList({"Malý"}));
    }

    void planningAccessories()
    {
        exec("insert into basic (Firma, PORADI, DRUH, EVID_C, DAT_PLAN_1, DAT_PLAN_3) values (1, 1, 'R', 'never', null, null)");
        exec("insert into basic (Firma, PORADI, DRUH, EVID_C, DAT_PLAN_1, DAT_PLAN_3) values (1, 2, 'R', 'thorough', '2027-05-01', '2026-12-10')");
        exec("insert into basic (Firma, PORADI, DRUH, EVID_C, DAT_PLAN_1, DAT_PLAN_3) values (1, 3, 'L', 'later', '2027-05-01', '2027-06-01')");
        exec("insert into basic (Firma, PORADI, DRUH, EVID_C, DAT_PLAN_1, DAT_PLAN_3) values (1, 4, 'L', 'today', '2026-12-10', null)");
        exec("insert into basic (Firma, PORADI, DRUH, EVID_C, DAT_PLAN_1) values (7, 5, 'L', 'other company', '2026-01-01')");
        m_dm->setSelectedCompany(1);
        Dataset &p = m_dm->PlanRev;
        p.setParam("_Datum", QDate(2026, 12, 10));
        QCOMPARE(column(p, "EVID_C"), QStringList({"never", "thorough", "today"}));
        p.setParam("_Datum", QDate(2000, 1, 1));
        QCOMPARE(column(p, "EVID_C"), QStringList({"never"}));
        m_dm->setSelectedCompany(999);
        QCOMPARE(p.param("_firma").toInt(), 0);
        p.setParam("_Datum", QDate(2026, 12, 10));
        QCOMPARE(column(p, "EVID_C"), QStringList({"never", "thorough", "today", "other company"}));
        p.setFilter("Druh='L'");
        p.setFiltered(true);
        QCOMPARE(p.recordCount(), 2);
    }

    void planningEquipment()
    {
        const char *later = "'2027-06-01'";
        auto row = [&](int n, const char *evid, const char *zam, const char *rev, const char *insp, const char *rzk, const char *el) {
            exec(QString("insert into zz_basic (Firma, Poradi, Druh, Evid_C, Next_zamereni, Next_Revize, Next_Inspekce, Next_RevZk, Next_Elektrorev) "
                         "values (1, %1, '1', '%2', %3, %4, %5, %6, %7)").arg(n).arg(evid, zam, rev, insp, rzk, el));
        };
        row(1, "elektro empty", later, later, later, later, "null");
        row(2, "survey empty only", "null", later, later, later, later);
        row(3, "survey due", "'2026-12-01'", later, later, later, later);
        row(4, "all later", later, later, later, later, later);
        m_dm->setSelectedCompany(1);
        m_dm->PlanZZ.setParam("_Datum", QDate(2026, 12, 10));
        QCOMPARE(column(m_dm->PlanZZ, "EVID_C"), QStringList({"elektro empty", "survey due"}));
    }

    void planningPersons()
    {
        exec("insert into l_basic (Firma, Os_id, Prijmeni) values (1, 1, 'Malý')");
        exec("insert into l_zarazeni (Os_id, Druh, Skoleni_plan, Prohlidka_plan) values (1, 'V', '2026-11-01', '2028-01-01')");
        exec("insert into l_zarazeni (Os_id, Druh, Skoleni_plan, Prohlidka_plan) values (1, 'J', '2027-11-01', '2028-01-01')");
        m_dm->setSelectedCompany(1);
        m_dm->PlanL.setParam("_Datum", QDate(2026, 12, 10));
        QCOMPARE(column(m_dm->PlanL, "Druh"), QStringList({"V"}));
    }

    void planningConstructionsAndFallProtectionKeepToTheCompany()
    {
        exec("insert into ok_basic (Firma, Poradi, Evid_C, Next_podrobna, Next_prev) values (1, 1, 'OK-1', '2026-01-01', '2027-01-01')");
        exec("insert into ok_basic (Firma, Poradi, Evid_C, Next_podrobna, Next_prev) values (7, 2, 'OK-7', null, '2027-01-01')");
        exec("insert into ok_basic (Firma, Poradi, Evid_C, Next_podrobna, Next_prev) values (1, 3, 'OK-later', '2029-01-01', '2027-01-01')");
        exec("insert into op_basic (Firma, PORADI, DRUH, TYP, OZNACENI, DAT_PLAN_1) values (1, 1, 'O', 1, 'OP-1', null)");
        exec("insert into op_basic (Firma, PORADI, DRUH, TYP, OZNACENI, DAT_PLAN_1) values (7, 2, 'O', 2, 'OP-7', '2026-01-01')");
        m_dm->setSelectedCompany(1);
        for (Dataset *p : {&m_dm->PlanOK, &m_dm->PlanOP})
            p->setParam("_Datum", QDate(2026, 12, 10));
        QCOMPARE(column(m_dm->PlanOK, "EVID_C"), QStringList({"OK-1"}));
        QCOMPARE(column(m_dm->PlanOP, "OZNACENI"), QStringList({"OP-1"}));
        m_dm->setSelectedCompany(999);
        QCOMPARE(column(m_dm->PlanOK, "EVID_C"), QStringList({"OK-1", "OK-7"}));
        QCOMPARE(column(m_dm->PlanOP, "OZNACENI"), QStringList({"OP-1", "OP-7"}));
    }

    void deletingACompanyRemovesEverythingItOwned()
    {
        exec("insert into basic (Firma, PORADI, DRUH) values (7, 1, 'R')");
        exec("insert into basic (Firma, PORADI, DRUH) values (1, 2, 'R')");
        exec("insert into revize (PORADI, DRUH, DATUM) values (1, 'R', '2026-01-01')");
        exec("insert into revize (PORADI, DRUH, DATUM) values (2, 'R', '2026-01-01')");
        exec("insert into prilohy (ID, y) values (1, 1)");
        exec("insert into zz_basic (Firma, Poradi, Druh) values (7, 1, '1')");
        exec("insert into zz_revize (iD, Poradi, Polozky, Zavady) values (5, 1, 9, 9)");
        exec("insert into zz_polozkyrev (Revize, Polozka) values (9, 1)");
        exec("insert into zz_zavady (ID, PC, Zavada) values (9, 1, 'Trhlina')");
        exec("insert into prilohy (ID, x, r) values (2, 1, 5)");
        exec("insert into l_basic (Firma, Os_id) values (7, 1)");
        exec("insert into l_zarazeni (Os_id, Druh) values (1, 'V')");
        exec("insert into l_skoleni_ucast (skoleni_id, Os_id) values (1, 1)");
        exec("insert into op_basic (Firma, PORADI, DRUH) values (7, 1, 'O')");
        exec("insert into revize_op (poradi, druh, DATUM) values (1, 'O', '2026-01-01')");
        exec("insert into js_casti (PORADI, POR_JS) values (1, 1)");
        exec("insert into ok_basic (Firma, Poradi) values (7, 1)");
        const CompanyRows rows = companyRows(*m_db, 7);
        QCOMPARE(rows.total(), 5);
        deleteCompany(*m_db, 7);
        const char *empty[] = {"zz_basic", "zz_revize", "zz_polozkyrev", "zz_zavady", "prilohy", "l_basic", "l_zarazeni",
                               "l_skoleni_ucast", "op_basic", "revize_op", "js_casti", "ok_basic"};
        for (const char *t : empty)
            QVERIFY2(m_db->scalar(QString("select count(*) from %1").arg(t)).toInt() == 0, t);
        QCOMPARE(m_db->scalar("select count(*) from basic").toInt(), 1);
        QCOMPARE(m_db->scalar("select count(*) from revize").toInt(), 1);
        QCOMPARE(m_db->scalar("select count(*) from firmy where pcfir=7").toInt(), 0);
        // a new company under the freed number inherits nothing
        m_dm->Firmy.open();
        m_dm->Firmy.append();
        m_dm->Firmy.setFieldValue("PCFir", 7);
        m_dm->Firmy.post();
        m_dm->setSelectedCompany(7);
        QCOMPARE(m_dm->Basic.isOpen() ? m_dm->Basic.recordCount() : (m_dm->Basic.open(), m_dm->Basic.recordCount()), 0);
    }

    void deletingAnItemIsAllOrNothing()
    {
        exec("insert into zz_basic (Firma, Poradi, Druh) values (1, 1, '1')");
        exec("insert into zz_revize (iD, Poradi, Polozky, Zavady) values (5, 1, 9, 9)");
        exec("insert into zz_polozkyrev (Revize, Polozka) values (9, 1)");
        // a trigger stands for a failure half-way
        exec("create trigger fail_delete before delete on zz_revize begin select raise(abort, 'zamčeno'); end");
        QVERIFY_THROWS_EXCEPTION(Error, deleteItem(*m_db, Register::Equipment, 1));
        QCOMPARE(m_db->scalar("select count(*) from zz_polozkyrev").toInt(), 1);
        QCOMPARE(m_db->scalar("select count(*) from zz_basic").toInt(), 1);
        exec("drop trigger fail_delete");
        QVERIFY(deleteItem(*m_db, Register::Equipment, 1));
        QCOMPARE(m_db->scalar("select count(*) from zz_polozkyrev").toInt(), 0);
        QVERIFY(!deleteItem(*m_db, Register::Equipment, 1));
    }
};

QTEST_GUILESS_MAIN(TstDataModule)
#include "tst_datamodule.moc"
