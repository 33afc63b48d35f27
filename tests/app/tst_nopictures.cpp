// The main window when the picture library cannot be found: the user is told
// once, the kind buttons stay without glyphs and everything else works.
#include "datadir.h"
#include "mainwindow.h"
#include "pictures.h"
#include "program.h"
#include "prompts.h"

#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace tz;

class TstNoPictures : public QObject
{
    Q_OBJECT
    QStringList m_messages;

private Q_SLOTS:
    void initTestCase()
    {
        // before the first picture is asked for
        qputenv("TAVOZZ_PICTURES", QDir::temp().filePath(QStringLiteral("tavozz-no-such-library.rcc")).toLocal8Bit());
        gui::prompts().message = [this](QWidget *, const QString &text, const QString &, int) { m_messages << text; };
        gui::prompts().question = [](QWidget *, const QString &, const QString &, bool) { return true; };
    }

    void missingLibraryIsReportedOnce()
    {
        QTemporaryDir dir;
        db::Database database(QStringLiteral("nopictures"));
        app::openDataDirectory(database, app::ProgramFolder(dir.path()), true);
        db::TDM dm(&database);
        gui::TF_Main w(app::ProgramFolder(dir.path()), dm);
        w.SBRegisterClick(1);
        QCOMPARE(m_messages, QStringList{QStringLiteral("Nenalezena knihovna Tzz.dll")});
        // other registers, kinds and pages: no further message
        for (int reg : {2, 3, 5, 1}) {
            w.SBRegisterClick(reg);
            const int n = qMin(10, int(w.state().kindButtons().size()));
            QVERIFY(n > 0);
            for (int i = 0; i < n; ++i) {
                QVERIFY(w.kindButton(i)->icon().isNull());
                QVERIFY(!w.kindButton(i)->text().isEmpty());
            }
        }
        w.SBDruhClick(0);
        QCOMPARE(w.state().kindLetter(), QStringLiteral("R"));
        w.SBPlanovaniClick();
        QCOMPARE(w.pages()->currentIndex(), 1);
        QCOMPARE(m_messages.count(QStringLiteral("Nenalezena knihovna Tzz.dll")), 1);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(!gui::pictureLibraryAvailable());
        QVERIFY(gui::standardPicture(QStringLiteral("I1")).isNull());
    }
};

QTEST_MAIN(TstNoPictures)
#include "tst_nopictures.moc"
