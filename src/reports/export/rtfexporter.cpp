// RTF document of all pages: each text line a positioned frame paragraph,
// lines and frames as shapes. Measures in twips (hundredths of an inch * 1440
// / 100). Every group written is closed again.
#include "exporter.h"

#include "codepage.h"

#include <QBuffer>
#include <QFileInfo>

#include <map>
#include <set>

namespace tz::rep {

namespace {

int tw(int hundredths) { return hundredths * 1440 / 100; }

struct FontKey {
    QString name;
    int charset;
    bool operator<(const FontKey &o) const { return std::tie(name, charset) < std::tie(o.name, o.charset); }
};

FontKey fontKey(const TSiReportElement &e)
{
    // Our text is Windows-1250: a font without its own character set is
    // declared Central European, so that the escaped bytes read correctly.
    const int cs = (e.charset == 0 || e.charset == 1) ? 238 : e.charset;
    return {elementFont(e).family(), cs};
}

quint32 rgbKey(qint32 colour)
{
    const QColor c = toQColor(colour);
    return (quint32(c.red()) << 16) | (quint32(c.green()) << 8) | quint32(c.blue());
}

QByteArray rtfText(const QString &text)
{
    QByteArray out;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x20)
            continue;
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u < 0x80) {
            out += char(u);
        } else {
            const unsigned char b = tz::fromUnicode(u, CodePage::Cp1250);
            if (b)
                out += QByteArray("\\'") + QByteArray::number(b, 16).rightJustified(2, '0');
            else
                out += "\\u" + QByteArray::number(qint16(u)) + "?";
        }
    }
    return out;
}

class RtfWriter {
public:
    RtfWriter(const PageStore &s, PageRange r) : store(s), range(r)
    {
        for (int p = r.first; p <= r.last; ++p)
            for (const OutputElement &o : s.pages[size_t(p - 1)].elements) {
                if (o.isText() || o.el.kind == ekBarcode) {
                    fonts.insert(fontKey(o.el));
                    colours.insert(rgbKey(o.el.fontColour));
                    for (const TextLine &l : o.lines)
                        for (const TextRun &run : l.runs) {
                            fonts.insert(fontKey(runElement(o.el, run.format)));
                            colours.insert(rgbKey(run.format.colour));
                        }
                } else if (o.el.kind >= ekLine && o.el.kind <= ekEllipse) {
                    colours.insert(rgbKey(o.el.penColour));
                }
            }
        if (fonts.empty())
            fonts.insert({QStringLiteral("Arial"), 238});
        if (colours.empty())
            colours.insert(0);
    }

    QByteArray document()
    {
        const PageSetup &ps = store.pageSetup;
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720";
        out += "{\\fonttbl";
        int n = 0;
        for (const FontKey &f : fonts) {
            fontIndex[f] = n;
            out += "{\\f" + QByteArray::number(n++) + "\\fnil\\fcharset" + QByteArray::number(f.charset) + " "
                + rtfText(f.name) + ";}";
        }
        out += "}";
        out += "{\\colortbl";
        n = 0;
        for (quint32 c : colours) {
            colourIndex[c] = n++;
            out += "\\red" + QByteArray::number((c >> 16) & 255) + "\\green" + QByteArray::number((c >> 8) & 255)
                + "\\blue" + QByteArray::number(c & 255) + ";";
        }
        out += "}";
        out += "{\\info{\\doccomm Produced by: VAMEL Report Generator (TAVO ZZ)}}";
        out += QByteArray("\\viewkind1\\paperw") + QByteArray::number(tw(store.paperWidth())) + "\\paperh"
            + QByteArray::number(tw(store.paperHeight())) + "\\margl" + QByteArray::number(tw(ps.marginLeft)) + "\\margr"
            + QByteArray::number(tw(ps.marginRight)) + "\\margt" + QByteArray::number(tw(ps.marginTop * 8 / 10))
            + "\\margb" + QByteArray::number(tw(ps.marginBottom * 8 / 10)) + (ps.orientation == 1 ? "\\lndscpsxn" : "")
            + "\\headery0\\footery0\r\n";
        for (int p = range.first; p <= range.last; ++p) {
            out += "{";
            for (const OutputElement &o : store.pages[size_t(p - 1)].elements)
                out += element(o);
            out += p < range.last ? "\\par\\page}" : "\\par}";
            out += "\r\n";
        }
        out += "}";
        return out;
    }

private:
    const PageStore &store;
    PageRange range;
    std::set<FontKey> fonts;
    std::set<quint32> colours;
    std::map<FontKey, int> fontIndex;
    std::map<quint32, int> colourIndex;

    int px(int x) const { return tw(x + store.pageSetup.marginLeft); }
    int py(int y) const { return tw(y + store.pageSetup.marginTop); }

    QByteArray frame(const TSiReportElement &e, int top, int left, int width, int height, bool borders) const
    {
        QByteArray s = "\\par\\pard";
        if (borders) {
            if (e.frameTop())
                s += "\\brdrt\\brdrs\\brdrw20 ";
            if (e.frameLeft())
                s += "\\brdrl\\brdrs\\brdrw20 ";
            if (e.frameBottom())
                s += "\\brdrb\\brdrs\\brdrw20 ";
            if (e.frameRight())
                s += "\\brdrr\\brdrs\\brdrw20 ";
        }
        s += "\\pvpg\\phpg\\absw" + QByteArray::number(tw(width)) + "\\absh" + QByteArray::number(-tw(std::max(1, height)))
            + "\\posy" + QByteArray::number(py(top)) + "\\posx" + QByteArray::number(px(left));
        return s;
    }

    // One fragment of a line: font, colour and size, style and alignment
    // codes, the text, the closing style codes.
    QByteArray fragment(const TSiReportElement &e, const QString &text) const
    {
        QByteArray s = "\\f" + QByteArray::number(fontIndex.at(fontKey(e))) + "\\cf"
            + QByteArray::number(colourIndex.at(rgbKey(e.fontColour))) + "\\fs" + QByteArray::number(e.pointSize() * 2) + " ";
        QByteArray on, off;
        if (e.bold())
            on += "\\b";
        if (e.underline())
            on += "\\ul";
        if (e.italic())
            on += "\\i";
        switch (e.alignment()) {
        case alRight: on += "\\qr"; break;
        case alCenter: on += "\\qc"; break;
        case alJustify: on += "\\qj"; break;
        default: on += "\\ql";
        }
        if (e.italic())
            off += "\\i0";
        if (e.underline())
            off += "\\ul0";
        if (e.bold())
            off += "\\b0";
        return s + on + " " + rtfText(text) + off;
    }

    QByteArray textLine(const OutputElement &o, const TextLine *line, const QString &text, int top, int height) const
    {
        const TSiReportElement &e = o.el;
        QByteArray s = frame(e, top, o.box.left(), o.box.width(), height, true);
        if (!line || line->runs.empty())
            return s + fragment(e, text);
        int pos = 0;
        for (const TextRun &run : line->runs) {
            // the tabs between two runs
            for (int k = pos; k < run.start; ++k)
                if (line->text[k] == u'\t')
                    s += "\\tab ";
            s += fragment(runElement(e, run.format), run.text(line->text));
            pos = run.start + run.length;
        }
        return s;
    }

    QByteArray lineShape(int x1, int y1, int x2, int y2, const TSiReportElement &e, bool flip) const
    {
        QByteArray dash;
        const int ps = e.effectivePenStyle();
        if (ps >= 1 && ps <= 4)
            dash = "{\\sp{\\sn lineDashing}{\\sv " + QByteArray::number(ps) + "}}";
        if (flip)
            dash += "{\\sp{\\sn fFlipV}{\\sv 1}}";
        return "{\\shp{\\*\\shpinst\\shpbxpage\\shpbypage\\shpleft" + QByteArray::number(px(x1)) + "\\shptop"
            + QByteArray::number(py(y1)) + "\\shpright" + QByteArray::number(px(x2)) + "\\shpbottom"
            + QByteArray::number(py(y2)) + "{\\sp{\\sn shapeType}{\\sv 20}}" + dash + "{\\sp{\\sn lineColor}{\\sv "
            + QByteArray::number(e.penColour) + "}}{\\sp{\\sn lineWidth}{\\sv " + QByteArray::number(std::max(1, e.penWidth) * 9144)
            + "}}}}";
    }

    QByteArray element(const OutputElement &o) const
    {
        const TSiReportElement &e = o.el;
        const QRect &b = o.box;
        const int l = b.left(), t = b.top(), r = b.left() + b.width(), bt = b.top() + b.height();
        if (!o.picture.isNull()) {
            QByteArray png;
            QBuffer buf(&png);
            buf.open(QIODevice::WriteOnly);
            o.picture.save(&buf, "PNG");
            return frame(e, t, l, b.width(), b.height(), false) + "{\\pict\\pngblip\\picw"
                + QByteArray::number(o.picture.width()) + "\\pich" + QByteArray::number(o.picture.height()) + "\\picwgoal"
                + QByteArray::number(tw(b.width())) + "\\pichgoal" + QByteArray::number(tw(b.height())) + " " + png.toHex()
                + "}";
        }
        if (o.isText() || e.kind == ekBarcode) {
            if (e.kind == ekBarcode)
                return textLine(o, nullptr, e.value.text, t, b.height());
            QByteArray s;
            double y = t;
            for (const TextLine &line : o.lines) {
                const int h = o.lines.size() == 1 ? b.height() : int(line.height + 0.5);
                s += textLine(o, &line, line.text, int(y + 0.5), h);
                y += line.height;
            }
            return s;
        }
        if (e.kind == ekLine) {
            QByteArray s;
            if (e.edgeTop())
                s += lineShape(l, t, r, t, e, false);
            if (e.edgeLeft())
                s += lineShape(l, t, l, bt, e, false);
            if (e.edgeBottom())
                s += lineShape(l, bt, r, bt, e, false);
            if (e.edgeRight())
                s += lineShape(r, t, r, bt, e, false);
            if (e.diagonalFalling())
                s += lineShape(l, t, r, bt, e, false);
            if (e.diagonalRising())
                s += lineShape(l, t, r, bt, e, true);
            if (e.flags & 64) {
                const int ps = e.effectivePenStyle();
                const QByteArray dash =
                    ps >= 1 && ps <= 4 ? "{\\sp{\\sn lineDashing}{\\sv " + QByteArray::number(ps) + "}}" : QByteArray();
                s += "{\\shp{\\*\\shpinst\\shpbxpage\\shpbypage\\shpleft" + QByteArray::number(px(l)) + "\\shptop"
                    + QByteArray::number(py(t)) + "\\shpright" + QByteArray::number(px(r)) + "\\shpbottom"
                    + QByteArray::number(py(bt)) + "{\\sp{\\sn shapeType}{\\sv 3}}" + dash
                    + "{\\sp{\\sn fillOpacity}{\\sv 0}}}}";
            }
            return s;
        }
        if (e.kind == ekFrame || e.kind == ekRoundFrame || e.kind == ekEllipse) {
            const int type = e.kind == ekFrame ? 1 : e.kind == ekRoundFrame ? 2 : 3;
            QByteArray s = "{\\shp{\\*\\shpinst\\shpbxpage\\shpbypage\\shpleft" + QByteArray::number(px(l)) + "\\shptop"
                + QByteArray::number(py(t)) + "\\shpright" + QByteArray::number(px(r)) + "\\shpbottom"
                + QByteArray::number(py(bt)) + "\\shpwr3{\\sp{\\sn shapeType}{\\sv " + QByteArray::number(type)
                + "}}{\\sp{\\sn fillColor}{\\sv " + QByteArray::number(e.brushColour) + "}}";
            if (e.brushStyle == 1)
                s += "{\\sp{\\sn fFilled}{\\sv 0}}";
            if (e.penWidth > 0)
                s += "{\\sp{\\sn lineColor}{\\sv " + QByteArray::number(e.penColour) + "}}{\\sp{\\sn lineWidth}{\\sv "
                    + QByteArray::number(e.penWidth * 9144) + "}}";
            else
                s += "{\\sp{\\sn fLine}{\\sv 0}}";
            s += "{\\sp{\\sn fBehindDocument}{\\sv 1}}}}";
            return s;
        }
        return {};
    }
};

class RtfExporter : public Exporter {
public:
    QString format() const override { return QStringLiteral("rtf"); }
    bool write(const PageStore &store, const QString &path, const ExportOptions &o, QString *error) override
    {
        files.clear();
        RtfWriter w(store, store.clamp(o.range));
        if (!writeFileAtomically(path, w.document(), error))
            return false;
        files << path;
        return true;
    }
};

} // namespace

std::unique_ptr<Exporter> makeRtfExporter() { return std::make_unique<RtfExporter>(); }

} // namespace tz::rep
