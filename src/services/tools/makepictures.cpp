// Draws the standard pictures of the program: the glyphs of the kind buttons
// (32 x 32) and the pictures of the record cards (accessories 123 x 246,
// equipment 246 x 184, fall protection 123 x 246), as PNG files, together with
// a resource list for rcc.
// Usage: tavozz-makepictures <output folder> [contact sheet.png]
//
// Everything is drawn here with QPainter: line art in a dark ink with light
// metal and colour fills, the same style for every picture.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QSet>
#include <QTextStream>
#include <QtMath>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

// ---------------------------------------------------------------- colours

const QColor kInk(0x1d, 0x2b, 0x3a);
const QColor kSteel(0xb4, 0xbe, 0xc8);
const QColor kSteelLight(0xe6, 0xeb, 0xf0);
const QColor kSteelDark(0x6e, 0x7a, 0x87);
const QColor kRope(0x9a, 0xa2, 0xa9);
const QColor kYellow(0xf2, 0xb7, 0x05);
const QColor kYellowDark(0xc8, 0x8e, 0x00);
const QColor kOrange(0xe0, 0x7b, 0x1a);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kBlue(0x1f, 0x6f, 0xc5);
const QColor kGreen(0x2e, 0x9e, 0x4f);
const QColor kViolet(0x7d, 0x3c, 0x98);
const QColor kGround(0x8d, 0x7b, 0x68);
const QColor kWall(0xd9, 0xd4, 0xcc);
const QColor kLoad(0xcf, 0xd6, 0xdd);
const QColor kGlass(0xbf, 0xe0, 0xf2);
const QColor kSkin(0xf3, 0xd2, 0xb0);

QColor alpha(QColor c, int a)
{
    c.setAlpha(a);
    return c;
}

// ---------------------------------------------------------------- primitives

QPen pen(const QColor &c, double w)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A path stroked twice: a dark outline, then the fill colour inside it.
void outlined(QPainter &p, const QPainterPath &path, double w, const QColor &fill, double edge = 1.0)
{
    p.strokePath(path, pen(kInk, w + 2 * edge));
    p.strokePath(path, pen(fill, w));
}

void line(QPainter &p, QPointF a, QPointF b, double w, const QColor &fill, double edge = 1.0)
{
    QPainterPath path(a);
    path.lineTo(b);
    outlined(p, path, w, fill, edge);
}

void shape(QPainter &p, const QPainterPath &path, const QColor &fill, double w = 1.2)
{
    p.setPen(pen(kInk, w));
    p.setBrush(fill);
    p.drawPath(path);
}

void box(QPainter &p, const QRectF &r, const QColor &fill, double radius = 0, double w = 1.2)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(r, radius, radius);
    else
        path.addRect(r);
    shape(p, path, fill, w);
}

void disc(QPainter &p, QPointF c, double r, const QColor &fill, double w = 1.2)
{
    QPainterPath path;
    path.addEllipse(c, r, r);
    shape(p, path, fill, w);
}

QPainterPath poly(std::initializer_list<QPointF> pts, bool closed = true)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF &pt : pts) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    if (closed)
        path.closeSubpath();
    return path;
}

// Metal with a light top edge: a filled shape and a highlight line.
void metalBar(QPainter &p, const QRectF &r, const QColor &fill = kSteel)
{
    box(p, r, fill, qMin(r.width(), r.height()) * 0.25);
    p.setPen(pen(kSteelLight, 1));
    if (r.width() >= r.height())
        p.drawLine(QPointF(r.left() + 2, r.top() + 1.6), QPointF(r.right() - 2, r.top() + 1.6));
    else
        p.drawLine(QPointF(r.left() + 1.6, r.top() + 2), QPointF(r.left() + 1.6, r.bottom() - 2));
}

// An oval ring of round bar.
void ring(QPainter &p, QPointF c, double rx, double ry, double bar, const QColor &fill = kSteel)
{
    QPainterPath path;
    path.addEllipse(c, rx, ry);
    outlined(p, path, bar, fill);
    QPainterPath hi;
    hi.arcMoveTo(QRectF(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry), 100);
    hi.arcTo(QRectF(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry), 100, 60);
    p.strokePath(hi, pen(kSteelLight, qMax(0.8, bar * 0.3)));
}

// Master link: a pear-shaped ring, narrow at the top; returns its lowest point.
QPointF masterLink(QPainter &p, QPointF top, double w, double h, double bar)
{
    const double x = top.x(), y = top.y();
    QPainterPath path(QPointF(x, y));
    path.cubicTo(x + w * 0.32, y, x + w * 0.5, y + h * 0.5, x + w * 0.5, y + h * 0.72);
    path.cubicTo(x + w * 0.5, y + h * 0.94, x + w * 0.24, y + h, x, y + h);
    path.cubicTo(x - w * 0.24, y + h, x - w * 0.5, y + h * 0.94, x - w * 0.5, y + h * 0.72);
    path.cubicTo(x - w * 0.5, y + h * 0.5, x - w * 0.32, y, x, y);
    outlined(p, path, bar, kSteel);
    QPainterPath hi(QPointF(x - w * 0.12, y + h * 0.06));
    hi.cubicTo(x - w * 0.3, y + h * 0.18, x - w * 0.4, y + h * 0.45, x - w * 0.42, y + h * 0.62);
    p.strokePath(hi, pen(kSteelLight, qMax(0.8, bar * 0.3)));
    return {x, y + h};
}

// A chain along a path: face links and edge links in turn.
void chain(QPainter &p, const QPainterPath &path, double link, const QColor &colour, double from = 0, double to = 1)
{
    const double len = path.length() * (to - from);
    const double bar = link * 0.22;
    const double step = link - 2 * bar + 0.6;
    const int n = qMax(1, int(std::floor(len / step)));
    const double start = path.length() * from + (len - n * step) / 2;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < n; ++i) {
            if (i % 2 != pass)
                continue;
            const double at = start + (i + 0.5) * step;
            const double t = path.percentAtLength(at);
            const QPointF c = path.pointAtPercent(t);
            const double angle = -path.angleAtPercent(t);
            p.save();
            p.translate(c);
            p.rotate(angle);
            if (i % 2 == 0) {
                QPainterPath l;
                l.addRoundedRect(QRectF(-link / 2 + bar / 2, -link * 0.3, link - bar, link * 0.6), link * 0.28,
                                 link * 0.28);
                outlined(p, l, bar, colour, 0.8);
            } else {
                QPainterPath l(QPointF(-link / 2 + bar, 0));
                l.lineTo(link / 2 - bar, 0);
                outlined(p, l, bar * 1.25, colour.lighter(115), 0.8);
            }
            p.restore();
        }
    }
}

void chainLine(QPainter &p, QPointF a, QPointF b, double link, const QColor &colour)
{
    QPainterPath path(a);
    path.lineTo(b);
    chain(p, path, link, colour);
}

// Wire rope: a stroked path with the lay of its strands.
void rope(QPainter &p, const QPainterPath &path, double w, const QColor &colour = kRope)
{
    outlined(p, path, w, colour, 0.9);
    QPainterPathStroker st;
    st.setWidth(w);
    st.setCapStyle(Qt::FlatCap);
    p.save();
    p.setClipPath(st.createStroke(path));
    p.setPen(pen(colour.darker(150), 0.8));
    const double len = path.length();
    for (double at = 1; at < len; at += w * 0.55) {
        const double t = path.percentAtLength(at);
        const QPointF c = path.pointAtPercent(t);
        const double a = qDegreesToRadians(path.angleAtPercent(t) + 60);
        const QPointF d(std::cos(a) * w, -std::sin(a) * w);
        p.drawLine(c - d, c + d);
    }
    p.restore();
}

void ropeLine(QPainter &p, QPointF a, QPointF b, double w, const QColor &colour = kRope)
{
    QPainterPath path(a);
    path.lineTo(b);
    rope(p, path, w, colour);
}

// A rope eye with its thimble; `at` is where the eye meets the rope, the eye
// opens towards `dir` (unit vector).
void ropeEye(QPainter &p, QPointF at, QPointF dir, double size, double w)
{
    const QPointF n(-dir.y(), dir.x());
    const QPointF tip = at + dir * size;
    QPainterPath eye(at);
    eye.cubicTo(at + dir * size * 0.25 + n * size * 0.55, tip + n * size * 0.5, tip);
    eye.cubicTo(tip - n * size * 0.5, at + dir * size * 0.25 - n * size * 0.55, at);
    rope(p, eye, w);
    QPainterPath th(at + dir * size * 0.2);
    const QPointF a = at + dir * size * 0.2, b = tip - dir * w * 0.4;
    th.cubicTo(a + dir * size * 0.2 + n * size * 0.34, b + n * size * 0.32, b);
    th.cubicTo(b - n * size * 0.32, a + dir * size * 0.2 - n * size * 0.34, a);
    p.strokePath(th, pen(kInk, 2.6));
    p.strokePath(th, pen(kSteelLight, 1.2));
}

// Pressed sleeve across a rope at `c`, along `dir`.
void ferrule(QPainter &p, QPointF c, QPointF dir, double w, double len)
{
    p.save();
    p.translate(c);
    p.rotate(qRadiansToDegrees(std::atan2(dir.y(), dir.x())));
    box(p, QRectF(-len / 2, -w * 0.95, len, w * 1.9), kSteelLight, w * 0.5);
    p.setPen(pen(kSteelDark, 0.8));
    p.drawLine(QPointF(-len / 2 + 2, -w * 0.5), QPointF(len / 2 - 2, -w * 0.5));
    p.restore();
}

// A crane hook with its safety latch; `top` is the centre of its eye.
void hook(QPainter &p, QPointF top, double s, bool latch = true, bool mirrored = false)
{
    p.save();
    p.translate(top);
    if (mirrored)
        p.scale(-1, 1);
    const double bar = s * 0.14;
    QPainterPath eye;
    eye.addEllipse(QPointF(0, 0), s * 0.1, s * 0.1);
    outlined(p, eye, bar * 0.7, kSteel);
    QPainterPath h(QPointF(0, s * 0.12));
    h.lineTo(0, s * 0.66);
    const QRectF bowl(-s * 0.56, s * 0.38, s * 0.56, s * 0.56);
    h.arcTo(bowl, 0, -235);
    outlined(p, h, bar, kSteel);
    QPainterPath hi(QPointF(-bar * 0.3, s * 0.2));
    hi.lineTo(-bar * 0.3, s * 0.6);
    p.strokePath(hi, pen(kSteelLight, bar * 0.3));
    if (latch) {
        QPainterPath l(QPointF(0, s * 0.42));
        const QPointF tip = bowl.center() + QPointF(std::cos(qDegreesToRadians(125.0)) * s * 0.28,
                                                   -std::sin(qDegreesToRadians(125.0)) * s * 0.28);
        l.lineTo(tip + QPointF(s * 0.04, 0));
        p.strokePath(l, pen(kInk, 1.4));
    }
    p.restore();
}

// A bow shackle, bow up; `pin` is the centre of its pin.
void shackle(QPainter &p, QPointF pin, double s)
{
    QPainterPath bow(pin + QPointF(-s * 0.3, 0));
    bow.cubicTo(pin + QPointF(-s * 0.42, -s * 0.7), pin + QPointF(s * 0.42, -s * 0.7), pin + QPointF(s * 0.3, 0));
    outlined(p, bow, s * 0.13, kSteel);
    box(p, QRectF(pin.x() - s * 0.44, pin.y() - s * 0.07, s * 0.88, s * 0.14), kSteelDark, s * 0.07);
    disc(p, pin + QPointF(-s * 0.44, 0), s * 0.1, kSteel);
}

// Flat webbing from a to b, w wide, with its stitching.
void webbing(QPainter &p, QPointF a, QPointF b, double w, const QColor &colour)
{
    const QLineF l(a, b);
    p.save();
    p.translate(a);
    p.rotate(-l.angle());
    const QRectF r(0, -w / 2, l.length(), w);
    box(p, r, colour, 1.5);
    QPen dash(colour.darker(160), 0.8, Qt::DashLine);
    dash.setDashPattern({2, 2});
    p.setPen(dash);
    p.drawLine(QPointF(2, -w / 2 + 2), QPointF(l.length() - 2, -w / 2 + 2));
    p.drawLine(QPointF(2, w / 2 - 2), QPointF(l.length() - 2, w / 2 - 2));
    p.restore();
}

// A tubular round sling along a path.
void roundSling(QPainter &p, const QPainterPath &path, double w, const QColor &colour)
{
    outlined(p, path, w, colour);
    p.save();
    p.translate(-w * 0.18, -w * 0.12);
    p.strokePath(path, pen(colour.lighter(140), w * 0.25));
    p.restore();
}

// The sewn-on label of a textile sling.
void slingLabel(QPainter &p, QPointF c, double angle, const QColor &colour = kBlue)
{
    p.save();
    p.translate(c);
    p.rotate(angle);
    box(p, QRectF(-5, -7, 10, 14), colour, 1, 0.9);
    p.setPen(pen(Qt::white, 0.8));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(-3, -4 + i * 3), QPointF(3, -4 + i * 3));
    p.restore();
}

// Hatched ground or wall.
void hatched(QPainter &p, const QRectF &r, const QColor &fill)
{
    box(p, r, fill, 0, 1);
    p.save();
    p.setClipRect(r);
    p.setPen(pen(fill.darker(130), 0.8));
    for (double x = r.left() - r.height(); x < r.right(); x += 6)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
}

void floorLine(QPainter &p, double y, double x0, double x1)
{
    p.setPen(pen(kInk, 1.5));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    p.setPen(pen(kGround, 0.8));
    for (double x = x0 + 2; x < x1; x += 7)
        p.drawLine(QPointF(x, y + 1), QPointF(x - 4, y + 5));
}

// A lattice girder between two chords.
void lattice(QPainter &p, const QRectF &r, const QColor &fill = kYellow, bool vertical = false)
{
    p.setPen(pen(kInk, 1.1));
    p.setBrush(Qt::NoBrush);
    const double chord = 2.6;
    if (!vertical) {
        const int n = qMax(2, int(r.width() / r.height()));
        const double step = r.width() / n;
        QPainterPath z;
        for (int i = 0; i < n; ++i) {
            z.moveTo(r.left() + i * step, r.bottom());
            z.lineTo(r.left() + (i + 0.5) * step, r.top());
            z.lineTo(r.left() + (i + 1) * step, r.bottom());
        }
        outlined(p, z, 1.3, fill, 0.6);
        box(p, QRectF(r.left(), r.top() - chord / 2, r.width(), chord), fill, 0, 0.9);
        box(p, QRectF(r.left(), r.bottom() - chord / 2, r.width(), chord), fill, 0, 0.9);
    } else {
        const int n = qMax(2, int(r.height() / r.width()));
        const double step = r.height() / n;
        QPainterPath z;
        for (int i = 0; i < n; ++i) {
            z.moveTo(r.left(), r.top() + i * step);
            z.lineTo(r.right(), r.top() + (i + 0.5) * step);
            z.lineTo(r.left(), r.top() + (i + 1) * step);
        }
        outlined(p, z, 1.3, fill, 0.6);
        box(p, QRectF(r.left() - chord / 2, r.top(), chord, r.height()), fill, 0, 0.9);
        box(p, QRectF(r.right() - chord / 2, r.top(), chord, r.height()), fill, 0, 0.9);
    }
}

// A box girder with a darker lower flange.
void girder(QPainter &p, const QRectF &r, const QColor &fill = kYellow)
{
    box(p, r, fill, 1);
    p.setPen(pen(fill.darker(125), 1.5));
    p.drawLine(QPointF(r.left() + 1.5, r.bottom() - 2), QPointF(r.right() - 1.5, r.bottom() - 2));
    p.setPen(pen(fill.lighter(130), 1));
    p.drawLine(QPointF(r.left() + 1.5, r.top() + 1.5), QPointF(r.right() - 1.5, r.top() + 1.5));
}

// A hook block hanging on `ropes` falls from y0; returns nothing.
void hookBlock(QPainter &p, double x, double y0, double y1, double s, int falls = 2)
{
    p.setPen(pen(kInk, 1));
    const double gap = s * 0.22;
    for (int i = 0; i < falls; ++i) {
        const double dx = (i - (falls - 1) / 2.0) * gap;
        p.drawLine(QPointF(x + dx, y0), QPointF(x + dx, y1 + s * 0.1));
    }
    box(p, QRectF(x - s * 0.32, y1, s * 0.64, s * 0.5), kSteelDark, s * 0.12);
    disc(p, QPointF(x, y1 + s * 0.2), s * 0.1, kSteelLight, 0.9);
    hook(p, QPointF(x, y1 + s * 0.58), s * 0.75);
}

void wheel(QPainter &p, QPointF c, double r)
{
    disc(p, c, r, QColor(0x3a, 0x3f, 0x45));
    disc(p, c, r * 0.45, kSteel, 0.8);
}

void text(QPainter &p, const QRectF &r, const QString &t, double size, const QColor &colour = kInk, bool bold = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qRound(size));
    f.setBold(bold);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, t);
}

// ---------------------------------------------------------------- chain slings

struct Grade
{
    QString suffix;
    QColor colour;
    QString tag; // text of the grade tag on the master link, empty for none
};

const Grade kGrades[] = {
    {QString(), kRed, QStringLiteral("8")},
    {QStringLiteral("V"), QColor(0x8e, 0x44, 0xad), QStringLiteral("V")},
    {QStringLiteral("10"), kBlue, QStringLiteral("10")},
    {QStringLiteral("24"), kSteelDark, QString()},
};

void gradeTag(QPainter &p, QPointF at, const Grade &g)
{
    if (g.tag.isEmpty())
        return;
    p.setPen(pen(kInk, 0.9));
    p.drawLine(at, at + QPointF(6, 6));
    QPainterPath t = poly({at + QPointF(4, 6), at + QPointF(16, 6), at + QPointF(18, 13), at + QPointF(10, 19),
                           at + QPointF(2, 13)});
    shape(p, t, g.colour, 0.9);
    text(p, QRectF(at.x() + 2, at.y() + 6, 16, 11), g.tag, 7, Qt::white);
}

// Master link (and intermediate links for three and four legs); gives the point the legs hang from.
QPointF slingHead(QPainter &p, int legs, const Grade &g)
{
    const QPointF bottom = masterLink(p, QPointF(61.5, 8), 30, 40, 4.2);
    gradeTag(p, QPointF(76, 30), g);
    if (legs < 3)
        return bottom + QPointF(0, -2);
    ring(p, QPointF(54, bottom.y() + 6), 5, 9, 3.2);
    ring(p, QPointF(69, bottom.y() + 6), 5, 9, 3.2);
    return bottom + QPointF(0, 12);
}

// Connecting link and hook at the end of a leg.
void legEnd(QPainter &p, QPointF at, double s, const Grade &g)
{
    box(p, QRectF(at.x() - 3.5, at.y() - 2, 7, 9), g.colour.darker(110), 2);
    hook(p, at + QPointF(0, 9 + s * 0.1), s);
}

void chainSling(QPainter &p, int type, const Grade &g)
{
    const double link = 11;
    switch (type) {
    case 1: { // single leg
        const QPointF h = slingHead(p, 1, g);
        chainLine(p, h, QPointF(61.5, 186), link, g.colour);
        legEnd(p, QPointF(61.5, 186), 38, g);
        break;
    }
    case 2:
    case 3:
    case 4: {
        const QPointF h = slingHead(p, type, g);
        std::vector<QPointF> ends;
        if (type == 2)
            ends = {{26, 180}, {97, 180}};
        else if (type == 3)
            ends = {{20, 176}, {61.5, 188}, {103, 176}};
        else
            ends = {{44, 190}, {79, 190}, {16, 172}, {107, 172}};
        const double s = type == 2 ? 32 : 26;
        // the back legs of a four-leg sling lie behind the front ones
        for (size_t i = 0; i < ends.size(); ++i) {
            const QPointF from = type >= 3 ? h + QPointF((ends[i].x() < 61.5 ? -6 : 6), 0) : h;
            chainLine(p, from, ends[i], type == 4 && i < 2 ? link * 0.9 : link, g.colour);
        }
        for (const QPointF &e : ends)
            legEnd(p, e, s, g);
        break;
    }
    case 5: { // endless chain
        masterLink(p, QPointF(61.5, 8), 30, 40, 4.2);
        gradeTag(p, QPointF(76, 30), g);
        QPainterPath loop(QPointF(61.5, 46));
        loop.cubicTo(QPointF(20, 60), QPointF(14, 200), QPointF(61.5, 228));
        loop.cubicTo(QPointF(109, 200), QPointF(103, 60), QPointF(61.5, 46));
        chain(p, loop, link, g.colour);
        break;
    }
    case 6:
    case 7: { // wreath slings around a round load
        const QPointF h = slingHead(p, 1, g);
        const bool twice = type == 7;
        QPainterPath load;
        load.addRoundedRect(QRectF(8, 170, 107, 34), 17, 17);
        shape(p, load, kLoad);
        p.setPen(pen(kSteelLight, 2));
        p.drawLine(QPointF(20, 178), QPointF(103, 178));
        const std::vector<double> xs = twice ? std::vector<double>{34, 89} : std::vector<double>{61.5};
        for (double x : xs) {
            QPainterPath leg(h);
            leg.lineTo(x, 150);
            chain(p, leg, link, g.colour);
            QPainterPath wrap(QPointF(x, 150));
            wrap.cubicTo(QPointF(x - 24, 170), QPointF(x - 18, 214), QPointF(x, 214));
            wrap.cubicTo(QPointF(x + 18, 214), QPointF(x + 24, 170), QPointF(x + 3, 152));
            chain(p, wrap, link * 0.9, g.colour);
            hook(p, QPointF(x + 6, 140), 16, false, true);
        }
        break;
    }
    case 8: { // other: a leg with a shortening hook and a hanging loop
        const QPointF h = slingHead(p, 1, g);
        chainLine(p, h, QPointF(61.5, 110), link, g.colour);
        box(p, QRectF(54, 108, 15, 16), g.colour.darker(115), 3);
        chainLine(p, QPointF(61.5, 122), QPointF(61.5, 186), link, g.colour);
        QPainterPath loop(QPointF(68, 116));
        loop.cubicTo(QPointF(104, 126), QPointF(104, 176), QPointF(84, 178));
        loop.cubicTo(QPointF(72, 178), QPointF(70, 150), QPointF(69, 122));
        chain(p, loop, link * 0.9, g.colour);
        legEnd(p, QPointF(61.5, 186), 36, g);
        break;
    }
    case 9: { // rope - chain - rope
        ropeEye(p, QPointF(61.5, 52), QPointF(0, -1), 40, 5.5);
        ropeLine(p, QPointF(61.5, 50), QPointF(61.5, 82), 5.5);
        ferrule(p, QPointF(61.5, 58), QPointF(0, 1), 5.5, 16);
        box(p, QRectF(55, 80, 13, 10), kSteelDark, 3);
        chainLine(p, QPointF(61.5, 90), QPointF(61.5, 156), link, g.colour);
        box(p, QRectF(55, 156, 13, 10), kSteelDark, 3);
        ropeLine(p, QPointF(61.5, 164), QPointF(61.5, 196), 5.5);
        ferrule(p, QPointF(61.5, 188), QPointF(0, 1), 5.5, 16);
        ropeEye(p, QPointF(61.5, 196), QPointF(0, 1), 40, 5.5);
        gradeTag(p, QPointF(70, 100), g);
        break;
    }
    }
}

// ---------------------------------------------------------------- wire rope slings

void ropeLeg(QPainter &p, QPointF a, QPointF b, double w, bool eyeTop, bool hookEnd, double hookSize)
{
    const QLineF l(a, b);
    const QPointF dir = (b - a) / l.length();
    QPointF start = a, end = b;
    if (eyeTop) {
        ropeEye(p, a, -dir, 34, w);
        ferrule(p, a + dir * 8, dir, w, 14);
        start = a;
    }
    ropeLine(p, start, end - dir * (hookEnd ? 18 : 0), w);
    if (!eyeTop)
        ferrule(p, a + dir * 10, dir, w, 14);
    if (hookEnd) {
        const QPointF e = end - dir * 18;
        ropeEye(p, e, dir, 14, w * 0.8);
        ferrule(p, e - dir * 8, dir, w, 14);
        hook(p, e + dir * 14 + QPointF(0, 2), hookSize);
    } else {
        ferrule(p, end - dir * 8, dir, w, 14);
        ropeEye(p, end, dir, 34, w);
    }
}

void ropeSling(QPainter &p, int type)
{
    const double w = 5.5;
    switch (type) {
    case 1: // eye - eye
        ropeLeg(p, QPointF(61.5, 48), QPointF(61.5, 198), w, true, false, 0);
        break;
    case 2: // eye - hook
        ropeLeg(p, QPointF(61.5, 48), QPointF(61.5, 200), w, true, true, 36);
        break;
    case 3:
    case 4:
    case 5: {
        const QPointF h = masterLink(p, QPointF(61.5, 8), 30, 40, 4.2);
        std::vector<QPointF> ends;
        if (type == 3)
            ends = {{28, 186}, {95, 186}};
        else if (type == 4)
            ends = {{20, 180}, {61.5, 192}, {103, 180}};
        else
            ends = {{44, 194}, {79, 194}, {16, 176}, {107, 176}};
        for (const QPointF &e : ends) {
            const QPointF from = h + QPointF(e.x() < 61.5 ? -4 : (e.x() > 61.5 ? 4 : 0), -6);
            ropeLeg(p, from, e, w * 0.9, false, true, type == 3 ? 30 : 24);
        }
        break;
    }
    case 6:
    case 7: { // grommets: endless ropes
        const int loops = type == 6 ? 1 : 2;
        for (int i = 0; i < loops; ++i) {
            const double dx = loops == 1 ? 0 : (i == 0 ? -14 : 14);
            QPainterPath g(QPointF(61.5 + dx, 20));
            g.cubicTo(QPointF(20 + dx, 24), QPointF(20 + dx, 222), QPointF(61.5 + dx, 226));
            g.cubicTo(QPointF(103 + dx, 222), QPointF(103 + dx, 24), QPointF(61.5 + dx, 20));
            rope(p, g, w);
        }
        if (type == 7)
            ferrule(p, QPointF(61.5, 123), QPointF(0, 1), w, 18);
        break;
    }
    default: { // other: a rope with a shackle and a pressed eye
        shackle(p, QPointF(61.5, 40), 34);
        ropeEye(p, QPointF(61.5, 72), QPointF(0, -1), 30, w);
        ferrule(p, QPointF(61.5, 80), QPointF(0, 1), w, 16);
        ropeLine(p, QPointF(61.5, 72), QPointF(61.5, 186), w);
        ferrule(p, QPointF(61.5, 186), QPointF(0, 1), w, 16);
        QPainterPath bent(QPointF(61.5, 190));
        bent.cubicTo(QPointF(61.5, 230), QPointF(100, 232), QPointF(100, 204));
        rope(p, bent, w);
        box(p, QRectF(92, 196, 16, 10), kSteelDark, 3);
        break;
    }
    }
}

// ---------------------------------------------------------------- textile slings

const QColor kTextile[] = {kViolet, kGreen, kYellow, QColor(0x80, 0x80, 0x80), kRed, QColor(0x8b, 0x5a, 0x2b),
                           kBlue, kOrange};

void textileEye(QPainter &p, QPointF at, bool up, double w, const QColor &c)
{
    const double d = up ? -1 : 1;
    QPainterPath eye(at);
    eye.cubicTo(at + QPointF(-w * 1.3, d * 10), at + QPointF(-w * 1.1, d * 34), at + QPointF(0, d * 36));
    eye.cubicTo(at + QPointF(w * 1.1, d * 34), at + QPointF(w * 1.3, d * 10), at);
    outlined(p, eye, w * 0.55, c);
    box(p, QRectF(at.x() - w / 2, up ? at.y() : at.y() - 22, w, 22), c.darker(112), 1.5);
    p.setPen(pen(c.darker(170), 0.7));
    for (int i = 0; i < 5; ++i) {
        const double y = (up ? at.y() : at.y() - 22) + 2 + i * 4;
        p.drawLine(QPointF(at.x() - w / 2 + 2, y), QPointF(at.x() + w / 2 - 2, y + 2));
    }
}

void metalEye(QPainter &p, QPointF at, bool up, double w)
{
    const double d = up ? -1 : 1;
    QPainterPath tri = poly({at + QPointF(-w * 0.8, 0), at + QPointF(w * 0.8, 0), at + QPointF(0, d * 30)});
    outlined(p, tri, 4, kSteel);
    box(p, QRectF(at.x() - w / 2 - 1, up ? at.y() - 2 : at.y() - 12, w + 2, 14), kSteelDark, 2);
}

void textileSling(QPainter &p, int type)
{
    const QColor c = kTextile[(type - 1) % 8];
    const double w = 16;
    switch (type) {
    case 1: { // endless round sling
        QPainterPath loop(QPointF(61.5, 18));
        loop.cubicTo(QPointF(24, 20), QPointF(26, 226), QPointF(61.5, 228));
        loop.cubicTo(QPointF(97, 226), QPointF(99, 20), QPointF(61.5, 18));
        roundSling(p, loop, 13, c);
        slingLabel(p, QPointF(34, 120), 0);
        break;
    }
    case 2: { // endless webbing: a flat loop
        QPainterPath loop(QPointF(61.5, 16));
        loop.cubicTo(QPointF(30, 18), QPointF(34, 228), QPointF(61.5, 230));
        loop.cubicTo(QPointF(89, 228), QPointF(93, 18), QPointF(61.5, 16));
        outlined(p, loop, 12, c);
        QPen dash(c.darker(160), 0.8, Qt::DashLine);
        p.strokePath(loop, dash);
        slingLabel(p, QPointF(38, 120), 0);
        break;
    }
    case 3: // webbing with sewn eyes
        textileEye(p, QPointF(61.5, 56), true, w, c);
        webbing(p, QPointF(61.5, 56), QPointF(61.5, 190), w, c);
        textileEye(p, QPointF(61.5, 190), false, w, c);
        slingLabel(p, QPointF(61.5, 120), 0);
        break;
    case 4: // webbing with metal end fittings
        metalEye(p, QPointF(61.5, 46), true, w);
        webbing(p, QPointF(61.5, 44), QPointF(61.5, 202), w, c);
        metalEye(p, QPointF(61.5, 202), false, w);
        slingLabel(p, QPointF(61.5, 120), 0);
        break;
    case 5:
    case 6:
    case 7: {
        const int legs = type == 5 ? 1 : (type == 6 ? 2 : 4);
        const QPointF h = masterLink(p, QPointF(61.5, 8), 30, 40, 4.2);
        std::vector<QPointF> ends;
        if (legs == 1)
            ends = {{61.5, 190}};
        else if (legs == 2)
            ends = {{28, 182}, {95, 182}};
        else
            ends = {{44, 192}, {79, 192}, {16, 174}, {107, 174}};
        const double lw = legs == 4 ? 9 : 12;
        for (const QPointF &e : ends) {
            const QPointF from = h + QPointF(e.x() < 61.5 ? -4 : (e.x() > 61.5 ? 4 : 0), 4);
            webbing(p, from, e, lw, c);
            box(p, QRectF(e.x() - lw / 2 - 1, e.y() - 2, lw + 2, 8), kSteelDark, 2);
            hook(p, e + QPointF(0, 10), legs == 1 ? 36 : (legs == 2 ? 30 : 24));
        }
        box(p, QRectF(h.x() - 10, h.y() - 4, 20, 10), kSteelDark, 3);
        break;
    }
    default: { // other: a basket hitch around a load
        QPainterPath load;
        load.addRoundedRect(QRectF(8, 178, 107, 40), 8, 8);
        shape(p, load, QColor(0xd8, 0xb9, 0x8c));
        p.setPen(pen(QColor(0xa7, 0x84, 0x55), 0.8));
        for (double y = 186; y < 214; y += 7)
            p.drawLine(QPointF(14, y), QPointF(109, y));
        hook(p, QPointF(61.5, 10), 40);
        QPainterPath b(QPointF(56, 48));
        b.cubicTo(QPointF(30, 80), QPointF(24, 160), QPointF(26, 226));
        b.lineTo(97, 226);
        b.cubicTo(QPointF(99, 160), QPointF(93, 80), QPointF(67, 48));
        outlined(p, b, 10, c);
        slingLabel(p, QPointF(36, 130), 8);
        break;
    }
    }
}

// ---------------------------------------------------------------- clamps

// A plate clamp body around `c`; gives the centre of its jaw.
void clampBody(QPainter &p, QPointF c, double s, bool vertical)
{
    QPainterPath body;
    if (vertical) {
        body.moveTo(c + QPointF(-s * 0.45, -s * 0.35));
        body.cubicTo(c + QPointF(-s * 0.45, -s * 0.62), c + QPointF(s * 0.45, -s * 0.62), c + QPointF(s * 0.45, -s * 0.35));
        body.lineTo(c + QPointF(s * 0.45, s * 0.5));
        body.lineTo(c + QPointF(s * 0.1, s * 0.5));
        body.lineTo(c + QPointF(s * 0.1, s * 0.1));
        body.lineTo(c + QPointF(-s * 0.1, s * 0.1));
        body.lineTo(c + QPointF(-s * 0.1, s * 0.5));
        body.lineTo(c + QPointF(-s * 0.45, s * 0.5));
        body.closeSubpath();
    } else {
        body.moveTo(c + QPointF(-s * 0.5, -s * 0.45));
        body.lineTo(c + QPointF(s * 0.3, -s * 0.45));
        body.lineTo(c + QPointF(s * 0.3, -s * 0.12));
        body.lineTo(c + QPointF(-s * 0.2, -s * 0.12));
        body.lineTo(c + QPointF(-s * 0.2, s * 0.12));
        body.lineTo(c + QPointF(s * 0.3, s * 0.12));
        body.lineTo(c + QPointF(s * 0.3, s * 0.45));
        body.lineTo(c + QPointF(-s * 0.5, s * 0.45));
        body.closeSubpath();
    }
    shape(p, body, kRed, 1.4);
    p.setPen(pen(kRed.lighter(140), 1));
    p.drawLine(c + QPointF(-s * 0.4, -s * (vertical ? 0.3 : 0.38)), c + QPointF(-s * 0.4, s * 0.38));
}

void cam(QPainter &p, QPointF c, double r)
{
    QPainterPath t;
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const QPointF o(std::cos(a) * r, std::sin(a) * r);
        const QPointF o2(std::cos(a + 0.26) * r * 0.8, std::sin(a + 0.26) * r * 0.8);
        if (i == 0)
            t.moveTo(c + o);
        else
            t.lineTo(c + o);
        t.lineTo(c + o2);
    }
    t.closeSubpath();
    shape(p, t, kSteel, 0.9);
    disc(p, c, r * 0.3, kSteelDark, 0.8);
}

void clamp(QPainter &p, int type)
{
    switch (type) {
    case 1: { // vertical plate clamp with the plate hanging below
        box(p, QRectF(54, 120, 15, 116), kLoad, 0);
        p.setPen(pen(kSteelLight, 1.5));
        p.drawLine(QPointF(57, 126), QPointF(57, 230));
        ring(p, QPointF(61.5, 28), 11, 16, 4.2);
        clampBody(p, QPointF(61.5, 88), 80, true);
        cam(p, QPointF(70, 118), 8);
        line(p, QPointF(86, 74), QPointF(104, 60), 4, kSteelDark);
        disc(p, QPointF(104, 60), 4, kSteelDark);
        break;
    }
    case 2: { // a pair of horizontal clamps on a plate, on a two-leg chain
        const QPointF h = masterLink(p, QPointF(61.5, 8), 30, 40, 4.2);
        chainLine(p, h, QPointF(22, 150), 10, kSteelDark);
        chainLine(p, h, QPointF(101, 150), 10, kSteelDark);
        box(p, QRectF(14, 168, 95, 8), kLoad, 0);
        p.save();
        clampBody(p, QPointF(20, 172), 34, false);
        p.translate(123, 0);
        p.scale(-1, 1);
        clampBody(p, QPointF(20, 172), 34, false);
        p.restore();
        ring(p, QPointF(22, 153), 4, 5, 2.5);
        ring(p, QPointF(101, 153), 4, 5, 2.5);
        break;
    }
    case 3: { // a single horizontal clamp with its spindle
        ring(p, QPointF(50, 30), 10, 14, 4.2);
        QPainterPath body;
        body.moveTo(36, 52);
        body.lineTo(72, 52);
        body.lineTo(72, 80);
        body.lineTo(48, 80);
        body.lineTo(48, 150);
        body.lineTo(96, 150);
        body.lineTo(96, 176);
        body.lineTo(36, 176);
        body.closeSubpath();
        shape(p, body, kRed, 1.4);
        box(p, QRectF(58, 132, 62, 10), kLoad, 0);
        line(p, QPointF(84, 92), QPointF(84, 130), 5, kSteel);
        box(p, QRectF(76, 82, 16, 10), kSteelDark, 2);
        line(p, QPointF(70, 86), QPointF(98, 86), 3, kSteelDark);
        break;
    }
    case 4: { // drum clamp on the rim of a barrel
        QPainterPath drum;
        drum.addRoundedRect(QRectF(18, 128, 86, 108), 8, 8);
        shape(p, drum, kBlue.lighter(150));
        p.setPen(pen(kBlue.darker(120), 1.5));
        for (double y : {160.0, 200.0})
            p.drawLine(QPointF(20, y), QPointF(102, y));
        QPainterPath top;
        top.addEllipse(QRectF(18, 120, 86, 16));
        shape(p, top, kBlue.lighter(170));
        ring(p, QPointF(61.5, 34), 10, 15, 4.2);
        chainLine(p, QPointF(61.5, 50), QPointF(61.5, 92), 10, kSteelDark);
        QPainterPath j = poly({{46, 92}, {78, 92}, {78, 104}, {70, 104}, {70, 136}, {56, 136}, {56, 116}, {46, 116}});
        shape(p, j, kRed, 1.4);
        break;
    }
    default: { // beam clamp on the flange of an I-beam
        QPainterPath ib = poly({{10, 22}, {113, 22}, {113, 32}, {66, 32}, {66, 56}, {113, 56}, {113, 66}, {10, 66},
                                {10, 56}, {57, 56}, {57, 32}, {10, 32}});
        shape(p, ib, kSteel);
        QPainterPath jaws = poly({{22, 50}, {34, 50}, {34, 74}, {58, 92}, {65, 92}, {89, 74}, {89, 50}, {101, 50},
                                  {101, 80}, {70, 104}, {53, 104}, {22, 80}});
        shape(p, jaws, kRed, 1.4);
        line(p, QPointF(18, 84), QPointF(105, 84), 3, kSteelDark);
        ring(p, QPointF(61.5, 118), 9, 13, 4);
        chainLine(p, QPointF(61.5, 132), QPointF(61.5, 196), 10, kSteelDark);
        hook(p, QPointF(61.5, 200), 36);
        break;
    }
    }
}

// ---------------------------------------------------------------- spreader beams

void beam(QPainter &p, const QRectF &r)
{
    girder(p, r, kYellow);
    p.setPen(pen(kYellowDark, 1));
    for (double x = r.left() + 12; x < r.right() - 6; x += 14)
        p.drawLine(QPointF(x, r.top() + 3), QPointF(x, r.bottom() - 3));
}

void lug(QPainter &p, QPointF c, double s)
{
    QPainterPath l = poly({c + QPointF(-s * 0.5, s * 0.4), c + QPointF(s * 0.5, s * 0.4), c + QPointF(s * 0.3, -s * 0.3),
                           c + QPointF(-s * 0.3, -s * 0.3)});
    shape(p, l, kYellowDark);
    disc(p, c, s * 0.18, Qt::white, 0.9);
}

void spreader(QPainter &p, int type)
{
    switch (type) {
    case 1: { // crane beam
        const QPointF h = masterLink(p, QPointF(61.5, 8), 30, 40, 4.2);
        chainLine(p, h, QPointF(20, 104), 10, kSteelDark);
        chainLine(p, h, QPointF(103, 104), 10, kSteelDark);
        lug(p, QPointF(20, 108), 12);
        lug(p, QPointF(103, 108), 12);
        beam(p, QRectF(6, 112, 111, 20));
        for (double x : {20.0, 103.0}) {
            lug(p, QPointF(x, 136), 12);
            hook(p, QPointF(x, 146), 34);
        }
        break;
    }
    case 2: { // H-beam: main beam with two cross beams, four hooks
        const QPointF h = masterLink(p, QPointF(61.5, 8), 30, 40, 4.2);
        chainLine(p, h, QPointF(28, 100), 10, kSteelDark);
        chainLine(p, h, QPointF(95, 100), 10, kSteelDark);
        QPainterPath back = poly({{18, 96}, {40, 96}, {28, 118}, {6, 118}});
        QPainterPath front = poly({{84, 96}, {106, 96}, {117, 118}, {95, 118}});
        shape(p, back, kYellowDark);
        shape(p, front, kYellowDark);
        beam(p, QRectF(14, 102, 96, 14));
        for (double x : {24.0, 44.0, 84.0, 104.0})
            hook(p, QPointF(x, x == 44.0 || x == 84.0 ? 126 : 134), 24);
        break;
    }
    case 3: { // C-hook with a coil
        ring(p, QPointF(40, 24), 10, 14, 4.2);
        QPainterPath c;
        c.moveTo(28, 40);
        c.lineTo(112, 40);
        c.lineTo(112, 214);
        c.lineTo(14, 214);
        c.lineTo(14, 196);
        c.lineTo(94, 196);
        c.lineTo(94, 58);
        c.lineTo(28, 58);
        c.closeSubpath();
        shape(p, c, kYellow, 1.4);
        p.setPen(pen(kYellowDark, 1.2));
        p.drawLine(QPointF(103, 62), QPointF(103, 204));
        disc(p, QPointF(44, 156), 38, kSteel);
        disc(p, QPointF(44, 156), 30, kSteelLight, 0.8);
        disc(p, QPointF(44, 156), 12, Qt::white);
        break;
    }
    default: { // lifting fork with a pallet
        ring(p, QPointF(61.5, 24), 10, 14, 4.2);
        box(p, QRectF(54, 38, 15, 30), kYellowDark, 2);
        beam(p, QRectF(16, 66, 91, 14));
        box(p, QRectF(98, 80, 10, 120), kYellow, 2);
        box(p, QRectF(12, 196, 96, 8), kYellow, 2);
        box(p, QRectF(18, 148, 74, 44), QColor(0xd8, 0xb9, 0x8c));
        box(p, QRectF(16, 190, 78, 6), QColor(0xa7, 0x84, 0x55), 0, 1);
        p.setPen(pen(QColor(0xa7, 0x84, 0x55), 0.8));
        p.drawLine(QPointF(55, 150), QPointF(55, 190));
        break;
    }
    }
}

// ---------------------------------------------------------------- other handling devices

void otherDevice(QPainter &p, int type)
{
    switch (type) {
    case 1: { // crane scale
        shackle(p, QPointF(61.5, 40), 34);
        box(p, QRectF(56, 42, 11, 18), kSteelDark, 3);
        QPainterPath body;
        body.addRoundedRect(QRectF(26, 58, 71, 96), 14, 14);
        shape(p, body, kOrange, 1.4);
        box(p, QRectF(36, 74, 51, 22), QColor(0x2c, 0x3e, 0x2c), 3);
        text(p, QRectF(36, 74, 51, 22), QStringLiteral("1250"), 12, QColor(0x8f, 0xf0, 0x8f));
        text(p, QRectF(36, 100, 51, 12), QStringLiteral("kg"), 9);
        for (int i = 0; i < 3; ++i)
            disc(p, QPointF(44 + i * 17, 128), 4, kSteelLight, 0.9);
        box(p, QRectF(56, 152, 11, 14), kSteelDark, 3);
        hook(p, QPointF(61.5, 172), 48);
        break;
    }
    case 2: { // vacuum lifter
        hook(p, QPointF(61.5, 14), 30);
        ring(p, QPointF(61.5, 52), 7, 9, 3.5);
        box(p, QRectF(54, 60, 15, 40), kSteel, 3);
        box(p, QRectF(30, 96, 63, 30), kBlue, 5);
        text(p, QRectF(30, 96, 63, 30), QStringLiteral("VAC"), 10, Qt::white);
        beam(p, QRectF(8, 132, 107, 12));
        for (double x : {18.0, 46.0, 77.0, 105.0}) {
            box(p, QRectF(x - 2.5, 144, 5, 16), kSteelDark, 1);
            QPainterPath cup = poly({{x - 10, 172}, {x + 10, 172}, {x + 5, 160}, {x - 5, 160}});
            shape(p, cup, QColor(0x2f, 0x2f, 0x2f));
        }
        box(p, QRectF(4, 172, 115, 10), kGlass, 0);
        break;
    }
    case 3: { // lifting magnet on a plate
        const QPointF h = masterLink(p, QPointF(61.5, 8), 30, 40, 4.2);
        chainLine(p, h, QPointF(36, 110), 10, kSteelDark);
        chainLine(p, h, QPointF(87, 110), 10, kSteelDark);
        box(p, QRectF(18, 112, 87, 56), kRed, 4);
        box(p, QRectF(18, 160, 87, 10), QColor(0x30, 0x30, 0x30), 1);
        text(p, QRectF(18, 118, 87, 24), QStringLiteral("N  S"), 12, Qt::white);
        line(p, QPointF(98, 126), QPointF(116, 104), 4, kSteelDark);
        box(p, QRectF(6, 172, 111, 12), kLoad, 0);
        break;
    }
    case 5: { // lifting point on a base plate
        hatched(p, QRectF(0, 200, 123, 46), kWall);
        box(p, QRectF(22, 184, 79, 16), kSteel, 2);
        box(p, QRectF(42, 166, 39, 20), kRed, 4);
        disc(p, QPointF(61.5, 176), 5, kSteelLight, 0.9);
        QPainterPath d(QPointF(44, 168));
        d.cubicTo(QPointF(36, 98), QPointF(87, 98), QPointF(79, 168));
        outlined(p, d, 8, kRed);
        ring(p, QPointF(61.5, 96), 12, 16, 4.2);
        chainLine(p, QPointF(61.5, 22), QPointF(61.5, 84), 10, kSteelDark);
        break;
    }
    case 4:
    case 6:
    default: {
        if (type == 6) { // a large bow shackle
            shackle(p, QPointF(61.5, 170), 90);
            ropeLine(p, QPointF(61.5, 14), QPointF(61.5, 92), 6);
            ropeEye(p, QPointF(61.5, 92), QPointF(0, 1), 30, 6);
            ferrule(p, QPointF(61.5, 84), QPointF(0, 1), 6, 16);
            break;
        }
        // lifting tongs with a block
        ring(p, QPointF(61.5, 24), 10, 14, 4.2);
        line(p, QPointF(50, 38), QPointF(32, 90), 5, kSteelDark);
        line(p, QPointF(73, 38), QPointF(91, 90), 5, kSteelDark);
        QPainterPath l(QPointF(32, 90));
        l.lineTo(88, 160);
        l.lineTo(80, 190);
        QPainterPath r(QPointF(91, 90));
        r.lineTo(35, 160);
        r.lineTo(43, 190);
        outlined(p, l, 6, kSteel);
        outlined(p, r, 6, kSteel);
        disc(p, QPointF(61.5, 124), 5, kSteelDark);
        box(p, QRectF(40, 170, 43, 60), QColor(0xb0, 0xa8, 0x9c));
        break;
    }
    }
}

// ---------------------------------------------------------------- lifting equipment (246 x 184)

const double kFloor = 172;

void hall(QPainter &p, bool left, bool right)
{
    if (left)
        box(p, QRectF(4, 36, 12, kFloor - 36), kWall, 0, 1);
    if (right)
        box(p, QRectF(230, 36, 12, kFloor - 36), kWall, 0, 1);
    floorLine(p, kFloor, 0, 246);
}

void endCarriage(QPainter &p, double x, double y)
{
    box(p, QRectF(x - 12, y, 24, 10), kYellowDark, 2);
    wheel(p, QPointF(x - 6, y + 12), 3.5);
    wheel(p, QPointF(x + 6, y + 12), 3.5);
}

void trolleyUnder(QPainter &p, double x, double y, double hookY)
{
    box(p, QRectF(x - 18, y, 36, 16), kSteelDark, 3);
    disc(p, QPointF(x - 8, y + 8), 6, kSteel, 1);
    box(p, QRectF(x + 2, y + 3, 14, 10), kRed, 2);
    hookBlock(p, x, y + 16, hookY, 26);
}

void overhead(QPainter &p, bool doubleGirder)
{
    hall(p, true, true);
    box(p, QRectF(0, 30, 246, 6), kSteel, 0, 1);
    endCarriage(p, 18, 36);
    endCarriage(p, 228, 36);
    if (doubleGirder) {
        girder(p, QRectF(12, 46, 222, 12), kYellowDark);
        girder(p, QRectF(8, 50, 230, 16));
        box(p, QRectF(110, 36, 44, 12), kSteelDark, 2);
        box(p, QRectF(118, 38, 14, 8), kRed, 2);
        hookBlock(p, 138, 66, 112, 28, 4);
    } else {
        girder(p, QRectF(8, 48, 230, 16));
        trolleyUnder(p, 136, 64, 114);
        // pendant control
        p.setPen(pen(kInk, 0.8));
        p.drawLine(QPointF(122, 78), QPointF(96, 128));
        box(p, QRectF(91, 128, 10, 18), kYellow, 2, 1);
    }
    box(p, QRectF(118, 150, 42, 22), kLoad);
}

void gantryLegs(QPainter &p, double x, double top, double spread)
{
    QPainterPath leg = poly({{x - 4, top}, {x + 4, top}, {x + spread, kFloor - 10}, {x - spread, kFloor - 10}});
    shape(p, leg, kYellow, 1.3);
    p.setPen(pen(kYellowDark, 1));
    p.drawLine(QPointF(x, top + 4), QPointF(x, kFloor - 14));
    box(p, QRectF(x - spread - 6, kFloor - 12, 2 * spread + 12, 6), kYellowDark, 1);
    wheel(p, QPointF(x - spread, kFloor - 4), 4);
    wheel(p, QPointF(x + spread, kFloor - 4), 4);
}

void gantry(QPainter &p, bool half, bool slewing)
{
    floorLine(p, kFloor, 0, 246);
    const double top = slewing ? 96 : 40;
    if (half) {
        box(p, QRectF(222, 20, 20, kFloor - 20), kWall, 0, 1);
        box(p, QRectF(206, top - 12, 22, 6), kSteel, 0, 1);
        endCarriage(p, 216, top - 6);
    }
    gantryLegs(p, 40, top + 12, slewing ? 12 : 16);
    if (!half)
        gantryLegs(p, 196, top + 12, slewing ? 12 : 16);
    girder(p, QRectF(slewing ? 26 : 6, top, half ? (slewing ? 200 : 226) : (slewing ? 184 : 234), 14));
    if (!slewing) {
        trolleyUnder(p, 120, top + 14, 104);
        box(p, QRectF(100, 142, 42, 30), kLoad);
        return;
    }
    // slewing crane on the portal
    box(p, QRectF(78, top - 10, 60, 10), kSteelDark, 2);
    QPainterPath house = poly({{82, top - 10}, {82, top - 40}, {122, top - 40}, {134, top - 24}, {134, top - 10}});
    shape(p, house, kYellow, 1.3);
    box(p, QRectF(112, top - 36, 14, 11), kGlass, 1, 1);
    box(p, QRectF(64, top - 34, 18, 22), kSteelDark, 1); // counterweight
    QPainterPath jib(QPointF(120, top - 26));
    jib.lineTo(226, 12);
    outlined(p, jib, 5, kYellow);
    p.setPen(pen(kInk, 0.9));
    p.drawLine(QPointF(96, top - 40), QPointF(226, 12));
    hookBlock(p, 224, 14, 70, 22, 2);
}

void wallCrane(QPainter &p)
{
    hatched(p, QRectF(0, 8, 22, kFloor - 8), kWall);
    floorLine(p, kFloor, 0, 246);
    box(p, QRectF(22, 30, 10, 90), kSteelDark, 1);
    girder(p, QRectF(30, 56, 190, 14));
    line(p, QPointF(32, 34), QPointF(170, 56), 3, kSteel);
    box(p, QRectF(160, 50, 10, 8), kSteelDark, 1);
    trolleyUnder(p, 150, 70, 118);
    box(p, QRectF(130, 150, 42, 22), kLoad);
}

void pillarCrane(QPainter &p)
{
    floorLine(p, kFloor, 0, 246);
    box(p, QRectF(34, kFloor - 8, 44, 8), kSteelDark, 1);
    box(p, QRectF(48, 22, 16, kFloor - 30), kYellow, 2);
    p.setPen(pen(kYellowDark, 1.2));
    p.drawLine(QPointF(52, 26), QPointF(52, kFloor - 12));
    box(p, QRectF(44, 18, 24, 10), kSteelDark, 2);
    girder(p, QRectF(56, 30, 170, 14));
    QPainterPath brace = poly({{64, 44}, {110, 44}, {64, 80}});
    shape(p, brace, kYellowDark);
    trolleyUnder(p, 170, 44, 104);
    box(p, QRectF(150, 140, 42, 32), kLoad);
}

void mastCrane(QPainter &p)
{
    floorLine(p, kFloor, 0, 246);
    lattice(p, QRectF(54, 18, 16, kFloor - 22), kYellow, true);
    box(p, QRectF(46, kFloor - 8, 32, 8), kSteelDark, 1);
    p.setPen(pen(kInk, 0.9));
    p.drawLine(QPointF(62, 18), QPointF(8, kFloor));
    p.drawLine(QPointF(62, 18), QPointF(240, kFloor));
    disc(p, QPointF(8, kFloor - 2), 3, kSteelDark);
    disc(p, QPointF(240, kFloor - 2), 3, kSteelDark);
    p.save();
    p.translate(66, kFloor - 14);
    p.rotate(-38);
    lattice(p, QRectF(0, -6, 170, 12), kYellow, false);
    p.restore();
    const QPointF tip(66 + std::cos(qDegreesToRadians(38.0)) * 170, kFloor - 14 - std::sin(qDegreesToRadians(38.0)) * 170);
    p.setPen(pen(kInk, 0.9));
    p.drawLine(QPointF(62, 20), tip);
    hookBlock(p, tip.x(), tip.y(), 120, 22, 2);
}

void truckCrane(QPainter &p)
{
    floorLine(p, kFloor, 0, 246);
    // carrier
    box(p, QRectF(20, 126, 200, 22), kYellow, 3);
    QPainterPath cab = poly({{180, 126}, {180, 96}, {210, 96}, {224, 114}, {224, 126}});
    shape(p, cab, kYellow, 1.3);
    box(p, QRectF(196, 100, 16, 13), kGlass, 1, 1);
    for (double x : {44.0, 72.0, 196.0})
        wheel(p, QPointF(x, 152), 11);
    // outriggers
    for (double x : {28.0, 164.0}) {
        box(p, QRectF(x - 4, 146, 8, 20), kSteelDark, 1);
        box(p, QRectF(x - 10, 164, 20, 6), kSteelDark, 1);
    }
    // superstructure with the telescopic boom
    box(p, QRectF(56, 108, 70, 18), kSteelDark, 2);
    box(p, QRectF(100, 94, 20, 16), kGlass, 2);
    p.save();
    p.translate(70, 106);
    p.rotate(-40);
    box(p, QRectF(0, -8, 76, 16), kYellow, 2);
    box(p, QRectF(72, -6, 46, 12), kYellow.lighter(110), 2);
    box(p, QRectF(114, -4, 28, 8), kYellow.lighter(120), 2);
    p.restore();
    const QPointF tip(70 + std::cos(qDegreesToRadians(40.0)) * 140, 106 - std::sin(qDegreesToRadians(40.0)) * 140);
    box(p, QRectF(84, 92, 8, 18), kSteel, 2);
    hookBlock(p, tip.x(), tip.y() + 4, 84, 22, 2);
}

void towerCrane(QPainter &p)
{
    floorLine(p, kFloor, 0, 246);
    box(p, QRectF(62, kFloor - 10, 40, 10), kWall, 0, 1);
    lattice(p, QRectF(74, 40, 16, kFloor - 50), kYellow, true);
    // slewing part, cab and jibs
    box(p, QRectF(70, 30, 24, 10), kSteelDark, 1);
    box(p, QRectF(92, 30, 14, 12), kGlass, 2);
    lattice(p, QRectF(90, 22, 150, 8), kYellow, false);
    lattice(p, QRectF(8, 22, 66, 8), kYellow, false);
    box(p, QRectF(10, 30, 22, 18), kSteelDark, 1); // counterweight
    QPainterPath peak = poly({{74, 22}, {82, 2}, {90, 22}});
    shape(p, peak, kYellow);
    p.setPen(pen(kInk, 0.8));
    p.drawLine(QPointF(82, 3), QPointF(200, 22));
    p.drawLine(QPointF(82, 3), QPointF(14, 22));
    box(p, QRectF(176, 30, 16, 6), kSteelDark, 1);
    hookBlock(p, 184, 36, 108, 22, 2);
    box(p, QRectF(164, 140, 42, 32), kLoad);
}

void hoistPicture(QPainter &p)
{
    box(p, QRectF(0, 6, 246, 10), kSteel, 0, 1); // beam it hangs from
    hook(p, QPointF(123, 24), 28, true, true);
    QPainterPath body;
    body.addRoundedRect(QRectF(98, 46, 50, 46), 10, 10);
    shape(p, body, kRed, 1.4);
    disc(p, QPointF(123, 69), 13, kRed.lighter(130));
    disc(p, QPointF(123, 69), 4, kSteelDark);
    // hand chain loop and load chain
    QPainterPath loop(QPointF(144, 80));
    loop.cubicTo(QPointF(176, 100), QPointF(172, 160), QPointF(160, 164));
    loop.cubicTo(QPointF(150, 164), QPointF(150, 110), QPointF(148, 86));
    chain(p, loop, 7, kSteelDark);
    chainLine(p, QPointF(118, 92), QPointF(118, 130), 8, kSteelDark);
    hook(p, QPointF(118, 134), 32);
    floorLine(p, kFloor, 0, 246);
}

void vehicleLift(QPainter &p)
{
    floorLine(p, kFloor, 0, 246);
    for (double x : {18.0, 214.0}) {
        box(p, QRectF(x, 20, 14, kFloor - 20), kBlue, 2);
        box(p, QRectF(x - 6, kFloor - 6, 26, 6), kSteelDark, 1);
    }
    box(p, QRectF(14, 12, 222, 8), kBlue, 2);
    // car on the arms
    box(p, QRectF(32, 96, 182, 6), kSteelDark, 2);
    QPainterPath car;
    car.moveTo(40, 90);
    car.lineTo(40, 72);
    car.cubicTo(QPointF(48, 66), QPointF(62, 64), QPointF(74, 64));
    car.lineTo(94, 44);
    car.lineTo(156, 44);
    car.lineTo(180, 64);
    car.lineTo(204, 68);
    car.cubicTo(QPointF(210, 70), QPointF(212, 80), QPointF(210, 90));
    car.closeSubpath();
    shape(p, car, QColor(0xd4, 0x2e, 0x2e), 1.4);
    QPainterPath win = poly({{82, 64}, {98, 48}, {124, 48}, {124, 64}});
    QPainterPath win2 = poly({{130, 48}, {152, 48}, {170, 64}, {130, 64}});
    shape(p, win, kGlass, 1);
    shape(p, win2, kGlass, 1);
    wheel(p, QPointF(74, 90), 11);
    wheel(p, QPointF(176, 90), 11);
}

void otherEquipment(QPainter &p)
{
    // a davit with a winch on a base
    floorLine(p, kFloor, 0, 246);
    box(p, QRectF(60, kFloor - 10, 60, 10), kSteelDark, 1);
    box(p, QRectF(82, 40, 14, kFloor - 50), kYellow, 2);
    QPainterPath arm(QPointF(89, 44));
    arm.cubicTo(QPointF(92, 14), QPointF(150, 10), QPointF(186, 24));
    outlined(p, arm, 10, kYellow);
    disc(p, QPointF(186, 28), 7, kSteel);
    // winch
    box(p, QRectF(96, 118, 36, 24), kSteelDark, 3);
    disc(p, QPointF(114, 130), 9, kSteel);
    p.setPen(pen(kInk, 1.1));
    p.drawLine(QPointF(114, 121), QPointF(182, 30));
    p.drawLine(QPointF(193, 28), QPointF(193, 104));
    hook(p, QPointF(193, 106), 30);
    box(p, QRectF(176, 142, 36, 30), kLoad);
}

// ---------------------------------------------------------------- fall protection (123 x 246)

void figure(QPainter &p)
{
    const QColor body(0xe3, 0xe7, 0xeb);
    disc(p, QPointF(61.5, 26), 15, body, 1);
    QPainterPath t;
    t.moveTo(36, 48);
    t.lineTo(87, 48);
    t.lineTo(104, 120);
    t.lineTo(94, 122);
    t.lineTo(82, 84);
    t.lineTo(82, 130);
    t.lineTo(88, 234);
    t.lineTo(66, 234);
    t.lineTo(61.5, 150);
    t.lineTo(57, 234);
    t.lineTo(35, 234);
    t.lineTo(41, 130);
    t.lineTo(41, 84);
    t.lineTo(29, 122);
    t.lineTo(19, 120);
    t.closeSubpath();
    shape(p, t, body, 1);
}

void harnessStraps(QPainter &p, bool full)
{
    const QColor s = kOrange;
    if (full) {
        line(p, QPointF(46, 48), QPointF(52, 128), 5, s);
        line(p, QPointF(77, 48), QPointF(71, 128), 5, s);
        line(p, QPointF(48, 84), QPointF(75, 84), 4, s);
        // leg loops
        line(p, QPointF(52, 128), QPointF(44, 146), 5, s);
        line(p, QPointF(71, 128), QPointF(79, 146), 5, s);
        line(p, QPointF(40, 148), QPointF(58, 146), 5, s);
        line(p, QPointF(65, 146), QPointF(83, 148), 5, s);
        ring(p, QPointF(61.5, 84), 5, 6, 2.5);
    }
    line(p, QPointF(40, 118), QPointF(83, 118), 7, full ? s : kBlue);
    ring(p, QPointF(38, 118), 5, 6, 2.5);
    ring(p, QPointF(85, 118), 5, 6, 2.5);
    box(p, QRectF(56, 113, 11, 10), kSteel, 2);
}

void carabiner(QPainter &p, QPointF top, double s)
{
    QPainterPath c;
    c.addRoundedRect(QRectF(top.x() - s * 0.3, top.y(), s * 0.6, s), s * 0.3, s * 0.3);
    outlined(p, c, s * 0.09, kSteel);
    p.setPen(pen(kInk, 1));
    p.drawLine(top + QPointF(s * 0.3, s * 0.25), top + QPointF(s * 0.12, s * 0.7));
    box(p, QRectF(top.x() + s * 0.18, top.y() + s * 0.6, s * 0.18, s * 0.18), kOrange, 1, 0.8);
}

void fallProtection(QPainter &p, int type)
{
    switch (type) {
    case 1: // full-body harness
        figure(p);
        harnessStraps(p, true);
        break;
    case 2: // work positioning belt with its lanyard
        figure(p);
        harnessStraps(p, false);
        {
            QPainterPath l(QPointF(38, 122));
            l.cubicTo(QPointF(30, 190), QPointF(93, 190), QPointF(85, 122));
            rope(p, l, 4, QColor(0x3b, 0x7d, 0xd8));
        }
        break;
    case 3: // lanyard with an energy absorber and connectors
        carabiner(p, QPointF(61.5, 8), 34);
        webbing(p, QPointF(61.5, 40), QPointF(61.5, 80), 10, kOrange);
        box(p, QRectF(46, 80, 31, 56), QColor(0x2f, 0x5d, 0x9e), 5);
        text(p, QRectF(46, 96, 31, 24), QStringLiteral("EN\n355"), 8, Qt::white);
        webbing(p, QPointF(61.5, 136), QPointF(61.5, 188), 10, kOrange);
        hook(p, QPointF(61.5, 194), 44, true);
        break;
    default: { // vertical securing system: a ladder with a guided fall arrester
        for (double x : {24.0, 99.0})
            box(p, QRectF(x - 3, 4, 6, 238), kSteel, 2);
        for (double y = 20; y < 240; y += 24)
            box(p, QRectF(24, y, 75, 4), kSteel, 1, 1);
        ropeLine(p, QPointF(61.5, 2), QPointF(61.5, 244), 4);
        box(p, QRectF(54, 104, 15, 26), kOrange, 3);
        carabiner(p, QPointF(62, 128), 20);
        box(p, QRectF(50, 0, 23, 8), kSteelDark, 1);
        box(p, QRectF(50, 238, 23, 8), kSteelDark, 1);
        break;
    }
    }
}

// ---------------------------------------------------------------- kind-button glyphs (32 x 32)

void glyphPerson(QPainter &p, const QColor &helmet)
{
    disc(p, QPointF(10, 9), 4, kSkin, 1);
    QPainterPath h;
    h.moveTo(5.5, 8.5);
    h.arcTo(QRectF(5.5, 3.5, 9, 9), 180, -180);
    h.closeSubpath();
    shape(p, h, helmet, 0.9);
    QPainterPath b;
    b.addRoundedRect(QRectF(3, 14.5, 14, 15), 4, 4);
    shape(p, b, QColor(0x2f, 0x5d, 0x9e), 1);
}

void glyph(QPainter &p, const QString &name)
{
    const QColor g8 = kRed;
    if (name == QLatin1String("BR")) {
        ring(p, QPointF(16, 5), 4, 4, 2);
        chainLine(p, QPointF(16, 9), QPointF(16, 21), 6, g8);
        hook(p, QPointF(16, 22), 10);
    } else if (name == QLatin1String("BL")) {
        ropeEye(p, QPointF(16, 12), QPointF(0, -1), 10, 3);
        ropeLine(p, QPointF(16, 11), QPointF(16, 30), 3);
        ferrule(p, QPointF(16, 14), QPointF(0, 1), 3, 6);
    } else if (name == QLatin1String("BX")) {
        QPainterPath loop(QPointF(16, 2));
        loop.cubicTo(QPointF(4, 3), QPointF(5, 29), QPointF(16, 30));
        loop.cubicTo(QPointF(27, 29), QPointF(28, 3), QPointF(16, 2));
        outlined(p, loop, 4.5, kViolet, 0.8);
    } else if (name == QLatin1String("BS")) {
        ring(p, QPointF(16, 5), 3, 4, 2);
        QPainterPath b = poly({{8, 9}, {24, 9}, {24, 25}, {18, 25}, {18, 17}, {14, 17}, {14, 25}, {8, 25}});
        shape(p, b, kRed, 1);
        box(p, QRectF(14.5, 18, 3, 13), kLoad, 0, 0.8);
    } else if (name == QLatin1String("BT")) {
        p.setPen(pen(kInk, 1));
        p.drawLine(QPointF(16, 3), QPointF(6, 12));
        p.drawLine(QPointF(16, 3), QPointF(26, 12));
        girder(p, QRectF(2, 12, 28, 6));
        hook(p, QPointF(6, 20), 10);
        hook(p, QPointF(26, 20), 10);
    } else if (name == QLatin1String("BJ")) {
        p.setPen(pen(kInk, 1));
        p.drawLine(QPointF(16, 2), QPointF(16, 10));
        box(p, QRectF(5, 10, 22, 12), kRed, 2, 1);
        box(p, QRectF(5, 20, 22, 3), QColor(0x30, 0x30, 0x30), 0, 0.8);
        box(p, QRectF(2, 25, 28, 4), kLoad, 0, 0.8);
    } else if (name == QLatin1String("Z1")) {
        box(p, QRectF(1, 8, 3, 22), kWall, 0, 0.8);
        box(p, QRectF(28, 8, 3, 22), kWall, 0, 0.8);
        girder(p, QRectF(1, 6, 30, 5));
        box(p, QRectF(12, 11, 9, 5), kSteelDark, 1, 0.9);
        p.setPen(pen(kInk, 0.9));
        p.drawLine(QPointF(16.5, 16), QPointF(16.5, 21));
        hook(p, QPointF(16.5, 21), 8);
    } else if (name == QLatin1String("Z2")) {
        girder(p, QRectF(1, 5, 30, 5));
        QPainterPath l = poly({{5, 10}, {8, 10}, {10, 29}, {3, 29}});
        QPainterPath r = poly({{24, 10}, {27, 10}, {29, 29}, {22, 29}});
        shape(p, l, kYellow, 1);
        shape(p, r, kYellow, 1);
        p.setPen(pen(kInk, 0.9));
        p.drawLine(QPointF(16, 10), QPointF(16, 17));
        hook(p, QPointF(16, 17), 8);
    } else if (name == QLatin1String("Z3")) {
        hatched(p, QRectF(0, 2, 5, 29), kWall);
        girder(p, QRectF(5, 8, 25, 5));
        p.setPen(pen(kInk, 1.1));
        p.drawLine(QPointF(5, 2), QPointF(22, 8));
        p.drawLine(QPointF(22, 13), QPointF(22, 18));
        hook(p, QPointF(22, 18), 9);
    } else if (name == QLatin1String("Z4")) {
        box(p, QRectF(5, 4, 5, 26), kYellow, 1, 1);
        box(p, QRectF(2, 28, 11, 3), kSteelDark, 0, 0.8);
        girder(p, QRectF(7, 5, 23, 5));
        p.setPen(pen(kInk, 0.9));
        p.drawLine(QPointF(24, 10), QPointF(24, 16));
        hook(p, QPointF(24, 16), 9);
    } else if (name == QLatin1String("Z5")) {
        box(p, QRectF(2, 20, 26, 6), kYellow, 1, 1);
        QPainterPath c = poly({{22, 20}, {22, 14}, {28, 14}, {31, 18}, {31, 20}});
        shape(p, c, kYellow, 1);
        wheel(p, QPointF(7, 27), 3);
        wheel(p, QPointF(24, 27), 3);
        line(p, QPointF(8, 19), QPointF(24, 3), 2.6, kYellow, 0.8);
        p.setPen(pen(kInk, 0.8));
        p.drawLine(QPointF(24, 3), QPointF(24, 9));
        hook(p, QPointF(24, 9), 7);
    } else if (name == QLatin1String("Z6")) {
        box(p, QRectF(9, 6, 5, 25), kYellow, 0, 1);
        girder(p, QRectF(1, 5, 30, 3.5));
        box(p, QRectF(1, 8.5, 5, 4), kSteelDark, 0, 0.8);
        p.setPen(pen(kInk, 0.8));
        p.drawLine(QPointF(11.5, 1), QPointF(28, 5));
        p.drawLine(QPointF(25, 8.5), QPointF(25, 15));
        hook(p, QPointF(25, 15), 8);
    } else if (name == QLatin1String("Z9")) {
        box(p, QRectF(0, 1, 32, 3), kSteel, 0, 0.8);
        hook(p, QPointF(16, 5), 6, false, true);
        box(p, QRectF(9, 9, 14, 11), kRed, 3, 1);
        chainLine(p, QPointF(14, 20), QPointF(14, 25), 4, kSteelDark);
        hook(p, QPointF(14, 24), 8);
    } else if (name == QLatin1String("ZA")) {
        box(p, QRectF(2, 4, 4, 26), kBlue, 1, 0.9);
        box(p, QRectF(26, 4, 4, 26), kBlue, 1, 0.9);
        QPainterPath car = poly({{5, 18}, {5, 14}, {10, 13}, {13, 9}, {21, 9}, {24, 13}, {27, 14}, {27, 18}});
        shape(p, car, QColor(0xd4, 0x2e, 0x2e), 1);
        wheel(p, QPointF(10, 18), 2.5);
        wheel(p, QPointF(22, 18), 2.5);
        floorLine(p, 30.5, 0, 32);
    } else if (name == QLatin1String("ZE")) {
        box(p, QRectF(8, 8, 4, 22), kYellow, 1, 0.9);
        QPainterPath arm(QPointF(10, 9));
        arm.cubicTo(QPointF(11, 2), QPointF(22, 2), QPointF(26, 5));
        outlined(p, arm, 3, kYellow, 0.8);
        p.setPen(pen(kInk, 0.9));
        p.drawLine(QPointF(26, 6), QPointF(26, 14));
        hook(p, QPointF(26, 14), 9);
        box(p, QRectF(4, 28, 12, 3), kSteelDark, 0, 0.8);
    } else if (name.startsWith(QLatin1Char('L')) && name.size() == 2) {
        const QChar f = name.at(1);
        glyphPerson(p, f == QLatin1Char('R') ? Qt::white : (f == QLatin1Char('J') ? kRed : kYellow));
        switch (f.unicode()) {
        case 'V': // slinger: hook
            hook(p, QPointF(24, 8), 16);
            break;
        case 'J': // crane operator: a small crane
            girder(p, QRectF(18, 6, 13, 4));
            p.setPen(pen(kInk, 0.9));
            p.drawLine(QPointF(26, 10), QPointF(26, 16));
            hook(p, QPointF(26, 16), 8);
            break;
        case 'R': // inspector: clipboard with a tick
            box(p, QRectF(19, 10, 11, 15), Qt::white, 1, 1);
            box(p, QRectF(22, 8.5, 5, 3), kSteelDark, 1, 0.8);
            p.setPen(pen(kGreen, 1.6));
            p.drawPolyline(QPolygonF({QPointF(21, 18), QPointF(23.5, 21), QPointF(28, 14)}));
            break;
        case 'U': { // maintainer: spanner
            QPainterPath w(QPointF(20, 28));
            w.lineTo(27, 15);
            outlined(p, w, 2.6, kSteel, 0.8);
            QPainterPath j;
            j.addEllipse(QPointF(27.5, 12.5), 3.5, 3.5);
            shape(p, j, kSteel, 1);
            box(p, QRectF(26.5, 8, 2, 4), Qt::white, 0, 0);
            break;
        }
        case 'P': // work at height: anchor with a lanyard
            p.setPen(pen(kInk, 1));
            p.drawLine(QPointF(18, 4), QPointF(31, 4));
            rope(p, QPainterPath(QPointF(26, 5)), 2);
            {
                QPainterPath l(QPointF(26, 5));
                l.cubicTo(QPointF(27, 14), QPointF(20, 14), QPointF(15, 17));
                rope(p, l, 2.2, kOrange);
            }
            break;
        case 'S': // platform operator: a lifting platform
            box(p, QRectF(19, 6, 12, 5), kOrange, 1, 1);
            p.setPen(pen(kInk, 1.1));
            p.drawLine(QPointF(20, 12), QPointF(30, 24));
            p.drawLine(QPointF(30, 12), QPointF(20, 24));
            box(p, QRectF(18, 24, 14, 4), kSteelDark, 1, 0.9);
            wheel(p, QPointF(21, 29), 2);
            wheel(p, QPointF(29, 29), 2);
            break;
        case 'K': // vehicle lift operator
            box(p, QRectF(19, 4, 3, 26), kBlue, 1, 0.8);
            box(p, QRectF(28, 4, 3, 26), kBlue, 1, 0.8);
            box(p, QRectF(21, 15, 8, 4), QColor(0xd4, 0x2e, 0x2e), 1, 0.8);
            break;
        default:
            break;
        }
    } else if (name == QLatin1String("Iopt1")) {
        disc(p, QPointF(16, 5), 3.5, kSkin, 0.9);
        QPainterPath b;
        b.addRoundedRect(QRectF(9, 10, 14, 20), 4, 4);
        shape(p, b, QColor(0xe3, 0xe7, 0xeb), 0.9);
        line(p, QPointF(12, 10), QPointF(14, 22), 1.8, kOrange, 0.6);
        line(p, QPointF(20, 10), QPointF(18, 22), 1.8, kOrange, 0.6);
        line(p, QPointF(10, 21), QPointF(22, 21), 2.2, kOrange, 0.6);
        line(p, QPointF(14, 22), QPointF(11, 29), 1.8, kOrange, 0.6);
        line(p, QPointF(18, 22), QPointF(21, 29), 1.8, kOrange, 0.6);
    } else if (name == QLatin1String("Iopt2")) {
        QPainterPath belt;
        belt.addEllipse(QRectF(3, 10, 26, 12));
        outlined(p, belt, 3.5, kBlue, 0.8);
        ring(p, QPointF(3, 16), 2.5, 3, 1.4);
        ring(p, QPointF(29, 16), 2.5, 3, 1.4);
        box(p, QRectF(13, 18, 6, 5), kSteel, 1, 0.8);
    } else if (name == QLatin1String("Iopt3")) {
        carabiner(p, QPointF(16, 1), 11);
        webbing(p, QPointF(16, 12), QPointF(16, 18), 4, kOrange);
        box(p, QRectF(12, 17, 8, 7), QColor(0x2f, 0x5d, 0x9e), 1.5, 0.9);
        webbing(p, QPointF(16, 24), QPointF(16, 27), 4, kOrange);
        hook(p, QPointF(16, 26), 7, false);
    } else if (name == QLatin1String("zzC")) {
        hatched(p, QRectF(0, 0, 32, 6), kWall);
        box(p, QRectF(13, 6, 6, 6), kSteelDark, 1, 0.9);
        ring(p, QPointF(16, 15), 3.5, 4, 1.8);
        carabiner(p, QPointF(16, 18), 12);
    }
}

// ---------------------------------------------------------------- the catalogue

struct Picture
{
    QString name;
    QSize size;
    std::function<void(QPainter &)> draw;
};

std::vector<Picture> catalogue()
{
    std::vector<Picture> out;
    const QSize card(123, 246), wide(246, 184), small(32, 32);

    for (const char *g : {"BR", "BL", "BX", "BS", "BT", "BJ", "Z1", "Z2", "Z3", "Z4", "Z5", "Z6", "Z9", "ZA", "ZE", "LV",
                          "LJ", "LR", "LU", "LP", "LS", "LK", "Iopt1", "Iopt2", "Iopt3", "zzC"}) {
        const QString n = QString::fromLatin1(g);
        out.push_back({n, small, [n](QPainter &p) { glyph(p, n); }});
    }

    const char *chainBases[] = {"I1", "I2", "I3", "I4", "In", "IV1", "IV2", "Ij", "IL"};
    for (int t = 1; t <= 9; ++t)
        for (const Grade &g : kGrades)
            out.push_back({QString::fromLatin1(chainBases[t - 1]) + g.suffix, card,
                           [t, g](QPainter &p) { chainSling(p, t, g); }});
    for (int t = 1; t <= 8; ++t)
        out.push_back({QStringLiteral("IL%1").arg(t), card, [t](QPainter &p) { ropeSling(p, t); }});
    for (int t = 1; t <= 8; ++t)
        out.push_back({QStringLiteral("Ix%1").arg(t), card, [t](QPainter &p) { textileSling(p, t); }});
    for (int t = 1; t <= 5; ++t)
        out.push_back({QStringLiteral("Is%1").arg(t), card, [t](QPainter &p) { clamp(p, t); }});
    for (int t = 1; t <= 4; ++t)
        out.push_back({QStringLiteral("IT%1").arg(t), card, [t](QPainter &p) { spreader(p, t); }});
    for (int t = 1; t <= 6; ++t)
        out.push_back({QStringLiteral("IJ%1").arg(t), card, [t](QPainter &p) { otherDevice(p, t); }});
    for (int t = 1; t <= 4; ++t)
        out.push_back({QStringLiteral("Iop%1").arg(t), card, [t](QPainter &p) { fallProtection(p, t); }});

    const std::pair<const char *, std::function<void(QPainter &)>> equipment[] = {
        {"MOST", [](QPainter &p) { overhead(p, false); }},
        {"MOST2", [](QPainter &p) { overhead(p, true); }},
        {"PORTAL", [](QPainter &p) { gantry(p, false, false); }},
        {"POLOPORTAL", [](QPainter &p) { gantry(p, true, false); }},
        {"PORTALOTOC", [](QPainter &p) { gantry(p, false, true); }},
        {"PORTOTPOL", [](QPainter &p) { gantry(p, true, true); }},
        {"KONZOL_NAST", wallCrane},
        {"KONZOL_SLOUP", pillarCrane},
        {"STOZAR", mastCrane},
        {"AUTOJERAB", truckCrane},
        {"VEZOVY", towerCrane},
        {"MALE", hoistPicture},
        {"AUTOZVEDAK", vehicleLift},
        {"JINYJER", otherEquipment},
    };
    for (const auto &[n, f] : equipment)
        out.push_back({QString::fromLatin1(n), wide, f});
    return out;
}

QImage render(const Picture &pic)
{
    const bool glyphSized = pic.size.width() <= 48;
    QImage img(pic.size, QImage::Format_ARGB32_Premultiplied);
    img.fill(glyphSized ? Qt::transparent : Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    pic.draw(p);
    p.end();
    return glyphSized ? img : img.convertToFormat(QImage::Format_RGB32);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tavozz-makepictures <output folder> [contact sheet.png]\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("pictures"))) {
        std::fprintf(stderr, "cannot create %s/pictures\n", argv[1]);
        return 1;
    }
    QString qrc;
    QTextStream ts(&qrc);
    ts << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    QSet<QString> seen;
    const std::vector<Picture> all = catalogue();
    // contact sheets: every picture with its name, sixteen to a page, for looking them over
    const int cols = 8, perPage = 16, cellW = 260, cellH = 520;
    const QString sheetBase = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QImage sheet;
    QPainter sp;
    int index = 0;
    auto flushSheet = [&] {
        if (!sp.isActive())
            return;
        sp.end();
        const QString file = sheetBase.chopped(4) + QStringLiteral("-%1.png").arg((index - 1) / perPage + 1);
        if (!sheet.save(file))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    };
    for (const Picture &pic : all) {
        if (seen.contains(pic.name.toLower())) {
            std::fprintf(stderr, "picture name given twice: %s\n", qPrintable(pic.name));
            return 1;
        }
        seen.insert(pic.name.toLower());
        const QString file = QStringLiteral("pictures/%1.png").arg(pic.name);
        const QImage img = render(pic);
        if (!sheetBase.isEmpty()) {
            if (index % perPage == 0) {
                flushSheet();
                sheet = QImage(cols * cellW, perPage / cols * cellH, QImage::Format_RGB32);
                sheet.fill(QColor(0xf4, 0xf4, 0xf4));
                sp.begin(&sheet);
            }
            const QPoint cell((index % cols) * cellW, (index % perPage / cols) * cellH);
            const QImage shown = img.scaled(img.size() * (img.width() > 123 ? 1 : 2));
            sp.fillRect(QRect(cell + QPoint(4, 4), shown.size()), Qt::white);
            sp.drawImage(cell + QPoint(4, 4), shown);
            sp.setPen(Qt::black);
            sp.drawText(QRect(cell.x(), cell.y() + cellH - 24, cellW, 20), Qt::AlignCenter, pic.name);
        }
        ++index;
        if (!img.save(out.filePath(file), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(file)));
            return 1;
        }
        ts << "  <file>" << file << "</file>\n";
    }
    flushSheet();
    ts << "</qresource>\n</RCC>\n";
    ts.flush();
    QFile f(out.filePath(QStringLiteral("tzz.qrc")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(qrc.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        return 1;
    }
    return 0;
}
