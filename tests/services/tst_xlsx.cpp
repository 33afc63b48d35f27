// The workbook layer: what is written reads back the same, inserted rows move
// everything below them, foreign workbooks (written by LibreOffice) read.
#include "xlsx/xlsxio.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz::xlsx;

class TestXlsx : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsValuesAndFormats();
    void roundTripOfAwkwardTexts_data();
    void roundTripOfAwkwardTexts();
    void shiftFormulaRows_data();
    void shiftFormulaRows();
    void insertRowsMovesEverythingBelow();
    void insertRowsUpdatesOtherSheetsAndNames();
    void readsWorkbookWrittenByLibreOffice();
    void readsHandWrittenWorkbook();
    void translateFormula_data();
    void translateFormula();
    void badFilesGiveCzechMessages();
    void failedSaveKeepsTheOldFile();
    void protectionPasswordHash();

private:
    QTemporaryDir m_dir;
};

void TestXlsx::roundTripKeepsValuesAndFormats()
{
    Workbook wb;
    Sheet &sh = wb.active();
    sh.name = QStringLiteral("Seznam č. 1");
    wb.setValue(0, 1, 1, CellValue::fromText(QStringLiteral("0012")));
    wb.setValue(0, 1, 2, CellValue::fromNumber(1650));
    wb.setValue(0, 1, 3, CellValue::fromDate(QDate(2024, 2, 29)));
    wb.setValue(0, 1, 4, CellValue::fromBool(true));
    wb.setValue(0, 2, 1, CellValue::fromNumber(2.5, QStringLiteral("0.00")));
    Cell &f = sh.cellAt(3, 2);
    f.formula = QStringLiteral("SUM(B1:B2)");
    f.kind = Cell::Kind::Number;
    f.number = 1652.5;

    CellStyle st;
    st.bold = true;
    st.italic = true;
    st.fontSize = 14;
    st.fill = Color::fromColorIndex(6);
    st.bottom = {BorderStyle::Thin, Color::fromColorIndex(3)};
    st.diagonal = {BorderStyle::Thin, {}};
    st.diagonalUp = true;
    st.hAlign = HAlign::Center;
    st.vAlign = VAlign::Bottom;
    st.wrap = true;
    st.numFmt = QStringLiteral("@");
    sh.cellAt(4, 3).style = wb.styleIndex(st);
    wb.setValue(0, 4, 3, CellValue::fromText(QStringLiteral("formátovaná")));

    sh.merges.push_back(Range{5, 1, 5, 8});
    sh.columns[2].width = 22.5;
    sh.rows[4].height = 36;
    sh.page.landscape = true;
    sh.page.oddHeader = QStringLiteral("&LA&&B s.r.o.&C &R1.2.2024");
    sh.page.oddFooter = QStringLiteral("&L&8Seznam&C&8&P/&N&R&8Zpracováno programem TAVOzz&10");
    sh.protection = {true, legacyPasswordHash(QStringLiteral("6043"))};
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    sh.pictures.push_back(Picture{7, 2, 40 * 9525, 20 * 9525, png, QStringLiteral("png"), QStringLiteral("logo")});

    const QString path = m_dir.filePath(QStringLiteral("roundtrip.xlsx"));
    writeWorkbook(wb, path);
    const Workbook rb = readWorkbook(path);
    const Sheet &r = rb.active();

    QCOMPARE(r.name, QStringLiteral("Seznam č. 1"));
    QCOMPARE(r.cell(1, 1)->kind, Cell::Kind::String);
    QCOMPARE(r.cell(1, 1)->text, QStringLiteral("0012"));
    QCOMPARE(r.cell(1, 2)->number, 1650.0);
    QCOMPARE(rb.displayText(0, 1, 3), QStringLiteral("29.2.2024"));
    QCOMPARE(r.cell(1, 4)->kind, Cell::Kind::Bool);
    QCOMPARE(rb.style(r.cell(2, 1)->style).numFmt, QStringLiteral("0.00"));
    QCOMPARE(r.cell(3, 2)->formula, QStringLiteral("SUM(B1:B2)"));
    QCOMPARE(r.cell(3, 2)->number, 1652.5);

    const CellStyle &rs = rb.style(r.cell(4, 3)->style);
    QVERIFY(rs.bold && rs.italic && rs.wrap && rs.diagonalUp);
    QCOMPARE(rs.fontSize, 14.0);
    QCOMPARE(rs.fill.rgb, QStringLiteral("FFFFFF00"));
    QCOMPARE(rs.bottom.style, BorderStyle::Thin);
    QCOMPARE(rs.bottom.color.rgb, QStringLiteral("FFFF0000"));
    QCOMPARE(rs.hAlign, HAlign::Center);
    QCOMPARE(rs.vAlign, VAlign::Bottom);
    QCOMPARE(rs.numFmt, QStringLiteral("@"));
    QCOMPARE(r.cell(4, 3)->text, QStringLiteral("formátovaná"));

    QCOMPARE(r.merges.size(), size_t(1));
    QCOMPARE(r.merges[0], (Range{5, 1, 5, 8}));
    QCOMPARE(r.columns.at(2).width, 22.5);
    QCOMPARE(r.rows.at(4).height, 36.0);
    QVERIFY(r.page.landscape);
    QCOMPARE(r.page.oddHeader, sh.page.oddHeader);
    QCOMPARE(r.page.oddFooter, sh.page.oddFooter);
    QVERIFY(r.protection.enabled);
    QCOMPARE(r.protection.passwordHash, sh.protection.passwordHash);
    QCOMPARE(r.pictures.size(), size_t(1));
    QCOMPARE(r.pictures[0].row, 7);
    QCOMPARE(r.pictures[0].col, 2);
    QCOMPARE(r.pictures[0].widthEmu, qint64(40 * 9525));
    QCOMPARE(r.pictures[0].data, png);
}

void TestXlsx::roundTripOfAwkwardTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("leading zeros") << QStringLiteral("000123");
    QTest::newRow("looks like a date") << QStringLiteral("1/5");
    QTest::newRow("leading and trailing spaces") << QStringLiteral("  odsazeno  ");
    QTest::newRow("line break") << QStringLiteral("první\ndruhý");
    QTest::newRow("control character") << QStringLiteral("a") + QChar(0x0B) + QStringLiteral("b");
    QTest::newRow("literal escape form") << QStringLiteral("_x0041_ zůstane");
    QTest::newRow("markup characters") << QStringLiteral("<500 kg & \"víc\"");
    QTest::newRow("formula-like") << QStringLiteral("=A1+1");
}

void TestXlsx::roundTripOfAwkwardTexts()
{
    QFETCH(QString, text);
    Workbook wb;
    wb.setValue(0, 2, 2, CellValue::fromText(text));
    wb.active().page.oddHeader = QStringLiteral("&L") + text;
    const QString path = m_dir.filePath(QStringLiteral("texts.xlsx"));
    writeWorkbook(wb, path);
    const Workbook rb = readWorkbook(path);
    QCOMPARE(rb.active().cell(2, 2)->kind, Cell::Kind::String);
    QCOMPARE(rb.active().cell(2, 2)->text, text);
    QVERIFY(rb.active().cell(2, 2)->formula.isEmpty());
    QCOMPARE(rb.active().page.oddHeader, QStringLiteral("&L") + text);
}

void TestXlsx::shiftFormulaRows_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("expected");
    // Inserting one row before row 5 of sheet "List1".
    QTest::newRow("below") << "A5*2" << "A6*2";
    QTest::newRow("above") << "A4*2" << "A4*2";
    QTest::newRow("absolute") << "$B$7+B$9" << "$B$8+B$10";
    QTest::newRow("range spanning") << "SUM(C2:C5)" << "SUM(C2:C6)";
    QTest::newRow("range above") << "SUM(C1:C4)" << "SUM(C1:C4)";
    QTest::newRow("function name looks like a cell") << "LOG10(A10)" << "LOG10(A11)";
    QTest::newRow("string literal") << "\"A5\"&A5" << "\"A5\"&A6";
    QTest::newRow("own sheet qualified") << "List1!A7" << "List1!A8";
    QTest::newRow("other sheet") << "Data!A7+A7" << "Data!A7+A8";
    QTest::newRow("quoted other sheet") << "'Jiný list'!A7:B9" << "'Jiný list'!A7:B9";
    QTest::newRow("row range") << "SUM(5:6)" << "SUM(6:7)";
    QTest::newRow("number is not a row") << "A1*5" << "A1*5";
    QTest::newRow("decimal number") << "A6*1.5" << "A7*1.5";
}

void TestXlsx::shiftFormulaRows()
{
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    QCOMPARE(tz::xlsx::shiftFormulaRows(formula, 5, 1, QStringLiteral("List1")), expected);
}

void TestXlsx::insertRowsMovesEverythingBelow()
{
    Workbook wb;
    Sheet &sh = wb.active();
    CellStyle data;
    data.bottom = {BorderStyle::Thin, {}};
    const int dataStyle = wb.styleIndex(data);
    wb.setValue(0, 3, 1, CellValue::fromText(QStringLiteral("nad")));
    sh.cellAt(4, 1).style = dataStyle;
    sh.cellAt(4, 2).style = dataStyle;
    wb.setValue(0, 4, 1, CellValue::fromText(QStringLiteral("data")));
    sh.rows[4].height = 20;
    wb.setValue(0, 5, 1, CellValue::fromText(QStringLiteral("Celkem")));
    Cell &total = sh.cellAt(5, 2);
    total.formula = QStringLiteral("SUM(B4:B4)");
    sh.merges.push_back(Range{1, 1, 1, 3}); // above
    sh.merges.push_back(Range{4, 3, 6, 3}); // spans the insertion row
    sh.merges.push_back(Range{5, 4, 5, 6}); // below
    sh.pictures.push_back(Picture{7, 1, 10, 10, QByteArray("x"), QStringLiteral("png"), {}});

    wb.insertRows(0, 5, 2);

    QCOMPARE(wb.displayText(0, 3, 1), QStringLiteral("nad"));
    QCOMPARE(wb.displayText(0, 4, 1), QStringLiteral("data"));
    QCOMPARE(wb.displayText(0, 5, 1), QString());
    QCOMPARE(wb.displayText(0, 7, 1), QStringLiteral("Celkem"));
    QCOMPARE(sh.cell(7, 2)->formula, QStringLiteral("SUM(B4:B4)"));
    // New rows take the formats and height of the row above.
    QCOMPARE(sh.cell(5, 1)->style, dataStyle);
    QCOMPARE(sh.cell(6, 2)->style, dataStyle);
    QVERIFY(!sh.cell(5, 1)->hasValue());
    QCOMPARE(sh.rows.at(6).height, 20.0);
    QCOMPARE(sh.merges[0], (Range{1, 1, 1, 3}));
    QCOMPARE(sh.merges[1], (Range{4, 3, 8, 3}));
    QCOMPARE(sh.merges[2], (Range{7, 4, 7, 6}));
    QCOMPARE(sh.pictures[0].row, 9);
}

void TestXlsx::insertRowsUpdatesOtherSheetsAndNames()
{
    Workbook wb;
    Sheet second;
    second.name = QStringLiteral("Souhrn");
    Cell ref;
    ref.formula = QStringLiteral("List1!B5+B5");
    second.cells[CellRef{1, 1}] = ref;
    wb.sheets.push_back(second);
    wb.definedNames.emplace_back(QStringLiteral("0|_xlnm.Print_Area"), QStringLiteral("List1!$A$1:$I$60"));
    wb.insertRows(0, 3, 1);
    QCOMPARE(wb.sheets[1].cell(1, 1)->formula, QStringLiteral("List1!B6+B5"));
    QCOMPARE(wb.definedNames[0].second, QStringLiteral("List1!$A$1:$I$61"));
}

void TestXlsx::readsWorkbookWrittenByLibreOffice()
{
    // souhprot.xlsx as LibreOffice Calc saves it: its own styles, theme and order of parts.
    const Workbook wb = readWorkbook(QStringLiteral(TAVOZZ_TEST_DATA "/souhprot-libreoffice.xlsx"));
    const Sheet &sh = wb.active();
    QCOMPARE(wb.displayText(0, 1, 1), QStringLiteral("SOUHRNNÝ PROTOKOL O REVIZI VÁZACÍCH PROSTŘEDKŮ"));
    QCOMPARE(wb.displayText(0, 6, 2), QStringLiteral("Označení"));
    QCOMPARE(wb.displayText(0, 8, 8), QStringLiteral("Celkem (Kč):"));
    QVERIFY(sh.mergeAt(1, 5));
    QCOMPARE(*sh.mergeAt(8, 9), (Range{8, 8, 8, 9}));
    QVERIFY(wb.style(sh.cell(6, 1)->style).bold);
    QCOMPARE(wb.style(sh.cell(7, 1)->style).left.style, BorderStyle::Thin);
    QVERIFY(sh.page.landscape);
    QVERIFY(sh.page.oddFooter.contains(QStringLiteral("&P")));
    // Written again by us, it keeps what it had.
    const QString path = m_dir.filePath(QStringLiteral("relo.xlsx"));
    writeWorkbook(wb, path);
    const Workbook again = readWorkbook(path);
    QCOMPARE(again.displayText(0, 8, 8), QStringLiteral("Celkem (Kč):"));
    QCOMPARE(again.active().merges.size(), sh.merges.size());
    QCOMPARE(again.style(again.active().cell(7, 10)->style).numFmt, wb.style(sh.cell(7, 10)->style).numFmt);
}

void TestXlsx::readsHandWrittenWorkbook()
{
    // Prefixed elements, parts in unusual places, cells without addresses,
    // inline and rich-text strings, shared formulas.
    Workbook wb = readWorkbook(QStringLiteral(TAVOZZ_TEST_DATA "/foreign.xlsx"));
    const Sheet &sh = wb.active();
    QCOMPARE(sh.name, QStringLiteral("Data"));
    QCOMPARE(wb.displayText(0, 1, 2), QStringLiteral("Cena (Kč)"));
    QCOMPARE(wb.displayText(0, 2, 1), QStringLiteral("0012"));
    QCOMPARE(sh.cell(2, 2)->number, 450.0);
    QCOMPARE(sh.cell(2, 3)->formula, QStringLiteral("B2*2"));
    QCOMPARE(sh.cell(3, 3)->formula, QStringLiteral("B3*2"));
    QCOMPARE(sh.cell(4, 3)->formula, QStringLiteral("B4*2"));
    QCOMPARE(wb.displayText(0, 6, 3), QStringLiteral("ano"));
    QCOMPARE(*sh.mergeAt(7, 1), (Range{6, 1, 7, 1}));
    // A row inserted among the data moves the total's range with it.
    wb.insertRows(0, 3, 1);
    QCOMPARE(wb.active().cell(7, 2)->formula, QStringLiteral("SUM($B$2:B5)"));
    QCOMPARE(wb.active().cell(5, 3)->formula, QStringLiteral("B5*2"));
}

void TestXlsx::translateFormula_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("dRow");
    QTest::addColumn<int>("dCol");
    QTest::addColumn<QString>("expected");
    QTest::newRow("relative") << "B2*2" << 2 << 1 << "C4*2";
    QTest::newRow("absolute parts stay") << "$B2+B$2+$B$2" << 3 << 3 << "$B5+E$2+$B$2";
    QTest::newRow("function and string") << "LOG10(A1)&\"A1\"" << 1 << 0 << "LOG10(A2)&\"A1\"";
    QTest::newRow("off the sheet") << "A1-1" << -1 << 0 << "#REF!-1";
    QTest::newRow("sheet prefix") << "'Můj list'!A1+Data!B1" << 1 << 0 << "'Můj list'!A2+Data!B2";
}

void TestXlsx::translateFormula()
{
    QFETCH(QString, formula);
    QFETCH(int, dRow);
    QFETCH(int, dCol);
    QFETCH(QString, expected);
    QCOMPARE(tz::xlsx::translateFormula(formula, dRow, dCol), expected);
}

void TestXlsx::badFilesGiveCzechMessages()
{
    auto messageOf = [](const QString &path) {
        try {
            readWorkbook(path);
        } catch (const XlsxError &e) {
            return e.message();
        }
        return QString();
    };
    QVERIFY(messageOf(m_dir.filePath(QStringLiteral("neni.xlsx"))).contains(QStringLiteral("neexistuje")));
    const QString text = m_dir.filePath(QStringLiteral("text.xlsx"));
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("toto není sešit");
    f.close();
    QVERIFY(messageOf(text).contains(QStringLiteral("nelze otevřít jako sešit")));
}

void TestXlsx::failedSaveKeepsTheOldFile()
{
    const QString path = m_dir.filePath(QStringLiteral("keep.xlsx"));
    Workbook wb;
    wb.setValue(0, 1, 1, CellValue::fromText(QStringLiteral("původní")));
    writeWorkbook(wb, path);
    // A folder in the place of the temporary file makes the save fail.
    QDir(m_dir.path()).mkdir(QStringLiteral("keep.xlsx.tmp~"));
    QFile(m_dir.filePath(QStringLiteral("keep.xlsx.tmp~/x"))).open(QIODevice::WriteOnly);
    Workbook other;
    other.setValue(0, 1, 1, CellValue::fromText(QStringLiteral("nový")));
    QVERIFY_THROWS_EXCEPTION(XlsxError, writeWorkbook(other, path));
    QCOMPARE(readWorkbook(path).displayText(0, 1, 1), QStringLiteral("původní"));
}

void TestXlsx::protectionPasswordHash()
{
    // Published value of the legacy sheet-protection hash.
    QCOMPARE(legacyPasswordHash(QStringLiteral("secret")), QStringLiteral("DAA7"));
}

QTEST_GUILESS_MAIN(TestXlsx)
#include "tst_xlsx.moc"
