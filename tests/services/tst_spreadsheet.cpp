// The spreadsheet interface: cell operations, formats, and what the user gets
// from Show, PreviewSheet and PrintSheet, with and without an office program.
#include "spreadsheet.h"
#include "xlsx/xlsxio.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::xlsx;

namespace {

class FakeDesktop : public SpreadsheetDesktop
{
public:
    bool canOpen = true;
    QStringList opened;
    QStringList messages;
    bool openFile(const QString &path) override
    {
        opened << path;
        return canOpen;
    }
    void inform(const QString &message) override { messages << message; }
};

// Stands in for LibreOffice: "converts" by writing a small PDF-named file.
class FakePdf : public PdfTools
{
public:
    bool present = true;
    bool failConversion = false;
    bool failPrint = false;
    mutable QStringList converted; // sheet names of the converted workbooks
    mutable QStringList printed;
    QString officeProgram() const override { return present ? QStringLiteral("/usr/bin/soffice") : QString(); }
    QString convertToPdf(const QString &xlsxPath, const QString &outDir) const override
    {
        if (failConversion)
            throw SpreadsheetError(QStringLiteral("Převod do PDF programem LibreOffice se nezdařil: chyba"));
        const Workbook wb = readWorkbook(xlsxPath);
        for (const Sheet &s : wb.sheets)
            converted << s.name;
        const QString pdf = QDir(outDir).filePath(QFileInfo(xlsxPath).completeBaseName() + QStringLiteral(".pdf"));
        QFile f(pdf);
        f.open(QIODevice::WriteOnly);
        f.write("%PDF-1.4\n");
        return pdf;
    }
    void printPdf(const QString &pdfPath) const override
    {
        if (failPrint)
            throw SpreadsheetError(QStringLiteral("Tisk se nezdařil: žádná tiskárna"));
        printed << pdfPath;
    }
};

} // namespace

class TestSpreadsheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void setCellKindsAndFormats();
    void wrappedRowHeight_data();
    void wrappedRowHeight();
    void formatCellFlags();
    void formatWholeRowAndColumn();
    void mergeAndInsertRow();
    void pictures();
    void operationsWithoutWorkbookAreRefused();
    void showHandsTheWorkbookOverOnce();
    void showWithoutAssociatedProgramTellsWhereTheFileIs();
    void previewOpensThePdfOnly();
    void printSendsOnlyTheChosenSheet();
    void withoutOfficeTheUserGetsMessageAndFile();
    void failedConversionKeepsTheDocument();
    void failedPrintOpensThePdf();
    void closeAndQuitRemovesTheScratchFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeDesktop m_desktop;
    FakePdf m_pdf;
    std::unique_ptr<ExportDoExcelu> m_ss;
};

void TestSpreadsheet::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_desktop = FakeDesktop{};
    m_pdf.present = true;
    m_pdf.failConversion = m_pdf.failPrint = false;
    m_pdf.converted.clear();
    m_pdf.printed.clear();
    m_ss = std::make_unique<ExportDoExcelu>(&m_desktop, &m_pdf);
    m_ss->setProgramFolder(m_dir->path());
    m_ss->setOutputFolder(m_dir->filePath(QStringLiteral("out")));
    m_ss->Connect();
    m_ss->OpenWorkbook(QString());
}

void TestSpreadsheet::setCellKindsAndFormats()
{
    ExportDoExcelu &ss = *m_ss;
    ss.SetCell(1, 1, QStringLiteral("0012"));
    ss.SetCellText(1, 2, QStringLiteral("007"));
    ss.SetCellBold(2, 1, QStringLiteral("tučně"));
    ss.SetCellItalic(2, 2, QStringLiteral("kurzíva"));
    ss.SetCellHeading(3, 1, QStringLiteral("Závěr:"));
    ss.SetCell(4, 1, CellValue::fromNumber(1650));
    ss.SetCell(4, 2, CellValue::fromDate(QDate(2024, 3, 15)));
    const QString path = m_dir->filePath(QStringLiteral("kinds.xlsx"));
    ss.SaveAs(path);
    const Workbook wb = readWorkbook(path);
    const Sheet &sh = wb.active();
    QCOMPARE(sh.cell(1, 1)->kind, Cell::Kind::String);
    QCOMPARE(sh.cell(1, 1)->text, QStringLiteral("0012"));
    QCOMPARE(wb.style(sh.cell(1, 2)->style).numFmt, QStringLiteral("@"));
    QCOMPARE(wb.style(sh.cell(1, 2)->style).hAlign, HAlign::Left);
    QVERIFY(wb.style(sh.cell(2, 1)->style).bold);
    QVERIFY(!wb.style(sh.cell(2, 1)->style).italic);
    QVERIFY(wb.style(sh.cell(2, 2)->style).italic);
    QVERIFY(wb.style(sh.cell(3, 1)->style).bold);
    QCOMPARE(wb.style(sh.cell(3, 1)->style).fontSize, 10.0);
    QCOMPARE(sh.cell(4, 1)->kind, Cell::Kind::Number);
    QCOMPARE(wb.displayText(0, 4, 2), QStringLiteral("15.3.2024"));
    QVERIFY_THROWS_EXCEPTION(SpreadsheetError, ss.SetCell(0, 1, QStringLiteral("x")));
}

void TestSpreadsheet::wrappedRowHeight_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("height"); // 0: row height untouched
    QTest::newRow("fits") << 100 << 100 << 0.0;
    QTest::newRow("just over") << 101 << 100 << 24.0;  // 12 x round(2.01)
    QTest::newRow("one and a half") << 150 << 100 << 36.0; // halves go up
    QTest::newRow("long") << 260 << 100 << 48.0;     // 12 x round(3.6)
    QTest::newRow("narrow") << 30 << 10 << 48.0;
}

void TestSpreadsheet::wrappedRowHeight()
{
    QFETCH(int, length);
    QFETCH(int, width);
    QFETCH(double, height);
    m_ss->SetCellWrapped(5, 1, width, QString(length, u'x'));
    const Sheet &sh = m_ss->workbook().active();
    const CellStyle &st = m_ss->workbook().style(sh.cell(5, 1)->style);
    QVERIFY(st.wrap);
    QCOMPARE(st.hAlign, HAlign::Left);
    const double actual = sh.rows.count(5) ? sh.rows.at(5).height : 0.0;
    QCOMPARE(actual, height);
}

void TestSpreadsheet::formatCellFlags()
{
    ExportDoExcelu &ss = *m_ss;
    ss.SetCell(2, 2, QStringLiteral("a"));
    ss.FormatCell(2, 2, BorderBottom | BorderLeft | BorderDiagonalDown, 6, 3);
    ss.MergeRange(QStringLiteral("C4:E4"));
    ss.FormatCell(4, 3, AlignCenter);
    ss.FormatCell(4, 6, BorderTop);
    const Workbook &wb = ss.workbook();
    const CellStyle &a = wb.style(wb.active().cell(2, 2)->style);
    QCOMPARE(a.bottom.style, BorderStyle::Thin);
    QCOMPARE(a.bottom.color.rgb, QStringLiteral("FFFF0000")); // colour index 3
    QCOMPARE(a.left.style, BorderStyle::Thin);
    QCOMPARE(a.top.style, BorderStyle::None);
    QCOMPARE(a.right.style, BorderStyle::None);
    QVERIFY(a.diagonalDown && !a.diagonalUp);
    QCOMPARE(a.fill.rgb, QStringLiteral("FFFFFF00")); // fill index 6
    QCOMPARE(wb.displayText(0, 2, 2), QStringLiteral("a"));
    const CellStyle &c = wb.style(wb.active().cell(4, 3)->style);
    QCOMPARE(c.hAlign, HAlign::Center);
    QCOMPARE(c.vAlign, VAlign::Bottom);
    QVERIFY(!c.wrap);
    QVERIFY(!wb.active().mergeAt(4, 4)); // alignment undoes the merge
    QCOMPARE(wb.style(wb.active().cell(4, 6)->style).top.color.isSet(), false); // automatic colour
}

void TestSpreadsheet::formatWholeRowAndColumn()
{
    ExportDoExcelu &ss = *m_ss;
    ss.SetCell(3, 1, QStringLiteral("a"));
    ss.SetCell(3, 9, QStringLiteral("i"));
    ss.SetCell(4, 2, QStringLiteral("b"));
    ss.FormatCell(3, 0, BorderBottom);
    ss.FormatCell(0, 2, AlignRight);
    const Workbook &wb = ss.workbook();
    const Sheet &sh = wb.active();
    QCOMPARE(wb.style(sh.cell(3, 1)->style).bottom.style, BorderStyle::Thin);
    QCOMPARE(wb.style(sh.cell(3, 9)->style).bottom.style, BorderStyle::Thin);
    QCOMPARE(wb.style(sh.rows.at(3).style).bottom.style, BorderStyle::Thin);
    QCOMPARE(wb.style(sh.cell(4, 2)->style).bottom.style, BorderStyle::None);
    QCOMPARE(wb.style(sh.cell(4, 2)->style).hAlign, HAlign::Right);
    QCOMPARE(wb.style(sh.columns.at(2).style).hAlign, HAlign::Right);
    // Row and column formats survive the file.
    const QString path = m_dir->filePath(QStringLiteral("rowcol.xlsx"));
    ss.SaveAs(path);
    const Workbook rb = readWorkbook(path);
    QCOMPARE(rb.style(rb.active().rows.at(3).style).bottom.style, BorderStyle::Thin);
    QCOMPARE(rb.style(rb.active().columns.at(2).style).hAlign, HAlign::Right);
}

void TestSpreadsheet::mergeAndInsertRow()
{
    ExportDoExcelu &ss = *m_ss;
    ss.SetCell(5, 1, QStringLiteral("řádek 5"));
    ss.MergeRange(QStringLiteral("A5:H5"));
    ss.MergeRange(QStringLiteral("A7:C7"));
    ss.MergeRange(QStringLiteral("B7:D8")); // overlapping: replaces A7:C7
    QVERIFY_THROWS_EXCEPTION(SpreadsheetError, ss.MergeRange(QStringLiteral("A5-H5")));
    ss.InsertRow(5);
    const Sheet &sh = ss.workbook().active();
    QCOMPARE(ss.workbook().displayText(0, 6, 1), QStringLiteral("řádek 5"));
    QCOMPARE(sh.merges.size(), size_t(2));
    QVERIFY(sh.mergeAt(6, 8));
    QVERIFY(!sh.mergeAt(5, 2));
    QVERIFY(sh.mergeAt(9, 4));
    QVERIFY(!sh.mergeAt(8, 1));
}

void TestSpreadsheet::pictures()
{
    QImage img(400, 200, QImage::Format_RGB32);
    img.fill(Qt::blue);
    const QString bmp = m_dir->filePath(QStringLiteral("Logox.bmp"));
    QVERIFY(img.save(bmp, "BMP"));
    QVERIFY(m_ss->InsertPicture(1, 1, bmp));
    QVERIFY(m_ss->InsertPicture(20, 2, bmp, 0, 30));
    QVERIFY(!m_ss->InsertPicture(1, 1, m_dir->filePath(QStringLiteral("Pomzz.bmp"))));
    QFile junk(m_dir->filePath(QStringLiteral("junk.bmp")));
    junk.open(QIODevice::WriteOnly);
    junk.write("not a picture");
    junk.close();
    QVERIFY(!m_ss->InsertPicture(1, 1, junk.fileName()));
    const QString path = m_dir->filePath(QStringLiteral("pic.xlsx"));
    m_ss->SaveAs(path);
    const Workbook wb = readWorkbook(path);
    const auto &pics = wb.active().pictures;
    QCOMPARE(pics.size(), size_t(2));
    QCOMPARE(pics[0].widthEmu, qint64(400 * 9525)); // 96 dpi
    QCOMPARE(pics[0].extension, QStringLiteral("png")); // a BMP goes in as PNG
    QVERIFY(QImage::fromData(pics[0].data).size() == QSize(400, 200));
    QCOMPARE(pics[1].row, 20);
    QCOMPARE(pics[1].heightEmu, qint64(30 * 12700));
    QCOMPARE(pics[1].widthEmu, qint64(60 * 12700)); // aspect kept
}

void TestSpreadsheet::operationsWithoutWorkbookAreRefused()
{
    ExportDoExcelu ss(&m_desktop, &m_pdf);
    ss.Connect();
    try {
        ss.SetCell(1, 1, QStringLiteral("x"));
        QFAIL("write without a workbook");
    } catch (const SpreadsheetError &e) {
        QCOMPARE(e.message(), QStringLiteral("Není otevřen žádný sešit."));
    }
}

void TestSpreadsheet::showHandsTheWorkbookOverOnce()
{
    m_ss->SetCell(1, 1, QStringLiteral("před Show"));
    m_ss->Show();
    const QString shown = m_ss->shownFile();
    QVERIFY(QFileInfo::exists(shown));
    QVERIFY(m_desktop.opened.isEmpty());
    m_ss->Release();
    QCOMPARE(m_desktop.opened, QStringList{shown});
    QVERIFY(m_desktop.messages.isEmpty());
    QCOMPARE(readWorkbook(shown).displayText(0, 1, 1), QStringLiteral("před Show"));
    QVERIFY(!m_ss->isOpen());
    m_ss->Release(); // a second Release does nothing
    QCOMPARE(m_desktop.opened.size(), 1);
}

void TestSpreadsheet::showWithoutAssociatedProgramTellsWhereTheFileIs()
{
    m_desktop.canOpen = false;
    m_ss->Show();
    m_ss->Release();
    QCOMPARE(m_desktop.messages.size(), 1);
    QVERIFY(m_desktop.messages[0].contains(QStringLiteral("nepodařilo se jej otevřít")));
    QVERIFY(m_desktop.messages[0].contains(QDir::toNativeSeparators(m_ss->shownFile())));
    QVERIFY(QFileInfo::exists(m_ss->shownFile()));
}

void TestSpreadsheet::previewOpensThePdfOnly()
{
    m_ss->SetCell(1, 1, QStringLiteral("protokol"));
    m_ss->ProtectSheet(1);
    m_ss->Show();
    QVERIFY(m_ss->PreviewSheet(1));
    m_ss->CloseAndQuit(QStringLiteral("sablony\\protokol1_1.xls"));
    m_ss->Release();
    QCOMPARE(m_desktop.opened.size(), 1);
    QVERIFY(m_desktop.opened[0].endsWith(QStringLiteral(".pdf")));
    QVERIFY(QFileInfo::exists(m_desktop.opened[0]));
    QVERIFY(m_desktop.messages.isEmpty());
    QVERIFY(m_pdf.printed.isEmpty());
}

void TestSpreadsheet::printSendsOnlyTheChosenSheet()
{
    Sheet second;
    second.name = QStringLiteral("Druhý");
    m_ss->workbook().sheets.push_back(second);
    QVERIFY(m_ss->PrintSheet(2));
    QCOMPARE(m_pdf.converted, QStringList{QStringLiteral("Druhý")});
    QCOMPARE(m_pdf.printed.size(), 1);
    QVERIFY(m_desktop.opened.isEmpty());
    QVERIFY_THROWS_EXCEPTION(SpreadsheetError, m_ss->PrintSheet(3));
}

void TestSpreadsheet::withoutOfficeTheUserGetsMessageAndFile()
{
    m_pdf.present = false;
    m_ss->SetCell(2, 3, QStringLiteral("obsah"));
    m_ss->Show();
    QVERIFY(!m_ss->PrintSheet(1));
    m_ss->CloseAndQuit(QStringLiteral("sablony\\protokol1_1.xls"));
    m_ss->Release();
    QCOMPARE(m_desktop.messages.size(), 1);
    const QString msg = m_desktop.messages[0];
    QVERIFY2(msg.contains(QStringLiteral("LibreOffice")), qPrintable(msg));
    QCOMPARE(m_desktop.opened.size(), 1); // the saved workbook, nothing else
    const QString kept = m_desktop.opened[0];
    QVERIFY(msg.contains(QDir::toNativeSeparators(kept)));
    QCOMPARE(readWorkbook(kept).displayText(0, 2, 3), QStringLiteral("obsah"));
}

void TestSpreadsheet::failedConversionKeepsTheDocument()
{
    m_pdf.failConversion = true;
    m_ss->SetCell(1, 1, QStringLiteral("obsah"));
    QVERIFY(!m_ss->PreviewSheet(1));
    QCOMPARE(m_desktop.messages.size(), 1);
    QVERIFY(m_desktop.messages[0].contains(QStringLiteral("se nezdařil")));
    QCOMPARE(m_desktop.opened.size(), 1);
    QCOMPARE(readWorkbook(m_desktop.opened[0]).displayText(0, 1, 1), QStringLiteral("obsah"));
}

void TestSpreadsheet::failedPrintOpensThePdf()
{
    m_pdf.failPrint = true;
    QVERIFY(!m_ss->PrintSheet(1));
    QCOMPARE(m_desktop.messages.size(), 1);
    QVERIFY(m_desktop.messages[0].contains(QStringLiteral("Tisk se nezdařil")));
    QCOMPARE(m_desktop.opened.size(), 1);
    QVERIFY(m_desktop.opened[0].endsWith(QStringLiteral(".pdf")));
}

void TestSpreadsheet::closeAndQuitRemovesTheScratchFile()
{
    QDir(m_dir->path()).mkpath(QStringLiteral("sablony"));
    const QString left = m_dir->filePath(QStringLiteral("sablony/protokol1_1.xls"));
    QFile f(left);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    m_ss->CloseAndQuit(QStringLiteral("sablony\\protokol1_1.xls"));
    QVERIFY(!QFileInfo::exists(left));
    QVERIFY(!m_ss->isOpen());
}

QTEST_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
