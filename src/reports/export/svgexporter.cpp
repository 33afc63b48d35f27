// SVG pages, one file per page (name + page number + ".svg"), written as text:
// user units are hundredths of an inch on the paper.
#include "exporter.h"

#include <QBuffer>

namespace tz::rep {

namespace {

QString xml(const QString &t)
{
    QString out;
    for (QChar c : t) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default:
            if (c.unicode() >= 0x20 || c == u'\t')
                out += c;
        }
    }
    return out;
}

QString colour(qint32 c) { return toQColor(c).name(); }

QString dash(int style)
{
    switch (style) {
    case 1: return QStringLiteral(" stroke-dasharray=\"6 3\"");
    case 2: return QStringLiteral(" stroke-dasharray=\"1.5 1.5\"");
    case 3: return QStringLiteral(" stroke-dasharray=\"6 2 1.5 2\"");
    case 4: return QStringLiteral(" stroke-dasharray=\"6 2 1.5 2 1.5 2\"");
    default: return {};
    }
}

QString line(double x1, double y1, double x2, double y2, const QString &stroke, double width, const QString &extra = {})
{
    return QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\"%7/>\n")
        .arg(x1).arg(y1).arg(x2).arg(y2).arg(stroke).arg(width).arg(extra);
}

QString frameLines(const OutputElement &o)
{
    const QRect &b = o.box;
    const double l = b.left(), t = b.top(), r = l + b.width(), bt = t + b.height();
    const QString c = colour(o.el.fontColour);
    QString s;
    if (o.el.frameLeft())
        s += line(l, t, l, bt, c, 1);
    if (o.el.frameTop())
        s += line(l, t, r, t, c, 1);
    if (o.el.frameRight())
        s += line(r, t, r, bt, c, 1);
    if (o.el.frameBottom())
        s += line(l, bt, r, bt, c, 1);
    return s;
}

// Font attributes of a text; `explicitNormal` also writes the normal weight
// and style (a run inside a bold or italic element).
QString fontAttributes(const TSiReportElement &e, bool explicitNormal)
{
    const QFont f = elementFont(e);
    QString attrs = QStringLiteral(" font-family=\"%1\" font-size=\"%2\" fill=\"%3\"")
                        .arg(xml(f.family())).arg(f.pointSizeF() * 100.0 / 72.0, 0, 'f', 2).arg(colour(e.fontColour));
    if (e.bold())
        attrs += QLatin1String(" font-weight=\"bold\"");
    else if (explicitNormal)
        attrs += QLatin1String(" font-weight=\"normal\"");
    if (e.italic())
        attrs += QLatin1String(" font-style=\"italic\"");
    else if (explicitNormal)
        attrs += QLatin1String(" font-style=\"normal\"");
    if (e.underline() || e.strikeOut())
        attrs += QStringLiteral(" text-decoration=\"%1\"")
                     .arg(e.underline() && e.strikeOut() ? QStringLiteral("underline line-through")
                          : e.underline()                ? QStringLiteral("underline")
                                                         : QStringLiteral("line-through"));
    else if (explicitNormal)
        attrs += QLatin1String(" text-decoration=\"none\"");
    return attrs;
}

QString elementSvg(const OutputElement &o)
{
    const TSiReportElement &e = o.el;
    const QRect &b = o.box;
    const double l = b.left(), t = b.top(), r = l + b.width(), bt = t + b.height();
    if (!o.picture.isNull()) {
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        o.picture.save(&buf, "PNG");
        const bool keep = e.kind == ekPicture ? e.keepAspect() : (e.frame & 32);
        return QStringLiteral("<image x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" preserveAspectRatio=\"%5\" "
                              "href=\"data:image/png;base64,%6\"/>\n")
                   .arg(l).arg(t).arg(b.width()).arg(b.height())
                   .arg(keep ? QStringLiteral("xMidYMin meet") : QStringLiteral("none"), QString::fromLatin1(png.toBase64()))
            + (isTextLikeKind(e.kind) ? frameLines(o) : QString());
    }
    if (isTextLikeKind(e.kind) || e.kind == ekBarcode) {
        const QString attrs = fontAttributes(e, false);
        QString s;
        if (e.kind == ekBarcode) {
            s += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1\"/>\n")
                     .arg(l).arg(t).arg(b.width()).arg(b.height());
            s += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"middle\" font-family=\"Courier New\" font-size=\"11\">%3</text>\n")
                     .arg(l + b.width() / 2.0).arg(t + b.height() / 2.0 + 4).arg(xml(e.value.text));
            return s;
        }
        s += QStringLiteral("<g%1>\n").arg(attrs);
        double y = t;
        for (const TextLine &ln : o.lines) {
            double x = l;
            if (e.alignment() == alRight)
                x = r - ln.width;
            else if (e.alignment() == alCenter)
                x = l + (b.width() - ln.width) / 2.0;
            QString rot;
            if (e.angle != 0)
                rot = QStringLiteral(" transform=\"rotate(%1 %2 %3)\"").arg(-e.angle / 10.0).arg(x).arg(y + ln.ascent);
            QString content;
            if (ln.runs.empty()) {
                content = xml(ln.text);
            } else {
                for (const TextRun &run : ln.runs)
                    content += QStringLiteral("<tspan x=\"%1\"%2>%3</tspan>")
                                   .arg(x + run.x, 0, 'f', 2)
                                   .arg(fontAttributes(runElement(e, run.format), true), xml(run.text(ln.text)));
            }
            s += QStringLiteral("<text x=\"%1\" y=\"%2\" xml:space=\"preserve\"%3>%4</text>\n")
                     .arg(x, 0, 'f', 2).arg(y + ln.ascent, 0, 'f', 2).arg(rot, content);
            y += ln.height;
        }
        s += QLatin1String("</g>\n");
        return s + frameLines(o);
    }
    const QString stroke = colour(e.penColour);
    const double pw = std::max(1, e.penWidth);
    if (e.kind == ekLine) {
        const QString d = dash(e.effectivePenStyle());
        QString s;
        if (e.edgeLeft())
            s += line(l, t, l, bt, stroke, pw, d);
        if (e.edgeTop())
            s += line(l, t, r, t, stroke, pw, d);
        if (e.edgeRight())
            s += line(r, t, r, bt, stroke, pw, d);
        if (e.edgeBottom())
            s += line(l, bt, r, bt, stroke, pw, d);
        if (e.diagonalRising())
            s += line(l, bt, r, t, stroke, pw, d);
        if (e.diagonalFalling())
            s += line(l, t, r, bt, stroke, pw, d);
        if (e.flags & 64)
            s += QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"none\" stroke=\"%5\" stroke-width=\"%6\"%7/>\n")
                     .arg((l + r) / 2).arg((t + bt) / 2).arg(b.width() / 2.0).arg(b.height() / 2.0).arg(stroke).arg(pw).arg(d);
        return s;
    }
    if (e.kind == ekFrame || e.kind == ekRoundFrame || e.kind == ekEllipse) {
        const QString fill = e.brushStyle == 1 ? QStringLiteral("none") : colour(e.brushColour);
        const QString strokeAttr = e.penWidth > 0
                                       ? QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"%3").arg(stroke).arg(pw).arg(dash(e.penStyle))
                                       : QStringLiteral(" stroke=\"none\"");
        if (e.kind == ekEllipse)
            return QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\"%6/>\n")
                .arg((l + r) / 2).arg((t + bt) / 2).arg(b.width() / 2.0).arg(b.height() / 2.0).arg(fill, strokeAttr);
        const double rad = e.kind == ekRoundFrame ? std::min(b.width(), b.height()) / 5.0 : 0;
        return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"%7/>\n")
            .arg(l).arg(t).arg(b.width()).arg(b.height()).arg(rad).arg(fill, strokeAttr);
    }
    return {};
}

} // namespace

QString svgPage(const PageStore &store, int pageIndex)
{
    const int w = store.paperWidth(), h = store.paperHeight();
    QString s = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%1in\" height=\"%2in\" "
                               "viewBox=\"0 0 %3 %4\">\n"
                               "<rect x=\"0\" y=\"0\" width=\"%3\" height=\"%4\" fill=\"#ffffff\"/>\n"
                               "<g transform=\"translate(%5 %6)\">\n")
                    .arg(w / 100.0).arg(h / 100.0).arg(w).arg(h).arg(store.pageSetup.marginLeft).arg(store.pageSetup.marginTop);
    for (const OutputElement &o : store.pages[size_t(pageIndex)].elements)
        s += elementSvg(o);
    s += QLatin1String("</g>\n</svg>\n");
    return s;
}

namespace {

class SvgExporter : public Exporter {
public:
    QString format() const override { return QStringLiteral("svg"); }
    bool write(const PageStore &store, const QString &path, const ExportOptions &o, QString *error) override
    {
        files.clear();
        const PageRange r = store.clamp(o.range);
        for (int p = r.first; p <= (o.singlePage ? std::min(r.first, r.last) : r.last); ++p) {
            const QString file = o.singlePage ? path : numberedFileName(path, p);
            if (!writeFileAtomically(file, svgPage(store, p - 1).toUtf8(), error))
                return false;
            files << file;
        }
        return true;
    }
};

} // namespace

std::unique_ptr<Exporter> makeSvgExporter() { return std::make_unique<SvgExporter>(); }

} // namespace tz::rep
