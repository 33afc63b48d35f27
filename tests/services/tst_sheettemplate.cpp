// Template description files, finding templates, and the description-driven
// data lines of the summary protocol on the installed template.
#include "codepage.h"
#include "sheettemplate.h"
#include "spreadsheet.h"
#include "xlsx/xlsxio.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using tz::xlsx::CellValue;

class TestSheetTemplate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellAddresses_data();
    void cellAddresses();
    void badCellAddressesAreReported_data();
    void badCellAddressesAreReported();
    void numbersAndTexts();
    void fileSyntax();
    void findsTemplatesWithOrWithoutExtension();
    void summaryWithoutDataRowsWritesHeaderOnly();
    void summaryLinesShiftTheTotalRow();
    void summaryWithTwoFilesReadBack();
};

void TestSheetTemplate::cellAddresses_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("missing key") << QString() << 0 << 0;
    QTest::newRow("0,0") << "datum=0,0" << 0 << 0;
    QTest::newRow("12,3") << "datum=12,3" << 12 << 3;
    QTest::newRow("spaces") << "datum = 12 , 3 " << 12 << 3;
    QTest::newRow("third part ignored") << "datum=12,3,9" << 12 << 3;
    QTest::newRow("row 0 places nothing") << "datum=0,3" << 0 << 0;
    QTest::newRow("key in other case") << "DATUM=4,9" << 4 << 9;
}

void TestSheetTemplate::cellAddresses()
{
    QFETCH(QString, line);
    QFETCH(int, row);
    QFETCH(int, col);
    const auto d = TemplateDescription::fromBytes(encode(QStringLiteral("[Souhprot]\nfirma=4,2\n") + line + u'\n'));
    const CellAddress a = d.cell(QStringLiteral("souhprot"), QStringLiteral("datum"));
    QCOMPARE(a.row, row);
    QCOMPARE(a.col, col);
    QCOMPARE(a.placed(), row > 0);
}

void TestSheetTemplate::badCellAddressesAreReported_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("semicolon") << "12;3";
    QTest::newRow("one number") << "12";
    QTest::newRow("empty column") << "12,";
    QTest::newRow("letters") << "B12";
    QTest::newRow("negative") << "-1,3";
    QTest::newRow("decimal") << "12,3.5";
    QTest::newRow("empty value") << "";
}

void TestSheetTemplate::badCellAddressesAreReported()
{
    QFETCH(QString, value);
    const auto d = TemplateDescription::fromBytes(encode(QStringLiteral("[souhprot]\ndatum=") + value + u'\n'),
                                                  QStringLiteral("/x/souhprot.ini"));
    try {
        d.cell(QStringLiteral("souhprot"), QStringLiteral("datum"));
        QFAIL("no error for a bad address");
    } catch (const TemplateError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("souhprot.ini")), qPrintable(e.message()));
        QVERIFY(e.message().contains(QStringLiteral("[souhprot]")));
        QVERIFY(e.message().contains(QStringLiteral("není adresa buňky")));
    }
}

void TestSheetTemplate::numbersAndTexts()
{
    const auto d = TemplateDescription::fromBytes(encode(QStringLiteral(
        "[browser]\nXROW=7\nevid_c=1\nprazdny=\nzle=sedm\n[sloupce]\ns1=Vyhovuje – žádné závady\n")));
    QCOMPARE(d.number(QStringLiteral("browser"), QStringLiteral("xrow"), 0), 7);
    QCOMPARE(d.number(QStringLiteral("browser"), QStringLiteral("oznaceni"), 0), 0);
    QCOMPARE(d.number(QStringLiteral("sloupce"), QStringLiteral("XPOL"), 1), 1);
    QCOMPARE(d.number(QStringLiteral("browser"), QStringLiteral("prazdny"), 5), 5);
    QVERIFY_THROWS_EXCEPTION(TemplateError, d.number(QStringLiteral("browser"), QStringLiteral("zle"), 0));
    // Windows-1250 text comes through unchanged.
    QCOMPARE(d.text(QStringLiteral("sloupce"), QStringLiteral("S1")), QStringLiteral("Vyhovuje – žádné závady"));
}

void TestSheetTemplate::fileSyntax()
{
    const QByteArray bytes = encode(QStringLiteral(
        "; poznámka\r\n[TZZ]\r\nEvid_C=9,8\r\nevid_c=1,1\r\n\r\n[Ost]\r\nNadpis=\"1,3\"\r\n[tzz]\r\nVyr_C=10,8\r\n"));
    const auto d = TemplateDescription::fromBytes(bytes);
    QCOMPARE(d.cell(QStringLiteral("TZZ"), QStringLiteral("EVID_C")), (CellAddress{9, 8})); // first one counts
    QCOMPARE(d.cell(QStringLiteral("ost"), QStringLiteral("nadpis")), (CellAddress{1, 3}));
    QCOMPARE(d.cell(QStringLiteral("TZZ"), QStringLiteral("Vyr_C")), (CellAddress{10, 8})); // repeated section joins
    QCOMPARE(d.keys(QStringLiteral("tzz")), (QStringList{QStringLiteral("Evid_C"), QStringLiteral("Vyr_C")}));
    QVERIFY_THROWS_EXCEPTION(TemplateError, TemplateDescription::load(QStringLiteral("/neexistuje/souhprot.ini")));
}

void TestSheetTemplate::findsTemplatesWithOrWithoutExtension()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("SABLONY"));
    QDir(dir.path()).mkpath(QStringLiteral("sablonyRev"));
    auto touch = [&](const QString &rel) {
        QFile f(dir.filePath(rel));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("PK");
    };
    touch(QStringLiteral("SABLONY/Seznam_x.xlsx"));
    touch(QStringLiteral("sablonyRev/souhprot"));
    touch(QStringLiteral("sablonyRev/souhprot.INI"));
    QCOMPARE(findTemplateWorkbook(dir.path(), QStringLiteral("sablony\\Seznam_x")),
             dir.filePath(QStringLiteral("SABLONY/Seznam_x.xlsx")));
    QCOMPARE(findTemplateWorkbook(dir.path(), QStringLiteral("sablonyRev\\souhprot")),
             dir.filePath(QStringLiteral("sablonyRev/souhprot")));
    QCOMPARE(findTemplateFile(dir.path(), QStringLiteral("sablonyrev\\souhprot.ini")),
             dir.filePath(QStringLiteral("sablonyRev/souhprot.INI")));
    QCOMPARE(findTemplateWorkbook(dir.path(), QStringLiteral("sablony\\protokol1_")), QString());
    QCOMPARE(findTemplateWorkbook(dir.path(), QStringLiteral("chybi\\Seznam_x")), QString());

    // An old binary workbook is refused with advice, not misread.
    QFile old(dir.filePath(QStringLiteral("SABLONY/protokol1_.xls")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    old.close();
    ExportDoExcelu ss;
    ss.setProgramFolder(dir.path());
    ss.Connect();
    try {
        ss.OpenWorkbook(QStringLiteral("sablony\\protokol1_"));
        QFAIL("old format accepted");
    } catch (const SpreadsheetError &e) {
        QVERIFY(e.message().contains(QStringLiteral("starém formátu XLS")));
    }
    try {
        ss.OpenWorkbook(QStringLiteral("sablony\\chybi"));
        QFAIL("missing template accepted");
    } catch (const SpreadsheetError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("sablony/chybi")), qPrintable(e.message()));
        QVERIFY(e.message().contains(QStringLiteral("nebyla nalezena")));
    }
}

namespace {
TemplateDescription installedSummaryDescription(const QString &extra = {})
{
    QFile f(QStringLiteral(TAVOZZ_INSTALL_DIR "/sablonyRev/souhprot.ini"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = f.readAll();
    if (!extra.isEmpty())
        bytes = encode(extra) + bytes; // earlier keys win
    return TemplateDescription::fromBytes(bytes, QStringLiteral("souhprot.ini"));
}

std::vector<DescribedRecord> twoChains()
{
    return {
        {{QStringLiteral("EVID_C"), CellValue::fromText(QStringLiteral("0012"))},
         {QStringLiteral("oznaceni"), CellValue::fromText(QStringLiteral("Řetěz 2-pramenný"))},
         {QStringLiteral("vysledek"), CellValue::fromText(QStringLiteral("Vyhovuje"))},
         {QStringLiteral("CenaRev"), CellValue::fromNumber(450)},
         {QStringLiteral("nepouzito"), CellValue::fromText(QStringLiteral("x"))}},
        {{QStringLiteral("evid_c"), CellValue::fromText(QStringLiteral("0013"))},
         {QStringLiteral("vysledek"), CellValue::fromText(QStringLiteral("Nevyhovuje"))},
         {QStringLiteral("cenarev"), CellValue::fromText(QStringLiteral("1200"))}},
        {{QStringLiteral("evid_c"), CellValue::fromText(QStringLiteral("0014"))},
         {QStringLiteral("cenarev"), CellValue::fromText(QString())}},
        {{QStringLiteral("evid_c"), CellValue::fromText(QStringLiteral("0015"))},
         {QStringLiteral("cenarev"), CellValue::fromNumber(0)}},
    };
}

void writeHeader(ExportDoExcelu &ss, const TemplateDescription &d)
{
    QVERIFY(placeValue(ss, d, QStringLiteral("souhprot"), QStringLiteral("firma"),
                       CellValue::fromText(QStringLiteral("Strojírny A&B s.r.o."))));
    placeValue(ss, d, QStringLiteral("souhprot"), QStringLiteral("datum"), CellValue::fromText(QStringLiteral("15.3.2024")));
    QVERIFY(!placeValue(ss, d, QStringLiteral("souhprot"), QStringLiteral("neni"), CellValue::fromText(QStringLiteral("x"))));
}
} // namespace

void TestSheetTemplate::summaryWithoutDataRowsWritesHeaderOnly()
{
    const auto d = installedSummaryDescription(QStringLiteral("[browser]\nXROW=0\n"));
    ExportDoExcelu ss;
    ss.setProgramFolder(QStringLiteral(TAVOZZ_INSTALL_DIR));
    ss.Connect();
    ss.OpenWorkbook(QStringLiteral("sablonyRev\\souhprot"));
    const auto before = ss.workbook().active().cells.size();
    writeHeader(ss, d);
    QCOMPARE(writeDescribedLines(ss, d, twoChains()), 0);
    const auto &wb = ss.workbook();
    QCOMPARE(wb.displayText(0, 4, 2), QStringLiteral("Strojírny A&B s.r.o."));
    QCOMPARE(wb.displayText(0, 4, 9), QStringLiteral("15.3.2024"));
    QCOMPARE(wb.displayText(0, 7, 1), QString());
    QCOMPARE(wb.displayText(0, 8, 8), QStringLiteral("Celkem (Kč):"));
    QCOMPARE(wb.displayText(0, 8, 10), QString());
    QCOMPARE(wb.active().cells.size(), before); // the header cells already existed in the template
}

void TestSheetTemplate::summaryLinesShiftTheTotalRow()
{
    const auto d = installedSummaryDescription(QStringLiteral("[souhprot]\ndatum=0,0\n[sloupce]\nXPOL=3\ns3=ks\n"));
    ExportDoExcelu ss;
    ss.setProgramFolder(QStringLiteral(TAVOZZ_INSTALL_DIR));
    ss.Connect();
    ss.OpenWorkbook(QStringLiteral("sablonyRev\\souhprot"));
    writeHeader(ss, d);
    const auto records = twoChains();
    const int totalRow = writeDescribedLines(ss, d, records);
    const auto &wb = ss.workbook();
    const auto &sh = wb.active();
    // Data from row 7, one row per record, then the inserted empty row, then
    // the template's total row (8) pushed down by four.
    QCOMPARE(totalRow, 12);
    QCOMPARE(wb.displayText(0, 4, 9), QString()); // "0,0" writes no date
    QCOMPARE(wb.displayText(0, 7, 1), QStringLiteral("0012"));
    QCOMPARE(sh.cell(7, 1)->kind, tz::xlsx::Cell::Kind::String);
    QCOMPARE(wb.displayText(0, 7, 2), QStringLiteral("Řetěz 2-pramenný"));
    QCOMPARE(wb.displayText(0, 8, 7), QStringLiteral("Nevyhovuje"));
    QCOMPARE(wb.displayText(0, 10, 1), QStringLiteral("0015"));
    QCOMPARE(wb.displayText(0, 7, 3), QStringLiteral("ks"));
    QCOMPARE(wb.displayText(0, 10, 3), QStringLiteral("ks"));
    QCOMPARE(wb.displayText(0, 11, 1), QString());
    QCOMPARE(wb.displayText(0, 12, 8), QStringLiteral("Celkem (Kč):"));
    QCOMPARE(wb.displayText(0, 12, 10), QStringLiteral("1650"));
    QCOMPARE(sh.cell(12, 10)->kind, tz::xlsx::Cell::Kind::Number);
    QCOMPARE(wb.style(sh.cell(12, 10)->style).numFmt, QStringLiteral("#,##0")); // the template's format stays
    QVERIFY(wb.style(sh.cell(12, 10)->style).bold);
    // Data rows keep the template's borders; the total label's merge moved with it.
    QCOMPARE(wb.style(sh.cell(10, 4)->style).left.style, tz::xlsx::BorderStyle::Thin);
    QVERIFY(sh.mergeAt(12, 9));
    QVERIFY(!sh.mergeAt(8, 9));
    QCOMPARE(wb.displayText(0, 19, 8), QStringLiteral("převzal (podpis, razítko)"));
}

void TestSheetTemplate::summaryWithTwoFilesReadBack()
{
    // The filled document, written and read again, has the values where they were put.
    const auto d = installedSummaryDescription();
    ExportDoExcelu ss;
    ss.setProgramFolder(QStringLiteral(TAVOZZ_INSTALL_DIR));
    ss.Connect();
    ss.OpenWorkbook(QStringLiteral("sablonyRev\\souhprot"));
    writeHeader(ss, d);
    writeDescribedLines(ss, d, twoChains());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("souhrn.xlsx"));
    ss.SaveAs(path);
    const auto wb = tz::xlsx::readWorkbook(path);
    QCOMPARE(wb.displayText(0, 4, 9), QStringLiteral("15.3.2024"));
    QCOMPARE(wb.displayText(0, 8, 1), QStringLiteral("0013"));
    QCOMPARE(wb.displayText(0, 12, 10), QStringLiteral("1650"));
    QCOMPARE(wb.active().merges.size(), ss.workbook().active().merges.size());
}

QTEST_GUILESS_MAIN(TestSheetTemplate)
#include "tst_sheettemplate.moc"
