#pragma once
// The spreadsheet interface used by lists and protocols. It keeps one
// workbook in memory (over the xlsx layer, no spreadsheet program needed to
// fill it); "Show" hands the workbook to the user in the desktop's program for
// xlsx files, printing and preview go through a PDF made by an office program
// found on the machine (LibreOffice).
//
// Calling order: Connect, OpenWorkbook, writes, then either Show and Release
// (the user gets the workbook), or Show, PreviewSheet or PrintSheet,
// CloseAndQuit, Release (a printed document). Writes go to the active sheet.
// Rows and columns count from 1.
#include "xlsx/xlsxmodel.h"

#include <QImage>
#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

namespace tz {

// A failure that stops a spreadsheet document; the text is meant for the user.
class SpreadsheetError : public std::runtime_error
{
public:
    explicit SpreadsheetError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// What the spreadsheet interface needs of the desktop; the window-system
// implementation is in desktopopener.h, tests use their own.
class SpreadsheetDesktop
{
public:
    virtual ~SpreadsheetDesktop() = default;
    // Opens a file with the program associated with its type; false when that failed.
    virtual bool openFile(const QString &path) = 0;
    // Tells the user something (a message box in the program).
    virtual void inform(const QString &message) = 0;
    // Why the last openFile failed, for the user ("program xdg-open nebyl
    // nalezen"); empty when not known.
    virtual QString openError() const { return {}; }
};

// Hands a file the program made (or keeps) for the user to the desktop's
// program for its type. When that fails the user is told which file it is,
// why it did not open and in which folder it stays; a notice, when given,
// goes first in the same message (and is also shown when the file opened,
// followed by the file's name). A null desktop writes the message to the log.
// Returns whether the file was opened.
bool showFile(SpreadsheetDesktop *desktop, const QString &path, const QString &notice = {});

// Converts workbooks to PDF and prints PDF files with programs found on the machine.
class PdfTools
{
public:
    virtual ~PdfTools() = default;
    // The office program used for the conversion, or empty when none is found.
    virtual QString officeProgram() const;
    // Converts the workbook into a PDF in outDir; returns its path; throws
    // SpreadsheetError when the conversion fails.
    virtual QString convertToPdf(const QString &xlsxPath, const QString &outDir) const;
    // Sends the PDF to the default printer; throws SpreadsheetError on failure.
    virtual void printPdf(const QString &pdfPath) const;
};

// Border and alignment flags of FormatCell.
enum FormatFlag : int {
    BorderBottom = 1, BorderTop = 2, BorderRight = 4, BorderLeft = 8,
    BorderDiagonalUp = 16, BorderDiagonalDown = 32,
    AlignLeft = 64, AlignCenter = 128, AlignRight = 256,
};

// Doubles "&" so that a text shows literally in a page header or footer,
// whose codes begin with "&" ("&P" page, "&N" pages, "&8" font size).
QString headerLiteral(const QString &text);

class ExportDoExcelu
{
public:
    // desktop may be null (nothing is opened, messages go to the log); pdf
    // null uses the default PdfTools. Neither is owned.
    explicit ExportDoExcelu(SpreadsheetDesktop *desktop = nullptr, const PdfTools *pdf = nullptr);
    ~ExportDoExcelu();
    ExportDoExcelu(const ExportDoExcelu &) = delete;
    ExportDoExcelu &operator=(const ExportDoExcelu &) = delete;

    // The program folder: templates are looked for there first, then beside
    // the programs (findInstalledTemplate); the current directory when not set.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    // Where Show, previews and the print fallback save documents for the
    // user; keptFilesFolder of the program folder when not set.
    void setOutputFolder(const QString &folder) { m_outputFolder = folder; }

    void Connect();
    // Opens a template (found by findInstalledTemplate, with or without an
    // extension) or, for an empty name, a new workbook. Throws SpreadsheetError
    // naming the folders searched.
    void OpenWorkbook(const QString &name);

    // Texts are stored as texts: "0012" stays "0012".
    void SetCell(int row, int col, const QString &text);
    // A typed value: numbers and dates stay numbers and dates.
    void SetCell(int row, int col, const xlsx::CellValue &value);
    // Left-aligned, wrapped; a text longer than width characters makes the
    // row 12 points per expected line high.
    void SetCellWrapped(int row, int col, int width, const QString &text);
    void SetCellBold(int row, int col, const QString &text);
    void SetCellItalic(int row, int col, const QString &text);
    // Bold, font size 10.
    void SetCellHeading(int row, int col, const QString &text);
    // Left-aligned text with the text number format "@".
    void SetCellText(int row, int col, const QString &text);
    // Merges a range given as "A5:H5"; throws SpreadsheetError for a bad address.
    void MergeRange(const QString &address);
    // Formats the cell (col <= 0: the whole row; row <= 0: the whole column):
    // the border flags draw thin lines in borderColor (a colour index of the
    // standard palette, <= 0 automatic); an alignment flag aligns
    // horizontally, bottom, without wrapping and undoes a merge there;
    // fill > 0 fills with that colour index.
    void FormatCell(int row, int col, int flags, int fill = 0, int borderColor = 0);
    // Inserts an empty row before row; cells, merges, pictures and formula
    // references below move down.
    void InsertRow(int row);
    // Inserts the picture with its top-left corner at the cell, at its size in
    // pixels at 96 dpi, shrunk to fit maxWidthPt x maxHeightPt when given.
    // Returns false (and inserts nothing) when the file is missing or not a picture.
    bool InsertPicture(int row, int col, const QString &file, double maxWidthPt = 0, double maxHeightPt = 0);
    bool InsertPicture(int row, int col, const QImage &image, double maxWidthPt = 0, double maxHeightPt = 0);
    // Page header and footer texts with their codes ("&8", "&P", "&N", "&10").
    void SetHeader(const QString &left, const QString &centre, const QString &right);
    void SetFooter(const QString &left, const QString &centre, const QString &right);
    // Widens every column to its longest single-line value (merged and wrapped cells aside).
    void AutofitColumns();
    // Print or preview sheet n (from 1) through a PDF. Returns false when it
    // could not be done; the user has then been told why, and when no office
    // program was found the workbook has been saved and opened for them.
    bool PrintSheet(int n);
    bool PreviewSheet(int n);
    // Protects sheet n (from 1) with the program's fixed password.
    void ProtectSheet(int n);
    // Saves the workbook for the user (shownFile()); it is opened in the
    // desktop's program at Release unless a print or preview was done after Show.
    void Show();
    // Closes the workbook; a file of that name left behind is removed.
    void CloseAndQuit(const QString &file);
    // Ends the session: hands a shown workbook to the user (see Show) and drops it.
    void Release();

    // Saves the active workbook to a file (for the command line); throws SpreadsheetError.
    void SaveAs(const QString &path);
    bool isOpen() const { return m_book != nullptr; }
    xlsx::Workbook &workbook();
    QString shownFile() const { return m_shownFile; }
    QString templateFile() const { return m_templateFile; }

private:
    xlsx::Sheet &sheet();
    xlsx::Workbook &book();
    void checkCell(int row, int col) const;
    void restyle(int row, int col, const std::function<void(xlsx::CellStyle &)> &change);
    void setStyled(int row, int col, const QString &text, const std::function<void(xlsx::CellStyle &)> &change);
    QString outputFolder() const;
    QString outputPath(const QString &suffix) const;
    bool sheetThroughPdf(int n, bool print);
    void handOver();
    void inform(const QString &message);

    SpreadsheetDesktop *m_desktop;
    const PdfTools *m_pdf;
    std::unique_ptr<PdfTools> m_ownPdf;
    std::unique_ptr<xlsx::Workbook> m_book;
    QString m_programFolder;
    QString m_outputFolder;
    QString m_templateFile;
    QString m_shownFile;
    bool m_shown = false;
    bool m_handedOver = false;
    bool m_dirtySinceShow = false;
};

} // namespace tz
