#include "inspectionwindow.h"

#include "defectswindow.h"
#include "equipmentcard.h"
#include "inspections.h"
#include "numberingwindow.h"
#include "prompts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using tz::db::Dataset;
using tz::db::Error;
using tz::db::Params;
using namespace tz::gui;

namespace tz::eq {

namespace {

constexpr int ChoiceYes = 0, ChoiceNo = 1;
enum Written { WriteChoice, WriteValue, WriteText };

QPushButton *namedButton(const QString &caption, const QString &name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLineEdit *readOnlyEdit(const QString &text)
{
    auto *e = new QLineEdit(text);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
    e->setCursorPosition(0);
    return e;
}

QString itemText(const Dataset &item, const QString &field)
{
    const tz::db::Field *f = item.findField(field);
    return f && item.isOpen() && (item.recNo() >= 0 || item.isEditing()) ? FieldBinder::editText(f) : QString();
}

// A choice of two words for a yes/no field; none chosen while it is empty.
void showChoice(QComboBox *c, const QVariant &v)
{
    c->setCurrentIndex(v.isNull() || !v.isValid() ? -1 : (v.toBool() ? 0 : 1));
}

QVariant choiceValue(const QComboBox *c)
{
    return c->currentIndex() < 0 ? QVariant() : QVariant(c->currentIndex() == 0);
}

} // namespace

TFZZRevize::TFZZRevize(tz::db::TDM &dm, int inspectionId, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_rules(dm), m_binder(&dm.zz_revize), m_id(inspectionId)
{
    setObjectName(QStringLiteral("TFZZRevize"));
    setWindowTitle(QStringLiteral("Průběh revizí"));
    try {
        m_valid = locateInspection(inspectionId);
    } catch (const Error &e) {
        showError(this, e.userText());
        m_valid = false;
    }

    auto *lay = new QVBoxLayout(this);
    m_pages = new QStackedWidget;
    m_pages->addWidget(buildDetail());
    m_pages->addWidget(buildOverview());
    lay->addWidget(m_pages, 1);

    auto *bar = new QHBoxLayout;
    // printing the protocol and the attachments come with their own windows
    auto *tisk = namedButton(QStringLiteral("Tisk protokolu"), QStringLiteral("Tisk"));
    auto *nahled = namedButton(QStringLiteral("Náhled protokolu"), QStringLiteral("Nahled"));
    auto *typLabel = new QLabel(QStringLiteral("Typ"));
    typLabel->setObjectName(QStringLiteral("TypLabel"));
    auto *typ = new QComboBox;
    typ->setObjectName(QStringLiteral("Typ"));
    typ->addItems({QStringLiteral("1"), QStringLiteral("2")});
    auto *prilohy = namedButton(QStringLiteral("Přílohy ..."), QStringLiteral("SBPrilohy"));
    for (QWidget *w : std::initializer_list<QWidget *>{tisk, nahled, typLabel, typ, prilohy}) {
        bar->addWidget(w);
        w->setVisible(false);
    }
    m_toggle = namedButton(QStringLiteral("Zobrazit přehled revizí"), QStringLiteral("SpeedButton2"));
    auto *ok = namedButton(QStringLiteral("OK"), QStringLiteral("_040SpeedButton21"));
    auto *cancel = namedButton(QStringLiteral("Zrušit"), QStringLiteral("_097SpeedButton22"));
    bar->addWidget(m_toggle);
    bar->addStretch();
    bar->addWidget(ok);
    bar->addWidget(cancel);
    lay->addLayout(bar);
    connect(m_toggle, &QPushButton::clicked, this, &TFZZRevize::SpeedButton2Click);
    connect(ok, &QPushButton::clicked, this, &TFZZRevize::_040SpeedButton21Click);
    connect(cancel, &QPushButton::clicked, this, &TFZZRevize::_097SpeedButton22Click);

    if (!m_valid)
        for (QWidget *w : std::initializer_list<QWidget *>{m_pages, m_toggle, ok})
            w->setEnabled(false);
    FormShow();
    resize(980, 880);
}

TFZZRevize::~TFZZRevize() = default;

QPushButton *TFZZRevize::button(const QString &name) const
{
    return findChild<QPushButton *>(name);
}

QWidget *TFZZRevize::checklistArea() const
{
    return m_checklist ? m_checklist->widget() : nullptr;
}

bool TFZZRevize::showsOverview() const
{
    return m_pages->currentIndex() == 1;
}

bool TFZZRevize::locateInspection(int id)
{
    Dataset &r = m_dm.zz_revize;
    if (r.isOpen() && (r.recNo() >= 0 || r.isEditing()) && r.value(QStringLiteral("iD")).toInt() == id)
        return true;
    if (r.isEditing())
        r.cancel();
    const QVariant poradi = m_dm.db()->scalar(QStringLiteral("select Poradi from zz_revize where iD=:id"), Params{{"id", id}});
    if (!poradi.isValid() || poradi.isNull())
        return false;
    Dataset &item = m_dm.ZZBasicView;
    const bool onItem = item.isOpen() && (item.recNo() >= 0 || item.isEditing())
                        && item.value(QStringLiteral("Poradi")).toInt() == poradi.toInt();
    if (!onItem) {
        // the item set is moved only when no card edits it
        if (item.isEditing())
            return false;
        if (!item.isOpen())
            item.open();
        if (!item.locate(QStringLiteral("Poradi"), poradi))
            return false;
    }
    // the inspection may have been recorded after the list was read
    if (r.isOpen())
        r.close();
    r.open();
    return r.locate(QStringLiteral("iD"), id);
}

QWidget *TFZZRevize::buildHeader()
{
    Dataset &item = m_dm.ZZBasicView;
    auto *box = new QGroupBox(QStringLiteral("Zdvihací zařízení"));
    auto *g = new QGridLayout(box);
    g->setVerticalSpacing(4);
    struct Cell { const char *label, *field; int row, col; };
    const Cell cells[] = {{"Evidenční číslo", "Evid_C", 0, 0},       {"Výrobní číslo", "Vyr_C", 0, 1},
                          {"Inventární číslo", "Invent_C", 0, 2},    {"Majitel zařízení", "Provozovatel", 1, 0},
                          {"Typ zařízení", "Typ_Zar", 1, 1},         {"Označení", "Oznaceni", 1, 2},
                          {"Provozní sk.", "Prov_Skup_Zar", 2, 0},   {"Nosnost", "Max_nosnost", 2, 1},
                          {"Proj. omez. podm. (POP)", "omezp", 2, 2}};
    for (const Cell &c : cells) {
        g->addWidget(new QLabel(QString::fromUtf8(c.label)), c.row, c.col * 2);
        QLineEdit *e = readOnlyEdit(itemText(item, QString::fromLatin1(c.field)));
        e->setObjectName(QStringLiteral("hdr_") + QString::fromLatin1(c.field));
        g->addWidget(e, c.row, c.col * 2 + 1);
    }
    for (int c = 1; c < 6; c += 2)
        g->setColumnStretch(c, 1);
    return box;
}

QWidget *TFZZRevize::buildDetail()
{
    auto *page = new QWidget;
    auto *lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(buildHeader());

    auto *top = new QHBoxLayout;
    auto *datum = new QLineEdit;
    datum->setObjectName(QStringLiteral("DBEdit32"));
    datum->setToolTip(QStringLiteral("Datum provedení revize"));
    datum->setFixedWidth(100);
    m_binder.bind(datum, QStringLiteral("Datum"), QStringLiteral("Datum"));
    datum->installEventFilter(this);
    auto *platnost = new QLineEdit;
    platnost->setObjectName(QStringLiteral("Platnost"));
    platnost->setFixedWidth(100);
    m_binder.bind(platnost, QStringLiteral("Platnost"), QStringLiteral("Platnost do"));
    top->addWidget(new QLabel(QStringLiteral("Datum ")));
    top->addWidget(datum);
    top->addSpacing(16);
    top->addWidget(new QLabel(QStringLiteral("Platnost do")));
    top->addWidget(platnost);
    top->addSpacing(16);
    top->addWidget(new QLabel(QStringLiteral("Číslo zápisu")));
    const QString hint = QStringLiteral("Číslo protokolu (inspekčního / revizního)");
    auto *pred = new QLineEdit;
    pred->setObjectName(QStringLiteral("CisZapisu"));
    pred->setFixedWidth(90);
    pred->setAlignment(Qt::AlignRight);
    auto *num = new QLineEdit;
    num->setObjectName(QStringLiteral("CisZapisuNum"));
    num->setFixedWidth(70);
    num->setAlignment(Qt::AlignCenter);
    auto *za = new QLineEdit;
    za->setObjectName(QStringLiteral("CisZapisu2"));
    za->setFixedWidth(110);
    for (QLineEdit *e : {pred, num, za}) {
        e->setToolTip(hint);
        m_binder.bind(e, e->objectName(), QStringLiteral("Číslo zápisu"));
        top->addWidget(e);
    }
    top->setSpacing(4);
    top->addStretch();
    lay->addLayout(top);

    m_heading = new QLabel(QStringLiteral("Revize"));
    m_heading->setObjectName(QStringLiteral("Nadpis"));
    QFont hf = m_heading->font();
    hf.setBold(true);
    hf.setPointSizeF(hf.pointSizeF() * 1.25);
    m_heading->setFont(hf);
    m_heading->setAlignment(Qt::AlignCenter);
    lay->addWidget(m_heading);

    auto *headRow = new QHBoxLayout;
    headRow->addWidget(new QLabel(QStringLiteral("Průběh :")));
    headRow->addStretch();
    auto *vyhovuje = new QLabel(QStringLiteral("Vyhovuje"));
    vyhovuje->setObjectName(QStringLiteral("VyhovujeHeading"));
    vyhovuje->setFixedWidth(110);
    vyhovuje->setAlignment(Qt::AlignCenter);
    headRow->addWidget(vyhovuje);
    headRow->addSpacing(18);
    lay->addLayout(headRow);

    m_checklist = new QScrollArea;
    m_checklist->setObjectName(QStringLiteral("ScrollBox1"));
    m_checklist->setWidgetResizable(true);
    m_checklist->setMinimumHeight(240);
    lay->addWidget(m_checklist, 1);

    lay->addWidget(buildConclusion());
    return page;
}

QWidget *TFZZRevize::buildConclusion()
{
    auto *box = new QGroupBox(QStringLiteral("Závěr"));
    auto *v = new QVBoxLayout(box);
    v->setSpacing(5);

    auto *r1 = new QHBoxLayout;
    r1->addWidget(new QLabel(QStringLiteral("Zařízení")));
    m_zpusobile = new QComboBox;
    m_zpusobile->setObjectName(QStringLiteral("Zpusobile"));
    m_zpusobile->addItems({QStringLiteral("je"), QStringLiteral("není")});
    r1->addWidget(m_zpusobile);
    r1->addWidget(new QLabel(QStringLiteral("způsobilé provozu.")));
    r1->addStretch();
    auto *zavady = namedButton(QStringLiteral("Zjištěné závady ..."), QStringLiteral("SpeedButton1"));
    r1->addWidget(zavady);
    connect(zavady, &QPushButton::clicked, this, &TFZZRevize::SpeedButton1Click);
    v->addLayout(r1);

    const QString bodyHint = QStringLiteral("Seznam závad např. 1, 3, 4, 8, 12");
    auto *g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("Používání je povoleno až po odstranění závad uvedených pod body:")), 0, 0);
    auto *body1 = new QLineEdit;
    body1->setObjectName(QStringLiteral("Body1"));
    body1->setToolTip(bodyHint);
    m_binder.bind(body1, QStringLiteral("Body1"), QStringLiteral("Používání je povoleno až po odstranění závad uvedených pod body"));
    g->addWidget(body1, 0, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Odstranění závad uvedených pod body ")), 1, 0);
    auto *body2 = new QLineEdit;
    body2->setObjectName(QStringLiteral("Body2"));
    body2->setToolTip(bodyHint);
    m_binder.bind(body2, QStringLiteral("Body2"), QStringLiteral("Odstranění závad uvedených pod body"));
    g->addWidget(body2, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("musí ověřit revizní technik")), 1, 2);
    g->setColumnStretch(1, 1);
    v->addLayout(g);

    auto *r3 = new QHBoxLayout;
    r3->addWidget(new QLabel(QStringLiteral("Majitel (uživatel) zařízení")));
    m_bezpprace = new QComboBox;
    m_bezpprace->setObjectName(QStringLiteral("Bezpprace"));
    m_bezpprace->addItems({QStringLiteral("má"), QStringLiteral("nemá")});
    r3->addWidget(m_bezpprace);
    r3->addWidget(new QLabel(QStringLiteral("zpracovaný systém bezpečné práce.")));
    auto *tisk1 = new QCheckBox(QStringLiteral("Tisknout v zápisu"));
    tisk1->setObjectName(QStringLiteral("Tisk1"));
    m_binder.bind(tisk1, QStringLiteral("Tisk1"), QStringLiteral("Tisknout v zápisu"));
    r3->addSpacing(12);
    r3->addWidget(tisk1);
    r3->addStretch();
    r3->addWidget(new QLabel(QStringLiteral("Stav POP :")));
    auto *pop = new QLineEdit;
    pop->setObjectName(QStringLiteral("stavPOP"));
    pop->setFixedWidth(110);
    m_binder.bind(pop, QStringLiteral("stavPOP"), QStringLiteral("Stav POP"));
    r3->addWidget(pop);
    v->addLayout(r3);

    auto *r4 = new QGridLayout;
    r4->addWidget(new QLabel(QStringLiteral("Poznámka")), 0, 0, Qt::AlignTop);
    auto *pozn = new QPlainTextEdit;
    pozn->setObjectName(QStringLiteral("Poznamka"));
    pozn->setTabChangesFocus(true);
    pozn->setFixedHeight(58);
    m_binder.bind(pozn, QStringLiteral("Poznamka"), QStringLiteral("Poznámka"));
    r4->addWidget(pozn, 0, 1, 2, 1);
    auto *tisk3 = new QCheckBox(QStringLiteral("Tisknout poznámku v zápisu"));
    tisk3->setObjectName(QStringLiteral("Tisk3"));
    m_binder.bind(tisk3, QStringLiteral("Tisk3"), QStringLiteral("Tisknout poznámku v zápisu"));
    auto *tisk2 = new QCheckBox(QStringLiteral("Tisknout v zápisu celou adresu"));
    tisk2->setObjectName(QStringLiteral("Tisk2"));
    m_binder.bind(tisk2, QStringLiteral("Tisk2"), QStringLiteral("Tisknout v zápisu celou adresu"));
    tisk2->setEnabled(false);
    r4->addWidget(tisk3, 0, 2);
    r4->addWidget(tisk2, 1, 2);
    r4->setColumnStretch(1, 1);
    v->addLayout(r4);

    auto *r5 = new QHBoxLayout;
    r5->addWidget(new QLabel(QStringLiteral("Revizi provedl:")));
    m_provedl = new QComboBox;
    m_provedl->setObjectName(QStringLiteral("DBComboBox4"));
    m_provedl->setEditable(true);
    m_provedl->setInsertPolicy(QComboBox::NoInsert);
    m_provedl->setMinimumWidth(300);
    m_provedl->setToolTip(QStringLiteral("Pravým tlačítkem myši se otevřou údaje revizního technika"));
    m_binder.bind(m_provedl, QStringLiteral("Provedl"), QStringLiteral("Revizi provedl"));
    m_provedl->installEventFilter(this);
    m_provedl->lineEdit()->installEventFilter(this);
    r5->addWidget(m_provedl);
    auto *plus = namedButton(QStringLiteral("+"), QStringLiteral("SpeedButton3"));
    plus->setToolTip(QStringLiteral("Nový revizní technik"));
    plus->setFixedWidth(32);
    connect(plus, &QPushButton::clicked, this, &TFZZRevize::SpeedButton3Click);
    r5->addWidget(plus);
    r5->addStretch();
    // the protocol templates come later; the note points to them then
    auto *note = new QLabel(QStringLiteral("Tento protokol lze změnit - v menu (Číselníky a nastavení-Revizní protokoly)"));
    note->setObjectName(QStringLiteral("TemplateNote"));
    note->setVisible(false);
    r5->addWidget(note);
    v->addLayout(r5);
    return box;
}

QWidget *TFZZRevize::buildOverview()
{
    auto *page = new QWidget;
    auto *lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 0);
    m_overview = new QTableWidget(0, 6);
    m_overview->setObjectName(QStringLiteral("DbGridVamel1"));
    m_overview->setHorizontalHeaderLabels({QStringLiteral("Datum"), QStringLiteral("Druh"), QStringLiteral("Číslo zápisu"),
                                           QStringLiteral("Platnost do"), QStringLiteral("Způsobilé"),
                                           QStringLiteral("Revizi provedl")});
    m_overview->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_overview->setSelectionMode(QAbstractItemView::SingleSelection);
    m_overview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_overview->verticalHeader()->hide();
    m_overview->horizontalHeader()->setStretchLastSection(true);
    connect(m_overview, &QTableWidget::cellDoubleClicked, this, &TFZZRevize::DbGridVamel1DblClick);
    lay->addWidget(m_overview);
    return page;
}

void TFZZRevize::FormShow()
{
    if (!m_valid) {
        m_heading->setText(QStringLiteral("Záznam o revizi nebyl nalezen"));
        return;
    }
    try {
        for (Dataset *d : {&m_dm.zz_P_revize, &m_dm.RTech})
            if (!d->isOpen())
                d->open();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    loadTechnicians();
    buildChecklist();
    loadRow();
    setCaptionByKind();
    if (QWidget *w = fieldWidget(QStringLiteral("Datum")))
        w->setFocus();
}

void TFZZRevize::setCaptionByKind()
{
    const QString kind = m_dm.zz_revize.value(QStringLiteral("Typ")).toString().trimmed();
    const QString byKind = inspectionCaption(kind);
    QString title;
    try {
        Dataset q(m_dm.db());
        q.setSql(QStringLiteral("select Nadpis from zz_roz_revize where Typ_R=:r and Typ_Z=:z order by ID"));
        q.setParam(QStringLiteral("r"), kind);
        q.setParam(QStringLiteral("z"), m_dm.ZZBasicView.value(QStringLiteral("Druh")).toString());
        q.open();
        if (!q.isEmpty())
            title = q.value(QStringLiteral("Nadpis")).toString().trimmed();
    } catch (const Error &) {
        // the caption by the kind stays
    }
    // without an assigned title both show the caption of the kind
    const QString shown = !title.isEmpty() ? title : byKind;
    if (!shown.isEmpty()) {
        setWindowTitle(shown);
        m_heading->setText(shown);
    }
}

void TFZZRevize::buildChecklist()
{
    m_controls.clear();
    auto *host = new QWidget;
    host->setObjectName(QStringLiteral("ChecklistHost"));
    auto *g = new QGridLayout(host);
    g->setContentsMargins(8, 6, 8, 6);
    g->setHorizontalSpacing(10);
    g->setVerticalSpacing(6);
    QVector<ChecklistRow> rows;
    try {
        rows = checklist(*m_dm.db(), m_dm.zz_revize.value(QStringLiteral("Polozky")).toInt());
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    // labels as people number them: 2. before 10.
    QCollator order{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    order.setNumericMode(true);
    std::stable_sort(rows.begin(), rows.end(), [&order](const ChecklistRow &a, const ChecklistRow &b) {
        const int c = order.compare(a.oznaceni, b.oznaceni);
        return c != 0 ? c < 0 : a.polozka < b.polozka;
    });
    m_controls.reserve(rows.size());
    int line = 0;
    for (const ChecklistRow &row : rows) {
        const QString n = QString::number(row.polozka);
        // value items stand a little further in
        const int indent = row.valueItem && !row.textItem ? 18 : 0;
        // a text box is taller: its labels stand at its top, the others beside their boxes
        const Qt::Alignment vertical = row.offersText() ? Qt::AlignTop : Qt::AlignVCenter;
        auto *oznaceni = new QLabel(row.oznaceni);
        oznaceni->setContentsMargins(indent, row.offersText() ? 4 : 0, 0, 0);
        oznaceni->setAlignment(Qt::AlignLeft | vertical);
        g->addWidget(oznaceni, line, 0);
        auto *popis = new QLabel(row.popis);
        popis->setObjectName(QStringLiteral("Popis_") + n);
        popis->setWordWrap(true);
        popis->setContentsMargins(indent, row.offersText() ? 4 : 0, 0, 0);
        popis->setMinimumWidth(360);
        popis->setAlignment(Qt::AlignLeft | vertical);
        g->addWidget(popis, line, 1);

        Control c;
        c.polozka = row.polozka;
        if (row.offersText()) {
            auto *text = new QPlainTextEdit(row.text);
            text->setObjectName(QStringLiteral("Mem_") + n);
            text->setTabChangesFocus(true);
            text->setFixedHeight(50);
            text->installEventFilter(this);
            g->addWidget(text, line, 2, 1, 3);
            c.text = text;
            c.shownText = row.text;
        } else {
            if (row.offersValue()) {
                auto *doplneni = new QLabel(row.doplneni);
                doplneni->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                g->addWidget(doplneni, line, 2);
                auto *value = new QLineEdit(row.cislo);
                value->setObjectName(QStringLiteral("C_") + n);
                value->setFixedWidth(100);
                value->setMaxLength(std::max<int>(20, int(row.cislo.size()))); // zz_polozkyrev.Cislo
                connect(value, &QLineEdit::editingFinished, this, [this, p = row.polozka] { C_Exit(p); });
                g->addWidget(value, line, 3, Qt::AlignVCenter);
                c.value = value;
                c.shownValue = row.cislo;
            }
            if (row.offersYesNo()) {
                auto *box = new QWidget;
                box->setObjectName(QStringLiteral("V_") + n);
                box->setFixedWidth(110);
                auto *h = new QHBoxLayout(box);
                h->setContentsMargins(0, 0, 0, 0);
                auto *group = new QButtonGroup(box);
                auto *ano = new QRadioButton(QStringLiteral("ano"));
                ano->setObjectName(QStringLiteral("ano"));
                auto *ne = new QRadioButton(QStringLiteral("ne"));
                ne->setObjectName(QStringLiteral("ne"));
                group->addButton(ano, ChoiceYes);
                group->addButton(ne, ChoiceNo);
                h->addWidget(ano);
                h->addWidget(ne);
                // "ano" for a fulfilled condition, otherwise "ne", also while nothing is stored
                const int shown = row.vysledek.isValid() && !row.vysledek.isNull() && row.vysledek.toBool() ? ChoiceYes : ChoiceNo;
                group->button(shown)->setChecked(true);
                connect(group, &QButtonGroup::idClicked, this, [this, p = row.polozka] { V_Exit(p); });
                g->addWidget(box, line, 4, Qt::AlignVCenter);
                c.yesNo = group;
                c.shownChoice = shown;
            }
        }
        m_controls.push_back(c);
        ++line;
    }
    if (rows.isEmpty()) {
        auto *empty = new QLabel(QStringLiteral("Záznam nemá žádné položky průběhu."));
        empty->setEnabled(false);
        g->addWidget(empty, 0, 0, 1, 5);
        line = 1;
    }
    g->setColumnStretch(1, 1);
    g->setRowStretch(line, 1);
    // the earlier controls go with their host
    m_checklist->setWidget(host);
}

TFZZRevize::Control *TFZZRevize::controlOf(int polozka)
{
    for (Control &c : m_controls)
        if (c.polozka == polozka)
            return &c;
    return nullptr;
}

void TFZZRevize::writeChecklist(Control &c, int what)
{
    const int polozky = m_dm.zz_revize.value(QStringLiteral("Polozky")).toInt();
    try {
        switch (what) {
        case WriteChoice: {
            const int now = c.yesNo->checkedId();
            setChecklistResult(*m_dm.db(), polozky, c.polozka, now == ChoiceYes);
            c.shownChoice = now;
            break;
        }
        case WriteValue:
            setChecklistValue(*m_dm.db(), polozky, c.polozka, c.value->text());
            c.shownValue = c.value->text();
            break;
        case WriteText:
            setChecklistText(*m_dm.db(), polozky, c.polozka, c.text->toPlainText());
            c.shownText = c.text->toPlainText();
            break;
        }
    } catch (const Error &e) {
        // the control keeps what was entered
        showError(this, e.userText());
    }
}

void TFZZRevize::V_Exit(int polozka)
{
    Control *c = controlOf(polozka);
    if (c && c->yesNo && c->yesNo->checkedId() != c->shownChoice)
        writeChecklist(*c, WriteChoice);
}

void TFZZRevize::C_Exit(int polozka)
{
    Control *c = controlOf(polozka);
    if (c && c->value && c->value->text() != c->shownValue)
        writeChecklist(*c, WriteValue);
}

void TFZZRevize::M_Exit(int polozka)
{
    Control *c = controlOf(polozka);
    if (c && c->text && c->text->toPlainText() != c->shownText)
        writeChecklist(*c, WriteText);
}

void TFZZRevize::storeChecklist()
{
    for (const Control &c : std::as_const(m_controls)) {
        V_Exit(c.polozka);
        C_Exit(c.polozka);
        M_Exit(c.polozka);
    }
}

void TFZZRevize::loadTechnicians()
{
    const QString current = m_provedl->currentText();
    m_provedl->blockSignals(true);
    m_provedl->clear();
    try {
        m_provedl->addItems(technicianNames(*m_dm.db()));
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    m_provedl->setCurrentIndex(-1);
    m_provedl->setEditText(current);
    m_provedl->blockSignals(false);
}

void TFZZRevize::loadChoices()
{
    const Dataset &r = m_dm.zz_revize;
    showChoice(m_zpusobile, r.value(QStringLiteral("Zpusobile")));
    showChoice(m_bezpprace, r.value(QStringLiteral("Bezpprace")));
}

void TFZZRevize::loadRow()
{
    m_binder.load();
    loadChoices();
    if (QWidget *w = fieldWidget(QStringLiteral("Datum")))
        m_shownDate = static_cast<QLineEdit *>(w)->text();
}

bool TFZZRevize::storeChoices()
{
    Dataset &r = m_dm.zz_revize;
    for (auto [field, box] : {std::pair{"Zpusobile", m_zpusobile}, std::pair{"Bezpprace", m_bezpprace}}) {
        const QString f = QString::fromLatin1(field);
        const QVariant now = choiceValue(box);
        const QVariant stored = r.value(f);
        const bool same = now.isNull() ? stored.isNull() : (!stored.isNull() && stored.toBool() == now.toBool());
        if (same)
            continue;
        if (!r.isEditing())
            r.edit();
        r.setFieldValue(f, now);
    }
    return true;
}

bool TFZZRevize::commitEdits()
{
    Dataset &r = m_dm.zz_revize;
    if (!r.isOpen() || (r.recNo() < 0 && !r.isEditing()))
        return false;
    const bool wasEditing = r.isEditing();
    try {
        if (!wasEditing)
            r.edit();
        // every value converted first: a bad one leaves the row as it was
        if (!m_binder.commit(this)) {
            if (!wasEditing)
                r.cancel();
            return false;
        }
        storeChoices();
    } catch (const Error &e) {
        showError(this, e.userText());
        return false;
    }
    return true;
}

void TFZZRevize::DBEdit32Exit()
{
    auto *datum = qobject_cast<QLineEdit *>(fieldWidget(QStringLiteral("Datum")));
    if (!datum || !m_valid)
        return;
    bool changed = false;
    try {
        if (!m_binder.commitWidget(datum, this, &changed))
            return;
        if (m_rules.DBEdit32Exit())
            m_binder.loadField(QStringLiteral("Platnost"));
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    m_shownDate = datum->text();
}

void TFZZRevize::SpeedButton1Click()
{
    if (!m_valid)
        return;
    storeChecklist();
    // what was typed goes into the row first, so that the conclusion adds to it
    if (!commitEdits())
        return;
    TFZZ_zavady w(m_dm, this);
    if (execDefects)
        execDefects(w);
    else
        w.exec();
    try {
        if (m_rules.applyDefectConclusion()) {
            m_binder.loadField(QStringLiteral("Body1"));
            m_binder.loadField(QStringLiteral("Body2"));
            loadChoices();
        }
    } catch (const Error &e) {
        showError(this, e.userText());
    }
}

void TFZZRevize::openTechnician(bool newRow)
{
    Dataset &t = m_dm.RTech;
    try {
        if (!t.isOpen())
            t.open();
        if (t.isEditing())
            t.cancel();
        const QString name = m_provedl->currentText().trimmed();
        if (newRow || name.isEmpty()) {
            t.append();
        } else if (!t.locate(QStringLiteral("Technik"), name)) {
            // a name typed here becomes a technician with that name
            t.append();
            t.setFieldValue(QStringLiteral("Technik"), name.left(40));
        }
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    TFRTech w(m_dm, this);
    const int rc = execTechnician ? execTechnician(w) : w.exec();
    if (t.isEditing())
        t.cancel();
    const QString chosen = rc == 1 ? t.value(QStringLiteral("Technik")).toString() : QString();
    loadTechnicians();
    if (rc == 1)
        m_provedl->setEditText(chosen);
}

void TFZZRevize::DBComboBox4MouseDown()
{
    openTechnician(false);
}

void TFZZRevize::SpeedButton3Click()
{
    openTechnician(true);
}

void TFZZRevize::fillOverview()
{
    Dataset &r = m_dm.zz_revize;
    m_overview->setRowCount(0);
    if (!r.isOpen())
        return;
    const int n = r.recordCount();
    m_overview->setRowCount(n);
    auto col = [&r](const char *f) {
        const tz::db::Field *x = r.findField(QString::fromLatin1(f));
        return x ? x->column() : -1;
    };
    const int cDatum = col("Datum"), cTyp = col("Typ"), cPred = col("CisZapisu"), cNum = col("CisZapisuNum"),
              cZa = col("CisZapisu2"), cPlat = col("Platnost"), cZp = col("Zpusobile"), cProv = col("Provedl");
    auto text = [&r](int row, int c) { return c < 0 ? QVariant() : r.value(row, c); };
    auto date = [](const QVariant &v) { return v.toDate().isValid() ? v.toDate().toString(QStringLiteral("d.M.yyyy")) : QString(); };
    for (int i = 0; i < n; ++i) {
        const QVariant zp = text(i, cZp);
        const QStringList cells{date(text(i, cDatum)), tz::db::TDM::inspectionKindName(text(i, cTyp).toString()),
                                tz::db::TDM::protocolNumber(text(i, cPred), text(i, cNum), text(i, cZa)),
                                date(text(i, cPlat)),
                                zp.isNull() ? QString() : (zp.toBool() ? QStringLiteral("je") : QStringLiteral("není")),
                                text(i, cProv).toString()};
        for (int c = 0; c < cells.size(); ++c)
            m_overview->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    m_overview->resizeColumnsToContents();
    if (r.recNo() >= 0)
        m_overview->selectRow(r.recNo());
}

void TFZZRevize::SpeedButton2Click()
{
    if (!m_valid)
        return;
    Dataset &r = m_dm.zz_revize;
    if (m_toggle->text() != QLatin1String("Zobrazit detail revize")) {
        storeChecklist();
        // the inspection shown is stored before another one can be chosen
        if (!commitEdits())
            return;
        try {
            r.post();
        } catch (const Error &e) {
            showError(this, e.userText());
            return;
        }
        fillOverview();
        m_toggle->setText(QStringLiteral("Zobrazit detail revize"));
        setWindowTitle(QStringLiteral("Průběh revizí a zkoušek zdvihacího zařízení"));
        m_pages->setCurrentIndex(1);
        return;
    }
    const auto rows = m_overview->selectionModel()->selectedRows();
    if (!rows.isEmpty() && rows.first().row() != r.recNo()) {
        try {
            r.moveTo(rows.first().row());
        } catch (const Error &e) {
            showError(this, e.userText());
        }
        m_id = r.value(QStringLiteral("iD")).toInt();
        buildChecklist();
        loadRow();
    }
    m_toggle->setText(QStringLiteral("Zobrazit přehled revizí"));
    setCaptionByKind();
    m_pages->setCurrentIndex(0);
}

void TFZZRevize::DbGridVamel1DblClick()
{
    if (showsOverview())
        SpeedButton2Click();
}

void TFZZRevize::_040SpeedButton21Click()
{
    if (!m_valid) {
        done(2);
        return;
    }
    storeChecklist();
    auto *datum = qobject_cast<QLineEdit *>(fieldWidget(QStringLiteral("Datum")));
    if (!showsOverview()) {
        // a date typed and not left yet gives its validity as leaving does
        if (datum && datum->text() != m_shownDate) {
            DBEdit32Exit();
            if (datum->text() != m_shownDate)
                return; // refused; the message named the date
        }
        if (!commitEdits())
            return;
    }
    Dataset &r = m_dm.zz_revize;
    try {
        if (r.isEditing())
            r.post();
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    m_closing = true;
    done(1);
}

void TFZZRevize::_097SpeedButton22Click()
{
    // the checklist is stored as it is entered; only the record's edits are dropped
    if (m_valid)
        storeChecklist();
    if (m_dm.zz_revize.isEditing())
        m_dm.zz_revize.cancel();
    m_closing = true;
    done(2);
}

void TFZZRevize::reject()
{
    if (m_closing) {
        QDialog::reject();
        return;
    }
    _097SpeedButton22Click();
}

bool TFZZRevize::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(e)->reason();
        // a message box or a menu taking the focus is no leaving
        const bool left = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (left && !m_closing) {
            if (o == fieldWidget(QStringLiteral("Datum")))
                DBEdit32Exit();
            else if (auto *text = qobject_cast<QPlainTextEdit *>(o))
                for (const Control &c : std::as_const(m_controls))
                    if (c.text == text)
                        M_Exit(c.polozka);
        }
    }
    if (e->type() == QEvent::ContextMenu && (o == m_provedl || o == m_provedl->lineEdit())) {
        DBComboBox4MouseDown();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void registerInspectionWindows()
{
    TfZdvihaci::inspectionWindow() = [](tz::db::TDM &dm, int inspectionId, QWidget *parent) {
        TFZZRevize w(dm, inspectionId, parent);
        if (!w.isValid()) {
            showError(parent, QStringLiteral("Záznam o revizi číslo %1 nebyl nalezen.").arg(inspectionId));
            return;
        }
        w.exec();
        // the checklist was written straight into the table
        if (dm.zz_P_revize.isOpen()) {
            try {
                dm.zz_P_revize.refresh();
            } catch (const Error &) {
            }
        }
    };
}

} // namespace tz::eq
