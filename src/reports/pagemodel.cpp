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

MeasuredFont &measuredFont(const TSiReportElement &e)
{
    static QHash<QString, std::shared_ptr<MeasuredFont>> cache;
    const QString key = fontKey(e);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return **it;
    if (cache.size() > 256)
        cache.clear();
    return **cache.insert(key, std::make_shared<MeasuredFont>(makeElementFont(e)));
}

} // namespace

QFont elementFont(const TSiReportElement &e) { return measuredFont(e).font; }

double linesHeight(const std::vector<TextLine> &lines)
{
    double h = 0;
    for (const TextLine &l : lines)
        h += l.height;
    return h;
}

std::vector<TextLine> layoutText(const QString &text, const TSiReportElement &e, int width, bool wrap)
{
    MeasuredFont &mf = measuredFont(e);
    const QFontMetricsF &fm = mf.metrics;
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

    auto charWidth = [&](QChar c, double x) {
        if (c == u'\t')
            return tabStop > 0 ? (std::floor(x / tabStop) + 1) * tabStop - x : 0.0;
        return step > 0 ? step : mf.advance(c);
    };

    std::vector<TextLine> lines;
    auto push = [&](const QString &t, double w, bool wrapped) {
        TextLine l;
        l.text = t;
        l.width = w / 72.0;
        l.height = lineH;
        l.ascent = ascent;
        l.wrapped = wrapped;
        lines.push_back(l);
    };

    QString cur;
    double x = 0;
    int lastBlank = -1;   // index in cur of the last blank
    double xAtBlank = 0;
    for (QChar c : text) {
        if (c == u'\r')
            continue;
        if (c == u'\n') {
            push(cur, x, false);
            cur.clear();
            x = 0;
            lastBlank = -1;
            continue;
        }
        const double w = charWidth(c, x);
        if (wrapAll && x + w > limit + 0.01 && !cur.isEmpty()) {
            if (c == u' ') {
                // a blank at the edge ends the line and is dropped
                push(cur, x, true);
                cur.clear();
                x = 0;
                lastBlank = -1;
                continue;
            }
            if (lastBlank >= 0) {
                const QString head = cur.left(lastBlank);
                QString tail = cur.mid(lastBlank + 1);
                push(head, xAtBlank, true);
                cur = tail;
                x = 0;
                for (QChar t : cur)
                    x += charWidth(t, x);
            } else {
                push(cur, x, true);
                cur.clear();
                x = 0;
            }
            lastBlank = -1;
        }
        if (c == u' ') {
            lastBlank = int(cur.size());
            xAtBlank = x;
        }
        cur += c;
        x += charWidth(c, x);
    }
    push(cur, x, false);
    return lines;
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
