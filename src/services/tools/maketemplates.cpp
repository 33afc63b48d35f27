// Writes the installation templates: sablony/Seznam_x.xlsx (lists),
// sablony/protokol1_.xlsx + protokol1_.ini (equipment inspection protocol) and
// sablonyRev/souhprot.xlsx + souhprot.ini (summary protocol of accessory
// inspections). Usage: tavozz-maketemplates <install folder>
#include "codepage.h"
#include "xlsx/xlsxio.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>

using namespace tz::xlsx;

namespace {

const Color kInk = Color::fromRgb(0x1F3864);     // dark blue of titles
const Color kRule = Color::fromRgb(0x1F3864);
const Color kGridLine = Color::fromRgb(0x808080);
const Color kHeadFill = Color::fromRgb(0xDCE6F1); // light blue of column titles
const Color kLabelInk = Color::fromRgb(0x404040);

BorderSide thin(const Color &c = kGridLine) { return {BorderStyle::Thin, c}; }
BorderSide medium(const Color &c = kRule) { return {BorderStyle::Medium, c}; }

class Builder
{
public:
    explicit Builder(const QString &sheetName)
    {
        book.active().name = sheetName;
        CellStyle base;
        base.fontName = QStringLiteral("Arial");
        base.fontSize = 10;
        book.styles[0] = base;
    }

    Workbook book;
    Sheet &sh() { return book.active(); }

    void put(int row, int col, const QString &text, const CellStyle &st)
    {
        Cell &c = sh().cellAt(row, col);
        c.kind = text.isEmpty() ? Cell::Kind::Empty : Cell::Kind::String;
        c.text = text;
        c.style = book.styleIndex(st);
    }
    void style(int row, int col, const CellStyle &st) { sh().cellAt(row, col).style = book.styleIndex(st); }
    void styleRange(int row, int c1, int c2, const CellStyle &st)
    {
        for (int c = c1; c <= c2; ++c)
            style(row, c, st);
    }
    void merge(int r1, int c1, int r2, int c2) { sh().merges.push_back(Range{r1, c1, r2, c2}); }
    void width(int col, double w) { sh().columns[col].width = w; }
    void height(int row, double h) { sh().rows[row].height = h; }
    // A line under the row over columns c1..c2, keeping what else the cells carry.
    void ruleUnder(int row, int c1, int c2, const BorderSide &side)
    {
        for (int c = c1; c <= c2; ++c) {
            Cell &cell = sh().cellAt(row, c);
            CellStyle st = book.style(cell.style);
            st.bottom = side;
            cell.style = book.styleIndex(st);
        }
    }
};

CellStyle font(double size, bool bold = false, bool italic = false, const Color &color = {})
{
    CellStyle st;
    st.fontSize = size;
    st.bold = bold;
    st.italic = italic;
    st.fontColor = color;
    return st;
}

CellStyle aligned(CellStyle st, HAlign h, VAlign v = VAlign::Center)
{
    st.hAlign = h;
    st.vAlign = v;
    return st;
}

CellStyle boxed(CellStyle st)
{
    st.left = st.right = st.top = st.bottom = thin();
    return st;
}

bool writeIni(const QString &path, const QString &text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QString crlf = text;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return f.write(tz::encode(crlf, tz::CodePage::Cp1250)) >= 0;
}

// ------------------------------------------------------------------ list

void makeList(const QString &path)
{
    Builder b(QStringLiteral("Seznam"));
    Sheet &sh = b.sh();
    sh.page.landscape = true;
    sh.page.fitToPage = true;
    sh.page.fitToWidth = 1;
    sh.page.fitToHeight = 0;
    sh.page.marginLeft = sh.page.marginRight = 0.5;
    sh.page.marginTop = 0.8;
    sh.page.marginBottom = 0.7;
    sh.showGridLines = false;
    // Rows 1 and 2 keep room for the logo.
    b.height(1, 18);
    b.height(2, 18);
    b.height(3, 24);
    b.height(4, 6);
    b.height(5, 18);
    CellStyle title = aligned(font(14, true, false, kInk), HAlign::Left, VAlign::Center);
    title.bottom = medium();
    b.put(3, 1, QString(), title);
    b.styleRange(3, 2, 10, title);
    b.merge(3, 1, 3, 10);

    CellStyle head = boxed(aligned(font(9, true), HAlign::Center));
    head.fill = kHeadFill;
    head.top = head.bottom = thin(kRule);
    b.styleRange(5, 1, 10, head);
    CellStyle data = boxed(aligned(font(9), HAlign::Left, VAlign::Top));
    data.numFmt = QStringLiteral("@");
    b.styleRange(6, 1, 10, data);
    for (int c = 1; c <= 10; ++c)
        b.width(c, 14);
    // Column titles repeat on every printed page.
    b.book.definedNames.emplace_back(QStringLiteral("0|_xlnm.Print_Titles"), QStringLiteral("Seznam!$5:$5"));
    writeWorkbook(b.book, path);
}

// ------------------------------------------------------------------ summary protocol

void makeSummary(const QString &xlsx, const QString &ini)
{
    Builder b(QStringLiteral("Protokol"));
    Sheet &sh = b.sh();
    sh.page.landscape = true;
    sh.page.fitToPage = true;
    sh.page.fitToWidth = 1;
    sh.page.fitToHeight = 0;
    sh.page.marginLeft = sh.page.marginRight = 0.5;
    sh.page.oddFooter = QStringLiteral("&L&8Souhrnný protokol o revizi vázacích prostředků&C&8&P/&N&R&8Zpracováno programem TAVOzz");
    sh.showGridLines = false;
    const double widths[] = {13, 24, 20, 14, 16, 16, 12, 11, 11, 12};
    for (int c = 1; c <= 10; ++c)
        b.width(c, widths[c - 1]);

    CellStyle title = aligned(font(15, true, false, kInk), HAlign::Center);
    b.height(1, 28);
    b.put(1, 1, QStringLiteral("SOUHRNNÝ PROTOKOL O REVIZI VÁZACÍCH PROSTŘEDKŮ"), title);
    b.merge(1, 1, 1, 10);
    CellStyle sub = aligned(font(9, false, true, kLabelInk), HAlign::Center);
    b.put(2, 1, QStringLiteral("řetězové vázací prostředky – prohlídky a zkoušky podle návodu výrobce a platných norem"), sub);
    b.merge(2, 1, 2, 10);
    b.ruleUnder(2, 1, 10, medium());

    CellStyle label = aligned(font(10, true, false, kLabelInk), HAlign::Left);
    CellStyle value = aligned(font(11, true), HAlign::Left);
    value.bottom = thin();
    value.numFmt = QStringLiteral("@");
    b.height(4, 20);
    b.put(4, 1, QStringLiteral("Zákazník:"), label);
    b.styleRange(4, 2, 6, value);
    b.merge(4, 2, 4, 6);
    b.put(4, 8, QStringLiteral("Datum revize:"), aligned(label, HAlign::Right));
    b.styleRange(4, 9, 10, value);
    b.merge(4, 9, 4, 10);

    const QStringList heads = {QStringLiteral("Evid. číslo"), QStringLiteral("Označení"), QStringLiteral("Popis"),
                               QStringLiteral("Výr. číslo"), QStringLiteral("Středisko"), QStringLiteral("Umístění"),
                               QStringLiteral("Výsledek"), QStringLiteral("Č. rev. zpr."), QStringLiteral("Č. prot. NDT"),
                               QStringLiteral("Cena (Kč)")};
    CellStyle head = boxed(aligned(font(9, true), HAlign::Center));
    head.fill = kHeadFill;
    head.wrap = true;
    b.height(6, 26);
    for (int c = 1; c <= 10; ++c)
        b.put(6, c, heads[c - 1], head);

    CellStyle data = boxed(aligned(font(9), HAlign::Left, VAlign::Top));
    data.numFmt = QStringLiteral("@");
    b.styleRange(7, 1, 9, data);
    CellStyle price = boxed(aligned(font(9), HAlign::Right, VAlign::Top));
    price.numFmt = QStringLiteral("#,##0");
    b.style(7, 10, price);

    CellStyle totalLabel = aligned(font(10, true), HAlign::Right);
    CellStyle total = aligned(font(10, true), HAlign::Right);
    total.numFmt = QStringLiteral("#,##0");
    total.top = thin(kRule);
    total.bottom = {BorderStyle::Double, kRule};
    b.put(8, 8, QStringLiteral("Celkem (Kč):"), totalLabel);
    b.merge(8, 8, 8, 9);
    b.style(8, 10, total);

    CellStyle text = font(10);
    b.put(10, 1, QStringLiteral("Vázací prostředky s výsledkem „Vyhovuje“ jsou způsobilé k dalšímu používání. "
                                "Prostředky s výsledkem „Nevyhovuje“ je nutno vyřadit z provozu."), text);
    b.put(13, 1, QStringLiteral("Revizi provedl:"), label);
    CellStyle sign = aligned(font(9, false, true, kLabelInk), HAlign::Center);
    sign.top = thin(Color::fromRgb(0x000000));
    b.put(15, 2, QStringLiteral("jméno a podpis revizního technika"), sign);
    b.styleRange(15, 3, 3, sign);
    b.merge(15, 2, 15, 3);
    b.put(15, 8, QStringLiteral("převzal (podpis, razítko)"), sign);
    b.styleRange(15, 9, 10, sign);
    b.merge(15, 8, 15, 10);
    writeWorkbook(b.book, xlsx);

    writeIni(ini, QStringLiteral(
        "; Popis šablony souhprot: kam program zapisuje hodnoty souhrnného protokolu.\n"
        "; Adresa buňky: řádek,sloupec (12,3 = řádek 12, sloupec C). 0,0 nebo chybějící klíč = nezapisovat.\n"
        "[souhprot]\n"
        "firma=4,2\n"
        "datum=4,9\n"
        "\n"
        "; XROW: řádek prvního řádku dat (0 = žádná data ani součet).\n"
        "; Další klíče: název pole v malých písmenech = číslo sloupce (0 = pole nevypisovat).\n"
        "[browser]\n"
        "XROW=7\n"
        "evid_c=1\n"
        "oznaceni=2\n"
        "popis=3\n"
        "vyr_c=4\n"
        "stredisko=5\n"
        "umisteni1=6\n"
        "vysledek=7\n"
        "crevzpr=8\n"
        "cprotndt=9\n"
        "cenarev=10\n"
        "\n"
        "; XPOL: počet pevných textů s1..sN, které se zapíší do sloupců 1..N každého řádku (prázdný = nic).\n"
        "; XSUMA: sloupec součtu cen (0 = bez součtu).\n"
        "[sloupce]\n"
        "XPOL=1\n"
        "s1=\n"
        "XSUMA=10\n"));
}

// ------------------------------------------------------------------ equipment protocol

void makeProtocol(const QString &xlsx, const QString &ini)
{
    Builder b(QStringLiteral("Protokol"));
    Sheet &sh = b.sh();
    sh.page.fitToPage = true;
    sh.page.fitToWidth = 1;
    sh.page.fitToHeight = 0;
    sh.page.marginLeft = 0.6;
    sh.page.marginRight = 0.5;
    sh.page.marginTop = 0.6;
    sh.page.marginBottom = 0.7;
    sh.page.oddFooter = QStringLiteral("&L&8Revizní protokol zdvihacího zařízení&C&8Strana &P/&N&R&8Zpracováno programem TAVOzz");
    sh.showGridLines = false;
    const double widths[] = {6, 12, 10, 14, 10, 16, 8, 10, 14};
    for (int c = 1; c <= 9; ++c)
        b.width(c, widths[c - 1]);

    // Header: logo at A1, title, address and identification number of the organisation.
    b.height(1, 26);
    CellStyle title = aligned(font(15, true, false, kInk), HAlign::Center);
    b.style(1, 3, title);
    b.merge(1, 3, 1, 9);
    CellStyle addr = aligned(font(9, false, false, kLabelInk), HAlign::Center);
    b.style(2, 3, addr);
    b.merge(2, 3, 2, 9);
    b.put(3, 5, QStringLiteral("IČO:"), aligned(font(9, false, false, kLabelInk), HAlign::Right));
    CellStyle ico = aligned(font(9), HAlign::Left);
    ico.numFmt = QStringLiteral("@");
    b.style(3, 6, ico);
    b.height(3, 14);
    b.ruleUnder(4, 1, 9, medium());

    CellStyle label = aligned(font(9, false, false, kLabelInk), HAlign::Left);
    CellStyle value = aligned(font(10, true), HAlign::Left);
    value.numFmt = QStringLiteral("@");
    value.bottom = thin(Color::fromRgb(0xBFBFBF));
    struct Line { int row; const char16_t *left; const char16_t *right; };
    const Line lines[] = {
        {6, u"Druh zařízení:", u"Číslo protokolu:"},
        {7, u"Provozovatel:", u"Datum revize:"},
        {8, u"Provoz:", u"Platnost do:"},
        {9, u"Umístění:", u"Evidenční číslo:"},
        {10, u"Typ / označení:", u"Výrobní číslo:"},
        {11, u"Výrobce:", u"Rok výroby:"},
        {12, u"Nosnost:", u"Skupina jeřábu:"},
        {13, u"Rozpětí (m):", u"Výška zdvihu (m):"},
        {14, u"Ovládání:", u"Druh pohonu:"},
    };
    for (const Line &l : lines) {
        b.height(l.row, 15);
        b.put(l.row, 1, QString::fromUtf16(l.left), label);
        b.merge(l.row, 1, l.row, 2);
        b.styleRange(l.row, 3, 5, value);
        b.merge(l.row, 3, l.row, 5);
        b.put(l.row, 6, QString::fromUtf16(l.right), aligned(label, HAlign::Right));
        b.merge(l.row, 6, l.row, 7);
        b.styleRange(l.row, 8, 9, value);
        b.merge(l.row, 8, l.row, 9);
    }
    b.ruleUnder(15, 1, 9, thin(kRule));
    b.put(16, 1, QStringLiteral("Obrázek zařízení:"), label);
    b.merge(16, 1, 16, 2);
    b.put(16, 6, QStringLiteral("Revize provedena podle ČSN ISO 9927-1 a průvodní dokumentace výrobce."),
          aligned(font(8, false, true, kLabelInk), HAlign::Left));
    writeWorkbook(b.book, xlsx);

    writeIni(ini, QStringLiteral(
        "; Popis šablony protokol1_: kam program zapisuje hodnoty revizního protokolu zdvihacího zařízení.\n"
        "; Adresa buňky: řádek,sloupec (12,3 = řádek 12, sloupec C). 0,0 nebo chybějící klíč = nezapisovat.\n"
        "; [TZZ] pole evidence zařízení, [ZZR] pole revize, [Ost] ostatní údaje.\n"
        "[TZZ]\n"
        "Typ_Zar=0,0\n"
        "Provozovatel=7,3\n"
        "Provoz=8,3\n"
        "Umisteni1=9,3\n"
        "Oznaceni=10,3\n"
        "Vyrobce=11,3\n"
        "Zakl_nosnost=12,3\n"
        "Rozpeti=13,3\n"
        "Ovladani=14,3\n"
        "Evid_C=9,8\n"
        "Vyr_C=10,8\n"
        "Rok_vyroby=11,8\n"
        "Skupina=12,8\n"
        "Vyska_Zdvihu=13,8\n"
        "Druh_Pohonu=14,8\n"
        "\n"
        "[Ost]\n"
        "Nadpis=1,3\n"
        "vDruh=6,3\n"
        "Obrazek1=17,1\n"
        "Obrazek2=1,1\n"
        "ICO=3,6\n"
        "Adresa=2,3\n"
        "; první řádek průběhu revize\n"
        "vRad=24\n"
        "\n"
        "[ZZR]\n"
        "CisZapisu=6,8\n"
        "Datum=7,8\n"
        "Platnost=8,8\n"));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Usage: %s <install folder>\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    root.mkpath(QStringLiteral("sablony"));
    root.mkpath(QStringLiteral("sablonyRev"));
    try {
        makeList(root.filePath(QStringLiteral("sablony/Seznam_x.xlsx")));
        makeProtocol(root.filePath(QStringLiteral("sablony/protokol1_.xlsx")),
                     root.filePath(QStringLiteral("sablony/protokol1_.ini")));
        makeSummary(root.filePath(QStringLiteral("sablonyRev/souhprot.xlsx")),
                    root.filePath(QStringLiteral("sablonyRev/souhprot.ini")));
    } catch (const XlsxError &e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
