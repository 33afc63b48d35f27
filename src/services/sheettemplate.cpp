#include "sheettemplate.h"

#include "codepage.h"
#include "folders.h"
#include "spreadsheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace tz {

namespace {

QString shortName(const QString &fileName)
{
    return fileName.isEmpty() ? QStringLiteral("popisu šablony") : QFileInfo(fileName).fileName();
}

// Parses a whole number >= 0 written with optional surrounding spaces.
bool parseCount(const QString &text, int *out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const int v = t.toInt(&ok);
    if (!ok || v < 0 || v > 1048576)
        return false;
    *out = v;
    return true;
}

double parsePrice(QString text)
{
    text = text.trimmed();
    text.remove(u' ');
    text.remove(QChar(0x00A0));
    text.replace(u',', u'.');
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

} // namespace

QString findTemplateWorkbook(const QString &programFolder, const QString &name)
{
    if (name.trimmed().isEmpty())
        return {};
    return findCaseless(programFolder, name,
                        {QString(), QStringLiteral(".xlsx"), QStringLiteral(".xlsm"), QStringLiteral(".xls")});
}

QString findTemplateFile(const QString &programFolder, const QString &name)
{
    if (name.trimmed().isEmpty())
        return {};
    return findCaseless(programFolder, name);
}

TemplateDescription TemplateDescription::fromBytes(const QByteArray &bytes, const QString &fileName)
{
    TemplateDescription d;
    d.m_fileName = fileName;
    QString text = decode(bytes, CodePage::Cp1250);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    Section *current = nullptr;
    for (const QString &rawLine : text.split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const int end = line.indexOf(u']');
            const QString name = (end > 0 ? line.mid(1, end - 1) : line.mid(1)).trimmed();
            current = nullptr;
            for (Section &s : d.m_sections)
                if (s.name.compare(name, Qt::CaseInsensitive) == 0)
                    current = &s;
            if (!current) {
                d.m_sections.push_back(Section{name, {}});
                current = &d.m_sections.back();
            }
            continue;
        }
        const int eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && ((value.startsWith(u'"') && value.endsWith(u'"'))
                                  || (value.startsWith(u'\'') && value.endsWith(u'\''))))
            value = value.mid(1, value.size() - 2);
        bool seen = false;
        for (const auto &[k, v] : current->entries)
            seen = seen || k.compare(key, Qt::CaseInsensitive) == 0;
        if (!seen)
            current->entries.emplace_back(key, value);
    }
    return d;
}

TemplateDescription TemplateDescription::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw TemplateError(QStringLiteral("Popis šablony %1 nelze přečíst: %2")
                                .arg(path, f.errorString()));
    return fromBytes(f.readAll(), path);
}

const TemplateDescription::Section *TemplateDescription::section(const QString &name) const
{
    for (const Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

bool TemplateDescription::hasKey(const QString &sec, const QString &key) const
{
    if (const Section *s = section(sec))
        for (const auto &[k, v] : s->entries)
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

QString TemplateDescription::value(const QString &sec, const QString &key, const QString &def) const
{
    if (const Section *s = section(sec))
        for (const auto &[k, v] : s->entries)
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                return v;
    return def;
}

QStringList TemplateDescription::keys(const QString &sec) const
{
    QStringList out;
    if (const Section *s = section(sec))
        for (const auto &[k, v] : s->entries)
            out << k;
    return out;
}

CellAddress TemplateDescription::cell(const QString &sec, const QString &key) const
{
    const QString v = value(sec, key, QStringLiteral("0,0"));
    const int comma = v.indexOf(u',');
    CellAddress a;
    bool ok = comma > 0;
    if (ok) {
        const int next = v.indexOf(u',', comma + 1);
        const QString colText = next < 0 ? v.mid(comma + 1) : v.mid(comma + 1, next - comma - 1);
        ok = parseCount(v.left(comma), &a.row) && parseCount(colText, &a.col);
    }
    if (!ok)
        throw TemplateError(QStringLiteral("V souboru %1, sekce [%2], klíč %3 má hodnotu „%4“, která není adresa buňky. "
                                           "Zapište řádek a sloupec oddělené čárkou, například 12,3.")
                                .arg(shortName(m_fileName), sec, key, v));
    // One of the two being 0 places nothing, as "0,0" does.
    if (!a.placed())
        return CellAddress{};
    return a;
}

int TemplateDescription::number(const QString &sec, const QString &key, int def) const
{
    const QString v = value(sec, key);
    if (v.trimmed().isEmpty())
        return def;
    int n = 0;
    if (!parseCount(v, &n))
        throw TemplateError(QStringLiteral("V souboru %1, sekce [%2], klíč %3 má hodnotu „%4“, která není celé nezáporné číslo.")
                                .arg(shortName(m_fileName), sec, key, v));
    return n;
}

bool placeValue(ExportDoExcelu &sheet, const TemplateDescription &desc, const QString &section,
                const QString &key, const xlsx::CellValue &value)
{
    const CellAddress a = desc.cell(section, key);
    if (!a.placed())
        return false;
    sheet.SetCell(a.row, a.col, value);
    return true;
}

int writeDescribedLines(ExportDoExcelu &sheet, const TemplateDescription &desc,
                        const std::vector<DescribedRecord> &records, const QString &priceField)
{
    const QString browser = QStringLiteral("browser");
    const QString columns = QStringLiteral("sloupce");
    int row = desc.number(browser, QStringLiteral("XROW"), 0);
    if (row <= 0)
        return 0;
    const int fixedCount = desc.number(columns, QStringLiteral("XPOL"), 1);
    const int sumColumn = desc.number(columns, QStringLiteral("XSUMA"), 0);
    // Validate every column of the description before anything is written.
    std::map<QString, int> fieldColumns;
    for (const QString &key : desc.keys(browser)) {
        if (key.compare(QStringLiteral("XROW"), Qt::CaseInsensitive) == 0)
            continue;
        const int col = desc.number(browser, key, 0);
        if (col > 0)
            fieldColumns[key.toLower()] = col;
    }
    std::vector<QString> fixedTexts;
    for (int i = 1; i <= fixedCount; ++i)
        fixedTexts.push_back(desc.text(columns, QStringLiteral("s%1").arg(i)));

    double total = 0;
    for (const DescribedRecord &rec : records) {
        for (const auto &[field, value] : rec) {
            auto it = fieldColumns.find(field.toLower());
            if (it != fieldColumns.end())
                sheet.SetCell(row, it->second, value);
        }
        for (int i = 0; i < int(fixedTexts.size()); ++i)
            if (!fixedTexts[size_t(i)].isEmpty())
                sheet.SetCell(row, i + 1, fixedTexts[size_t(i)]);
        for (const auto &[field, value] : rec)
            if (field.compare(priceField, Qt::CaseInsensitive) == 0) {
                const double price = value.type == xlsx::CellValue::Type::Number ? value.number
                                     : value.type == xlsx::CellValue::Type::Text ? parsePrice(value.text)
                                                                                 : 0.0;
                if (price > 0)
                    total += price;
            }
        ++row;
        sheet.InsertRow(row);
    }
    ++row;
    if (sumColumn <= 0)
        return 0;
    // A number format of the template's total cell stays; otherwise a whole number.
    const auto &wb = sheet.workbook();
    const auto *cell = wb.active().cell(row, sumColumn);
    const QString fmt = cell ? wb.style(cell->style).numFmt : QString();
    const bool keep = !fmt.isEmpty() && fmt != QLatin1String("General") && fmt != QLatin1String("@");
    sheet.SetCell(row, sumColumn, xlsx::CellValue::fromNumber(std::round(total), keep ? QString() : QStringLiteral("0")));
    return row;
}

} // namespace tz
