#include "mainwindow.h"
#include "codelists.h"
#include "codelistwindow.h"
#include "companydialogs.h"
#include "datasetmodel.h"
#include "desktopopener.h"
#include "inifile.h"
#include "listdocument.h"
#include "pictures.h"
#include "prompts.h"
#include "recordcommands.h"
#include "recordforms.h"
#include "splash.h"
#ifdef TZ_HAVE_REPORTS
#include "overviewprint.h"
#endif
#ifdef TZ_HAVE_EQUIPMENT_WINDOWS
#include "gui/defectswindow.h"
#include "gui/numberingwindow.h"
#endif

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tz::gui {

using tz::app::MainState;
using tz::app::Page;
using tz::db::Dataset;
using tz::db::Error;

namespace {

const char *const kTitle = "TAVO ZZ";

QIcon registerIcon(int tag)
{
    // simple drawn glyphs of the five registers
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x1f, 0x4e, 0x79), accent(0xe0, 0x9a, 0x10);
    p.setPen(QPen(ink, 2));
    switch (tag) {
    case 1: // chain links
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(10 + (i % 2) * 2, 2 + i * 9, 10, 12), 5, 5);
        p.setPen(QPen(accent, 3));
        p.drawArc(QRectF(9, 24, 12, 8), 180 * 16, 180 * 16);
        break;
    case 2: // overhead crane
        p.drawLine(2, 8, 30, 8);
        p.drawLine(4, 8, 4, 30);
        p.drawLine(28, 8, 28, 30);
        p.drawRect(12, 8, 8, 5);
        p.drawLine(16, 13, 16, 22);
        p.setPen(QPen(accent, 3));
        p.drawArc(QRectF(12, 20, 8, 7), 180 * 16, 180 * 16);
        break;
    case 3: // person with helmet
        p.setBrush(QColor(0xf6, 0xd5, 0xb3));
        p.drawEllipse(QPointF(16, 10), 5, 5);
        p.setBrush(accent);
        p.drawChord(QRectF(10, 3, 12, 10), 0, 180 * 16);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(8, 17, 16, 13), 4, 4);
        break;
    case 4: // steel beam
        p.setBrush(QColor(0x9a, 0xa8, 0xb5));
        p.drawRect(4, 6, 24, 4);
        p.drawRect(14, 10, 4, 14);
        p.drawRect(4, 24, 24, 4);
        break;
    default: // harness
        p.drawEllipse(QPointF(16, 7), 4, 4);
        p.setPen(QPen(accent, 3));
        p.drawLine(10, 12, 22, 28);
        p.drawLine(22, 12, 10, 28);
        p.drawLine(9, 20, 23, 20);
        break;
    }
    return QIcon(pm);
}

QPushButton *makeCommand(const QString &text, const QString &name, const QString &hint = {})
{
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

} // namespace

TF_Main::TF_Main(const tz::app::ProgramFolder &folder, tz::db::TDM &dm, QWidget *parent)
    : QMainWindow(parent), m_folder(folder), m_dm(dm), m_state(dm)
{
    setObjectName(QStringLiteral("F_Main"));
    // FormCreate: settings, register, planning day, kind buttons, caption
    tz::IniFile ini(m_folder.iniPath());
    ini.load();
    m_settings = tz::app::AppSettings::read(ini);
    m_dm.revTech = m_settings.revTech;
    m_dm.revFirma = m_settings.revFirma;
    m_dm.partnerMode = m_settings.partnerMode;

    buildMenus();
    buildToolStrip();
    m_pages = new QStackedWidget;
    m_pages->addWidget(buildEvidencePage());
    m_pages->addWidget(buildPlanningPage());
    setCentralWidget(m_pages);
    m_count = new QLabel(QStringLiteral("Počet záznamů: 0"));
    m_count->setObjectName(QStringLiteral("StatusCount"));
    statusBar()->addWidget(m_count);

    m_state.setRegister(m_settings.registerName);
    const int tag = MainState::registerTag(m_settings.registerName);
    if (tag > 0)
        m_registerButtons[tag - 1]->setChecked(true);
    m_date->setDate(QDate::currentDate());
    m_state.setPlanDate(m_date->date());
    buildKindButtons();
    m_registerButtons[0]->setEnabled(true);
    m_registerButtons[1]->setEnabled(true);
    m_registerButtons[2]->setEnabled(true);
    m_registerButtons[3]->setEnabled(false); // steel constructions are not reached from here
    updateCaption();
    resize(1200, 780);
    setupTray();
    updateCommands();
}

TF_Main::~TF_Main()
{
    m_model->setDataset(nullptr);
    m_planModel->setDataset(nullptr);
    // the register shown last opens at the next start
    tz::app::AppSettings::writeRegister(m_folder.iniPath(), m_state.registerName());
}

void TF_Main::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("Soubor"));
    QAction *change = file->addAction(QStringLiteral("Změnit zpracovávanou firmu"), this, &TF_Main::MIZmenitFirmuClick);
    change->setObjectName(QStringLiteral("MIZmenitFirmu"));
    file->addSeparator();
    // items whose work the program does not do yet stay hidden until it does
    for (const char *t : {"Export", "Import", "Import vázacích prostředků z programu TAVO"})
        file->addAction(QString::fromUtf8(t))->setVisible(false);
    file->addSeparator();
    for (const char *t : {"Archivace dat", "Obnova dat z archivu"})
        file->addAction(QString::fromUtf8(t))->setVisible(false);
    file->addSeparator();
    file->addAction(QStringLiteral("Konec"), this, &QWidget::close);

    m_partnerMenu = menuBar()->addMenu(QStringLiteral("Rovena"));
    m_partnerMenu->setObjectName(QStringLiteral("MIRovena"));
    m_partnerMenu->addAction(QStringLiteral("Protokoly"))->setVisible(false);
    m_partnerMenu->addAction(QStringLiteral("Přehled po firmách"))->setVisible(false);
    m_partnerMenuAction = m_partnerMenu->menuAction();
    m_partnerMenuAction->setVisible(false);

    QMenu *fn = menuBar()->addMenu(QStringLiteral("Funkce"));
    fn->addAction(QStringLiteral("Hledat"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    fn->addAction(QStringLiteral("Hledat další"))->setShortcut(QKeySequence(Qt::Key_F3));
    fn->addAction(QStringLiteral("Třídit"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    for (QAction *a : fn->actions())
        a->setVisible(false);
    QAction *overview = fn->addAction(QStringLiteral("Tisk přehledu"), this, &TF_Main::TiskPrehleduClick);
    overview->setObjectName(QStringLiteral("MITiskPrehledu"));
    fn->addAction(QStringLiteral("Historie Revizí"))->setVisible(false);

    QMenu *codes = menuBar()->addMenu(QStringLiteral("Číselníky a nastavení"));
#ifdef TZ_HAVE_EQUIPMENT_WINDOWS
    codes->addAction(QStringLiteral("Číselník závad"), this, [this] {
        tz::eq::TFCis_Zavad w(*m_dm.db(), this);
        w.exec();
    })->setObjectName(QStringLiteral("MI_Ciselnik"));
    codes->addAction(QStringLiteral("Úprava revizních protokolů"))->setVisible(false);
    codes->addAction(QStringLiteral("Číslování protokolů"), this, [this] {
        tz::eq::TFCislaProt w(*m_dm.db(), this);
        w.exec();
    })->setObjectName(QStringLiteral("slovnprotokol1"));
#else
    for (const char *t : {"Číselník závad", "Úprava revizních protokolů", "Číslování protokolů"})
        codes->addAction(QString::fromUtf8(t))->setVisible(false);
#endif
    QMenu *aux = codes->addMenu(QStringLiteral("Pomocné číselníky"));
    int tag = 1;
    for (const char *t : {"Majitel", "Výrobce vázacích prostředků", "Výrobce zdvihacích zařízení", "Dodavatel", "Provoz",
                          "Umístění1", "Umístění2", "Údržba", "Provozní technik", "Revizní technik", "Pověřená osoba"}) {
        QAction *a = aux->addAction(QString::fromUtf8(t));
        a->setData(tag);
        connect(a, &QAction::triggered, this, [this, tag] { PomCiselClick(tag); });
        ++tag;
    }
    codes->addAction(QStringLiteral("Uložit nastavení zobrazení"))->setVisible(false);

    QMenu *help = menuBar()->addMenu(QStringLiteral("Nápověda"));
    help->addAction(QStringLiteral("O aplikaci"), this, [this] { showAbout(this); });
    help->addAction(QStringLiteral("Příručka (pdf)"), this, [this] {
        // the program folder's manual, else the one installed beside the programs
        const tz::InstalledFile manual = m_folder.findInstalled(QStringLiteral("NavodTavoZZ.pdf"));
        if (!manual.found()) {
            warn(this, QStringLiteral("Příručka NavodTavoZZ.pdf nebyla nalezena (hledáno %1 %2).")
                           .arg(manual.searched.size() > 1 ? QStringLiteral("ve složkách") : QStringLiteral("ve složce"),
                                manual.searchedText()));
            return;
        }
        tz::DesktopOpener desktop([this](const QString &msg) { warn(this, msg); });
        tz::showFile(&desktop, manual.path);
    });
    menuBar()->addAction(QStringLiteral("Konec"), this, &QWidget::close);
}

void TF_Main::buildToolStrip()
{
    auto *bar = addToolBar(QStringLiteral("Registry"));
    bar->setObjectName(QStringLiteral("ToolStrip"));
    bar->setMovable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_registerGroup = new QButtonGroup(this);
    m_registerGroup->setExclusive(true);
    static const char *names[] = {"SB_VP", "SB_ZZ", "SB_Lide", "SB_OK", "SB_OPPP"};
    static const char *hints[] = {"Evidence vázacích prostředků", "Evidence zdvihacích zařízení", "Evidence zaměstnanců", "",
                                  "Evidence osobních ochranných prostředků proti pádu"};
    const QStringList regs = MainState::registerNames();
    for (int i = 0; i < 5; ++i) {
        auto *b = new QToolButton;
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setText(MainState::registerButtonCaption(regs[i]));
        b->setToolTip(QString::fromUtf8(hints[i]));
        b->setCheckable(true);
        b->setIcon(registerIcon(i + 1));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setMinimumWidth(84);
        m_registerGroup->addButton(b, i + 1);
        bar->addWidget(b);
        m_registerButtons[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { SBRegisterClick(i + 1); });
    }
    bar->addSeparator();
    auto *pageGroup = new QButtonGroup(this);
    m_evidenceButton = new QToolButton;
    m_evidenceButton->setObjectName(QStringLiteral("SBEvidence"));
    m_evidenceButton->setText(QStringLiteral("Evidence"));
    m_planningButton = new QToolButton;
    m_planningButton->setObjectName(QStringLiteral("SBPlanovani"));
    m_planningButton->setText(QStringLiteral("Plánování"));
    for (QToolButton *b : {m_evidenceButton, m_planningButton}) {
        b->setCheckable(true);
        b->setMinimumSize(84, 56);
        pageGroup->addButton(b);
        bar->addWidget(b);
    }
    m_evidenceButton->setChecked(true);
    connect(m_evidenceButton, &QToolButton::clicked, this, &TF_Main::SBEvidenceClick);
    connect(m_planningButton, &QToolButton::clicked, this, &TF_Main::SBPlanovaniClick);
    bar->addSeparator();
    for (int i = 0; i < 10; ++i) {
        auto *b = new QToolButton;
        b->setObjectName(QStringLiteral("SBDruh%1").arg(i + 1));
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setMinimumWidth(72);
        m_kindActions[i] = bar->addWidget(b);
        m_kindActions[i]->setVisible(false);
        m_kindButtons[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { SBDruhClick(i); });
    }
}

QWidget *TF_Main::buildEvidencePage()
{
    auto *page = new QWidget;
    auto *lay = new QVBoxLayout(page);
    lay->setContentsMargins(4, 4, 4, 4);
    auto *cmds = new QHBoxLayout;
    auto add = [&](QPushButton *b) {
        m_commands.insert(b->objectName(), b);
        cmds->addWidget(b);
        return b;
    };
    connect(add(makeCommand(QStringLiteral("Přidat nový"), QStringLiteral("_057addbtn"))), &QPushButton::clicked, this, &TF_Main::PridatClick);
    for (auto [caption, name, slot] : {std::tuple{"Odstranit", "Odstranit", &TF_Main::OdstranitClick},
                                       std::tuple{"Odstranit vše", "OdstranitVse", &TF_Main::OdstranitVseClick},
                                       std::tuple{"Kopie karty", "KopieKarty", &TF_Main::KopieKartyClick},
                                       std::tuple{"Seznam do TXT", "SeznamTXT", &TF_Main::SeznamTXTClick}}) {
        QPushButton *b = add(makeCommand(QString::fromUtf8(caption), QString::fromLatin1(name)));
        b->setProperty("ready", true);
        connect(b, &QPushButton::clicked, this, slot);
    }
    connect(add(makeCommand(QStringLiteral("Upravit"), QStringLiteral("Upravit"))), &QPushButton::clicked, this, &TF_Main::DBGrid1DblClick);
    auto *excel = add(makeCommand(QStringLiteral("Seznam do excelu"), QStringLiteral("SeznamExcel")));
    excel->setProperty("ready", true);
    connect(excel, &QPushButton::clicked, this, [this] { SeznamDoExceluClick(false); });
    add(makeCommand(QStringLiteral("Tisk evid.karty"), QStringLiteral("TiskKarty")));
    add(makeCommand(QStringLiteral("Tisk karet"), QStringLiteral("TiskKaret"), QStringLiteral("Vytiskne karty všech vybraných prostředků")));
    cmds->addStretch();
    lay->addLayout(cmds);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    {
        auto *overview = new QAction(QStringLiteral("Tisknout přehled"), m_grid);
        overview->setObjectName(QStringLiteral("TisknoutPrehled"));
        connect(overview, &QAction::triggered, this, &TF_Main::TiskPrehleduClick);
        m_grid->addAction(overview);
    }
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->verticalHeader()->hide();
    m_model = new tz::gui::DatasetModel(this);
    m_grid->setModel(m_model);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::doubleClicked, this, &TF_Main::DBGrid1DblClick);
    // the widths survive every new reading of the list (a saved card, a refresh)
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { fitColumns(m_grid); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &cur) {
        if (m_syncing || !cur.isValid() || !m_state.evidenceList())
            return;
        m_syncing = true;
        try {
            m_state.evidenceList()->moveTo(cur.row());
        } catch (const Error &e) {
            showDbError(e);
        }
        m_syncing = false;
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionMoved, this, [this] { m_layoutChanged = true; });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int, int width) {
        if (m_fitting || !m_model->dataset())
            return;
        m_layoutChanged = true;
        if (const tz::db::Field *f = m_model->fieldAt(logical))
            m_userWidths[m_model->dataset()->name()][f->name().toLower()] = width;
    });
    lay->addWidget(m_grid);
    return page;
}

QWidget *TF_Main::buildPlanningPage()
{
    auto *page = new QWidget;
    auto *lay = new QVBoxLayout(page);
    lay->setContentsMargins(4, 4, 4, 4);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Plánované revize a prohlídky ke dni:")));
    m_date = new QDateEdit;
    m_date->setObjectName(QStringLiteral("DatePlan"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    top->addWidget(m_date);
    auto add = [&](QPushButton *b) {
        m_commands.insert(b->objectName(), b);
        top->addWidget(b);
        return b;
    };
    auto *excel = add(makeCommand(QStringLiteral("Seznam do excelu"), QStringLiteral("SeznamExcelPlan"),
                                  QStringLiteral("Vytisknout seznam vázacích prostředků s prošlým termínem prohlídky")));
    excel->setProperty("ready", true);
    connect(excel, &QPushButton::clicked, this, [this] { SeznamDoExceluClick(true); });
    add(makeCommand(QStringLiteral("Hromadné revize"), QStringLiteral("HromadneRevize")))->setEnabled(false);
    add(makeCommand(QStringLiteral("Školení"), QStringLiteral("Skoleni")))->setEnabled(false);
    top->addStretch();
    lay->addLayout(top);
    m_planGrid = new QTableView;
    m_planGrid->setObjectName(QStringLiteral("DBGridPlan"));
    m_planGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_planGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_planGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_planGrid->setAlternatingRowColors(true);
    m_planGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    {
        auto *overview = new QAction(QStringLiteral("Tisknout přehled"), m_planGrid);
        overview->setObjectName(QStringLiteral("TisknoutPrehled"));
        connect(overview, &QAction::triggered, this, &TF_Main::TiskPrehleduClick);
        m_planGrid->addAction(overview);
    }
    m_planGrid->horizontalHeader()->setSectionsMovable(true);
    m_planGrid->verticalHeader()->setDefaultSectionSize(22);
    m_planGrid->verticalHeader()->hide();
    m_planModel = new tz::gui::DatasetModel(this);
    m_planGrid->setModel(m_planModel);
    connect(m_planModel, &QAbstractItemModel::modelReset, this, [this] { fitColumns(m_planGrid); });
    connect(m_planGrid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int, int width) {
        if (m_fitting || !m_planModel->dataset())
            return;
        if (const tz::db::Field *f = m_planModel->fieldAt(logical))
            m_userWidths[m_planModel->dataset()->name()][f->name().toLower()] = width;
    });
    connect(m_date, &QDateEdit::dateChanged, this, &TF_Main::DatumChange);
    lay->addWidget(m_planGrid);
    return page;
}

QPixmap TF_Main::picture(const QString &name, bool &missing)
{
    if (!pictureLibraryAvailable()) {
        missing = true;
        return {};
    }
    const QImage img = standardPicture(name);
    return img.isNull() ? QPixmap() : QPixmap::fromImage(img);
}

void TF_Main::buildKindButtons()
{
    for (int i = 0; i < 10; ++i) {
        m_kindActions[i]->setVisible(false);
        m_kindButtons[i]->setChecked(false);
    }
    QVector<tz::app::KindButton> kinds;
    try {
        kinds = m_state.kindButtons();
    } catch (const Error &e) {
        showDbError(e);
        return;
    }
    bool missing = false;
    for (int i = 0; i < kinds.size() && i < 10; ++i) {
        QToolButton *b = m_kindButtons[i];
        b->setText(kinds[i].caption);
        b->setToolTip(kinds[i].hint);
        b->setProperty("kindName", kinds[i].hint);
        const QPixmap pm = picture(kinds[i].picture, missing);
        b->setIcon(pm.isNull() ? QIcon() : QIcon(pm));
        b->setIconSize(QSize(32, 32));
        b->setEnabled(kinds[i].enabled);
        m_kindActions[i]->setVisible(true);
    }
    // told once: the buttons stay without glyphs, everything else works
    if (missing && !kinds.isEmpty() && !m_toldNoPictures) {
        m_toldNoPictures = true;
        warn(this, missingLibraryText());
    }
}

void TF_Main::showDbError(const Error &e)
{
    showError(this, e.userText());
}

void TF_Main::updateCaption()
{
    // only the parts that have a value: "TAVO ZZ" alone before a company is chosen
    QStringList parts{QString::fromLatin1(kTitle)};
    if (!m_companyText.isEmpty())
        parts << m_companyText;
    setWindowTitle(parts.join(QStringLiteral(" - ")));
}

bool TF_Main::eventFilter(QObject *o, QEvent *e)
{
    // Enter on a row of the list opens it, as a double click does
    if (o == m_grid && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_grid->currentIndex().isValid())
                DBGrid1DblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(o, e);
}

void TF_Main::fitColumns(QTableView *view)
{
    auto *model = static_cast<tz::gui::DatasetModel *>(view->model());
    const Dataset *ds = model->dataset();
    if (!ds)
        return;
    const QHash<QString, int> own = m_userWidths.value(ds->name());
    m_fitting = true;
    for (int c = 0; c < model->columnCount(); ++c) {
        const tz::db::Field *f = model->fieldAt(c);
        const int width = f ? own.value(f->name().toLower(), -1) : -1;
        if (width > 0) {
            view->setColumnWidth(c, width);
            continue;
        }
        view->resizeColumnToContents(c);
        if (view->columnWidth(c) > 260)
            view->setColumnWidth(c, 260);
    }
    m_fitting = false;
}

void TF_Main::syncGrid(QTableView *view)
{
    auto *model = static_cast<tz::gui::DatasetModel *>(view->model());
    Dataset *ds = model->dataset();
    if (!ds || !ds->isOpen() || ds->recNo() < 0)
        return;
    m_syncing = true;
    view->selectRow(ds->recNo());
    view->scrollTo(model->index(ds->recNo(), 0));
    m_syncing = false;
}

void TF_Main::RefreshList(bool reread)
{
    try {
        m_state.setPlanDate(m_date->date());
        m_state.refresh(reread);
    } catch (const Error &e) {
        showDbError(e);
    }
    m_model->setDataset(m_state.evidenceList());
    m_planModel->setDataset(m_state.page() == Page::Planning ? m_state.planningList() : nullptr);
    fitColumns(m_grid);
    fitColumns(m_planGrid);
    syncGrid(m_grid);
    updateCommands();
}

void TF_Main::updateCommands()
{
    const bool rows = m_state.hasRows();
    m_commands.value(QStringLiteral("_057addbtn"))->setEnabled(m_state.canAdd());
    for (const char *n : {"Upravit", "SeznamExcel", "TiskKarty", "TiskKaret", "Odstranit", "OdstranitVse", "KopieKarty", "SeznamTXT"})
        m_commands.value(QString::fromLatin1(n))->setEnabled(rows);
    // fall-protection items are removed one by one
    if (m_state.registerName() == MainState::registerNames()[4])
        m_commands.value(QStringLiteral("OdstranitVse"))->setEnabled(false);
    // commands of later stages stay inactive until they exist
    for (const char *n : {"Odstranit", "OdstranitVse", "KopieKarty", "SeznamTXT", "SeznamExcel", "TiskKarty", "TiskKaret",
                          "SeznamExcelPlan", "HromadneRevize", "Skoleni"})
        if (!m_commands.value(QString::fromLatin1(n))->property("ready").toBool())
            m_commands.value(QString::fromLatin1(n))->setEnabled(false);
    Dataset *plan = m_state.planningList();
    m_commands.value(QStringLiteral("SeznamExcelPlan"))
        ->setEnabled(m_state.page() == Page::Planning && plan && plan->isOpen() && !plan->isEmpty());
    // a command whose work the program does not do yet is not shown at all
    auto ready = [this](const char *n) { return m_commands.value(QString::fromLatin1(n))->property("ready").toBool(); };
    m_commands.value(QStringLiteral("TiskKarty"))->setVisible(m_state.cardPrintVisible() && ready("TiskKarty"));
    m_commands.value(QStringLiteral("TiskKaret"))->setVisible(m_state.cardPrintVisible() && ready("TiskKaret"));
    m_commands.value(QStringLiteral("HromadneRevize"))->setVisible(m_state.massInspectionVisible() && ready("HromadneRevize"));
    m_commands.value(QStringLiteral("Skoleni"))->setVisible(m_state.trainingVisible() && ready("Skoleni"));
    m_count->setText(QStringLiteral("Počet záznamů: %1").arg(m_state.recordCount()));
}

QToolButton *TF_Main::registerButton(int tag) const
{
    return tag >= 1 && tag <= 5 ? m_registerButtons[tag - 1] : nullptr;
}

QToolButton *TF_Main::kindButton(int index) const
{
    return index >= 0 && index < 10 ? m_kindButtons[index] : nullptr;
}

QPushButton *TF_Main::command(const QString &name) const
{
    return m_commands.value(name);
}

void TF_Main::SBRegisterClick(int tag)
{
    const QStringList regs = MainState::registerNames();
    if (tag < 1 || tag > 5)
        return;
    m_layoutChanged = false; // column layouts are kept per list once they can be saved
    m_state.setRegister(regs[tag - 1]);
    m_registerButtons[tag - 1]->setChecked(true);
    RefreshList();
    buildKindButtons();
}

TFPomCiselnik *TF_Main::codeListWindow() const
{
    return m_codeListWindow;
}

void TF_Main::PomCiselClick(int tag)
{
    const auto list = tz::codelists::listForMenuTag(tag);
    if (!list)
        return;
    if (!m_codeListWindow)
        m_codeListWindow = new TFPomCiselnik(m_dm, this);
    m_codeListWindow->openList(list->typ, list->heading);
    m_codeListWindow->exec();
    // renamed values show in the lists at once
    m_dm.PomCis.close();
    try {
        m_dm.Extend_B.close();
        m_dm.Extend_B.open();
    } catch (const Error &e) {
        showDbError(e);
    }
    RefreshList();
}

void TF_Main::SBEvidenceClick()
{
    m_state.setPage(Page::Evidence);
    m_evidenceButton->setChecked(true);
    m_pages->setCurrentIndex(0);
    RefreshList();
}

void TF_Main::SBPlanovaniClick()
{
    m_state.setPage(Page::Planning);
    m_planningButton->setChecked(true);
    m_pages->setCurrentIndex(1);
    RefreshList();
}

void TF_Main::SBDruhClick(int index)
{
    QToolButton *b = m_kindButtons[index];
    const QString kind = b->property("kindName").toString();
    // all buttons may be up; a pressed button pressed again is released and keeps the kind
    for (QToolButton *o : m_kindButtons)
        if (o != b)
            o->setChecked(false);
    m_state.setKind(kind);
    RefreshList(false); // the same list, filtered by the kind
}

void TF_Main::DatumChange(const QDate &d)
{
    m_state.setPlanDate(d);
    if (m_state.page() == Page::Planning)
        RefreshList();
}

void TF_Main::DBGrid1DblClick()
{
    if (!m_state.hasRows())
        return;
    std::optional<tz::app::OpenTarget> t;
    try {
        t = m_state.prepareOpen();
    } catch (const Error &e) {
        showDbError(e);
        return;
    }
    if (!t) {
        warn(this, QStringLiteral("Záznam nebyl nalezen; mohl být mezitím odstraněn. Seznam bude obnoven."));
        RefreshList();
        return;
    }
    if (t->reg == tz::db::Register::Constructions || t->reg == tz::db::Register::FallProtection) {
        try {
            t->editSet->edit();
        } catch (const Error &e) {
            showDbError(e);
            return;
        }
    }
    QDialog *form = createRecordForm(t->formClass, m_dm, *t, false, this);
    form->exec();
    delete form;
    const QString note = m_dm.takeKeyNote();
    if (!note.isEmpty())
        inform(this, note);
    try {
        m_state.returnToRow(*t);
    } catch (const Error &e) {
        showDbError(e);
    }
    m_model->setDataset(m_state.evidenceList());
    syncGrid(m_grid);
    updateCommands();
}

void TF_Main::runRecordForm(tz::app::OpenTarget t, bool inserting)
{
    QDialog *form = createRecordForm(t.formClass, m_dm, t, inserting, this);
    const bool ok = form->exec() == QDialog::Accepted;
    delete form;
    const QString note = m_dm.takeKeyNote();
    if (!note.isEmpty())
        inform(this, note);
    if (inserting) {
        // a new row that was stored is shown; a discarded one leaves the list where it was
        Dataset *set = t.editSet;
        t.key = ok || set->state() == Dataset::State::Browse ? set->field(t.keyField)->value() : QVariant();
        if (set->isEditing())
            set->cancel();
    }
    try {
        m_state.returnToRow(t);
    } catch (const Error &e) {
        showDbError(e);
    }
    m_model->setDataset(m_state.evidenceList());
    syncGrid(m_grid);
    updateCommands();
}

void TF_Main::PridatClick()
{
    if (!m_state.canAdd())
        return;
    std::optional<tz::app::OpenTarget> t;
    try {
        t = tz::app::prepareNewItem(m_state);
    } catch (const Error &e) {
        showDbError(e);
        return;
    }
    if (t)
        runRecordForm(*t, true);
}

void TF_Main::KopieKartyClick()
{
    tz::app::OpenTarget t;
    tz::app::CopyResult r;
    try {
        r = tz::app::prepareCopy(m_state, &t);
    } catch (const Error &e) {
        showDbError(e);
        return;
    }
    if (r == tz::app::CopyResult::NotSupported) {
        inform(this, QStringLiteral("Tato funkce zatím není implementována"));
        return;
    }
    if (r == tz::app::CopyResult::NoRow) {
        if (m_state.hasRows()) {
            warn(this, QStringLiteral("Záznam nebyl nalezen; mohl být mezitím odstraněn. Seznam bude obnoven."));
            RefreshList();
        }
        return;
    }
    runRecordForm(t, true);
}

void TF_Main::OdstranitClick()
{
    tz::db::Register reg;
    const QVariant key = tz::app::selectedKey(m_state, &reg);
    if (!key.isValid() || key.isNull())
        return;
    if (!ask(this, QStringLiteral("Opravdu chcete odstranit položku?"), QStringLiteral("Informace")))
        return;
    const int row = m_state.evidenceList()->recNo();
    try {
        if (!tz::db::deleteItem(*m_dm.db(), reg, key.toInt()))
            warn(this, QStringLiteral("Položka již neexistuje; mohla být mezitím odstraněna."));
    } catch (const Error &e) {
        showDbError(e);
    }
    RefreshList();
    // the row that took the removed one's place stays selected
    if (Dataset *ev = m_state.evidenceList(); ev && ev->isOpen() && !ev->isEmpty()) {
        ev->moveTo(std::min(row, ev->recordCount() - 1));
        syncGrid(m_grid);
    }
}

void TF_Main::OdstranitVseClick()
{
    if (!m_state.hasRows() || m_state.registerName() == MainState::registerNames()[4])
        return;
    const QString q = QStringLiteral("Opravdu chcete odstranit všechny zobrazené záznamy?\n\n! ! ! Tato operace nejde vrátit zpět ! ! !");
    const bool yes = m_state.registerName() == MainState::registerNames()[0] ? askWarning(this, q, QStringLiteral("Varování"))
                                                                             : ask(this, q, QStringLiteral("Informace"));
    if (!yes)
        return;
    tz::app::RemovalReport rep;
    try {
        rep = tz::app::removeShown(m_state);
    } catch (const Error &e) {
        showDbError(e);
    }
    RefreshList(false);   // the list was read again after the removal
    if (rep.failures.isEmpty())
        inform(this, rep.summary());
    else
        warn(this, rep.summary());
}

QStringList TF_Main::gridFields(QTableView *view, bool withHidden) const
{
    auto *model = static_cast<tz::gui::DatasetModel *>(view->model());
    QStringList fields;
    QHeaderView *h = view->horizontalHeader();
    for (int visual = 0; visual < h->count(); ++visual) {
        const int logical = h->logicalIndex(visual);
        if (withHidden || !h->isSectionHidden(logical))
            if (const tz::db::Field *f = model->fieldAt(logical))
                fields << f->name();
    }
    return fields;
}

void TF_Main::SeznamTXTClick()
{
    Dataset *list = m_state.evidenceList();
    if (!list || !list->isOpen())
        return;
    const QString path = QDir(m_folder.dir()).filePath(QStringLiteral("Tavo.txt"));
    QString error;
    try {
        if (!tz::app::writeTextList(*list, gridFields(m_grid, true), path, &error)) {
            showError(this, error);
            return;
        }
    } catch (const Error &e) {
        showDbError(e);
        return;
    }
    syncGrid(m_grid);
    tz::DesktopOpener desktop([this](const QString &msg) { inform(this, msg); });
    tz::showFile(&desktop, path);
}

void TF_Main::SeznamDoExceluClick(bool planning)
{
    QTableView *view = planning ? m_planGrid : m_grid;
    auto *model = static_cast<tz::gui::DatasetModel *>(view->model());
    Dataset *list = model->dataset();
    if (!list || !list->isOpen())
        return;
    // the columns as the grid shows them, moved columns included
    const QStringList fields = gridFields(view, false);
    try {
        const tz::ListDocument doc = tz::app::listDocument(m_dm, *list, m_state.registerName(), planning, fields);
        tz::DesktopOpener desktop([this](const QString &msg) { inform(this, msg); });
        tz::ExportDoExcelu sheet(&desktop);
        // the template of the program folder or the installed one; the workbook
        // stays in the program folder's "Exporty" for the user
        sheet.setProgramFolder(m_folder.dir());
        sheet.setOutputFolder(m_folder.keptFilesDir());
        tz::exportList(sheet, doc);
    } catch (const tz::SpreadsheetError &e) {
        showError(this, e.message());
    } catch (const Error &e) {
        showDbError(e);
    }
}

void TF_Main::TiskPrehleduClick()
{
#ifdef TZ_HAVE_REPORTS
    // the list of the active page, accessories and equipment only
    const bool planning = m_state.page() == tz::app::Page::Planning;
    printOverview(m_folder.dir(), m_state.registerName(), planning ? m_state.planningList() : m_state.evidenceList(),
                  companyText());
#else
    inform(this, QStringLiteral("Tisk přehledu bude k dispozici s tiskovými sestavami."));
#endif
}

void TF_Main::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        QMetaObject::invokeMethod(this, &TF_Main::FormShow, Qt::QueuedConnection);
    }
}

void TF_Main::FormShow()
{
    m_dm.setSelectedCompany(0);
    m_companyText.clear();
    // the schema step; a failure skips the rest of the start-up
    try {
        tz::app::applySchemaStep(*m_dm.db(), QDate::currentDate());
    } catch (const Error &e) {
        showDbError(e);
        return;
    }
    TFSelFirma dlg(m_dm, this);
    dlg.exec();
    switch (dlg.choice()) {
    case TFSelFirma::Choice::Open:
        try {
            m_dm.setSelectedCompany(dlg.selectedCompany());
            m_companyText = m_dm.companyText();
        } catch (const Error &e) {
            showDbError(e);
        }
        break;
    case TFSelFirma::Choice::All:
        m_dm.setSelectedCompany(999);
        m_companyText = m_dm.companyText();
        break;
    case TFSelFirma::Choice::Cancel:
        close();
        break;
    }
    for (int i : {0, 1, 3})
        m_registerButtons[i]->setText(MainState::registerButtonCaption(MainState::registerNames()[i]));
    updateCaption();
    // the partner menu shows once one of its items works
    bool partnerItems = false;
    for (QAction *a : m_partnerMenu->actions())
        partnerItems = partnerItems || a->isVisible();
    m_partnerMenuAction->setVisible(m_settings.partnerMode && partnerItems);
    RefreshList();
}

void TF_Main::MIZmenitFirmuClick()
{
    FormShow();
}

void TF_Main::closeEvent(QCloseEvent *e)
{
    if (!ask(this, QStringLiteral("Opravdu chcete ukončit aplikaci TAVO ZZ?"), QStringLiteral("Informace"))) {
        e->ignore();
        return;
    }
    m_layoutChanged = false;
    m_model->setDataset(nullptr);
    m_planModel->setDataset(nullptr);
    for (Dataset *d : m_dm.all())
        d->close();
    if (m_tray)
        m_tray->hide();
    e->accept();
}

void TF_Main::setupTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(registerIcon(2), this);
    m_tray->setToolTip(QString::fromLatin1(kTitle));
    auto *menu = new QMenu(this);
    auto restore = [this] {
        showMaximized();
        raise();
        activateWindow();
        m_tray->hide();
    };
    menu->addAction(QStringLiteral("Zobrazit"), this, restore);
    menu->addAction(QStringLiteral("O Aplikaci"), this, [this] { showAbout(this); });
    menu->addAction(QStringLiteral("Ukončit TavoZZ"), this, [this, restore] {
        restore();
        close();
    });
    m_tray->setContextMenu(menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [restore](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::DoubleClick)
            restore();
    });
}

void TF_Main::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && isMinimized() && m_tray) {
        m_tray->show();
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    }
}

} // namespace tz::gui
