// "Seznam do excelu" on the installed list template.
#include "folders.h"
#include "listexport.h"
#include "spreadsheet.h"
#include "xlsx/xlsxio.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::xlsx;

class TestListExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titles_data();
    void titles();
    void listReadBack();
    void emptyListHasTitlesOnly();
    void headerTextsAreLiteral();
    void exportHandsTheWorkbookToTheUser();
    void missingTemplateIsReported();
    void installedTemplateServesAProgramFolderWithout();

private:
    static ListDocument sample();
};

void TestListExport::titles_data()
{
    QTest::addColumn<QString>("reg");
    QTest::addColumn<bool>("planning");
    QTest::addColumn<QString>("title");
    QTest::newRow("accessories") << "Vázací prostředky" << false << "Seznam vázacích prostředků";
    QTest::newRow("accessories plan") << "Vázací prostředky" << true << "Plánování -  vázací prostředky";
    QTest::newRow("equipment") << "Zdvihací zařízení" << false << "Seznam zdvihacích zařízení";
    QTest::newRow("persons plan") << "Osoby" << true << "Plánování -  zaměstnanci";
    QTest::newRow("constructions") << "Ocelové konstrukce" << false << "Seznam ocelových konstrukcí";
    QTest::newRow("fall protection") << "OPPP" << false << "Seznam osobních ochranných prostředků proti pádu";
    QTest::newRow("fall protection plan") << "OPPP" << true << "Plánování -  OOPPP";
    QTest::newRow("unknown") << "Jiné" << false << "";
}

void TestListExport::titles()
{
    QFETCH(QString, reg);
    QFETCH(bool, planning);
    QFETCH(QString, title);
    QCOMPARE(listTitle(reg, planning), title);
}

ListDocument TestListExport::sample()
{
    ListDocument doc;
    doc.title = listTitle(QStringLiteral("Vázací prostředky"), false);
    doc.organisation = QStringLiteral("Revize A&B s.r.o.");
    doc.dateText = QStringLiteral("15.3.2024");
    QImage logo(600, 300, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    doc.logo = logo;
    // Columns as the user moved them: the number first, then the date.
    doc.columns = {QStringLiteral("Evid. číslo"), QStringLiteral("Příští prohlídka"), QStringLiteral("Označení"),
                   QStringLiteral("Nosnost (kg)"), QStringLiteral("Poměr")};
    doc.rows = {
        {CellValue::fromText(QStringLiteral("0012")), CellValue::fromDate(QDate(2024, 6, 1)),
         CellValue::fromText(QStringLiteral("Řetěz 2-pramenný")), CellValue::fromNumber(2500),
         CellValue::fromText(QStringLiteral("1/5"))},
        {CellValue::fromText(QStringLiteral("A-7")), CellValue::empty(), CellValue::fromText(QStringLiteral("Lano")),
         CellValue::fromNumber(1250.5), CellValue::fromText(QStringLiteral("1/4"))},
        {CellValue::fromText(QStringLiteral("0100"))},
    };
    return doc;
}

void TestListExport::listReadBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("seznam.xlsx"));
    saveList(sample(), QStringLiteral(TAVOZZ_INSTALL_DIR), path);
    const Workbook wb = readWorkbook(path);
    const Sheet &sh = wb.active();
    QCOMPARE(wb.displayText(0, 3, 1), QStringLiteral("Seznam vázacích prostředků"));
    QCOMPARE(wb.displayText(0, 5, 1), QStringLiteral("Evid. číslo"));
    QCOMPARE(wb.displayText(0, 5, 2), QStringLiteral("Příští prohlídka"));
    QCOMPARE(wb.displayText(0, 5, 5), QStringLiteral("Poměr"));
    QCOMPARE(sh.cell(6, 1)->kind, Cell::Kind::String);
    QCOMPARE(wb.displayText(0, 6, 1), QStringLiteral("0012"));
    QCOMPARE(wb.displayText(0, 6, 2), QStringLiteral("1.6.2024"));
    QCOMPARE(sh.cell(6, 2)->kind, Cell::Kind::Number);
    QCOMPARE(sh.cell(6, 4)->number, 2500.0);
    QCOMPARE(wb.displayText(0, 6, 5), QStringLiteral("1/5"));
    QCOMPARE(wb.style(sh.cell(6, 5)->style).numFmt, QStringLiteral("@"));
    QCOMPARE(wb.style(sh.cell(6, 4)->style).numFmt, QStringLiteral("General"));
    QCOMPARE(wb.displayText(0, 7, 4), QStringLiteral("1250.5"));
    QCOMPARE(wb.displayText(0, 8, 1), QStringLiteral("0100"));
    QCOMPARE(wb.displayText(0, 9, 1), QString());
    // Formats of the template's title and data cells reach every column and row.
    QVERIFY(wb.style(sh.cell(5, 5)->style).bold);
    QCOMPARE(wb.style(sh.cell(8, 5)->style).bottom.style, BorderStyle::Thin);
    QCOMPARE(sh.cell(8, 11), nullptr);
    QCOMPARE(sh.cell(5, 6), nullptr); // the template's sixth title cell, unused by a five-column list
    QCOMPARE(wb.style(sh.cell(6, 4)->style).hAlign, HAlign::General); // numbers to the right
    QCOMPARE(wb.style(sh.cell(6, 3)->style).hAlign, HAlign::Left);
    // The title keeps its merge; the columns were widened to their contents.
    QVERIFY(sh.mergeAt(3, 2));
    QVERIFY(sh.columns.at(3).width > sh.columns.at(1).width);
    // Logo at A1, shrunk into the two rows above the title.
    QCOMPARE(sh.pictures.size(), size_t(1));
    QCOMPARE(sh.pictures[0].row, 1);
    QCOMPARE(sh.pictures[0].col, 1);
    QVERIFY(sh.pictures[0].heightEmu <= 34 * 12700);
    QCOMPARE(sh.pictures[0].widthEmu, 2 * sh.pictures[0].heightEmu);
}

void TestListExport::emptyListHasTitlesOnly()
{
    ListDocument doc = sample();
    doc.rows.clear();
    doc.logo = QImage();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prazdny.xlsx"));
    saveList(doc, QStringLiteral(TAVOZZ_INSTALL_DIR), path);
    const Workbook wb = readWorkbook(path);
    QCOMPARE(wb.displayText(0, 3, 1), doc.title);
    QCOMPARE(wb.displayText(0, 5, 3), QStringLiteral("Označení"));
    for (auto &[ref, c] : wb.active().cells)
        QVERIFY2(ref.row <= 5, qPrintable(cellName(ref.row, ref.col)));
    QVERIFY(wb.active().pictures.empty());
}

void TestListExport::headerTextsAreLiteral()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hlavicka.xlsx"));
    ListDocument doc = sample();
    doc.title = QStringLiteral("2024 – seznam & plán");
    saveList(doc, QStringLiteral(TAVOZZ_INSTALL_DIR), path);
    const Workbook wb = readWorkbook(path);
    const PageSetup &p = wb.active().page;
    QCOMPARE(p.oddHeader, QStringLiteral("&LRevize A&&B s.r.o.&C &R15.3.2024"));
    // A title that begins with a digit must not become part of the size code "&8".
    QCOMPARE(p.oddFooter, QStringLiteral("&L&8 2024 – seznam && plán&C&8&P/&N&R&8Zpracováno programem TAVOzz&10"));
}

namespace {
class RecordingDesktop : public SpreadsheetDesktop
{
public:
    QStringList opened, messages;
    bool openFile(const QString &path) override { opened << path; return true; }
    void inform(const QString &m) override { messages << m; }
};
} // namespace

void TestListExport::exportHandsTheWorkbookToTheUser()
{
    QTemporaryDir dir;
    RecordingDesktop desktop;
    ExportDoExcelu ss(&desktop);
    ss.setProgramFolder(QStringLiteral(TAVOZZ_INSTALL_DIR));
    ss.setOutputFolder(dir.path());
    exportList(ss, sample());
    QCOMPARE(desktop.opened.size(), 1);
    QVERIFY(desktop.messages.isEmpty());
    QCOMPARE(readWorkbook(desktop.opened[0]).displayText(0, 6, 1), QStringLiteral("0012"));
    QVERIFY(QFileInfo(desktop.opened[0]).fileName().startsWith(QStringLiteral("Seznam_x-")));
}

void TestListExport::missingTemplateIsReported()
{
    // neither the program folder nor the folder beside the programs has it
    QTemporaryDir dir, installed;
    setInstallationFolder(installed.path());
    try {
        saveList(sample(), dir.path(), dir.filePath(QStringLiteral("x.xlsx")));
        setInstallationFolder(QString());
        QFAIL("exported without a template");
    } catch (const SpreadsheetError &e) {
        setInstallationFolder(QString());
        QVERIFY2(e.message().contains(QStringLiteral("sablony/Seznam_x")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(installed.path() + QStringLiteral("/sablony")), qPrintable(e.message()));
    }
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("x.xlsx"))));
}

void TestListExport::installedTemplateServesAProgramFolderWithout()
{
    QTemporaryDir dir;
    setInstallationFolder(QStringLiteral(TAVOZZ_INSTALL_DIR));
    saveList(sample(), dir.path(), dir.filePath(QStringLiteral("x.xlsx")));
    setInstallationFolder(QString());
    QCOMPARE(readWorkbook(dir.filePath(QStringLiteral("x.xlsx"))).displayText(0, 6, 1), QStringLiteral("0012"));
}

QTEST_MAIN(TestListExport)
#include "tst_listexport.moc"
