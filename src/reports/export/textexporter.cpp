// The character page: text lines placed in rows and columns by their pitch,
// one layer per pitch and style, merged row by row. The lines of a page are
// placed first, the blanks between meeting texts kept, and then written in
// drawing order.
#include "exporter.h"

#include <QFileInfo>

#include <array>
#include <cmath>

namespace tz::rep {

namespace {

int pitchOf(const TSiReportElement &e, int *pitchNo)
{
    int size = e.pointSize();
    int roman = 0;
    if (romanPitchFont(e.fontName, &roman))
        size = roman == 10 ? 11 : roman == 12 ? 10 : 8;
    if (size > 10) {
        *pitchNo = 0;
        return 10;
    }
    if (size >= 9) {
        *pitchNo = 1;
        return 12;
    }
    *pitchNo = 2;
    return 17;
}

} // namespace

int characterLinesPerInch(const CharGrid &g)
{
    switch (g.lineSpacing) {
    case 1: return 4;
    case 2: return 3;
    default: return 6;
    }
}

namespace {

int roundHalfUp(double v) { return int(std::floor(v + 0.5)); }

// The character page column of a position in hundredths of an inch. Both
// edges of a box are mapped, so that boxes that meet in the layout meet on
// the character page too instead of overlapping by a rounded column.
int columnOf(int position, int pitch) { return roundHalfUp(position * double(pitch) / 100.0); }

// One line of an element on the character page: the text as it fits its cell
// and where it starts; the cell itself spans col .. col + width - 1.
struct Placement {
    int element = 0;
    int row = 0;
    int pitchNo = 0;
    int layer = 0;
    int col = 0;
    int width = 0;
    int start = 0;            // column of text[0]
    QString text;
    const TextLine *line = nullptr;
    int lineOffset = 0;       // index in line->text of text[0]
    // The columns of the first and last character that is not blank; first > last for none.
    int first() const
    {
        int i = 0;
        while (i < text.size() && text[i] == u' ')
            ++i;
        return start + i;
    }
    int last() const
    {
        int i = int(text.size()) - 1;
        while (i >= 0 && text[i] == u' ')
            --i;
        return start + i;
    }
    bool inked() const { return first() <= last(); }
};

Placement placement(int col, int width, QString text, Alignment al)
{
    Placement p;
    p.col = col;
    p.width = width;
    if (width <= 0)
        return p;
    if (text.size() > width) {
        if (al == alCenter)
            p.lineOffset = int(text.size() - width) / 2;
        else if (al == alRight)
            p.lineOffset = int(text.size()) - width;
        text = text.mid(p.lineOffset, width);
    }
    int offset = 0;
    if (al == alRight)
        offset = width - int(text.size());
    else if (al == alCenter)
        offset = (width - int(text.size())) / 2;
    p.start = col + offset;
    p.text = text;
    return p;
}

// Where the texts of two elements meet on a row (one ends in the column just
// before the other begins) they would read as one word: the later text moves
// one column right when its cell has room, else the earlier one moves left.
void keepBlanksBetween(std::vector<Placement> &all)
{
    std::vector<Placement *> order;
    for (Placement &p : all)
        if (p.inked())
            order.push_back(&p);
    std::stable_sort(order.begin(), order.end(), [](const Placement *a, const Placement *b) {
        if (a->row != b->row)
            return a->row < b->row;
        if (a->pitchNo != b->pitchNo)
            return a->pitchNo < b->pitchNo;
        return a->first() < b->first();
    });
    auto inkAt = [&](size_t from, size_t to, int column, const Placement *except) {
        for (size_t k = from; k < to; ++k)
            if (order[k] != except && order[k]->first() <= column && column <= order[k]->last())
                return true;
        return false;
    };
    size_t groupStart = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && (order[i]->row != order[i - 1]->row || order[i]->pitchNo != order[i - 1]->pitchNo))
            groupStart = i;
        size_t groupEnd = i;
        while (groupEnd < order.size() && order[groupEnd]->row == order[i]->row
               && order[groupEnd]->pitchNo == order[i]->pitchNo)
            ++groupEnd;
        Placement &b = *order[i];
        for (size_t k = groupStart; k < i; ++k) {
            Placement &a = *order[k];
            if (a.element == b.element || a.last() + 1 != b.first() || a.first() >= b.first())
                continue;
            if (b.last() + 1 <= b.col + b.width - 1 && !inkAt(groupStart, groupEnd, b.last() + 1, &b)
                && !inkAt(groupStart, groupEnd, b.last() + 2, &b)) {
                b.start += 1;
            } else if (a.first() - 1 >= a.col && !inkAt(groupStart, groupEnd, a.first() - 1, &a)
                       && !inkAt(groupStart, groupEnd, a.first() - 2, &a)) {
                a.start -= 1;
            }
            break;
        }
    }
}

// Writes a placement into the layers of its row: the cell in the element's
// layer, the characters of formatted runs in the layers of their styles.
// Nothing is written outside the cell.
void write(CharacterRow &row, const Placement &p)
{
    if (p.width <= 0)
        return;
    QString &own = row.layers[size_t(p.layer)];
    if (own.size() < p.col + p.width)
        own += QString(p.col + p.width - own.size(), u' ');
    own.replace(p.col, p.width, QString(p.width, u' '));
    const bool runs = p.line && !p.line->runs.empty();
    for (int i = 0; i < p.text.size(); ++i) {
        const int column = p.start + i;
        if (column < p.col || column >= p.col + p.width)
            continue;
        int layer = p.layer;
        if (runs) {
            const int at = p.lineOffset + i;
            for (const TextRun &r : p.line->runs)
                if (at >= r.start && at < r.start + r.length) {
                    layer = p.pitchNo * 8 + (r.format.fontStyle & 7);
                    break;
                }
        }
        if (layer == p.layer) {
            own[column] = p.text[i];
            continue;
        }
        QString &target = row.layers[size_t(layer)];
        if (target.size() <= column)
            target += QString(column + 1 - target.size(), u' ');
        if (p.text[i] != u' ')
            target[column] = p.text[i];
    }
}

} // namespace

QString CharacterRow::merged() const
{
    QString merged;
    for (const QString &layer : layers) {
        if (layer.isEmpty())
            continue;
        if (merged.size() < layer.size())
            merged += QString(layer.size() - merged.size(), u' ');
        for (int i = 0; i < layer.size(); ++i)
            if (merged[i] == u' ')
                merged[i] = layer[i];
    }
    return merged;
}

std::vector<CharacterPage> characterPages(const PageStore &store, PageRange range)
{
    range = store.clamp(range);
    const int lpi = characterLinesPerInch(store.grid);
    const int rowCount = std::max(1, store.paperHeight() * lpi / 100);
    std::vector<CharacterPage> pages;
    for (int p = range.first; p <= range.last; ++p) {
        CharacterPage page;
        std::vector<CharacterRow> &rows = page.rows;
        rows.resize(static_cast<size_t>(rowCount));
        std::vector<Placement> placed;
        const std::vector<OutputElement> &elements = store.pages[size_t(p - 1)].elements;
        for (size_t k = 0; k < elements.size(); ++k) {
            const OutputElement &o = elements[k];
            if (!o.isText())
                continue;
            int pitchNo = 0;
            const int pitch = pitchOf(o.el, &pitchNo);
            const int row0 = roundHalfUp(o.box.top() * double(lpi) / 100.0);
            const int col = std::max(0, columnOf(o.box.left(), pitch));
            const int width = columnOf(o.box.left() + o.box.width(), pitch) - col;
            Alignment al = o.el.alignment();
            if (al == alJustify)
                al = alLeft;
            for (size_t i = 0; i < o.lines.size(); ++i) {
                const int row = row0 + int(i);
                if (row < 0)
                    continue;
                Placement pl = placement(col, width, o.lines[i].text, al);
                pl.element = int(k);
                pl.row = row;
                pl.pitchNo = pitchNo;
                pl.layer = pitchNo * 8 + (o.el.fontStyle & 7);
                pl.line = &o.lines[i];
                placed.push_back(pl);
            }
        }
        keepBlanksBetween(placed);
        for (const Placement &pl : placed) {
            if (pl.row >= int(rows.size()))
                rows.resize(size_t(pl.row + 1));
            write(rows[size_t(pl.row)], pl);
            rows[size_t(pl.row)].used = true;
            page.lastUsed = std::max(page.lastUsed, pl.row);
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

QByteArray characterPageBytes(const PageStore &store, PageRange range, int language)
{
    const std::vector<CharacterPage> pages = characterPages(store, range);
    QByteArray out;
    for (size_t p = 0; p < pages.size(); ++p) {
        const std::vector<CharacterRow> &rows = pages[p].rows;
        const int end = p + 1 == pages.size() ? pages[p].lastUsed + 1 : int(rows.size());
        for (int i = 0; i < end; ++i) {
            out += encodeForExport(rows[size_t(i)].merged(), language);
            out += "\r\n";
        }
    }
    return out;
}

namespace {

class TextExporter : public Exporter {
public:
    QString format() const override { return QStringLiteral("txt"); }
    bool write(const PageStore &store, const QString &path, const ExportOptions &o, QString *error) override
    {
        files.clear();
        if (!writeFileAtomically(path, characterPageBytes(store, o.range, o.language), error))
            return false;
        files << path;
        return true;
    }
};

} // namespace

std::unique_ptr<Exporter> makeTextExporter() { return std::make_unique<TextExporter>(); }

} // namespace tz::rep
