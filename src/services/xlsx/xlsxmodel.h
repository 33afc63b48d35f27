#pragma once
// In-memory model of an xlsx workbook: sheets with typed cells, cell formats,
// merged ranges, column widths, row heights, pictures, page set-up with header
// and footer, and sheet protection. Reading and writing live in xlsxio.h.
// Rows and columns count from 1.
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

namespace tz::xlsx {

// A failure of reading or writing a workbook; the text is meant for the user.
class XlsxError : public std::runtime_error
{
public:
    explicit XlsxError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// A colour as stored in the file: explicit ARGB, a theme colour with tint, a
// legacy palette index, or automatic (nothing stored).
struct Color
{
    QString rgb;       // "FF000000"
    int theme = -1;
    double tint = 0.0;
    int indexed = -1;
    bool isSet() const { return !rgb.isEmpty() || theme >= 0 || indexed >= 0; }
    static Color fromRgb(unsigned rgb);
    // The spreadsheet application's colour index 1..56 of the standard palette;
    // other values give automatic colour.
    static Color fromColorIndex(int index);
    bool operator==(const Color &) const = default;
};

enum class BorderStyle { None, Thin, Medium, Thick, Dashed, Dotted, Double, Hair };

struct BorderSide
{
    BorderStyle style = BorderStyle::None;
    Color color;
    bool operator==(const BorderSide &) const = default;
};

enum class HAlign { General, Left, Center, Right, Fill, Justify, CenterContinuous };
enum class VAlign { Default, Top, Center, Bottom };

// The full format of one cell.
struct CellStyle
{
    // font
    QString fontName = QStringLiteral("Arial");
    double fontSize = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color fontColor;
    // fill (solid pattern only; none when unset)
    Color fill;
    // borders
    BorderSide left, right, top, bottom, diagonal;
    bool diagonalUp = false;
    bool diagonalDown = false;
    // alignment
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Default;
    bool wrap = false;
    int indent = 0;
    int rotation = 0;
    bool shrinkToFit = false;
    // number format code; "General" for none, "@" for text
    QString numFmt = QStringLiteral("General");
    // protection
    bool locked = true;
    bool hidden = false;

    bool operator==(const CellStyle &) const = default;
};

// A typed value for a cell.
struct CellValue
{
    enum class Type { Empty, Text, Number, Date, DateTime, Bool };
    Type type = Type::Empty;
    QString text;
    double number = 0.0;
    QDate date;
    QDateTime dateTime;
    bool boolean = false;
    QString format; // number format for numbers/dates; empty uses a default

    static CellValue empty() { return {}; }
    static CellValue fromText(const QString &t) { CellValue v; v.type = Type::Text; v.text = t; return v; }
    static CellValue fromNumber(double n, const QString &fmt = {}) { CellValue v; v.type = Type::Number; v.number = n; v.format = fmt; return v; }
    static CellValue fromDate(const QDate &d, const QString &fmt = {}) { CellValue v; v.type = Type::Date; v.date = d; v.format = fmt; return v; }
    static CellValue fromDateTime(const QDateTime &d, const QString &fmt = {}) { CellValue v; v.type = Type::DateTime; v.dateTime = d; v.format = fmt; return v; }
    static CellValue fromBool(bool b) { CellValue v; v.type = Type::Bool; v.boolean = b; return v; }
};

// The serial day number of the spreadsheet's 1900 date system.
double dateToSerial(const QDate &d);
double dateTimeToSerial(const QDateTime &d);
QDate serialToDate(double serial);

struct Cell
{
    enum class Kind { Empty, String, Number, Bool, Error };
    Kind kind = Kind::Empty;
    QString text;      // String: the text; Error: the error code
    double number = 0; // Number
    bool boolean = false;
    QString formula;   // without the leading "="; the value above is the cached result
    int style = 0;     // index into Workbook::styles

    bool hasValue() const { return kind != Kind::Empty || !formula.isEmpty(); }
};

struct CellRef
{
    int row = 0;
    int col = 0;
    bool operator==(const CellRef &) const = default;
    bool operator<(const CellRef &o) const { return row != o.row ? row < o.row : col < o.col; }
};

struct Range
{
    int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
    bool contains(int r, int c) const { return r >= row1 && r <= row2 && c >= col1 && c <= col2; }
    bool operator==(const Range &) const = default;
};

// "A" for 1, "AA" for 27; empty for values below 1.
QString columnName(int col);
// 1 for "A"; 0 when the text is not a column name.
int columnNumber(const QString &letters);
// "B3" for row 3, column 2.
QString cellName(int row, int col);
// Parses "B3" or "$B$3"; nullopt when it is not a cell address.
std::optional<CellRef> parseCellName(const QString &text);
// Parses "A1:C3" or a single cell "B2".
std::optional<Range> parseRange(const QString &text);
QString rangeName(const Range &r);

// Shifts the row numbers of the A1 references in a formula: every reference to
// a row >= fromRow moves down by count. References qualified with another
// sheet's name are left alone; sheetName is the formula's own sheet.
QString shiftFormulaRows(const QString &formula, int fromRow, int count,
                         const QString &sheetName = {}, bool onlyQualified = false);

// Moves the relative references of a formula by the given offsets, as copying
// the formula from one cell to another does ("$" parts stay). References that
// would leave the sheet become #REF!.
QString translateFormula(const QString &formula, int dRow, int dCol);

struct Picture
{
    int row = 1;       // top-left cell
    int col = 1;
    qint64 widthEmu = 0;
    qint64 heightEmu = 0;
    QByteArray data;   // image file contents
    QString extension; // "png", "jpeg", "gif"
    QString name;
};

struct ColumnInfo
{
    double width = 0;  // in characters of the default font; 0 = default width
    bool hidden = false;
    int style = -1;    // column format, -1 for none
};

struct RowInfo
{
    double height = 0; // in points; 0 = default
    bool hidden = false;
    int style = -1;    // row format, -1 for none
};

struct PageSetup
{
    bool landscape = false;
    int paperSize = 9; // 9 = A4
    int scale = 100;
    bool fitToPage = false;
    int fitToWidth = 1;
    int fitToHeight = 0;
    double marginLeft = 0.7, marginRight = 0.7, marginTop = 0.75, marginBottom = 0.75;
    double marginHeader = 0.3, marginFooter = 0.3;
    bool centerHorizontally = false;
    bool gridLines = false;
    // "&L...&C...&R..." texts in the file's own code syntax
    QString oddHeader;
    QString oddFooter;
};

struct Protection
{
    bool enabled = false;
    QString passwordHash; // four hex digits of the legacy hash, empty for none
};

class Sheet
{
public:
    QString name;
    std::map<CellRef, Cell> cells;
    std::vector<Range> merges;
    std::map<int, ColumnInfo> columns; // by column number
    std::map<int, RowInfo> rows;       // by row number
    std::vector<Picture> pictures;
    PageSetup page;
    Protection protection;
    bool showGridLines = true;
    double defaultColumnWidth = 0;  // 0 = the application's default
    double defaultRowHeight = 0;

    const Cell *cell(int row, int col) const;
    Cell &cellAt(int row, int col); // creates an empty cell when missing
    int maxRow() const;
    int maxCol() const;
    // The merged range holding the cell, or nullptr.
    const Range *mergeAt(int row, int col) const;
};

class Workbook
{
public:
    Workbook(); // one empty sheet "List1", the default format at index 0
    std::vector<Sheet> sheets;
    int activeSheet = 0;
    std::vector<CellStyle> styles; // styles[0] is the default format
    QByteArray themeXml;           // kept from a read workbook, written back as is
    std::vector<std::pair<QString, QString>> definedNames; // name, formula text (local names carry "sheetIndex|name")

    Sheet &active() { return sheets.at(activeSheet); }
    const Sheet &active() const { return sheets.at(activeSheet); }

    // The index of a format, added when not yet present.
    int styleIndex(const CellStyle &style);
    const CellStyle &style(int index) const;

    // Inserts count empty rows before row in the given sheet: cells, row
    // heights, merges, pictures and every formula reference at or below row move
    // down; ranges that span the row grow. The new rows take the formats of the
    // row above (as the spreadsheet application does).
    void insertRows(int sheet, int row, int count = 1);

    // Sets a value into a cell, keeping its format; numbers and dates get a
    // number format when the cell has none.
    void setValue(int sheet, int row, int col, const CellValue &value);
    // The text a reader of the cell would see (dates as d.m.yyyy).
    QString displayText(int sheet, int row, int col) const;
};

// The legacy 16-bit hash of a sheet-protection password, as four hex digits.
QString legacyPasswordHash(const QString &password);

} // namespace tz::xlsx
