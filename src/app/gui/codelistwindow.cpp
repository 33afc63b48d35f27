#include "codelistwindow.h"
#include "codelists.h"
#include "datasetmodel.h"
#include "prompts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tz::gui {

using tz::db::Dataset;
using tz::db::Error;

namespace {

QString askNewValue(QWidget *parent, const QString &title, const QString &prompt, const QString &value)
{
    QInputDialog dlg(parent);
    dlg.setWindowTitle(title);
    dlg.setLabelText(prompt);
    dlg.setTextValue(value);
    dlg.setInputMode(QInputDialog::TextInput);
    if (auto *edit = dlg.findChild<QLineEdit *>())
        edit->setMaxLength(30); // the width of a code-list value
    return dlg.exec() == QDialog::Accepted ? dlg.textValue() : value;
}

} // namespace

TFPomCiselnik::TFPomCiselnik(tz::db::TDM &dm, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_dm(dm)
{
    setObjectName(QStringLiteral("FPomCiselnik"));
    setWindowTitle(QStringLiteral("Číselník"));
    input = askNewValue;
    auto *lay = new QVBoxLayout(this);
    m_heading = new QLabel;
    m_heading->setObjectName(QStringLiteral("LNadpis"));
    QFont f = m_heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.25);
    m_heading->setFont(f);
    lay->addWidget(m_heading);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_model = new tz::gui::DatasetModel(this);
    m_grid->setModel(m_model);
    lay->addWidget(m_grid);
    auto *buttons = new QHBoxLayout;
    auto button = [&](const QString &text, const QString &name, void (TFPomCiselnik::*slot)()) {
        auto *b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(QStringLiteral("Odstranit"), QStringLiteral("Odstranit"), &TFPomCiselnik::OdstranitClick);
    button(QStringLiteral("Změnit"), QStringLiteral("Zmenit"), &TFPomCiselnik::ZmenitClick);
    buttons->addStretch();
    button(QStringLiteral("OK"), QStringLiteral("OK"), &TFPomCiselnik::OKClick)->setDefault(true);
    lay->addLayout(buttons);
    resize(420, 460);
}

TFPomCiselnik::~TFPomCiselnik()
{
    m_model->setDataset(nullptr);
}

void TFPomCiselnik::openList(QChar typ, const QString &heading)
{
    m_typ = typ;
    m_heading->setText(heading);
    reopen(QString());
}

void TFPomCiselnik::reopen(const QString &keep)
{
    Dataset &l = m_dm.PomCis;
    m_model->setDataset(nullptr);
    try {
        l.close();
        l.setParam(QStringLiteral("_typ"), QString(m_typ));
        l.open();
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    m_model->setDataset(&l);
    if (keep.isEmpty() || !selectValue(keep))
        if (m_model->rowCount() > 0)
            m_grid->selectRow(0);
}

QString TFPomCiselnik::currentValue() const
{
    const QModelIndex i = m_grid->currentIndex();
    Dataset &l = m_dm.PomCis;
    if (!i.isValid() || !l.isOpen() || !l.moveTo(i.row()))
        return {};
    return l.field(QStringLiteral("NAZEV_V"))->asString();
}

bool TFPomCiselnik::selectValue(const QString &value)
{
    Dataset &l = m_dm.PomCis;
    if (!l.isOpen() || !l.locate(QStringLiteral("NAZEV_V"), value))
        return false;
    m_grid->selectRow(l.recNo());
    return true;
}

void TFPomCiselnik::OdstranitClick()
{
    if (m_grid->currentIndex().row() < 0 || !m_dm.PomCis.isOpen() || m_dm.PomCis.isEmpty())
        return;
    const QString value = currentValue();
    if (!ask(this, QStringLiteral("Opravdu chcete odstranit záznam ") + value + QStringLiteral("?")))
        return;
    try {
        tz::codelists::remove(*m_dm.db(), m_typ, value);
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    const int row = m_grid->currentIndex().row();
    reopen(QString());
    if (m_model->rowCount() > 0)
        m_grid->selectRow(qMin(row, m_model->rowCount() - 1));
}

void TFPomCiselnik::ZmenitClick()
{
    if (m_grid->currentIndex().row() < 0 || !m_dm.PomCis.isOpen() || m_dm.PomCis.isEmpty())
        return;
    const QString value = currentValue();
    if (!ask(this, QStringLiteral("Opravdu chcete upravit záznam ") + value
                       + QStringLiteral("?\n\n(Změna se projeví ve všech dosud pořízených záznamech)")))
        return;
    const QString changed =
        input(this, QStringLiteral("Nová hodnota"), QStringLiteral("Zadejte změněnou položku číselníku:"), value);
    if (changed == value)
        return; // cancelled or unchanged: nothing to rename
    if (changed.trimmed().isEmpty()) {
        warn(this, QStringLiteral("Nová hodnota položky číselníku nesmí být prázdná."));
        return;
    }
    try {
        tz::codelists::rename(*m_dm.db(), m_typ, value, changed);
    } catch (const Error &e) {
        showError(this, e.userText());
        reopen(value);
        return;
    }
    reopen(changed);
}

void TFPomCiselnik::OKClick()
{
    accept();
}

} // namespace tz::gui
