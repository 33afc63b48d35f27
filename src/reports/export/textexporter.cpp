// The character page: text lines placed in rows and columns by their pitch,
// one layer per pitch and style, merged row by row.
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

// Writes text into a layer at column col within width characters.
void place(QString &layer, int col, int width, QString text, Alignment al)
{
    if (width <= 0)
        return;
    if (text.size() > width) {
        if (al == alCenter)
            text = text.mid((text.size() - width) / 2, width);
        else if (al == alRight)
            text = text.right(width);
        else
            text = text.left(width);
    }
    QString cell(width, u' ');
    int start = 0;
    if (al == alRight)
        start = width - int(text.size());
    else if (al == alCenter)
        start = (width - int(text.size())) / 2;
    cell.replace(start, text.size(), text);
    if (layer.size() < col + width)
        layer += QString(col + width - layer.size(), u' ');
    layer.replace(col, width, cell);
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
        for (const OutputElement &o : store.pages[size_t(p - 1)].elements) {
            if (!o.isText())
                continue;
            int pitchNo = 0;
            const int pitch = pitchOf(o.el, &pitchNo);
            const int layer = pitchNo * 8 + (o.el.fontStyle & 7);
            const int row0 = roundHalfUp(o.box.top() * double(lpi) / 100.0);
            const int col = roundHalfUp(o.box.left() * double(pitch) / 100.0);
            const int width = roundHalfUp(o.box.width() * double(pitch) / 100.0);
            Alignment al = o.el.alignment();
            if (al == alJustify)
                al = alLeft;
            for (size_t i = 0; i < o.lines.size(); ++i) {
                const int row = row0 + int(i);
                if (row < 0)
                    continue;
                if (row >= int(rows.size()))
                    rows.resize(size_t(row + 1));
                place(rows[size_t(row)].layers[size_t(layer)], std::max(0, col), width, o.lines[i].text, al);
                rows[size_t(row)].used = true;
                page.lastUsed = std::max(page.lastUsed, row);
            }
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
