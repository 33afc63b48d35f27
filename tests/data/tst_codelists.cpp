// Auxiliary code lists on a real database: the lists of the combo tags, reading
// and sorting, adding typed values, renaming into the records (in one
// transaction) and removing.
#include "codelists.h"
#include "datadir.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::db;
namespace cl = tz::codelists;

class TstCodeLists : public QObject
{
    Q_OBJECT
    QTemporaryDir m_tmp;
    int m_run = 0;
    std::unique_ptr<Database> m_db;

    // Rows given as "TYP|value|number".
    void seed(const QStringList &rows)
    {
        for (const QString &r : rows) {
            const QStringList p = r.split('|');
            m_db->exec("insert into extend_b (TYP, NAZEV_V, OZNACENI) values (:t, :v, :n)",
                       Params{{"t", p[0]}, {"v", p[1].isEmpty() ? QVariant() : QVariant(p[1])}, {"n", p[2].toInt()}});
        }
    }
    QString text(const QString &sql) { return m_db->scalar(sql).toString(); }
    int count(const QString &sql, const Params &p = {}) { return m_db->scalar(sql, p).toInt(); }

    // One accessory, one equipment item and one fall-protection item, all
    // holding `value` in every field a code list fills.
    void seedRecords(const QString &value, int firstPoradi = 1)
    {
        const Params p{{"v", value}, {"n", firstPoradi}};
        m_db->exec("insert into basic (Firma, PORADI, DRUH, STREDISKO, UZIVATEL, VYROBCE, DODAVATEL, umisteni1, umisteni2,"
                   " udrzba) values (1, :n, 'R', :v, :v, :v, :v, :v, :v, :v)",
                   p);
        m_db->exec("insert into zz_basic (Firma, Poradi, Druh, Provozovatel, Provoz, Vyrobce, Dodavatel, Umisteni1,"
                   " Umisteni2, Udrzba, RevTechnik, ProvTechnik, PoverOsoba)"
                   " values (1, :n, '1', :v, :v, :v, :v, :v, :v, :v, :v, :v, :v)",
                   p);
        m_db->exec("insert into op_basic (Firma, PORADI, DRUH, STREDISKO, VYROBCE, umisteni1, umisteni2, udrzba)"
                   " values (1, :n, 'O', :v, :v, :v, :v, :v)",
                   p);
    }
    // "table.column" of every field that holds `value` now.
    QStringList fieldsHolding(const QString &value)
    {
        static const QList<std::pair<const char *, QStringList>> fields = {
            {"basic", {"stredisko", "uzivatel", "vyrobce", "dodavatel", "umisteni1", "umisteni2", "udrzba"}},
            {"zz_basic", {"provozovatel", "provoz", "vyrobce", "dodavatel", "umisteni1", "umisteni2", "udrzba",
                          "revtechnik", "provtechnik", "poverosoba"}},
            {"op_basic", {"stredisko", "vyrobce", "umisteni1", "umisteni2", "udrzba"}}};
        QStringList out;
        for (const auto &[table, cols] : fields)
            for (const QString &c : cols)
                if (count(QStringLiteral("select count(*) from %1 where %2=:v").arg(QLatin1String(table), c),
                          Params{{"v", value}}) > 0)
                    out << QLatin1String(table) + '.' + c;
        out.sort();
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<Database>(QStringLiteral("codelists"));
        const QString dir = m_tmp.filePath(QString::number(++m_run));
        QDir().mkpath(dir);
        m_db->openSqlite(dir);
        installSchema(*m_db);
    }
    void cleanup() { m_db.reset(); }

    void tagsChooseTheirList_data()
    {
        QTest::addColumn<int>("kind"); // 0 accessory, 1 equipment
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("typ"); // "" for none
        const char *acc = "ZPVD12ZPA", *eq = "ZPBD12ZPA";
        for (int t = 1; t <= 9; ++t) {
            QTest::addRow("accessory %d", t) << 0 << t << QString(QLatin1Char(acc[t - 1]));
            QTest::addRow("equipment %d", t) << 1 << t << QString(QLatin1Char(eq[t - 1]));
        }
        QTest::newRow("tag 0") << 0 << 0 << "";
        QTest::newRow("tag 10") << 1 << 10 << "";
        QTest::newRow("negative") << 0 << -1 << "";
    }
    void tagsChooseTheirList()
    {
        QFETCH(int, kind);
        QFETCH(int, tag);
        QFETCH(QString, typ);
        const QChar t = cl::typeForTag(kind == 0 ? cl::FormKind::Accessory : cl::FormKind::Equipment, tag);
        QCOMPARE(t.isNull() ? QString() : QString(t), typ);
    }

    // Owner and operating unit of an accessory are filled from the lists that the
    // window "Majitel" and "Provoz" edits, and those renames reach the fields.
    void ownerAndUnitListsAreTheEditedOnes()
    {
        for (int tag : {1, 2}) {
            const QChar typ = cl::typeForTag(cl::FormKind::Accessory, tag);
            const QString field = tag == 1 ? "stredisko" : "uzivatel";
            bool reaches = false;
            for (const cl::RecordField &f : cl::recordFields(typ))
                reaches |= f.table == "basic" && f.column == field;
            QVERIFY2(reaches, qPrintable(field));
            bool edited = false;
            for (const cl::ListInfo &l : cl::windowLists())
                edited |= l.typ == typ;
            QVERIFY(edited);
        }
    }

    void readingSkipsBlanksAndSorts()
    {
        seed({"D|Šroubárna|1", "D|alfa|2", "D|Chalupa|3", "D|Čepy|4", "D|Cyril|5", "D|Hora|6", "D|   |7", "D||8",
              "D|Beta|9", "D|Beta|10", "V|Zet|11", "V| Ares|12", "|Bez typu|13"});
        const QMap<QChar, QStringList> all = cl::readAll(*m_db);
        // Czech order: C before Č, H before Ch; blanks and a repeated value left out
        QCOMPARE(all.value('D'), (QStringList{"alfa", "Beta", "Cyril", "Čepy", "Hora", "Chalupa", "Šroubárna"}));
        // values are offered as stored
        QCOMPARE(all.value('V'), (QStringList{" Ares", "Zet"}));
        QCOMPARE(all.size(), 2);
        QCOMPARE(cl::values(*m_db, 'D').size(), 7);
        QVERIFY(cl::values(*m_db, 'Q').isEmpty());
    }

    void addingTypedValues_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("typ");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("added");
        QTest::addColumn<int>("number"); // of the new row
        QTest::newRow("empty adds nothing") << QStringList{} << "V" << "" << false << 0;
        QTest::newRow("blank adds nothing") << QStringList{} << "V" << "   " << false << 0;
        QTest::newRow("first of all gets 1") << QStringList{} << "D" << "Lana Bohumín" << true << 1;
        QTest::newRow("same list holds it") << QStringList{"D|Lana Bohumín|4"} << "D" << "Lana Bohumín" << false << 0;
        QTest::newRow("only another list holds it: next free number")
            << QStringList{"V|Lana Bohumín|4", "Z|Hala|9"} << "D" << "Lana Bohumín" << true << 10;
        QTest::newRow("letter case counts") << QStringList{"D|Alfa|2"} << "D" << "ALFA" << true << 3;
        QTest::newRow("spaces count") << QStringList{"D|Alfa|2"} << "D" << "Alfa " << true << 3;
        QTest::newRow("apostrophe") << QStringList{"D|Alfa|2"} << "D" << "O'Brien & syn" << true << 3;
        QTest::newRow("apostrophe stored already") << QStringList{"D|O'Brien|2"} << "D" << "O'Brien" << false << 0;
        QTest::newRow("full width") << QStringList{} << "1" << QString(30, 'x') << true << 1;
    }
    void addingTypedValues()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, typ);
        QFETCH(QString, value);
        QFETCH(bool, added);
        QFETCH(int, number);
        seed(rows);
        QCOMPARE(cl::addValue(*m_db, typ.at(0), value), added);
        QCOMPARE(count("select count(*) from extend_b"), int(rows.size()) + (added ? 1 : 0));
        if (added) {
            QCOMPARE(count("select oznaceni from extend_b where typ=:t and nazev_v=:v", Params{{"t", typ}, {"v", value}}),
                     number);
            QVERIFY(cl::values(*m_db, typ.at(0)).contains(value));
        }
        QVERIFY(!m_db->inTransaction());
    }

    void tooLongValueIsRefusedWithAMessage()
    {
        const QString value(31, 'x');
        try {
            cl::addValue(*m_db, 'D', value);
            QFAIL("a value longer than the list's field was taken");
        } catch (const Error &e) {
            QVERIFY(e.userText().contains("31"));
            QVERIFY(e.userText().contains("30"));
        }
        QCOMPARE(count("select count(*) from extend_b"), 0);
    }

    // Which fields a rename changes, per list; the records of every field hold
    // the old value before.
    void renameReachesTheFieldsOfItsList_data()
    {
        QTest::addColumn<QString>("typ");
        QTest::addColumn<QStringList>("renamed");
        QTest::newRow("owner") << "Z" << QStringList{"basic.stredisko", "zz_basic.provozovatel"};
        QTest::newRow("operating unit") << "P" << QStringList{"basic.uzivatel", "zz_basic.provoz"};
        QTest::newRow("accessory manufacturer")
            << "V" << QStringList{"basic.vyrobce", "op_basic.vyrobce"}; // not the equipment
        QTest::newRow("equipment manufacturer") << "B" << QStringList{"zz_basic.vyrobce"}; // not the accessories
        QTest::newRow("supplier") << "D" << QStringList{"basic.dodavatel", "zz_basic.dodavatel"};
        QTest::newRow("location 1") << "1" << QStringList{"basic.umisteni1", "op_basic.umisteni1", "zz_basic.umisteni1"};
        QTest::newRow("location 2") << "2" << QStringList{"basic.umisteni2", "op_basic.umisteni2", "zz_basic.umisteni2"};
        QTest::newRow("maintenance") << "A" << QStringList{"op_basic.udrzba", "zz_basic.udrzba"};
        QTest::newRow("operating technician") << "T" << QStringList{"zz_basic.provtechnik"};
        QTest::newRow("inspection technician") << "E" << QStringList{"zz_basic.revtechnik"};
        QTest::newRow("authorised person") << "O" << QStringList{"zz_basic.poverosoba"};
    }
    void renameReachesTheFieldsOfItsList()
    {
        QFETCH(QString, typ);
        QFETCH(QStringList, renamed);
        const QString oldValue = "O'Brien", newValue = "O'Neil s.r.o.";
        seedRecords(oldValue);
        seedRecords("Jiný", 2);
        seed({typ + "|" + oldValue + "|1", typ + "|Jiný|2", "Q|" + oldValue + "|3"});
        const QStringList before = fieldsHolding(oldValue);
        cl::rename(*m_db, typ.at(0), oldValue, newValue);
        QCOMPARE(fieldsHolding(newValue), renamed);
        // every other field keeps the old value, and the other records keep theirs
        QStringList kept = before;
        for (const QString &f : renamed)
            kept.removeAll(f);
        QCOMPARE(fieldsHolding(oldValue), kept);
        QCOMPARE(fieldsHolding("Jiný"), before);
        // the list entry keeps its number; another list's equal value stays
        QCOMPARE(count("select oznaceni from extend_b where typ=:t and nazev_v=:v", Params{{"t", typ}, {"v", newValue}}),
                 1);
        QCOMPARE(count("select count(*) from extend_b where typ='Q' and nazev_v=:v", Params{{"v", oldValue}}), 1);
        QVERIFY(!m_db->inTransaction());
    }

    void renameIntoAValueTheListHoldsMergesThem()
    {
        seed({"D|Lana Kolín|1", "D|Lana Bohumín|2"});
        seedRecords("Lana Kolín");
        cl::rename(*m_db, 'D', "Lana Kolín", "Lana Bohumín");
        QCOMPARE(count("select count(*) from extend_b where typ='D'"), 1);
        QCOMPARE(cl::values(*m_db, 'D'), QStringList{"Lana Bohumín"});
        QCOMPARE(text("select dodavatel from basic"), QStringLiteral("Lana Bohumín"));
    }

    void badNewValuesAreRefused_data()
    {
        QTest::addColumn<QString>("newValue");
        QTest::addColumn<QString>("message"); // part of the message
        QTest::newRow("empty") << "" << "nesmí být prázdná";
        QTest::newRow("blank") << "   " << "nesmí být prázdná";
        QTest::newRow("too long") << QString(31, 'y') << "nejvýše 30";
    }
    void badNewValuesAreRefused()
    {
        QFETCH(QString, newValue);
        QFETCH(QString, message);
        seed({"D|Lana Kolín|1"});
        seedRecords("Lana Kolín");
        try {
            cl::rename(*m_db, 'D', "Lana Kolín", newValue);
            QFAIL("the new value was taken");
        } catch (const Error &e) {
            QVERIFY2(e.userText().contains(message), qPrintable(e.userText()));
        }
        QCOMPARE(cl::values(*m_db, 'D'), QStringList{"Lana Kolín"});
        QCOMPARE(fieldsHolding("Lana Kolín").size(), 22); // nothing renamed
    }

    void renameToTheSameValueChangesNothing()
    {
        seed({"D|Lana Kolín|1"});
        seedRecords("Lana Kolín");
        cl::rename(*m_db, 'D', "Lana Kolín", "Lana Kolín");
        QCOMPARE(cl::values(*m_db, 'D'), QStringList{"Lana Kolín"});
        QCOMPARE(fieldsHolding("Lana Kolín").size(), 22);
    }

    // The accessory update fails after the equipment update has run: nothing
    // stays renamed, and the engine's text reaches the caller.
    void failingRenameLeavesNothingRenamed()
    {
        seed({"D|Lana Kolín|1"});
        seedRecords("Lana Kolín");
        m_db->exec("create trigger no_supplier_change before update of dodavatel on basic"
                   " begin select raise(abort, 'dodavatel je uzamčen'); end");
        try {
            cl::rename(*m_db, 'D', "Lana Kolín", "Lana Praha");
            QFAIL("the rename went through");
        } catch (const Error &e) {
            QVERIFY2(e.userText().contains("dodavatel je uzamčen"), qPrintable(e.userText()));
        }
        QVERIFY(!m_db->inTransaction());
        QCOMPARE(text("select dodavatel from zz_basic"), QStringLiteral("Lana Kolín"));
        QCOMPARE(text("select dodavatel from basic"), QStringLiteral("Lana Kolín"));
        QCOMPARE(cl::values(*m_db, 'D'), QStringList{"Lana Kolín"});
        // the list works on afterwards
        QVERIFY(cl::addValue(*m_db, 'D', "Lana Praha"));
    }

    void removeLeavesTheRecords()
    {
        seed({"D|O'Brien|1", "V|O'Brien|2", "D|Jiný|3"});
        seedRecords("O'Brien");
        cl::remove(*m_db, 'D', "O'Brien");
        QCOMPARE(cl::values(*m_db, 'D'), QStringList{"Jiný"});
        QCOMPARE(cl::values(*m_db, 'V'), QStringList{"O'Brien"});
        QCOMPARE(fieldsHolding("O'Brien").size(), 22);
    }

    void windowListsFollowTheMenu()
    {
        const QVector<cl::ListInfo> &l = cl::windowLists();
        QCOMPARE(l.size(), 11);
        QString types;
        for (const cl::ListInfo &i : l)
            types += i.typ;
        QCOMPARE(types, QStringLiteral("ZVBDP12ATEO"));
        QCOMPARE(cl::listForMenuTag(4)->heading, QStringLiteral("Číselník dodavatelů zařízení"));
        QCOMPARE(cl::listForMenuTag(1)->menuItem, QStringLiteral("Majitel"));
        QVERIFY(!cl::listForMenuTag(0));
        QVERIFY(!cl::listForMenuTag(12));
    }
};

QTEST_GUILESS_MAIN(TstCodeLists)
#include "tst_codelists.moc"
