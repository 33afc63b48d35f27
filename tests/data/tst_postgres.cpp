// The same engine interface on PostgreSQL, the option for several workstations.
// Runs when TAVOZZ_PG_DB names a database the user may empty (see .ci/run);
// skipped otherwise.
#include "datadir.h"
#include "datamodule.h"
#include "dataset.h"
#include "program.h"

#include <QtTest>

using namespace tz;
using namespace tz::db;

class TstPostgres : public QObject
{
    Q_OBJECT
    std::unique_ptr<Database> m_db;

    static QString env(const char *n, const char *def = "") { return qEnvironmentVariable(n, QString::fromLatin1(def)); }
    void connect(Database &db)
    {
        db.openPostgres(env("TAVOZZ_PG_HOST", "localhost"), env("TAVOZZ_PG_PORT", "5432").toInt(), env("TAVOZZ_PG_DB"),
                        env("TAVOZZ_PG_USER"), env("TAVOZZ_PG_PASSWORD"));
    }

private Q_SLOTS:
    void init()
    {
        if (env("TAVOZZ_PG_DB").isEmpty())
            QSKIP("no PostgreSQL database given (TAVOZZ_PG_DB)");
        m_db = std::make_unique<Database>(QStringLiteral("pg"));
        try {
            connect(*m_db);
            m_db->exec("drop schema public cascade");
            m_db->exec("create schema public");
            m_db->refreshCatalog();
            installSchema(*m_db);
            loadDemoData(*m_db);
        } catch (const Error &e) {
            QFAIL(qPrintable(e.userText()));
        }
    }
    void cleanup() { m_db.reset(); }

    void catalogueAndTypes()
    {
        QCOMPARE(m_db->scalar("select count(*) from druhy").toInt(), 6);
        QCOMPARE(m_db->columnType("basic", "DAT_PLAN_1"), FieldType::Date);
        QCOMPARE(m_db->columnType("basic", "PORADI"), FieldType::SmallInt);
        QCOMPARE(m_db->columnType("zz_cis_revize", "Polozka"), FieldType::AutoInc);
        QCOMPARE(m_db->table("basic")->keys, QStringList{"poradi"});
        Dataset ds(m_db.get());
        ds.setSql("select * from basic where poradi=1");
        ds.open();
        QCOMPARE(ds.field("DAT_PLAN_1")->asDate(), QDate(2027, 3, 10));
        QCOMPARE(ds.field("DELKA")->asFloat(), 2.5);
        QCOMPARE(ds.field("POPIS")->asString(), QStringLiteral("Dvoupramenný"));
    }

    void translatedTexts()
    {
        QCOMPARE(m_db->scalar("Select count(*) from typy where druh=\"O\"").toInt(), 5);
        QCOMPARE(m_db->scalar("select count(*) from basic.DB where \"DRUH\" = 'R'").toInt(), 2);
        m_db->exec("update basic set DAT_PLAN_1 = DAT_POSL_1 + 30 where poradi=1");
        QCOMPARE(m_db->scalar("select DAT_PLAN_1 from basic where poradi=1").toDate(), QDate(2026, 4, 9));
        Dataset ds(m_db.get());
        ds.setSql("Select firmy.firma, basic.* from basic, firmy where basic.firma=firmy.pcfir and basic.poradi=3");
        ds.open();
        QVERIFY(ds.findField("Firma_1"));
        QCOMPARE(ds.field("FIRMA")->asString(), QStringLiteral("Strojírny Šumperk a.s."));
    }

    void schemaStepOnce()
    {
        QCOMPARE(app::applySchemaStep(*m_db, QDate(2026, 12, 10)), app::SchemaStep::Applied);
        QCOMPARE(app::applySchemaStep(*m_db, QDate(2026, 12, 11)), app::SchemaStep::AlreadyApplied);
        m_db->exec("update firmy set IDFIR = 'ABC' where pcfir = 1");
        QCOMPARE(m_db->scalar("select IDFIR from firmy where pcfir = 1").toString(), QStringLiteral("ABC")); // not padded
        // a database made with the former, narrower inspection columns is widened at the next start
        m_db->exec("alter table zz_revize alter column CisZapisu2 type varchar(10)");
        m_db->exec("alter table zz_revize alter column Provedl type varchar(30)");
        m_db->refreshCatalog();
        QCOMPARE(m_db->table("zz_revize")->column("CisZapisu2")->size, 10);
        QCOMPARE(app::applySchemaStep(*m_db, QDate(2026, 12, 12)), app::SchemaStep::AlreadyApplied);
        QCOMPARE(m_db->table("zz_revize")->column("CisZapisu2")->size, 15);
        QCOMPARE(m_db->table("zz_revize")->column("Provedl")->size, 40);
        m_db->exec("insert into zz_revize (iD, Provedl, CisZapisu2) values (9901, :p, :c)",
                   Params{{"p", QString(40, QLatin1Char('x'))}, {"c", QStringLiteral("/ZZ/2026/abcd")}});
        m_db->exec("delete from zz_revize where iD = 9901");
    }

    void editingPlanningAndTwoWorkstations()
    {
        try {
            twoWorkstations();
        } catch (const Error &e) {
            QFAIL(qPrintable(e.userText()));
        }
    }

private:
    void twoWorkstations()
    {
        Database other(QStringLiteral("pg-other"));
        connect(other);
        TDM a(m_db.get()), b(&other);
        for (TDM *dm : {&a, &b}) {
            dm->setSelectedCompany(1);
            dm->BasicView.open();
            dm->BasicView.append();
            dm->BasicView.setFieldValue("POPIS", "O'Brien");
        }
        a.BasicView.post();
        b.BasicView.post();
        QCOMPARE(a.BasicView.field("PORADI")->asInteger(), 7);
        QCOMPARE(b.BasicView.field("PORADI")->asInteger(), 8);
        QVERIFY(!b.takeKeyNote().isEmpty());
        QCOMPARE(m_db->scalar("select count(*) from basic where popis = :p", Params{{"p", "O'Brien"}}).toInt(), 2);
        a.PlanRev.setParam("_Datum", QDate(2026, 12, 10));
        a.PlanRev.open();
        QCOMPARE(a.PlanRev.recordCount(), 1 + 2); // R-002 and the two new ones without dates
    }
};

QTEST_GUILESS_MAIN(TstPostgres)
#include "tst_postgres.moc"
