#pragma once
// "Seznam do excelu": a list (the grid on screen) written into the list
// template sablony/Seznam_x. Knows nothing of datasets or windows: the caller
// passes the title, header texts, logo, column titles and the rows in the
// grid's order and filter.
#include "xlsx/xlsxmodel.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace tz {

class ExportDoExcelu;

// The list template, by its stored installation name as passed to
// OpenWorkbook (found in the program folder's "sablony", else beside the programs).
inline const QString kListTemplate = QStringLiteral("sablony\\Seznam_x");

struct ListDocument
{
    QString title;        // row 3 and the left of the footer
    QString organisation; // left of the page header (the user organisation's name), shown literally
    QString dateText;     // right of the page header; empty: today as d.M.yyyy
    QImage logo;          // the organisation's logo; null for none
    QStringList columns;  // column titles in grid order (row 5)
    // One row per record from row 6, one value per column: texts stay texts
    // ("0012", "1/5"), numbers and dates stay numbers and dates.
    std::vector<std::vector<xlsx::CellValue>> rows;
};

// The list title by register name ("Vázací prostředky", "Zdvihací zařízení",
// "Osoby", "Ocelové konstrukce", "OPPP") and page (evidence or planning);
// empty for an unknown register.
QString listTitle(const QString &registerName, bool planning);

// Writes the list into the open workbook (the list template): title, footer,
// header, logo at A1, column titles in row 5, the rows from row 6, autofit.
// Cells of columns and rows beyond the template's formatted ones take the
// formats of the template's first title cell (A5) and first data cell (A6).
void fillList(ExportDoExcelu &sheet, const ListDocument &doc);

// The whole command for the main window: Connect, OpenWorkbook(kListTemplate),
// fillList, Show, Release (the user gets the workbook in their spreadsheet
// program; the file stays in the sheet's output folder, and when it cannot be
// opened the user is told where it is). Throws SpreadsheetError (template
// missing or unreadable).
void exportList(ExportDoExcelu &sheet, const ListDocument &doc);

// The same list saved to a file, for the command line; the template is looked
// for in the program folder, then beside the programs. Throws SpreadsheetError.
void saveList(const ListDocument &doc, const QString &programFolder, const QString &outputPath);

} // namespace tz
