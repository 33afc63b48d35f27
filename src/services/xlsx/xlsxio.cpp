#include "xlsxio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <pugixml.hpp>
#include <zip.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <list>
#include <memory>
#include <set>

namespace tz::xlsx {

namespace {

constexpr const char *kNsMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char *kNsRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char *kNsPkgRel = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char *kRelSheet = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr const char *kRelStyles = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
constexpr const char *kRelStrings = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
constexpr const char *kRelTheme = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/theme";
constexpr const char *kRelDrawing = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";
constexpr const char *kRelImage = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
constexpr const char *kRelDoc = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr const char *kRelCore = "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
constexpr const char *kRelApp = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties";

// ---------------------------------------------------------------- helpers

QString qs(const char *s) { return QString::fromUtf8(s); }
std::string ss(const QString &s) { return s.toStdString(); }

const char *localName(const pugi::xml_node &n)
{
    const char *name = n.name();
    const char *colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

pugi::xml_node child(const pugi::xml_node &n, const char *local)
{
    for (auto c : n.children())
        if (c.type() == pugi::node_element && std::strcmp(localName(c), local) == 0)
            return c;
    return {};
}

template <typename F>
void forChildren(const pugi::xml_node &n, const char *local, F f)
{
    for (auto c : n.children())
        if (c.type() == pugi::node_element && std::strcmp(localName(c), local) == 0)
            f(c);
}

pugi::xml_attribute attr(const pugi::xml_node &n, const char *local)
{
    for (auto a : n.attributes()) {
        const char *name = a.name();
        const char *colon = std::strchr(name, ':');
        if (std::strcmp(colon ? colon + 1 : name, local) == 0)
            return a;
    }
    return {};
}

bool boolAttr(const pugi::xml_node &n, const char *name, bool def)
{
    auto a = attr(n, name);
    if (!a)
        return def;
    const std::string v = a.value();
    return v == "1" || v == "true" || v == "on";
}

// Text of a text element, honouring the "_xHHHH_" escapes.
QString elementText(const pugi::xml_node &n)
{
    return unescapeXmlText(qs(n.text().get()));
}

QString xmlLoadMessage(const QString &part, const pugi::xml_parse_result &r)
{
    return QStringLiteral("Část sešitu %1 není platný XML dokument (%2).").arg(part, qs(r.description()));
}

// ---------------------------------------------------------------- zip reading

class ZipReader
{
public:
    explicit ZipReader(const QString &path)
    {
        int err = 0;
        m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
        if (!m_zip) {
            zip_error_t ze;
            zip_error_init_with_code(&ze, err);
            const QString why = qs(zip_error_strerror(&ze));
            zip_error_fini(&ze);
            throw XlsxError(QStringLiteral("Soubor %1 nelze otevřít jako sešit xlsx (%2).")
                                .arg(path, why));
        }
    }
    ~ZipReader() { if (m_zip) zip_discard(m_zip); }
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    bool has(const QString &name) const
    {
        return zip_name_locate(m_zip, ss(name).c_str(), ZIP_FL_NOCASE) >= 0;
    }

    QByteArray read(const QString &name) const
    {
        const zip_int64_t idx = zip_name_locate(m_zip, ss(name).c_str(), ZIP_FL_NOCASE);
        if (idx < 0)
            return {};
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(m_zip, zip_uint64_t(idx), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            throw XlsxError(QStringLiteral("Část sešitu %1 nelze přečíst.").arg(name));
        if (st.size > 512ull * 1024 * 1024)
            throw XlsxError(QStringLiteral("Část sešitu %1 je příliš velká.").arg(name));
        zip_file_t *f = zip_fopen_index(m_zip, zip_uint64_t(idx), 0);
        if (!f)
            throw XlsxError(QStringLiteral("Část sešitu %1 nelze přečíst (%2).").arg(name, qs(zip_strerror(m_zip))));
        QByteArray data;
        data.resize(qsizetype(st.size));
        const zip_int64_t got = zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        if (got < 0 || zip_uint64_t(got) != st.size)
            throw XlsxError(QStringLiteral("Část sešitu %1 je poškozená.").arg(name));
        return data;
    }

private:
    zip_t *m_zip = nullptr;
};

// Resolves a relationship target against the folder of the part that holds it.
QString resolveTarget(const QString &basePart, const QString &target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    QString dir = basePart.contains(u'/') ? basePart.left(basePart.lastIndexOf(u'/')) : QString();
    QStringList parts = dir.isEmpty() ? QStringList() : dir.split(u'/');
    for (const QString &p : target.split(u'/')) {
        if (p == QLatin1String(".."))
        {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (p != QLatin1String(".") && !p.isEmpty()) {
            parts << p;
        }
    }
    return parts.join(u'/');
}

QString relsPartOf(const QString &part)
{
    const int slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

struct Rel
{
    QString id, type, target;
};

std::vector<Rel> readRels(const ZipReader &zip, const QString &part)
{
    std::vector<Rel> rels;
    const QString relsPart = relsPartOf(part);
    const QByteArray data = zip.read(relsPart);
    if (data.isEmpty())
        return rels;
    pugi::xml_document doc;
    auto r = doc.load_buffer(data.constData(), size_t(data.size()));
    if (!r)
        throw XlsxError(xmlLoadMessage(relsPart, r));
    forChildren(doc.document_element(), "Relationship", [&](pugi::xml_node n) {
        if (qs(n.attribute("TargetMode").value()) == QLatin1String("External"))
            return;
        rels.push_back({qs(n.attribute("Id").value()), qs(n.attribute("Type").value()),
                        resolveTarget(part, qs(n.attribute("Target").value()))});
    });
    return rels;
}

void loadPart(const ZipReader &zip, const QString &part, pugi::xml_document &doc)
{
    const QByteArray data = zip.read(part);
    if (data.isEmpty())
        throw XlsxError(QStringLiteral("V sešitu chybí část %1.").arg(part));
    auto r = doc.load_buffer(data.constData(), size_t(data.size()));
    if (!r)
        throw XlsxError(xmlLoadMessage(part, r));
}

// ---------------------------------------------------------------- styles

QString builtinNumFmt(int id)
{
    switch (id) {
    case 0: return QStringLiteral("General");
    case 1: return QStringLiteral("0");
    case 2: return QStringLiteral("0.00");
    case 3: return QStringLiteral("#,##0");
    case 4: return QStringLiteral("#,##0.00");
    case 9: return QStringLiteral("0%");
    case 10: return QStringLiteral("0.00%");
    case 11: return QStringLiteral("0.00E+00");
    case 12: return QStringLiteral("# ?/?");
    case 13: return QStringLiteral("# ?\?/?\?");
    case 14: return QStringLiteral("d.m.yyyy");
    case 15: return QStringLiteral("d-mmm-yy");
    case 16: return QStringLiteral("d-mmm");
    case 17: return QStringLiteral("mmm-yy");
    case 18: return QStringLiteral("h:mm AM/PM");
    case 19: return QStringLiteral("h:mm:ss AM/PM");
    case 20: return QStringLiteral("h:mm");
    case 21: return QStringLiteral("h:mm:ss");
    case 22: return QStringLiteral("d.m.yyyy h:mm");
    case 37: return QStringLiteral("#,##0 ;(#,##0)");
    case 38: return QStringLiteral("#,##0 ;[Red](#,##0)");
    case 39: return QStringLiteral("#,##0.00;(#,##0.00)");
    case 40: return QStringLiteral("#,##0.00;[Red](#,##0.00)");
    case 45: return QStringLiteral("mm:ss");
    case 46: return QStringLiteral("[h]:mm:ss");
    case 47: return QStringLiteral("mmss.0");
    case 48: return QStringLiteral("##0.0E+0");
    case 49: return QStringLiteral("@");
    default: return QStringLiteral("General");
    }
}

int builtinNumFmtId(const QString &code)
{
    static const int ids[] = {0, 1, 2, 3, 4, 9, 10, 11, 12, 13, 20, 21, 45, 46, 47, 48, 49};
    for (int id : ids)
        if (builtinNumFmt(id) == code)
            return id;
    return -1;
}

Color readColor(const pugi::xml_node &n)
{
    Color c;
    if (!n)
        return c;
    if (auto a = attr(n, "rgb"))
        c.rgb = qs(a.value()).toUpper();
    if (auto a = attr(n, "theme"))
        c.theme = a.as_int(-1);
    if (auto a = attr(n, "indexed")) {
        c.indexed = a.as_int(-1);
        if (c.indexed == 64) // system foreground: automatic
            c.indexed = -1;
    }
    if (auto a = attr(n, "tint"))
        c.tint = a.as_double();
    return c;
}

BorderStyle borderStyleFrom(const std::string &s)
{
    if (s == "thin") return BorderStyle::Thin;
    if (s == "medium" || s == "mediumDashed" || s == "mediumDashDot" || s == "mediumDashDotDot" || s == "slantDashDot")
        return BorderStyle::Medium;
    if (s == "thick") return BorderStyle::Thick;
    if (s == "dashed" || s == "dashDot" || s == "dashDotDot") return BorderStyle::Dashed;
    if (s == "dotted") return BorderStyle::Dotted;
    if (s == "double") return BorderStyle::Double;
    if (s == "hair") return BorderStyle::Hair;
    return BorderStyle::None;
}

const char *borderStyleName(BorderStyle b)
{
    switch (b) {
    case BorderStyle::Thin: return "thin";
    case BorderStyle::Medium: return "medium";
    case BorderStyle::Thick: return "thick";
    case BorderStyle::Dashed: return "dashed";
    case BorderStyle::Dotted: return "dotted";
    case BorderStyle::Double: return "double";
    case BorderStyle::Hair: return "hair";
    case BorderStyle::None: break;
    }
    return nullptr;
}

HAlign hAlignFrom(const std::string &s)
{
    if (s == "left") return HAlign::Left;
    if (s == "center") return HAlign::Center;
    if (s == "right") return HAlign::Right;
    if (s == "fill") return HAlign::Fill;
    if (s == "justify" || s == "distributed") return HAlign::Justify;
    if (s == "centerContinuous") return HAlign::CenterContinuous;
    return HAlign::General;
}

const char *hAlignName(HAlign a)
{
    switch (a) {
    case HAlign::Left: return "left";
    case HAlign::Center: return "center";
    case HAlign::Right: return "right";
    case HAlign::Fill: return "fill";
    case HAlign::Justify: return "justify";
    case HAlign::CenterContinuous: return "centerContinuous";
    case HAlign::General: break;
    }
    return nullptr;
}

VAlign vAlignFrom(const std::string &s)
{
    if (s == "top") return VAlign::Top;
    if (s == "center") return VAlign::Center;
    if (s == "bottom") return VAlign::Bottom;
    return VAlign::Default;
}

const char *vAlignName(VAlign a)
{
    switch (a) {
    case VAlign::Top: return "top";
    case VAlign::Center: return "center";
    case VAlign::Bottom: return "bottom";
    case VAlign::Default: break;
    }
    return nullptr;
}

void readStyles(const ZipReader &zip, const QString &part, Workbook &book)
{
    pugi::xml_document doc;
    loadPart(zip, part, doc);
    const auto root = doc.document_element();

    std::map<int, QString> numFmts;
    forChildren(child(root, "numFmts"), "numFmt", [&](pugi::xml_node n) {
        numFmts[attr(n, "numFmtId").as_int()] = qs(attr(n, "formatCode").value());
    });

    struct Font { QString name; double size = 10; bool b = false, i = false, u = false; Color color; };
    std::vector<Font> fonts;
    forChildren(child(root, "fonts"), "font", [&](pugi::xml_node n) {
        Font f;
        if (auto x = child(n, "name")) f.name = qs(attr(x, "val").value());
        if (auto x = child(n, "sz")) f.size = attr(x, "val").as_double(10);
        if (auto x = child(n, "b")) f.b = boolAttr(x, "val", true);
        if (auto x = child(n, "i")) f.i = boolAttr(x, "val", true);
        if (auto x = child(n, "u")) f.u = qs(attr(x, "val").value()) != QLatin1String("none");
        f.color = readColor(child(n, "color"));
        fonts.push_back(f);
    });

    std::vector<Color> fills;
    forChildren(child(root, "fills"), "fill", [&](pugi::xml_node n) {
        Color c;
        if (auto p = child(n, "patternFill")) {
            const std::string type = attr(p, "patternType").value();
            if (type == "solid") {
                c = readColor(child(p, "fgColor"));
                if (!c.isSet())
                    c = Color::fromRgb(0x000000);
            } else if (!type.empty() && type != "none") {
                c = readColor(child(p, "fgColor")); // patterns are kept as their colour
            }
        }
        fills.push_back(c);
    });

    struct Border { BorderSide l, r, t, b, d; bool up = false, down = false; };
    std::vector<Border> borders;
    forChildren(child(root, "borders"), "border", [&](pugi::xml_node n) {
        Border b;
        auto side = [&](const char *a, const char *alt) {
            auto s = child(n, a);
            if (!s && alt)
                s = child(n, alt);
            BorderSide bs;
            if (s) {
                bs.style = borderStyleFrom(attr(s, "style").value());
                bs.color = readColor(child(s, "color"));
            }
            return bs;
        };
        b.l = side("left", "start");
        b.r = side("right", "end");
        b.t = side("top", nullptr);
        b.b = side("bottom", nullptr);
        b.d = side("diagonal", nullptr);
        b.up = boolAttr(n, "diagonalUp", false);
        b.down = boolAttr(n, "diagonalDown", false);
        borders.push_back(b);
    });

    std::vector<CellStyle> styles;
    forChildren(child(root, "cellXfs"), "xf", [&](pugi::xml_node n) {
        CellStyle st;
        const int numFmtId = attr(n, "numFmtId").as_int(0);
        auto nf = numFmts.find(numFmtId);
        st.numFmt = nf != numFmts.end() ? nf->second : builtinNumFmt(numFmtId);
        const int fontId = attr(n, "fontId").as_int(0);
        if (fontId >= 0 && fontId < int(fonts.size())) {
            const Font &f = fonts[size_t(fontId)];
            if (!f.name.isEmpty()) st.fontName = f.name;
            st.fontSize = f.size;
            st.bold = f.b;
            st.italic = f.i;
            st.underline = f.u;
            st.fontColor = f.color;
        }
        const int fillId = attr(n, "fillId").as_int(0);
        if (fillId >= 0 && fillId < int(fills.size()))
            st.fill = fills[size_t(fillId)];
        const int borderId = attr(n, "borderId").as_int(0);
        if (borderId >= 0 && borderId < int(borders.size())) {
            const Border &b = borders[size_t(borderId)];
            st.left = b.l; st.right = b.r; st.top = b.t; st.bottom = b.b; st.diagonal = b.d;
            st.diagonalUp = b.up; st.diagonalDown = b.down;
        }
        if (auto a = child(n, "alignment")) {
            st.hAlign = hAlignFrom(attr(a, "horizontal").value());
            st.vAlign = vAlignFrom(attr(a, "vertical").value());
            st.wrap = boolAttr(a, "wrapText", false);
            st.indent = attr(a, "indent").as_int(0);
            st.rotation = attr(a, "textRotation").as_int(0);
            st.shrinkToFit = boolAttr(a, "shrinkToFit", false);
        }
        if (auto p = child(n, "protection")) {
            st.locked = boolAttr(p, "locked", true);
            st.hidden = boolAttr(p, "hidden", false);
        }
        styles.push_back(st);
    });
    if (styles.empty())
        styles.push_back(CellStyle{});
    book.styles = std::move(styles);
}

// ---------------------------------------------------------------- sheets

void readDrawing(const ZipReader &zip, const QString &part, Sheet &sheet)
{
    pugi::xml_document doc;
    loadPart(zip, part, doc);
    std::map<QString, QString> images;
    for (const Rel &r : readRels(zip, part))
        if (r.type == QLatin1String(kRelImage))
            images[r.id] = r.target;
    for (auto anchor : doc.document_element().children()) {
        const std::string kind = localName(anchor);
        if (kind != "oneCellAnchor" && kind != "twoCellAnchor" && kind != "absoluteAnchor")
            continue;
        auto pic = child(anchor, "pic");
        if (!pic)
            continue;
        Picture p;
        if (auto from = child(anchor, "from")) {
            p.col = child(from, "col").text().as_int() + 1;
            p.row = child(from, "row").text().as_int() + 1;
        }
        if (auto ext = child(anchor, "ext")) {
            p.widthEmu = attr(ext, "cx").as_llong();
            p.heightEmu = attr(ext, "cy").as_llong();
        }
        if (auto xext = child(child(child(pic, "spPr"), "xfrm"), "ext")) {
            if (p.widthEmu <= 0) p.widthEmu = attr(xext, "cx").as_llong();
            if (p.heightEmu <= 0) p.heightEmu = attr(xext, "cy").as_llong();
        }
        const QString embed = qs(attr(child(child(pic, "blipFill"), "blip"), "embed").value());
        auto it = images.find(embed);
        if (it == images.end())
            continue;
        p.data = zip.read(it->second);
        p.extension = QFileInfo(it->second).suffix().toLower();
        if (p.extension == QLatin1String("jpg"))
            p.extension = QStringLiteral("jpeg");
        p.name = qs(attr(child(child(pic, "nvPicPr"), "cNvPr"), "name").value());
        if (!p.data.isEmpty() && p.widthEmu > 0 && p.heightEmu > 0)
            sheet.pictures.push_back(std::move(p));
    }
}

void readSheet(const ZipReader &zip, const QString &part, const std::vector<QString> &strings, Sheet &sheet)
{
    pugi::xml_document doc;
    loadPart(zip, part, doc);
    const auto root = doc.document_element();

    if (auto pr = child(child(root, "sheetPr"), "pageSetUpPr"))
        sheet.page.fitToPage = boolAttr(pr, "fitToPage", false);
    if (auto view = child(child(root, "sheetViews"), "sheetView"))
        sheet.showGridLines = boolAttr(view, "showGridLines", true);
    if (auto fmt = child(root, "sheetFormatPr")) {
        sheet.defaultColumnWidth = attr(fmt, "defaultColWidth").as_double(0);
        sheet.defaultRowHeight = attr(fmt, "defaultRowHeight").as_double(0);
    }
    forChildren(child(root, "cols"), "col", [&](pugi::xml_node n) {
        const int a = attr(n, "min").as_int(0), b = attr(n, "max").as_int(0);
        if (a < 1 || b < a)
            return;
        ColumnInfo ci;
        ci.width = boolAttr(n, "customWidth", false) || attr(n, "width") ? attr(n, "width").as_double(0) : 0;
        ci.hidden = boolAttr(n, "hidden", false);
        ci.style = attr(n, "style") ? attr(n, "style").as_int(-1) : -1;
        for (int c = a; c <= std::min(b, 16384); ++c) {
            if (b - a > 255 && ci.width == 0 && !ci.hidden && ci.style <= 0)
                break; // a "rest of the columns" entry with nothing to keep
            sheet.columns[c] = ci;
        }
    });

    int rowNo = 0;
    std::map<int, std::pair<QString, CellRef>> shared; // shared formula index -> text, cell
    forChildren(child(root, "sheetData"), "row", [&](pugi::xml_node rn) {
        rowNo = attr(rn, "r") ? attr(rn, "r").as_int() : rowNo + 1;
        if (rowNo < 1)
            return;
        RowInfo ri;
        if (boolAttr(rn, "customHeight", false) || attr(rn, "ht"))
            ri.height = boolAttr(rn, "customHeight", false) ? attr(rn, "ht").as_double(0) : 0;
        ri.hidden = boolAttr(rn, "hidden", false);
        if (boolAttr(rn, "customFormat", false))
            ri.style = attr(rn, "s").as_int(-1);
        if (ri.height > 0 || ri.hidden || ri.style >= 0)
            sheet.rows[rowNo] = ri;
        int colNo = 0;
        forChildren(rn, "c", [&](pugi::xml_node cn) {
            if (auto r = attr(cn, "r")) {
                auto ref = parseCellName(qs(r.value()));
                colNo = ref ? ref->col : colNo + 1;
            } else {
                ++colNo;
            }
            Cell c;
            c.style = attr(cn, "s").as_int(0);
            const std::string t = attr(cn, "t").value();
            const auto v = child(cn, "v");
            if (auto f = child(cn, "f")) {
                c.formula = qs(f.text().get());
                // Shared formulas: the first cell holds the text, the others refer to it.
                if (qs(attr(f, "t").value()) == QLatin1String("shared") && attr(f, "si")) {
                    const int si = attr(f, "si").as_int();
                    if (!c.formula.isEmpty()) {
                        shared[si] = {c.formula, CellRef{rowNo, colNo}};
                    } else if (auto it = shared.find(si); it != shared.end()) {
                        c.formula = translateFormula(it->second.first, rowNo - it->second.second.row,
                                                     colNo - it->second.second.col);
                    }
                }
            }
            if (t == "s") {
                const int idx = v.text().as_int(-1);
                if (idx >= 0 && idx < int(strings.size())) {
                    c.kind = Cell::Kind::String;
                    c.text = strings[size_t(idx)];
                }
            } else if (t == "inlineStr") {
                QString text;
                const auto is = child(cn, "is");
                if (auto tt = child(is, "t"))
                    text = elementText(tt);
                forChildren(is, "r", [&](pugi::xml_node r) { text += elementText(child(r, "t")); });
                c.kind = Cell::Kind::String;
                c.text = text;
            } else if (t == "str") {
                c.kind = Cell::Kind::String;
                c.text = elementText(v);
            } else if (t == "b") {
                if (v) { c.kind = Cell::Kind::Bool; c.boolean = v.text().as_int() != 0; }
            } else if (t == "e") {
                c.kind = Cell::Kind::Error;
                c.text = qs(v.text().get());
            } else if (t == "d") {
                const QDateTime dt = QDateTime::fromString(qs(v.text().get()), Qt::ISODate);
                if (dt.isValid()) { c.kind = Cell::Kind::Number; c.number = dateTimeToSerial(dt); }
            } else if (v) {
                c.kind = Cell::Kind::Number;
                c.number = v.text().as_double();
            }
            if (c.kind == Cell::Kind::String && c.text.isEmpty() && c.formula.isEmpty())
                c.kind = Cell::Kind::Empty;
            if (c.hasValue() || c.style != 0)
                sheet.cells[CellRef{rowNo, colNo}] = c;
        });
    });

    forChildren(child(root, "mergeCells"), "mergeCell", [&](pugi::xml_node n) {
        if (auto r = parseRange(qs(attr(n, "ref").value())))
            if (!(r->row1 == r->row2 && r->col1 == r->col2))
                sheet.merges.push_back(*r);
    });
    if (auto prot = child(root, "sheetProtection")) {
        sheet.protection.enabled = boolAttr(prot, "sheet", false);
        sheet.protection.passwordHash = qs(attr(prot, "password").value());
    }
    if (auto po = child(root, "printOptions")) {
        sheet.page.centerHorizontally = boolAttr(po, "horizontalCentered", false);
        sheet.page.gridLines = boolAttr(po, "gridLines", false);
    }
    if (auto pm = child(root, "pageMargins")) {
        PageSetup &p = sheet.page;
        p.marginLeft = attr(pm, "left").as_double(p.marginLeft);
        p.marginRight = attr(pm, "right").as_double(p.marginRight);
        p.marginTop = attr(pm, "top").as_double(p.marginTop);
        p.marginBottom = attr(pm, "bottom").as_double(p.marginBottom);
        p.marginHeader = attr(pm, "header").as_double(p.marginHeader);
        p.marginFooter = attr(pm, "footer").as_double(p.marginFooter);
    }
    if (auto ps = child(root, "pageSetup")) {
        PageSetup &p = sheet.page;
        p.landscape = qs(attr(ps, "orientation").value()) == QLatin1String("landscape");
        p.paperSize = attr(ps, "paperSize").as_int(9);
        p.scale = attr(ps, "scale").as_int(100);
        p.fitToWidth = attr(ps, "fitToWidth").as_int(1);
        p.fitToHeight = attr(ps, "fitToHeight").as_int(1);
    }
    if (auto hf = child(root, "headerFooter")) {
        sheet.page.oddHeader = elementText(child(hf, "oddHeader"));
        sheet.page.oddFooter = elementText(child(hf, "oddFooter"));
    }
    if (auto dr = child(root, "drawing")) {
        const QString id = qs(attr(dr, "id").value());
        for (const Rel &r : readRels(zip, part))
            if (r.id == id && r.type == QLatin1String(kRelDrawing) && zip.has(r.target))
                readDrawing(zip, r.target, sheet);
    }
}

// ---------------------------------------------------------------- writing helpers

QString xmlSafeText(const QString &t) { return escapeXmlText(t); }

void setText(pugi::xml_node n, const QString &text)
{
    const QString safe = xmlSafeText(text);
    n.text().set(ss(safe).c_str());
    if (!safe.isEmpty() && (safe.front().isSpace() || safe.back().isSpace() || safe.contains(u'\n')))
        n.append_attribute("xml:space") = "preserve";
}

QByteArray toBytes(const pugi::xml_document &doc)
{
    struct Writer : pugi::xml_writer
    {
        QByteArray out;
        void write(const void *data, size_t size) override { out.append(static_cast<const char *>(data), qsizetype(size)); }
    } w;
    w.out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    doc.save(w, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return w.out;
}

QString num(double v)
{
    if (!std::isfinite(v))
        return QStringLiteral("0");
    return QString::number(v, 'g', 17);
}

void writeColor(pugi::xml_node parent, const char *name, const Color &c)
{
    if (!c.isSet())
        return;
    auto n = parent.append_child(name);
    if (!c.rgb.isEmpty())
        n.append_attribute("rgb") = ss(c.rgb).c_str();
    else if (c.theme >= 0)
        n.append_attribute("theme") = c.theme;
    else
        n.append_attribute("indexed") = c.indexed;
    if (c.tint != 0.0)
        n.append_attribute("tint") = ss(num(c.tint)).c_str();
}

QString validSheetName(QString name, int index, std::set<QString> &used)
{
    static const QRegularExpression bad(QStringLiteral("[\\[\\]:*?/\\\\]"));
    name.replace(bad, QStringLiteral("_"));
    name = name.left(31);
    if (name.trimmed().isEmpty())
        name = QStringLiteral("List%1").arg(index + 1);
    QString candidate = name;
    for (int k = 2; used.count(candidate.toLower()); ++k)
        candidate = name.left(27) + QStringLiteral(" (%1)").arg(k);
    used.insert(candidate.toLower());
    return candidate;
}

struct StylesOut
{
    QByteArray xml;
};

QByteArray writeStyles(const Workbook &book)
{
    pugi::xml_document doc;
    auto ss_ = doc.append_child("styleSheet");
    ss_.append_attribute("xmlns") = kNsMain;

    // number formats
    std::map<QString, int> customFmt;
    std::vector<int> fmtIds;
    for (const CellStyle &st : book.styles) {
        int id = builtinNumFmtId(st.numFmt);
        if (id < 0) {
            auto it = customFmt.find(st.numFmt);
            if (it == customFmt.end())
                it = customFmt.emplace(st.numFmt, 164 + int(customFmt.size())).first;
            id = it->second;
        }
        fmtIds.push_back(id);
    }
    if (!customFmt.empty()) {
        auto nfs = ss_.append_child("numFmts");
        nfs.append_attribute("count") = int(customFmt.size());
        std::vector<std::pair<int, QString>> ordered;
        for (auto &[code, id] : customFmt)
            ordered.emplace_back(id, code);
        std::sort(ordered.begin(), ordered.end());
        for (auto &[id, code] : ordered) {
            auto n = nfs.append_child("numFmt");
            n.append_attribute("numFmtId") = id;
            n.append_attribute("formatCode") = ss(code).c_str();
        }
    }

    // fonts, fills and borders, shared between equal formats
    struct FontKey { QString name; double size; bool b, i, u; Color color; bool operator==(const FontKey &) const = default; };
    struct BorderKey { BorderSide l, r, t, b, d; bool up, down; bool operator==(const BorderKey &) const = default; };
    std::vector<FontKey> fonts;
    std::vector<Color> fills;      // solid fills; file index = position + 2
    std::vector<BorderKey> borders{BorderKey{{}, {}, {}, {}, {}, false, false}}; // border 0 is empty
    auto indexIn = [](auto &list, const auto &key) {
        auto it = std::find(list.begin(), list.end(), key);
        if (it != list.end())
            return int(it - list.begin());
        list.push_back(key);
        return int(list.size() - 1);
    };
    struct XfIds { int font, fill, border; };
    std::vector<XfIds> xfIds;
    for (const CellStyle &st : book.styles) {
        const int font = indexIn(fonts, FontKey{st.fontName, st.fontSize, st.bold, st.italic, st.underline, st.fontColor});
        const int fill = st.fill.isSet() ? indexIn(fills, st.fill) + 2 : 0;
        BorderKey bk{st.left, st.right, st.top, st.bottom, st.diagonal, st.diagonalUp, st.diagonalDown};
        if (bk.d.style == BorderStyle::None)
            bk.up = bk.down = false;
        xfIds.push_back({font, fill, indexIn(borders, bk)});
    }

    auto fontsN = ss_.append_child("fonts");
    fontsN.append_attribute("count") = int(fonts.size());
    for (const FontKey &f : fonts) {
        auto n = fontsN.append_child("font");
        if (f.b) n.append_child("b");
        if (f.i) n.append_child("i");
        if (f.u) n.append_child("u");
        n.append_child("sz").append_attribute("val") = ss(num(f.size)).c_str();
        writeColor(n, "color", f.color);
        n.append_child("name").append_attribute("val") = ss(f.name).c_str();
        n.append_child("family").append_attribute("val") = 2;
        n.append_child("charset").append_attribute("val") = 238; // Central European
    }

    auto fillsN = ss_.append_child("fills");
    fillsN.append_attribute("count") = int(fills.size()) + 2;
    fillsN.append_child("fill").append_child("patternFill").append_attribute("patternType") = "none";
    fillsN.append_child("fill").append_child("patternFill").append_attribute("patternType") = "gray125";
    for (const Color &c : fills) {
        auto p = fillsN.append_child("fill").append_child("patternFill");
        p.append_attribute("patternType") = "solid";
        writeColor(p, "fgColor", c);
        p.append_child("bgColor").append_attribute("indexed") = 64;
    }

    auto bordersN = ss_.append_child("borders");
    bordersN.append_attribute("count") = int(borders.size());
    for (const BorderKey &b : borders) {
        auto n = bordersN.append_child("border");
        if (b.up) n.append_attribute("diagonalUp") = 1;
        if (b.down) n.append_attribute("diagonalDown") = 1;
        auto side = [&](const char *name, const BorderSide &s) {
            auto e = n.append_child(name);
            if (const char *st = borderStyleName(s.style)) {
                e.append_attribute("style") = st;
                if (s.color.isSet())
                    writeColor(e, "color", s.color);
                else
                    e.append_child("color").append_attribute("indexed") = 64;
            }
        };
        side("left", b.l);
        side("right", b.r);
        side("top", b.t);
        side("bottom", b.b);
        side("diagonal", b.d);
    }

    auto csx = ss_.append_child("cellStyleXfs");
    csx.append_attribute("count") = 1;
    auto x0 = csx.append_child("xf");
    x0.append_attribute("numFmtId") = 0;
    x0.append_attribute("fontId") = 0;
    x0.append_attribute("fillId") = 0;
    x0.append_attribute("borderId") = 0;

    auto xfs = ss_.append_child("cellXfs");
    xfs.append_attribute("count") = int(book.styles.size());
    for (size_t i = 0; i < book.styles.size(); ++i) {
        const CellStyle &st = book.styles[i];
        auto x = xfs.append_child("xf");
        x.append_attribute("numFmtId") = fmtIds[i];
        x.append_attribute("fontId") = xfIds[i].font;
        x.append_attribute("fillId") = xfIds[i].fill;
        x.append_attribute("borderId") = xfIds[i].border;
        x.append_attribute("xfId") = 0;
        if (fmtIds[i] != 0) x.append_attribute("applyNumberFormat") = 1;
        if (xfIds[i].font != 0) x.append_attribute("applyFont") = 1;
        if (xfIds[i].fill != 0) x.append_attribute("applyFill") = 1;
        if (xfIds[i].border != 0) x.append_attribute("applyBorder") = 1;
        const bool hasAlign = st.hAlign != HAlign::General || st.vAlign != VAlign::Default || st.wrap
                              || st.indent || st.rotation || st.shrinkToFit;
        const bool hasProt = !st.locked || st.hidden;
        if (hasAlign) x.append_attribute("applyAlignment") = 1;
        if (hasProt) x.append_attribute("applyProtection") = 1;
        if (hasAlign) {
            auto a = x.append_child("alignment");
            if (const char *h = hAlignName(st.hAlign)) a.append_attribute("horizontal") = h;
            if (const char *v = vAlignName(st.vAlign)) a.append_attribute("vertical") = v;
            if (st.rotation) a.append_attribute("textRotation") = st.rotation;
            if (st.wrap) a.append_attribute("wrapText") = 1;
            if (st.indent) a.append_attribute("indent") = st.indent;
            if (st.shrinkToFit) a.append_attribute("shrinkToFit") = 1;
        }
        if (hasProt) {
            auto p = x.append_child("protection");
            p.append_attribute("locked") = st.locked ? 1 : 0;
            p.append_attribute("hidden") = st.hidden ? 1 : 0;
        }
    }

    auto cs = ss_.append_child("cellStyles");
    cs.append_attribute("count") = 1;
    auto normal = cs.append_child("cellStyle");
    normal.append_attribute("name") = "Normal";
    normal.append_attribute("xfId") = 0;
    normal.append_attribute("builtinId") = 0;
    ss_.append_child("dxfs").append_attribute("count") = 0;
    ss_.append_child("tableStyles").append_attribute("count") = 0;
    return toBytes(doc);
}

struct SharedStrings
{
    std::vector<QString> list;
    std::map<QString, int> index;
    int count = 0;
    int add(const QString &s)
    {
        ++count;
        auto it = index.find(s);
        if (it != index.end())
            return it->second;
        const int i = int(list.size());
        list.push_back(s);
        index.emplace(s, i);
        return i;
    }
};

double pointsFromEmu(qint64 emu) { return emu / 12700.0; }

QByteArray writeSheet(const Workbook &book, const Sheet &sh, bool selected, SharedStrings &strings,
                      bool hasDrawing)
{
    pugi::xml_document doc;
    auto ws = doc.append_child("worksheet");
    ws.append_attribute("xmlns") = kNsMain;
    ws.append_attribute("xmlns:r") = kNsRel;

    auto pr = ws.append_child("sheetPr");
    pr.append_child("pageSetUpPr").append_attribute("fitToPage") = sh.page.fitToPage ? 1 : 0;

    const int maxRow = std::max(1, sh.maxRow());
    const int maxCol = std::max(1, sh.maxCol());
    ws.append_child("dimension").append_attribute("ref") =
        ss(rangeName(Range{1, 1, maxRow, maxCol})).c_str();

    auto view = ws.append_child("sheetViews").append_child("sheetView");
    if (!sh.showGridLines) view.append_attribute("showGridLines") = 0;
    if (selected) view.append_attribute("tabSelected") = 1;
    view.append_attribute("workbookViewId") = 0;

    auto fmt = ws.append_child("sheetFormatPr");
    if (sh.defaultColumnWidth > 0) fmt.append_attribute("defaultColWidth") = ss(num(sh.defaultColumnWidth)).c_str();
    fmt.append_attribute("defaultRowHeight") = ss(num(sh.defaultRowHeight > 0 ? sh.defaultRowHeight : 12.75)).c_str();

    if (!sh.columns.empty()) {
        auto cols = ws.append_child("cols");
        auto it = sh.columns.begin();
        while (it != sh.columns.end()) {
            // group consecutive equal columns
            auto start = it;
            auto last = it;
            ++it;
            while (it != sh.columns.end() && it->first == last->first + 1 && it->second.width == start->second.width
                   && it->second.hidden == start->second.hidden && it->second.style == start->second.style) {
                last = it;
                ++it;
            }
            const ColumnInfo &ci = start->second;
            auto c = cols.append_child("col");
            c.append_attribute("min") = start->first;
            c.append_attribute("max") = last->first;
            const double w = ci.width > 0 ? ci.width : (sh.defaultColumnWidth > 0 ? sh.defaultColumnWidth : 9.140625);
            c.append_attribute("width") = ss(num(w)).c_str();
            if (ci.style > 0 && ci.style < int(book.styles.size())) c.append_attribute("style") = ci.style;
            if (ci.hidden) c.append_attribute("hidden") = 1;
            if (ci.width > 0) c.append_attribute("customWidth") = 1;
        }
    }

    auto data = ws.append_child("sheetData");
    std::set<int> rowNumbers;
    for (const auto &[ref, c] : sh.cells) rowNumbers.insert(ref.row);
    for (const auto &[r, info] : sh.rows) rowNumbers.insert(r);
    auto cellIt = sh.cells.begin();
    for (int r : rowNumbers) {
        auto rowN = data.append_child("row");
        rowN.append_attribute("r") = r;
        auto ri = sh.rows.find(r);
        if (ri != sh.rows.end()) {
            const RowInfo &info = ri->second;
            if (info.style > 0 && info.style < int(book.styles.size())) {
                rowN.append_attribute("s") = info.style;
                rowN.append_attribute("customFormat") = 1;
            }
            if (info.height > 0) {
                rowN.append_attribute("ht") = ss(num(info.height)).c_str();
                rowN.append_attribute("customHeight") = 1;
            }
            if (info.hidden) rowN.append_attribute("hidden") = 1;
        }
        while (cellIt != sh.cells.end() && cellIt->first.row < r) ++cellIt;
        for (; cellIt != sh.cells.end() && cellIt->first.row == r; ++cellIt) {
            const Cell &c = cellIt->second;
            const int styleNo = c.style >= 0 && c.style < int(book.styles.size()) ? c.style : 0;
            if (!c.hasValue() && styleNo == 0)
                continue;
            auto cn = rowN.append_child("c");
            cn.append_attribute("r") = ss(cellName(r, cellIt->first.col)).c_str();
            if (styleNo) cn.append_attribute("s") = styleNo;
            if (!c.formula.isEmpty()) {
                switch (c.kind) {
                case Cell::Kind::String: cn.append_attribute("t") = "str"; break;
                case Cell::Kind::Bool: cn.append_attribute("t") = "b"; break;
                case Cell::Kind::Error: cn.append_attribute("t") = "e"; break;
                default: break;
                }
                setText(cn.append_child("f"), c.formula);
                switch (c.kind) {
                case Cell::Kind::String: setText(cn.append_child("v"), c.text); break;
                case Cell::Kind::Number: cn.append_child("v").text().set(ss(num(c.number)).c_str()); break;
                case Cell::Kind::Bool: cn.append_child("v").text().set(c.boolean ? "1" : "0"); break;
                case Cell::Kind::Error: cn.append_child("v").text().set(ss(c.text).c_str()); break;
                case Cell::Kind::Empty: break;
                }
                continue;
            }
            switch (c.kind) {
            case Cell::Kind::String:
                cn.append_attribute("t") = "s";
                cn.append_child("v").text().set(strings.add(c.text));
                break;
            case Cell::Kind::Number:
                if (std::isfinite(c.number))
                    cn.append_child("v").text().set(ss(num(c.number)).c_str());
                break;
            case Cell::Kind::Bool:
                cn.append_attribute("t") = "b";
                cn.append_child("v").text().set(c.boolean ? "1" : "0");
                break;
            case Cell::Kind::Error:
                cn.append_attribute("t") = "e";
                cn.append_child("v").text().set(ss(c.text).c_str());
                break;
            case Cell::Kind::Empty:
                break;
            }
        }
    }

    if (sh.protection.enabled) {
        auto p = ws.append_child("sheetProtection");
        if (!sh.protection.passwordHash.isEmpty())
            p.append_attribute("password") = ss(sh.protection.passwordHash).c_str();
        p.append_attribute("sheet") = 1;
        p.append_attribute("objects") = 1;
        p.append_attribute("scenarios") = 1;
    }
    if (!sh.merges.empty()) {
        auto m = ws.append_child("mergeCells");
        m.append_attribute("count") = int(sh.merges.size());
        for (const Range &r : sh.merges)
            m.append_child("mergeCell").append_attribute("ref") = ss(rangeName(r)).c_str();
    }
    if (sh.page.centerHorizontally || sh.page.gridLines) {
        auto po = ws.append_child("printOptions");
        if (sh.page.centerHorizontally) po.append_attribute("horizontalCentered") = 1;
        if (sh.page.gridLines) po.append_attribute("gridLines") = 1;
    }
    auto pm = ws.append_child("pageMargins");
    pm.append_attribute("left") = ss(num(sh.page.marginLeft)).c_str();
    pm.append_attribute("right") = ss(num(sh.page.marginRight)).c_str();
    pm.append_attribute("top") = ss(num(sh.page.marginTop)).c_str();
    pm.append_attribute("bottom") = ss(num(sh.page.marginBottom)).c_str();
    pm.append_attribute("header") = ss(num(sh.page.marginHeader)).c_str();
    pm.append_attribute("footer") = ss(num(sh.page.marginFooter)).c_str();
    auto ps = ws.append_child("pageSetup");
    ps.append_attribute("paperSize") = sh.page.paperSize;
    if (sh.page.scale != 100) ps.append_attribute("scale") = sh.page.scale;
    if (sh.page.fitToPage) {
        ps.append_attribute("fitToWidth") = sh.page.fitToWidth;
        ps.append_attribute("fitToHeight") = sh.page.fitToHeight;
    }
    ps.append_attribute("orientation") = sh.page.landscape ? "landscape" : "portrait";
    if (!sh.page.oddHeader.isEmpty() || !sh.page.oddFooter.isEmpty()) {
        auto hf = ws.append_child("headerFooter");
        if (!sh.page.oddHeader.isEmpty()) setText(hf.append_child("oddHeader"), sh.page.oddHeader);
        if (!sh.page.oddFooter.isEmpty()) setText(hf.append_child("oddFooter"), sh.page.oddFooter);
    }
    // Texts that look like numbers ("0012") are meant as texts: no warning marks on them.
    auto ignored = ws.append_child("ignoredErrors").append_child("ignoredError");
    ignored.append_attribute("sqref") = "A1:XFD1048576";
    ignored.append_attribute("numberStoredAsText") = 1;
    if (hasDrawing)
        ws.append_child("drawing").append_attribute("r:id") = "rId1";
    return toBytes(doc);
}

QByteArray writeDrawing(const Sheet &sh, int firstImage)
{
    pugi::xml_document doc;
    auto dr = doc.append_child("xdr:wsDr");
    dr.append_attribute("xmlns:xdr") = "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
    dr.append_attribute("xmlns:a") = "http://schemas.openxmlformats.org/drawingml/2006/main";
    dr.append_attribute("xmlns:r") = kNsRel;
    int id = 2;
    for (size_t i = 0; i < sh.pictures.size(); ++i) {
        const Picture &p = sh.pictures[i];
        auto an = dr.append_child("xdr:oneCellAnchor");
        auto from = an.append_child("xdr:from");
        from.append_child("xdr:col").text().set(p.col - 1);
        from.append_child("xdr:colOff").text().set(0);
        from.append_child("xdr:row").text().set(p.row - 1);
        from.append_child("xdr:rowOff").text().set(0);
        auto ext = an.append_child("xdr:ext");
        ext.append_attribute("cx") = p.widthEmu;
        ext.append_attribute("cy") = p.heightEmu;
        auto pic = an.append_child("xdr:pic");
        auto nv = pic.append_child("xdr:nvPicPr");
        auto cnv = nv.append_child("xdr:cNvPr");
        cnv.append_attribute("id") = id++;
        const QString name = p.name.isEmpty() ? QStringLiteral("Obrázek %1").arg(i + 1) : p.name;
        cnv.append_attribute("name") = ss(name).c_str();
        nv.append_child("xdr:cNvPicPr").append_child("a:picLocks").append_attribute("noChangeAspect") = 1;
        auto bf = pic.append_child("xdr:blipFill");
        bf.append_child("a:blip").append_attribute("r:embed") = ss(QStringLiteral("rId%1").arg(i + 1)).c_str();
        bf.append_child("a:stretch").append_child("a:fillRect");
        auto sp = pic.append_child("xdr:spPr");
        auto xf = sp.append_child("a:xfrm");
        auto off = xf.append_child("a:off");
        off.append_attribute("x") = 0;
        off.append_attribute("y") = 0;
        auto xext = xf.append_child("a:ext");
        xext.append_attribute("cx") = p.widthEmu;
        xext.append_attribute("cy") = p.heightEmu;
        auto geom = sp.append_child("a:prstGeom");
        geom.append_attribute("prst") = "rect";
        geom.append_child("a:avLst");
        an.append_child("xdr:clientData");
    }
    Q_UNUSED(firstImage);
    return toBytes(doc);
}

QByteArray relsXml(const std::vector<std::pair<QString, QString>> &rels) // type, target
{
    pugi::xml_document doc;
    auto root = doc.append_child("Relationships");
    root.append_attribute("xmlns") = kNsPkgRel;
    int i = 1;
    for (const auto &[type, target] : rels) {
        auto r = root.append_child("Relationship");
        r.append_attribute("Id") = ss(QStringLiteral("rId%1").arg(i++)).c_str();
        r.append_attribute("Type") = ss(type).c_str();
        r.append_attribute("Target") = ss(target).c_str();
    }
    return toBytes(doc);
}

class ZipWriter
{
public:
    explicit ZipWriter(const QString &path) : m_path(path)
    {
        int err = 0;
        m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
        if (!m_zip) {
            zip_error_t ze;
            zip_error_init_with_code(&ze, err);
            const QString why = qs(zip_error_strerror(&ze));
            zip_error_fini(&ze);
            throw XlsxError(QStringLiteral("Sešit %1 nelze uložit (%2).").arg(path, why));
        }
    }
    ~ZipWriter() { if (m_zip) zip_discard(m_zip); }

    void add(const QString &name, QByteArray data)
    {
        m_data.push_back(std::move(data));
        const QByteArray &d = m_data.back();
        zip_source_t *src = zip_source_buffer(m_zip, d.constData(), zip_uint64_t(d.size()), 0);
        if (!src || zip_file_add(m_zip, ss(name).c_str(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            if (src) zip_source_free(src);
            throw XlsxError(QStringLiteral("Sešit %1 nelze uložit (%2).").arg(m_path, qs(zip_strerror(m_zip))));
        }
    }

    void close()
    {
        if (zip_close(m_zip) != 0)
            throw XlsxError(QStringLiteral("Sešit %1 nelze uložit (%2).").arg(m_path, qs(zip_strerror(m_zip))));
        m_zip = nullptr;
    }

private:
    QString m_path;
    zip_t *m_zip = nullptr;
    std::list<QByteArray> m_data;
};

QString xmlEscapeAttr(const QString &s) { return s.toHtmlEscaped(); }

} // namespace

QString escapeXmlText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        const bool allowed = u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xD7FF) || (u >= 0xE000 && u <= 0xFFFD)
                             || (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                             || (c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate());
        if (!allowed) {
            out += QStringLiteral("_x%1_").arg(unsigned(u), 4, 16, QLatin1Char('0')).toUpper().replace(QStringLiteral("_X"), QStringLiteral("_x"));
            continue;
        }
        // A literal "_xHHHH_" must not read back as an escape.
        if (c == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool hex = true;
            for (int k = 2; k < 6; ++k)
                hex = hex && QStringLiteral("0123456789abcdefABCDEF").contains(text[i + k]);
            if (hex) {
                out += QStringLiteral("_x005F_");
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString unescapeXmlText(const QString &text)
{
    if (!text.contains(QStringLiteral("_x")))
        return text;
    static const QRegularExpression re(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    int pos = 0;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(pos, m.capturedStart() - pos);
        out += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        pos = int(m.capturedEnd());
    }
    out += text.mid(pos);
    return out;
}

Workbook readWorkbook(const QString &path)
{
    if (!QFileInfo::exists(path))
        throw XlsxError(QStringLiteral("Sešit %1 neexistuje.").arg(path));
    ZipReader zip(path);

    QString wbPart = QStringLiteral("xl/workbook.xml");
    for (const Rel &r : readRels(zip, QString()))
        if (r.type == QLatin1String(kRelDoc))
            wbPart = r.target;
    if (!zip.has(wbPart))
        throw XlsxError(QStringLiteral("Soubor %1 není sešit xlsx (chybí %2).").arg(path, wbPart));

    pugi::xml_document wbDoc;
    loadPart(zip, wbPart, wbDoc);
    const auto wbRoot = wbDoc.document_element();
    const auto rels = readRels(zip, wbPart);
    auto relTarget = [&](const QString &id) -> QString {
        for (const Rel &r : rels)
            if (r.id == id)
                return r.target;
        return {};
    };

    Workbook book;
    book.sheets.clear();

    for (const Rel &r : rels) {
        if (r.type == QLatin1String(kRelStyles) && zip.has(r.target))
            readStyles(zip, r.target, book);
        else if (r.type == QLatin1String(kRelTheme) && zip.has(r.target))
            book.themeXml = zip.read(r.target);
    }

    std::vector<QString> strings;
    for (const Rel &r : rels) {
        if (r.type != QLatin1String(kRelStrings) || !zip.has(r.target))
            continue;
        pugi::xml_document sdoc;
        loadPart(zip, r.target, sdoc);
        forChildren(sdoc.document_element(), "si", [&](pugi::xml_node si) {
            QString s;
            if (auto t = child(si, "t"))
                s = elementText(t);
            forChildren(si, "r", [&](pugi::xml_node run) { s += elementText(child(run, "t")); });
            strings.push_back(s);
        });
    }

    forChildren(child(wbRoot, "sheets"), "sheet", [&](pugi::xml_node n) {
        const QString target = relTarget(qs(attr(n, "id").value()));
        if (target.isEmpty() || !zip.has(target))
            return; // chart sheets and missing parts
        Sheet sh;
        sh.name = qs(attr(n, "name").value());
        readSheet(zip, target, strings, sh);
        book.sheets.push_back(std::move(sh));
    });
    if (book.sheets.empty())
        throw XlsxError(QStringLiteral("Sešit %1 nemá žádný list.").arg(path));

    if (auto v = child(child(wbRoot, "bookViews"), "workbookView"))
        book.activeSheet = std::clamp(attr(v, "activeTab").as_int(0), 0, int(book.sheets.size()) - 1);

    forChildren(child(wbRoot, "definedNames"), "definedName", [&](pugi::xml_node n) {
        QString name = qs(attr(n, "name").value());
        if (auto l = attr(n, "localSheetId"))
            name = QString::number(l.as_int()) + u'|' + name;
        book.definedNames.emplace_back(name, qs(n.text().get()));
    });

    // Cells refer to formats by index: make sure every index exists.
    const int nStyles = int(book.styles.size());
    for (Sheet &sh : book.sheets) {
        for (auto &[ref, c] : sh.cells)
            if (c.style < 0 || c.style >= nStyles)
                c.style = 0;
        for (auto &[r, info] : sh.rows)
            if (info.style >= nStyles)
                info.style = -1;
        for (auto &[col, info] : sh.columns)
            if (info.style >= nStyles)
                info.style = -1;
    }
    return book;
}

void writeWorkbook(const Workbook &book, const QString &path, const std::vector<int> &onlySheets)
{
    std::vector<int> order;
    if (onlySheets.empty()) {
        for (int i = 0; i < int(book.sheets.size()); ++i)
            order.push_back(i);
    } else {
        for (int i : onlySheets)
            if (i >= 0 && i < int(book.sheets.size()))
                order.push_back(i);
    }
    if (order.empty())
        throw XlsxError(QStringLiteral("Sešit %1 nelze uložit: nemá žádný list.").arg(path));
    int active = 0;
    for (size_t k = 0; k < order.size(); ++k)
        if (order[k] == book.activeSheet)
            active = int(k);

    const QString tmp = path + QStringLiteral(".tmp~");
    QFile::remove(tmp);
    {
        ZipWriter zip(tmp);
        SharedStrings strings;
        std::vector<QString> names;
        std::set<QString> used;
        int imageNo = 1;
        int drawingNo = 1;
        std::set<QString> imageExts;
        QString overrides;

        for (size_t k = 0; k < order.size(); ++k) {
            const Sheet &sh = book.sheets[size_t(order[k])];
            names.push_back(validSheetName(sh.name, int(k), used));
            const bool hasDrawing = !sh.pictures.empty();
            const QString sheetPart = QStringLiteral("xl/worksheets/sheet%1.xml").arg(k + 1);
            zip.add(sheetPart, writeSheet(book, sh, int(k) == active, strings, hasDrawing));
            overrides += QStringLiteral("<Override PartName=\"/%1\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>").arg(sheetPart);
            if (hasDrawing) {
                const QString drawingPart = QStringLiteral("xl/drawings/drawing%1.xml").arg(drawingNo);
                zip.add(QStringLiteral("xl/worksheets/_rels/sheet%1.xml.rels").arg(k + 1),
                        relsXml({{qs(kRelDrawing), QStringLiteral("../drawings/drawing%1.xml").arg(drawingNo)}}));
                std::vector<std::pair<QString, QString>> imgRels;
                for (const Picture &p : sh.pictures) {
                    const QString ext = p.extension.isEmpty() ? QStringLiteral("png") : p.extension;
                    imageExts.insert(ext);
                    const QString media = QStringLiteral("image%1.%2").arg(imageNo++).arg(ext);
                    zip.add(QStringLiteral("xl/media/") + media, p.data);
                    imgRels.emplace_back(qs(kRelImage), QStringLiteral("../media/") + media);
                }
                zip.add(QStringLiteral("xl/drawings/_rels/drawing%1.xml.rels").arg(drawingNo), relsXml(imgRels));
                zip.add(drawingPart, writeDrawing(sh, imageNo));
                overrides += QStringLiteral("<Override PartName=\"/%1\" ContentType=\"application/vnd.openxmlformats-officedocument.drawing+xml\"/>").arg(drawingPart);
                ++drawingNo;
            }
        }

        // workbook
        {
            pugi::xml_document doc;
            auto wb = doc.append_child("workbook");
            wb.append_attribute("xmlns") = kNsMain;
            wb.append_attribute("xmlns:r") = kNsRel;
            wb.append_child("workbookPr").append_attribute("defaultThemeVersion") = 124226;
            auto v = wb.append_child("bookViews").append_child("workbookView");
            v.append_attribute("activeTab") = active;
            auto sheetsN = wb.append_child("sheets");
            for (size_t k = 0; k < order.size(); ++k) {
                auto s = sheetsN.append_child("sheet");
                s.append_attribute("name") = ss(names[k]).c_str();
                s.append_attribute("sheetId") = int(k + 1);
                s.append_attribute("r:id") = ss(QStringLiteral("rId%1").arg(k + 1)).c_str();
            }
            pugi::xml_node dn;
            for (const auto &[name, formula] : book.definedNames) {
                QString plain = name;
                int local = -1;
                const int bar = name.indexOf(u'|');
                if (bar > 0) {
                    const int orig = name.left(bar).toInt();
                    plain = name.mid(bar + 1);
                    auto it = std::find(order.begin(), order.end(), orig);
                    if (it == order.end())
                        continue;
                    local = int(it - order.begin());
                }
                if (formula.isEmpty() || plain.isEmpty())
                    continue;
                if (!dn) dn = wb.append_child("definedNames");
                auto d = dn.append_child("definedName");
                d.append_attribute("name") = ss(plain).c_str();
                if (local >= 0) d.append_attribute("localSheetId") = local;
                d.text().set(ss(formula).c_str());
            }
            wb.append_child("calcPr").append_attribute("calcId") = 124519;
            if (auto calc = wb.child("calcPr"))
                calc.append_attribute("fullCalcOnLoad") = 1;
            zip.add(QStringLiteral("xl/workbook.xml"), toBytes(doc));
        }

        std::vector<std::pair<QString, QString>> wbRels;
        for (size_t k = 0; k < order.size(); ++k)
            wbRels.emplace_back(qs(kRelSheet), QStringLiteral("worksheets/sheet%1.xml").arg(k + 1));
        wbRels.emplace_back(qs(kRelStyles), QStringLiteral("styles.xml"));
        wbRels.emplace_back(qs(kRelStrings), QStringLiteral("sharedStrings.xml"));
        if (!book.themeXml.isEmpty())
            wbRels.emplace_back(qs(kRelTheme), QStringLiteral("theme/theme1.xml"));
        zip.add(QStringLiteral("xl/_rels/workbook.xml.rels"), relsXml(wbRels));
        zip.add(QStringLiteral("xl/styles.xml"), writeStyles(book));
        if (!book.themeXml.isEmpty())
            zip.add(QStringLiteral("xl/theme/theme1.xml"), book.themeXml);

        {
            pugi::xml_document doc;
            auto sst = doc.append_child("sst");
            sst.append_attribute("xmlns") = kNsMain;
            sst.append_attribute("count") = strings.count;
            sst.append_attribute("uniqueCount") = int(strings.list.size());
            for (const QString &s : strings.list)
                setText(sst.append_child("si").append_child("t"), s);
            zip.add(QStringLiteral("xl/sharedStrings.xml"), toBytes(doc));
        }

        {
            const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
            QByteArray core = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                              "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                              "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                              "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                              "<dc:creator>TAVO ZZ</dc:creator>"
                              "<dcterms:created xsi:type=\"dcterms:W3CDTF\">" + now.toUtf8() + "</dcterms:created>"
                              "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">" + now.toUtf8() + "</dcterms:modified>"
                              "</cp:coreProperties>";
            zip.add(QStringLiteral("docProps/core.xml"), core);
            QByteArray app = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                             "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
                             "<Application>TAVO ZZ</Application></Properties>";
            zip.add(QStringLiteral("docProps/app.xml"), app);
        }

        zip.add(QStringLiteral("_rels/.rels"),
                relsXml({{qs(kRelDoc), QStringLiteral("xl/workbook.xml")},
                         {qs(kRelCore), QStringLiteral("docProps/core.xml")},
                         {qs(kRelApp), QStringLiteral("docProps/app.xml")}}));

        QString types = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
            "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/>");
        for (const QString &ext : imageExts)
            types += QStringLiteral("<Default Extension=\"%1\" ContentType=\"image/%1\"/>").arg(xmlEscapeAttr(ext));
        types += QStringLiteral(
            "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
            "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
            "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
            "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
            "<Override PartName=\"/docProps/app.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>");
        if (!book.themeXml.isEmpty())
            types += QStringLiteral("<Override PartName=\"/xl/theme/theme1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.theme+xml\"/>");
        types += overrides + QStringLiteral("</Types>");
        zip.add(QStringLiteral("[Content_Types].xml"), types.toUtf8());
        zip.close();
    }
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(tmp).toStdString(), QFile::encodeName(path).toStdString(), ec);
    if (ec) {
        QFile::remove(tmp);
        throw XlsxError(QStringLiteral("Sešit %1 nelze uložit: soubor je možná otevřen v jiném programu.")
                            .arg(path));
    }
}

} // namespace tz::xlsx
