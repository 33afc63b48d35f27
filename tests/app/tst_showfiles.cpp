// Files the main window makes or shows for the user ("Seznam do excelu", the
// text list Tavo.txt, the manual) when the desktop cannot open them: the user
// is told which file it is and where it stays, and it is there afterwards.
// The desktop opener is replaced by one that fails (TAVOZZ_OPEN_COMMAND).
#include "companydialogs.h"
#include "datadir.h"
#include "folders.h"
#include "guitest.h"
#include "mainwindow.h"
#include "prompts.h"

#include <QAction>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::gui;

class TstShowFiles : public QObject, DemoProgramFolder
{
    Q_OBJECT
    PromptRecorder m_prompts;

    std::unique_ptr<TF_Main> start()
    {
        auto w = std::make_unique<TF_Main>(app::ProgramFolder(m_tmp->path()), *m_dm);
        ::whenModal<TFSelFirma>(this, [](TFSelFirma *d) {
            QVERIFY(d->selectCompany(1));
            d->OtevritClick();
        });
        w->FormShow();
        w->SBRegisterClick(1);
        return w;
    }

    static QAction *manualAction(TF_Main &w)
    {
        for (QAction *a : w.menuBar()->findChildren<QAction *>())
            if (a->text() == QStringLiteral("Příručka (pdf)"))
                return a;
        return nullptr;
    }

    // The one message shown since the last call, or a failure.
    QString lastMessage()
    {
        if (m_prompts.messages.size() != 1)
            return QStringLiteral("(%1 messages: %2)").arg(m_prompts.messages.size()).arg(m_prompts.messages.join(" | "));
        const QString m = m_prompts.messages.first();
        m_prompts.messages.clear();
        return m;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("TAVOZZ_OPEN_COMMAND", "false");
    }
    void init()
    {
        openDemo(QStringLiteral("showfiles"));
        m_prompts.install();
    }
    void cleanup()
    {
        closeDemo();
    }

    void listWorkbookStaysInTheProgramFolder()
    {
        // the program folder has no templates: the installed one is used
        QVERIFY(!QFileInfo::exists(m_tmp->filePath("sablony")));
        auto w = start();
        m_prompts.messages.clear();
        w->SeznamDoExceluClick(false);
        const QString msg = lastMessage();
        const QString kept = m_tmp->filePath("Exporty");
        QVERIFY2(msg.contains(QStringLiteral("Najdete jej ve složce %1.").arg(kept)), qPrintable(msg));
        const QStringList books = QDir(kept).entryList({"Seznam_x-*.xlsx"}, QDir::Files);
        QCOMPARE(books.size(), 1);
        QVERIFY2(msg.contains(QStringLiteral("Soubor %1/%2 je uložen").arg(kept, books[0])), qPrintable(msg));
        QVERIFY(!msg.contains(u'\\'));
    }

    void textListIsNamedWhenItCannotBeOpened()
    {
        auto w = start();
        m_prompts.messages.clear();
        w->SeznamTXTClick();
        const QString msg = lastMessage();
        QVERIFY2(msg.contains(QStringLiteral("Soubor %1 je uložen").arg(m_tmp->filePath("Tavo.txt"))), qPrintable(msg));
        QVERIFY(QFileInfo(m_tmp->filePath("Tavo.txt")).isFile());
    }

    void manual()
    {
        auto w = start();
        QAction *open = manualAction(*w);
        QVERIFY(open);
        // nowhere: both folders searched are named
        m_prompts.messages.clear();
        setInstallationFolder(m_tmp->filePath("bin"));
        open->trigger();
        QString msg = lastMessage();
        QVERIFY2(msg.contains(QStringLiteral("NavodTavoZZ.pdf nebyla nalezena")), qPrintable(msg));
        QVERIFY2(msg.contains(QStringLiteral("%1 a %2").arg(m_tmp->path(), m_tmp->filePath("bin"))), qPrintable(msg));
        // installed beside the programs, but no program for PDF files
        QDir().mkpath(m_tmp->filePath("bin"));
        QFile pdf(m_tmp->filePath("bin/navodtavozz.PDF"));
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.close();
        open->trigger();
        setInstallationFolder(QString());
        msg = lastMessage();
        QVERIFY2(msg.contains(QStringLiteral("Soubor %1 je uložen").arg(pdf.fileName())), qPrintable(msg));
    }
};

QTEST_MAIN(TstShowFiles)
#include "tst_showfiles.moc"
