#pragma once
// Spreadsheet templates: finding a template workbook below the program folder,
// and template description files (Windows-1250 profile files) that say which
// value goes into which cell.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "xlsx/xlsxmodel.h"

#include <map>
#include <stdexcept>
#include <vector>

namespace tz {

class ExportDoExcelu;

// A fault of a template or its description file; the text is meant for the user.
class TemplateError : public std::runtime_error
{
public:
    explicit TemplateError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Finds a template workbook by its installation name ("sablony\\Seznam_x")
// below one folder, or absolute: the name as written, or with the extension
// .xlsx, .xlsm or .xls; folder and file names are matched without regard to
// letter case. Returns the path found, or an empty string. The program looks
// for templates with findInstalledTemplate (folders.h), which also searches
// beside the programs.
QString findTemplateWorkbook(const QString &programFolder, const QString &name);
// The same rule for a description file ("sablony\\protokol1_.ini").
QString findTemplateFile(const QString &programFolder, const QString &name);

// A cell address of a description file; row 0 and column 0 mean "not placed".
struct CellAddress
{
    int row = 0;
    int col = 0;
    bool placed() const { return row > 0 && col > 0; }
    bool operator==(const CellAddress &) const = default;
};

// A template description file: sections in square brackets, key=value lines;
// sections and keys are looked up without regard to letter case. Lines that
// begin with ";" are comments; the first of repeated keys counts.
class TemplateDescription
{
public:
    TemplateDescription() = default;
    // Parses Windows-1250 bytes; fileName names the file in messages.
    static TemplateDescription fromBytes(const QByteArray &bytes, const QString &fileName = {});
    // Reads the file; throws TemplateError when it cannot be read.
    static TemplateDescription load(const QString &path);

    bool hasKey(const QString &section, const QString &key) const;
    // The raw value, or def when the key is missing.
    QString value(const QString &section, const QString &key, const QString &def = {}) const;
    // A cell address "row,col": the characters before the first comma are the
    // row, those after it up to the next comma or the end the column. A missing
    // key reads as "0,0". Throws TemplateError for anything that is not two
    // whole numbers >= 0.
    CellAddress cell(const QString &section, const QString &key) const;
    // A whole number >= 0; def for a missing or empty key; throws TemplateError otherwise.
    int number(const QString &section, const QString &key, int def = 0) const;
    // A text, written unchanged.
    QString text(const QString &section, const QString &key) const { return value(section, key); }
    // The keys of a section in file order (as written).
    QStringList keys(const QString &section) const;
    QString fileName() const { return m_fileName; }

private:
    struct Section
    {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
    };
    const Section *section(const QString &name) const;
    std::vector<Section> m_sections;
    QString m_fileName;
};

// Writes the value into the cell that the key gives, when it is placed;
// returns whether it was written (a missing key or "0,0" writes nothing).
bool placeValue(ExportDoExcelu &sheet, const TemplateDescription &desc, const QString &section,
                const QString &key, const xlsx::CellValue &value);

// One data line of a description-driven list: field name (any case) -> value.
// Texts stay texts ("0012"), numbers stay numbers.
using DescribedRecord = std::map<QString, xlsx::CellValue>;

// Writes the data lines of a description-driven list (the summary protocol)
// into the open workbook, after the caller has written the header cells:
// section "browser" key XROW (first row; 0 writes no lines and no total), the
// field columns of section "browser", fixed texts s1..sXPOL of section
// "sloupce" and the price total in column XSUMA. After each line a row is
// inserted below it, so that the template needs one formatted data row; the
// total lands on the template's row that followed the data row.
// priceField names the field that is summed (values > 0 count; Czech decimal
// comma accepted for texts). Returns the row of the total (0 when none was written).
int writeDescribedLines(ExportDoExcelu &sheet, const TemplateDescription &desc,
                        const std::vector<DescribedRecord> &records,
                        const QString &priceField = QStringLiteral("cenarev"));

} // namespace tz
