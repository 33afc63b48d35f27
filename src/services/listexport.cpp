#include "listexport.h"

#include "spreadsheet.h"

#include <QDate>

namespace tz {

using namespace tz::xlsx;

namespace {
constexpr int kTitleRow = 3;
constexpr int kColumnRow = 5;
constexpr int kFirstDataRow = 6;
// The logo stays within the two rows above the title.
constexpr double kLogoMaxWidthPt = 220;
constexpr double kLogoMaxHeightPt = 34;

void takeStyle(Workbook &book, int row, int col, int style, const CellValue &value)
{
    Cell &c = book.active().cellAt(row, col);
    const int base = c.style != 0 ? c.style : style;
    if (base == 0)
        return;
    CellStyle st = book.style(base);
    // A number format of the template cell does not turn texts into numbers.
    if (value.type == CellValue::Type::Text)
        st.numFmt = QStringLiteral("@");
    else if (value.type != CellValue::Type::Empty) {
        // Numbers and dates stand to the right, as the spreadsheet shows them by default.
        if (st.numFmt == QLatin1String("@"))
            st.numFmt = QStringLiteral("General");
        if (st.hAlign == HAlign::Left)
            st.hAlign = HAlign::General;
    }
    c.style = book.styleIndex(st);
}
} // namespace

QString listTitle(const QString &registerName, bool planning)
{
    struct Entry { const char16_t *reg, *evidence, *plan; };
    static const Entry table[] = {
        {u"Vázací prostředky", u"Seznam vázacích prostředků", u"Plánování -  vázací prostředky"},
        {u"Zdvihací zařízení", u"Seznam zdvihacích zařízení", u"Plánování -  zdvihací zařízení"},
        {u"Osoby", u"Seznam zaměstnanců", u"Plánování -  zaměstnanci"},
        {u"Ocelové konstrukce", u"Seznam ocelových konstrukcí", u"Plánování -  ocelové konstrukce"},
        {u"OPPP", u"Seznam osobních ochranných prostředků proti pádu", u"Plánování -  OOPPP"},
    };
    for (const Entry &e : table)
        if (registerName == QString::fromUtf16(e.reg))
            return QString::fromUtf16(planning ? e.plan : e.evidence);
    return {};
}

void fillList(ExportDoExcelu &sheet, const ListDocument &doc)
{
    Workbook &book = sheet.workbook();
    Sheet &sh = book.active();
    const Cell *titleCell = sh.cell(kColumnRow, 1);
    const Cell *dataCell = sh.cell(kFirstDataRow, 1);
    const int titleStyle = titleCell ? titleCell->style : 0;
    const int dataStyle = dataCell ? dataCell->style : 0;

    sheet.SetCell(kTitleRow, 1, doc.title);
    // A title beginning with a digit must not extend the font-size code.
    const QString footTitle = headerLiteral(doc.title);
    const bool digitFirst = !footTitle.isEmpty() && footTitle.front().isDigit();
    sheet.SetFooter(QStringLiteral("&8") + (digitFirst ? QStringLiteral(" ") : QString()) + footTitle,
                    QStringLiteral("&8&P/&N"), QStringLiteral("&8Zpracováno programem TAVOzz&10"));
    const QString date = doc.dateText.isEmpty() ? QDate::currentDate().toString(QStringLiteral("d.M.yyyy"))
                                                : doc.dateText;
    sheet.SetHeader(headerLiteral(doc.organisation), QStringLiteral(" "), headerLiteral(date));
    if (!doc.logo.isNull())
        sheet.InsertPicture(1, 1, doc.logo, kLogoMaxWidthPt, kLogoMaxHeightPt);

    for (int i = 0; i < doc.columns.size(); ++i) {
        const CellValue v = CellValue::fromText(doc.columns[i]);
        takeStyle(book, kColumnRow, i + 1, titleStyle, v);
        sheet.SetCell(kColumnRow, i + 1, v);
    }
    int row = kFirstDataRow;
    for (const auto &values : doc.rows) {
        const int n = std::max<int>(int(values.size()), int(doc.columns.size()));
        for (int i = 0; i < n; ++i) {
            const CellValue v = i < int(values.size()) ? values[size_t(i)] : CellValue::empty();
            takeStyle(book, row, i + 1, dataStyle, v);
            sheet.SetCell(row, i + 1, v);
        }
        ++row;
    }
    // Formatted title and data cells of the template beyond the list stay blank.
    const int columns = int(doc.columns.size());
    for (auto &[ref, c] : sh.cells) {
        if (c.hasValue())
            continue;
        if ((ref.row == kColumnRow && ref.col > columns)
            || (ref.row == kFirstDataRow && (doc.rows.empty() || ref.col > columns)))
            c.style = 0;
    }
    sheet.AutofitColumns();
}

void exportList(ExportDoExcelu &sheet, const ListDocument &doc)
{
    sheet.Connect();
    sheet.OpenWorkbook(kListTemplate);
    fillList(sheet, doc);
    sheet.Show();
    sheet.Release();
}

void saveList(const ListDocument &doc, const QString &programFolder, const QString &outputPath)
{
    ExportDoExcelu sheet;
    sheet.setProgramFolder(programFolder);
    sheet.Connect();
    sheet.OpenWorkbook(kListTemplate);
    fillList(sheet, doc);
    sheet.SaveAs(outputPath);
    sheet.Release();
}

} // namespace tz
