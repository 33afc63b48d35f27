#include "definitionfile.h"

#include "codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>

#include <climits>

namespace tz::rep {

namespace {

constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

QString damagedMessage(const QString &source, int line, const QString &reason)
{
    return QStringLiteral("Předloha tiskové sestavy \"%1\" je poškozená: řádek %2: %3.").arg(source).arg(line).arg(reason);
}

// Integer field with the file's default rules: empty, missing or not a number
// gives the default.
int intField(const QStringList &f, int idx, int def)
{
    if (idx >= f.size())
        return def;
    const QString s = f[idx].trimmed();
    if (s.isEmpty())
        return def;
    bool ok = false;
    qlonglong v = 0;
    if (s.startsWith(u'$'))
        v = s.mid(1).toLongLong(&ok, 16);
    else
        v = s.toLongLong(&ok, 10);
    if (!ok || v < INT_MIN || v > INT_MAX)
        return def;
    return int(v);
}

QString strField(const QStringList &f, int idx, const QString &def = QString())
{
    return idx < f.size() ? f[idx] : def;
}

qint32 colourIn(int v)
{
    return (v >= 0 && v < 16) ? basicColour(v) : v;
}

int colourOut(qint32 c)
{
    const int i = basicColourIndex(c);
    return i >= 0 ? i : c;
}

bool startsWithDigit(const QString &s)
{
    return !s.isEmpty() && s[0].unicode() >= '0' && s[0].unicode() <= '9';
}

// Section index of an element tag, -1 for a tag that is not an element tag.
int sectionOfTag(const QString &tag, int groupCount, bool isDetail)
{
    if (tag.size() == 1) {
        switch (tag[0].unicode()) {
        case 'Z': return 0;
        case 'H': return isDetail ? -1 : 1;
        case 'T': return 2;
        case 'K': return 3;
        case 'P': return isDetail ? -1 : 4;
        default: return -1;
        }
    }
    if (tag.size() >= 2 && (tag[0] == u'S' || tag[0] == u'U')) {
        bool ok = false;
        const int k = tag.mid(1).toInt(&ok);
        if (!ok || !startsWithDigit(tag.mid(1)) || k < 0 || k >= groupCount)
            return -1;
        return (tag[0] == u'S' ? 5 : 6) + 2 * k;
    }
    return -1;
}

// Number of fields a complete record has (to spot a record cut short at the
// end of a file); 0 when the record is not known.
int requiredFields(const SplitLine &sl, bool isDetail, int version0)
{
    const QStringList &f = sl.fields;
    const QString tag = f.value(0);
    if (tag == QLatin1String("I")) {
        switch (intField(f, 1, -1)) {
        case 0: return 3;
        case 1: return 5;
        case 2: return version0 > 0 ? 11 : 9;
        case 3: return 6;
        case 4: return 9;
        case 5: return 3;
        case 6: return 9;
        case 7: return 10;
        default: return 0;
        }
    }
    if (tag == QLatin1String("F"))
        return 11;
    if (tag.size() >= 1 && QStringLiteral("ZHTKPSU").contains(tag[0])) {
        const int kind = intField(f, 1, 0);
        if (kind == ekDetail)
            return 7;
        if (isTextLikeKind(kind) || isGraphicKind(kind))
            return 21;
    }
    Q_UNUSED(isDetail);
    return 0;
}

QString lineProblem(const QString &line)
{
    for (QChar c : line) {
        const char16_t u = c.unicode();
        if (u == 0xFFFD)
            return QStringLiteral("obsahuje znak, který nepatří do kódové stránky Windows-1250");
        if (u < 0x20 && u != '\t')
            return QStringLiteral("obsahuje nepovolený řídicí znak (kód %1)").arg(int(u));
    }
    return QString();
}

struct NumberedLine {
    int number;   // 1-based line of the file
    QString text;
};

struct Parsed {
    ReportDefinition def;
    QMap<int, QList<NumberedLine>> detailLines;
};

// Parses one definition (a master or a detail's own lines).
bool parseDefinition(const QList<NumberedLine> &lines, bool isDetail, const QStringList *fieldNames, Parsed &out,
                     LoadStatus &st, const QString &source, int openLine)
{
    ReportDefinition &d = out.def;
    d.clear();
    if (isDetail)
        d.pageSetup = PageSetup();
    else
        d.pageSetup = processPageSetup();

    struct Rec {
        int number;
        const QString *text;
        SplitLine sl;
    };
    std::vector<Rec> recs;
    recs.reserve(lines.size());
    for (const NumberedLine &nl : lines) {
        if (nl.text.size() < 2)
            continue;
        if (const QString p = lineProblem(nl.text); !p.isEmpty()) {
            st = {seCteniPredlohy, damagedMessage(source, nl.number, p), nl.number};
            return false;
        }
        SplitLine sl = splitFields(nl.text);
        if (sl.unterminatedQuote) {
            st = {seCteniPredlohy, damagedMessage(source, nl.number, QStringLiteral("text v uvozovkách není ukončen")),
                  nl.number};
            return false;
        }
        recs.push_back({nl.number, &nl.text, std::move(sl)});
    }

    // Pass 1: header records in file order.
    for (const Rec &r : recs) {
        const QStringList &f = r.sl.fields;
        if (f[0] != QLatin1String("I"))
            continue;
        if (r.number == openLine) {
            const int need = requiredFields(r.sl, isDetail, d.version[0]);
            if (f.size() < need) {
                st = {seCteniPredlohy,
                      damagedMessage(source, r.number, QStringLiteral("záznam je neúplný, soubor je zřejmě zkrácený")),
                      r.number};
                return false;
            }
        }
        switch (intField(f, 1, -1)) {
        case 0: d.description = strField(f, 2); break;
        case 1:
            d.version[0] = intField(f, 2, 7);
            d.version[1] = intField(f, 3, 0);
            d.version[2] = intField(f, 4, 8);
            break;
        case 2: {
            int i = 2;
            const bool withSize = d.version[0] > 0;
            if (isDetail) {
                i += withSize ? 7 : 5;
            } else {
                PageSetup &p = d.pageSetup;
                int o = intField(f, i++, 0);
                if (o < 0)
                    o = 0;
                p.orientation = o & 1;
                p.orientationChangeable = (o & 2) != 0;
                if (withSize) {
                    p.paperWidth = intField(f, i++, p.paperWidth);
                    p.paperHeight = intField(f, i++, p.paperHeight);
                }
                p.marginLeft = intField(f, i++, p.marginLeft);
                p.marginRight = intField(f, i++, p.marginRight);
                p.marginTop = intField(f, i++, p.marginTop);
                p.marginBottom = intField(f, i++, p.marginBottom);
                d.hasPageSetup = true;
            }
            d.columns = std::max(1, intField(f, i++, 1));
            d.columnGap = intField(f, i++, 0);
            break;
        }
        case 3: {
            const int s = intField(f, 2, -1);
            if (s >= 0 && s < 5) {
                d.sections[s].visible = intField(f, 3, 0) != 0;
                d.sections[s].height = intField(f, 4, 0);
                d.sections[s].options = intField(f, 5, 0);
            }
            break;
        }
        case 4: {
            TPolSkup &g = d.addGroup(strField(f, 3));
            g.newPage = intField(f, 8, 0) != 0;
            TOddilSestavy &start = d.sections[g.startSection()];
            TOddilSestavy &end = d.sections[g.endSection()];
            start.visible = intField(f, 4, 0) != 0;
            start.height = intField(f, 5, 0);
            end.visible = intField(f, 6, 0) != 0;
            end.height = intField(f, 7, 0);
            break;
        }
        case 5: d.units = intField(f, 2, 0); break;
        case 6: {
            CharGrid &g = d.grid;
            g.rasterType = intField(f, 2, 0);
            g.rasterX = intField(f, 3, 8);
            if (g.rasterX < 1)
                g.rasterX = 8;
            g.rasterY = intField(f, 4, 8);
            if (g.rasterY < 1)
                g.rasterY = 8;
            g.lineSpacing = intField(f, 5, 0);
            g.pitch = intField(f, 6, 1);
            g.showRaster = intField(f, 7, 0) != 0;
            g.snapToRaster = intField(f, 8, 0) != 0;
            break;
        }
        case 7: {
            Background &b = d.background;
            b.own = intField(f, 2, 0) != 0;
            b.print = intField(f, 3, 0) != 0;
            b.limited = intField(f, 4, 0) != 0;
            b.left = intField(f, 5, 0);
            b.top = intField(f, 6, 0);
            b.width = intField(f, 7, 0);
            b.height = intField(f, 8, 0);
            // The file name is the rest of the line, commas included.
            b.fileName = r.sl.starts.size() > 9 ? r.text->mid(r.sl.starts[9]) : QString();
            break;
        }
        default: break;
        }
    }

    // Pass 2: user functions.
    for (const Rec &r : recs) {
        const QStringList &f = r.sl.fields;
        if (f[0] != QLatin1String("F"))
            continue;
        if (r.number == openLine && f.size() < requiredFields(r.sl, isDetail, d.version[0])) {
            st = {seCteniPredlohy,
                  damagedMessage(source, r.number, QStringLiteral("záznam je neúplný, soubor je zřejmě zkrácený")),
                  r.number};
            return false;
        }
        TRadekFunkce fn;
        fn.name = strField(f, 2);
        if (fn.name.isEmpty())
            fn.name = QStringLiteral("Funkce%1").arg(d.functions.size() + 1);
        fn.description = strField(f, 3);
        if (fn.description.isEmpty())
            fn.description = fn.name;
        fn.type = intField(f, 4, 0);
        fn.initialValue = strField(f, 5, QStringLiteral("0"));
        fn.reset = intField(f, 6, 0);
        fn.expression = strField(f, 7);
        fn.processing = intField(f, 8, 0);
        fn.width = intField(f, 9, 15);
        fn.decimals = intField(f, 10, 2);
        fn.format = intField(f, 11, 2);
        if (fn.format < 0 || fn.format > 4)
            fn.format = 2;
        d.functions.push_back(std::move(fn));
    }

    const bool oldSystemNumbers = d.version[0] <= 1 && d.version[2] < 3;
    auto functionIndex = [&d](const QString &name) {
        for (int i = 0; i < int(d.functions.size()); ++i)
            if (d.functions[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    auto fieldIndex = [fieldNames](const QString &name) {
        if (!fieldNames)
            return -1;
        for (int i = 0; i < fieldNames->size(); ++i)
            if ((*fieldNames)[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };

    // Pass 3: elements, and the lines of the details.
    for (const Rec &r : recs) {
        const QStringList &f = r.sl.fields;
        const QString &tag = f[0];
        if (tag.size() >= 2 && tag[0] == u'D') {
            if (isDetail)
                continue;   // a detail has no details of its own
            bool ok = false;
            const int n = tag.mid(1).toInt(&ok);
            if (ok && startsWithDigit(tag.mid(1)) && n >= 0 && n < 1000 && r.sl.starts.size() > 1) {
                // The rest of the line after the first comma is the detail's own line.
                out.detailLines[n].append({r.number, r.text->mid(r.sl.starts[1])});
            }
            continue;
        }
        const int si = sectionOfTag(tag, int(d.groups.size()), isDetail);
        if (si < 0)
            continue;
        const int kind = intField(f, 1, 0);
        if (!isKnownElementKind(kind))
            continue;
        if (r.number == openLine && f.size() < requiredFields(r.sl, isDetail, d.version[0])) {
            st = {seCteniPredlohy,
                  damagedMessage(source, r.number, QStringLiteral("záznam je neúplný, soubor je zřejmě zkrácený")),
                  r.number};
            return false;
        }
        TSiReportElement e;
        e.kind = kind;
        e.left = intField(f, 3, 0);
        e.top = intField(f, 4, 0);
        e.width = intField(f, 5, 0);
        e.height = intField(f, 6, 0);
        const QString ref = strField(f, 2).trimmed();
        if (kind == ekDetail) {
            e.reference = intField(f, 2, 0);
        } else if (isTextLikeKind(kind)) {
            if (startsWithDigit(ref) || ref.isEmpty() || (ref.startsWith(u'-') && startsWithDigit(ref.mid(1)))) {
                e.reference = intField(f, 2, 0);
                if ((kind == ekField || kind == ekFieldLabel) && fieldNames
                    && (e.reference < 0 || e.reference >= fieldNames->size()))
                    e.reference = 0;
                if (kind == ekSystemValue && oldSystemNumbers && e.reference > 3)
                    ++e.reference;
            } else if (kind == ekField || kind == ekFieldLabel) {
                e.referenceName = ref;
                e.reference = std::max(0, fieldIndex(ref));
            } else if (kind == ekFunction) {
                e.referenceName = ref;
                e.reference = std::max(0, functionIndex(ref));
            } else {
                e.reference = 0;
            }
            e.fontName = strField(f, 7);
            e.fontSize = intField(f, 8, 0);
            e.fontColour = colourIn(intField(f, 9, 0));
            e.fontStyle = intField(f, 10, 0);
            e.layout = intField(f, 11, 0);
            e.frame = intField(f, 12, 0);
            e.charset = intField(f, 13, 0);
            e.text = strField(f, 14);
            e.charSpacing = intField(f, 15, 0);
            e.angle = intField(f, 16, 0);
            e.reserved = intField(f, 17, 0);
        } else {
            e.reference = intField(f, 2, 0);
            e.penWidth = intField(f, 8, 1);
            e.penColour = colourIn(intField(f, 9, 0));
            e.penStyle = intField(f, 10, 0);
            e.flags = intField(f, 11, 0);
            e.brushColour = colourIn(intField(f, 12, 15));
            e.brushStyle = intField(f, 13, 0);
            e.name = strField(f, 14);
            if (kind == ekBarcode) {
                e.barcodeExtra1 = intField(f, 15, 0);
                e.barcodeAngle = intField(f, 16, 0);
                e.barcodeExtra3 = intField(f, 17, 0);
            }
        }
        if (kind != ekDetail) {
            e.condition = strField(f, 18);
            e.handler = intField(f, 19, 0) != 0;
            e.ident = strField(f, 20);
        }
        d.sections[si].elements.push_back(std::move(e));
    }
    return true;
}

QString noLineBreaks(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

QString quoted(const QString &s)
{
    QString t = noLineBreaks(s);
    t.replace(u'"', QLatin1String("\"\""));
    return u'"' + t + u'"';
}

// An unquoted field; quoted only when it could not be read back otherwise.
QString plain(const QString &s)
{
    const QString t = noLineBreaks(s);
    if (t.contains(u',') || t.startsWith(u'"'))
        return quoted(t);
    return t;
}

// The file-name part of every candidate of a picture name list.
QString pictureNamesForFile(const QString &list)
{
    if (!list.contains(u'\\') && !list.contains(u'/'))
        return list;
    QStringList items;
    QString cur;
    bool inQuote = false;
    for (QChar c : list) {
        if (c == u'\'')
            inQuote = !inQuote;
        if (c == u',' && !inQuote) {
            items << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    items << cur;
    for (QString &it : items) {
        const QString t = it.trimmed();
        if (t.isEmpty() || QStringLiteral("#&@%").contains(t[0]))
            continue;
        const int cut = std::max(it.lastIndexOf(u'\\'), it.lastIndexOf(u'/'));
        if (cut < 0)
            continue;
        if (t.startsWith(u'\''))
            it = u'\'' + it.mid(cut + 1);
        else
            it = it.mid(cut + 1);
    }
    return items.join(u',');
}

QString num(int v) { return QString::number(v); }

void writeOne(const TSestavaTyp &report, bool isDetail, TPredloha &out)
{
    const ReportDefinition &d = report.def;
    const QString c = QStringLiteral(",");
    out << QStringLiteral("I,0,") + quoted(d.description);
    out << QStringLiteral("I,1,7,51,8");
    if (isDetail) {
        out << QStringLiteral("I,2,,,,,,,,") + num(d.columns) + c + num(d.columnGap);
    } else {
        const PageSetup &p = d.hasPageSetup ? d.pageSetup : processPageSetup();
        out << QStringList{QStringLiteral("I"), QStringLiteral("2"),
                           num(p.orientation + (p.orientationChangeable ? 2 : 0)), num(p.paperWidth),
                           num(p.paperHeight), num(p.marginLeft), num(p.marginRight), num(p.marginTop),
                           num(p.marginBottom), num(d.columns), num(d.columnGap)}
                   .join(c);
    }
    for (int s = 0; s < 5; ++s) {
        if (isDetail && (s == skPageHeader || s == skPageFooter))
            continue;
        const TOddilSestavy &sec = d.sections[s];
        out << QStringLiteral("I,3,%1,%2,%3,%4").arg(s).arg(sec.visible ? 1 : 0).arg(sec.height).arg(sec.options);
    }
    for (const TPolSkup &g : d.groups) {
        const TOddilSestavy &a = d.sections[g.startSection()];
        const TOddilSestavy &b = d.sections[g.endSection()];
        out << QStringLiteral("I,4,%1,").arg(g.number) + quoted(g.expression)
                + QStringLiteral(",%1,%2,%3,%4,%5")
                      .arg(a.visible ? 1 : 0)
                      .arg(a.height)
                      .arg(b.visible ? 1 : 0)
                      .arg(b.height)
                      .arg(g.newPage ? 1 : 0);
    }
    out << QStringLiteral("I,5,") + num(d.units);
    const CharGrid &g = d.grid;
    out << QStringLiteral("I,6,%1,%2,%3,%4,%5,%6,%7")
               .arg(g.rasterType)
               .arg(g.rasterX)
               .arg(g.rasterY)
               .arg(g.lineSpacing)
               .arg(g.pitch)
               .arg(g.showRaster ? 1 : 0)
               .arg(g.snapToRaster ? 1 : 0);
    const Background &b = d.background;
    out << QStringLiteral("I,7,%1,%2,%3,%4,%5,%6,%7,")
                   .arg(b.own ? 1 : 0)
                   .arg(b.print ? 1 : 0)
                   .arg(b.limited ? 1 : 0)
                   .arg(b.left)
                   .arg(b.top)
                   .arg(b.width)
                   .arg(b.height)
            + noLineBreaks(b.fileName);
    for (size_t i = 0; i < d.functions.size(); ++i) {
        const TRadekFunkce &fn = d.functions[i];
        out << QStringList{QStringLiteral("F"), num(int(i)), plain(fn.name), quoted(fn.description), num(fn.type),
                           quoted(fn.initialValue), num(fn.reset), quoted(fn.expression), num(fn.processing),
                           num(fn.width), num(fn.decimals), num(fn.format)}
                   .join(c);
    }
    for (const TOddilSestavy &sec : d.sections) {
        if (isDetail && (sec.kind == skPageHeader || sec.kind == skPageFooter))
            continue;
        const QString tag = sec.tag();
        for (const TSiReportElement &e : sec.elements) {
            QStringList f{tag, num(e.kind)};
            if (e.kind == ekDetail) {
                f << num(e.reference) << num(e.left) << num(e.top) << num(e.width) << num(e.height);
                out << f.join(c);
                continue;
            }
            if (isTextLikeKind(e.kind)) {
                const bool byName = e.trackedByName() && (e.kind == ekField || e.kind == ekFieldLabel || e.kind == ekFunction);
                f << (byName ? plain(e.referenceName) : num(e.reference));
                f << num(e.left) << num(e.top) << num(e.width) << num(e.height);
                f << plain(e.fontName) << num(e.fontSize) << num(colourOut(e.fontColour)) << num(e.fontStyle)
                  << num(e.layout) << num(e.frame) << num(e.charset) << quoted(e.text) << num(e.charSpacing)
                  << num(e.angle) << num(e.reserved);
            } else {
                const bool shape = e.kind == ekFrame || e.kind == ekRoundFrame || e.kind == ekEllipse;
                f << num(shape ? e.kind : e.reference);
                f << num(e.left) << num(e.top) << num(e.width) << num(e.height);
                f << QString() << num(e.penWidth) << num(colourOut(e.penColour)) << num(e.penStyle) << num(e.flags)
                  << num(colourOut(e.brushColour)) << num(e.brushStyle)
                  << quoted(e.kind == ekPicture ? pictureNamesForFile(e.name) : e.name);
                if (e.kind == ekBarcode)
                    f << num(e.barcodeExtra1) << num(e.barcodeAngle) << num(e.barcodeExtra3);
                else
                    f << QString() << QString() << QString();
            }
            f << quoted(e.condition) << num(e.handler ? 1 : 0) << quoted(e.ident);
            out << f.join(c);
        }
    }
}

} // namespace

SplitLine splitFields(const QString &line)
{
    SplitLine r;
    const int n = line.size();
    int i = 0;
    while (true) {
        r.starts << i;
        QString f;
        if (i < n && line[i] == u'"') {
            ++i;
            bool closed = false;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        f += u'"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                f += line[i++];
            }
            if (!closed)
                r.unterminatedQuote = true;
        }
        while (i < n && line[i] != u',')
            f += line[i++];
        r.fields << f;
        if (i < n && line[i] == u',') {
            ++i;
            continue;
        }
        break;
    }
    return r;
}

TPredloha decodeDefinition(const QByteArray &bytes, bool *lastLineOpen)
{
    const QString text = tz::decode(bytes, CodePage::Cp1250);
    TPredloha lines;
    int start = 0;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << text.mid(start, i - start);
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    const bool open = start < n;
    if (open)
        lines << text.mid(start);
    if (lastLineOpen)
        *lastLineOpen = open;
    return lines;
}

QByteArray encodeDefinition(const TPredloha &lines)
{
    QByteArray out;
    for (const QString &l : lines) {
        out += tz::encode(l, CodePage::Cp1250);
        out += "\r\n";
    }
    return out;
}

LoadStatus takeOverDefinition(TSestavaTyp &report, const TPredloha &lines, const QString &sourceName,
                              const ReadOptions &options, bool lastLineOpen)
{
    QList<NumberedLine> numbered;
    numbered.reserve(lines.size());
    for (int i = 0; i < lines.size(); ++i)
        numbered.append({i + 1, lines[i]});
    const int openLine = lastLineOpen ? int(lines.size()) : -1;

    LoadStatus st;
    Parsed master;
    const bool isDetail = report.isDetail();
    if (!parseDefinition(numbered, isDetail, options.resolveFields ? &report.fieldNames : nullptr, master, st,
                         sourceName, openLine))
        return st;

    const int attached = int(report.details().size());
    int needed = attached;
    if (options.createDetails && !master.detailLines.isEmpty())
        needed = std::max(needed, master.detailLines.lastKey() + 1);
    std::vector<Parsed> details(needed);
    for (int n = 0; n < needed; ++n) {
        const QStringList *names = nullptr;
        if (options.resolveFields && n < attached)
            names = &report.details()[n]->fieldNames;
        if (!parseDefinition(master.detailLines.value(n), true, names, details[n], st, sourceName, openLine))
            return st;
    }

    // Everything parsed: take it over.
    report.def = std::move(master.def);
    if (!isDetail) {
        if (report.def.hasPageSetup)
            processPageSetup() = report.def.pageSetup;
        else
            report.def.pageSetup = processPageSetup();
    }
    if (!report.def.description.isEmpty())
        report.Popis = report.def.description;
    for (int n = 0; n < needed; ++n) {
        TSestavaTyp *d = n < attached ? report.details()[n] : report.adoptDetail();
        d->def = std::move(details[n].def);
        if (!d->def.description.isEmpty())
            d->Popis = d->def.description;
    }
    return st;
}

LoadStatus loadDefinitionBytes(TSestavaTyp &report, const QByteArray &bytes, const QString &sourceName,
                               const ReadOptions &options)
{
    bool open = false;
    const TPredloha lines = decodeDefinition(bytes, &open);
    return takeOverDefinition(report, lines, sourceName, options, open);
}

LoadStatus loadDefinitionFile(TSestavaTyp &report, const QString &path, const ReadOptions &options)
{
    const QString shown = QFileInfo(path).absoluteFilePath();
    QFile f(path);
    if (!f.exists())
        return {seCteniPredlohy, QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%1\"").arg(shown), 0};
    if (!f.open(QIODevice::ReadOnly))
        return {seCteniPredlohy,
                QStringLiteral("Soubor s předlohou tiskové sestavy \"%1\" nelze přečíst: %2").arg(shown, f.errorString()), 0};
    if (f.size() > kMaxFileSize)
        return {seCteniPredlohy,
                QStringLiteral("Soubor s předlohou tiskové sestavy \"%1\" je příliš velký.").arg(shown), 0};
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return {seCteniPredlohy,
                QStringLiteral("Soubor s předlohou tiskové sestavy \"%1\" nelze přečíst: %2").arg(shown, f.errorString()), 0};
    return loadDefinitionBytes(report, bytes, shown, options);
}

TPredloha writeDefinition(const TSestavaTyp &report)
{
    TPredloha out;
    writeOne(report, report.isDetail(), out);
    if (!report.isDetail()) {
        for (int n = 0; n < report.details().size(); ++n) {
            TPredloha sub;
            writeOne(*report.details()[n], true, sub);
            const QString prefix = QStringLiteral("D%1,").arg(n);
            for (const QString &l : sub)
                out << prefix + l;
        }
    }
    return out;
}

LoadStatus saveDefinitionFile(const TSestavaTyp &report, const QString &path)
{
    const QString failed = QStringLiteral("Soubor s předlohou se nepodařilo uložit.");
    const QFileInfo fi(path);
    if (fi.exists()) {
        const QString bak = fi.path() + u'/' + fi.completeBaseName() + QStringLiteral(".BAK");
        QFile::remove(bak);
        if (!QFile::copy(path, bak))
            return {seUkladaniPredlohy, failed + QStringLiteral(" (Záložní kopii \"%1\" nelze vytvořit.)").arg(bak), 0};
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return {seUkladaniPredlohy, failed + u' ' + out.errorString(), 0};
    out.write(encodeDefinition(writeDefinition(report)));
    if (!out.commit())
        return {seUkladaniPredlohy, failed + u' ' + out.errorString(), 0};
    return {};
}

} // namespace tz::rep
