// Commands of the evidence page on a real database: new items, copies,
// removing the selected item or every item shown, the text list.
#include "codepage.h"
#include "datadir.h"
#include "recordcommands.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::app;
using namespace tz::db;

class TstRecordCommands : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TDM> m_dm;

    int count(const QString &sql, const Params &p = {}) { return m_db->scalar(sql, p).toInt(); }

private Q_SLOTS:
    void init()
    {
        m_dm.reset();
        m_db.reset();
        m_tmp = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<Database>(QStringLiteral("rc"));
        m_db->openSqlite(m_tmp->path());
        installSchema(*m_db);
        loadDemoData(*m_db);
        m_dm = std::make_unique<TDM>(m_db.get());
        m_dm->setSelectedCompany(1);
    }
    void cleanup()
    {
        m_dm.reset();
        m_db.reset();
    }

    void newItemValuesByKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QVariant>("jakTrida");
        QTest::newRow("chain") << "Řetězy" << "TfVazaciRetez" << QVariant("8");
        QTest::newRow("rope") << "Lana" << "TfVazaciLana" << QVariant("1770");
        QTest::newRow("clamp keeps the carried class") << "Svěrky" << "TfVazaciSver" << QVariant();
    }
    void newItemValuesByKind()
    {
        QFETCH(QString, kind);
        QFETCH(QString, form);
        QFETCH(QVariant, jakTrida);
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.setKind(kind);
        st.refresh();
        const auto t = prepareNewItem(st);
        QVERIFY(t);
        QCOMPARE(t->formClass, form);
        QCOMPARE(m_dm->BasicView.state(), Dataset::State::Insert);
        QCOMPARE(m_dm->BasicView.field("PORADI")->asInteger(), 7);
        QCOMPARE(m_dm->BasicView.field("DRUH")->asString(), st.kindLetter());
        QCOMPARE(m_dm->BasicView.field("STREDISKO")->asString(), QStringLiteral("Strojírny Šumperk a.s."));
        QCOMPARE(m_dm->BasicView.field("JAK_TRIDA")->value().toString(), jakTrida.toString());
        m_dm->BasicView.cancel();
    }

    void noNewItemWithAllCompaniesOrWithoutKind()
    {
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.refresh();
        QVERIFY(!prepareNewItem(st));   // no kind chosen
        m_dm->setSelectedCompany(999);
        st.setKind("Řetězy");
        st.refresh();
        QVERIFY(!prepareNewItem(st));
        QCOMPARE(m_dm->BasicView.state() == Dataset::State::Insert, false);
    }

    void copyOfChainKeepsTechnicalValues()
    {
        m_db->exec("update basic set Pict=:p where poradi=1", Params{{"p", QByteArray("BMpicture")}});
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.setKind("Řetězy");
        st.refresh();
        QVERIFY(st.evidenceList()->locate("PORADI", 1));
        OpenTarget t;
        QCOMPARE(prepareCopy(st, &t), CopyResult::Prepared);
        QCOMPARE(t.formClass, QStringLiteral("TfVazaciRetez"));
        Dataset &v = m_dm->BasicView;
        QCOMPARE(v.field("PORADI")->asInteger(), 7);
        QCOMPARE(v.field("NOSNOST_1")->asFloat(), 6300.0);
        QCOMPARE(v.field("JAK_TRIDA")->asString(), QStringLiteral("8"));
        QCOMPARE(v.field("Pict")->asBytes(), QByteArray("BMpicture"));
        QCOMPARE(v.field("STREDISKO")->asString(), QStringLiteral("Lisovna"));
        QVERIFY(v.field("EVID_C")->isNull());
        QVERIFY(v.field("VYR_C")->isNull());
        QVERIFY(v.field("DAT_POSL_1")->isNull());
        QVERIFY(v.field("DAT_PLAN_1")->isNull());
        v.post();
        QCOMPARE(count("select count(*) from basic where poradi=7 and druh='R' and firma=1 and nosnost_2=4410"), 1);
        // the saved copy's values are the next new accessory's
        QCOMPARE(m_dm->carryOver().stredisko.toString(), QStringLiteral("Lisovna"));
        QCOMPARE(m_dm->carryOver().typ.toInt(), 2);
    }

    void copyWithAllCompaniesKeepsTheSourceCompany()
    {
        m_dm->setSelectedCompany(999);
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.refresh();
        QVERIFY(st.evidenceList()->locate("PORADI", 5));
        OpenTarget t;
        QCOMPARE(prepareCopy(st, &t), CopyResult::Prepared);
        m_dm->BasicView.post();
        QCOMPARE(count("select firma from basic where poradi=7"), 2);
    }

    void copyOfOtherRegisters()
    {
        MainState st(*m_dm);
        st.setRegister("Osoby");
        st.refresh();
        OpenTarget t;
        QCOMPARE(prepareCopy(st, &t), CopyResult::NotSupported);
        st.setRegister("Zdvihací zařízení");
        st.refresh();
        QVERIFY(st.hasRows());
        QCOMPARE(prepareCopy(st, &t), CopyResult::Prepared);
        QCOMPARE(m_dm->ZZBasicView.state(), Dataset::State::Insert);
        QVERIFY(t.formClass.startsWith("TfZdvihaci"));
        m_dm->ZZBasicView.cancel();
    }

    void removeShownTakesOnlyTheFilteredRows()
    {
        m_db->exec("insert into basic (Firma, PORADI, DRUH, TYP) values (2, 8, 'L', 1)");
        m_db->exec("insert into revize (PORADI, DRUH, DATUM) values (3, 'L', '2025-01-15')");
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.setKind("Lana");
        st.refresh();
        QCOMPARE(st.recordCount(), 1);
        const RemovalReport rep = removeShown(st);
        QCOMPARE(rep.removed, 1);
        QVERIFY(rep.failures.isEmpty());
        QCOMPARE(st.recordCount(), 0);
        QCOMPARE(count("select count(*) from basic where poradi=3"), 0);
        QCOMPARE(count("select count(*) from revize where poradi=3"), 0);
        // the rope of the other company and the chains stay
        QCOMPARE(count("select count(*) from basic where poradi=8"), 1);
        QCOMPARE(count("select count(*) from basic where druh='R'"), 2);
        QCOMPARE(count("select count(*) from revize where poradi=1"), 2);
    }

    void removeShownPersonsOfAFunction()
    {
        MainState st(*m_dm);
        st.setRegister("Osoby");
        st.refresh();
        const int before = count("select count(*) from l_basic");
        const int shown = st.recordCount();
        QVERIFY(shown > 0);
        const RemovalReport rep = removeShown(st);
        QCOMPARE(rep.removed, shown);
        QCOMPARE(count("select count(*) from l_basic"), before - shown);
        QCOMPARE(count("select count(*) from l_zarazeni where os_id in (1, 2)"), 0);
        QVERIFY(rep.summary().contains(QString::number(shown)));
    }

    void textListInWindows1250()
    {
        m_db->exec("update basic set OZNACENI=:o where poradi=1", Params{{"o", QStringLiteral("O'Brien; řetěz")}});
        MainState st(*m_dm);
        st.setRegister("Vázací prostředky");
        st.setKind("Řetězy");
        st.refresh();
        Dataset *list = st.evidenceList();
        const QString path = m_tmp->filePath("Tavo.txt");
        QString error;
        QVERIFY(writeTextList(*list, {"EVID_C", "OZNACENI", "NOSNOST_1"}, path, &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 4);   // header, two chains, the empty rest after the last line end
        const QString header = decode(lines[0], CodePage::Cp1250);
        QCOMPARE(header, list->field("EVID_C")->label() + ";" + list->field("OZNACENI")->label() + ";"
                             + list->field("NOSNOST_1")->label() + ";\r");
        QVERIFY(bytes.contains(encode(QStringLiteral("R-001;O'Brien; řetěz;6300;\r\n"), CodePage::Cp1250)));
        // the list shown is not moved by writing it
        QCOMPARE(list->recNo(), 0);
        // a folder that cannot be written gives the reason
        QVERIFY(!writeTextList(*list, {"EVID_C"}, m_tmp->filePath("missing/Tavo.txt"), &error));
        QVERIFY(error.contains("nelze zapsat"));
    }
};

QTEST_GUILESS_MAIN(TstRecordCommands)
#include "tst_recordcommands.moc"
