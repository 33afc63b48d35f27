#include "printing.h"

#include "exporter.h"
#include "pagerenderer.h"
#include "printdialogs.h"
#include "progresswindow.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include <cmath>

namespace tz::rep::gui {

namespace {

PrinterCatalog &catalog()
{
    static PrinterCatalog c;
    return c;
}

FitChooser &fitChooser()
{
    static FitChooser f;
    return f;
}

const QString kSending = QStringLiteral("Odesílám data do tiskárny ...");

double hundredthsPerUnit(QPageLayout::Unit u)
{
    switch (u) {
    case QPageLayout::Millimeter: return 100.0 / 25.4;
    case QPageLayout::Point: return 100.0 / 72.0;
    case QPageLayout::Inch: return 100.0;
    case QPageLayout::Pica: return 100.0 / 6.0;
    case QPageLayout::Didot: return 100.0 / 72.0 * 1.07;
    case QPageLayout::Cicero: return 100.0 / 6.0 * 1.07;
    }
    return 100.0 / 72.0;
}

QSize mediumOf(const QPrinter &printer)
{
    const QRectF r = printer.pageLayout().fullRect(QPageLayout::Inch);
    return QSize(int(std::lround(r.width() * 100)), int(std::lround(r.height() * 100)));
}

QMarginsF unprintableOf(const QPrinter &printer)
{
    const QPageLayout l = printer.pageLayout();
    const double f = hundredthsPerUnit(l.units());
    const QMarginsF m = l.minimumMargins();
    return QMarginsF(m.left() * f, m.top() * f, m.right() * f, m.bottom() * f);
}

// Asks the printer for the report's paper: exactly on a PDF printer, else a
// size the printer offers that is within 1 % of it.
void choosePaper(QPrinter &printer, const PageStore &store)
{
    const PageSetup &ps = store.pageSetup;
    if (!ps.orientationChangeable)
        printer.setPageOrientation(ps.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QSizeF want(ps.paperWidth / 100.0, ps.paperHeight / 100.0);
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        printer.setPageSize(QPageSize(want, QPageSize::Inch, QString(), QPageSize::ExactMatch));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        return;
    }
    const QPrinterInfo info(printer);
    for (const QPageSize &s : info.supportedPageSizes()) {
        const QSizeF have = s.size(QPageSize::Inch);
        if (std::abs(have.width() - want.width()) <= want.width() / 100
            && std::abs(have.height() - want.height()) <= want.height() / 100) {
            printer.setPageSize(s);
            return;
        }
    }
}

void drawBackground(QPainter &p, const PageStore &store)
{
    const Background &bg = store.background;
    if (bg.picture.isNull())
        return;
    QRect r = bg.limited ? QRect(bg.left, bg.top, bg.width ? bg.width : store.paperWidth(),
                                 bg.height ? bg.height : store.paperHeight())
                         : QRect(0, 0, store.paperWidth(), store.paperHeight());
    r.translate(-store.pageSetup.marginLeft, -store.pageSetup.marginTop);
    p.drawImage(r, bg.picture);
}

// Starts painting on the printer; the user is told when it cannot start.
bool beginPrinting(QPainter &p, QPrinter &printer)
{
    if (p.begin(&printer))
        return true;
    showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                QStringLiteral("Tisk se nepodařilo zahájit na tiskárně \"%1\".").arg(printer.printerName()));
    return false;
}

} // namespace

void setPrinterCatalog(PrinterCatalog c) { catalog() = std::move(c); }

QList<PrinterEntry> installedPrinters()
{
    if (catalog())
        return catalog()();
    QList<PrinterEntry> out;
    const QString def = QPrinterInfo::defaultPrinterName();
    for (const QPrinterInfo &i : QPrinterInfo::availablePrinters())
        out.push_back({i.printerName(), i.makeAndModel(), i.location(), i.printerName() == def});
    return out;
}

std::optional<PrinterEntry> findPrinter(const QString &name)
{
    const QList<PrinterEntry> all = installedPrinters();
    if (all.isEmpty())
        return std::nullopt;
    for (const PrinterEntry &p : all)
        if (name.isEmpty() ? p.isDefault : p.name == name)
            return p;
    if (!name.isEmpty())
        return std::nullopt;
    return all.first();
}

bool isTextOnlyDriver(const QString &driver)
{
    const QString d = driver.trimmed();
    return d.compare(QLatin1String("Generic / Text Only"), Qt::CaseInsensitive) == 0
        || d.compare(QStringLiteral("Obecná nebo jen textová"), Qt::CaseInsensitive) == 0
        || d.startsWith(QLatin1String("Generic Text-Only"), Qt::CaseInsensitive);
}

bool mediumTooSmall(QSize paper, QSize medium)
{
    return qint64(medium.width()) * 100 < qint64(paper.width()) * 99
        || qint64(medium.height()) * 100 < qint64(paper.height()) * 99;
}

int shrinkZoomPercent(QSize paper, QSize medium)
{
    if (paper.width() <= 0 || paper.height() <= 0)
        return 100;
    return std::min(medium.width() * 100 / paper.width(), medium.height() * 100 / paper.height());
}

SheetPlan planSheets(QSize paper, QSize medium, QMarginsF margins, FitMode mode)
{
    SheetPlan plan;
    if (mode != FitMode::Tile || medium.width() <= 0 || medium.height() <= 0) {
        if (mode == FitMode::Shrink)
            plan.zoom = shrinkZoomPercent(paper, medium) / 100.0;
        plan.offsets = {QPoint(0, 0)};
        return plan;
    }
    // starts of the sheets along one direction
    auto starts = [](int paperLen, int mediumLen, double lossBefore, double lossAfter) {
        QList<int> s{0};
        int step = int(std::lround(mediumLen - lossBefore - lossAfter));
        if (step <= 0)
            step = mediumLen;
        double covered = mediumLen;
        int at = 0;
        while (paperLen - covered > mediumLen / 100.0) {
            at += step;
            s << at;
            covered += step;
        }
        return s;
    };
    const QList<int> xs = starts(paper.width(), medium.width(), margins.left(), margins.right());
    const QList<int> ys = starts(paper.height(), medium.height(), margins.top(), margins.bottom());
    for (int y : ys)
        for (int x : xs)
            plan.offsets << QPoint(x, y);
    return plan;
}

void setFitChooser(FitChooser chooser) { fitChooser() = std::move(chooser); }

TSestError printGraphic(QPrinter &printer, const PageStore &store, const PrintJob &job)
{
    const PageRange r = store.clamp(job.range);
    if (r.first > r.last)
        return seOK;
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (!job.usePrinterPaper)
        choosePaper(printer, store);
    printer.setFullPage(true);
    printer.setDocName(job.title);
    const QSize paper(store.paperWidth(), store.paperHeight());
    SheetPlan plan;
    plan.offsets = {QPoint(0, 0)};
    QSize medium = mediumOf(printer);
    if (mediumTooSmall(paper, medium)) {
        const std::optional<FitChoice> c =
            fitChooser() ? fitChooser()(paper, medium, printer) : askFitChoice(paper, medium, printer);
        if (!c)
            return sePreruseno;
        if (c->rotateMedium)
            printer.setPageOrientation(printer.pageLayout().orientation() == QPageLayout::Portrait
                                           ? QPageLayout::Landscape
                                           : QPageLayout::Portrait);
        medium = mediumOf(printer);
        plan = planSheets(paper, medium, unprintableOf(printer), c->mode);
    }
    int sends = std::max(1, job.copies);
    if (!toFile && printer.supportsMultipleCopies()) {
        printer.setCopyCount(sends);
        if (printer.copyCount() >= sends)
            sends = 1;
        else
            printer.setCopyCount(1);
    } else {
        printer.setCopyCount(1);
    }

    QPainter p;
    if (!beginPrinting(p, printer))
        return seJina;
    ProgressWindow &progress = ProgressWindow::instance();
    const double dpi = printer.resolution();
    bool first = true;
    bool aborted = false;
    for (int copy = 0; copy < sends && !aborted; ++copy) {
        for (int page = r.first; page <= r.last && !aborted; ++page) {
            for (const QPoint &off : plan.offsets) {
                if (!first && !printer.newPage()) {
                    aborted = true;
                    break;
                }
                first = false;
                QTransform t;
                t.scale(dpi / 100.0 * plan.zoom, dpi / 100.0 * plan.zoom);
                t.translate(-off.x() + store.pageSetup.marginLeft, -off.y() + store.pageSetup.marginTop);
                p.setTransform(t);
                if (job.printBackground)
                    drawBackground(p, store);
                renderPage(p, store, page - 1, false);
                progress.working(kSending, false);
                if (printer.printerState() == QPrinter::Aborted || printer.printerState() == QPrinter::Error) {
                    aborted = true;
                    break;
                }
            }
        }
    }
    if (!p.end())
        aborted = true;
    progress.finish();
    return aborted ? sePreruseno : seOK;
}

TSestError printCharacters(QPrinter &printer, const PageStore &store, const PrintJob &job, int language)
{
    const PageRange r = store.clamp(job.range);
    if (r.first > r.last)
        return seOK;
    const std::vector<CharacterPage> pages = characterPages(store, r);
    printer.setFullPage(true);
    printer.setDocName(job.title);
    QPainter p;
    if (!beginPrinting(p, printer))
        return seJina;
    ProgressWindow &progress = ProgressWindow::instance();
    const double dpi = printer.resolution();
    const double rowHeight = dpi / characterLinesPerInch(store.grid);
    const double left = store.pageSetup.marginLeft * dpi / 100.0;
    const double top = store.pageSetup.marginTop * dpi / 100.0;
    static const int pitches[3] = {10, 12, 17};
    bool first = true;
    bool aborted = false;
    for (int copy = 0; copy < std::max(1, job.copies) && !aborted; ++copy) {
        for (const CharacterPage &page : pages) {
            if (!first && !printer.newPage()) {
                aborted = true;
                break;
            }
            first = false;
            for (size_t row = 0; row < page.rows.size(); ++row) {
                const CharacterRow &cr = page.rows[row];
                if (!cr.used)
                    continue;
                for (int layer = 0; layer < 24; ++layer) {
                    QString text = cr.layers[size_t(layer)];
                    if (text.trimmed().isEmpty())
                        continue;
                    if (language == slASCII)
                        text = QString::fromLatin1(encodeForExport(text, slASCII));
                    const int pitch = pitches[layer / 8];
                    QFont f(QStringLiteral("Courier New"));
                    f.setStyleHint(QFont::TypeWriter);
                    f.setFixedPitch(true);
                    f.setPointSizeF(120.0 / pitch);
                    f.setBold(layer & 1);
                    f.setItalic(layer & 2);
                    f.setUnderline(layer & 4);
                    p.setFont(f);
                    const double baseline = top + row * rowHeight + QFontMetricsF(f, &printer).ascent();
                    for (int c = 0; c < text.size(); ++c)
                        if (text[c] != u' ')
                            p.drawText(QPointF(left + c * dpi / pitch, baseline), QString(text[c]));
                }
            }
            progress.working(kSending, false);
        }
    }
    if (!p.end())
        aborted = true;
    progress.finish();
    return aborted ? sePreruseno : seOK;
}

TSestError printCharactersToFile(const QString &path, const PageStore &store, const PrintJob &job, int language,
                                 QString *error)
{
    const QByteArray once = characterPageBytes(store, job.range, language);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return seWriteFile;
    }
    ProgressWindow &progress = ProgressWindow::instance();
    for (int copy = 0; copy < std::max(1, job.copies); ++copy) {
        if (!progress.working(QStringLiteral("Odesílám data do souboru ..."), true)) {
            progress.finish();
            f.cancelWriting();
            return sePreruseno;
        }
        if (f.write(once) != once.size()) {
            progress.finish();
            if (error)
                *error = f.errorString();
            f.cancelWriting();
            return seWriteFile;
        }
    }
    progress.finish();
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return seWriteFile;
    }
    return seOK;
}

TSestError savePdf(const PageStore &store, PageRange range, const QString &path, QString *error)
{
    std::unique_ptr<Exporter> ex = createExporter(QStringLiteral("pdf"));
    ExportOptions o;
    o.range = store.clamp(range);
    return ex->write(store, path, o, error) ? seOK : seWriteFile;
}

TSestError printRequest(TSestava &rep, const PrintRequest &request)
{
    const std::optional<PrinterEntry> entry = findPrinter(request.printerName);
    if (!entry) {
        showMessage(MessageKind::Warning, QStringLiteral("Varování"),
                    QStringLiteral("V systému není nainstalovaná žádná tiskárna."));
        return seNeniTiskarna;
    }
    const PrintJob job{rep.pages.clamp(request.range), std::max(1, request.copies), request.title,
                       request.printBackground, request.pageLayout.has_value()};
    if (isTextOnlyDriver(entry->driver) && !request.outputFile.isEmpty()) {
        QString why;
        const TSestError e = printCharactersToFile(request.outputFile, rep.pages, job, rep.exportLanguage, &why);
        if (e == seWriteFile)
            showMessage(MessageKind::Error, QStringLiteral("Chyba"), QStringLiteral("Výstupní soubor se nepodařilo uložit."));
        return e;
    }
    QPrinter printer(QPrinterInfo::printerInfo(entry->name), QPrinter::HighResolution);
    if (!request.outputFile.isEmpty()) {
        // the document goes into a file: PDF, the format this system's printers take
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(request.outputFile);
    }
    if (request.pageLayout)
        printer.setPageLayout(*request.pageLayout);
    if (isTextOnlyDriver(entry->driver))
        return printCharacters(printer, rep.pages, job, rep.exportLanguage);
    return printGraphic(printer, rep.pages, job);
}

} // namespace tz::rep::gui
