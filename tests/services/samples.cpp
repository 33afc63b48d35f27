#include "samples.h"

#include "listexport.h"
#include "sheettemplate.h"
#include "spreadsheet.h"

#include <QDate>
#include <QPainter>

using namespace tz;
using tz::xlsx::CellValue;

namespace samples {

namespace {
const QString kInstall = QStringLiteral(TAVOZZ_INSTALL_DIR);

QImage sampleLogo()
{
    QImage img(240, 80, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1F, 0x38, 0x64));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRect(6, 6, 68, 68));
    p.setBrush(QColor(0xF0, 0xA0, 0x20));
    p.drawRect(QRect(90, 20, 140, 40));
    return img;
}
} // namespace

void writeList(const QString &path)
{
    ListDocument doc;
    doc.title = listTitle(QStringLiteral("Vázací prostředky"), false);
    doc.organisation = QStringLiteral("Revize A&B s.r.o.");
    doc.dateText = QStringLiteral("15.3.2024");
    doc.logo = sampleLogo();
    doc.columns = {QStringLiteral("Evid. číslo"), QStringLiteral("Druh"), QStringLiteral("Označení"),
                   QStringLiteral("Popis"), QStringLiteral("Nosnost (kg)"), QStringLiteral("Délka (m)"),
                   QStringLiteral("Poslední prohlídka"), QStringLiteral("Příští prohlídka"), QStringLiteral("Středisko")};
    const QStringList kinds = {QStringLiteral("Řetěz"), QStringLiteral("Lano"), QStringLiteral("Textilní")};
    for (int i = 0; i < 40; ++i) {
        doc.rows.push_back({
            CellValue::fromText(QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0'))),
            CellValue::fromText(kinds[i % 3]),
            CellValue::fromText(QStringLiteral("VP-%1/%2").arg(i + 1).arg(2020 + i % 5)),
            CellValue::fromText(i % 2 ? QStringLiteral("dvoupramenný") : QStringLiteral("čtyřpramenný se zkracovačem")),
            CellValue::fromNumber(1000 + 250 * i),
            CellValue::fromNumber(1.5 + i * 0.1, QStringLiteral("0.0")),
            CellValue::fromDate(QDate(2023, 1 + i % 12, 1 + i % 28)),
            CellValue::fromDate(QDate(2024, 1 + i % 12, 1 + i % 28)),
            CellValue::fromText(i % 4 ? QStringLiteral("Hala 2") : QStringLiteral("Sklad – Ústí n. L.")),
        });
    }
    saveList(doc, kInstall, path);
}

void writeSummary(const QString &path)
{
    ExportDoExcelu ss;
    ss.setProgramFolder(kInstall);
    ss.Connect();
    ss.OpenWorkbook(QStringLiteral("sablonyRev\\souhprot"));
    const auto d = TemplateDescription::load(findTemplateFile(kInstall, QStringLiteral("sablonyRev\\souhprot.ini")));
    const CellAddress firma = d.cell(QStringLiteral("souhprot"), QStringLiteral("firma"));
    const CellAddress datum = d.cell(QStringLiteral("souhprot"), QStringLiteral("datum"));
    ss.SetCell(firma.row, firma.col, QStringLiteral("Strojírny Žďár, a.s."));
    ss.SetCell(datum.row, datum.col, QStringLiteral("15.3.2024"));
    std::vector<DescribedRecord> recs = {
        {{QStringLiteral("evid_c"), CellValue::fromText(QStringLiteral("0012"))},
         {QStringLiteral("oznaceni"), CellValue::fromText(QStringLiteral("Řetěz 8 mm"))},
         {QStringLiteral("popis"), CellValue::fromText(QStringLiteral("dvoupramenný"))},
         {QStringLiteral("vysledek"), CellValue::fromText(QStringLiteral("Vyhovuje"))},
         {QStringLiteral("cenarev"), CellValue::fromNumber(450)}},
        {{QStringLiteral("evid_c"), CellValue::fromText(QStringLiteral("0013"))},
         {QStringLiteral("oznaceni"), CellValue::fromText(QStringLiteral("Řetěz 10 mm"))},
         {QStringLiteral("vysledek"), CellValue::fromText(QStringLiteral("Nevyhovuje"))},
         {QStringLiteral("cenarev"), CellValue::fromNumber(1200)}},
        {{QStringLiteral("evid_c"), CellValue::fromText(QStringLiteral("0014"))},
         {QStringLiteral("oznaceni"), CellValue::fromText(QStringLiteral("Řetěz 13 mm"))},
         {QStringLiteral("vysledek"), CellValue::fromText(QStringLiteral("Opraven"))}},
    };
    writeDescribedLines(ss, d, recs);
    ss.SaveAs(path);
}

void writeProtocol(const QString &path)
{
    ExportDoExcelu ss;
    ss.setProgramFolder(kInstall);
    ss.Connect();
    ss.OpenWorkbook(QStringLiteral("sablony\\protokol1_"));
    const auto d = TemplateDescription::load(findTemplateFile(kInstall, QStringLiteral("sablony\\protokol1_.ini")));
    auto put = [&](const QString &sec, const QString &key, const QString &text) {
        const CellAddress a = d.cell(sec, key);
        if (a.placed())
            ss.SetCell(a.row, a.col, text);
    };
    put(QStringLiteral("Ost"), QStringLiteral("Nadpis"), QStringLiteral("Protokol o revizi zdvihacího zařízení"));
    put(QStringLiteral("Ost"), QStringLiteral("Adresa"), QStringLiteral("Revize A&B s.r.o., Nádražní 12, 400 01 Ústí nad Labem"));
    put(QStringLiteral("Ost"), QStringLiteral("ICO"), QStringLiteral("00123456"));
    put(QStringLiteral("Ost"), QStringLiteral("vDruh"), QStringLiteral("Mostový jeřáb"));
    put(QStringLiteral("TZZ"), QStringLiteral("Provozovatel"), QStringLiteral("Strojírny Žďár, a.s."));
    put(QStringLiteral("TZZ"), QStringLiteral("Evid_C"), QStringLiteral("0042"));
    put(QStringLiteral("TZZ"), QStringLiteral("Oznaceni"), QStringLiteral("MJ 5t/16m"));
    put(QStringLiteral("ZZR"), QStringLiteral("CisZapisu"), QStringLiteral("R-2024/0117"));
    put(QStringLiteral("ZZR"), QStringLiteral("Datum"), QStringLiteral("15.3.2024"));
    const CellAddress logo = d.cell(QStringLiteral("Ost"), QStringLiteral("Obrazek2"));
    ss.InsertPicture(logo.row, logo.col, sampleLogo(), 0, 30);
    int r = d.number(QStringLiteral("Ost"), QStringLiteral("vRad"), 22);
    ss.SetCellHeading(r, 1, QStringLiteral("Průběh:"));
    ss.SetCellItalic(r + 1, 9, QStringLiteral("Výsledek:"));
    r += 2;
    const QStringList items = {QStringLiteral("Kontrola dokumentace a předchozích revizních zpráv"),
                               QStringLiteral("Prohlídka nosné ocelové konstrukce, svarů a šroubových spojů jeřábového mostu, "
                                              "kočky a pojezdových kol včetně kontroly opotřebení kolejnic jeřábové dráhy"),
                               QStringLiteral("Zkouška koncových vypínačů zdvihu a pojezdu")};
    for (int i = 0; i < items.size(); ++i) {
        ss.MergeRange(QStringLiteral("A%1:H%1").arg(r));
        ss.SetCellWrapped(r, 1, 100, QStringLiteral("%1.  %2").arg(i + 1).arg(items[i]));
        ss.SetCellBold(r, 9, QStringLiteral("Vyhovuje"));
        ++r;
    }
    for (int c = 1; c <= 9; ++c)
        ss.FormatCell(r, c, BorderBottom);
    ss.SetCellHeading(r + 2, 1, QStringLiteral("Závěr:"));
    ss.SetCell(r + 4, 1, QStringLiteral("Jeřáb je způsobilý provozu."));
    ss.SetCell(r + 7, 1, QStringLiteral("Zkoušku provedl:"));
    ss.SetCell(r + 7, 4, QStringLiteral("Ing. Jan Novák"));
    ss.SetCellText(r + 8, 4, QStringLiteral("tel. 0420 123 456"));
    ss.SetCell(r + 10, 4, QStringLiteral("Podpis"));
    ss.FormatCell(r + 10, 4, BorderTop);
    ss.ProtectSheet(1);
    ss.SaveAs(path);
}

} // namespace samples
