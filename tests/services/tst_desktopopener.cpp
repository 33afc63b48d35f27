// Files handed to the desktop: an opener that fails (no program for the type,
// no xdg-open) is reported to the user with the file and its folder, and the
// file stays where the message says.
#include "desktopopener.h"
#include "folders.h"
#include "listexport.h"
#include "spreadsheet.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

class TestDesktopOpener : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openerOutcome_data();
    void openerOutcome();
    void failedOpenNamesTheFileAndItsFolder();
    void listWorkbookIsKeptWhenItCannotBeOpened();

private:
    QString script(const QString &name, const QString &body);
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_oldCommand, m_oldPath;
};

void TestDesktopOpener::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCommand = qgetenv("TAVOZZ_OPEN_COMMAND");
    m_oldPath = qgetenv("PATH");
}

void TestDesktopOpener::cleanup()
{
    if (m_oldCommand.isNull())
        qunsetenv("TAVOZZ_OPEN_COMMAND");
    else
        qputenv("TAVOZZ_OPEN_COMMAND", m_oldCommand);
    qputenv("PATH", m_oldPath);
    setInstallationFolder(QString());
}

// A small opener program in the test folder; returns its path.
QString TestDesktopOpener::script(const QString &name, const QString &body)
{
    const QString path = m_dir->filePath(QStringLiteral("bin/") + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
}

void TestDesktopOpener::openerOutcome_data()
{
    // opener: the script written as bin/xdg-open, "" for none on the PATH,
    // or "env:PROGRAM" for TAVOZZ_OPEN_COMMAND
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("reason");
    QTest::newRow("opened") << "exit 0" << true << "";
    QTest::newRow("no program for the type")
        << "echo 'xdg-open: no method available for opening' >&2; exit 4" << false
        << "v systému není nastaven program pro tento druh souborů (xdg-open: no method available for opening)";
    QTest::newRow("a tool xdg-open needs is missing") << "exit 3" << false << "chybí nástroj";
    QTest::newRow("other failure") << "exit 1" << false << "skončil s chybou 1";
    QTest::newRow("no xdg-open") << "" << false << "v systému chybí program xdg-open";
    QTest::newRow("own opener fails") << "env:false" << false << "skončil s chybou 1";
    QTest::newRow("own opener missing") << "env:/neni/prohlizec" << false << "chybí program /neni/prohlizec";
}

void TestDesktopOpener::openerOutcome()
{
    QFETCH(QString, opener);
    QFETCH(bool, opened);
    QFETCH(QString, reason);
    qunsetenv("TAVOZZ_OPEN_COMMAND");
    if (opener.startsWith(QLatin1String("env:"))) {
        qputenv("TAVOZZ_OPEN_COMMAND", opener.mid(4).toLocal8Bit());
    } else {
        // only the test's programs (and the shell) are on the path
        QDir().mkpath(m_dir->filePath(QStringLiteral("bin")));
        if (!opener.isEmpty())
            QVERIFY(!script(QStringLiteral("xdg-open"), opener).isEmpty());
        qputenv("PATH", m_dir->filePath(QStringLiteral("bin")).toLocal8Bit());
    }
    const QString file = m_dir->filePath(QStringLiteral("seznam.xlsx"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    DesktopOpener desktop;
    QCOMPARE(desktop.openFile(file), opened);
    if (opened)
        QCOMPARE(desktop.openError(), QString());
    else
        QVERIFY2(desktop.openError().contains(reason), qPrintable(desktop.openError()));
}

void TestDesktopOpener::failedOpenNamesTheFileAndItsFolder()
{
    qputenv("TAVOZZ_OPEN_COMMAND", "false");
    const QString folder = m_dir->filePath(QStringLiteral("Exporty"));
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/Tavo.txt");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QStringList messages;
    DesktopOpener desktop([&](const QString &m) { messages << m; });
    QVERIFY(!showFile(&desktop, file));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("Soubor %1 je uložen").arg(file)), qPrintable(messages[0]));
    QVERIFY2(messages[0].contains(QStringLiteral("Najdete jej ve složce %1.").arg(folder)), qPrintable(messages[0]));
    QVERIFY(messages[0].contains(QStringLiteral("skončil s chybou 1")));
    QVERIFY(QFileInfo::exists(file));

    // a notice goes first; an opened file is then named after it
    qputenv("TAVOZZ_OPEN_COMMAND", "true");
    messages.clear();
    QVERIFY(showFile(&desktop, file, QStringLiteral("Tisk se nezdařil.")));
    QCOMPARE(messages, QStringList{QStringLiteral("Tisk se nezdařil.\nDokument byl uložen do souboru %1 a otevřen.").arg(file)});
    messages.clear();
    QVERIFY(showFile(&desktop, file));
    QVERIFY(messages.isEmpty());
}

void TestDesktopOpener::listWorkbookIsKeptWhenItCannotBeOpened()
{
    // the template beside the programs, the workbook in the program folder's "Exporty"
    setInstallationFolder(QStringLiteral(TAVOZZ_INSTALL_DIR));
    qputenv("TAVOZZ_OPEN_COMMAND", "false");
    const QString program = m_dir->filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    QStringList messages;
    QString shown;
    {
        DesktopOpener desktop([&](const QString &m) { messages << m; });
        ExportDoExcelu sheet(&desktop);
        sheet.setProgramFolder(program);
        ListDocument doc;
        doc.title = QStringLiteral("Seznam vázacích prostředků");
        doc.columns = QStringList{QStringLiteral("Evid. č.")};
        doc.rows.push_back({xlsx::CellValue::fromText(QStringLiteral("0012"))});
        exportList(sheet, doc);
        shown = sheet.shownFile();
    }
    QCOMPARE(QFileInfo(shown).absolutePath(), program + QStringLiteral("/Exporty"));
    QVERIFY(QFileInfo(shown).isFile());
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(shown), qPrintable(messages[0]));
    QVERIFY2(messages[0].contains(QStringLiteral("ve složce %1/Exporty").arg(program)), qPrintable(messages[0]));
}

QTEST_MAIN(TestDesktopOpener)
#include "tst_desktopopener.moc"
