// The filter language on open results.
#include "datadir.h"
#include "dataset.h"
#include "dates.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz::db;

class TstFilter : public QObject
{
    Q_OBJECT
    QTemporaryDir m_tmp;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Dataset> m_ds;

    QString poradi()
    {
        QStringList out;
        for (m_ds->first(); !m_ds->eof(); m_ds->next())
            out << m_ds->field("PORADI")->asString();
        return out.join(',');
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<Database>(QStringLiteral("filter"));
        m_db->openSqlite(m_tmp.path());
        installSchema(*m_db);
        m_db->exec("insert into firmy (PCFir, Firma) values (1, 'Alfa')");
        const char *rows[] = {
            "(1, 1, 'R', 1, 'Řetěz jednopramenný', 1.5, '2005-02-01', 'A12')",
            "(1, 2, 'R', 2, 'řetěz dvoupramenný', 2.0, '2006-01-01', 'a13')",
            "(1, 3, 'L', 1, 'Lano', 3.5, null, 'B1')",
            "(1, 4, 'L', 3, 'lano ocelové', 5.0, '2004-12-31', null)",
            "(1, 5, 'X', 1, 'Textil', 7.0, '2005-02-01', 'O''Brien')",
        };
        for (const char *r : rows)
            m_db->exec(QStringLiteral("insert into basic (Firma, PORADI, DRUH, TYP, POPIS, DELKA, DAT_PLAN_1, EVID_C) values ") + r);
        m_ds = std::make_unique<Dataset>(m_db.get());
        m_ds->setSql("Select firmy.firma, basic.* from basic, firmy where basic.firma=firmy.pcfir order by basic.poradi");
        m_ds->open();
    }

    void relationsAndConnectives_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("= string") << "DRUH = 'L'" << "3,4";
        QTest::newRow("= ignores case") << "DRUH = 'l'" << "3,4";
        QTest::newRow("= ignores case of Czech letters") << "POPIS = 'ŘETĚZ DVOUPRAMENNÝ'" << "2";
        QTest::newRow("< number") << "DELKA < 3" << "1,2";
        QTest::newRow("> number") << "DELKA > 3.5" << "4,5";
        QTest::newRow("<= number") << "DELKA <= 3.5" << "1,2,3";
        QTest::newRow(">= number, decimal comma") << "DELKA >= 3,5" << "3,4,5";
        QTest::newRow("<> number") << "TYP <> 1" << "2,4";
        QTest::newRow("is null") << "DAT_PLAN_1 IS NULL" << "3";
        QTest::newRow("is null with trailing blank") << "EVID_C IS NULL " << "4";
        QTest::newRow("is not null") << "EVID_C is not null" << "1,2,3,5";
        QTest::newRow("date =") << "DAT_PLAN_1 = '01.02.2005'" << "1,5";
        QTest::newRow("date <") << "DAT_PLAN_1 < '01.02.2005'" << "4";
        QTest::newRow("date >= short form") << "DAT_PLAN_1 >= '1.2.2005'" << "1,2,5";
        QTest::newRow("null never compares") << "DAT_PLAN_1 <> '01.02.2005'" << "2,4";
        QTest::newRow("and") << "(DELKA > 2) AND (DELKA <= 5)" << "3,4";
        QTest::newRow("or") << "(DRUH = 'X') OR (TYP = 2)" << "2,5";
        QTest::newRow("and not") << "(DRUH = 'R') AND NOT (TYP = 2)" << "1";
        QTest::newRow("or not") << "(DRUH = 'X') OR NOT (DELKA > 2)" << "1,2,5";
        QTest::newRow("and binds tighter than or") << "DRUH = 'X' or DRUH = 'L' and TYP = 3" << "4,5";
        QTest::newRow("parentheses") << "(DRUH = 'X' or DRUH = 'L') and TYP = 1" << "3,5";
        QTest::newRow("nested conditions joined") << "(DRUH = 'R') and ((DELKA > 2) AND (DELKA <= 5))" << "";
        QTest::newRow("apostrophe in value") << "EVID_C = 'O''Brien'" << "5";
        QTest::newRow("prefix with star") << "POPIS = 'lano*'" << "3,4";
        QTest::newRow("joined company column") << "Firma = 'alfa'" << "1,2,3,4,5";
        QTest::newRow("duplicate column by suffix") << "Firma_1 = 1" << "1,2,3,4,5";
        QTest::newRow("empty text") << "" << "1,2,3,4,5";
    }
    void relationsAndConnectives()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        m_ds->setFiltered(false);
        m_ds->setFilter(filter);
        m_ds->setFiltered(true);
        QCOMPARE(poradi(), expected);
        m_ds->setFiltered(false);
        QCOMPARE(m_ds->recordCount(), 5);
    }

    void errorsNameThePosition_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("position");
        QTest::newRow("unknown field") << "DRUH = 'R' and NIC = 1" << 15;
        QTest::newRow("missing value") << "DELKA >" << 7;
        QTest::newRow("unterminated string") << "DRUH = 'R" << 7;
        QTest::newRow("bad date") << "DAT_PLAN_1 = '31.02.2005'" << 13;
        QTest::newRow("bad number") << "DELKA = 'dlouhé'" << 8;
        QTest::newRow("missing parenthesis") << "(DRUH = 'R'" << 11;
        QTest::newRow("missing operator") << "DRUH 'R'" << 5;
    }
    void errorsNameThePosition()
    {
        QFETCH(QString, filter);
        QFETCH(int, position);
        m_ds->setFiltered(false);
        m_ds->setFilter("DRUH = 'R'");
        m_ds->setFiltered(true);
        try {
            m_ds->setFilter(filter);
            QFAIL("no error");
        } catch (const FilterError &e) {
            QCOMPARE(e.position(), position);
            QVERIFY(e.message().startsWith(QStringLiteral("Chybná podmínka výběru")));
        }
        // the previous filter stays in force
        QCOMPARE(m_ds->filter(), QStringLiteral("DRUH = 'R'"));
        QCOMPARE(poradi(), QStringLiteral("1,2"));
        m_ds->setFiltered(false);
    }
};

QTEST_GUILESS_MAIN(TstFilter)
#include "tst_filter.moc"
