#include "historywindow.h"

#include "accessoryrules.h"
#include "datasetmodel.h"
#include "prompts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

using tz::db::Dataset;
using tz::db::Error;
using namespace tz::gui;

namespace tz::acc {

namespace {

QLineEdit *readOnlyEdit(const QString &text, int width = 0)
{
    auto *e = new QLineEdit(text);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
    if (width)
        e->setFixedWidth(width);
    return e;
}

QPushButton *namedButton(const QString &caption, const QString &name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

} // namespace

THistoryWindow::THistoryWindow(tz::db::TDM &dm, bool partner, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_partner(partner), m_ds(partner ? &dm.Prubeh_rov : &dm.PrubehRev), m_binder(m_ds)
{
    setObjectName(partner ? QStringLiteral("TFPrubeh_rov") : QStringLiteral("TFPrubeh"));
    setWindowTitle(QStringLiteral("Průběh revizních zkoušek"));
    try {
        if (!m_ds->isOpen())
            m_ds->open();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    if (partner)
        buildPartner();
    else
        buildStandard();
    loadRow();
    updatePrintButtons();
}

THistoryWindow::~THistoryWindow() = default;

QPushButton *THistoryWindow::button(const QString &name) const
{
    return findChild<QPushButton *>(name);
}

QWidget *THistoryWindow::buildHeader()
{
    Dataset &a = m_dm.BasicView;
    auto *box = new QGroupBox(QStringLiteral("Vázací prostředek"));
    auto *g = new QGridLayout(box);
    auto put = [&](int row, int col, const QString &label, const QString &field, int width = 0) {
        g->addWidget(new QLabel(label), row, col * 2);
        const tz::db::Field *f = a.findField(field);
        QLineEdit *e = readOnlyEdit(f ? FieldBinder::editText(f) : QString(), width);
        e->setObjectName(QStringLiteral("hdr_") + field);
        g->addWidget(e, row, col * 2 + 1);
    };
    put(0, 0, QStringLiteral("Typ"), QStringLiteral("POPIS"));
    put(0, 1, QStringLiteral("Výrobní označení "), QStringLiteral("OZNACENI"));
    put(0, 2, QStringLiteral("Evid.Číslo"), QStringLiteral("EVID_C"));
    if (m_partner) {
        put(1, 0, QStringLiteral("Pramenů"), QStringLiteral("prameny"));
        put(1, 1, QStringLiteral("Oko"), QStringLiteral("ZAVES"));
        put(1, 2, QStringLiteral("Spoj"), QStringLiteral("SPOJ"));
        put(2, 0, QStringLiteral("Jiný díl"), QStringLiteral("JINE"));
        put(2, 1, QStringLiteral("Konc. díl"), QStringLiteral("VAZ_HAK"));
        put(2, 2, QStringLiteral("Průměr"), QStringLiteral("PRUMER"));
        put(3, 0, QStringLiteral("Délka"), QStringLiteral("DELKA"));
        put(3, 1, QStringLiteral("Výrobce"), QStringLiteral("VYROBCE"));
        put(3, 2, QStringLiteral("Datum výroby"), QStringLiteral("DAT_VYROBY"));
        put(4, 0, QStringLiteral("Nosnost 90°"), QStringLiteral("NOSNOST_1"));
        put(4, 1, QStringLiteral("Nosnost 0-45°"), QStringLiteral("NOSNOST_2"));
        put(4, 2, QStringLiteral("Nosnost 45-60°"), QStringLiteral("NOSNOST_3"));
        auto *cls = new QGroupBox(QStringLiteral("Jakostní třída"));
        auto *cl = new QHBoxLayout(cls);
        const QString trida = a.value(QStringLiteral("JAK_TRIDA")).toString();
        for (auto [caption, value] : {std::pair{"T8", "8"}, std::pair{"T8S", "8S"}}) {
            auto *r = new QRadioButton(QString::fromLatin1(caption));
            r->setChecked(trida == QLatin1String(value));
            r->setEnabled(false);
            cl->addWidget(r);
        }
        g->addWidget(cls, 0, 6, 2, 1);
    }
    return box;
}

void THistoryWindow::fillCombo(QComboBox *c, const QString &sql, bool preselectFirst)
{
    c->setEditable(true);
    try {
        Dataset q(m_dm.db());
        q.setSql(sql);
        q.open();
        for (int i = 0; i < q.recordCount(); ++i) {
            const QString v = q.value(i, 0).toString().trimmed();
            if (!v.isEmpty() && c->findText(v) < 0)
                c->addItem(v);
        }
    } catch (const Error &) {
        // the lists only offer values; typing works without them
    }
    if (preselectFirst && c->count() > 0)
        c->setCurrentIndex(0);
}

void THistoryWindow::buildGrid(QVBoxLayout *lay)
{
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new tz::gui::DatasetModel(this);
    m_model->setDataset(m_ds);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setMinimumHeight(m_partner ? 120 : 140);
    lay->addWidget(m_grid);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &cur) { rowChosen(cur.row()); });
}

void THistoryWindow::buildButtons(QVBoxLayout *lay)
{
    auto *buttons = new QHBoxLayout;
    auto *nova = namedButton(QStringLiteral("Nová revize"), QStringLiteral("NovaRevize"));
    auto *odstr = namedButton(QStringLiteral("Odstranit záznam o revizi"), QStringLiteral("OdstranitRevizi"));
    buttons->addWidget(nova);
    buttons->addWidget(odstr);
    connect(nova, &QPushButton::clicked, this, &THistoryWindow::NovaRevizeClick);
    connect(odstr, &QPushButton::clicked, this, &THistoryWindow::OdstranitClick);
    if (m_partner) {
        auto *calc = namedButton(QStringLiteral("Dopočítat proud a tloušťku"), QStringLiteral("Dopocitat"));
        buttons->addWidget(calc);
        connect(calc, &QPushButton::clicked, this, &THistoryWindow::DopocitatClick);
    }
    // tag 10 previews, tag 20 prints
    for (auto [name, tip, icon, tag] :
         {std::tuple{"TiskProtokoluNahled", "Náhled revizního protokolu", QStyle::SP_FileDialogContentsView, 10},
          std::tuple{"TiskProtokolu", "Vytiskne revizní protokol", QStyle::SP_DialogSaveButton, 20}}) {
        auto *b = namedButton(QStringLiteral("Tisk revizního protokolu"), QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(tip));
        b->setIcon(style()->standardIcon(icon));
        b->setProperty("tag", tag);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, b] {
            if (!postPending())
                return;
            if (printProtocol)
                printProtocol(b->property("tag").toInt());
            else
                inform(this, QStringLiteral("Sestava revizního protokolu není k dispozici."));
        });
    }
    auto *ok = namedButton(QStringLiteral("OK"), QStringLiteral("OKBtn"));
    auto *cancel = namedButton(QStringLiteral("Zrušit"), QStringLiteral("ZrusitBtn"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &THistoryWindow::OkClick);
    connect(cancel, &QPushButton::clicked, this, &THistoryWindow::ZrusitClick);
}

void THistoryWindow::buildStandard()
{
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(buildHeader());

    buildGrid(lay);

    auto *edits = new QGroupBox(QStringLiteral("Revize"));
    auto *f = new QGridLayout(edits);
    f->setColumnStretch(1, 1);
    auto *datum = new QLineEdit;
    datum->setObjectName(QStringLiteral("DATUM"));
    datum->setMaximumWidth(110);
    m_binder.bind(datum, QStringLiteral("DATUM"));
    f->addWidget(new QLabel(QStringLiteral("Datum")), 0, 0);
    f->addWidget(datum, 0, 1, Qt::AlignLeft);

    auto *typBox = new QGroupBox(QStringLiteral("Typ revize"));
    auto *tl = new QHBoxLayout(typBox);
    m_typ = new QButtonGroup(this);
    for (auto [caption, value] : {std::pair{"Jednoletá", "1"}, std::pair{"Tříletá", "3"}}) {
        auto *r = new QRadioButton(QString::fromUtf8(caption));
        r->setProperty("value", QString::fromLatin1(value));
        m_typ->addButton(r);
        tl->addWidget(r);
    }
    f->addWidget(typBox, 0, 2, 2, 1);

    auto *firma = new QComboBox;
    firma->setObjectName(QStringLiteral("Firma"));
    fillCombo(firma, QStringLiteral("Select distinct firma from revize"), false);
    m_binder.bind(firma, QStringLiteral("Firma"));
    auto *provedl = new QComboBox;
    provedl->setObjectName(QStringLiteral("PROVEDL"));
    fillCombo(provedl, QStringLiteral("Select distinct provedl from revize"), false);
    m_binder.bind(provedl, QStringLiteral("PROVEDL"));
    f->addWidget(new QLabel(QStringLiteral("Provedl - firma")), 1, 0);
    f->addWidget(firma, 1, 1);
    f->addWidget(new QLabel(QStringLiteral("Provedl - osoba")), 2, 0);
    f->addWidget(provedl, 2, 1);

    auto *vysBox = new QGroupBox(QStringLiteral("Výsledek"));
    auto *vl = new QHBoxLayout(vysBox);
    m_vysledek = new QButtonGroup(this);
    for (const char *v : {"Vyhovuje", "Opraven", "Nevyhovuje"}) {
        auto *r = new QRadioButton(QString::fromUtf8(v));
        r->setProperty("value", QString::fromUtf8(v));
        m_vysledek->addButton(r);
        vl->addWidget(r);
    }
    f->addWidget(vysBox, 2, 2);

    f->addWidget(new QLabel(QStringLiteral("Poznámka / zjištěné závady")), 3, 0, 1, 3);
    auto *pozn = new QPlainTextEdit;
    pozn->setObjectName(QStringLiteral("poznamka1"));
    pozn->setFixedHeight(70);
    m_binder.bind(pozn, QStringLiteral("poznamka1"));
    f->addWidget(pozn, 4, 0, 1, 3);
    lay->addWidget(edits);

    buildButtons(lay);
    resize(760, 560);
}

void THistoryWindow::buildPartner()
{
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(buildHeader());

    buildGrid(lay);

    auto *edits = new QGroupBox(QStringLiteral("Revize"));
    auto *g = new QGridLayout(edits);
    int row = 0, col = 0;
    auto add = [&](const QString &label, QWidget *w, const QString &field) {
        w->setObjectName(field);
        if (!field.isEmpty() && field != QLatin1String("Benzin") && field != QLatin1String("Voda"))
            m_binder.bind(w, field);
        g->addWidget(new QLabel(label), row, col * 2);
        g->addWidget(w, row, col * 2 + 1);
        if (++col == 4) {
            col = 0;
            ++row;
        }
    };
    auto small = [] {
        auto *e = new QLineEdit;
        e->setFixedWidth(80);
        return e;
    };
    add(QStringLiteral("Datum"), small(), QStringLiteral("DATUM"));
    add(QStringLiteral("Č.prot.NDT"), small(), QStringLiteral("CProtNDT"));
    add(QStringLiteral("Č. rev. zpr."), small(), QStringLiteral("CRevZpr"));
    add(QStringLiteral("S.pr.sk.zař"), small(), QStringLiteral("CProtKon"));
    auto *typ = new QComboBox;
    typ->addItems({QStringLiteral("1"), QStringLiteral("3")});
    add(QStringLiteral("Typ revize"), typ, QStringLiteral("TYPREVIZE"));
    auto *vys = new QComboBox;
    vys->addItems({QStringLiteral("Vyhovuje"), QStringLiteral("Opraven"), QStringLiteral("Nevyhovuje")});
    add(QStringLiteral("Výsledek"), vys, QStringLiteral("VYSLEDEK"));
    auto *firma = new QComboBox;
    fillCombo(firma, QStringLiteral("Select distinct upper(trim(firma)) from revize"), false);
    add(QStringLiteral("Provedl - firma"), firma, QStringLiteral("Firma"));
    auto *provedl = new QComboBox;
    fillCombo(provedl, QStringLiteral("Select distinct upper(trim(provedl)) from revize order by 1"), true);
    add(QStringLiteral("Provedl - osoba"), provedl, QStringLiteral("PROVEDL"));
    add(QStringLiteral("Cena revize"), small(), QStringLiteral("CenaRev"));
    for (int i = 1; i <= 4; ++i)
        add(QStringLiteral("Tloušťka %1 [mm]").arg(i), small(), QStringLiteral("Tloustka%1").arg(i));
    for (int i = 1; i <= 5; ++i)
        add(QStringLiteral("Proud %1 [A]").arg(i), small(), QStringLiteral("Proud%1").arg(i));
    m_benzin = new QCheckBox;
    add(QStringLiteral("Benzín"), m_benzin, QStringLiteral("Benzin"));
    m_voda = new QCheckBox;
    add(QStringLiteral("Voda"), m_voda, QStringLiteral("Voda"));
    ++row;
    g->addWidget(new QLabel(QStringLiteral("Zjištěné závady:")), row++, 0, 1, 8);
    auto *pozn = new QPlainTextEdit;
    pozn->setObjectName(QStringLiteral("Poznamka1"));
    pozn->setFixedHeight(60);
    m_binder.bind(pozn, QStringLiteral("poznamka1"));
    g->addWidget(pozn, row, 0, 1, 8);
    lay->addWidget(edits);

    buildButtons(lay);
    resize(900, 600);
}

void THistoryWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (m_grid)
        m_grid->resizeColumnsToContents();
}

void THistoryWindow::loadRow()
{
    m_loading = true;
    m_binder.load();
    const bool row = m_ds->isOpen() && (m_ds->recNo() >= 0 || m_ds->isEditing());
    for (QGroupBox *w : findChildren<QGroupBox *>())
        if (w->title() == QLatin1String("Revize"))
            w->setEnabled(row);
    if (m_typ) {
        const QString t = m_ds->value(QStringLiteral("TYPREVIZE")).toString();
        for (QAbstractButton *b : m_typ->buttons())
            b->setChecked(b->property("value").toString() == t);
        const QString v = m_ds->value(QStringLiteral("VYSLEDEK")).toString();
        for (QAbstractButton *b : m_vysledek->buttons())
            b->setChecked(b->property("value").toString() == v);
    }
    if (m_benzin) {
        m_benzin->setChecked(m_ds->value(QStringLiteral("Benzin")).toString() == QLatin1String("A"));
        m_voda->setChecked(m_ds->value(QStringLiteral("Voda")).toString() == QLatin1String("A"));
    }
    if (m_grid && m_ds->recNo() >= 0)
        m_grid->selectRow(m_ds->recNo());
    m_loading = false;
}

bool THistoryWindow::commitEdits()
{
    if (!m_ds->isOpen() || (m_ds->recNo() < 0 && !m_ds->isEditing()))
        return true;
    try {
        if (!m_binder.commitEach(this))
            return false;
        QVector<std::pair<QString, QVariant>> extra;
        if (m_typ) {
            if (QAbstractButton *b = m_typ->checkedButton())
                extra.push_back({QStringLiteral("TYPREVIZE"), b->property("value")});
            if (QAbstractButton *b = m_vysledek->checkedButton())
                extra.push_back({QStringLiteral("VYSLEDEK"), b->property("value")});
        }
        if (m_benzin) {
            extra.push_back({QStringLiteral("Benzin"), m_benzin->isChecked() ? QStringLiteral("A") : QStringLiteral("N")});
            extra.push_back({QStringLiteral("Voda"), m_voda->isChecked() ? QStringLiteral("A") : QStringLiteral("N")});
        }
        for (auto &[f, v] : extra) {
            const QVariant cur = m_ds->value(f);
            if (cur.toString() == v.toString() && !cur.isNull())
                continue;
            if (!m_ds->isEditing())
                m_ds->edit();
            m_ds->setFieldValue(f, v);
        }
    } catch (const Error &e) {
        showError(this, e.userText());
        return false;
    }
    return true;
}

bool THistoryWindow::postPending()
{
    if (!commitEdits())
        return false;
    if (!m_ds->isEditing())
        return true;
    if (m_ds->value(QStringLiteral("DATUM")).isNull()) {
        if (QWidget *w = m_binder.widgetOf(QStringLiteral("DATUM")))
            w->setFocus();
        warn(this, QStringLiteral("Zadejte datum revize."));
        return false;
    }
    try {
        m_ds->post();
    } catch (const Error &e) {
        showError(this, e.isKeyViolation() ? QStringLiteral("Revize s tímto datem je u prostředku již zapsána.\n") + e.userText()
                                           : e.userText());
        return false;
    }
    updatePrintButtons();
    return true;
}

void THistoryWindow::rowChosen(int row)
{
    if (m_loading || row < 0 || row == m_ds->recNo())
        return;
    if (!postPending()) {
        loadRow();   // back on the row being edited
        return;
    }
    m_ds->moveTo(row);
    loadRow();
}

void THistoryWindow::updatePrintButtons()
{
    const bool rows = m_ds->isOpen() && !m_ds->isEmpty();
    for (const char *n : {"TiskProtokoluNahled", "TiskProtokolu"})
        if (QPushButton *b = button(QString::fromLatin1(n)))
            b->setEnabled(rows);
}

void THistoryWindow::NovaRevizeClick()
{
    if (!postPending())
        return;
    try {
        if (!m_ds->isOpen())
            m_ds->open();
        m_ds->append();
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    loadRow();
    if (QWidget *w = m_binder.widgetOf(QStringLiteral("DATUM")))
        w->setFocus();
}

void THistoryWindow::OdstranitClick()
{
    if (m_ds->isEditing() && m_ds->state() == Dataset::State::Insert) {
        if (ask(this, QStringLiteral("Opravdu zrušit?")))
            m_ds->cancel();
        loadRow();
        return;
    }
    if (m_ds->recNo() < 0)
        return;
    if (!ask(this, QStringLiteral("Opravdu zrušit?")))
        return;
    try {
        if (m_ds->isEditing())
            m_ds->cancel();
        m_ds->remove();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    loadRow();
    updatePrintButtons();
}

void THistoryWindow::OkClick()
{
    if (!commitEdits())
        return;
    if (m_ds->isEditing()) {
        // the row is stored and the window stays open for the next one
        postPending();
        loadRow();
        return;
    }
    m_closing = true;
    done(1);
}

void THistoryWindow::ZrusitClick()
{
    if (m_ds->isEditing())
        m_ds->cancel();
    m_closing = true;
    done(2);
}

void THistoryWindow::reject()
{
    // Esc and the window's close button: a pending row is stored
    if (m_closing) {
        QDialog::reject();
        return;
    }
    if (!postPending())
        return;
    m_closing = true;
    try {
        m_ds->refresh();
    } catch (const Error &) {
    }
    done(1);
}

void THistoryWindow::closeEvent(QCloseEvent *e)
{
    if (m_closing) {
        e->accept();
        return;
    }
    if (!postPending()) {
        e->ignore();
        return;
    }
    m_closing = true;
    e->accept();
    done(1);
}

void THistoryWindow::DopocitatClick()
{
    if (!m_ds->isEditing())
        return;
    if (!m_binder.commit(this))
        return;
    Dataset &a = m_dm.BasicView;
    const int prumer = int(a.value(QStringLiteral("PRUMER")).toDouble());
    const TestValues v = testValues(prumer, !a.value(QStringLiteral("VAZ_HAK")).toString().isEmpty(),
                                    !a.value(QStringLiteral("ZAVES")).toString().isEmpty(),
                                    a.value(QStringLiteral("prameny")).toInt());
    auto set = [this](const char *f, const std::optional<double> &x) {
        if (x)
            m_ds->setFieldValue(QString::fromLatin1(f), *x);
    };
    set("Proud5", v.proud5);
    set("Tloustka4", v.tloustka4);
    set("Proud4", v.proud4);
    set("Tloustka1", v.tloustka1);
    set("Proud1", v.proud1);
    try {
        Dataset q(m_dm.db());
        q.setSql(QStringList{"select * from Ceny", "Where prumer=:prumer", "and jaka=:jaka", "and Prameny=:prameny"});
        q.setParam(QStringLiteral("prumer"), a.value(QStringLiteral("PRUMER")));
        q.setParam(QStringLiteral("jaka"), m_ds->value(QStringLiteral("TypRevize")));
        q.setParam(QStringLiteral("prameny"), a.value(QStringLiteral("prameny")));
        q.open();
        if (q.isEmpty()) {
            inform(this, QStringLiteral("Nenalezena cena v ceníku"));
            m_ds->setFieldValue(QStringLiteral("CenaRev"), 0);
        } else {
            m_ds->setFieldValue(QStringLiteral("CenaRev"),
                                partnerPrice(q.field(QStringLiteral("Do2"))->asFloat(), q.field(QStringLiteral("dalsi"))->asFloat(),
                                             a.value(QStringLiteral("DELKA")).toDouble()));
        }
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    loadRow();
}

} // namespace tz::acc
