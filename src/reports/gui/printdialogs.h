#pragma once
// The engine's print dialog (TSestPrintDlg) with its settings record
// (TPrintDialogTyp), and the print options for a medium smaller than the
// report's paper (TFormVamelReportZoom, "Vamel - možnosti tisku").
#include "printing.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tz::rep::gui {

struct TPrintDialogTyp {
    int printerIndex = -1;          // into installedPrinters(); -1 the default one
    int firstPage = 1;
    int lastPage = 1;
    int pageCount = 1;              // the largest page number offered
    int copies = 1;
    QString definitionFile;         // name of the chosen definition (form group)
    QString reportFolder;
    bool folderIgnored = false;
    QString fileMask = QStringLiteral("*.pts");
    QString caption = QStringLiteral("Tisk");
    QString paperName;              // the report's paper format, shown under the printer

    bool showPrinterGroup = true;
    bool showPageGroup = true;
    bool showFormGroup = false;
    bool showCurrentPage = true;
    bool showOneRecord = false;
    bool showToFile = true;
    bool showSetDefault = false;
    bool showBackground = false;
    bool showReportName = false;

    bool toFile = false;
    bool currentPage = false;
    bool oneRecord = false;
    bool setDefault = false;
    bool printBackground = false;

    bool printerPropsEnabled = true;
    bool editEnabled = false;
    bool previewEnabled = false;
    bool printEnabled = true;
    bool pdfEnabled = true;

    std::optional<QPageLayout> pageLayout;   // set by "Vlastnosti..." of the chosen printer
};

class TSestPrintDlg : public QDialog {
    Q_OBJECT
public:
    // Results of exec(): the print dialog's 0 to 3, and the PDF file.
    enum Result { Cancelled = 0, Preview = 1, Print = 2, Edit = 3, Pdf = 4 };

    TSestPrintDlg(const TPrintDialogTyp &settings, QWidget *parent = nullptr);
    // The settings as the user left them (printer, range, copies, boxes).
    TPrintDialogTyp settings() const;
    QString printerName() const;

    QComboBox *printerCombo() const { return m_printer; }
    QSpinBox *fromPage() const { return m_from; }
    QSpinBox *toPage() const { return m_to; }
    QSpinBox *copies() const { return m_copies; }
    QCheckBox *currentPageBox() const { return m_current; }
    QCheckBox *toFileBox() const { return m_toFile; }
    QCheckBox *backgroundBox() const { return m_background; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *pdfButton() const { return m_pdf; }
    QPushButton *propertiesButton() const { return m_props; }

private:
    void printerChanged();
    void fillForms();
    TPrintDialogTyp m_in;
    std::optional<QPageLayout> m_layout;
    QList<PrinterEntry> m_printers;
    QComboBox *m_printer = nullptr;
    QLabel *m_type = nullptr;
    QLabel *m_where = nullptr;
    QPushButton *m_props = nullptr;
    QCheckBox *m_toFile = nullptr;
    QSpinBox *m_from = nullptr;
    QSpinBox *m_to = nullptr;
    QSpinBox *m_copies = nullptr;
    QCheckBox *m_current = nullptr;
    QCheckBox *m_oneRecord = nullptr;
    QComboBox *m_form = nullptr;
    QCheckBox *m_setDefault = nullptr;
    QCheckBox *m_background = nullptr;
    QPushButton *m_preview = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_pdf = nullptr;
};

class TFormVamelReportZoom : public QDialog {
    Q_OBJECT
public:
    TFormVamelReportZoom(QSize paper, QSize medium, QPrinter &printer, QWidget *parent = nullptr);
    FitChoice choice() const;
    QRadioButton *cropButton() const { return m_crop; }
    QRadioButton *shrinkButton() const { return m_shrink; }
    QRadioButton *tileButton() const { return m_tile; }
    QCheckBox *rotateBox() const { return m_rotate; }
    QLabel *zoomLabel() const { return m_zoom; }
    QLabel *mediumLabel() const { return m_mediumText; }

private:
    void recompute();
    QSize m_paper, m_medium, m_printerMedium;
    QPrinter &m_printer;
    QLabel *m_mediumText = nullptr;
    QLabel *m_zoom = nullptr;
    QWidget *m_sketch = nullptr;
    QRadioButton *m_crop = nullptr;
    QRadioButton *m_shrink = nullptr;
    QRadioButton *m_tile = nullptr;
    QCheckBox *m_rotate = nullptr;
};

// The options window; nullopt for "Storno".
std::optional<FitChoice> askFitChoice(QSize paper, QSize medium, QPrinter &printer);

} // namespace tz::rep::gui
