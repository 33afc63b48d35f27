#include "xlsxmodel.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace tz::xlsx {

namespace {

// The standard 56-colour palette of the spreadsheet application (colour index 1..56).
constexpr unsigned kPalette[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

const QDate kEpoch(1899, 12, 30);

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$' || c == u'\\';
}

const QRegularExpression &cellRefRe()
{
    static const QRegularExpression re(QStringLiteral("^(\\$?)([A-Za-z]{1,3})(\\$?)([0-9]{1,7})$"));
    return re;
}

const QRegularExpression &rowRefRe()
{
    static const QRegularExpression re(QStringLiteral("^(\\$?)([0-9]{1,7})$"));
    return re;
}

} // namespace

Color Color::fromRgb(unsigned rgb)
{
    Color c;
    c.rgb = QStringLiteral("FF%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
    return c;
}

Color Color::fromColorIndex(int index)
{
    if (index < 1 || index > 56)
        return {};
    return fromRgb(kPalette[index - 1]);
}

double dateToSerial(const QDate &d)
{
    return double(kEpoch.daysTo(d));
}

double dateTimeToSerial(const QDateTime &d)
{
    const QTime t = d.time();
    return dateToSerial(d.date()) + t.msecsSinceStartOfDay() / 86400000.0;
}

QDate serialToDate(double serial)
{
    return kEpoch.addDays(qint64(std::floor(serial)));
}

QString columnName(int col)
{
    QString s;
    while (col > 0) {
        const int m = (col - 1) % 26;
        s.prepend(QChar(u'A' + m));
        col = (col - 1) / 26;
    }
    return s;
}

int columnNumber(const QString &letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return 0;
    int n = 0;
    for (QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return 0;
        n = n * 26 + (u - u'A' + 1);
    }
    return n > 16384 ? 0 : n;
}

QString cellName(int row, int col)
{
    return columnName(col) + QString::number(row);
}

std::optional<CellRef> parseCellName(const QString &text)
{
    const auto m = cellRefRe().match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int col = columnNumber(m.captured(2));
    const int row = m.captured(4).toInt();
    if (col < 1 || row < 1 || row > 1048576)
        return std::nullopt;
    return CellRef{row, col};
}

std::optional<Range> parseRange(const QString &text)
{
    const QStringList parts = text.trimmed().split(u':');
    if (parts.size() == 1) {
        auto c = parseCellName(parts[0]);
        if (!c)
            return std::nullopt;
        return Range{c->row, c->col, c->row, c->col};
    }
    if (parts.size() != 2)
        return std::nullopt;
    auto a = parseCellName(parts[0]);
    auto b = parseCellName(parts[1]);
    if (!a || !b)
        return std::nullopt;
    return Range{std::min(a->row, b->row), std::min(a->col, b->col),
                 std::max(a->row, b->row), std::max(a->col, b->col)};
}

QString rangeName(const Range &r)
{
    if (r.row1 == r.row2 && r.col1 == r.col2)
        return cellName(r.row1, r.col1);
    return cellName(r.row1, r.col1) + u':' + cellName(r.row2, r.col2);
}

QString shiftFormulaRows(const QString &f, int fromRow, int count, const QString &sheetName,
                         bool onlyQualified)
{
    QString out;
    out.reserve(f.size() + 8);
    const int n = f.size();
    int i = 0;
    auto shiftWord = [&](const QString &word, bool qualifiedHere) -> QString {
        if (onlyQualified && !qualifiedHere)
            return word;
        auto m = cellRefRe().match(word);
        if (m.hasMatch()) {
            const int row = m.captured(4).toInt();
            if (row >= fromRow)
                return m.captured(1) + m.captured(2) + m.captured(3) + QString::number(row + count);
            return word;
        }
        m = rowRefRe().match(word);
        if (m.hasMatch()) {
            const int row = m.captured(2).toInt();
            if (row >= fromRow)
                return m.captured(1) + QString::number(row + count);
        }
        return word;
    };
    // Whether the word at [start, end) is a row-only reference used in a row range ("3:5").
    auto isRowRangePart = [&](int start, int end) {
        return (end < n && f[end] == u':') || (start > 0 && f[start - 1] == u':');
    };
    bool qualifiedHere = false; // the next reference carries this sheet's prefix
    bool qualifiedOther = false;
    while (i < n) {
        const QChar c = f[i];
        if (c == u'"') { // string literal
            int j = i + 1;
            while (j < n) {
                if (f[j] == u'"') {
                    if (j + 1 < n && f[j + 1] == u'"') { j += 2; continue; }
                    break;
                }
                ++j;
            }
            out += f.mid(i, j - i + 1);
            i = j + 1;
            qualifiedHere = qualifiedOther = false;
            continue;
        }
        if (c == u'\'') { // quoted sheet name
            int j = i + 1;
            QString name;
            while (j < n) {
                if (f[j] == u'\'') {
                    if (j + 1 < n && f[j + 1] == u'\'') { name += u'\''; j += 2; continue; }
                    break;
                }
                name += f[j];
                ++j;
            }
            out += f.mid(i, j - i + 1);
            i = j + 1;
            if (i < n && f[i] == u'!') {
                out += u'!';
                ++i;
                const bool here = name.compare(sheetName, Qt::CaseInsensitive) == 0 && !sheetName.isEmpty();
                qualifiedHere = here;
                qualifiedOther = !here;
            }
            continue;
        }
        if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(f[j]))
                ++j;
            const QString word = f.mid(i, j - i);
            if (j < n && f[j] == u'!') { // unquoted sheet prefix
                out += word;
                out += u'!';
                const bool here = word.compare(sheetName, Qt::CaseInsensitive) == 0 && !sheetName.isEmpty();
                qualifiedHere = here;
                qualifiedOther = !here;
                i = j + 1;
                continue;
            }
            const bool isFunction = j < n && f[j] == u'(';
            const bool rowOnly = rowRefRe().match(word).hasMatch();
            if (isFunction || qualifiedOther || (rowOnly && !isRowRangePart(i, j)))
                out += word;
            else
                out += shiftWord(word, qualifiedHere);
            // A range "A1:B2" after a sheet prefix keeps the prefix for its second half.
            if (!(j < n && f[j] == u':'))
                qualifiedHere = qualifiedOther = false;
            i = j;
            continue;
        }
        if (c != u':')
            qualifiedHere = qualifiedOther = false;
        out += c;
        ++i;
    }
    return out;
}

QString translateFormula(const QString &f, int dRow, int dCol)
{
    if (dRow == 0 && dCol == 0)
        return f;
    QString out;
    const int n = f.size();
    int i = 0;
    while (i < n) {
        const QChar c = f[i];
        if (c == u'"' || c == u'\'') { // string literal or quoted sheet name: copied as is
            int j = i + 1;
            while (j < n) {
                if (f[j] == c) {
                    if (j + 1 < n && f[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            out += f.mid(i, j - i + 1);
            i = j + 1;
            continue;
        }
        if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(f[j]))
                ++j;
            const QString word = f.mid(i, j - i);
            const bool isFunction = j < n && f[j] == u'(';
            const bool isSheet = j < n && f[j] == u'!';
            auto m = cellRefRe().match(word);
            auto rm = rowRefRe().match(word);
            const bool rowRange = rm.hasMatch() && ((j < n && f[j] == u':') || (i > 0 && f[i - 1] == u':'));
            if (!isFunction && !isSheet && m.hasMatch()) {
                int col = columnNumber(m.captured(2));
                int row = m.captured(4).toInt();
                if (m.captured(1).isEmpty()) col += dCol;
                if (m.captured(3).isEmpty()) row += dRow;
                if (col < 1 || col > 16384 || row < 1 || row > 1048576)
                    out += QStringLiteral("#REF!");
                else
                    out += m.captured(1) + columnName(col) + m.captured(3) + QString::number(row);
            } else if (!isFunction && !isSheet && rowRange) {
                int row = rm.captured(2).toInt();
                if (rm.captured(1).isEmpty()) row += dRow;
                out += row < 1 ? QStringLiteral("#REF!") : rm.captured(1) + QString::number(row);
            } else {
                out += word;
            }
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

const Cell *Sheet::cell(int row, int col) const
{
    auto it = cells.find(CellRef{row, col});
    return it == cells.end() ? nullptr : &it->second;
}

Cell &Sheet::cellAt(int row, int col)
{
    return cells[CellRef{row, col}];
}

int Sheet::maxRow() const
{
    int m = cells.empty() ? 0 : cells.rbegin()->first.row;
    for (const auto &r : merges)
        m = std::max(m, r.row2);
    return m;
}

int Sheet::maxCol() const
{
    int m = 0;
    for (const auto &[ref, c] : cells)
        m = std::max(m, ref.col);
    for (const auto &r : merges)
        m = std::max(m, r.col2);
    return m;
}

const Range *Sheet::mergeAt(int row, int col) const
{
    for (const auto &r : merges)
        if (r.contains(row, col))
            return &r;
    return nullptr;
}

Workbook::Workbook()
{
    styles.push_back(CellStyle{});
    Sheet s;
    s.name = QStringLiteral("List1");
    sheets.push_back(std::move(s));
}

int Workbook::styleIndex(const CellStyle &style)
{
    auto it = std::find(styles.begin(), styles.end(), style);
    if (it != styles.end())
        return int(it - styles.begin());
    styles.push_back(style);
    return int(styles.size() - 1);
}

const CellStyle &Workbook::style(int index) const
{
    if (index < 0 || index >= int(styles.size()))
        return styles.front();
    return styles[size_t(index)];
}

void Workbook::insertRows(int sheetIndex, int row, int count)
{
    if (count <= 0 || row < 1)
        return;
    Sheet &sh = sheets.at(size_t(sheetIndex));

    std::map<CellRef, Cell> moved;
    for (auto &[ref, c] : sh.cells) {
        CellRef r = ref;
        if (r.row >= row)
            r.row += count;
        moved.emplace(r, std::move(c));
    }
    sh.cells = std::move(moved);

    std::map<int, RowInfo> rows;
    for (auto &[r, info] : sh.rows)
        rows.emplace(r >= row ? r + count : r, info);
    sh.rows = std::move(rows);

    // New rows take the formats of the row above.
    if (row > 1) {
        std::vector<std::pair<int, int>> above; // column, style
        for (const auto &[ref, c] : sh.cells)
            if (ref.row == row - 1 && c.style != 0)
                above.emplace_back(ref.col, c.style);
        auto info = sh.rows.find(row - 1);
        for (int k = 0; k < count; ++k) {
            for (auto [col, st] : above)
                sh.cellAt(row + k, col).style = st;
            if (info != sh.rows.end())
                sh.rows[row + k] = info->second;
        }
    }

    for (auto &m : sh.merges) {
        if (m.row1 >= row) {
            m.row1 += count;
            m.row2 += count;
        } else if (m.row2 >= row) {
            m.row2 += count;
        }
    }
    for (auto &p : sh.pictures)
        if (p.row >= row)
            p.row += count;

    for (size_t s = 0; s < sheets.size(); ++s) {
        const bool own = int(s) == sheetIndex;
        for (auto &[ref, c] : sheets[s].cells)
            if (!c.formula.isEmpty())
                c.formula = shiftFormulaRows(c.formula, row, count, sh.name, !own);
    }
    for (auto &[name, formula] : definedNames)
        formula = shiftFormulaRows(formula, row, count, sh.name, true);
}

void Workbook::setValue(int sheetIndex, int row, int col, const CellValue &v)
{
    Sheet &sh = sheets.at(size_t(sheetIndex));
    Cell &c = sh.cellAt(row, col);
    c.formula.clear();
    auto withFormat = [&](const QString &fmt) {
        CellStyle st = style(c.style);
        if (!fmt.isEmpty())
            st.numFmt = fmt;
        c.style = styleIndex(st);
    };
    switch (v.type) {
    case CellValue::Type::Empty:
        c.kind = Cell::Kind::Empty;
        c.text.clear();
        break;
    case CellValue::Type::Text:
        c.kind = v.text.isEmpty() ? Cell::Kind::Empty : Cell::Kind::String;
        c.text = v.text;
        break;
    case CellValue::Type::Number:
        c.kind = Cell::Kind::Number;
        c.number = v.number;
        if (!v.format.isEmpty())
            withFormat(v.format);
        break;
    case CellValue::Type::Date:
        if (!v.date.isValid()) {
            c.kind = Cell::Kind::Empty;
            break;
        }
        c.kind = Cell::Kind::Number;
        c.number = dateToSerial(v.date);
        withFormat(v.format.isEmpty() ? QStringLiteral("d.m.yyyy") : v.format);
        break;
    case CellValue::Type::DateTime:
        if (!v.dateTime.isValid()) {
            c.kind = Cell::Kind::Empty;
            break;
        }
        c.kind = Cell::Kind::Number;
        c.number = dateTimeToSerial(v.dateTime);
        withFormat(v.format.isEmpty() ? QStringLiteral("d.m.yyyy h:mm") : v.format);
        break;
    case CellValue::Type::Bool:
        c.kind = Cell::Kind::Bool;
        c.boolean = v.boolean;
        break;
    }
}

namespace {
bool isDateFormat(const QString &fmt)
{
    bool inQuote = false;
    for (int i = 0; i < fmt.size(); ++i) {
        const QChar ch = fmt[i];
        if (ch == u'"') { inQuote = !inQuote; continue; }
        if (inQuote) continue;
        if (ch == u'\\') { ++i; continue; }
        if (ch == u'[') { // colour or locale tags
            const int e = fmt.indexOf(u']', i);
            if (e < 0) break;
            i = e;
            continue;
        }
        const QChar l = ch.toLower();
        if (l == u'd' || l == u'y')
            return true;
    }
    return false;
}
} // namespace

QString Workbook::displayText(int sheetIndex, int row, int col) const
{
    const Sheet &sh = sheets.at(size_t(sheetIndex));
    const Cell *c = sh.cell(row, col);
    if (!c)
        return {};
    switch (c->kind) {
    case Cell::Kind::Empty:
        return {};
    case Cell::Kind::String:
    case Cell::Kind::Error:
        return c->text;
    case Cell::Kind::Bool:
        return c->boolean ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Cell::Kind::Number:
        if (isDateFormat(style(c->style).numFmt))
            return serialToDate(c->number).toString(QStringLiteral("d.M.yyyy"));
        return QString::number(c->number, 'g', 15);
    }
    return {};
}

QString legacyPasswordHash(const QString &password)
{
    const QByteArray bytes = password.toLatin1();
    unsigned hash = 0;
    for (int i = bytes.size() - 1; i >= 0; --i) {
        hash = ((hash >> 14) & 0x01) | ((hash << 1) & 0x7FFF);
        hash ^= static_cast<unsigned char>(bytes[i]);
    }
    hash = ((hash >> 14) & 0x01) | ((hash << 1) & 0x7FFF);
    hash ^= unsigned(bytes.size());
    hash ^= 0xCE4B;
    return QStringLiteral("%1").arg(hash, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace tz::xlsx
