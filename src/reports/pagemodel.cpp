#include "pagemodel.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>

#include <cmath>
#include <memory>

namespace tz::rep {

namespace {

// The measuring surface: 7200 units per inch, so that hinting plays no part.
const QImage &measureSurface()
{
    static const QImage img = [] {
        QImage i(4, 4, QImage::Format_RGB32);
        const int dpm = int(std::lround(7200 / 0.0254));
        i.setDotsPerMeterX(dpm);
        i.setDotsPerMeterY(dpm);
        return i;
    }();
    return img;
}

int drawOrderClass(const OutputElement &e)
{
    if (e.el.kind == ekPaintBox)
        return 0;
    if (isGraphicKind(e.el.kind) || !e.picture.isNull() || !e.pictureFile.isEmpty())
        return 1;
    return 2;
}

} // namespace

bool romanPitchFont(const QString &name, int *pitch)
{
    static const struct {
        const char *name;
        int pitch;
    } fonts[] = {{"Roman 10cpi", 10}, {"Roman 12cpi", 12}, {"Roman 17cpi", 17}};
    for (const auto &f : fonts)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) {
            if (pitch)
                *pitch = f.pitch;
            return true;
        }
    return false;
}

namespace {

QFont makeElementFont(const TSiReportElement &e)
{
    QString family;
    int charSet = 0;
    int pitch = 0;
    double size = e.pointSize() > 0 ? e.pointSize() : 10;
    if (romanPitchFont(e.fontName, &pitch)) {
        family = QStringLiteral("Courier New");
        size = pitch == 10 ? 11 : pitch == 12 ? 10 : 8;
    } else {
        // asking the font database costs more than laying out a line: remember the answers
        static QHash<QString, bool> known;
        static const auto installed = [](const QString &f) {
            const auto it = known.constFind(f);
            if (it != known.constEnd())
                return *it;
            const bool has = QFontDatabase::hasFamily(f);
            known.insert(f, has);
            return has;
        };
        e.effectiveFont(installed, family, charSet);
    }
    QFont f(family.isEmpty() ? QStringLiteral("Arial") : family);
    f.setPointSizeF(size);
    f.setBold(e.bold());
    f.setItalic(e.italic());
    f.setUnderline(e.underline());
    f.setStrikeOut(e.strikeOut());
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    if (pitch)
        f.setFixedPitch(true);
    return f;
}

QString fontKey(const TSiReportElement &e)
{
    return e.fontName + QChar(0x1f) + QString::number(e.fontSize) + QChar(0x1f) + QString::number(e.fontStyle)
         + QChar(0x1f) + QString::number(e.charset);
}

// A font with its metrics on the measuring surface; composition asks for the
// same few fonts for every record.
struct MeasuredFont {
    QFont font;
    QFontMetricsF metrics;
    QHash<char16_t, double> advances;
    explicit MeasuredFont(const QFont &f) : font(f), metrics(f, &measureSurface()) {}
    double advance(QChar c)
    {
        const auto it = advances.constFind(c.unicode());
        if (it != advances.constEnd())
            return *it;
        const double w = metrics.horizontalAdvance(c);
        advances.insert(c.unicode(), w);
        return w;
    }
};

std::shared_ptr<MeasuredFont> measuredFont(const TSiReportElement &e)
{
    static QHash<QString, std::shared_ptr<MeasuredFont>> cache;
    const QString key = fontKey(e);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() > 256)
        cache.clear();
    return *cache.insert(key, std::make_shared<MeasuredFont>(makeElementFont(e)));
}

} // namespace

QFont elementFont(const TSiReportElement &e) { return measuredFont(e)->font; }

TextFormat elementFormat(const TSiReportElement &e)
{
    return {e.fontName, e.pointSize(), e.fontStyle, e.fontColour};
}

TSiReportElement runElement(const TSiReportElement &e, const TextFormat &f)
{
    TSiReportElement r = e;
    r.fontName = f.fontName;
    r.fontSize = f.pointSize;
    r.fontStyle = f.fontStyle;
    r.fontColour = f.colour;
    return r;
}

double linesHeight(const std::vector<TextLine> &lines)
{
    double h = 0;
    for (const TextLine &l : lines)
        h += l.height;
    return h;
}

namespace {

// The line breaking of layoutText() and layoutFormatted(). Without formats
// the whole text is in the element's font; with them, fmtOf gives the format
// of every character and each line gets its runs.
std::vector<TextLine> layoutCore(const QString &text, const std::vector<int> *fmtOf,
                                 const std::vector<TextFormat> *formats, const TSiReportElement &e, int width, bool wrap)
{
    const std::shared_ptr<MeasuredFont> base = measuredFont(e);
    const QFontMetricsF &fm = base->metrics;
    const bool rich = formats && fmtOf;
    std::vector<std::shared_ptr<MeasuredFont>> fonts;
    if (rich)
        for (const TextFormat &f : *formats)
            fonts.push_back(measuredFont(runElement(e, f)));
    else
        fonts.push_back(base);
    int pitch = 0;
    const bool roman = romanPitchFont(e.fontName, &pitch);
    double step = 0;   // fixed character step in 1/7200 inch
    if (e.charSpacing > 0)
        step = e.charSpacing * 72.0;
    else if (roman)
        step = 100.0 / pitch * 72.0;
    const double lineH = roman ? 16.667 : fm.height() / 72.0;
    const double ascent = roman ? 16.667 * fm.ascent() / fm.height() : fm.ascent() / 72.0;
    const double limit = width * 72.0;
    const double tabStop = fm.horizontalAdvance(QLatin1Char('x')) * 8;
    const bool wrapAll = wrap;

    auto charWidth = [&](QChar c, double x, int fi) {
        if (c == u'\t')
            return tabStop > 0 ? (std::floor(x / tabStop) + 1) * tabStop - x : 0.0;
        return step > 0 ? step : fonts[size_t(fi)]->advance(c);
    };

    std::vector<TextLine> lines;
    auto push = [&](const QString &t, const std::vector<int> &tf, double w, bool wrapped, int nextFmt) {
        TextLine l;
        l.text = t;
        l.width = w / 72.0;
        l.height = lineH;
        l.ascent = ascent;
        l.wrapped = wrapped;
        if (rich) {
            double x = 0;
            for (int k = 0; k < int(t.size()); ++k) {
                const int fi = tf[size_t(k)];
                const double cw = charWidth(t[k], x, fi);
                if (t[k] != u'\t') {
                    if (l.runs.empty() || l.runs.back().start + l.runs.back().length != k
                        || !(l.runs.back().format == (*formats)[size_t(fi)])) {
                        TextRun r;
                        r.start = k;
                        r.x = x / 72.0;
                        r.format = (*formats)[size_t(fi)];
                        l.runs.push_back(r);
                    }
                    l.runs.back().length += 1;
                    l.runs.back().width += cw / 72.0;
                }
                x += cw;
            }
            if (!roman) {
                // the tallest font of the line decides its height
                double up = 0, down = 0;
                auto take = [&](int fi) {
                    const QFontMetricsF &m = fonts[size_t(fi)]->metrics;
                    up = std::max(up, m.ascent() / 72.0);
                    down = std::max(down, (m.height() - m.ascent()) / 72.0);
                };
                if (tf.empty())
                    take(nextFmt);
                for (int fi : tf)
                    take(fi);
                l.height = up + down;
                l.ascent = up;
            }
        }
        lines.push_back(l);
    };

    QString cur;
    std::vector<int> curFmt;   // formatted text: the format of each character of cur
    double x = 0;
    int lastBlank = -1;   // index in cur of the last blank
    double xAtBlank = 0;
    int fi = 0;
    for (int k = 0; k < int(text.size()); ++k) {
        const QChar c = text[k];
        fi = rich ? (*fmtOf)[size_t(k)] : 0;
        if (c == u'\r')
            continue;
        if (c == u'\n') {
            push(cur, curFmt, x, false, fi);
            cur.clear();
            curFmt.clear();
            x = 0;
            lastBlank = -1;
            continue;
        }
        const double w = charWidth(c, x, fi);
        if (wrapAll && x + w > limit + 0.01 && !cur.isEmpty()) {
            if (c == u' ') {
                // a blank at the edge ends the line and is dropped
                push(cur, curFmt, x, true, fi);
                cur.clear();
                curFmt.clear();
                x = 0;
                lastBlank = -1;
                continue;
            }
            if (lastBlank >= 0) {
                const QString head = cur.left(lastBlank);
                QString tail = cur.mid(lastBlank + 1);
                std::vector<int> headFmt, tailFmt;
                if (rich) {
                    headFmt.assign(curFmt.begin(), curFmt.begin() + lastBlank);
                    tailFmt.assign(curFmt.begin() + lastBlank + 1, curFmt.end());
                }
                push(head, headFmt, xAtBlank, true, fi);
                cur = tail;
                curFmt = std::move(tailFmt);
                x = 0;
                for (int t = 0; t < int(cur.size()); ++t)
                    x += charWidth(cur[t], x, rich ? curFmt[size_t(t)] : 0);
            } else {
                push(cur, curFmt, x, true, fi);
                cur.clear();
                curFmt.clear();
                x = 0;
            }
            lastBlank = -1;
        }
        if (c == u' ') {
            lastBlank = int(cur.size());
            xAtBlank = x;
        }
        cur += c;
        if (rich)
            curFmt.push_back(fi);
        x += charWidth(c, x, fi);
    }
    push(cur, curFmt, x, false, fi);
    return lines;
}

} // namespace

std::vector<TextLine> layoutText(const QString &text, const TSiReportElement &e, int width, bool wrap)
{
    return layoutCore(text, nullptr, nullptr, e, width, wrap);
}

std::vector<TextLine> layoutFormatted(const FormattedText &ft, const TSiReportElement &e, int width, bool wrap)
{
    QString text;
    std::vector<int> fmtOf;
    std::vector<TextFormat> formats;
    for (const TextSpan &s : ft.spans) {
        auto it = std::find(formats.begin(), formats.end(), s.format);
        const int fi = int(it - formats.begin());
        if (it == formats.end())
            formats.push_back(s.format);
        text += s.text;
        fmtOf.insert(fmtOf.end(), size_t(s.text.size()), fi);
    }
    if (formats.empty())
        formats.push_back(elementFormat(e));
    return layoutCore(text, &fmtOf, &formats, e, width, wrap);
}

int OutputPage::add(OutputElement e)
{
    e.number = nextNumber++;
    const int cls = drawOrderClass(e);
    // after every element of the same or a lower class
    auto it = elements.begin();
    int idx = 0;
    for (; it != elements.end(); ++it, ++idx)
        if (drawOrderClass(*it) > cls)
            break;
    elements.insert(it, std::move(e));
    return idx;
}

int PageStore::paperWidth() const
{
    return pageSetup.orientation == 1 ? pageSetup.paperHeight : pageSetup.paperWidth;
}

int PageStore::paperHeight() const
{
    return pageSetup.orientation == 1 ? pageSetup.paperWidth : pageSetup.paperHeight;
}

PageRange PageStore::clamp(PageRange r) const
{
    r.first = std::max(1, r.first);
    r.last = std::min(pageCount(), r.last);
    return r;
}

} // namespace tz::rep
