#include "gui/equipmentcard.h"

#include "codelistcombos.h"
#include "pictures.h"
#include "prompts.h"
#include "recordforms.h"
#include "sestava.h"

#include <QButtonGroup>
#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>

using tz::db::Dataset;
using tz::db::Error;
using tz::db::Field;
using tz::db::FieldType;
using namespace tz::gui;

namespace tz::eq {

namespace {

constexpr int kPictureSize = 120;
const char *const kRope = "lanový";
const char *const kChain = "řetězový";

// Captions of the fields every card shows in the same words.
QString generalCaption(const QString &field)
{
    static const QMap<QString, QString> captions = {
        {QStringLiteral("Evid_C"), QStringLiteral("Evidenční číslo")},
        {QStringLiteral("Invent_C"), QStringLiteral("Inventární číslo")},
        {QStringLiteral("Vyr_C"), QStringLiteral("Výrobní číslo")},
        {QStringLiteral("C_Dokumentace"), QStringLiteral("Č. dokumentace")},
        {QStringLiteral("Typ_J"), QStringLiteral("Typ jeřábu")},
        {QStringLiteral("Druh_Pohonu"), QStringLiteral("Druh pohonu")},
        {QStringLiteral("Rok_vyroby"), QStringLiteral("Rok výroby")},
        {QStringLiteral("Vyrobce"), QStringLiteral("Výrobce")},
        {QStringLiteral("Dodavatel"), QStringLiteral("Dodavatel")},
        {QStringLiteral("Vyska_Zdvihu"), QStringLiteral("Výška zdvihu")},
        {QStringLiteral("Oznaceni"), QStringLiteral("Označení jeřábu - typ")},
        {QStringLiteral("Zakl_nosnost"), QStringLiteral("Nosnost v t")},
        {QStringLiteral("Ovladani"), QStringLiteral("Ovládání")},
        {QStringLiteral("Uchopeni"), QStringLiteral("Uchopení břemene")},
        {QStringLiteral("Skupina"), QStringLiteral("Skupina")},
        {QStringLiteral("Prov_Skup_Zar"), QStringLiteral("Prov. skupina")},
        {QStringLiteral("omezp"), QStringLiteral("Omez. podm.")},
        {QStringLiteral("Max_nosnost"), QStringLiteral("Max. nosnost v kg")},
        {QStringLiteral("Max_vylozeni"), QStringLiteral("Max. vyložení v m")},
        {QStringLiteral("Rozvor"), QStringLiteral("Rozvor")},
        {QStringLiteral("Rozpeti"), QStringLiteral("Rozpětí")},
        {QStringLiteral("DelkaDrahy"), QStringLiteral("Délka dráhy")},
        {QStringLiteral("Pojezd"), QStringLiteral("Pojezd (m/s)")},
        {QStringLiteral("SPZ"), QStringLiteral("SPZ")},
        {QStringLiteral("Podvozek"), QStringLiteral("Podvozek")},
        {QStringLiteral("Vyloznik"), QStringLiteral("Typ výložníku")},
        {QStringLiteral("Typ_Zar"), QStringLiteral("Počet sloupů")},
        {QStringLiteral("PocetKladkostroju"), QStringLiteral("Počet zdvihů")},
        {QStringLiteral("Provozovatel"), QStringLiteral("Majitel zařízení")},
        {QStringLiteral("Provoz"), QStringLiteral("Provoz")},
        {QStringLiteral("Umisteni1"), QStringLiteral("Umístění 1")},
        {QStringLiteral("Umisteni2"), QStringLiteral("Umístění 2")},
        {QStringLiteral("Udrzba"), QStringLiteral("Údržba")},
        {QStringLiteral("RevTechnik"), QStringLiteral("Revizní technik")},
        {QStringLiteral("ProvTechnik"), QStringLiteral("Provozní technik")},
        {QStringLiteral("PoverOsoba"), QStringLiteral("Pověřená osoba")},
        {QStringLiteral("Dat_overzk"), QStringLiteral("Dat ověř. zk.")},
    };
    return captions.value(field, field);
}

QString generalHint(const QString &field)
{
    static const QMap<QString, QString> hints = {
        {QStringLiteral("Zakl_nosnost"), QStringLiteral("Nosnost jeřábu (např. 80+40t nebo 2x40t)")},
        {QStringLiteral("Uchopeni"), QStringLiteral("Klasifikace jeřábu podle konstrukce prostředku pro uchopení břemene.")},
        {QStringLiteral("Skupina"), QStringLiteral("Skupina jeřábu dle ČSN 27 0142 (I - IV)")},
        {QStringLiteral("Prov_Skup_Zar"), QStringLiteral("Provozní skupina dle ČSN 27 0103 (J1 - J6)")},
        {QStringLiteral("omezp"), QStringLiteral("Projektované omezující podmínky dle ČSN ISO 12482-1")},
        {QStringLiteral("Dat_overzk"), QStringLiteral("Datum ověřovací zkoušky")},
        {QStringLiteral("Int_Revize"), QStringLiteral("Interval provádění revizí (stanovuje se podle provozní skupiny popř. skupiny)")},
        {QStringLiteral("Int_RevZk"),
         QStringLiteral("Interval provádění revizních zkoušek (stanovuje se podle provozní skupiny popř. skupiny)")},
        {QStringLiteral("Int_Inspekce"),
         QStringLiteral("Interval provádění inspekcí (stanovuje se podle provozní skupiny popř. skupiny)")},
    };
    return hints.value(field);
}

// The fields of the identification block in the order the card shows them.
const QStringList &identificationFields()
{
    static const QStringList fields = {
        QStringLiteral("Evid_C"),       QStringLiteral("Invent_C"),     QStringLiteral("Vyr_C"),
        QStringLiteral("C_Dokumentace"), QStringLiteral("Typ_J"),       QStringLiteral("Oznaceni"),
        QStringLiteral("Druh_Pohonu"),  QStringLiteral("Ovladani"),     QStringLiteral("Rok_vyroby"),
        QStringLiteral("Vyrobce"),      QStringLiteral("Dodavatel"),    QStringLiteral("Zakl_nosnost"),
        QStringLiteral("Vyska_Zdvihu"), QStringLiteral("Uchopeni"),     QStringLiteral("Skupina"),
        QStringLiteral("Prov_Skup_Zar"), QStringLiteral("omezp"),       QStringLiteral("Max_nosnost"),
        QStringLiteral("Max_vylozeni"), QStringLiteral("Rozvor"),       QStringLiteral("Rozpeti"),
        QStringLiteral("DelkaDrahy"),   QStringLiteral("Pojezd"),       QStringLiteral("SPZ"),
        QStringLiteral("Podvozek"),     QStringLiteral("Vyloznik"),     QStringLiteral("Typ_Zar")};
    return fields;
}

int codeListTag(const QString &field)
{
    static const QMap<QString, int> tags = {
        {QStringLiteral("Vyrobce"), 3},   {QStringLiteral("Dodavatel"), 4}, {QStringLiteral("Umisteni1"), 5},
        {QStringLiteral("Umisteni2"), 6}, {QStringLiteral("Provozovatel"), 7}, {QStringLiteral("Provoz"), 8},
        {QStringLiteral("Udrzba"), 9}};
    return tags.value(field, 0);
}

bool isDateField(const Field *f)
{
    return f && f->type() == FieldType::Date;
}

QString hoistField(int block, const char *suffix)
{
    return QStringLiteral("Kl%1_%2").arg(block).arg(QLatin1String(suffix));
}

} // namespace

// --- the note window --------------------------------------------------------

TFPoznamka::TFPoznamka(const QString &text, QWidget *parent) : QDialog(parent), m_remembered(text)
{
    setObjectName(QStringLiteral("TFPoznamka"));
    setWindowTitle(QStringLiteral("Poznámky "));
    auto *lay = new QVBoxLayout(this);
    m_memo = new QPlainTextEdit;
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setPlainText(text);
    lay->addWidget(m_memo);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("Okbtn"));
    auto *cancel = new QPushButton(QStringLiteral("Zrušit "));
    cancel->setObjectName(QStringLiteral("Cancelbtn"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TFPoznamka::OkClick);
    connect(cancel, &QPushButton::clicked, this, &TFPoznamka::ZrusitClick);
    resize(520, 360);
}

QString TFPoznamka::text() const
{
    return m_memo->toPlainText();
}

void TFPoznamka::OkClick()
{
    done(1);
}

void TFPoznamka::ZrusitClick()
{
    m_memo->setPlainText(m_remembered);
    done(2);
}

void TFPoznamka::reject()
{
    ZrusitClick();
}

// --- the history grid -------------------------------------------------------

namespace {

const QStringList &historyFields()
{
    static const QStringList f = {QStringLiteral("Datum"),   QStringLiteral("Typ_look"), QStringLiteral("Zpusobile_Look"),
                                  QStringLiteral("Provedl"), QStringLiteral("zapis"),    QStringLiteral("Platnost"),
                                  QStringLiteral("Priloha")};
    return f;
}

const QStringList &historyTitles()
{
    static const QStringList t = {QStringLiteral("Datum"),   QStringLiteral("Typ"),          QStringLiteral("Vyhověl"),
                                  QStringLiteral("Provedl"), QStringLiteral("Číslo zápisu"), QStringLiteral("Platnost"),
                                  QStringLiteral("Přílohy")};
    return t;
}

} // namespace

void InspectionHistoryModel::reload(Dataset &r)
{
    beginResetModel();
    m_rows.clear();
    if (r.isOpen()) {
        const int n = r.recordCount();
        const Field *id = r.findField(QStringLiteral("iD"));
        for (int i = 0; i < n; ++i) {
            Row row;
            row.id = id ? r.rowValue(i, id->column()).toInt() : 0;
            for (const QString &name : historyFields()) {
                const Field *f = r.findField(name);
                if (!f) {
                    row.texts << QString();
                    continue;
                }
                const QVariant v = r.rowValue(i, f->column());
                if (name == QLatin1String("Priloha"))
                    row.texts << (v.toInt() > 0 ? QStringLiteral("Ano") : QString());
                else
                    row.texts << Field::textOf(v, f->type(), true);
            }
            m_rows << row;
        }
    }
    endResetModel();
}

int InspectionHistoryModel::inspectionAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].id : 0;
}

int InspectionHistoryModel::rowOf(int inspectionId) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == inspectionId)
            return i;
    return -1;
}

int InspectionHistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int InspectionHistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(historyFields().size());
}

QVariant InspectionHistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_rows[index.row()].texts.value(index.column());
    if (role == Qt::TextAlignmentRole) {
        const QString f = historyFields().value(index.column());
        const bool right = f == QLatin1String("Datum") || f == QLatin1String("Platnost");
        return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QVariant InspectionHistoryModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal && role == Qt::DisplayRole)
        return historyTitles().value(section);
    return QAbstractTableModel::headerData(section, o, role);
}

// --- the card ---------------------------------------------------------------

std::function<void(tz::db::TDM &, int, QWidget *)> &TfZdvihaci::inspectionWindow()
{
    static std::function<void(tz::db::TDM &, int, QWidget *)> window;
    return window;
}

TfZdvihaci::TfZdvihaci(tz::db::TDM &dm, const EquipmentKind &kind, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_kind(kind), m_ds(dm.ZZBasicView), m_binder(&dm.ZZBasicView), m_rules(dm)
{
    // FormCreate
    setObjectName(kind.formClass);
    setWindowTitle(QStringLiteral("Zdvihací zařízení"));
    auto *lay = new QVBoxLayout(this);
    m_scroll = new QScrollArea;
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(buildFields());
    lay->addWidget(m_scroll, 1);
    lay->addWidget(buildHistory());

    auto *buttons = new QHBoxLayout;
    // attachments and the evidence card come with their windows; until then
    // the card does not offer them
    auto *prilohy = new QPushButton(QStringLiteral("Přílohy ..."));
    prilohy->setObjectName(QStringLiteral("SpeedButton2"));
    prilohy->setVisible(false);
    auto *poznamka = new QPushButton(QStringLiteral("Poznámka"));
    poznamka->setObjectName(QStringLiteral("SBPoznamka"));
    poznamka->setAutoDefault(false);
    connect(poznamka, &QPushButton::clicked, this, &TfZdvihaci::DBMemo2DblClick);
    auto *karta = new QPushButton(QStringLiteral("Náhled  e.karty"));
    karta->setObjectName(QStringLiteral("SpeedButton3"));
    karta->setVisible(false);
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("_040SpeedButton21"));
    ok->setAutoDefault(false);
    auto *cancel = new QPushButton(QStringLiteral("Zrušit"));
    cancel->setObjectName(QStringLiteral("_097SpeedButton22"));
    cancel->setAutoDefault(false);
    buttons->addWidget(prilohy);
    buttons->addWidget(poznamka);
    buttons->addWidget(karta);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    lay->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TfZdvihaci::_040SpeedButton21Click);
    connect(cancel, &QPushButton::clicked, this, &TfZdvihaci::_097SpeedButton22Click);

    bindCodeListCombos(this, *dm.db(), tz::codelists::FormKind::Equipment);
    loadRecord();
    m_rules.remember();
    resize(1180, 980);
}

TfZdvihaci::~TfZdvihaci() = default;

QLabel *TfZdvihaci::labelOf(const QString &field) const
{
    for (auto it = m_labels.begin(); it != m_labels.end(); ++it)
        if (it.key().compare(field, Qt::CaseInsensitive) == 0)
            return it.value();
    return nullptr;
}

QWidget *TfZdvihaci::bindField(const QString &field, const QString &label, QWidget *w, const QString &hint)
{
    const Field *f = m_ds.findField(field);
    if (!w) {
        auto *e = new QLineEdit;
        if (isDateField(f))
            e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 16);
        w = e;
    }
    w->setObjectName(field);
    if (!label.isEmpty()) {
        auto *l = new QLabel(label);
        l->setBuddy(w);
        m_labels.insert(field, l);
        if (!hint.isEmpty())
            l->setToolTip(hint);
    }
    if (!hint.isEmpty())
        w->setToolTip(hint);
    m_binder.bind(w, field, label);
    w->installEventFilter(this);
    if (auto *c = qobject_cast<QComboBox *>(w); c && c->lineEdit())
        c->lineEdit()->installEventFilter(this);
    return w;
}

QComboBox *TfZdvihaci::pickList(const QString &field, const QStringList &items, bool listOnly)
{
    auto *c = new QComboBox;
    c->setEditable(!listOnly);
    if (!listOnly)
        c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    if (const int tag = codeListTag(field))
        c->setProperty("tag", tag);
    (void)field;
    return c;
}

QWidget *TfZdvihaci::buildFields()
{
    auto *inner = new QWidget;
    auto *v = new QVBoxLayout(inner);
    v->setContentsMargins(0, 0, 4, 0);
    v->addWidget(buildIdentification());
    auto *row = new QHBoxLayout;
    row->addWidget(buildOperation(), 1);
    row->addWidget(buildDates());
    v->addLayout(row);
    v->addWidget(buildHoists());
    v->addStretch(1);
    return inner;
}

QWidget *TfZdvihaci::buildIdentification()
{
    auto *box = new QGroupBox(m_kind.heading);
    box->setObjectName(QStringLiteral("PanelIdentifikace"));
    // the heading stands out, the fields keep the card's font
    box->setStyleSheet(QStringLiteral("QGroupBox#PanelIdentifikace { font-weight: bold; }"));
    auto *outer = new QHBoxLayout(box);
    auto *gridHost = new QWidget;
    auto *g = new QGridLayout(gridHost);
    g->setContentsMargins(0, 0, 0, 0);
    constexpr int perRow = 3;
    for (int c = 0; c < perRow; ++c)
        g->setColumnStretch(c * 2 + 1, 1);
    int n = 0;
    for (const QString &field : identificationFields()) {
        if (!m_kind.shows(field))
            continue;
        const QString label = m_kind.captionOf(field, generalCaption(field));
        QString hint = m_kind.hints.value(field, generalHint(field));
        QWidget *w = nullptr;
        if (field == QLatin1String("Typ_J")) {
            if (hint.isEmpty())
                hint = m_kind.subKindHint;
            auto *c = pickList(field, m_kind.subKinds, false);
            if (m_kind.pictureFollowsList)
                connect(c, &QComboBox::activated, this, [this] { SubKindChange(); });
            w = c;
        } else if (m_kind.choices.contains(field) || codeListTag(field)) {
            w = pickList(field, m_kind.choices.value(field), isListOnlyField(field));
        }
        w = bindField(field, label, w, hint);
        w->setMinimumWidth(120);
        g->addWidget(m_labels.value(field), n / perRow, (n % perRow) * 2);
        g->addWidget(w, n / perRow, (n % perRow) * 2 + 1);
        ++n;
    }
    outer->addWidget(gridHost, 1);

    m_picture = new QLabel;
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setFont(font());
    m_picture->setFixedSize(kPictureSize, kPictureSize);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setContextMenuPolicy(Qt::CustomContextMenu);
    m_picture->setToolTip(QStringLiteral("Pravým tlačítkem myši lze obrázek změnit"));
    connect(m_picture, &QLabel::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Změnit obrázek"), this, [this] { _113Nastobrzek1Click(); });
        menu.addAction(QStringLiteral("Vrátit standartní obrázek"), this, [this] { _123Vrtitstandartnobrzek1Click(); });
        menu.exec(m_picture->mapToGlobal(pos));
    });
    auto *pv = new QVBoxLayout;
    pv->addWidget(m_picture);
    pv->addStretch();
    outer->addLayout(pv);
    return box;
}

QWidget *TfZdvihaci::buildOperation()
{
    auto *box = new QGroupBox(QStringLiteral("Provoz a odpovědné osoby"));
    box->setObjectName(QStringLiteral("PanelProvoz"));
    auto *g = new QGridLayout(box);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    int n = 0;
    for (const char *name : {"Provozovatel", "Provoz", "Umisteni1", "Umisteni2", "Udrzba", "RevTechnik", "ProvTechnik",
                             "PoverOsoba"}) {
        const QString field = QString::fromLatin1(name);
        // the person fields take typed names; the others offer their code list
        QWidget *w = bindField(field, generalCaption(field), pickList(field, {}, false));
        w->setMinimumWidth(120);
        g->addWidget(m_labels.value(field), n / 2, (n % 2) * 2);
        g->addWidget(w, n / 2, (n % 2) * 2 + 1);
        ++n;
    }
    const int r = n / 2;
    m_note = new QPlainTextEdit;
    m_note->setToolTip(QStringLiteral("Dvojklikem otevřete okno poznámky"));
    m_note->setFixedHeight(m_note->fontMetrics().lineSpacing() * 3 + 12);
    bindField(QStringLiteral("Poznamka"), QStringLiteral(" Poznámka :  "), m_note);
    m_note->viewport()->installEventFilter(this);
    QLabel *l = m_labels.value(QStringLiteral("Poznamka"));
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    g->addWidget(l, r, 0);
    g->addWidget(m_note, r, 1, 1, 3);
    g->setRowStretch(r + 1, 1);
    return box;
}

QWidget *TfZdvihaci::buildDates()
{
    auto *box = new QGroupBox(QStringLiteral("Termíny"));
    box->setObjectName(QStringLiteral("PanelTerminy"));
    auto *g = new QGridLayout(box);
    const QStringList heads = {QStringLiteral("Poslední"), QStringLiteral("Interval "), QStringLiteral("Příští")};
    for (int c = 0; c < heads.size(); ++c) {
        auto *h = new QLabel(heads[c]);
        h->setAlignment(Qt::AlignCenter);
        g->addWidget(h, 0, c + 1);
    }
    int r = 1;
    for (const CheckInfo &c : checks()) {
        if (c.tag == TagZamereni && !m_kind.hasTrack)
            continue;
        const QString rowLabel = c.tag == TagZamereni ? QStringLiteral("Zaměření dráhy") : c.label;
        auto *l = new QLabel(rowLabel);
        g->addWidget(l, r, 0);
        QWidget *last = bindField(c.lastField, {}, nullptr, {});
        m_binder.setCaption(c.lastField, rowLabel + QStringLiteral(" – poslední"));
        m_labels.insert(c.lastField, l);
        last->setProperty("check", c.tag);
        auto *ic = pickList(c.intervalField, c.intervalChoices, false);
        ic->setFixedWidth(ic->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 40);
        QWidget *interval = bindField(c.intervalField, {}, ic, generalHint(c.intervalField));
        m_binder.setCaption(c.intervalField, rowLabel + QStringLiteral(" – interval"));
        interval->setProperty("check", c.tag);
        QWidget *next = bindField(c.nextField, {}, nullptr, {});
        m_binder.setCaption(c.nextField, rowLabel + QStringLiteral(" – příští"));
        g->addWidget(last, r, 1);
        g->addWidget(interval, r, 2);
        g->addWidget(next, r, 3);
        ++r;
    }
    const QString f = QStringLiteral("Dat_overzk");
    QWidget *overzk = bindField(f, generalCaption(f), nullptr, generalHint(f));
    g->addWidget(m_labels.value(f), r, 0);
    g->addWidget(overzk, r, 1);
    g->setRowStretch(r + 1, 1);
    return box;
}

QWidget *TfZdvihaci::buildHoists()
{
    auto *host = new QWidget;
    host->setObjectName(QStringLiteral("PanelZdvihy"));
    auto *v = new QVBoxLayout(host);
    v->setContentsMargins(0, 0, 0, 0);
    auto *top = new QHBoxLayout;
    const QString count = QStringLiteral("PocetKladkostroju");
    if (m_kind.shows(count)) {
        m_hoistCount = pickList(count, m_kind.choices.value(count), true);
        bindField(count, generalCaption(count), m_hoistCount);
        top->addWidget(m_labels.value(count));
        top->addWidget(m_hoistCount);
        connect(m_hoistCount, &QComboBox::activated, this, [this] { ZmenPocetZdvihadel(); });
    }
    const QString show = QStringLiteral("ZobrazitKl");
    if (m_kind.shows(show)) {
        m_showHoists = new QCheckBox(m_kind.showHoistsCaption);
        bindField(show, {}, m_showHoists);
        m_binder.setCaption(show, m_kind.showHoistsCaption);
        top->addWidget(m_showHoists);
        connect(m_showHoists, &QCheckBox::clicked, this, [this] { ZobrazZdvihadla(); });
    }
    top->addStretch();
    v->addLayout(top);
    auto *blocks = new QHBoxLayout;
    for (int b = 1; b <= m_kind.hoistBlocks; ++b) {
        Hoist h;
        h.box = new QGroupBox(QStringLiteral("Zdvih %1").arg(b));
        h.box->setObjectName(QStringLiteral("PanelZdvih%1").arg(b));
        auto *g = new QGridLayout(h.box);
        g->setColumnStretch(1, 1);
        g->setColumnStretch(3, 1);
        auto *typ = new QWidget;
        h.typeField = hoistField(b, "typ");
        typ->setObjectName(h.typeField);
        auto *tl = new QHBoxLayout(typ);
        tl->setContentsMargins(0, 0, 0, 0);
        h.rope = new QRadioButton(QString::fromUtf8(kRope));
        h.chain = new QRadioButton(QString::fromUtf8(kChain));
        auto *group = new QButtonGroup(h.box);
        group->addButton(h.rope, 0);
        group->addButton(h.chain, 1);
        tl->addWidget(h.rope);
        tl->addWidget(h.chain);
        tl->addStretch();
        g->addWidget(new QLabel(QStringLiteral("Typ")), 0, 0);
        g->addWidget(typ, 0, 1, 1, 3);
        const int block = b;
        connect(group, &QButtonGroup::idClicked, this, [this, block](int id) {
            const Hoist &hh = m_hoists[block - 1];
            const QString value = QString::fromUtf8(id == 0 ? kRope : kChain);
            try {
                if (m_ds.value(hh.typeField).toString() != value) {
                    if (!m_ds.isEditing())
                        m_ds.edit();
                    m_ds.setFieldValue(hh.typeField, value);
                }
            } catch (const Error &e) {
                showError(this, e.userText());
            }
            RadioGroupChange(block);
        });
        // texts across the block, numbers two to a row
        auto add = [&](const char *suffix, const QString &label, int row, int col, QWidget *w = nullptr) {
            const QString f = hoistField(b, suffix);
            // captions in messages name the hoist, the labels on the block do not need to
            QWidget *bound = bindField(f, label, w);
            m_binder.setCaption(f, QStringLiteral("Zdvih %1 – %2").arg(b).arg(label));
            QLabel *l = m_labels.value(f);
            g->addWidget(l, row, col * 2);
            if (col == 0 && (QLatin1String(suffix) == QLatin1String("Oznaceni") || QLatin1String(suffix) == QLatin1String("Vyrobce")))
                g->addWidget(bound, row, 1, 1, 3);
            else
                g->addWidget(bound, row, col * 2 + 1);
            bound->setMinimumWidth(60);
            return l;
        };
        add("Oznaceni", m_kind.hoistDesignation, 1, 0);
        add("Vyrobce", QStringLiteral("Výrobce"), 2, 0, pickList(QStringLiteral("Vyrobce"), {}, false));
        add("Vyr_C", QStringLiteral("Výrobní číslo"), 3, 0);
        add("RV", QStringLiteral("Rok výroby"), 3, 1);
        add("Nosnost", QStringLiteral("Nosnost kg"), 4, 0);
        add("Hmotnost", QStringLiteral("Hmotnost kg"), 4, 1);
        h.diameter = add("Prumer", QStringLiteral("Průměr lana (mm)"), 5, 0);
        h.length = add("Delka", QStringLiteral("Délka lana (m)"), 5, 1);
        m_hoists << h;
        blocks->addWidget(h.box, 1);
    }
    if (m_kind.hoistBlocks > 0)
        blocks->addStretch(3 - m_kind.hoistBlocks);
    v->addLayout(blocks);
    return host;
}

QWidget *TfZdvihaci::buildHistory()
{
    auto *box = new QGroupBox(QStringLiteral("  Průběh revizí a zkoušek"));
    box->setObjectName(QStringLiteral("PanelPrubeh"));
    auto *h = new QHBoxLayout(box);
    m_historyGrid = new QTableView;
    m_historyGrid->setObjectName(QStringLiteral("DbGridVamel1"));
    m_historyModel = new InspectionHistoryModel(this);
    m_historyGrid->setModel(m_historyModel);
    m_historyGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_historyGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_historyGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_historyGrid->verticalHeader()->hide();
    m_historyGrid->horizontalHeader()->setStretchLastSection(true);
    m_historyGrid->setFixedHeight(120);
    m_historyGrid->setToolTip(QStringLiteral("Dvojklikem nebo klávesou Enter otevřete záznam o revizi či inspekci"));
    m_historyGrid->installEventFilter(this);
    connect(m_historyGrid, &QTableView::doubleClicked, this, [this] { DbGridVamel1DblClick(); });
    h->addWidget(m_historyGrid, 1);
    auto *side = new QVBoxLayout;
    auto *edit = new QPushButton(QStringLiteral("Opravit záznam o revizi či inspekci"));
    edit->setObjectName(QStringLiteral("SpeedButton1"));
    edit->setAutoDefault(false);
    auto *remove = new QPushButton(QStringLiteral("Odstranit záznam o revizi či inspekci"));
    remove->setObjectName(QStringLiteral("SpeedButton4"));
    remove->setAutoDefault(false);
    connect(edit, &QPushButton::clicked, this, &TfZdvihaci::DbGridVamel1DblClick);
    connect(remove, &QPushButton::clicked, this, &TfZdvihaci::SpeedButton4Click);
    // the protocol is printed from the inspection window
    auto *print = new QPushButton(QStringLiteral("Vytisknout revizní protokol"));
    print->setObjectName(QStringLiteral("SpeedButton5"));
    print->setVisible(false);
    auto *preview = new QPushButton(QStringLiteral("Náhled revizního protokol"));
    preview->setObjectName(QStringLiteral("SpeedButton6"));
    preview->setVisible(false);
    side->addWidget(edit);
    side->addWidget(remove);
    side->addWidget(print);
    side->addWidget(preview);
    side->addStretch();
    h->addLayout(side);
    return box;
}

void TfZdvihaci::loadRecord()
{
    m_inFieldLeft = true;
    m_binder.load();
    loadHoistTypes();
    m_inFieldLeft = false;
}

void TfZdvihaci::loadHoistTypes()
{
    for (int b = 1; b <= m_hoists.size(); ++b) {
        Hoist &h = m_hoists[b - 1];
        const QString v = m_ds.value(h.typeField).toString();
        auto *group = h.rope->group();
        group->setExclusive(false);
        h.rope->setChecked(v == QString::fromUtf8(kRope));
        h.chain->setChecked(v == QString::fromUtf8(kChain));
        group->setExclusive(true);
        RadioGroupChange(b);
    }
}

void TfZdvihaci::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TfZdvihaci::FormShow()
{
    try {
        if (!m_dm.zz_revize.isOpen())
            m_dm.zz_revize.open();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    refreshPicture();
    ZobrazZdvihadla();
    reloadHistory();
}

void TfZdvihaci::reloadHistory()
{
    const int keep = selectedInspection();
    try {
        if (m_dm.zz_revize.isOpen())
            m_dm.zz_revize.refresh();
        else
            m_dm.zz_revize.open();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    m_historyModel->reload(m_dm.zz_revize);
    // every column as wide as its title and its values, with room to breathe
    m_historyGrid->resizeColumnsToContents();
    QHeaderView *head = m_historyGrid->horizontalHeader();
    // (the last one takes the rest of the grid)
    for (int c = 0; c + 1 < m_historyModel->columnCount(); ++c)
        head->resizeSection(c, std::max(head->sectionSize(c), head->sectionSizeHint(c)) + 12);
    const int row = m_historyModel->rowOf(keep);
    if (m_historyModel->rowCount() > 0)
        m_historyGrid->selectRow(row >= 0 ? row : 0);
}

int TfZdvihaci::selectedInspection() const
{
    if (!m_historyGrid || !m_historyGrid->selectionModel())
        return 0;
    const QModelIndexList rows = m_historyGrid->selectionModel()->selectedRows();
    const int row = rows.isEmpty() ? m_historyGrid->currentIndex().row() : rows.first().row();
    return m_historyModel->inspectionAt(row);
}

void TfZdvihaci::refreshPicture()
{
    m_pictureName = equipmentPictureName(m_kind, m_ds.value(QStringLiteral("Typ_J")).toString());
    QImage img;
    const QByteArray own = m_ds.value(QStringLiteral("Pict")).toByteArray();
    if (!own.isEmpty())
        img = QImage::fromData(own);
    if (img.isNull()) {
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
        img.scaled(kPictureSize - 4, kPictureSize - 4, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TfZdvihaci::showPictureFrame(bool withPicture)
{
    // a white frame only around a picture; without one the place stays plain,
    // with a grey note, and keeps the menu for an own picture
    m_picture->setFrameShape(withPicture ? QFrame::Panel : QFrame::StyledPanel);
    m_picture->setFrameShadow(withPicture ? QFrame::Sunken : QFrame::Plain);
    m_picture->setStyleSheet(withPicture ? QStringLiteral("QLabel { background: white; }")
                                         : QStringLiteral("QLabel { color: palette(mid); }"));
    m_picture->setProperty("hasPicture", withPicture);
}

QGroupBox *TfZdvihaci::hoistBlock(int block) const
{
    return block >= 1 && block <= m_hoists.size() ? m_hoists[block - 1].box : nullptr;
}

int TfZdvihaci::shownHoistBlockCount() const
{
    int n = 0;
    for (const Hoist &h : m_hoists)
        if (!h.box->isHidden())
            ++n;
    return n;
}

void TfZdvihaci::ZobrazZdvihadla()
{
    const bool show = m_showHoists ? m_showHoists->isChecked() : m_ds.value(QStringLiteral("ZobrazitKl")).toBool();
    const QVariant count = m_hoistCount ? QVariant(m_hoistCount->currentIndex() >= 0 ? m_hoistCount->currentIndex() + 1 : 0)
                                        : m_ds.value(QStringLiteral("PocetKladkostroju"));
    const int n = shownHoistBlocks(m_kind, show, count);
    for (int b = 0; b < m_hoists.size(); ++b)
        m_hoists[b].box->setVisible(b < n);
}

void TfZdvihaci::ZmenPocetZdvihadel()
{
    if (m_hoistCount) {
        try {
            m_binder.commitWidget(m_hoistCount, this);
        } catch (const Error &e) {
            showError(this, e.userText());
        }
    }
    ZobrazZdvihadla();
}

void TfZdvihaci::RadioGroupChange(int block)
{
    if (block < 1 || block > m_hoists.size())
        return;
    const Hoist &h = m_hoists[block - 1];
    // rope texts unless the chain is chosen
    const bool chain = h.chain->isChecked();
    h.diameter->setText(chain ? QStringLiteral("Průměr řetězu (mm)") : QStringLiteral("Průměr lana (mm)"));
    h.length->setText(chain ? QStringLiteral("Délka řetězu (m)") : QStringLiteral("Délka lana (m)"));
    m_binder.setCaption(hoistField(block, "Prumer"), QStringLiteral("Zdvih %1 – %2").arg(block).arg(h.diameter->text()));
    m_binder.setCaption(hoistField(block, "Delka"), QStringLiteral("Zdvih %1 – %2").arg(block).arg(h.length->text()));
}

void TfZdvihaci::SubKindChange()
{
    if (QWidget *w = m_binder.widgetOf(QStringLiteral("Typ_J"))) {
        try {
            if (!m_binder.commitWidget(w, this))
                return;
        } catch (const Error &e) {
            showError(this, e.userText());
            return;
        }
    }
    refreshPicture();
}

bool TfZdvihaci::eventFilter(QObject *o, QEvent *e)
{
    if (o == m_historyGrid && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            DbGridVamel1DblClick();
            return true;
        }
        return QDialog::eventFilter(o, e);
    }
    if (m_note && o == m_note->viewport() && e->type() == QEvent::MouseButtonDblClick) {
        DBMemo2DblClick();
        return true;
    }
    auto *w = qobject_cast<QWidget *>(o);
    if (w && qobject_cast<QLineEdit *>(w) && w->parentWidget() && qobject_cast<QComboBox *>(w->parentWidget()))
        w = w->parentWidget();   // the edit of a combo box stands for the box
    if (!w || m_binder.fieldOf(w).isEmpty())
        return QDialog::eventFilter(o, e);
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Delete && (k->modifiers() & Qt::ControlModifier)
            && isDateField(m_ds.findField(m_binder.fieldOf(w)))) {
            // Ctrl+Delete empties a date
            if (auto *le = qobject_cast<QLineEdit *>(w))
                le->clear();
            return true;
        }
    }
    if ((e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) && !m_closing) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
        // a popup of the same combo box or another window is not leaving the field
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (e->type() == QEvent::FocusIn)
                fieldEntered(w);
            else
                QMetaObject::invokeMethod(this, [this, w = QPointer<QWidget>(w)] {
                    if (w)
                        fieldLeft(w);
                }, Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(o, e);
}

void TfZdvihaci::enterField(const QString &field)
{
    if (QWidget *w = m_binder.widgetOf(field))
        fieldEntered(w);
}

void TfZdvihaci::leaveField(const QString &field)
{
    if (QWidget *w = m_binder.widgetOf(field))
        fieldLeft(w);
}

void TfZdvihaci::fieldEntered(QWidget *w)
{
    const int tag = w->property("check").toInt();
    if (!tag)
        return;
    const CheckInfo *c = checkByTag(tag);
    if (!c)
        return;
    const QString field = m_binder.fieldOf(w);
    if (field.compare(c->lastField, Qt::CaseInsensitive) == 0)
        m_rules.RevizeEnter(tag);
    else if (field.compare(c->intervalField, Qt::CaseInsensitive) == 0)
        m_rules.IntervalEnter(tag);
}

void TfZdvihaci::fieldLeft(QWidget *w)
{
    if (m_inFieldLeft || m_closing)
        return;
    m_inFieldLeft = true;
    const QString field = m_binder.fieldOf(w);
    bool ok = false;
    bool changed = false;
    try {
        ok = m_binder.commitWidget(w, this, &changed);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    m_inFieldLeft = false;
    if (!ok)
        return;
    try {
        afterFieldLeft(field, changed);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
}

void TfZdvihaci::afterFieldLeft(const QString &field, bool changed)
{
    QWidget *w = m_binder.widgetOf(field);
    const int tag = w ? w->property("check").toInt() : 0;
    if (const CheckInfo *c = tag ? checkByTag(tag) : nullptr) {
        if (field.compare(c->lastField, Qt::CaseInsensitive) == 0) {
            // a new item is stored before its inspection: with everything typed so far
            if (m_ds.state() == Dataset::State::Insert && c->records && !m_binder.commit(this))
                return;
            const std::optional<NewInspection> rec = m_rules.RevizeExit(tag);
            m_binder.loadField(c->nextField);
            if (rec) {
                reloadHistory();
                openInspection(rec->id);
            }
        } else if (field.compare(c->intervalField, Qt::CaseInsensitive) == 0) {
            if (m_rules.IntervalExit(tag))
                m_binder.loadField(c->nextField);
        }
        return;
    }
    if (field == QLatin1String("Dat_overzk")) {
        if (m_rules.OverZkExit() > 0)
            reloadDates();
        return;
    }
    if (field == QLatin1String("Typ_J")) {
        refreshPicture();
        return;
    }
    // the classification proposes the default intervals when it changed
    if (!changed)
        return;
    QStringList intervals;
    for (const CheckInfo &c : checks())
        intervals << c.intervalField;
    if (field == QLatin1String("Uchopeni")) {
        if (m_rules.ComboUchopeniExit())
            reloadFields(intervals);
    } else if (field == QLatin1String("Skupina") || field == QLatin1String("omezp")) {
        auto *combo = qobject_cast<QComboBox *>(w);
        const int pos = combo ? combo->findText(combo->currentText()) : -1;
        m_rules.ComboSkupinyExit(pos);
        reloadFields(intervals << QStringLiteral("Prov_Skup_Zar"));
    } else if (field == QLatin1String("Prov_Skup_Zar")) {
        m_rules.ComboPSkupinyExit();
        reloadFields(intervals << QStringLiteral("Skupina"));
    }
}

void TfZdvihaci::reloadFields(const QStringList &fields)
{
    m_inFieldLeft = true;
    for (const QString &f : fields)
        m_binder.loadField(f);
    m_inFieldLeft = false;
}

void TfZdvihaci::reloadDates()
{
    QStringList fields{QStringLiteral("Dat_overzk")};
    for (const CheckInfo &c : checks())
        fields << c.lastField << c.intervalField << c.nextField;
    reloadFields(fields);
}

void TfZdvihaci::saveHandoverPicture()
{
    tz::rep::setHandoverPicture(QStringLiteral("Pomzz.bmp"), m_shownPicture);
}

void TfZdvihaci::openInspection(int id)
{
    if (!inspectionWindow() || id <= 0)
        return;
    saveHandoverPicture();
    try {
        if (!m_dm.zz_revize.isOpen())
            m_dm.zz_revize.open();
        m_dm.zz_revize.locate(QStringLiteral("iD"), id);
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    inspectionWindow()(m_dm, id, this);
    // the grid and the dates as the window left them
    reloadHistory();
    const int row = m_historyModel->rowOf(id);
    if (row >= 0)
        m_historyGrid->selectRow(row);
    reloadDates();
}

void TfZdvihaci::DbGridVamel1DblClick()
{
    const int id = selectedInspection();
    if (id <= 0)
        return;
    openInspection(id);
}

void TfZdvihaci::SpeedButton4Click()
{
    const int id = selectedInspection();
    if (id <= 0)
        return;
    if (!ask(this, QStringLiteral("Opravdu chcete odstranit záznam o revizi(zkoušce, inspekci)?")))
        return;
    try {
        deleteInspection(*m_dm.db(), id);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    reloadHistory();
}

void TfZdvihaci::DBMemo2DblClick()
{
    TFPoznamka w(m_note->toPlainText(), this);
    const int result = execNote ? execNote(w) : w.exec();
    if (result != 1)
        return;
    m_note->setPlainText(w.text());
    try {
        m_binder.commitWidget(m_note, this);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
}

void TfZdvihaci::_113Nastobrzek1Click(const QString &file)
{
    chooseOwnPicture(this, m_ds, file);   // the picture and hoists are shown again in any case
    refreshPicture();
    ZobrazZdvihadla();
}

void TfZdvihaci::_123Vrtitstandartnobrzek1Click()
{
    try {
        if (!commitAll())
            return;
        if (!m_ds.isEditing())
            m_ds.edit();
        m_ds.setFieldValue(QStringLiteral("Pict"), QVariant());
        // stored at once; a new item is stored as the card's own, which a cancel removes again
        if (m_ds.state() == Dataset::State::Insert) {
            m_rules.storeItem();
        } else {
            m_ds.post();
            m_rules.remember();
        }
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    refreshPicture();
    ZobrazZdvihadla();
}

bool TfZdvihaci::commitAll()
{
    if (!m_ds.isEditing())
        return m_binder.commitEach(this);   // a browsing row goes into edit state only when something changed
    return m_binder.commit(this);
}

void TfZdvihaci::_040SpeedButton21Click()
{
    m_closing = true;
    try {
        if (!commitAll()) {
            m_closing = false;
            return;
        }
        // leaving the fields seeds the next dates from the verification test
        m_rules.OverZkExit();
        m_rules.confirm();
    } catch (const Error &e) {
        m_closing = false;
        showError(this, e.userText());
        return;
    }
    done(1);
}

void TfZdvihaci::_097SpeedButton22Click()
{
    m_closing = true;
    try {
        // a new item stored for an inspection goes again with all its rows
        m_rules.cancel();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    m_shownPicture = QImage();
    done(2);
}

void TfZdvihaci::reject()
{
    if (!m_closing)
        _097SpeedButton22Click();
    else
        QDialog::reject();
}

void registerEquipmentForms()
{
    for (const EquipmentKind &k : equipmentKinds()) {
        const QString letter = k.letter;
        registerRecordForm(k.formClass, [letter](tz::db::TDM &dm, const tz::db::OpenTarget &, bool, QWidget *parent) {
            return new TfZdvihaci(dm, *equipmentKindByLetter(letter), parent);
        });
    }
}

} // namespace tz::eq
