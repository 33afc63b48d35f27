// The database engine interface on a real SQLite database with the program's schema.
#include "datadir.h"
#include "dataset.h"
#include "db.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz::db;

class TstEngine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_tmp;
    std::unique_ptr<Database> m_db;
    int m_run = 0;

    void exec(const QString &sql, const Params &p = {}) { m_db->exec(sql, p); }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<Database>(QStringLiteral("test"));
        const QString dir = m_tmp.filePath(QString::number(++m_run));
        QDir().mkpath(dir);
        m_db->openSqlite(dir);
        installSchema(*m_db);
        exec("insert into firmy (PCFir, Firma) values (1, 'Alfa s.r.o.')");
        exec("insert into firmy (PCFir, Firma) values (2, 'Beta a.s.')");
        exec("insert into basic (Firma, PORADI, DRUH, TYP, POPIS, EVID_C, DELKA, DAT_PLAN_1) values (1, 1, 'R', 2, 'Řetěz A', 'E1', 2.5, '2026-01-10')");
        exec("insert into basic (Firma, PORADI, DRUH, TYP, POPIS, EVID_C, DELKA, DAT_PLAN_1) values (1, 2, 'L', 1, 'Lano B', 'e2', 4, '2026-03-01')");
        exec("insert into basic (Firma, PORADI, DRUH, TYP, POPIS, EVID_C, DELKA) values (2, 3, 'R', 4, 'Řetěz C', 'X3', 6)");
    }
    void cleanup() { m_db.reset(); }

    void sqlConstructs_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected"); // rows joined by "|", columns by ","
        QTest::newRow("join in where, alias") << "select basic.poradi, druhy.nazev as D from basic, druhy where basic.druh=druhy.druh order by basic.poradi"
                                              << "1,Řetězy|2,Lana|3,Řetězy";
        QTest::newRow("table.* after a column") << "select firmy.firma, basic.* from basic, firmy where basic.firma=firmy.pcfir and basic.poradi=3"
                                                 << "";
        QTest::newRow("count group by") << "select druh, count(*) from basic group by druh order by druh" << "L,1|R,2";
        QTest::newRow("distinct") << "select distinct firma from basic order by firma" << "1|2";
        QTest::newRow("table name with .DB") << "select poradi from basic.DB where poradi=2" << "2";
        QTest::newRow("quoted table name with .db") << "select poradi from \"basic.db\" where poradi=2" << "2";
        QTest::newRow("double-quoted string value") << "select poradi from basic where druh=\"L\"" << "2";
        QTest::newRow("is null") << "select poradi from basic where DAT_PLAN_1 is null" << "3";
        QTest::newRow("max on empty table") << "select max(id) from prilohy" << "";
        QTest::newRow("max") << "Select max(poradi) as maximum from Basic" << "3";
        QTest::newRow("quoted column names stay columns") << "select \"PORADI\" from basic where \"DRUH\" = \"L\"" << "2";
        QTest::newRow("typy of kind O in double quotes") << "select count(*) from typy where druh=\"O\"" << "5";
    }
    void sqlConstructs()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        Dataset ds(m_db.get());
        ds.setSql(sql);
        ds.open();
        if (QByteArray(QTest::currentDataTag()) == "table.* after a column") {
            QCOMPARE(ds.fieldAt(0)->name(), QStringLiteral("Firma"));
            QVERIFY(ds.findField("Firma_1"));
            QCOMPARE(ds.field("Firma")->asString(), QStringLiteral("Beta a.s."));
            QCOMPARE(ds.field("Firma_1")->asInteger(), 2);
            QCOMPARE(ds.field("POPIS")->asString(), QStringLiteral("Řetěz C"));
            return;
        }
        QStringList rows;
        for (ds.first(); !ds.eof(); ds.next()) {
            QStringList cols;
            for (int i = 0; i < ds.fieldCount(); ++i)
                cols << ds.fieldAt(i)->asString();
            rows << cols.join(',');
        }
        QCOMPARE(rows.join('|'), expected);
    }

    void maxOnEmptyIsOneEmptyValue()
    {
        Dataset ds(m_db.get());
        ds.setSql("Select max(pcrev) from rtech");
        ds.open();
        QCOMPARE(ds.recordCount(), 1);
        QVERIFY(ds.fieldAt(0)->isNull());
        QCOMPARE(ds.fieldAt(0)->asString(), QString());
    }

    void dateColumnsAgainstDateParameters()
    {
        Dataset ds(m_db.get());
        ds.setSql(QStringList{"select poradi from basic", "where DAT_PLAN_1 <= :_Datum or DAT_PLAN_1 is null",
                              "or DAT_PLAN_1 = :_datum order by poradi"});
        ds.setParam("_Datum", QDate(2026, 2, 1));
        ds.open();
        QStringList got;
        for (ds.first(); !ds.eof(); ds.next())
            got << ds.field("poradi")->asString();
        QCOMPARE(got, QStringList({"1", "3"}));
        QCOMPARE(ds.findField("poradi")->type(), FieldType::SmallInt);
    }

    void dateFieldsAreDates()
    {
        Dataset ds(m_db.get());
        ds.setSql("select * from basic where poradi=1");
        ds.open();
        QCOMPARE(ds.field("DAT_PLAN_1")->type(), FieldType::Date);
        QCOMPARE(ds.field("DAT_PLAN_1")->asDate(), QDate(2026, 1, 10));
        QCOMPARE(ds.field("DAT_PLAN_1")->asString(), QStringLiteral("10.1.2026"));
        QCOMPARE(ds.field("DELKA")->displayText(), QStringLiteral("2,5"));
        QCOMPARE(ds.field("DELKA")->asFloat(), 2.5);
    }

    void dateColumnPlusDaysInUpdate()
    {
        exec("update basic set DAT_PLAN_1 = DAT_PLAN_1 + 30 where poradi=1");
        exec("update basic set DAT_PLAN_1 = DAT_PLAN_1 + :n*30, DELKA = 3 where poradi = 2", Params{{"n", 2}});
        exec("update basic set DAT_PLAN_1 = DAT_PLAN_1 + 10 where poradi = 3"); // null stays null
        Dataset ds(m_db.get());
        ds.setSql("select poradi, DAT_PLAN_1, DELKA from basic order by poradi");
        ds.open();
        QCOMPARE(ds.field("DAT_PLAN_1")->asDate(), QDate(2026, 2, 9));
        ds.next();
        QCOMPARE(ds.field("DAT_PLAN_1")->asDate(), QDate(2026, 4, 30));
        QCOMPARE(ds.field("DELKA")->asFloat(), 3.0);
        ds.next();
        QVERIFY(ds.field("DAT_PLAN_1")->isNull());
    }

    void apostrophesAreBoundNotPasted()
    {
        Dataset ds(m_db.get());
        ds.setSql("Select * from firmy");
        ds.open();
        ds.append();
        ds.setFieldValue("PCFir", 3);
        ds.setFieldValue("Firma", "O'Brien & syn; drop table basic");
        ds.post();
        Dataset q(m_db.get());
        q.setSql("select PCFir from firmy where Firma = :f");
        q.setParam("f", "O'Brien & syn; drop table basic");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldAt(0)->asInteger(), 3);
        QVERIFY(m_db->hasTable("basic"));
        QVERIFY(ds.locate("Firma", QStringLiteral("o'brien"), Dataset::CaseInsensitive | Dataset::PartialKey));
    }

    void missingParameterIsAnError()
    {
        Dataset ds(m_db.get());
        ds.setSql("select * from basic where poradi = :p");
        QVERIFY_THROWS_EXCEPTION(Error, ds.open());
        QVERIFY(!ds.isOpen());
    }

    void engineErrorsCarryTheEngineText()
    {
        try {
            m_db->exec("select nonsense from nowhere");
            QFAIL("no error");
        } catch (const Error &e) {
            QVERIFY2(e.engineText().contains("nowhere"), qPrintable(e.userText()));
        }
    }

    void liveEditingAndHooksOrder()
    {
        Dataset ds(m_db.get(), "BasicView");
        ds.setSql("Select * from basic where firma>=:_firma and  firma<=:_firma2   ");
        ds.setParam("_firma", 1);
        ds.setParam("_firma2", 1);
        QStringList calls;
        ds.onNewRecord = [&](Dataset &d) {
            calls << "new";
            d.setFieldValue("PORADI", 10);
            d.setFieldValue("Firma", 1);
            d.setFieldValue("DRUH", "X");
        };
        ds.beforePost = [&](Dataset &d) {
            calls << "before:" + QString::number(d.state() == Dataset::State::Insert);
            if (d.field("POPIS")->isNull())
                d.setFieldValue("POPIS", "Bez popisu");
        };
        ds.afterPost = [&](Dataset &d) { calls << "after:" + QString::number(d.state() == Dataset::State::Browse); };
        ds.open();
        QCOMPARE(ds.updateTable(), QStringLiteral("basic"));
        QCOMPARE(ds.recordCount(), 2);
        ds.append();
        QCOMPARE(ds.recNo(), 2);
        ds.setFieldValue("DAT_PLAN_1", "5.7.2027");
        ds.post();
        QCOMPARE(calls, QStringList({"new", "before:1", "after:1"}));
        QCOMPARE(m_db->scalar("select POPIS from basic where PORADI=10").toString(), QStringLiteral("Bez popisu"));
        QCOMPARE(m_db->scalar("select DAT_PLAN_1 from basic where PORADI=10").toString(), QStringLiteral("2027-07-05"));

        // edit changes only what was changed
        QVERIFY(ds.locate("PORADI", 1));
        ds.edit();
        ds.setFieldValue("EVID_C", "E1-nové");
        ds.post();
        QCOMPARE(m_db->scalar("select EVID_C from basic where PORADI=1").toString(), QStringLiteral("E1-nové"));
        // cancel keeps the stored row
        ds.edit();
        ds.setFieldValue("EVID_C", "zahodit");
        ds.cancel();
        QCOMPARE(ds.field("EVID_C")->asString(), QStringLiteral("E1-nové"));
        // insert before the current row, then cancel: nothing stored, rows as before
        ds.insert();
        QCOMPARE(ds.state(), Dataset::State::Insert);
        ds.cancel();
        QCOMPARE(ds.recordCount(), 3);
        QCOMPARE(m_db->scalar("select count(*) from basic").toInt(), 4);
        // delete
        QVERIFY(ds.locate("PORADI", 10));
        ds.remove();
        QCOMPARE(ds.recordCount(), 2);
        QCOMPARE(m_db->scalar("select count(*) from basic where PORADI=10").toInt(), 0);
    }

    void beforePostErrorKeepsTheInput()
    {
        Dataset ds(m_db.get());
        ds.setSql("select * from firmy");
        ds.beforePost = [](Dataset &d) {
            if (d.field("Firma")->isNull())
                throw Error("Zadejte název firmy.");
        };
        ds.open();
        ds.append();
        ds.setFieldValue("PCFir", 9);
        QVERIFY_THROWS_EXCEPTION(Error, ds.post());
        QCOMPARE(ds.state(), Dataset::State::Insert);
        QCOMPARE(ds.field("PCFir")->asInteger(), 9);
        QCOMPARE(m_db->scalar("select count(*) from firmy where PCFir=9").toInt(), 0);
    }

    void badValuesAreRefusedInTheField()
    {
        Dataset ds(m_db.get());
        ds.setSql("select * from basic");
        ds.open();
        ds.edit();
        QVERIFY_THROWS_EXCEPTION(Error, ds.setFieldValue("DAT_PLAN_1", "31.2.2026"));
        QVERIFY_THROWS_EXCEPTION(Error, ds.setFieldValue("PERIODA1", "dvanáct"));
        QVERIFY_THROWS_EXCEPTION(Error, ds.setFieldValue("PERIODA1", 70000));
        ds.setFieldValue("DELKA", "3,75");
        QCOMPARE(ds.field("DELKA")->asFloat(), 3.75);
        ds.setFieldValue("DAT_PLAN_1", "");
        QVERIFY(ds.field("DAT_PLAN_1")->isNull());
        ds.cancel();
    }

    void keyCollisionOfTwoWorkstations()
    {
        // a second connection on the same file stands for another workstation
        Database other(QStringLiteral("other"));
        other.openSqlite(m_db->dataDir());
        Dataset a(m_db.get()), b(&other);
        for (Dataset *d : {&a, &b}) {
            d->setSql("Select * from basic");
            d->open();
        }
        const int key = m_db->scalar("Select max(poradi) as maximum from Basic").toInt() + 1;
        a.append();
        a.setFieldValue("PORADI", key);
        a.setFieldValue("POPIS", "stanice A");
        b.append();
        b.setFieldValue("PORADI", key);
        b.setFieldValue("POPIS", "stanice B");
        a.post();
        try {
            b.post();
            QFAIL("second post with the same key must fail");
        } catch (const Error &e) {
            QVERIFY(e.isKeyViolation());
        }
        QCOMPARE(b.state(), Dataset::State::Insert);
        QCOMPARE(b.field("POPIS")->asString(), QStringLiteral("stanice B"));
        QCOMPARE(m_db->scalar("select POPIS from basic where PORADI=:k", Params{{"k", key}}).toString(), QStringLiteral("stanice A"));
        b.setFieldValue("PORADI", key + 1);
        b.post();
        QCOMPARE(m_db->scalar("select count(*) from basic").toInt(), 5);
    }

    void editOfARowDeletedMeanwhileIsReported()
    {
        Dataset ds(m_db.get());
        ds.setSql("select * from basic");
        ds.open();
        ds.edit();
        ds.setFieldValue("POPIS", "změna");
        exec("delete from basic where PORADI=1");
        QVERIFY_THROWS_EXCEPTION(Error, ds.post());
        QCOMPARE(ds.state(), Dataset::State::Edit);
    }

    void locateOptions_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("found"); // PORADI or 0
        QTest::newRow("exact") << "EVID_C" << QVariantList{"e2"} << 0 << 2;
        QTest::newRow("exact is case-sensitive") << "EVID_C" << QVariantList{"E2"} << 0 << 0;
        QTest::newRow("case-insensitive") << "EVID_C" << QVariantList{"E2"} << int(Dataset::CaseInsensitive) << 2;
        QTest::newRow("case-insensitive diacritics") << "POPIS" << QVariantList{"řetĚz c"} << int(Dataset::CaseInsensitive) << 3;
        QTest::newRow("prefix") << "POPIS" << QVariantList{"Lano"} << int(Dataset::PartialKey) << 2;
        QTest::newRow("prefix not without option") << "POPIS" << QVariantList{"Lano"} << 0 << 0;
        QTest::newRow("two fields") << "DRUH;TYP" << QVariantList{"R", 4} << 0 << 3;
        QTest::newRow("number as text") << "PORADI" << QVariantList{"2"} << 0 << 2;
        QTest::newRow("date") << "DAT_PLAN_1" << QVariantList{QDate(2026, 3, 1)} << 0 << 2;
        QTest::newRow("empty value finds null") << "DAT_PLAN_1" << QVariantList{QVariant()} << 0 << 3;
        QTest::newRow("not found") << "EVID_C" << QVariantList{"nic"} << int(Dataset::CaseInsensitive) << 0;
    }
    void locateOptions()
    {
        QFETCH(QString, fields);
        QFETCH(QVariantList, values);
        QFETCH(int, options);
        QFETCH(int, found);
        Dataset ds(m_db.get());
        ds.setSql("select * from basic order by poradi");
        ds.open();
        ds.moveTo(1);
        const bool ok = ds.locate(fields, values, Dataset::LocateOptions(options));
        QCOMPARE(ok, found != 0);
        if (ok)
            QCOMPARE(ds.field("PORADI")->asInteger(), found);
        else
            QCOMPARE(ds.recNo(), 1); // stays where it was
    }

    void masterDetailRereads()
    {
        exec("insert into revize (PORADI, DRUH, DATUM, TYPREVIZE) values (1, 'R', '2025-01-10', '1')");
        exec("insert into revize (PORADI, DRUH, DATUM, TYPREVIZE) values (1, 'R', '2026-01-10', '1')");
        exec("insert into revize (PORADI, DRUH, DATUM, TYPREVIZE) values (2, 'L', '2026-02-01', '1')");
        exec("insert into revize (PORADI, DRUH, DATUM, TYPREVIZE) values (2, 'R', '2026-02-02', '1')"); // other kind
        Dataset master(m_db.get(), "BasicView"), detail(m_db.get(), "PrubehRev");
        master.setSql("select * from basic order by poradi");
        detail.setSql(QStringList{"Select * from revize", "where poradi=:poradi and druh=:druh"});
        detail.setMaster(&master);
        master.open();
        detail.open();
        QCOMPARE(detail.recordCount(), 2);
        QSignalSpy reopened(&detail, &Dataset::opened);
        master.next();
        QCOMPARE(reopened.count(), 1);
        QCOMPARE(detail.recordCount(), 1);
        QCOMPARE(detail.field("DATUM")->asDate(), QDate(2026, 2, 1));
        master.next();
        QCOMPARE(detail.recordCount(), 0);
        master.close();
        QVERIFY(!detail.isOpen());
    }

    void calculatedFields()
    {
        Dataset ds(m_db.get());
        ds.setSql("select * from basic order by poradi");
        ds.addCalcField("prameny", FieldType::Integer, 0, [](const RowView &r) {
            const int t = r.value("TYP").toInt();
            return QVariant(t == 5 ? 0 : t);
        });
        ds.open();
        QCOMPARE(ds.field("prameny")->asInteger(), 2);
        QCOMPARE(ds.value(2, ds.field("prameny")->column()).toInt(), 4);
        ds.edit();
        ds.setFieldValue("TYP", 5);
        QCOMPARE(ds.field("prameny")->asInteger(), 0); // computed from the edit buffer
        ds.cancel();
        QVERIFY_THROWS_EXCEPTION(Error, (ds.edit(), ds.setFieldValue("prameny", 3)));
        ds.cancel();
    }

    void memoAndGraphicFields()
    {
        QImage img(4, 3, QImage::Format_RGB32);
        img.fill(Qt::red);
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        Dataset ds(m_db.get());
        ds.setSql("select * from basic where poradi=1");
        ds.open();
        ds.edit();
        ds.setFieldValue("Poznamka", "První řádek\nDruhý řádek s „uvozovkami“");
        ds.setFieldValue("Pict", png);
        ds.post();
        ds.refresh();
        QCOMPARE(ds.field("Poznamka")->type(), FieldType::Memo);
        QCOMPARE(ds.field("Pict")->type(), FieldType::Graphic);
        QCOMPARE(ds.field("Poznamka")->asString(), QStringLiteral("První řádek\nDruhý řádek s „uvozovkami“"));
        QCOMPARE(ds.field("Poznamka")->displayText(), QStringLiteral("První řádek …"));
        QImage back;
        QVERIFY(back.loadFromData(ds.field("Pict")->asBytes()));
        QCOMPARE(back.size(), QSize(4, 3));
    }

    void fieldsForGrids()
    {
        Dataset ds(m_db.get());
        ds.setSql("select firmy.firma, basic.* from basic, firmy where basic.firma=firmy.pcfir");
        ds.setHiddenFields({"UZIVATEL", "pujceno"});
        ds.open();
        QVERIFY(!ds.field("Uzivatel")->isVisible());
        QVERIFY(!ds.field("PUJCENO")->isVisible());
        QVERIFY(ds.field("poradi")->isVisible());
        ds.field("EVID_C")->setLabel("Evid. č.");
        ds.field("EVID_C")->setPosition(0);
        QCOMPARE(ds.field("evid_c")->label(), QStringLiteral("Evid. č."));
        QCOMPARE(ds.field("evid_c")->position(), 0);
        // a field without a title of its own reads as its Czech caption
        QCOMPARE(ds.field("POPIS")->label(), QStringLiteral("Popis"));
        QCOMPARE(ds.field("DAT_VYROBY")->label(), QStringLiteral("Datum výroby"));
    }

    void transactionsRollBackEverything()
    {
        try {
            Transaction tx(*m_db, true);
            exec("delete from revize");
            exec("delete from basic where poradi=1");
            exec("insert into basic (PORADI) values (2)"); // key violation
            tx.commit();
            QFAIL("no error");
        } catch (const Error &e) {
            QVERIFY(e.isKeyViolation());
        }
        QCOMPARE(m_db->scalar("select count(*) from basic").toInt(), 3);
        QVERIFY(!m_db->inTransaction());
    }

    void lazyReadingOfLargeResults()
    {
        Transaction tx(*m_db);
        for (int i = 100; i < 3100; ++i)
            exec("insert into basic (Firma, PORADI, DRUH, POPIS) values (1, :p, 'R', :d)", Params{{"p", i}, {"d", QString("položka %1").arg(i)}});
        tx.commit();
        Dataset ds(m_db.get());
        ds.setSql("select * from basic order by poradi");
        ds.open();
        QVERIFY(ds.fetchedCount() < 3000);
        QVERIFY(ds.moveTo(2500));
        QCOMPARE(ds.field("PORADI")->asInteger(), 2597);
        QCOMPARE(ds.recordCount(), 3003);
        ds.setFilter("POPIS = 'položka 30*'");
        ds.setFiltered(true);
        QCOMPARE(ds.recordCount(), 110); // 300-309, 3000-3099
    }
};

QTEST_GUILESS_MAIN(TstEngine)
#include "tst_engine.moc"
