#pragma once
// Putting composed pages on paper: the installed printers, graphic printing
// through QPainter (copies, page range, a medium smaller than the report's
// paper), text-only printers through the character page, print to a file, and
// PDF through QPdfWriter.
//
//   QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
//   TSestError e = printGraphic(printer, rep.pages, {.range = {1, 3}, .copies = 2, .title = rep.Popis});
//
// Every function returns the engine's result code: seOK, sePreruseno (the job
// was aborted or the print options were left with "Storno"), seWriteFile (a
// file could not be written), seJina (the printer could not be started).
#include "sestava.h"

#include <QMarginsF>
#include <QPoint>
#include <QSize>

#include <functional>
#include <optional>

class QPrinter;

namespace tz::rep::gui {

struct PrinterEntry {
    QString name;
    QString driver;     // make and model
    QString location;   // port or place
    bool isDefault = false;
};
using PrinterCatalog = std::function<QList<PrinterEntry>()>;
// The installed printers: the system's unless a catalog is set (tests).
void setPrinterCatalog(PrinterCatalog catalog);
QList<PrinterEntry> installedPrinters();
// The entry of that name, or the default printer (else the first) for an
// empty name; nullopt without printers.
std::optional<PrinterEntry> findPrinter(const QString &name = {});
// Drivers that print characters only: "Generic / Text Only", "Obecná nebo jen
// textová" and the CUPS driver "Generic Text-Only".
bool isTextOnlyDriver(const QString &driver);

// A report page on a medium smaller than its paper.
enum class FitMode { Crop, Shrink, Tile };
struct FitChoice {
    FitMode mode = FitMode::Shrink;
    bool rotateMedium = false;
};
// True when the medium is narrower or lower than 99 % of the paper.
bool mediumTooSmall(QSize paper, QSize medium);
// min(medium width * 100 / paper width, medium height * 100 / paper height).
int shrinkZoomPercent(QSize paper, QSize medium);
struct SheetPlan {
    double zoom = 1.0;
    QList<QPoint> offsets;   // per sheet: where it starts on the page (hundredths of an inch)
};
// Sheets of one page: one at 100 % (crop), one at the shrink zoom, or at 100 %
// one more sheet across for as long as the rest exceeds a hundredth of the
// medium width, each further sheet covering the medium width less the left and
// right margins (the same downwards).
SheetPlan planSheets(QSize paper, QSize medium, QMarginsF margins, FitMode mode);
// Asks how to print when the medium is too small; nullopt for "Storno".
// Default: the "Vamel - možnosti tisku" window.
using FitChooser = std::function<std::optional<FitChoice>(QSize paper, QSize medium, QPrinter &printer)>;
void setFitChooser(FitChooser chooser);

struct PrintJob {
    PageRange range;
    int copies = 1;
    QString title;
    bool printBackground = false;
    bool usePrinterPaper = false;   // keep the printer's paper (as chosen in its properties)
};

// Prints graphically. The report's paper and orientation are asked of the
// printer (a PDF printer takes them exactly); a smaller medium asks the fit
// chooser. Copies go to the driver when it can make them, otherwise the
// document is sent as many times.
TSestError printGraphic(QPrinter &printer, const PageStore &store, const PrintJob &job);
// Prints the character page: each page one printer page, each layer of each
// used row in the fixed-pitch font of its pitch (bold layers in bold).
TSestError printCharacters(QPrinter &printer, const PageStore &store, const PrintJob &job, int language);
// The character output of the range, once per copy, into a file; the progress
// window's "Přerušit" stops it.
TSestError printCharactersToFile(const QString &path, const PageStore &store, const PrintJob &job, int language,
                                 QString *error = nullptr);
// The range as one PDF document.
TSestError savePdf(const PageStore &store, PageRange range, const QString &path, QString *error = nullptr);

// The backend's print: the request's printer (or the default one), graphic or
// text-only, to the printer or to the request's file.
TSestError printRequest(TSestava &rep, const PrintRequest &request);

} // namespace tz::rep::gui
