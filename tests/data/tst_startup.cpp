// Start-up rules: the data directory, the settings file, the schema step and dates.
#include "codepage.h"
#include "datadir.h"
#include "dataset.h"
#include "dates.h"
#include "inifile.h"
#include "program.h"
#include "settings.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::db;

class TstStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshStartAppliesTheSchemaStepOnce()
    {
        QTemporaryDir tmp;
        const app::ProgramFolder folder(tmp.path());
        bool created = false;
        {
            Database db(QStringLiteral("first"));
            app::openDataDirectory(db, folder, true, &created);
            QVERIFY(created);
            QVERIFY(!db.hasTable("TAVOZZ_X"));
            QVERIFY(!db.table("firmy")->column("IDFIR"));
            QCOMPARE(app::applySchemaStep(db, QDate(2026, 12, 10)), app::SchemaStep::Applied);
            QVERIFY(db.table("firmy")->column("IDFIR"));
            QCOMPARE(db.table("firmy")->column("IDFIR")->type, FieldType::String);
            QCOMPARE(db.table("firmy")->column("IDFIR")->size, 20);
            Dataset x(&db);
            x.setSql("Select * from TAVOZZ_X");
            x.open();
            QCOMPARE(x.recordCount(), 1);
            QCOMPARE(x.field("verze")->asInteger(), 1);
            QCOMPARE(x.field("datum")->asDate(), QDate(2026, 12, 10));
        }
        // the second start opens the same directory and changes nothing
        QFileInfo before(QDir(folder.dataDir()).filePath(QString::fromLatin1(Database::FileName)));
        Database db(QStringLiteral("second"));
        app::openDataDirectory(db, folder, true, &created);
        QVERIFY(!created);
        QCOMPARE(app::applySchemaStep(db, QDate(2027, 1, 5)), app::SchemaStep::AlreadyApplied);
        QCOMPARE(db.scalar("select count(*) from TAVOZZ_X").toInt(), 1);
        QCOMPARE(db.scalar("select datum from TAVOZZ_X").toString(), QStringLiteral("2026-12-10"));
        QCOMPARE(db.scalar("select count(*) from druhy").toInt(), 6);
        Q_UNUSED(before);
    }

    void columnPresentButRowMissingStillCompletes()
    {
        QTemporaryDir tmp;
        Database db(QStringLiteral("half"));
        app::openDataDirectory(db, app::ProgramFolder(tmp.path()), true);
        db.exec("Alter table FIRMY add IDFIR Char(20)");
        db.exec("create table TAVOZZ_X(verze integer, datum date)");
        QCOMPARE(app::applySchemaStep(db, QDate(2026, 12, 10)), app::SchemaStep::Applied);
        QCOMPARE(db.scalar("select count(*) from TAVOZZ_X where verze=1").toInt(), 1);
    }

    void existingDataIsNeverRecreated()
    {
        QTemporaryDir tmp;
        {
            Database db(QStringLiteral("a"));
            app::openDataDirectory(db, app::ProgramFolder(tmp.path()), true);
            db.exec("insert into firmy (PCFir, Firma) values (1, 'Zákazník')");
        }
        // a differently spelt directory name is the same directory
        QVERIFY(QDir(tmp.path()).rename("Datazz", "DATAZZ"));
        app::ProgramFolder folder(tmp.path());
        QCOMPARE(QFileInfo(folder.dataDir()).fileName(), QStringLiteral("DATAZZ"));
        QCOMPARE(QFileInfo(folder.path("datazz/")).fileName(), QStringLiteral("DATAZZ"));
        Database db(QStringLiteral("b"));
        bool created = true;
        app::openDataDirectory(db, folder, true, &created);
        QVERIFY(!created);
        QCOMPARE(db.scalar("select Firma from firmy").toString(), QStringLiteral("Zákazník"));
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"DATAZZ"});
    }

    void missingDataDirectoryWithoutCreateIsAnError()
    {
        QTemporaryDir tmp;
        Database db(QStringLiteral("c"));
        QVERIFY_THROWS_EXCEPTION(Error, app::openDataDirectory(db, app::ProgramFolder(tmp.path()), false));
        QVERIFY(app::ProgramFolder(tmp.path()).dataDir().isEmpty());
    }

    void settingsFileInWindows1250()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath("tavozz.ini");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(encode(QStringLiteral("; nastavení\r\n[SET]\r\nSkupina=Zdvihací zařízení\r\nrovena=7\r\n[Rovena]\r\nRevTech=Jiří Šťastný\r\n[PlanRev]\r\nV_POPIS=0\r\n"), CodePage::Cp1250));
        f.close();
        IniFile ini(path);
        QVERIFY(ini.load());
        const app::AppSettings s = app::AppSettings::read(ini);
        QCOMPARE(s.registerName, QStringLiteral("Zdvihací zařízení"));
        QVERIFY(s.partnerMode); // any integer but 0 is true
        QCOMPARE(s.revTech, QStringLiteral("Jiří Šťastný"));
        QCOMPARE(s.revFirma, QString());
        QCOMPARE(ini.readBool("PlanRev", "V_POPIS", true), false);
        QCOMPARE(ini.readBool("PlanRev", "V_EVID_C", true), true);
        QCOMPARE(ini.readBool("Set", "skupina", true), true); // not a number: the default

        QVERIFY(app::AppSettings::writeRegister(path, QStringLiteral("Osoby")));
        QFile g(path);
        QVERIFY(g.open(QIODevice::ReadOnly));
        const QByteArray bytes = g.readAll();
        QVERIFY(bytes.startsWith(encode(QStringLiteral("; nastavení\r\n[SET]\r\nSkupina=Osoby\r\n"), CodePage::Cp1250)));
        QVERIFY(bytes.contains(encode(QStringLiteral("RevTech=Jiří Šťastný"), CodePage::Cp1250)));
    }

    void missingSettingsGiveDefaults()
    {
        QTemporaryDir tmp;
        IniFile ini(tmp.filePath("tavozz.ini"));
        QVERIFY(!ini.load());
        const app::AppSettings s = app::AppSettings::read(ini);
        QCOMPARE(s.registerName, QStringLiteral("Vázací prostředky"));
        QVERIFY(!s.partnerMode);
        QVERIFY(app::AppSettings::writeRegister(tmp.filePath("tavozz.ini"), QStringLiteral("OPPP")));
        QVERIFY(QFile::exists(tmp.filePath("tavozz.ini")));
    }

    void codePages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cp");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("1250 Č") << "Č" << int(CodePage::Cp1250) << QByteArray("\xC8");
        QTest::newRow("1250 ř ů °") << "řů°" << int(CodePage::Cp1250) << QByteArray("\xF8\xF9\xB0");
        QTest::newRow("852 Č") << "Č" << int(CodePage::Cp852) << QByteArray("\xAC");
        QTest::newRow("Kamenický Č") << "Č" << int(CodePage::Kamenicky) << QByteArray("\x80");
        QTest::newRow("Kamenický Ŕ") << "Ŕ" << int(CodePage::Kamenicky) << QByteArray("\xAB");
        QTest::newRow("ASCII") << "Žluťoučký kůň" << int(CodePage::Ascii) << QByteArray("Zlutoucky kun");
        QTest::newRow("no equivalent") << "€" << int(CodePage::Cp852) << QByteArray("?");
    }
    void codePages()
    {
        QFETCH(QString, text);
        QFETCH(int, cp);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encode(text, CodePage(cp)), bytes);
        if (CodePage(cp) != CodePage::Ascii && bytes != "?")
            QCOMPARE(decode(bytes, CodePage(cp)), text);
    }

    void monthStep_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("31.1.+1 -> February 28") << QDate(2005, 1, 31) << 1 << QDate(2005, 2, 28);
        QTest::newRow("leap year still 28") << QDate(2004, 1, 31) << 1 << QDate(2004, 2, 28);
        QTest::newRow("29.2.+12") << QDate(2004, 2, 29) << 12 << QDate(2005, 2, 28);
        QTest::newRow("31.8.+6 over the year") << QDate(2005, 8, 31) << 6 << QDate(2006, 2, 28);
        QTest::newRow("31.5.+1 -> June 30") << QDate(2005, 5, 31) << 1 << QDate(2005, 6, 30);
        QTest::newRow("31.3.+12") << QDate(2005, 3, 31) << 12 << QDate(2006, 3, 31);
        QTest::newRow("December +1") << QDate(2005, 12, 15) << 1 << QDate(2006, 1, 15);
        QTest::newRow("12 months roll-over") << QDate(2005, 12, 31) << 12 << QDate(2006, 12, 31);
        QTest::newRow("n = 0") << QDate(2005, 7, 31) << 0 << QDate(2005, 7, 31);
        QTest::newRow("large n") << QDate(2005, 10, 31) << 121 << QDate(2015, 11, 30);
        QTest::newRow("30th kept in 30-day months") << QDate(2005, 1, 30) << 3 << QDate(2005, 4, 30);
    }
    void monthStep()
    {
        QFETCH(QDate, from);
        QFETCH(int, months);
        QFETCH(QDate, expected);
        QCOMPARE(tz::monthStep(from, months), expected);
    }

    void dateTexts()
    {
        QCOMPARE(parseDate("1.2.2005"), QDate(2005, 2, 1));
        QCOMPARE(parseDate(" 01.02.2005 "), QDate(2005, 2, 1));
        QCOMPARE(parseDate("2005-02-01"), QDate(2005, 2, 1));
        QVERIFY(!parseDate("31.2.2005").isValid());
        QVERIFY(!parseDate("1.2.").isValid());
        QCOMPARE(formatDate2(QDate(2005, 2, 1)), QStringLiteral("01.02.2005"));
        QCOMPARE(formatDate(QDate(2005, 2, 1)), QStringLiteral("1.2.2005"));
    }
};

QTEST_GUILESS_MAIN(TstStartup)
#include "tst_startup.moc"
