#include "accessorycard.h"

#include "datasetmodel.h"
#include "dates.h"
#include "historywindow.h"
#include "pictures.h"
#include "prompts.h"
#include "recordforms.h"
#include "sestava.h"
#ifdef TZ_HAVE_REPORT_DATA
#include "cardprint.h"
#endif

#include "codelistcombos.h"

#include <QAction>
#include <QBuffer>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using tz::db::Dataset;
using tz::db::Error;
using tz::db::FieldType;
using namespace tz::gui;

namespace tz::acc {

namespace {

constexpr int kPictureWidth = 123;
constexpr int kPictureHeight = 246;

bool isDateField(const QString &f)
{
    return f.startsWith(QLatin1String("DAT_"), Qt::CaseInsensitive);
}

} // namespace

std::function<void(TfVazaci &, bool)> &TfVazaci::cardPrinter()
{
    static std::function<void(TfVazaci &, bool)> printer;
    return printer;
}

std::function<void(TfVazaci &, THistoryWindow &, int)> &TfVazaci::protocolPrinter()
{
    static std::function<void(TfVazaci &, THistoryWindow &, int)> printer;
    return printer;
}

TfVazaci::TfVazaci(tz::db::TDM &dm, const AccessoryKind &kind, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_kind(kind), m_ds(dm.BasicView), m_binder(&dm.BasicView), m_recorder(dm)
{
    // FormCreate
    setObjectName(kind.formClass);
    setWindowTitle(QStringLiteral("Vázací prostředky"));
    auto *lay = new QVBoxLayout(this);
    auto *caption = new QLabel(kind.mainCaption);
    caption->setObjectName(QStringLiteral("LCaption"));
    QFont cf = caption->font();
    cf.setBold(true);
    cf.setPointSizeF(cf.pointSizeF() * 1.4);
    caption->setFont(cf);
    caption->setAlignment(Qt::AlignCenter);
    lay->addWidget(caption);
    lay->addWidget(buildTypePanel());

    auto *middle = new QHBoxLayout;
    m_scroll = new QScrollArea;
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(buildFields());
    m_scroll->setFrameShape(QFrame::NoFrame);
    middle->addWidget(m_scroll, 1);
    middle->addWidget(buildPicture());
    lay->addLayout(middle);
    lay->addWidget(buildHistory());
    lay->addStretch(1);

    auto *buttons = new QHBoxLayout;
    auto *prilohy = new QPushButton(QStringLiteral("Přílohy ..."));
    prilohy->setObjectName(QStringLiteral("sbprilohy"));
    prilohy->setToolTip(QStringLiteral("Otevře okno s poznámkami"));
    prilohy->setVisible(false);   // shown once attachments can be kept
    auto *tisk = new QPushButton(QStringLiteral("Tisk evid. karty"));
    tisk->setObjectName(QStringLiteral("TiskKarty"));
    auto *nahled = new QPushButton(QStringLiteral("Náhled tisku"));
    nahled->setObjectName(QStringLiteral("NahledKarty"));
    for (QPushButton *b : {tisk, nahled}) {
        const bool preview = b == nahled;
        b->setVisible(bool(cardPrinter()));   // the evidence card, once its report is installed
        connect(b, &QPushButton::clicked, this, [this, preview] {
            if (!commitAll())
                return;
            if (cardPrinter())
                cardPrinter()(*this, preview);
        });
    }
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("Okbtn"));
    ok->setDefault(false);
    ok->setAutoDefault(false);
    auto *cancel = new QPushButton(QStringLiteral("Zrušit"));
    cancel->setObjectName(QStringLiteral("Cancelbtn"));
    cancel->setAutoDefault(false);
    buttons->addWidget(prilohy);
    buttons->addWidget(tisk);
    buttons->addWidget(nahled);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TfVazaci::OkbtnClick);
    connect(cancel, &QPushButton::clicked, this, &TfVazaci::CancelbtnClick);

    tz::gui::bindCodeListCombos(this, *dm.db(), tz::codelists::FormKind::Accessory);
    loadRecord();
    m_recorder.remember();
    resize(880, 720);
}

TfVazaci::~TfVazaci() = default;

bool TfVazaci::inserting() const
{
    return m_ds.state() == Dataset::State::Insert;
}

QWidget *TfVazaci::typePanel() const
{
    return m_typePanel;
}

QWidget *TfVazaci::historyPanel() const
{
    return m_history;
}

QToolButton *TfVazaci::typeButton(int typ) const
{
    return typ >= 1 && typ <= m_typeButtons.size() ? m_typeButtons[typ - 1] : nullptr;
}

QWidget *TfVazaci::buildTypePanel()
{
    m_typePanel = new QFrame;
    m_typePanel->setObjectName(QStringLiteral("PanelTypy"));
    m_typePanel->setFrameShape(QFrame::StyledPanel);
    auto *l = new QVBoxLayout(m_typePanel);
    auto *title = new QLabel(QStringLiteral("NOVÁ EVIDENČNÍ KARTA"));
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    l->addWidget(title);
    auto *row = new QHBoxLayout;
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < m_kind.typeHints.size(); ++i) {
        auto *b = new QToolButton;
        const int typ = i + 1;
        b->setObjectName(QStringLiteral("SB%1%2").arg(m_kind.letter).arg(typ));
        b->setProperty("tag", typ);
        b->setToolTip(m_kind.typeHints[i]);
        b->setCheckable(true);
        b->setText(QString::number(typ));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIconSize(QSize(30, 60));
        const QString picture = standardPictureName(m_kind.letter, typ, QStringLiteral("8"));
        if (!picture.isEmpty() && pictureLibraryAvailable()) {
            const QImage img = standardPicture(picture);
            if (!img.isNull())
                b->setIcon(QIcon(QPixmap::fromImage(img.scaled(30, 60, Qt::KeepAspectRatio, Qt::SmoothTransformation))));
        }
        group->addButton(b);
        row->addWidget(b);
        m_typeButtons << b;
        connect(b, &QToolButton::clicked, this, [this, typ] { TypeButtonClick(typ); });
    }
    row->addStretch();
    l->addLayout(row);
    return m_typePanel;
}

QWidget *TfVazaci::addField(QGridLayout *g, int row, int col, const QString &label, const QString &field, QWidget *w,
                            const QString &hint)
{
    if (!w) {
        auto *e = new QLineEdit;
        const tz::db::Field *f = m_ds.findField(field);
        if (f && (f->type() == FieldType::Date))
            e->setFixedWidth(110);
        w = e;
    }
    w->setObjectName(field);
    auto *l = new QLabel(label);
    l->setBuddy(w);
    const QString tip = hint.isEmpty() ? m_kind.hints.value(field) : hint;
    if (!tip.isEmpty()) {
        w->setToolTip(tip);
        l->setToolTip(tip);
    }
    g->addWidget(l, row, col * 2);
    g->addWidget(w, row, col * 2 + 1);
    m_binder.bind(w, field, label);
    w->installEventFilter(this);
    if (auto *c = qobject_cast<QComboBox *>(w); c && c->lineEdit())
        c->lineEdit()->installEventFilter(this);
    return w;
}

QComboBox *TfVazaci::addCodeCombo(QGridLayout *g, int row, int col, const QString &label, const QString &field, int tag)
{
    auto *c = new QComboBox;
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setProperty("tag", tag);
    if (m_kind.addCodesOnExitOnly && tag <= 4)
        c->setProperty("addOnExitOnly", true);
    addField(g, row, col, label, field, c);
    return c;
}

QWidget *TfVazaci::buildFields()
{
    auto *inner = new QWidget;
    auto *v = new QVBoxLayout(inner);
    v->setContentsMargins(0, 0, 4, 0);
    auto group = [&](const QString &title) {
        auto *box = new QGroupBox(title);
        auto *g = new QGridLayout(box);
        g->setColumnStretch(1, 1);
        g->setColumnStretch(3, 1);
        v->addWidget(box);
        return g;
    };

    QGridLayout *id = group(QStringLiteral("Označení"));
    addField(id, 0, 0, QStringLiteral("Typ"), QStringLiteral("POPIS"));
    addField(id, 0, 1, QStringLiteral("Výrobní označení"), QStringLiteral("OZNACENI"));
    QWidget *evid = addField(id, 1, 0, QStringLiteral("Evid. číslo"), QStringLiteral("EVID_C"));
    QWidget *vyr = addField(id, 1, 1, QStringLiteral("Výrobní číslo"), QStringLiteral("VYR_C"));
    for (QWidget *w : {evid, vyr})
        connect(static_cast<QLineEdit *>(w), &QLineEdit::textEdited, this, [this, w] {
            // the shown number changed: picture and, in edit state, the capacities
            if (!m_binder.commitWidget(w, this))
                return;
            if (m_kind.letter != QLatin1String("L") && m_kind.letter != QLatin1String("J"))
                refreshPicture();
            runLookup(LookupOnNumbers);
        });
    if (!m_kind.classChoices.isEmpty()) {
        auto *c = new QComboBox;
        c->setEditable(!m_kind.classListOnly);
        if (m_kind.classListOnly)
            c->addItem(QString());
        c->addItems(m_kind.classChoices);
        addField(id, 2, 0, m_kind.classLabel, QStringLiteral("JAK_TRIDA"), c);
        connect(c, &QComboBox::currentTextChanged, this, [this, c] {
            if (m_inFieldLeft || !c->isVisible())
                return;
            if (!m_binder.commitWidget(c, this))
                return;
            refreshPicture();
        });
        if (m_kind.classListOnly)
            connect(c, &QComboBox::activated, this, [this, c] { fieldLeft(c); });
    }

    QGridLayout *tech = group(QStringLiteral("Technické údaje"));
    int n = 0;
    for (const QString &f : m_kind.fields) {
        if (f == QLatin1String("MATERIAL")) {
            auto *box = new QGroupBox(m_kind.labels.value(f));
            box->setObjectName(QStringLiteral("MATERIAL"));
            auto *bl = new QHBoxLayout(box);
            m_material = new QButtonGroup(this);
            for (auto [caption, value] : {std::pair{"Polyester", "PES"}, std::pair{"Polypropylen", "PP"}}) {
                auto *r = new QRadioButton(QString::fromLatin1(caption));
                r->setProperty("value", QString::fromLatin1(value));
                m_material->addButton(r);
                bl->addWidget(r);
            }
            connect(m_material, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
                if (m_ds.value(QStringLiteral("MATERIAL")).toString() == b->property("value").toString())
                    return;
                if (!m_ds.isEditing())
                    m_ds.edit();
                m_ds.setFieldValue(QStringLiteral("MATERIAL"), b->property("value"));
            });
            tech->addWidget(box, n / 2, (n % 2) * 2, 1, 2);
            ++n;
            continue;
        }
        QString label = m_kind.labels.value(f);
        if (label.isEmpty())
            label = f;
        if (f.startsWith(QLatin1String("NOSNOST")) && label.contains(QChar(0x00B0)))
            label = QStringLiteral("Nosnost %1 [kg]").arg(label);
        addField(tech, n / 2, n % 2, label, f);
        ++n;
    }

    QGridLayout *place = group(QStringLiteral("Umístění a původ"));
    addCodeCombo(place, 0, 0, QStringLiteral("Majitel"), QStringLiteral("STREDISKO"), 1);
    addCodeCombo(place, 0, 1, QStringLiteral("Provoz"), QStringLiteral("UZIVATEL"), 2);
    addCodeCombo(place, 1, 0, QStringLiteral("Umístění 1"), QStringLiteral("umisteni1"), 5);
    addCodeCombo(place, 1, 1, QStringLiteral("Umístění 2"), QStringLiteral("umisteni2"), 6);
    addCodeCombo(place, 2, 0, QStringLiteral("Výrobce"), QStringLiteral("VYROBCE"), 3);
    addCodeCombo(place, 2, 1, QStringLiteral("Dodavatel"), QStringLiteral("DODAVATEL"), 4);

    QGridLayout *dates = group(QStringLiteral("Data"));
    addField(dates, 0, 0, QStringLiteral("Datum výroby"), QStringLiteral("DAT_VYROBY"));
    addField(dates, 0, 1, QStringLiteral("Uvedeno do provozu"), QStringLiteral("DAT_PROVOZ"));
    addField(dates, 1, 0, QStringLiteral("Vyřazeno z provozu"), QStringLiteral("DAT_VYRAZ"));

    auto schedule = [&](const QString &title, const Schedule &s, const QList<int> &choices) {
        QGridLayout *g = group(title);
        addField(g, 0, 0, QStringLiteral("Poslední"), s.last);
        auto *period = new QComboBox;
        period->setEditable(true);
        period->setInsertPolicy(QComboBox::NoInsert);
        for (int c : choices)
            period->addItem(QString::number(c));
        period->setValidator(new QIntValidator(-999, 999, period));
        addField(g, 0, 1, QStringLiteral("Perioda [měsíce]"), s.period, period);
        addField(g, 1, 0, QStringLiteral("Příští"), s.next);
        // in messages the dates and the period are named with their schedule
        const QString of = title.toLower();
        m_binder.setCaption(s.last, QStringLiteral("Poslední %1").arg(of));
        m_binder.setCaption(s.period, QStringLiteral("Perioda – %1").arg(of));
        m_binder.setCaption(s.next, QStringLiteral("Příští %1").arg(of));
    };
    schedule(QStringLiteral("Prohlídka"), Schedule::regular(), m_kind.period1Choices);
    if (!m_kind.period3Choices.isEmpty())
        schedule(m_kind.thoroughLabel, Schedule::thorough(), m_kind.period3Choices);

    QGridLayout *note = group(QStringLiteral("Poznámka"));
    auto *memo = new QPlainTextEdit;
    memo->setFixedHeight(60);
    memo->setObjectName(QStringLiteral("Poznamka"));
    m_binder.bind(memo, QStringLiteral("Poznamka"));
    memo->installEventFilter(this);
    note->addWidget(memo, 0, 0, 1, 4);
    v->addStretch();
    return inner;
}

QWidget *TfVazaci::buildPicture()
{
    auto *col = new QWidget;
    auto *l = new QVBoxLayout(col);
    l->setContentsMargins(0, 0, 0, 0);
    m_picture = new QLabel;
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setFixedSize(kPictureWidth + 4, kPictureHeight + 4);
    m_picture->setFrameShape(QFrame::Panel);
    m_picture->setFrameShadow(QFrame::Sunken);
    m_picture->setAlignment(Qt::AlignCenter);
    showPictureFrame(false);
    m_picture->setText(QStringLiteral("Bez obrázku"));
    m_picture->setContextMenuPolicy(Qt::CustomContextMenu);
    m_picture->setToolTip(QStringLiteral("Pravým tlačítkem myši lze obrázek změnit"));
    connect(m_picture, &QLabel::customContextMenuRequested, this, [this](const QPoint &p) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Změnit obrázek"), this, [this] { ZmenitObrazekClick(); });
        menu.addAction(QStringLiteral("Vrátit standartní obrázek"), this, &TfVazaci::VratitObrazekClick);
        menu.exec(m_picture->mapToGlobal(p));
    });
    l->addWidget(m_picture);
    l->addStretch();
    return col;
}

void TfVazaci::showPictureFrame(bool withPicture)
{
    // a white sunken frame only around a picture; without one the place stays
    // plain, with a grey note and the menu for an own picture
    m_picture->setFrameShape(withPicture ? QFrame::Panel : QFrame::NoFrame);
    m_picture->setStyleSheet(withPicture ? QStringLiteral("QLabel { background: white; }")
                                         : QStringLiteral("QLabel { color: palette(mid); }"));
    m_picture->setProperty("hasPicture", withPicture);
}

QWidget *TfVazaci::buildHistory()
{
    m_history = new QGroupBox(QStringLiteral(" Průběh revizí:"));
    m_history->setObjectName(QStringLiteral("PanelPrubeh"));
    m_history->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    auto *l = new QVBoxLayout(m_history);
    m_historyGrid = new QTableView;
    m_historyGrid->setObjectName(QStringLiteral("DBGridPrubeh"));
    m_historyModel = new tz::gui::DatasetModel(this);
    m_historyGrid->setModel(m_historyModel);
    m_historyGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_historyGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_historyGrid->verticalHeader()->hide();
    m_historyGrid->horizontalHeader()->setStretchLastSection(true);
    m_historyGrid->setFixedHeight(120);
    m_historyGrid->setToolTip(QStringLiteral("Dvojklikem otevřete průběh revizních zkoušek"));
    connect(m_historyGrid, &QTableView::doubleClicked, this, &TfVazaci::PrubehrevClick);
    l->addWidget(m_historyGrid);
    return m_history;
}

void TfVazaci::loadRecord()
{
    m_inFieldLeft = true;
    m_binder.load();
    loadMaterial();
    m_inFieldLeft = false;
    if (m_shownOnce && m_kind.letter != QLatin1String("L") && m_kind.letter != QLatin1String("J"))
        refreshPicture();
}

void TfVazaci::loadMaterial()
{
    if (!m_material)
        return;
    const QString v = m_ds.value(QStringLiteral("MATERIAL")).toString();
    m_material->setExclusive(false);
    for (QAbstractButton *b : m_material->buttons())
        b->setChecked(b->property("value").toString() == v);
    m_material->setExclusive(true);
}

void TfVazaci::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TfVazaci::FormShow()
{
    const bool ins = inserting();
    m_typePanel->setVisible(ins);
    m_history->setVisible(!ins);
    m_scroll->setFixedHeight(ins ? 500 : 420);
    if (ins)
        resize(width(), std::max(height(), sizeHint().height()));   // the type buttons need the room of the history
    else
        showHistoryRows();
    // a clamp's length is its other data when they are missing
    if (m_kind.letter == QLatin1String("S") && !m_ds.value(QStringLiteral("DELKA")).isNull()
        && m_ds.value(QStringLiteral("JINE")).toString().isEmpty()) {
        try {
            if (!m_ds.isEditing())
                m_ds.edit();
            m_ds.setFieldValue(QStringLiteral("JINE"), m_ds.field(QStringLiteral("DELKA"))->asString());
            m_binder.loadField(QStringLiteral("JINE"));
        } catch (const Error &err) {
            showError(this, err.userText());
        }
    }
    if (m_kind.focusDiameter)
        if (QWidget *w = m_binder.widgetOf(QStringLiteral("PRUMER")))
            w->setFocus();
    if (m_kind.pictureOnShow)
        refreshPicture();
    runLookup(LookupOnShow);
}

void TfVazaci::showHistoryRows()
{
    try {
        if (!m_dm.PrubehRev.isOpen())
            m_dm.PrubehRev.open();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    m_historyModel->setDataset(&m_dm.PrubehRev);
    m_historyGrid->resizeColumnsToContents();
}

void TfVazaci::refreshPicture()
{
    const int typ = m_ds.value(QStringLiteral("TYP")).toInt();
    m_pictureName = standardPictureName(m_kind.letter, typ, m_ds.value(QStringLiteral("JAK_TRIDA")).toString());
    QImage img;
    const QByteArray own = m_ds.value(QStringLiteral("Pict")).toByteArray();
    if (!own.isEmpty())
        img = QImage::fromData(own);
    if (img.isNull() && !m_pictureName.isEmpty()) {
        static bool told = false;
        if (!pictureLibraryAvailable()) {
            if (!told) {
                told = true;
                warn(this, missingLibraryText());
            }
        } else {
            img = standardPicture(m_pictureName);
        }
    }
    m_shownPicture = img;
    showPictureFrame(!img.isNull());
    if (img.isNull()) {
        m_picture->clear();
        m_picture->setText(QStringLiteral("Bez obrázku"));
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(
        img.scaled(kPictureWidth, kPictureHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TfVazaci::TypeButtonClick(int typ)
{
    if (inserting()) {
        m_ds.setFieldValue(QStringLiteral("TYP"), typ);
        m_ds.setFieldValue(QStringLiteral("POPIS"), m_ds.value(QStringLiteral("Nazev_t")));
        m_binder.loadField(QStringLiteral("POPIS"));
        if (m_kind.focusDiameter)
            if (QWidget *w = m_binder.widgetOf(QStringLiteral("PRUMER")))
                w->setFocus();
    }
    if (QToolButton *b = typeButton(typ))
        b->setChecked(true);
    refreshPicture();
}

void TfVazaci::runLookup(int trigger)
{
    if (!(m_kind.lookup & trigger) || !m_ds.isEditing())
        return;
    try {
        if (lookupCapacity(m_dm.Nosnosti, m_ds))
            for (const char *f : {"NOSNOST_1", "NOSNOST_2", "NOSNOST_3"})
                m_binder.loadField(QString::fromLatin1(f));
    } catch (const Error &e) {
        showError(this, e.userText());
    }
}

bool TfVazaci::eventFilter(QObject *o, QEvent *e)
{
    auto *w = qobject_cast<QWidget *>(o);
    if (w && qobject_cast<QLineEdit *>(w) && w->parentWidget() && qobject_cast<QComboBox *>(w->parentWidget()))
        w = w->parentWidget();   // the edit of a combo box stands for the box
    if (w && e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        const QString field = m_binder.fieldOf(w);
        if (k->key() == Qt::Key_Delete && (k->modifiers() & Qt::ControlModifier) && isDateField(field)) {
            if (auto *le = qobject_cast<QLineEdit *>(w))
                le->clear();
            return true;
        }
    }
    if (w && e->type() == QEvent::FocusOut && !m_closing) {
        auto *fe = static_cast<QFocusEvent *>(e);
        // a popup of the same combo box is not leaving it
        if (fe->reason() != Qt::PopupFocusReason && !m_binder.fieldOf(w).isEmpty())
            QMetaObject::invokeMethod(this, [this, w = QPointer<QWidget>(w)] {
                if (w)
                    fieldLeft(w);
            }, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(o, e);
}

void TfVazaci::leaveField(const QString &field)
{
    if (QWidget *w = m_binder.widgetOf(field))
        fieldLeft(w);
}

void TfVazaci::fieldLeft(QWidget *w)
{
    if (m_inFieldLeft || m_closing)
        return;
    m_inFieldLeft = true;
    const QString field = m_binder.fieldOf(w);
    bool ok = false;
    try {
        ok = m_binder.commitWidget(w, this);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    m_inFieldLeft = false;
    if (ok)
        afterFieldChange(field);
}

void TfVazaci::afterFieldChange(const QString &field)
{
    const QString f = field.toUpper();
    if (f == QLatin1String("DAT_VYROBY"))
        DatVyrExit();
    else if (f == QLatin1String("DAT_POSL_1"))
        PosledniExit(Schedule::regular());
    else if (f == QLatin1String("DAT_POSL_3"))
        PosledniExit(Schedule::thorough());
    else if (f == QLatin1String("PERIODA1") && m_kind.recordOnPeriodExit)
        PosledniExit(Schedule::regular());
    else if (f == QLatin1String("PERIODA3") && m_kind.recordOnPeriodExit)
        PosledniExit(Schedule::thorough());
    else if (f == QLatin1String("PRUMER"))
        runLookup(LookupOnDiameterOrClass);
    else if (f == QLatin1String("JAK_TRIDA")) {
        runLookup(LookupOnDiameterOrClass | LookupOnClass);
        refreshPicture();
    }
}

void TfVazaci::DatVyrExit()
{
    if (!m_ds.isEditing() || !m_ds.value(QStringLiteral("DAT_PROVOZ")).isNull())
        return;
    const QVariant vyr = m_ds.value(QStringLiteral("DAT_VYROBY"));
    m_ds.setFieldValue(QStringLiteral("DAT_PROVOZ"), vyr.isNull() ? QVariant(m_dm.today()) : vyr);
    m_binder.loadField(QStringLiteral("DAT_PROVOZ"));
}

void TfVazaci::saveHandoverPicture()
{
    tz::rep::setHandoverPicture(QStringLiteral("Rx.bmp"), m_shownPicture);
}

void TfVazaci::PosledniExit(const Schedule &s)
{
    if (!m_ds.isEditing())
        return;
    // the period first: a period below one month is refused before anything is stored
    const QString problem = periodProblem(m_ds.value(s.period));
    if (!problem.isEmpty()) {
        if (QWidget *w = m_binder.widgetOf(s.period))
            w->setFocus();
        warn(this, problem);
        return;
    }
    try {
        // a new accessory is stored first, so that its inspection refers to it
        if (inserting()) {
            if (!commitAll())
                return;
            m_ds.setFieldValue(QStringLiteral("DRUH"), m_kind.letter);
        }
        m_recorder.prepareRecord();
        if (m_recorder.changed(s)) {
            const bool partner = m_dm.partnerMode;
            Dataset &hist = partner ? m_dm.Prubeh_rov : m_dm.PrubehRev;
            hist.close();
            m_recorder.startInspection(hist, s);
            runHistoryWindow(partner);
        }
        m_recorder.updateNextDate(s);
        m_binder.loadField(s.next);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    if (!inserting()) {
        m_typePanel->setVisible(false);
        m_history->setVisible(true);
        m_scroll->setFixedHeight(420);
    }
}

void TfVazaci::PrubehrevClick()
{
    if (inserting())
        return;
    if (!commitAll())
        return;
    const bool partner = m_dm.partnerMode;
    try {
        if (partner) {
            m_dm.Prubeh_rov.close();
            m_dm.Prubeh_rov.open();
        }
        runHistoryWindow(partner);
    } catch (const Error &e) {
        showError(this, e.userText());
        showHistoryRows();
    }
}

void TfVazaci::runHistoryWindow(bool partner)
{
    saveHandoverPicture();
    {
        THistoryWindow w(m_dm, partner, this);
        w.printProtocol = [this, &w](int tag) {
            if (protocolPrinter())
                protocolPrinter()(*this, w, tag);
        };
        if (execHistory)
            execHistory(w);
        else
            w.exec();
    }
    // the card's grid shows the history as stored now
    if (partner)
        m_dm.Prubeh_rov.close();
    m_dm.PrubehRev.close();
    showHistoryRows();
    offerNewerInspections();
}

void TfVazaci::offerNewerInspections()
{
    // an inspection typed in the history window that is newer than the card's
    // last date would otherwise leave the item due without the user knowing why
    for (const Schedule &s : {Schedule::regular(), Schedule::thorough()}) {
        if (!m_binder.widgetOf(s.last))
            continue;
        try {
            const std::optional<QDate> newer = m_recorder.newerStoredInspection(s);
            if (!newer)
                continue;
            const bool thorough = s.type == Schedule::thorough().type;
            const QString what = thorough ? QStringLiteral("důkladná prohlídka") : QStringLiteral("prohlídka");
            const QDate last = m_ds.value(s.last).toDate();
            const QString question = last.isValid()
                ? QStringLiteral("V průběhu revizí je zapsána %1 ze dne %2, novější než poslední %1 na kartě (%3).\n\n"
                                 "Převzít ji jako poslední a vypočítat příští termín?")
                      .arg(what, tz::formatDate(*newer), tz::formatDate(last))
                : QStringLiteral("V průběhu revizí je zapsána %1 ze dne %2; karta poslední %1 nemá.\n\n"
                                 "Převzít ji jako poslední a vypočítat příští termín?")
                      .arg(what, tz::formatDate(*newer));
            if (!ask(this, question, QStringLiteral("Informace")))
                continue;
            m_recorder.adoptLastDate(s, *newer);
            m_binder.loadField(s.last);
            m_binder.loadField(s.next);
        } catch (const Error &e) {
            showError(this, e.userText());
        }
    }
}

void TfVazaci::ZmenitObrazekClick(const QString &file)
{
    if (chooseOwnPicture(this, m_ds, file))
        refreshPicture();
}

void TfVazaci::VratitObrazekClick()
{
    try {
        if (!commitAll())
            return;
        if (!m_ds.isEditing())
            m_ds.edit();
        m_ds.setFieldValue(QStringLiteral("Pict"), QVariant());
        if (inserting())
            m_ds.setFieldValue(QStringLiteral("DRUH"), m_kind.letter);
        const bool wasNew = inserting();
        m_ds.post();
        if (wasNew)
            m_ds.edit();   // the card goes on editing the stored accessory
        m_recorder.remember();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    refreshPicture();
}

bool TfVazaci::commitAll()
{
    if (!m_ds.isEditing()) {
        // edits typed into a browsing row put it into edit state first
        return m_binder.commitEach(this);
    }
    return m_binder.commit(this);
}

void TfVazaci::OkbtnClick()
{
    m_closing = true;
    try {
        if (!commitAll()) {
            m_closing = false;
            return;
        }
        if (inserting())
            m_ds.setFieldValue(QStringLiteral("DRUH"), m_kind.letter);
        for (const Schedule &s : {Schedule::regular(), Schedule::thorough()}) {
            const QString problem = periodProblem(m_ds.value(s.period));
            if (!problem.isEmpty()) {
                if (QWidget *w = m_binder.widgetOf(s.period))
                    w->setFocus();
                warn(this, problem);
                m_closing = false;
                return;
            }
        }
        m_ds.post();
    } catch (const Error &e) {
        m_closing = false;
        showError(this, e.userText());
        return;
    }
    done(1);
}

void TfVazaci::CancelbtnClick()
{
    m_closing = true;
    // a new card that was never stored leaves nothing behind; a card stored by
    // an inspection keeps the accessory and that inspection and drops later changes
    if (m_ds.isEditing())
        m_ds.cancel();
    m_shownPicture = QImage();
    done(2);
}

void TfVazaci::reject()
{
    if (!m_closing)
        CancelbtnClick();
    else
        QDialog::reject();
}

void registerAccessoryForms()
{
#ifdef TZ_HAVE_REPORT_DATA
    if (!TfVazaci::protocolPrinter())
        TfVazaci::protocolPrinter() = printInspectionProtocol;
    if (!TfVazaci::cardPrinter())
        TfVazaci::cardPrinter() = printEvidenceCard;
#endif
    for (const AccessoryKind &k : accessoryKinds()) {
        const QString letter = k.letter;
        tz::gui::registerRecordForm(k.formClass, [letter](tz::db::TDM &dm, const tz::db::OpenTarget &, bool, QWidget *parent) {
            return new TfVazaci(dm, *kindByLetter(letter), parent);
        });
    }
}

} // namespace tz::acc
