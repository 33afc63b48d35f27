// HTML pages: absolutely positioned DIVs, one or more per output element;
// positions in pixels equal to hundredths of an inch. Text is escaped and the
// file is UTF-8 (declared), so "<500 kg", "A&B s.r.o." and Czech letters show
// as they are.
#include "exporter.h"

#include <QDir>
#include <QFileInfo>

namespace tz::rep {

namespace {

const char *const kDq = "\"";

QString colourText(qint32 c)
{
    const QColor q = toQColor(c);
    return QString::asprintf("#%2.2x%2.2x%2.2x", q.red(), q.green(), q.blue());
}

QString escape(const QString &t)
{
    QString out;
    out.reserve(t.size());
    for (QChar c : t) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

// Every blank after the line's first blank becomes "&nbsp;".
QString nbspAfterFirst(const QString &escaped)
{
    QString out;
    bool seen = false;
    for (QChar c : escaped) {
        if (c == u' ') {
            if (seen) {
                out += QLatin1String("&nbsp;");
                continue;
            }
            seen = true;
        }
        out += c;
    }
    return out;
}

QString position(int top, int left, int width, int height)
{
    return QString::asprintf("<DIV STYLE=\"position: absolute; top: %dpx; left: %dpx; width: %dpx; height: %dpx;", top,
                             left, width, height);
}

QString borders(const TSiReportElement &e)
{
    QString s;
    if (e.frameTop())
        s += QLatin1String(" border-top: 1px solid #000000;");
    if (e.frameRight())
        s += QLatin1String(" border-right: 1px solid #000000;");
    if (e.frameBottom())
        s += QLatin1String(" border-bottom: 1px solid #000000;");
    if (e.frameLeft())
        s += QLatin1String(" border-Left: 1px solid #000000;");
    return s;
}

QString penStyleName(int style)
{
    switch (style) {
    case 1:
    case 3: return QStringLiteral("dashed");
    case 2:
    case 4: return QStringLiteral("dotted");
    default: return QStringLiteral("solid");
    }
}

QString fontFamily(const TSiReportElement &e) { return elementFont(e).family(); }

QString alignTag(const TSiReportElement &e)
{
    switch (e.alignment()) {
    case alRight: return QStringLiteral("<p align=\"right\">");
    case alCenter: return QStringLiteral("<p align=\"center\">");
    default: return {};
    }
}

QString openTags(const TSiReportElement &e)
{
    QString s;
    if (e.bold())
        s += QLatin1String("<b>");
    if (e.underline())
        s += QLatin1String("<u>");
    if (e.italic())
        s += QLatin1String("<i>");
    if (e.strikeOut())
        s += QLatin1String("<strike>");
    return s;
}

QString closeTags(const TSiReportElement &e)
{
    QString s;
    if (e.strikeOut())
        s += QLatin1String("</strike>");
    if (e.italic())
        s += QLatin1String("</i>");
    if (e.underline())
        s += QLatin1String("</u>");
    if (e.bold())
        s += QLatin1String("</b>");
    return s;
}

// A formatted line: a span per run in its font, size and colour, with its
// style tags; tabs between the runs are kept. With `nbsp` every blank after
// the line's first one becomes "&nbsp;".
QString runsHtml(const OutputElement &o, const TextLine &l, bool nbsp)
{
    QString s;
    bool seenBlank = false;
    auto text = [&](const QString &t) {
        const QString escaped = escape(t);
        if (!nbsp)
            return escaped;
        QString out;
        for (QChar c : escaped) {
            if (c == u' ') {
                if (seenBlank) {
                    out += QLatin1String("&nbsp;");
                    continue;
                }
                seenBlank = true;
            }
            out += c;
        }
        return out;
    };
    int pos = 0;
    for (const TextRun &r : l.runs) {
        s += text(l.text.mid(pos, r.start - pos));
        const TSiReportElement re = runElement(o.el, r.format);
        s += QStringLiteral("<span style=\"font: %1pt %2; color: %3\">").arg(re.pointSize()).arg(fontFamily(re), colourText(re.fontColour));
        s += openTags(re) + text(r.text(l.text)) + closeTags(re) + QLatin1String("</span>");
        pos = r.start + r.length;
    }
    return s + text(l.text.mid(pos));
}

QString textDiv(const OutputElement &o, int top, int height, const QString &text, bool withBorders,
                bool elementStyle = true)
{
    const TSiReportElement &e = o.el;
    QString s = position(top, o.box.left(), o.box.width(), height);
    if (e.charSpacing > 0)
        s += QString::asprintf(" letter-spacing: %dpx;", e.charSpacing - e.pointSize() * 11 / 16);
    if (withBorders)
        s += borders(e);
    s += QStringLiteral(" font: %1pt %2; color: %3%4>%5").arg(e.pointSize()).arg(fontFamily(e), colourText(e.fontColour),
                                                               QLatin1String(kDq), alignTag(e));
    if (elementStyle)
        s += openTags(e) + text + closeTags(e);
    else
        s += text;
    s += QLatin1String("</DIV>\n");
    return s;
}

QString elementHtml(const OutputElement &o, const QString &picturePath, const QString &pictureRef)
{
    const TSiReportElement &e = o.el;
    const QRect &b = o.box;
    if (!o.picture.isNull()) {
        o.picture.scaled(std::max(1, b.width()), std::max(1, b.height()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .save(picturePath, "BMP");
        return QString::asprintf("<DIV STYLE=\"font: 0pt; position: absolute; top: %dpx; left: %dpx; width: %dpx; height: %dpx;",
                                 b.top(), b.left(), b.width(), b.height())
            + (isTextLikeKind(e.kind) ? borders(e) : QString()) + QLatin1String(kDq) + QLatin1String("><IMG SRC=\"")
            + escape(pictureRef) + QLatin1String("\" ALT=\"\"></DIV>\n");
    }
    if (isTextLikeKind(e.kind) || e.kind == ekBarcode) {
        if (e.kind == ekBarcode || o.lines.size() <= 1) {
            if (e.kind != ekBarcode && !o.lines.empty() && !o.lines[0].runs.empty())
                return textDiv(o, b.top(), b.height(), runsHtml(o, o.lines[0], false), true, false);
            const QString text = e.kind == ekBarcode ? e.value.text : (o.lines.empty() ? QString() : o.lines[0].text);
            return textDiv(o, b.top(), b.height(), escape(text), true);
        }
        QString s;
        double y = b.top();
        for (const TextLine &l : o.lines) {
            if (l.runs.empty())
                s += textDiv(o, int(y + 0.5), int(l.height + 0.5), nbspAfterFirst(escape(l.text)), false);
            else
                s += textDiv(o, int(y + 0.5), int(l.height + 0.5), runsHtml(o, l, true), false, false);
            y += l.height;
        }
        if (e.frame & 15)
            s += position(b.top(), b.left(), b.width(), b.height()) + borders(e) + QLatin1String(" font: 0pt\"></DIV>\n");
        return s;
    }
    if (e.kind == ekLine) {
        QString s = QString::asprintf("<DIV STYLE=\"font: 0pt; position: absolute; top: %dpx; left: %dpx; width: %dpx; height: %dpx;",
                                      b.top(), b.left(), b.width(), b.height());
        const QString pen = QStringLiteral(": %1px %2 %3;").arg(std::max(1, e.penWidth)).arg(penStyleName(e.effectivePenStyle()), colourText(e.penColour));
        if (e.edgeTop())
            s += QLatin1String(" border-top") + pen;
        if (e.edgeRight())
            s += QLatin1String(" border-right") + pen;
        if (e.edgeBottom())
            s += QLatin1String(" border-bottom") + pen;
        if (e.edgeLeft())
            s += QLatin1String(" border-Left") + pen;
        return s + QLatin1String("\"></DIV>\n");
    }
    if (e.kind == ekFrame || e.kind == ekRoundFrame || e.kind == ekEllipse) {
        const QString bg = e.brushStyle == 1 ? QStringLiteral("transparent") : colourText(e.brushColour);
        QString s = QStringLiteral("<DIV STYLE=\"font: 0pt; background-color: %1;").arg(bg);
        s += QString::asprintf(" position: absolute; top: %dpx; left: %dpx; width: %dpx; height: %dpx;", b.top(), b.left(),
                               b.width(), b.height());
        if (e.kind == ekRoundFrame)
            s += QLatin1String(" border-radius: 20%;");
        else if (e.kind == ekEllipse)
            s += QLatin1String(" border-radius: 50%;");
        if (e.penWidth > 0) {
            const QString pen = QStringLiteral(": %1px %2 %3;").arg(e.penWidth).arg(penStyleName(e.penStyle), colourText(e.penColour));
            s += QLatin1String(" border-top") + pen + QLatin1String(" border-right") + pen + QLatin1String(" border-bottom")
                + pen + QLatin1String(" border-Left") + pen;
        }
        return s + QLatin1String("\"></DIV>\n");
    }
    return {};
}

} // namespace

QString htmlPage(const PageStore &store, int pageIndex, const QString &htmlPath, int pageNumber)
{
    QString s = QStringLiteral("<HTML> <HEAD> <TITLE> </TITLE>\n"
                               "<META NAME=\"Creator\" CONTENT=\"VamelReportGenerator\">\n"
                               "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\n"
                               "<STYLE>p { margin: 0; }</STYLE>\n"
                               "</HEAD> <BODY BGCOLOR = \"#FFFFFF\"><PRE>\n");
    const QFileInfo fi(htmlPath);
    for (const OutputElement &o : store.pages[size_t(pageIndex)].elements) {
        // pictures named by page and element, so that no two collide
        const QString ref = QStringLiteral("%1_%2_%3.bmp").arg(fi.completeBaseName()).arg(pageNumber).arg(o.number);
        s += elementHtml(o, fi.dir().filePath(ref), ref);
    }
    s += QLatin1String("</PRE></BODY> </HTML>\n");
    return s;
}

namespace {

class HtmlExporter : public Exporter {
public:
    QString format() const override { return QStringLiteral("html"); }
    bool write(const PageStore &store, const QString &path, const ExportOptions &o, QString *error) override
    {
        files.clear();
        const PageRange r = store.clamp(o.range);
        const bool one = o.singlePage || o.continuous;
        for (int p = r.first; p <= (one ? std::min(r.first, r.last) : r.last); ++p) {
            const QString file = one ? path : numberedFileName(path, p);
            if (!writeFileAtomically(file, htmlPage(store, p - 1, file, p).toUtf8(), error))
                return false;
            files << file;
        }
        return true;
    }
};

} // namespace

std::unique_ptr<Exporter> makeHtmlExporter() { return std::make_unique<HtmlExporter>(); }

} // namespace tz::rep
