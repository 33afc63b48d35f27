#include "pagerenderer.h"

#include <QPaintDevice>
#include <QPainterPath>

namespace tz::rep {

namespace {

QPen elementPen(const TSiReportElement &e)
{
    QPen pen(toQColor(e.penColour));
    pen.setWidthF(std::max(1, e.penWidth));
    switch (e.effectivePenStyle()) {
    case 1: pen.setStyle(Qt::DashLine); break;
    case 2: pen.setStyle(Qt::DotLine); break;
    case 3: pen.setStyle(Qt::DashDotLine); break;
    case 4: pen.setStyle(Qt::DashDotDotLine); break;
    case 5: pen.setStyle(Qt::NoPen); break;
    default: pen.setStyle(Qt::SolidLine);
    }
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QBrush elementBrush(const TSiReportElement &e)
{
    static const Qt::BrushStyle styles[8] = {Qt::SolidPattern, Qt::NoBrush,       Qt::HorPattern,   Qt::VerPattern,
                                             Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return QBrush(toQColor(e.brushColour), styles[std::clamp(e.brushStyle, 0, 7)]);
}

// The runs of a formatted line, each in its own font, from the baseline
// start (x, y).
void drawRuns(QPainter &p, const OutputElement &o, const TextLine &l, double x, double y, double fontScale)
{
    for (const TextRun &r : l.runs) {
        const TSiReportElement re = runElement(o.el, r.format);
        QFont f = elementFont(re);
        f.setPointSizeF(f.pointSizeF() * fontScale);
        p.setFont(f);
        p.setPen(toQColor(r.format.colour));
        p.drawText(QPointF(x + r.x, y), r.text(l.text));
    }
}

void drawText(QPainter &p, const OutputElement &o, double fontScale)
{
    QFont f = elementFont(o.el);
    f.setPointSizeF(f.pointSizeF() * fontScale);
    p.setFont(f);
    p.setPen(toQColor(o.el.fontColour));
    const QRect &b = o.box;
    if (o.el.angle != 0 && !o.lines.empty()) {
        p.save();
        p.translate(b.left(), b.top() + o.lines[0].ascent);
        p.rotate(-o.el.angle / 10.0);
        if (o.lines[0].runs.empty())
            p.drawText(QPointF(0, 0), o.lines[0].text);
        else
            drawRuns(p, o, o.lines[0], 0, 0, fontScale);
        p.restore();
    } else {
        p.save();
        p.setClipRect(QRectF(b).adjusted(-1, -1, 1, 1));
        double y = b.top();
        for (const TextLine &l : o.lines) {
            double x = b.left();
            const Alignment al = o.el.alignment();
            if (al == alRight)
                x = b.right() + 1 - l.width;
            else if (al == alCenter)
                x = b.left() + (b.width() - l.width) / 2.0;
            if (!l.runs.empty()) {
                // formatted text keeps its measured positions (no spreading)
                drawRuns(p, o, l, x, y + l.ascent, fontScale);
                p.setFont(f);
            } else if (al == alJustify && l.wrapped && l.text.count(u' ') > 0) {
                // spread the blanks to the full width
                const QStringList words = l.text.split(u' ');
                const double gap = (b.width() - l.width) / (words.size() - 1);
                const QFontMetricsF fm(f, p.device());
                double wx = x;
                const double unit = l.width / std::max(1.0, fm.horizontalAdvance(l.text));
                for (const QString &w : words) {
                    p.drawText(QPointF(wx, y + l.ascent), w);
                    wx += (fm.horizontalAdvance(w + QLatin1Char(' '))) * unit + gap;
                }
            } else {
                p.drawText(QPointF(x, y + l.ascent), l.text);
            }
            y += l.height;
        }
        p.restore();
    }
}

void drawFrameLines(QPainter &p, const OutputElement &o)
{
    const TSiReportElement &e = o.el;
    if (!(e.frame & 15))
        return;
    p.setPen(QPen(toQColor(e.fontColour), 1));
    const QRect &b = o.box;
    const double l = b.left(), t = b.top(), r = b.left() + b.width(), bt = b.top() + b.height();
    if (e.frameLeft())
        p.drawLine(QPointF(l, t), QPointF(l, bt));
    if (e.frameTop())
        p.drawLine(QPointF(l, t), QPointF(r, t));
    if (e.frameRight())
        p.drawLine(QPointF(r, t), QPointF(r, bt));
    if (e.frameBottom())
        p.drawLine(QPointF(l, bt), QPointF(r, bt));
}

void drawPicture(QPainter &p, const OutputElement &o)
{
    const QRectF b(o.box);
    QRectF target = b;
    const bool keep = o.el.kind == ekPicture ? o.el.keepAspect() : (o.el.frame & 32);
    if (keep && !o.picture.isNull()) {
        QSizeF s = QSizeF(o.picture.size()).scaled(b.size(), Qt::KeepAspectRatio);
        target = QRectF(b.topLeft(), s);
        const Alignment al = o.el.kind == ekPicture ? alCenter : o.el.alignment();
        if (al == alCenter)
            target.moveLeft(b.left() + (b.width() - s.width()) / 2);
        else if (al == alRight)
            target.moveLeft(b.right() - s.width());
    }
    p.drawImage(target, o.picture);
}

} // namespace

QTransform pageTransform(const PageStore &store, double dpi)
{
    QTransform t;
    t.scale(dpi / 100.0, dpi / 100.0);
    t.translate(store.pageSetup.marginLeft, store.pageSetup.marginTop);
    return t;
}

void renderPage(QPainter &p, const PageStore &store, int pageIndex, bool drawBackground)
{
    if (pageIndex < 0 || pageIndex >= store.pageCount())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const double fontScale = 100.0 / std::max(1, p.device()->logicalDpiY());
    if (drawBackground && store.printBackground && !store.background.picture.isNull()) {
        const Background &bg = store.background;
        QRect r = bg.limited ? QRect(bg.left, bg.top, bg.width ? bg.width : store.paperWidth(),
                                     bg.height ? bg.height : store.paperHeight())
                             : QRect(0, 0, store.paperWidth(), store.paperHeight());
        r.translate(-store.pageSetup.marginLeft, -store.pageSetup.marginTop);
        p.drawImage(r, bg.picture);
    }
    for (const OutputElement &o : store.pages[size_t(pageIndex)].elements) {
        const TSiReportElement &e = o.el;
        const QRect &b = o.box;
        const double l = b.left(), t = b.top(), r = b.left() + b.width(), bt = b.top() + b.height();
        if (!o.picture.isNull()) {
            drawPicture(p, o);
            if (isTextLikeKind(e.kind))
                drawFrameLines(p, o);
            continue;
        }
        switch (e.kind) {
        case ekLine: {
            p.setPen(elementPen(e));
            p.setBrush(Qt::NoBrush);
            if (e.edgeLeft())
                p.drawLine(QPointF(l, t), QPointF(l, bt));
            if (e.edgeTop())
                p.drawLine(QPointF(l, t), QPointF(r, t));
            if (e.edgeRight())
                p.drawLine(QPointF(r, t), QPointF(r, bt));
            if (e.edgeBottom())
                p.drawLine(QPointF(l, bt), QPointF(r, bt));
            if (e.diagonalRising())
                p.drawLine(QPointF(l, bt), QPointF(r, t));
            if (e.diagonalFalling())
                p.drawLine(QPointF(l, t), QPointF(r, bt));
            if (e.flags & 64)
                p.drawEllipse(QRectF(b));
            break;
        }
        case ekFrame:
        case ekRoundFrame:
        case ekEllipse: {
            p.setPen(e.penWidth > 0 ? elementPen(e) : QPen(Qt::NoPen));
            p.setBrush(elementBrush(e));
            const QRectF rr(b);
            if (e.kind == ekFrame)
                p.drawRect(rr);
            else if (e.kind == ekRoundFrame)
                p.drawRoundedRect(rr, std::min(rr.width(), rr.height()) / 5, std::min(rr.width(), rr.height()) / 5);
            else
                p.drawEllipse(rr);
            break;
        }
        case ekBarcode: {
            // the content in a frame (the symbologies are not drawn)
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(b));
            QFont f(QStringLiteral("Courier New"));
            f.setPointSizeF(8 * fontScale);
            p.setFont(f);
            p.drawText(QRectF(b), Qt::AlignCenter, e.value.text);
            break;
        }
        default:
            if (isTextLikeKind(e.kind)) {
                drawText(p, o, fontScale);
                drawFrameLines(p, o);
            }
        }
    }
    p.restore();
}

QImage renderPageImage(const PageStore &store, int pageIndex, double dpi)
{
    const QSize size(int(store.paperWidth() * dpi / 100.0 + 0.5), int(store.paperHeight() * dpi / 100.0 + 0.5));
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int dpm = int(dpi / 0.0254 + 0.5);
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setTransform(pageTransform(store, dpi));
    renderPage(p, store, pageIndex);
    p.end();
    return img;
}

} // namespace tz::rep
