// Installation data (templates, description files, report definitions) found in
// the program folder first, then beside the programs; the folder of kept files.
#include "folders.h"
#include "spreadsheet.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

class TestFolders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void lookupOrder_data();
    void lookupOrder();
    void missingTemplateNamesEveryFolderSearched();
    void reportFolderOfANewDefinition();
    void keptFilesFolder();

private:
    void touch(const QString &path);
    std::unique_ptr<QTemporaryDir> m_program, m_installed;
};

void TestFolders::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_installed = std::make_unique<QTemporaryDir>();
    setInstallationFolder(m_installed->path());
}

void TestFolders::cleanup()
{
    setInstallationFolder(QString());
}

void TestFolders::touch(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

void TestFolders::lookupOrder_data()
{
    // files: "P:rel" in the program folder, "I:rel" beside the programs;
    // expected: the file found, in the same form, or empty for none
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("template beside the programs only")
        << QStringList{"I:sablony/Seznam_x.xlsx"} << "template" << "sablony\\Seznam_x" << "I:sablony/Seznam_x.xlsx";
    QTest::newRow("the program folder's template first")
        << QStringList{"I:sablony/Seznam_x.xlsx", "P:sablony/Seznam_x.xlsx"} << "template" << "sablony\\Seznam_x"
        << "P:sablony/Seznam_x.xlsx";
    QTest::newRow("letter case of folder and file")
        << QStringList{"P:SABLONY/seznam_X.XLSX"} << "template" << "sablony\\Seznam_x" << "P:SABLONY/seznam_X.XLSX";
    QTest::newRow("an .xlsm template")
        << QStringList{"I:sablony/protokol1_.xlsm"} << "template" << "sablony/protokol1_" << "I:sablony/protokol1_.xlsm";
    QTest::newRow("a folder of that name is no template")
        << QStringList{"P:sablony/Seznam_x/x", "I:sablony/Seznam_x.xlsx"} << "template" << "sablony\\Seznam_x"
        << "I:sablony/Seznam_x.xlsx";
    QTest::newRow("description file beside the programs")
        << QStringList{"I:sablonyRev/souhprot.ini"} << "file" << "sablonyRev\\souhprot.ini" << "I:sablonyRev/souhprot.ini";
    QTest::newRow("report definition beside the programs")
        << QStringList{"I:reports/pvp.pts"} << "report" << "pvp.pts" << "I:reports/pvp.pts";
    QTest::newRow("the program folder's report definition first")
        << QStringList{"I:reports/pvp.pts", "P:Reports/PVP.pts"} << "report" << "pvp.pts" << "P:Reports/PVP.pts";
    QTest::newRow("a definition is not looked for outside reports")
        << QStringList{"P:pvp.pts", "I:pvp.pts"} << "report" << "pvp.pts" << "";
    QTest::newRow("nowhere") << QStringList{"P:sablony/jiny.xlsx"} << "template" << "sablony\\Seznam_x" << "";
}

void TestFolders::lookupOrder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    auto real = [&](const QString &entry) {
        return (entry.startsWith(u'P') ? m_program->path() : m_installed->path()) + u'/' + entry.mid(2);
    };
    for (const QString &f : files)
        touch(real(f));
    const InstalledFile found = kind == QLatin1String("template") ? findInstalledTemplate(m_program->path(), name)
                                : kind == QLatin1String("report") ? findReportDefinition(m_program->path(), name)
                                                                  : findInstalled(m_program->path(), name);
    QCOMPARE(found.path, expected.isEmpty() ? QString() : real(expected));
    QVERIFY(!found.name.contains(u'\\'));
}

void TestFolders::missingTemplateNamesEveryFolderSearched()
{
    ExportDoExcelu sheet;
    sheet.setProgramFolder(m_program->path());
    sheet.Connect();
    try {
        sheet.OpenWorkbook(QStringLiteral("sablony\\Seznam_x"));
        QFAIL("opened a template that is nowhere");
    } catch (const SpreadsheetError &e) {
        const QString msg = e.message();
        QVERIFY2(msg.contains(QStringLiteral("Šablona sablony/Seznam_x nebyla nalezena")), qPrintable(msg));
        QVERIFY2(msg.contains(m_program->path() + QStringLiteral("/sablony")), qPrintable(msg));
        QVERIFY2(msg.contains(m_installed->path() + QStringLiteral("/sablony")), qPrintable(msg));
        QVERIFY2(!msg.contains(u'\\'), qPrintable(msg));
    }
    // the program folder beside the programs is searched once
    setInstallationFolder(m_program->path());
    const InstalledFile once = findInstalledTemplate(m_program->path(), QStringLiteral("sablony\\Seznam_x"));
    QCOMPARE(once.searched, QStringList{m_program->path() + QStringLiteral("/sablony")});
}

void TestFolders::reportFolderOfANewDefinition()
{
    // a missing definition is made in the program folder's reports, whatever its letter case
    QCOMPARE(reportFolder(m_program->path(), QStringLiteral("novy.pts")), m_program->filePath(QStringLiteral("reports")));
    QVERIFY(QDir(m_program->path()).mkdir(QStringLiteral("REPORTS")));
    QCOMPARE(reportFolder(m_program->path(), QStringLiteral("novy.pts")), m_program->filePath(QStringLiteral("REPORTS")));
    touch(m_installed->filePath(QStringLiteral("reports/pzz.pts")));
    QCOMPARE(reportFolder(m_program->path(), QStringLiteral("pzz.pts")), m_installed->filePath(QStringLiteral("reports")));
}

void TestFolders::keptFilesFolder()
{
    QCOMPARE(tz::keptFilesFolder(m_program->path()), m_program->filePath(QStringLiteral("Exporty")));
    QVERIFY(QFileInfo(m_program->filePath(QStringLiteral("Exporty"))).isDir());

    // "Exporty" cannot be made (a file of that name): the user's documents
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
    QTemporaryDir blocked;
    touch(blocked.filePath(QStringLiteral("Exporty")));
    const QString kept = tz::keptFilesFolder(blocked.path());
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    QCOMPARE(kept, home.filePath(QStringLiteral("Documents/TAVO ZZ")));
    QVERIFY(QFileInfo(kept).isDir());
}

QTEST_MAIN(TestFolders)
#include "tst_folders.moc"
