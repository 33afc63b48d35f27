// TAVO ZZ: the desktop program.
#include "datamodule.h"
#include "mainwindow.h"
#include "program.h"
#include "prompts.h"
#include "splash.h"
#ifdef TZ_HAVE_REPORTS
#include "reportwindows.h"
#endif
#ifdef TZ_HAVE_ACCESSORY_CARDS
#include "accessorycard.h"
#endif
#ifdef TZ_HAVE_EQUIPMENT_CARDS
#include "gui/equipmentcard.h"
#include "gui/inspectionwindow.h"
#endif

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAVO ZZ"));
    QApplication::setApplicationVersion(QStringLiteral("5.0.0"));
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    // the standard dialogs speak Czech; without the translations they stay in English
    QString translations;
    if (!tz::gui::installCzechTranslations(&translations))
        qWarning("Czech translations of Qt not found in %s", qPrintable(translations));
#ifdef TZ_HAVE_REPORTS
    tz::rep::gui::installReportWindows();
#endif

#ifdef TZ_HAVE_ACCESSORY_CARDS
    tz::acc::registerAccessoryForms();
#endif
#ifdef TZ_HAVE_EQUIPMENT_CARDS
    tz::eq::registerEquipmentForms();
    tz::eq::registerInspectionWindows();   // the card opens an inspection in its window
#endif
    tz::gui::TFStart splash;
    splash.show();
    app.processEvents();

    const tz::app::ProgramFolder folder = tz::app::ProgramFolder::current();
    tz::db::Database db;
    try {
        tz::app::openDataDirectory(db, folder, true);
    } catch (const tz::db::Error &e) {
        splash.hide();
        tz::gui::showError(nullptr, e.userText());
        return 1;
    }
    tz::db::TDM dm(&db);
    int rc = 0;
    {
        tz::gui::TF_Main w(folder, dm);
        splash.hide();
        w.showMaximized();
        rc = app.exec();
    }
    db.close();
    return rc;
}
