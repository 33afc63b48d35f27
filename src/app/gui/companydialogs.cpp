#include "companydialogs.h"
#include "datasetmodel.h"
#include "deletion.h"
#include "prompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tz::gui {

using tz::db::Dataset;
using tz::db::Error;

TFFirma::TFFirma(tz::db::TDM &dm, QWidget *parent) : QDialog(parent), m_dm(dm), m_binder(&dm.Firmy)
{
    setWindowTitle(QStringLiteral("Firma / Majitel zařízení"));
    auto *lay = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    auto add = [&](const QString &label, const QString &field, QFormLayout *f) {
        auto *e = new QLineEdit;
        e->setObjectName(field);
        e->setMinimumWidth(320);
        f->addRow(label, e);
        if (dm.Firmy.findField(field))
            m_binder.bind(e, field);
        else
            e->setEnabled(false);
        return e;
    };
    add(QStringLiteral("Název firmy"), QStringLiteral("Firma"), form);
    auto *adr = new QLabel(QStringLiteral("<b>Adresa - sídlo</b>"));
    form->addRow(adr);
    add(QStringLiteral("Ulice a číslo"), QStringLiteral("Adresa1"), form);
    add(QStringLiteral("Místo"), QStringLiteral("Adresa2"), form);
    add(QString(), QStringLiteral("Adresa3"), form);
    add(QStringLiteral("Psč"), QStringLiteral("Psc"), form);
    add(QStringLiteral("Kontaktní osoba"), QStringLiteral("Kont_Osoba"), form);
    add(QStringLiteral("IČO"), QStringLiteral("Ico"), form);
    add(QStringLiteral("Telefon"), QStringLiteral("Telefon"), form);
    add(QStringLiteral("E-mail"), QStringLiteral("Email"), form);
    add(QStringLiteral("Identifikátor"), QStringLiteral("IDFIR"), form);
    lay->addLayout(form);
    auto *bb = new QDialogButtonBox;
    auto *ok = bb->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OK"));
    auto *cancel = bb->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Zrusit"));
    connect(ok, &QPushButton::clicked, this, &TFFirma::OKClick);
    connect(cancel, &QPushButton::clicked, this, &TFFirma::ZrusitClick);
    lay->addWidget(bb);
    m_binder.load();
}

void TFFirma::OKClick()
{
    Dataset &f = m_dm.Firmy;
    try {
        if (f.isEditing()) {
            if (!m_binder.commit(this))
                return;
            if (f.field(QStringLiteral("Firma"))->isNull()) {
                showError(this, QStringLiteral("Zadejte název firmy."));
                return;
            }
            f.post();
            const QString note = m_dm.takeKeyNote();
            if (!note.isEmpty())
                inform(this, note);
        }
        const QVariant key = f.field(QStringLiteral("PCFir"))->value();
        f.close();
        f.open();
        f.locate(QStringLiteral("PCFir"), key);
    } catch (const Error &e) {
        showError(this, e.userText());
        return; // the input stays for another try
    }
    accept();
}

void TFFirma::ZrusitClick()
{
    m_dm.Firmy.cancel();
    reject();
}

// ---------------------------------------------------------------------------

TFSelFirma::TFSelFirma(tz::db::TDM &dm, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_dm(dm)
{
    setWindowTitle(QStringLiteral("Pro firmu"));
    auto *lay = new QVBoxLayout(this);
    m_view = new QTableView;
    m_view->setObjectName(QStringLiteral("DBGrid1"));
    m_view->setToolTip(QStringLiteral("Dvojklik = výběr"));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_model = new tz::gui::DatasetModel(this);
    m_view->setModel(m_model);
    lay->addWidget(m_view);
    auto *buttons = new QHBoxLayout;
    auto button = [&](const QString &text, const QString &name, void (TFSelFirma::*slot)()) {
        auto *b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(QStringLiteral("Přidat"), QStringLiteral("Pridat"), &TFSelFirma::PridatClick);
    button(QStringLiteral("Opravit"), QStringLiteral("Opravit"), &TFSelFirma::OpravitClick);
    button(QStringLiteral("Smazat"), QStringLiteral("Smazat"), &TFSelFirma::SmazatClick);
    buttons->addStretch();
    const QString hint = QStringLiteral("Při výběru všech firem nelze editovat a přidávat záznamy. Lze pouze prohlížet.");
    button(QStringLiteral("Vše"), QStringLiteral("Vse"), &TFSelFirma::VseClick)->setToolTip(hint);
    auto *open = button(QStringLiteral("Otevřít vybranou"), QStringLiteral("Otevrit"), &TFSelFirma::OtevritClick);
    open->setToolTip(hint);
    open->setDefault(true);
    button(QStringLiteral("Storno"), QStringLiteral("Storno"), &TFSelFirma::StornoClick);
    lay->addLayout(buttons);
    connect(m_view, &QTableView::doubleClicked, this, &TFSelFirma::OtevritClick);
    reopenList(0);
    setFixedSize(640, 420);
}

TFSelFirma::~TFSelFirma()
{
    m_model->setDataset(nullptr);
}

void TFSelFirma::reopenList(int keep)
{
    Dataset &l = m_dm.ListFirmy;
    l.close();
    l.open();
    for (int i = 0; i < l.fieldCount(); ++i) {
        tz::db::Field *f = l.fieldAt(i);
        const QString n = f->name().toLower();
        f->setVisible(n == QLatin1String("firma") || n == QLatin1String("adresa1") || n == QLatin1String("idfir"));
    }
    l.field(QStringLiteral("Firma"))->setLabel(QStringLiteral("Firma"));
    l.field(QStringLiteral("Adresa1"))->setLabel(QStringLiteral("Adresa"));
    if (tz::db::Field *id = l.findField(QStringLiteral("IDFIR")))
        id->setLabel(QStringLiteral("Identifikátor"));
    m_model->setDataset(&l);
    m_view->setColumnWidth(0, 260);
    m_view->setColumnWidth(1, 200);
    if (keep <= 0 || !selectCompany(keep))
        if (m_model->rowCount() > 0)
            m_view->selectRow(0);
}

bool TFSelFirma::selectCompany(int pcfir)
{
    Dataset &l = m_dm.ListFirmy;
    if (!l.locate(QStringLiteral("PCFir"), pcfir))
        return false;
    m_view->selectRow(l.recNo());
    return true;
}

int TFSelFirma::currentPcfir() const
{
    const QModelIndex i = m_view->currentIndex();
    Dataset &l = m_dm.ListFirmy;
    if (!i.isValid() || !l.isOpen() || !l.moveTo(i.row()))
        return 0;
    return l.field(QStringLiteral("PCFir"))->asInteger();
}

void TFSelFirma::PridatClick()
{
    try {
        if (!m_dm.Firmy.isOpen())
            m_dm.Firmy.open();
        m_dm.Firmy.append();
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    TFFirma form(m_dm, this);
    if (form.exec() == QDialog::Accepted)
        reopenList(m_dm.Firmy.field(QStringLiteral("PCFir"))->asInteger());
}

void TFSelFirma::OpravitClick()
{
    const int pcfir = currentPcfir();
    if (pcfir == 0)
        return;
    try {
        if (!m_dm.Firmy.isOpen())
            m_dm.Firmy.open();
        m_dm.Firmy.first();
        if (!m_dm.Firmy.locate(QStringLiteral("PCFir"), pcfir)) {
            warn(this, QStringLiteral("Firma mezitím byla odstraněna."));
            reopenList(0);
            return;
        }
        m_dm.Firmy.edit();
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    TFFirma form(m_dm, this);
    if (form.exec() == QDialog::Accepted)
        reopenList(pcfir);
}

void TFSelFirma::SmazatClick()
{
    const int pcfir = currentPcfir();
    if (pcfir == 0)
        return;
    const QString name = m_dm.ListFirmy.field(QStringLiteral("Firma"))->asString();
    if (!askWarning(this, QStringLiteral("Opravdu chcete smazat všechny záznamy firmy ") + name + QStringLiteral("?") + QLatin1Char('\n')
                              + QStringLiteral("Budou nenávratně odstraněna i všechna související data !")))
        return;
    try {
        // the company goes together with everything that carries its number,
        // so that a later company with the same number inherits nothing
        tz::db::deleteCompany(*m_dm.db(), pcfir);
        m_dm.Firmy.close();
        m_dm.Firmy.open();
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    reopenList(0);
}

void TFSelFirma::VseClick()
{
    m_choice = Choice::All;
    m_pcfir = 999;
    accept();
}

void TFSelFirma::OtevritClick()
{
    const int pcfir = currentPcfir();
    if (pcfir == 0)
        return;
    m_choice = Choice::Open;
    m_pcfir = pcfir;
    accept();
}

void TFSelFirma::StornoClick()
{
    m_choice = Choice::Cancel;
    m_pcfir = 0;
    QDialog::reject();
}

void TFSelFirma::reject()
{
    StornoClick();
}

} // namespace tz::gui
