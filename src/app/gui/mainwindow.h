#pragma once
// The main window: the five registers in evidence and planning view.
#include "mainstate.h"
#include "program.h"
#include "settings.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QButtonGroup;
class QDateEdit;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QSystemTrayIcon;
class QTableView;
class QToolButton;

namespace tz::gui {
class DatasetModel;
}

namespace tz::gui {

class TFPomCiselnik;

class TF_Main : public QMainWindow
{
    Q_OBJECT
public:
    TF_Main(const tz::app::ProgramFolder &folder, tz::db::TDM &dm, QWidget *parent = nullptr);
    ~TF_Main() override;

    tz::app::MainState &state() { return m_state; }
    // The company worked on ("není proveden výběr firmy - zobrazena všechna
    // data" for all of them): the caption's second part and the text handed to
    // reports as their first parameter. Empty before a choice.
    QString companyText() const { return m_companyText; }

    // Handlers.
    void FormShow();            // schema step and company choice
    void MIZmenitFirmuClick();
    void SBRegisterClick(int tag);
    void PomCiselClick(int tag); // "Pomocné číselníky", tags 1 to 11
    void SBEvidenceClick();
    void SBPlanovaniClick();
    void SBDruhClick(int index);
    void DatumChange(const QDate &d);
    void DBGrid1DblClick();
    void PridatClick();
    void KopieKartyClick();
    void OdstranitClick();
    void OdstranitVseClick();
    void SeznamTXTClick();
    void TiskPrehleduClick();
    void SeznamDoExceluClick(bool planning);
    void RefreshList(bool reread = true);

    // Widgets, for the tests.
    QToolButton *registerButton(int tag) const;
    QToolButton *kindButton(int index) const;
    QTableView *evidenceGrid() const { return m_grid; }
    QTableView *planningGrid() const { return m_planGrid; }
    QPushButton *command(const QString &name) const;
    QLabel *statusCount() const { return m_count; }
    QStackedWidget *pages() const { return m_pages; }
    QMenu *partnerMenu() const { return m_partnerMenu; }
    TFPomCiselnik *codeListWindow() const; // once a list was opened

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    // Shows the form of a prepared row modally and returns the list to its row.
    void runRecordForm(tz::app::OpenTarget t, bool inserting);
    // Fields of the grid's columns in the order shown (hidden ones optionally).
    QStringList gridFields(QTableView *view, bool withHidden) const;
    void buildMenus();
    void buildToolStrip();
    QWidget *buildEvidencePage();
    QWidget *buildPlanningPage();
    void buildKindButtons();
    void updateCommands();
    void syncGrid(QTableView *view);
    void showDbError(const tz::db::Error &e);
    // Columns as wide as their content (at most 260 pixels), except those the
    // user sized himself; called whenever a grid's rows are read anew.
    void fitColumns(QTableView *view);
    void updateCaption();
    bool eventFilter(QObject *o, QEvent *e) override;
    void setupTray();
    QPixmap picture(const QString &name, bool &missing);

    tz::app::ProgramFolder m_folder;
    tz::db::TDM &m_dm;
    tz::app::MainState m_state;
    tz::app::AppSettings m_settings;
    QString m_companyText;
    // widths the user gave to columns, per list and field
    QHash<QString, QHash<QString, int>> m_userWidths;
    bool m_fitting = false;
    bool m_shown = false;
    bool m_layoutChanged = false;
    bool m_closing = false;

    QButtonGroup *m_registerGroup = nullptr;
    QToolButton *m_registerButtons[5] = {};
    QToolButton *m_evidenceButton = nullptr;
    QToolButton *m_planningButton = nullptr;
    QToolButton *m_kindButtons[10] = {};
    QAction *m_kindActions[10] = {};
    QStackedWidget *m_pages = nullptr;
    QTableView *m_grid = nullptr;
    QTableView *m_planGrid = nullptr;
    tz::gui::DatasetModel *m_model = nullptr;
    tz::gui::DatasetModel *m_planModel = nullptr;
    QDateEdit *m_date = nullptr;
    QLabel *m_count = nullptr;
    QHash<QString, QPushButton *> m_commands;
    QMenu *m_partnerMenu = nullptr;
    QAction *m_partnerMenuAction = nullptr;
    QPointer<QSystemTrayIcon> m_tray;
    bool m_syncing = false;
    bool m_toldNoPictures = false; // the missing picture library was reported
    QPointer<TFPomCiselnik> m_codeListWindow;
};

} // namespace tz::gui
