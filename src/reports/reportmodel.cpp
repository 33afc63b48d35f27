#include "reportmodel.h"

#include "codepage.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace tz::rep {

namespace {
constexpr qint32 kBasicColours[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                      0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                      0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

const char *const kBarcodeNames[21] = {
    "2/5 interleaved", "2/5 industrial", "2/5 matrix", "Code 39",   "Code 39 Full", "Code 128A",
    "Code 128B",       "Code 128C",      "Code 93",    "Code 93 Full", "MSI",       "PostNet",
    "Codebar",         "EAN 8",          "EAN 13",     "UPC-A",     "UPC-E0",       "UPC-E1",
    "UPC Supp2",       "UPC Supp5",      "EAN 8/13"};
} // namespace

QString elementKindName(int kind)
{
    switch (kind) {
    case ekText: return QStringLiteral("Grafický text");
    case ekField: return QStringLiteral("Položka tabulky");
    case ekFieldLabel: return QStringLiteral("Popis položky");
    case ekParameter: return QStringLiteral("Parametr");
    case ekSystemValue: return QStringLiteral("Proměnná");
    case ekFunction: return QStringLiteral("Funkce");
    case ekLine: return QStringLiteral("Úsečka");
    case ekFrame: return QStringLiteral("Rámeček");
    case ekRoundFrame: return QStringLiteral("Zaoblený rámeček");
    case ekEllipse: return QStringLiteral("Elipsa");
    case ekPicture: return QStringLiteral("Obrázek");
    case ekBarcode: return QStringLiteral("Čárový kód");
    case ekPaintBox: return QStringLiteral("Kreslicí plocha");
    case ekDetail: return QStringLiteral("Detail");
    }
    return QStringLiteral("Neznámý");
}

qint32 basicColour(int index)
{
    return (index >= 0 && index < 16) ? kBasicColours[index] : 0;
}

int basicColourIndex(qint32 colour)
{
    for (int i = 0; i < 16; ++i)
        if (kBasicColours[i] == colour)
            return i;
    return -1;
}

QColor toQColor(qint32 colour)
{
    if (colour < 0) {
        // System colours: the few that definitions use, by their index.
        switch (colour & 0xFF) {
        case 5: return QColor(255, 255, 255);     // window
        case 15: return QColor(240, 240, 240);    // button face
        case 16: return QColor(160, 160, 160);    // button shadow
        default: return QColor(0, 0, 0);
        }
    }
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Alignment TSiReportElement::alignment() const
{
    if (layout & 32)
        return alJustify;
    switch (layout & 3) {
    case 1: return alRight;
    case 2: return alCenter;
    default: return alLeft;
    }
}

int TSiReportElement::pointSize() const
{
    if (fontSize < 0)
        return int(std::lround(-double(fontSize) * 72.0 / 100.0));
    return fontSize;
}

void TSiReportElement::effectiveFont(const std::function<bool(const QString &)> &installed, QString &family,
                                     int &charSet) const
{
    family = fontName;
    charSet = charset;
    if (!installed || installed(fontName))
        return;
    static const struct {
        const char *suffix;
        int charset;
    } kSuffixes[] = {{" CE", 238}, {" Greek", 161}, {" TUR", 162}, {" Baltic", 186}, {" CYR", 204}};
    for (const auto &s : kSuffixes) {
        const QLatin1String suffix(s.suffix);
        if (fontName.endsWith(suffix)) {
            family = fontName.left(fontName.size() - suffix.size());
            charSet = s.charset;
            return;
        }
    }
}

QString TSiReportElement::barcodeTypeName() const
{
    const int t = penStyle;
    return QLatin1String((t >= 0 && t < 21) ? kBarcodeNames[t] : "EAN 13");
}

QString sectionTag(int kind)
{
    static const char *const tags[5] = {"Z", "H", "T", "K", "P"};
    if (kind >= 0 && kind < 5)
        return QLatin1String(tags[kind]);
    const int k = (kind - 5) / 2;
    return ((kind - 5) % 2 == 0 ? QStringLiteral("S") : QStringLiteral("U")) + QString::number(k);
}

QString sectionName(int kind)
{
    switch (kind) {
    case 0: return QStringLiteral("Začátek sestavy");
    case 1: return QStringLiteral("Hlava stránky");
    case 2: return QStringLiteral("Tělo sestavy");
    case 3: return QStringLiteral("Konec sestavy");
    case 4: return QStringLiteral("Pata stránky");
    }
    const int k = (kind - 5) / 2;
    return ((kind - 5) % 2 == 0 ? QStringLiteral("Začátek skupiny ") : QStringLiteral("Konec skupiny "))
        + QString::number(k + 1);
}

QString TOddilSestavy::tag() const { return sectionTag(kind); }
QString TOddilSestavy::name() const { return sectionName(kind); }

QString TPolSkup::effectiveExpression() const
{
    if (expression.isEmpty())
        return expression;
    for (QChar c : expression)
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'$'))
            return expression;
    const QChar first = expression[0];
    if (first.unicode() >= '0' && first.unicode() <= '9') {
        bool ok = false;
        const int n = expression.toInt(&ok);
        if (ok && n >= 0 && n < 999)
            return QStringLiteral("#%1").arg(n + 1);
        return expression;
    }
    if (first.isLetter() || first == u'_')
        return u'#' + expression;
    return expression;
}

QString TRadekFunkce::outputText() const
{
    if (skipNulls && current.null)
        return QString();
    if (type == 1)
        return current.text;
    if (current.kind == TCalcType::kOther && current.text.isEmpty())
        return QString();
    const int f = (format >= 0 && format <= 4) ? format : 2;
    return floatToStrF(current.number, FloatFormat(f), width, decimals);
}

QString TRadekFunkce::displayText() const
{
    return QStringLiteral("Funkce %1 - %2").arg(name, description);
}

bool TRadekFunkce::sameDefinition(const TRadekFunkce &o) const
{
    return name == o.name && description == o.description && type == o.type && expression == o.expression
        && initialValue == o.initialValue && reset == o.reset && processing == o.processing && width == o.width
        && decimals == o.decimals && format == o.format;
}

QString functionTypeName(int type)
{
    return type == 1 ? QStringLiteral("Řetězcová") : QStringLiteral("Číselná");
}

QString functionResetName(int reset)
{
    if (reset == frReport)
        return QStringLiteral("Sestavy");
    if (reset == frPage)
        return QStringLiteral("Stránky");
    return QStringLiteral("Skupiny %1").arg(reset - 1);
}

PageSetup &processPageSetup()
{
    static PageSetup p;
    return p;
}

void resetProcessPageSetup()
{
    processPageSetup() = PageSetup();
}

double CharGrid::charWidth() const
{
    switch (pitch) {
    case 0: return 10.0;
    case 2: return 6.0;
    default: return 100.0 / 12.0;
    }
}

double CharGrid::lineHeight() const
{
    switch (lineSpacing) {
    case 1: return 25.0;
    case 2: return 100.0 / 3.0;
    default: return 100.0 / 6.0;
    }
}

int CharGrid::effectiveRasterX() const
{
    if (rasterType == 1)
        return int(std::lround(charWidth()));
    return rasterX < 1 ? 8 : rasterX;
}

int CharGrid::effectiveRasterY() const
{
    if (rasterType == 1)
        return int(std::lround(lineHeight()));
    return rasterY < 1 ? 8 : rasterY;
}

ReportDefinition::ReportDefinition() { clear(); }

void ReportDefinition::clear()
{
    description.clear();
    version[0] = 7;
    version[1] = 0;
    version[2] = 8;
    hasPageSetup = false;
    pageSetup = PageSetup();
    columns = 1;
    columnGap = 0;
    units = 0;
    grid = CharGrid();
    background = Background();
    sections.clear();
    sections.resize(5);
    for (int i = 0; i < 5; ++i)
        sections[i].kind = i;
    groups.clear();
    functions.clear();
}

TPolSkup &ReportDefinition::addGroup(const QString &expression)
{
    TPolSkup g;
    g.number = int(groups.size());
    g.expression = expression;
    groups.push_back(g);
    TOddilSestavy start, end;
    start.kind = 5 + 2 * g.number;
    end.kind = 6 + 2 * g.number;
    sections.push_back(start);
    sections.push_back(end);
    return groups.back();
}

void ReportDefinition::removeGroup(int k)
{
    if (k < 0 || k >= int(groups.size()))
        return;
    groups.erase(groups.begin() + k);
    sections.erase(sections.begin() + 5 + 2 * k, sections.begin() + 7 + 2 * k);
    for (int i = 0; i < int(groups.size()); ++i)
        groups[i].number = i;
    for (int i = 5; i < int(sections.size()); ++i)
        sections[i].kind = i;
}

QString renumberFunctionReferences(const QString &expression, const std::function<int(int)> &map)
{
    QString out;
    out.reserve(expression.size());
    const int n = expression.size();
    for (int i = 0; i < n; ++i) {
        out += expression[i];
        if (expression[i] != u'@')
            continue;
        int j = i + 1;
        while (j < n && expression[j].unicode() >= '0' && expression[j].unicode() <= '9')
            ++j;
        if (j == i + 1 || j - i - 1 > 3)
            continue;
        out += QString::number(map(expression.mid(i + 1, j - i - 1).toInt()));
        i = j - 1;
    }
    return out;
}

namespace {
void renumberAll(ReportDefinition &d, const std::function<int(int)> &map)
{
    for (TRadekFunkce &f : d.functions)
        f.expression = renumberFunctionReferences(f.expression, map);
    for (TPolSkup &g : d.groups)
        g.expression = renumberFunctionReferences(g.expression, map);
    for (TOddilSestavy &s : d.sections)
        for (TSiReportElement &e : s.elements) {
            e.condition = renumberFunctionReferences(e.condition, map);
            if (e.kind == ekBarcode || e.kind == ekPicture)
                e.name = renumberFunctionReferences(e.name, map);
            if (e.kind == ekFunction && e.reference >= 0)
                e.reference = map(e.reference + 1) - 1;
        }
}
} // namespace

void ReportDefinition::insertFunction(int pos, const TRadekFunkce &f)
{
    pos = std::clamp(pos, 0, int(functions.size()));
    renumberAll(*this, [pos](int n) { return n - 1 >= pos ? n + 1 : n; });
    functions.insert(functions.begin() + pos, f);
}

void ReportDefinition::removeFunction(int pos)
{
    if (pos < 0 || pos >= int(functions.size()))
        return;
    functions.erase(functions.begin() + pos);
    renumberAll(*this, [pos](int n) { return n - 1 == pos ? 0 : (n - 1 > pos ? n - 1 : n); });
}

TOddilSestavy *ReportDefinition::section(int kind)
{
    return (kind >= 0 && kind < int(sections.size())) ? &sections[kind] : nullptr;
}

const TOddilSestavy *ReportDefinition::section(int kind) const
{
    return (kind >= 0 && kind < int(sections.size())) ? &sections[kind] : nullptr;
}

int ReportDefinition::elementCount() const
{
    int n = 0;
    for (const auto &s : sections)
        n += int(s.elements.size());
    return n;
}

bool ReportDefinition::sameDefinition(const ReportDefinition &o) const
{
    if (description != o.description || hasPageSetup != o.hasPageSetup || columns != o.columns
        || columnGap != o.columnGap || units != o.units || !(grid == o.grid) || !(background == o.background)
        || sections != o.sections || groups.size() != o.groups.size() || functions.size() != o.functions.size())
        return false;
    if (hasPageSetup && !(pageSetup == o.pageSetup))
        return false;
    for (size_t i = 0; i < groups.size(); ++i)
        if (groups[i].number != o.groups[i].number || groups[i].expression != o.groups[i].expression
            || groups[i].newPage != o.groups[i].newPage)
            return false;
    for (size_t i = 0; i < functions.size(); ++i)
        if (!functions[i].sameDefinition(o.functions[i]))
            return false;
    return true;
}

// ---- paper formats -------------------------------------------------------

TListFormatu::TListFormatu()
{
    const QString inch = QStringLiteral("\"");
    m_formats = {
        {QStringLiteral("Skládaný (8.5 x 12") + inch + u')', 850, 1200},
        {QStringLiteral("Skládaný (15 x 12") + inch + u')', 1500, 1200},
        {QStringLiteral("Letter (8.5 x 11") + inch + u')', 850, 1100},
        {QStringLiteral("Legal (8.5 x 14") + inch + u')', 850, 1400},
        {QStringLiteral("Executive (7.25 x 10.5") + inch + u')', 725, 1050},
        {QStringLiteral("A2 (420 x 594 mm)"), 1652, 2338},
        {QStringLiteral("A3 (297 x 420 mm)"), 1169, 1652},
        {QStringLiteral("A4 (210 x 297 mm)"), 826, 1169},
        {QStringLiteral("A5 (148.5 x 210 mm)"), 584, 826},
        {QStringLiteral("A6 (105 x 148.5mm)"), 413, 584},
        {QStringLiteral("B5 (182 x 257 mm)"), 716, 1011},
        {QStringLiteral("Obálka (162 x 114 mm)"), 637, 433},
        {QStringLiteral("Obálka (220 x 110 mm)"), 866, 433},
        {QStringLiteral("Obálka (228 x 162 mm)"), 896, 637},
        {QStringLiteral("Obálka otoč.(114 x 162 mm)"), 433, 637},
        {QStringLiteral("Obálka otoč.(110 x 220 mm)"), 433, 866},
        {QStringLiteral("Obálka otoč.(162 x 228 mm)"), 637, 896},
    };
}

void TListFormatu::add(const TFormatPapiru &f)
{
    TFormatPapiru c = f;
    c.name = c.name.left(31);
    m_formats.append(c);
}

int TListFormatu::find(int width, int height) const
{
    for (int i = 0; i < m_formats.size(); ++i)
        if (m_formats[i].width == width && m_formats[i].height == height)
            return i;
    return -1;
}

namespace {
const QString kFormatSection = QStringLiteral("FormatyPapiru");

bool isSectionLine(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}
} // namespace

bool TListFormatu::loadUserFormats(const QString &iniPath)
{
    while (m_formats.size() > kBuiltInCount)
        m_formats.removeLast();
    QFile f(iniPath);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = tz::decode(f.readAll(), CodePage::Cp1250).split(u'\n');
    QHash<QString, QString> keys;
    bool inSection = false;
    for (QString line : lines) {
        line.remove(u'\r');
        QString name;
        if (isSectionLine(line, &name)) {
            inSection = name.compare(kFormatSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const int eq = line.indexOf(u'=');
        if (eq > 0)
            keys.insert(line.left(eq).trimmed().toLower(), line.mid(eq + 1));
    }
    const int count = std::clamp(keys.value(QStringLiteral("pocetformatu")).trimmed().toInt(), 0, 1000);
    for (int i = 1; i <= count; ++i) {
        const QString v = keys.value(QStringLiteral("format%1").arg(i), QStringLiteral("Uživat. unknown"));
        TFormatPapiru p;
        const int c2 = v.lastIndexOf(u',');
        const int c1 = c2 > 0 ? v.lastIndexOf(u',', c2 - 1) : -1;
        if (c1 >= 0) {
            p.name = v.left(c1);
            p.width = v.mid(c1 + 1, c2 - c1 - 1).trimmed().toInt();
            p.height = v.mid(c2 + 1).trimmed().toInt();
        } else {
            p.name = v;
        }
        add(p);
    }
    return true;
}

bool TListFormatu::saveUserFormats(const QString &iniPath, QString *error) const
{
    QStringList kept;
    {
        QFile f(iniPath);
        if (f.exists()) {
            if (!f.open(QIODevice::ReadOnly)) {
                if (error)
                    *error = f.errorString();
                return false;
            }
            QStringList lines = tz::decode(f.readAll(), CodePage::Cp1250).split(u'\n');
            bool skip = false;
            for (QString line : lines) {
                line.remove(u'\r');
                QString name;
                if (isSectionLine(line, &name))
                    skip = name.compare(kFormatSection, Qt::CaseInsensitive) == 0;
                if (!skip)
                    kept << line;
            }
            while (!kept.isEmpty() && kept.last().isEmpty())
                kept.removeLast();
        }
    }
    if (!kept.isEmpty())
        kept << QString();
    kept << u'[' + kFormatSection + u']';
    kept << QStringLiteral("PocetFormatu=%1").arg(m_formats.size() - kBuiltInCount);
    for (int i = kBuiltInCount; i < m_formats.size(); ++i) {
        const TFormatPapiru &p = m_formats[i];
        kept << QStringLiteral("Format%1=%2,%3,%4").arg(i - kBuiltInCount + 1).arg(p.name).arg(p.width).arg(p.height);
    }
    QSaveFile out(iniPath);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    out.write(tz::encode(kept.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), CodePage::Cp1250));
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

// ---- report component ----------------------------------------------------

TSestavaTyp::TSestavaTyp() = default;

TSestavaTyp::~TSestavaTyp()
{
    for (TSestavaTyp *d : m_details)
        d->m_master = nullptr;
    m_details.clear();
    if (m_master)
        m_master->m_details.removeAll(this);
}

void TSestavaTyp::setMaster(TSestavaTyp *master)
{
    if (master == m_master || master == this)
        return;
    if (m_master)
        m_master->m_details.removeAll(this);
    m_master = master;
    if (m_master)
        m_master->m_details.append(this);
}

TSestavaTyp *TSestavaTyp::adoptDetail()
{
    m_ownedDetails.push_back(std::make_unique<TSestavaTyp>());
    TSestavaTyp *d = m_ownedDetails.back().get();
    d->setMaster(this);
    return d;
}

TCalcType TSestavaTyp::fieldValueAt(int index) const
{
    if (index >= 0 && index < valueTexts.size())
        return TCalcType::fromText(valueTexts[index]);
    TCalcType v;
    v.kind = TCalcType::kText;
    v.text = (index >= 0 && index < fieldCount()) ? QStringLiteral("Položka %1").arg(index + 1)
                                                  : QStringLiteral("Položka ?");
    return v;
}

QString TSestavaTyp::fieldLabel(int index) const
{
    return fieldLabels.value(index);
}

int TSestavaTyp::fieldPosition(const QString &name) const
{
    for (int i = 0; i < fieldNames.size(); ++i)
        if (fieldNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TSestavaTyp::functionPosition(const QString &name) const
{
    for (int i = 0; i < int(def.functions.size()); ++i)
        if (def.functions[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

std::optional<TCalcType> TSestavaTyp::fieldValue(int index) const
{
    if (index < 0 || index >= fieldCount())
        return std::nullopt;
    return fieldValueAt(index);
}

std::optional<TCalcType> TSestavaTyp::parameterValue(int index) const
{
    if (index < 0)
        return std::nullopt;
    if (index >= Parametry.size())
        return TCalcType::empty();
    return TCalcType::fromText(Parametry[index]);
}

std::optional<TCalcType> TSestavaTyp::functionValue(int index) const
{
    if (index < 0 || index >= int(def.functions.size()))
        return std::nullopt;
    return def.functions[index].current;
}

std::optional<TCalcType> TSestavaTyp::systemValue(int index) const
{
    const QDateTime printed = run.printed.isValid() ? run.printed : QDateTime::currentDateTime();
    const FormatSettings &fs = formatSettings();
    int n = 0;
    switch (index) {
    case 0: {
        TCalcType v;
        v.kind = TCalcType::kNumber;
        v.number = dateToNumber(printed.date());
        v.text = formatDateTime(fs.shortDateFormat, v.number);
        return v;
    }
    case 1: {
        TCalcType v;
        v.kind = TCalcType::kNumber;
        v.number = printed.time().msecsSinceStartOfDay() / 86400000.0;
        v.text = formatDateTime(fs.longTimeFormat, v.number);
        return v;
    }
    case 2: n = run.lineNumber; break;
    case 3: n = run.pageNumber; break;
    case 4: n = run.pageCount; break;
    default: {
        if (index < 5)
            return std::nullopt;
        const int k = (index - 5) / 2;
        if (k >= int(def.groups.size()))
            return std::nullopt;
        n = (index - 5) % 2 == 0 ? def.groups[k].lineNumber : def.groups[k].sequenceNumber;
    }
    }
    return TCalcType::fromNumber(n);
}

std::optional<QString> TSestavaTyp::systemValueText(int index, const QString &format) const
{
    const std::optional<TCalcType> v = systemValue(index);
    if (!v)
        return std::nullopt;
    if (format.isEmpty())
        return v->text;
    if (index == 0 || index == 1)
        return formatDateTime(format, v->number);
    return formatInteger(format, qint64(v->number));
}

void TSestavaTyp::prepareFunctions()
{
    for (TRadekFunkce &f : def.functions) {
        f.skipNulls = allowNullValues;
        f.resetPending = true;
    }
}

void TSestavaTyp::requestFunctionReset(int code)
{
    for (TRadekFunkce &f : def.functions)
        if (code == -1 || code == f.reset)
            f.resetPending = true;
}

void TSestavaTyp::evaluateFunctions()
{
    for (size_t i = 0; i < def.functions.size(); ++i) {
        {
            TRadekFunkce &f = def.functions[i];
            if (f.resetPending) {
                if (const auto n = readNumber(f.initialValue)) {
                    f.current = TCalcType();
                    f.current.kind = f.type == 1 ? TCalcType::kText : TCalcType::kNumber;
                    f.current.number = *n;
                    f.current.text = f.initialValue;
                } else {
                    f.current = TCalcType::empty();
                }
                f.count = 0;
                f.sum = 0;
                f.sumSquares = 0;
                f.resetPending = false;
            }
        }
        const EvalResult r = evaluate(def.functions[i].expression, this);
        TRadekFunkce &f = def.functions[i];
        const TCalcType val = r.ok() ? r.value : TCalcType::empty();
        const bool taken = !val.null || !f.skipNulls;
        auto stdDev = [&f]() -> std::optional<double> {
            if (f.count <= 1)
                return std::nullopt;
            const double var = (f.sumSquares - f.sum * f.sum / f.count) / (f.count - 1);
            return std::sqrt(std::max(var, 0.0));
        };
        switch (f.processing) {
        case fpCount:
            if (taken)
                ++f.count;
            f.current = TCalcType::fromNumber(f.count);
            break;
        case fpSum:
        case fpAverage:
        case fpStdDev:
        case fpRelStdDev:
            if (taken) {
                ++f.count;
                f.sum += val.number;
                f.sumSquares += val.number * val.number;
            }
            if (f.processing == fpSum) {
                f.current = TCalcType::fromNumber(f.sum);
            } else if (f.processing == fpAverage) {
                f.current = TCalcType::fromNumber(f.count > 0 ? f.sum / f.count : f.sum);
            } else {
                const auto sd = stdDev();
                if (!sd || (f.processing == fpRelStdDev && f.sum == 0))
                    f.current = TCalcType::empty();
                else
                    f.current = TCalcType::fromNumber(f.processing == fpStdDev ? *sd : *sd * f.count / f.sum);
            }
            break;
        case fpMinimum:
        case fpMaximum:
            if (taken) {
                ++f.count;
                if (f.count == 1 || (f.processing == fpMinimum ? val.number < f.current.number
                                                               : val.number > f.current.number))
                    f.current = val;
            }
            break;
        default:
            ++f.count;
            f.current = val;
            break;
        }
    }
}

} // namespace tz::rep
