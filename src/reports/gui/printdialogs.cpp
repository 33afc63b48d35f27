#include "printdialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace tz::rep::gui {

// ---------------------------------------------------------------- TSestPrintDlg

TSestPrintDlg::TSestPrintDlg(const TPrintDialogTyp &s, QWidget *parent) : QDialog(parent), m_in(s)
{
    setObjectName(QStringLiteral("SestPrintDlg"));
    setWindowTitle(s.caption);
    m_printers = installedPrinters();
    const bool havePrinter = !m_printers.isEmpty();
    auto *lay = new QVBoxLayout(this);

    // printer
    auto *printerBox = new QGroupBox(QStringLiteral("Tiskárna"), this);
    auto *pf = new QFormLayout(printerBox);
    m_printer = new QComboBox(printerBox);
    m_printer->setObjectName(QStringLiteral("CBTiskarna"));
    int current = 0;
    for (int i = 0; i < m_printers.size(); ++i) {
        m_printer->addItem(m_printers[i].name);
        if (s.printerIndex < 0 ? m_printers[i].isDefault : i == s.printerIndex)
            current = i;
    }
    if (havePrinter)
        m_printer->setCurrentIndex(current);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_printer, 1);
    m_props = new QPushButton(QStringLiteral("&Vlastnosti..."), printerBox);
    nameRow->addWidget(m_props);
    pf->addRow(QStringLiteral("Název:"), nameRow);
    m_type = new QLabel(printerBox);
    m_where = new QLabel(printerBox);
    pf->addRow(QStringLiteral("Typ:"), m_type);
    pf->addRow(QStringLiteral("Kde:"), m_where);
    if (!s.paperName.isEmpty())
        pf->addRow(QStringLiteral("Formát sestavy:"), new QLabel(s.paperName, printerBox));
    m_toFile = new QCheckBox(QStringLiteral("Tisknout do &souboru"), printerBox);
    m_toFile->setChecked(s.toFile);
    m_toFile->setVisible(s.showToFile);
    pf->addRow(m_toFile);
    printerBox->setVisible(s.showPrinterGroup);
    lay->addWidget(printerBox);

    // page range
    auto *pageBox = new QGroupBox(QStringLiteral("Rozsah stránek:"), this);
    auto *rf = new QFormLayout(pageBox);
    const int maxPage = std::max(1, s.pageCount);
    m_from = new QSpinBox(pageBox);
    m_from->setRange(1, maxPage);
    m_from->setValue(std::clamp(s.firstPage, 1, maxPage));
    m_to = new QSpinBox(pageBox);
    m_to->setRange(1, maxPage);
    m_to->setValue(std::clamp(s.lastPage, 1, maxPage));
    m_copies = new QSpinBox(pageBox);
    m_copies->setRange(1, 999);
    m_copies->setValue(std::max(1, s.copies));
    rf->addRow(QStringLiteral("&Od stránky:"), m_from);
    rf->addRow(QStringLiteral("&Do stránky:"), m_to);
    rf->addRow(QStringLiteral("&Počet kopií:"), m_copies);
    m_current = new QCheckBox(QStringLiteral("&Tisknout &aktuální stránku"), pageBox);
    m_current->setChecked(s.currentPage);
    m_current->setVisible(s.showCurrentPage);
    rf->addRow(m_current);
    m_oneRecord = new QCheckBox(QStringLiteral("Tisknout pouze &jeden záznam"), pageBox);
    m_oneRecord->setChecked(s.oneRecord);
    m_oneRecord->setVisible(s.showOneRecord);
    rf->addRow(m_oneRecord);
    pageBox->setVisible(s.showPageGroup);
    lay->addWidget(pageBox);
    auto rangeEnabled = [this] {
        m_from->setEnabled(!m_current->isChecked());
        m_to->setEnabled(!m_current->isChecked());
    };
    connect(m_current, &QCheckBox::toggled, this, rangeEnabled);
    rangeEnabled();
    connect(m_from, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_to->value() < v)
            m_to->setValue(v);
    });
    connect(m_to, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_from->value() > v)
            m_from->setValue(v);
    });

    // definition
    auto *formBox = new QGroupBox(QStringLiteral("Tiskový formulář:"), this);
    auto *ff = new QVBoxLayout(formBox);
    m_form = new QComboBox(formBox);
    ff->addWidget(m_form);
    auto *formRow = new QHBoxLayout;
    auto *editDef = new QPushButton(QStringLiteral("&Upravit..."), formBox);
    editDef->setEnabled(s.editEnabled);
    connect(editDef, &QPushButton::clicked, this, [this] { done(Edit); });
    formRow->addWidget(editDef);
    m_setDefault = new QCheckBox(QStringLiteral("Nastavit jako výchozí &formulář"), formBox);
    m_setDefault->setChecked(s.setDefault);
    m_setDefault->setVisible(s.showSetDefault);
    formRow->addWidget(m_setDefault);
    ff->addLayout(formRow);
    formBox->setVisible(s.showFormGroup);
    lay->addWidget(formBox);
    fillForms();

    m_background = new QCheckBox(QStringLiteral("Tisknout pozadí"), this);
    m_background->setChecked(s.printBackground);
    m_background->setVisible(s.showBackground);
    lay->addWidget(m_background);

    // buttons
    auto *buttons = new QHBoxLayout;
    m_preview = new QPushButton(QStringLiteral("&Náhled"), this);
    m_preview->setVisible(s.previewEnabled);
    m_edit = new QPushButton(QStringLiteral("&Upravit..."), this);
    m_edit->setVisible(s.editEnabled);
    m_print = new QPushButton(QStringLiteral("&Tisk"), this);
    m_print->setObjectName(QStringLiteral("BTisk"));
    m_pdf = new QPushButton(QStringLiteral("Uložit do &PDF..."), this);
    m_pdf->setObjectName(QStringLiteral("BPdf"));
    m_pdf->setVisible(s.pdfEnabled);
    auto *cancel = new QPushButton(QStringLiteral("Storno"), this);
    buttons->addWidget(m_preview);
    buttons->addWidget(m_edit);
    buttons->addStretch();
    buttons->addWidget(m_print);
    buttons->addWidget(m_pdf);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(m_preview, &QPushButton::clicked, this, [this] { done(Preview); });
    connect(m_edit, &QPushButton::clicked, this, [this] { done(Edit); });
    connect(m_print, &QPushButton::clicked, this, [this] { done(Print); });
    connect(m_pdf, &QPushButton::clicked, this, [this] { done(Pdf); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(Cancelled); });

    // without a printer nothing can be printed; the PDF stays
    m_printer->setEnabled(havePrinter);
    m_props->setEnabled(havePrinter && s.printerPropsEnabled);
    m_print->setEnabled(havePrinter && s.printEnabled);
    m_toFile->setEnabled(havePrinter);
    m_print->setDefault(havePrinter && s.printEnabled);
    connect(m_printer, &QComboBox::currentIndexChanged, this, &TSestPrintDlg::printerChanged);
    connect(m_props, &QPushButton::clicked, this, [this] {
        QPrinter printer(QPrinterInfo::printerInfo(printerName()));
        if (m_layout)
            printer.setPageLayout(*m_layout);
        QPageSetupDialog d(&printer, this);
        if (d.exec() == QDialog::Accepted)
            m_layout = printer.pageLayout();
    });
    printerChanged();
    adjustSize();
}

void TSestPrintDlg::printerChanged()
{
    m_layout.reset();   // the properties belong to the printer they were set for
    const int i = m_printer->currentIndex();
    if (i < 0 || i >= m_printers.size()) {
        m_type->clear();
        m_where->clear();
        return;
    }
    m_type->setText(m_printers[i].driver);
    m_where->setText(m_printers[i].location);
}

void TSestPrintDlg::fillForms()
{
    if (!m_in.showFormGroup)
        return;
    const QStringList files = QDir(m_in.reportFolder).entryList({m_in.fileMask}, QDir::Files, QDir::Name);
    m_form->addItems(files);
    const int at = files.indexOf(m_in.definitionFile);
    if (at >= 0)
        m_form->setCurrentIndex(at);
}

QString TSestPrintDlg::printerName() const
{
    const int i = m_printer->currentIndex();
    return (i >= 0 && i < m_printers.size()) ? m_printers[i].name : QString();
}

TPrintDialogTyp TSestPrintDlg::settings() const
{
    TPrintDialogTyp s = m_in;
    s.printerIndex = m_printer->currentIndex();
    s.firstPage = m_from->value();
    s.lastPage = m_to->value();
    s.copies = m_copies->value();
    s.toFile = m_toFile->isChecked();
    s.currentPage = m_current->isChecked();
    s.oneRecord = m_oneRecord->isChecked();
    s.setDefault = m_setDefault->isChecked();
    s.printBackground = m_background->isChecked();
    if (m_form->currentIndex() >= 0)
        s.definitionFile = m_form->currentText();
    s.pageLayout = m_layout;
    return s;
}

// ---------------------------------------------------------------- TFormVamelReportZoom

namespace {

QSize printerMedium(const QPrinter &printer)
{
    const QRectF r = printer.pageLayout().fullRect(QPageLayout::Inch);
    return QSize(int(std::lround(r.width() * 100)), int(std::lround(r.height() * 100)));
}

// The report's paper over the medium, to scale.
class FitSketch : public QWidget {
public:
    FitSketch(QWidget *parent) : QWidget(parent) { setFixedSize(160, 160); }
    QSize paper, medium;
    double zoom = 1;
    FitMode mode = FitMode::Shrink;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        const double big = std::max({paper.width() * zoom, paper.height() * zoom, double(medium.width()),
                                     double(medium.height()), 1.0});
        const double f = (width() - 10) / big;
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 5, medium.width() * f, medium.height() * f));
        QPen pen(Qt::blue);
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const double z = mode == FitMode::Shrink ? zoom : 1.0;
        p.drawRect(QRectF(5, 5, paper.width() * z * f, paper.height() * z * f));
    }
};

} // namespace

TFormVamelReportZoom::TFormVamelReportZoom(QSize paper, QSize medium, QPrinter &printer, QWidget *parent)
    : QDialog(parent), m_paper(paper), m_medium(medium), m_printerMedium(medium), m_printer(printer)
{
    setObjectName(QStringLiteral("FormVamelReportZoom"));
    setWindowTitle(QStringLiteral("Vamel - možnosti tisku"));
    auto *lay = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Formát tiskové sestavy:"),
                 new QLabel(QStringLiteral("%1 x %2").arg(paper.width()).arg(paper.height()), this));
    m_mediumText = new QLabel(this);
    form->addRow(QStringLiteral("Formát média v tiskárně:"), m_mediumText);
    left->addLayout(form);
    m_crop = new QRadioButton(QStringLiteral("Oříznout tiskovou sestavu"), this);
    m_shrink = new QRadioButton(QStringLiteral("Zmenšit měřítko tisku"), this);
    m_tile = new QRadioButton(QStringLiteral("Tisknout na více listů"), this);
    m_shrink->setChecked(true);
    auto *group = new QButtonGroup(this);
    for (QRadioButton *b : {m_crop, m_shrink, m_tile}) {
        group->addButton(b);
        connect(b, &QRadioButton::toggled, this, &TFormVamelReportZoom::recompute);
    }
    left->addWidget(m_crop);
    auto *shrinkRow = new QHBoxLayout;
    shrinkRow->addWidget(m_shrink);
    m_zoom = new QLabel(this);
    shrinkRow->addWidget(m_zoom);
    shrinkRow->addStretch();
    left->addLayout(shrinkRow);
    left->addWidget(m_tile);
    m_rotate = new QCheckBox(QStringLiteral("Otočit médium v tiskárně"), this);
    connect(m_rotate, &QCheckBox::toggled, this, &TFormVamelReportZoom::recompute);
    left->addWidget(m_rotate);
    auto *buttons = new QHBoxLayout;
    auto *setup = new QPushButton(QStringLiteral("Tiskárna..."), this);
    auto *print = new QPushButton(QStringLiteral("Tisknout"), this);
    auto *cancel = new QPushButton(QStringLiteral("Storno"), this);
    print->setDefault(true);
    buttons->addWidget(setup);
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(cancel);
    left->addLayout(buttons);
    lay->addLayout(left);
    auto *sketch = new FitSketch(this);
    m_sketch = sketch;
    lay->addWidget(sketch);
    connect(print, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(setup, &QPushButton::clicked, this, [this] {
        QPageSetupDialog d(&m_printer, this);
        if (d.exec() == QDialog::Accepted) {
            m_printerMedium = printerMedium(m_printer);
            recompute();
        }
    });
    recompute();
}

void TFormVamelReportZoom::recompute()
{
    m_medium = m_rotate->isChecked() ? m_printerMedium.transposed() : m_printerMedium;
    m_mediumText->setText(QStringLiteral("%1 x %2").arg(m_medium.width()).arg(m_medium.height()));
    const int zoom = shrinkZoomPercent(m_paper, m_medium);
    m_zoom->setText(QStringLiteral("%1 %").arg(zoom));
    auto *sketch = static_cast<FitSketch *>(m_sketch);
    sketch->paper = m_paper;
    sketch->medium = m_medium;
    sketch->zoom = zoom / 100.0;
    sketch->mode = choice().mode;
    sketch->update();
}

FitChoice TFormVamelReportZoom::choice() const
{
    FitChoice c;
    c.mode = m_crop->isChecked() ? FitMode::Crop : m_tile->isChecked() ? FitMode::Tile : FitMode::Shrink;
    c.rotateMedium = m_rotate->isChecked();
    return c;
}

std::optional<FitChoice> askFitChoice(QSize paper, QSize medium, QPrinter &printer)
{
    TFormVamelReportZoom d(paper, medium, printer, QApplication::activeWindow());
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return d.choice();
}

} // namespace tz::rep::gui
