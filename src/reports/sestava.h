#pragma once
// Report components bound to data, and the engine's run.
//
//   TSestavaD     a report over a ReportDataSource (datasource.h): field names,
//                 labels and values come from the source; compose() runs the
//                 definition over the records into `pages` (pagemodel.h).
//   TSestDetail   a detail report: attached to a master (setMasterSestava), run
//                 by the master's detail elements inside the master's pages.
//   TSestava      the master component a form uses: definition file (ReportDir,
//                 ReportName, always ".pts"), positional Parametry, and the
//                 operations Preview(), Print(), exportTo(); each returns its
//                 TSestError and shows its own messages.
//
//     tz::rep::TSestava rep;
//     rep.setReportDirIgnore(false);
//     rep.setReportDir(programDir + "/reports");
//     rep.setReportName("pvp");              // -> "pvp.pts"
//     rep.Parametry = {companyText};
//     rep.dataSource = &source;              // e.g. tz::rep::DatasetSource
//     if (rep.Preview() != tz::rep::seOK) ...  // message already shown
//
// Hooks, replaceable for tests and for the window library:
//   setMessageHandler()   every message box of the engine (default: stderr,
//                         questions answered "No").
//   setProgressHandler()  called once per laid-out section with the record
//                         counter; answering false cancels the run (sePreruseno,
//                         pages so far kept). The window library shows the
//                         "Informace" window and processes events here.
//   setOutputBackend()    preview and printing (the window library installs
//                         them); without a backend Preview/Print report that no
//                         window or printer is available.
//
// Only one run at a time in the process: a run, preview, print or export
// started while another runs (e.g. from an event handler) returns seBusy.
#include "datasource.h"
#include "pagemodel.h"
#include "reportmodel.h"

#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>

namespace tz::rep {

enum TSestLanguage { slUndefined = 0, slASCII = 1, slCP867 = 2, slCP852 = 3, slCP1250 = 4 };

enum class MessageKind { Error, Warning, Information, Question };
// Returns true for "Yes" of a question.
using MessageHandler = std::function<bool(MessageKind, const QString &caption, const QString &text)>;
void setMessageHandler(MessageHandler handler);   // empty: the default
bool showMessage(MessageKind kind, const QString &caption, const QString &text);

using ProgressHandler = std::function<bool(int record)>;
void setProgressHandler(ProgressHandler handler);
// Called when a composition ends (also when it was cancelled or failed), so
// that a progress window can close.
void setProgressEndHandler(std::function<void()> handler);

// True while a report is being composed, previewed, printed or exported.
bool engineBusy();

// The folder for pictures handed over to reports ("Rx.bmp", "Logox.bmp",
// "Pomzz.bmp"): one temporary folder per process. Picture elements look there
// first.
QString handoverFolder();
// Writes the picture under the name, or removes the file when it is null, so a
// report never shows a previous run's picture. False when writing fails.
bool setHandoverPicture(const QString &name, const QImage &picture);

// The parts that are not empty (nor only blanks), joined with the separator:
// a report subtitle or footer put together from parts never shows a bare
// separator for a missing part. joinNonEmpty({"Firma", "", "Brno"}, " - ")
// is "Firma - Brno"; no part at all gives an empty text.
QString joinNonEmpty(const QStringList &parts, const QString &sep);

class TSestava;

class TSestavaD : public TSestavaTyp {
public:
    ReportDataSource *dataSource = nullptr;
    PageStore pages;

    // Events (all optional).
    std::function<bool(int sectionKind)> onTiskOddilu;        // false suppresses the section
    std::function<void()> onVypoctiFunkce;
    std::function<bool(TSiReportElement &)> onPrintElement;   // for elements with the handler flag; false vetoes

    int fieldCount() const override;
    TCalcType fieldValueAt(int index) const override;
    QString fieldLabel(int index) const override;
    SourceFieldType fieldTypeAt(int index) const;

    // Fills fieldNames and fieldLabels from the source (this and every detail).
    void collectFields();
    // The next section other than the page header, footer and report start
    // begins on a new page.
    void newPage() { m_newPageRequest = true; }
    // Folder of the definition, for pictures named relative to it.
    QString definitionFolder;

    // Composes the loaded definition over the source into `pages`. Normally
    // called by TSestava's operations; tests call it directly. `noPaging`
    // composes one endless page (continuous HTML).
    TSestError compose(bool noPaging = false);

private:
    friend class Composer;
    bool m_newPageRequest = false;
};

class TSestDetail : public TSestavaD {
public:
    void setMasterSestava(TSestavaTyp *master) { setMaster(master); }
};

struct PrintRequest {
    PageRange range;
    int copies = 1;
    QString title;
    QString printerName;   // empty: the default printer
    QString outputFile;    // print to a file instead of the printer
    bool printBackground = false;
    std::optional<QPageLayout> pageLayout;   // paper chosen in the printer's properties
};

struct OutputBackend {
    std::function<TSestError(TSestava &)> preview;
    std::function<bool()> printerAvailable;
    std::function<TSestError(TSestava &, const PrintRequest &)> print;
    std::function<QStringList()> printerNames;   // the installed printers, in the system's order
};
void setOutputBackend(const OutputBackend &backend);
const OutputBackend &outputBackend();

class TSestava : public TSestavaD {
public:
    TSestava();
    ~TSestava() override;

    QString IniFileName = QStringLiteral("SestDLL.ini");
    bool IsStored = false;
    TPredloha Predloha;

    QString reportName() const { return m_reportName; }
    virtual void setReportName(const QString &name);   // the extension becomes ".pts"
    QString reportDir() const { return m_reportDir; }
    void setReportDir(const QString &dir);             // gets a trailing delimiter
    bool reportDirIgnore() const { return m_reportDirIgnore; }
    void setReportDirIgnore(bool on) { m_reportDirIgnore = on; }
    QString DefinitionFileName() const;

    // Events.
    std::function<void()> BeforePreview, AfterPreview, BeforePrint, AfterPrint, BeforePrintPreview, AfterPrintPreview;
    std::function<bool(TSestError)> OnError;
    std::function<void(int page)> OnPreviewCustomEvent;   // shows the preview's own button when set
    QString previewCustomHint;

    TSestError NactiPredlohu(bool offerCreate);
    TSestError UlozPredlohu();
    // The preparation check (messages shown), then fields, definition and
    // composition; the source returns to its row afterwards.
    TSestError run(bool noPaging = false);
    TSestError Preview();
    TSestError Print();
    // Prints on the printer of that position (0-based) in the installed
    // printers; the default printer stays the default.
    TSestError PrintTo(int printerIndex);
    // Runs the report and writes the export ("pdf", "html", "txt", "rtf",
    // "svg"); failures of the file give seWriteFile.
    TSestError exportTo(const QString &format, const QString &path);
    // Writes the composed pages without composing again.
    TSestError exportPages(const QString &format, const QString &path, PageRange range, QString *error = nullptr);
    // StartPage..EndPage limited to the composed pages.
    PageRange printRange() const;
    // Printing from the preview: pages already composed.
    TSestError printComposed(const PrintRequest &request);

private:
    TSestError finish(TSestError e);
    bool prepareSource(TSestavaD &r);
    std::vector<ReportDataSource *> m_openedByEngine;
    QString m_reportName;
    QString m_reportDir = QStringLiteral("./");
    bool m_reportDirIgnore = true;
};

} // namespace tz::rep
