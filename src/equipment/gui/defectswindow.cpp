#include "defectswindow.h"

#include "prompts.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using tz::db::Error;
using namespace tz::gui;

namespace tz::eq {

namespace {

constexpr int ZavadaWidth = 255;   // zz_zavady.Zavada, cis_zavady.Zavada
constexpr int OdstranitWidth = 30; // zz_zavady.Odstranit
constexpr int SkupinaWidth = 30;   // cis_zavady.Skupina

QPushButton *namedButton(const QString &caption, const QString &name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QTableWidget *listGrid(const QStringList &titles, const QString &name)
{
    auto *g = new QTableWidget(0, int(titles.size()));
    g->setObjectName(name);
    g->setHorizontalHeaderLabels(titles);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->hide();
    g->horizontalHeader()->setStretchLastSection(true);
    g->setWordWrap(false);
    return g;
}

QTableWidgetItem *cell(const QString &text, const QVariant &key = {})
{
    auto *i = new QTableWidgetItem(text);
    if (key.isValid())
        i->setData(Qt::UserRole, key);
    return i;
}

int selectedRow(const QTableWidget *g)
{
    const auto rows = g->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// The catalogue sorted for reading: by group, then by number.
QVector<CatalogueDefect> sortedCatalogue(tz::db::Database &db)
{
    QVector<CatalogueDefect> rows = catalogue(db);
    QCollator c{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    c.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(rows.begin(), rows.end(), [&c](const CatalogueDefect &a, const CatalogueDefect &b) {
        const int r = c.compare(a.skupina, b.skupina);
        return r != 0 ? r < 0 : a.pc < b.pc;
    });
    return rows;
}

void fillCatalogue(QTableWidget *g, const QVector<CatalogueDefect> &rows)
{
    g->setRowCount(0);
    g->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        g->setItem(i, 0, cell(rows[i].skupina, rows[i].pc));
        g->setItem(i, 1, cell(rows[i].zavada));
        g->item(i, 1)->setToolTip(rows[i].zavada);
    }
    g->resizeColumnToContents(0);
    g->setColumnWidth(0, std::min(g->columnWidth(0) + 12, 220));
}

} // namespace

// ---------------------------------------------------------------- TFCiselnikProVyber

TFCiselnikProVyber::TFCiselnikProVyber(tz::db::Database &db, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFCiselnikProVyber"));
    setWindowTitle(QStringLiteral("Číselník"));
    auto *lay = new QVBoxLayout(this);
    m_grid = listGrid({QStringLiteral("Skupina"), QStringLiteral("Závada")}, QStringLiteral("DBGrid1"));
    lay->addWidget(m_grid);
    try {
        fillCatalogue(m_grid, sortedCatalogue(db));
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    if (m_grid->rowCount() > 0)
        m_grid->selectRow(0);
    auto *buttons = new QHBoxLayout;
    auto *pick = namedButton(QStringLiteral("Vybrat"), QStringLiteral("SpeedButton1"));
    auto *cancel = namedButton(QStringLiteral("Zrušit"), QStringLiteral("SpeedButton2"));
    buttons->addStretch();
    buttons->addWidget(pick);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(pick, &QPushButton::clicked, this, &TFCiselnikProVyber::SpeedButton1Click);
    connect(cancel, &QPushButton::clicked, this, &TFCiselnikProVyber::SpeedButton2Click);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &TFCiselnikProVyber::SpeedButton1Click);
    resize(720, 420);
}

QString TFCiselnikProVyber::chosenText() const
{
    const int r = selectedRow(m_grid);
    return r < 0 ? QString() : m_grid->item(r, 1)->text();
}

bool TFCiselnikProVyber::selectText(const QString &zavada)
{
    for (int r = 0; r < m_grid->rowCount(); ++r)
        if (m_grid->item(r, 1)->text() == zavada) {
            m_grid->selectRow(r);
            return true;
        }
    return false;
}

void TFCiselnikProVyber::SpeedButton1Click()
{
    if (selectedRow(m_grid) < 0) {
        warn(this, QStringLiteral("Vyberte závadu ze seznamu."));
        return;
    }
    done(1);
}

void TFCiselnikProVyber::SpeedButton2Click()
{
    done(2);
}

// ---------------------------------------------------------------- TFVyberSkupinu

TFVyberSkupinu::TFVyberSkupinu(tz::db::Database &db, QWidget *parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("TFVyberSkupinu"));
    setWindowTitle(QStringLiteral("Výběr"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(new QLabel(QStringLiteral("Vyberte skupinu pod kterou se má závada uložit")));
    m_group = new QComboBox;
    m_group->setObjectName(QStringLiteral("ComboBox1"));
    m_group->setEditable(true);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->lineEdit()->setMaxLength(SkupinaWidth);
    m_group->setMinimumWidth(280);
    lay->addWidget(m_group);
    auto *buttons = new QHBoxLayout;
    auto *save = namedButton(QStringLiteral("Uložit do číselníku"), QStringLiteral("SpeedButton1"));
    auto *back = namedButton(QStringLiteral("Zpět"), QStringLiteral("SpeedButton2"));
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(back);
    lay->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &TFVyberSkupinu::SpeedButton1Click);
    connect(back, &QPushButton::clicked, this, &TFVyberSkupinu::SpeedButton2Click);
    FormShow();
}

void TFVyberSkupinu::FormShow()
{
    const QString typed = m_group->currentText();
    m_group->clear();
    try {
        m_group->addItems(defectGroups(m_db));
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    m_group->setCurrentIndex(-1);
    m_group->setEditText(typed);
}

QString TFVyberSkupinu::group() const
{
    return m_group->currentText().trimmed();
}

void TFVyberSkupinu::SpeedButton1Click()
{
    if (group().isEmpty()) {
        m_group->setFocus();
        warn(this, QStringLiteral("Vyberte nebo napište skupinu, pod kterou se má závada uložit."));
        return;
    }
    done(1);
}

void TFVyberSkupinu::SpeedButton2Click()
{
    done(2);
}

// ---------------------------------------------------------------- TFZavada

TFZavada::TFZavada(tz::db::Database &db, int zavady, const std::optional<Defect> &existing, QWidget *parent)
    : QDialog(parent), m_db(db), m_zavady(zavady), m_existing(existing)
{
    setObjectName(QStringLiteral("TFZavada"));
    setWindowTitle(QStringLiteral("Závada ZZ"));
    auto *lay = new QVBoxLayout(this);
    auto *g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("Závada:")), 0, 0, Qt::AlignTop);
    m_text = new QPlainTextEdit;
    m_text->setObjectName(QStringLiteral("Zavada"));
    m_text->setTabChangesFocus(true);
    m_text->setFixedHeight(72);
    g->addWidget(m_text, 0, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Odstranit do:")), 1, 0);
    m_odstranit = new QComboBox;
    m_odstranit->setObjectName(QStringLiteral("Odstranit"));
    m_odstranit->setEditable(true);
    m_odstranit->setInsertPolicy(QComboBox::NoInsert);
    m_odstranit->addItems({QStringLiteral("Odstraněno během zkoušky"), QStringLiteral("Při GO"), QStringLiteral("Neprodleně")});
    m_odstranit->lineEdit()->setMaxLength(OdstranitWidth);
    m_odstranit->lineEdit()->setPlaceholderText(QStringLiteral("termín nebo datum"));
    m_odstranit->setMinimumWidth(240);
    g->addWidget(m_odstranit, 1, 1, Qt::AlignLeft);
    m_nutne = new QCheckBox(QStringLiteral("Používání je povoleno až po odstranění této závady"));
    m_nutne->setObjectName(QStringLiteral("Nutne"));
    m_overit = new QCheckBox(QStringLiteral("Odstranění musí ověřit revizní technik"));
    m_overit->setObjectName(QStringLiteral("Overit"));
    g->addWidget(m_nutne, 2, 1, 1, 2);
    g->addWidget(m_overit, 3, 1, 1, 2);
    g->setColumnStretch(2, 1);
    lay->addLayout(g);

    auto *catalogueRow = new QHBoxLayout;
    auto *pick = namedButton(QStringLiteral("Vybrat z číselníku ...."), QStringLiteral("SpeedButton5"));
    auto *add = namedButton(QStringLiteral("Přidat do číselníku"), QStringLiteral("SpeedButton6"));
    catalogueRow->addWidget(pick);
    catalogueRow->addWidget(add);
    catalogueRow->addStretch();
    lay->addLayout(catalogueRow);
    auto *buttons = new QHBoxLayout;
    auto *save = namedButton(QStringLiteral("Uložit změny"), QStringLiteral("SpeedButton3"));
    auto *cancel = namedButton(QStringLiteral("Zrušit změny"), QStringLiteral("SpeedButton7"));
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(pick, &QPushButton::clicked, this, &TFZavada::SpeedButton5Click);
    connect(add, &QPushButton::clicked, this, &TFZavada::SpeedButton6Click);
    connect(save, &QPushButton::clicked, this, &TFZavada::SpeedButton3Click);
    connect(cancel, &QPushButton::clicked, this, &TFZavada::SpeedButton7Click);

    if (m_existing) {
        m_text->setPlainText(m_existing->zavada);
        // a stored term longer than the box allows is shown whole
        m_odstranit->lineEdit()->setMaxLength(std::max<int>(OdstranitWidth, m_existing->odstranit.size()));
        m_odstranit->setCurrentIndex(-1);
        m_odstranit->setEditText(m_existing->odstranit);
        m_nutne->setChecked(m_existing->nutne);
        m_overit->setChecked(m_existing->overit);
    } else {
        m_odstranit->setCurrentIndex(-1);
        m_odstranit->setEditText(QString());
    }
    m_text->setFocus();
    resize(620, sizeHint().height());
}

Defect TFZavada::defect() const
{
    Defect d;
    if (m_existing)
        d.pc = m_existing->pc;
    d.zavada = m_text->toPlainText().trimmed();
    d.odstranit = m_odstranit->currentText().trimmed();
    d.nutne = m_nutne->isChecked();
    d.overit = m_overit->isChecked();
    return d;
}

void TFZavada::SpeedButton5Click()
{
    TFCiselnikProVyber picker(m_db, this);
    if (picker.exec() != 1)
        return;
    // only the text is taken; it may be edited afterwards, the catalogue keeps its own
    m_text->setPlainText(picker.chosenText());
    m_text->setFocus();
}

void TFZavada::SpeedButton6Click()
{
    const QString text = m_text->toPlainText().trimmed();
    if (text.isEmpty()) {
        m_text->setFocus();
        warn(this, QStringLiteral("Napište nejprve text závady, který se má uložit do číselníku."));
        return;
    }
    if (text.size() > ZavadaWidth) {
        m_text->setFocus();
        warn(this, QStringLiteral("Závada: text může mít nejvýše %1 znaků (napsáno %2).").arg(ZavadaWidth).arg(text.size()));
        return;
    }
    TFVyberSkupinu picker(m_db, this);
    if (picker.exec() != 1)
        return;
    try {
        addCatalogueDefect(m_db, picker.group(), text);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
}

void TFZavada::SpeedButton3Click()
{
    const Defect d = defect();
    if (d.zavada.isEmpty()) {
        m_text->setFocus();
        warn(this, QStringLiteral("Závada: napište text závady."));
        return;
    }
    if (d.zavada.size() > ZavadaWidth) {
        m_text->setFocus();
        warn(this, QStringLiteral("Závada: text může mít nejvýše %1 znaků (napsáno %2).").arg(ZavadaWidth).arg(d.zavada.size()));
        return;
    }
    try {
        if (m_existing) {
            if (!updateDefect(m_db, m_zavady, d)) {
                showError(this, QStringLiteral("Závada číslo %1 již není uložena; mezitím ji někdo odstranil.").arg(d.pc));
                return;
            }
            m_storedPc = d.pc;
        } else {
            m_storedPc = addDefect(m_db, m_zavady, d);
        }
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    done(1);
}

void TFZavada::SpeedButton7Click()
{
    done(2);
}

void TFZavada::reject()
{
    // Esc and the window's close button drop the edits as "Zrušit změny" does
    done(2);
}

// ---------------------------------------------------------------- TFZZ_zavady

TFZZ_zavady::TFZZ_zavady(tz::db::TDM &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFZZ_zavady"));
    setWindowTitle(QStringLiteral("Zjištěné závady"));
    tz::db::Dataset &r = dm.zz_revize;
    if (r.isOpen() && (r.recNo() >= 0 || r.isEditing()))
        m_zavady = r.value(QStringLiteral("Zavady")).toInt();

    auto *lay = new QVBoxLayout(this);
    m_grid = listGrid({QStringLiteral("Pořadí"), QStringLiteral("Odstranit do"), QStringLiteral("Závada")},
                      QStringLiteral("DBGrid1"));
    lay->addWidget(m_grid);
    auto *buttons = new QHBoxLayout;
    auto *add = namedButton(QStringLiteral("Přidat"), QStringLiteral("Pridat"));
    auto *del = namedButton(QStringLiteral("Smazat"), QStringLiteral("Smazat"));
    auto *edit = namedButton(QStringLiteral("Upravit"), QStringLiteral("Upravit"));
    auto *ok = namedButton(QStringLiteral("OK"), QStringLiteral("SpeedButton8"));
    for (QPushButton *b : {add, del, edit})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ok);
    lay->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &TFZZ_zavady::ZavadyAdd);
    connect(del, &QPushButton::clicked, this, &TFZZ_zavady::ZavadyDelete);
    connect(edit, &QPushButton::clicked, this, &TFZZ_zavady::ZavadyEdit);
    connect(ok, &QPushButton::clicked, this, &TFZZ_zavady::SpeedButton8Click);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &TFZZ_zavady::ZavadyEdit);
    if (m_zavady <= 0) {
        for (QPushButton *b : {add, del, edit})
            b->setEnabled(false);
    }
    reload();
    resize(760, 380);
}

int TFZZ_zavady::currentPc() const
{
    const int r = selectedRow(m_grid);
    return r < 0 ? 0 : m_grid->item(r, 0)->data(Qt::UserRole).toInt();
}

bool TFZZ_zavady::selectPc(int pc)
{
    for (int r = 0; r < m_grid->rowCount(); ++r)
        if (m_grid->item(r, 0)->data(Qt::UserRole).toInt() == pc) {
            m_grid->selectRow(r);
            return true;
        }
    return false;
}

void TFZZ_zavady::reload(int pc)
{
    const int at = selectedRow(m_grid);
    m_rows.clear();
    if (m_zavady > 0) {
        try {
            m_rows = defects(*m_dm.db(), m_zavady);
        } catch (const Error &e) {
            showError(this, e.userText());
        }
    }
    m_grid->setRowCount(0);
    m_grid->setRowCount(int(m_rows.size()));
    for (int i = 0; i < m_rows.size(); ++i) {
        const Defect &d = m_rows[i];
        m_grid->setItem(i, 0, cell(QString::number(d.pc), d.pc));
        m_grid->item(i, 0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(i, 1, cell(d.odstranit));
        m_grid->setItem(i, 2, cell(d.zavada));
        m_grid->item(i, 2)->setToolTip(d.zavada);
    }
    m_grid->resizeColumnsToContents();
    m_grid->setColumnWidth(0, m_grid->columnWidth(0) + 12);
    m_grid->setColumnWidth(1, std::max(m_grid->columnWidth(1) + 12, 150));
    if (!(pc > 0 && selectPc(pc)) && m_grid->rowCount() > 0)
        m_grid->selectRow(std::clamp(at, 0, m_grid->rowCount() - 1));
    // the data module's defects of the inspection show the stored rows too
    if (m_dm.zz_zavady.isOpen() && !m_dm.zz_zavady.isEditing()) {
        try {
            m_dm.zz_zavady.refresh();
        } catch (const Error &) {
        }
    }
}

void TFZZ_zavady::ZavadyAdd()
{
    if (m_zavady <= 0)
        return;
    TFZavada editor(*m_dm.db(), m_zavady, std::nullopt, this);
    if (editor.exec() == 1)
        reload(editor.storedPc());
}

void TFZZ_zavady::ZavadyEdit()
{
    const int pc = currentPc();
    if (pc <= 0)
        return;
    const auto it = std::find_if(m_rows.cbegin(), m_rows.cend(), [pc](const Defect &d) { return d.pc == pc; });
    if (it == m_rows.cend())
        return;
    TFZavada editor(*m_dm.db(), m_zavady, *it, this);
    if (editor.exec() == 1)
        reload(pc);
}

void TFZZ_zavady::ZavadyDelete()
{
    const int pc = currentPc();
    if (pc <= 0)
        return;
    if (!askWarning(this, QStringLiteral("Opravdu chcete odstranit záznam")))
        return;
    try {
        deleteDefect(*m_dm.db(), m_zavady, pc);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    reload();
}

void TFZZ_zavady::SpeedButton8Click()
{
    done(2);
}

// ---------------------------------------------------------------- TFCis_Zavad

TFCis_Zavad::TFCis_Zavad(tz::db::Database &db, QWidget *parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("TFCis_Zavad"));
    setWindowTitle(QStringLiteral("Číselník závad"));
    auto *lay = new QVBoxLayout(this);
    m_grid = listGrid({QStringLiteral("Skupina"), QStringLiteral("Závada")}, QStringLiteral("DBGrid1"));
    lay->addWidget(m_grid);
    auto *edits = new QGridLayout;
    edits->addWidget(new QLabel(QStringLiteral("Skupina")), 0, 0);
    m_group = new QComboBox;
    m_group->setObjectName(QStringLiteral("Skupina"));
    m_group->setEditable(true);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->lineEdit()->setMaxLength(SkupinaWidth);
    m_group->setMinimumWidth(260);
    edits->addWidget(m_group, 0, 1, Qt::AlignLeft);
    edits->addWidget(new QLabel(QStringLiteral("Závada")), 1, 0);
    m_text = new QLineEdit;
    m_text->setObjectName(QStringLiteral("Zavada"));
    m_text->setMaxLength(ZavadaWidth);
    edits->addWidget(m_text, 1, 1);
    edits->setColumnStretch(1, 1);
    lay->addLayout(edits);
    auto *buttons = new QHBoxLayout;
    auto *add = namedButton(QStringLiteral("Přidat nový"), QStringLiteral("_057addbtn"));
    auto *del = namedButton(QStringLiteral("Odstranit"), QStringLiteral("_080SpeedButton9"));
    auto *ok = namedButton(QStringLiteral("OK"), QStringLiteral("SpeedButton1"));
    auto *cancel = namedButton(QStringLiteral("Zrušit"), QStringLiteral("SpeedButton2"));
    buttons->addWidget(add);
    buttons->addWidget(del);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &TFCis_Zavad::_057addbtnClick);
    connect(del, &QPushButton::clicked, this, &TFCis_Zavad::_080SpeedButton9Click);
    connect(ok, &QPushButton::clicked, this, &TFCis_Zavad::SpeedButton1Click);
    connect(cancel, &QPushButton::clicked, this, &TFCis_Zavad::SpeedButton2Click);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (m_loading)
            return;
        m_new = false;
        showRow();
    });
    FormShow();
    reload(0);
    resize(760, 480);
}

void TFCis_Zavad::FormShow()
{
    const QString typed = m_group->currentText();
    m_loading = true;
    m_group->clear();
    try {
        m_group->addItems(defectGroups(m_db));
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    m_group->setCurrentIndex(-1);
    m_group->setEditText(typed);
    m_loading = false;
}

int TFCis_Zavad::currentPc() const
{
    if (m_new)
        return 0;
    const int r = selectedRow(m_grid);
    return r < 0 ? 0 : m_grid->item(r, 0)->data(Qt::UserRole).toInt();
}

bool TFCis_Zavad::selectPc(int pc)
{
    for (int r = 0; r < m_grid->rowCount(); ++r)
        if (m_grid->item(r, 0)->data(Qt::UserRole).toInt() == pc) {
            m_new = false;
            m_grid->selectRow(r);
            showRow();
            return true;
        }
    return false;
}

void TFCis_Zavad::reload(int pc)
{
    m_loading = true;
    const int at = selectedRow(m_grid);
    try {
        m_rows = sortedCatalogue(m_db);
    } catch (const Error &e) {
        m_rows.clear();
        showError(this, e.userText());
    }
    fillCatalogue(m_grid, m_rows);
    m_loading = false;
    m_new = false;
    if (pc > 0 && selectPc(pc))
        return;
    if (m_grid->rowCount() > 0)
        m_grid->selectRow(std::clamp(at, 0, m_grid->rowCount() - 1));
    showRow();
}

void TFCis_Zavad::showRow()
{
    const int pc = currentPc();
    const auto it = std::find_if(m_rows.cbegin(), m_rows.cend(), [pc](const CatalogueDefect &d) { return d.pc == pc; });
    m_loading = true;
    m_group->setCurrentIndex(-1);
    m_group->setEditText(it == m_rows.cend() ? QString() : it->skupina);
    m_text->setMaxLength(std::max<int>(ZavadaWidth, it == m_rows.cend() ? 0 : int(it->zavada.size())));
    m_text->setText(it == m_rows.cend() ? QString() : it->zavada);
    m_loading = false;
}

bool TFCis_Zavad::pending() const
{
    if (m_new)
        return true;
    const int pc = currentPc();
    const auto it = std::find_if(m_rows.cbegin(), m_rows.cend(), [pc](const CatalogueDefect &d) { return d.pc == pc; });
    return it != m_rows.cend() && (it->skupina != m_group->currentText().trimmed() || it->zavada != m_text->text().trimmed());
}

void TFCis_Zavad::_057addbtnClick()
{
    m_new = true;
    m_loading = true;
    m_grid->clearSelection();
    m_loading = false;
    m_text->clear();
    // the group of the row shown stays offered for the new one
    m_text->setFocus();
}

void TFCis_Zavad::_080SpeedButton9Click()
{
    if (m_new) {
        // a row not stored yet is only dropped
        reload(0);
        return;
    }
    const int pc = currentPc();
    if (pc <= 0)
        return;
    if (!askWarning(this, QStringLiteral("Opravdu chcete odstranit záznam?")))
        return;
    try {
        deleteCatalogueDefect(m_db, pc);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    reload(0);
    FormShow();
}

void TFCis_Zavad::SpeedButton1Click()
{
    if (!pending())
        return;
    const QString group = m_group->currentText().trimmed();
    const QString text = m_text->text().trimmed();
    if (text.isEmpty()) {
        m_text->setFocus();
        warn(this, QStringLiteral("Závada: napište text závady."));
        return;
    }
    int pc = currentPc();
    try {
        if (m_new) {
            pc = addCatalogueDefect(m_db, group, text);
        } else {
            tz::db::Dataset row(&m_db);
            row.setSql(QStringLiteral("Select * from cis_zavady where Pc=:pc"));
            row.setParam(QStringLiteral("pc"), pc);
            row.open();
            if (row.isEmpty()) {
                showError(this, QStringLiteral("Záznam číselníku již není uložen; mezitím jej někdo odstranil."));
                reload(0);
                return;
            }
            row.edit();
            row.setFieldValue(QStringLiteral("Skupina"), group);
            row.setFieldValue(QStringLiteral("Zavada"), text);
            row.post();
        }
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    reload(pc);
    FormShow();
    showRow();
}

void TFCis_Zavad::SpeedButton2Click()
{
    m_new = false;
    done(1);
}

void TFCis_Zavad::reject()
{
    SpeedButton2Click();
}

} // namespace tz::eq
