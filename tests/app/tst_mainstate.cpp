// Main window rules without widgets: registers, kinds, pages and opening rows.
#include "datadir.h"
#include "listdocument.h"
#include "mainstate.h"
#include "xlsx/xlsxio.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::app;
using namespace tz::db;

class TstMainState : public QObject
{
    Q_OBJECT
    QTemporaryDir m_tmp;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TDM> m_dm;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<Database>(QStringLiteral("ms"));
        m_db->openSqlite(m_tmp.path());
        installSchema(*m_db);
        loadDemoData(*m_db);
        m_dm = std::make_unique<TDM>(m_db.get());
    }

    void kindButtonsOfEachRegister_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("accessories") << "Vázací prostředky" << QStringList{"Řetězy", "Lana", "Textilie", "Svěrky", "Traverzy", "Ostatní"};
        QTest::newRow("equipment") << "Zdvihací zařízení"
                                   << QStringList{"Mostový", "Portálový", "Konzolový", "Stožárový", "Mobilní", "Věžový",
                                                  "Zdvihadlo", "Zvedák \nvozidel", "Jiné zař."};
        QTest::newRow("persons (offered functions only)")
            << "Osoby" << QStringList{"Vazači", "Jeřábníci", "Revizní \ntechnici", "Udržovatelé", "Pracovníci \nve výškách", "Obsluha \nplošin"};
        QTest::newRow("constructions have none") << "Ocelové konstrukce" << QStringList{};
        QTest::newRow("fall protection") << "OPPP"
                                         << QStringList{"Kompletní postroj", "Pracovní pás", "Spojovací\nprostředek", "Ostatní prostředky", "Jistící\nsystém"};
        QTest::newRow("unknown register") << "Jeřáby" << QStringList{};
    }
    void kindButtonsOfEachRegister()
    {
        QFETCH(QString, reg);
        QFETCH(QStringList, captions);
        MainState st(*m_dm);
        st.setRegister(reg);
        QStringList got;
        for (const KindButton &b : st.kindButtons())
            got << b.caption;
        QCOMPARE(got, captions);
    }

    void kindFilterCountAndAdd()
    {
        m_dm->setSelectedCompany(1);
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.refresh();
        QCOMPARE(st.recordCount(), 3);
        QVERIFY(!st.canAdd()); // no kind chosen
        st.setKind("Řetězy");
        st.refresh();
        QCOMPARE(st.recordCount(), 2);
        QCOMPARE(st.kindLetter(), QStringLiteral("R"));
        QCOMPARE(st.conditions().value("Druh"), QStringLiteral("Druh='R'"));
        QVERIFY(st.canAdd());
        QVERIFY(st.cardPrintVisible());
        // planning of chains on the chosen day
        st.setPage(Page::Planning);
        st.setPlanDate(QDate(2026, 12, 10));
        st.refresh();
        QCOMPARE(st.planningList(), &m_dm->PlanRev);
        QCOMPARE(st.planningList()->recordCount(), 1);
        QVERIFY(st.massInspectionVisible());
        QVERIFY(!st.trainingVisible());
        // the register clears the kind
        st.setKind("Vázací prostředky");
        st.setPage(Page::Evidence);
        st.refresh();
        QCOMPARE(st.recordCount(), 3);
        QVERIFY(st.kindLetter().isEmpty());
    }

    void allCompaniesBlockAdding()
    {
        m_dm->setSelectedCompany(999);
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.setKind("Lana");
        st.refresh();
        QVERIFY(!st.canAdd());
        st.setRegister("Osoby");
        st.refresh();
        QVERIFY(!st.canAdd());
        st.setPage(Page::Planning);
        st.refresh();
        QCOMPARE(m_dm->PlanL.param("_firma").toInt(), 0);
        QCOMPARE(m_dm->PlanL.param("_firma2").toInt(), 999);
        QVERIFY(st.trainingVisible());
        m_dm->setSelectedCompany(1);
    }

    void personsOfAFunction()
    {
        m_dm->setSelectedCompany(1);
        MainState st(*m_dm);
        st.setRegister("Osoby");
        st.refresh();
        QCOMPARE(st.evidenceList(), &m_dm->L_Basic);
        QCOMPARE(st.recordCount(), 2);
        QVERIFY(st.canAdd());
        st.setKind("Jeřábníci");
        st.refresh();
        QCOMPARE(st.evidenceList(), &m_dm->L_Basic1);
        QCOMPARE(st.recordCount(), 1);
        QCOMPARE(st.kindLetter(), QStringLiteral("J"));
    }

    void fallProtectionKindLetterFromTheName()
    {
        m_dm->setSelectedCompany(3);
        MainState st(*m_dm);
        st.setRegister("OPPP");
        st.setKind("Spojovací prostředek");
        st.refresh();
        QCOMPARE(st.kindLetter(), QStringLiteral("3"));
        QCOMPARE(st.conditions().value("Typ"), QStringLiteral("Typ='3'"));
        QCOMPARE(st.recordCount(), 1);
        QCOMPARE(st.evidenceList()->field("OZNACENI")->asString(), QStringLiteral("Tlumič pádu TP-2"));
        st.setKind("Jistící systém");
        st.refresh();
        QCOMPARE(st.kindLetter(), QStringLiteral("5"));
        QCOMPARE(st.recordCount(), 0);
        st.setKind("Kompletní postroj");
        st.refresh();
        QCOMPARE(st.kindLetter(), QStringLiteral("1"));
        QCOMPARE(st.recordCount(), 1);
        m_dm->setSelectedCompany(1);
    }

    void listExportOfTheShownList()
    {
        m_db->exec("update basic set EVID_C = '0012' where poradi = 1");
        m_dm->setSelectedCompany(1);
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.setKind("Řetězy");
        st.refresh();
        // the grid's order: evidence number first, then the description
        const ListDocument doc = listDocument(*m_dm, *st.evidenceList(), st.registerName(), false, {"EVID_C", "POPIS", "DELKA", "DAT_PLAN_1"});
        QCOMPARE(doc.title, tz::listTitle("Vázací prostředky", false));
        QCOMPARE(doc.organisation, QStringLiteral("Revize Zdvih s.r.o."));
        QCOMPARE(doc.columns, QStringList({"Evid. číslo", "Popis", "Délka [m]", "Příští prohlídka"}));
        QCOMPARE(int(doc.rows.size()), 2); // the kind filter applies
        const QString out = m_tmp.filePath("seznam.xlsx");
        tz::saveList(doc, QFINDTESTDATA("../../install"), out);
        const tz::xlsx::Workbook book = tz::xlsx::readWorkbook(out);
        const tz::xlsx::Sheet &sh = book.active();
        QCOMPARE(sh.cell(5, 1)->text, QStringLiteral("Evid. číslo"));
        QCOMPARE(sh.cell(6, 1)->kind, tz::xlsx::Cell::Kind::String);
        QCOMPARE(sh.cell(6, 1)->text, QStringLiteral("0012")); // a text stays a text
        QCOMPARE(sh.cell(6, 3)->kind, tz::xlsx::Cell::Kind::Number);
        QCOMPARE(sh.cell(6, 3)->number, 2.5);
        QCOMPARE(sh.cell(6, 4)->kind, tz::xlsx::Cell::Kind::Number); // a date is a date serial
        QCOMPARE(tz::xlsx::serialToDate(sh.cell(6, 4)->number), QDate(2027, 3, 10));
        QCOMPARE(sh.cell(7, 2)->text, QStringLiteral("Čtyřpramenný"));
        QVERIFY(!sh.cell(8, 1) || sh.cell(8, 1)->kind == tz::xlsx::Cell::Kind::Empty);
    }

    void openingARow()
    {
        m_dm->setSelectedCompany(1);
        MainState st(*m_dm);
        st.setRegister("Zdvihací zařízení");
        st.refresh();
        auto t = st.prepareOpen();
        QVERIFY(t);
        QCOMPARE(t->formClass, QStringLiteral("TfZdvihaciMost"));
        QCOMPARE(t->editSet, &m_dm->ZZBasicView);
        QCOMPARE(m_dm->ZZBasicView.field("Evid_C")->asString(), QStringLiteral("MJ-01"));
        QCOMPARE(st.kindLetter(), QStringLiteral("1"));

        st.setRegister("Vázací prostředky");
        st.refresh();
        QVERIFY(st.evidenceList()->locate("PORADI", 3));
        t = st.prepareOpen();
        QVERIFY(t);
        QCOMPARE(t->formClass, QStringLiteral("TfVazaciLana"));
        QCOMPARE(m_dm->BasicView.field("PORADI")->asInteger(), 3);
        QCOMPARE(m_dm->Typy.param("druh").toString(), QStringLiteral("L"));
        st.returnToRow(*t);
        QCOMPARE(st.evidenceList()->field("PORADI")->asInteger(), 3);

        // a row deleted meanwhile opens nothing
        m_db->exec("delete from basic where poradi = 3");
        t = st.prepareOpen();
        QVERIFY(!t);
    }
};

QTEST_GUILESS_MAIN(TstMainState)
#include "tst_mainstate.moc"
