#pragma once
// Reading and writing xlsx files (Office Open XML spreadsheets) for the model
// of xlsxmodel.h. Both throw XlsxError with a Czech message on failure.
#include "xlsxmodel.h"

#include <vector>

namespace tz::xlsx {

// Reads a workbook: values, formulas, formats, merges, column widths, row
// heights, pictures, page set-up, header and footer, protection and defined
// names. Charts, comments and conditional formats are not kept.
Workbook readWorkbook(const QString &path);

// Writes the workbook. With a non-empty list of sheet indexes only those
// sheets are written (the first of them becomes the active one).
// The file is replaced only when the whole workbook has been written.
void writeWorkbook(const Workbook &book, const QString &path,
                   const std::vector<int> &onlySheets = {});

// Escaping of characters that XML cannot carry, the file format's "_xHHHH_" form.
QString escapeXmlText(const QString &text);
QString unescapeXmlText(const QString &text);

} // namespace tz::xlsx
