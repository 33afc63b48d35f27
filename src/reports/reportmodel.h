#pragma once
// In-memory model of a banded report definition.
//
//   ReportDefinition   what a *.pts file holds: description, format version,
//                      page set-up, five fixed sections (0 report start, 1 page
//                      header, 2 body, 3 report end, 4 page footer) and two per
//                      group (5+2k start, 6+2k end of group k), groups, user
//                      functions, units, character grid, background. A plain
//                      value: copy it, compare it, load into a fresh one.
//   TSestavaTyp        a report component: one ReportDefinition plus field
//                      names/labels/value texts, Parametry, component
//                      properties, attached details, the run state for system
//                      values, and the user functions' run-time state. It is
//                      the EvalContext of its own expressions; the data-bound
//                      descendant overrides fieldCount()/fieldValue().
//   processPageSetup() the page set-up shared by the whole process; loading a
//                      master definition with a page set-up record replaces it.
//   TListFormatu       the paper format list (17 built-in plus user formats).
//
// All positions and sizes are integers in hundredths of an inch, relative to
// the top-left corner of the element's section. Colours are stored as colour
// values (0x00BBGGRR, negative values are system colours); the file keeps the
// sixteen basic colours as indexes 0..15.
//
// Loading and saving the file format: definitionfile.h.
#include "calcvalue.h"
#include "expression.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace tz::rep {

// Result codes of the engine's operations.
enum TSestError {
    seOK = 0,
    seClose = 1,
    seNeniTiskarna = 2,
    sePreruseno = 3,
    seCteniPredlohy = 4,
    seUkladaniPredlohy = 5,
    seWriteFile = 6,
    seBusy = 7,
    seJina = 8,
};

// A definition as text lines (the in-memory form of a *.pts file).
using TPredloha = QStringList;

enum ElementKind {
    ekText = 1,
    ekField = 2,
    ekFieldLabel = 3,
    ekParameter = 4,
    ekSystemValue = 5,
    ekFunction = 6,
    ekLine = 7,
    ekFrame = 8,
    ekRoundFrame = 9,
    ekEllipse = 10,
    ekPicture = 11,
    ekBarcode = 12,
    ekPaintBox = 13,
    ekDetail = 15,
};

inline bool isTextLikeKind(int k) { return k >= ekText && k <= ekFunction; }
inline bool isGraphicKind(int k) { return k >= ekLine && k <= ekPaintBox; }
inline bool isKnownElementKind(int k) { return isTextLikeKind(k) || isGraphicKind(k) || k == ekDetail; }
// "Grafický text", ..., "Neznámý" for any other kind.
QString elementKindName(int kind);

// Colour values of the sixteen basic colours, by index.
qint32 basicColour(int index);
// The index 0..15 of a basic colour value, or -1.
int basicColourIndex(qint32 colour);
QColor toQColor(qint32 colour);
constexpr qint32 kWhite = 0x00FFFFFF;

enum Alignment { alLeft = 0, alRight = 1, alCenter = 2, alJustify = 3 };

struct TSiReportElement {
    int kind = ekText;
    // Field position (kinds 2, 3), parameter position (4), system value (5),
    // user function position (6), detail number (15); 0-based. For fields and
    // functions tracked by name, referenceName holds the name and decides
    // what the file stores.
    int reference = 0;
    QString referenceName;
    int left = 0, top = 0, width = 0, height = 0;

    // Text-like elements (kinds 1-6).
    QString fontName;
    int fontSize = 0;        // points; negative: height in 0.01 inch (see pointSize())
    qint32 fontColour = 0;
    int fontStyle = 0;       // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    int layout = 0;          // bits 0-1 alignment, 3 RTF, 4 several lines, 5 justified, 6 variable height
    int frame = 0;           // bits 0-3 left/top/right/bottom line; 4 stretch, 5 keep aspect (field pictures)
    int charset = 0;
    QString text;            // kind 1 the text, kind 5 the format
    int charSpacing = 0;
    int angle = 0;
    int reserved = 0;

    // Graphic elements (kinds 7-13).
    int penWidth = 1;        // barcode: bar width code
    qint32 penColour = 0;
    int penStyle = 0;        // barcode: barcode type
    int flags = 0;
    qint32 brushColour = kWhite;
    int brushStyle = 0;      // drawing surface: resolution factor
    QString name;            // picture: name list; barcode: content expression
    int barcodeExtra1 = 0, barcodeAngle = 0, barcodeExtra3 = 0;

    QString condition;       // print condition; empty = always
    bool handler = false;    // offered to OnPrintElement
    QString ident;           // ElementIdent

    // Run time.
    TCalcType value;

    bool trackedByName() const { return !referenceName.isEmpty(); }

    Alignment alignment() const;
    bool isRtf() const { return layout & 8; }
    bool multiLine() const { return layout & 16; }
    bool variableHeight() const { return isTextLikeKind(kind) ? (layout & 64) : (kind == ekPaintBox && (flags & 64)); }
    bool bold() const { return fontStyle & 1; }
    bool italic() const { return fontStyle & 2; }
    bool underline() const { return fontStyle & 4; }
    bool strikeOut() const { return fontStyle & 8; }
    bool frameLeft() const { return frame & 1; }
    bool frameTop() const { return frame & 2; }
    bool frameRight() const { return frame & 4; }
    bool frameBottom() const { return frame & 8; }
    // Font size in points (a negative stored size is a height in 0.01 inch).
    int pointSize() const;
    // The font name and character set to use: a name that is not installed
    // and ends in " CE", " Greek", " TUR", " Baltic" or " CYR" loses the
    // ending and selects the matching character set.
    void effectiveFont(const std::function<bool(const QString &)> &installed, QString &family, int &charSet) const;

    // Line elements.
    bool edgeLeft() const { return flags & 1; }
    bool edgeTop() const { return flags & 2; }
    bool edgeRight() const { return flags & 4; }
    bool edgeBottom() const { return flags & 8; }
    bool diagonalRising() const { return flags & 16; }
    bool diagonalFalling() const { return flags & 32; }
    // The pen style to draw with (a line wider than 1 is always solid).
    int effectivePenStyle() const { return (kind == ekLine && penWidth > 1) ? 0 : penStyle; }
    // Pictures.
    bool stretch() const { return flags & 16; }
    bool keepAspect() const { return flags & 32; }
    bool allowChange() const { return flags & 64; }
    // Barcodes.
    int barcodeType() const { return penStyle; }
    QString barcodeTypeName() const;
    int barWidthCode() const { return (penWidth >= 4 && penWidth <= 16) ? penWidth : 8; }
    bool checkDigit() const { return flags & 16; }
    bool printText() const { return flags & 32; }
    bool printGuards() const { return flags & 64; }
    // Drawing surfaces: resolution factor limited to 1..6.
    int resolutionFactor() const { return std::clamp(brushStyle, 1, 6); }

    bool operator==(const TSiReportElement &) const = default;
};

enum SectionKind { skReportStart = 0, skPageHeader = 1, skBody = 2, skReportEnd = 3, skPageFooter = 4 };

struct TOddilSestavy {
    int kind = 0;
    int height = 0;
    bool visible = false;
    int options = 0;          // bits of the section options (fixed sections)
    std::vector<TSiReportElement> elements;   // definition (stacking) order

    // "Z", "H", "T", "K", "P", "S0", "U0", ...
    QString tag() const;
    // "Začátek sestavy", ..., "Začátek skupiny 1", "Konec skupiny 1".
    QString name() const;
    bool operator==(const TOddilSestavy &) const = default;
};
QString sectionTag(int kind);
QString sectionName(int kind);

struct TPolSkup {
    int number = 0;           // 0-based
    QString expression;       // as stored in the definition
    bool newPage = false;
    // Run time: text of the expression for the previous record, counters.
    QString previousText;
    bool changed = false;
    int lineNumber = 1;
    int sequenceNumber = 1;

    int startSection() const { return 5 + 2 * number; }
    int endSection() const { return 6 + 2 * number; }
    QString displayName() const { return QStringLiteral("Skupina %1").arg(number + 1); }
    // The expression to evaluate: a plain field number n (0-based) becomes
    // "#n+1", a plain field name gets "#" in front, anything else is kept.
    QString effectiveExpression() const;
};

enum FunctionReset { frReport = 0, frPage = 1, frGroup0 = 2 };
enum Processing { fpNone = 0, fpCount, fpSum, fpAverage, fpMinimum, fpMaximum, fpStdDev, fpRelStdDev };

struct TRadekFunkce {
    QString name;             // used after "@"
    QString description;
    int type = 0;             // 0 numeric ("Číselná"), 1 text ("Řetězcová")
    QString expression;
    QString initialValue = QStringLiteral("0");
    int reset = frReport;     // 0 report, 1 page, 2 + k group k
    int processing = fpNone;
    int width = 15;
    int decimals = 2;
    int format = 2;           // 0 general, 1 exponent, 2 fixed, 3 number, 4 currency

    // Run time.
    TCalcType current;
    int count = 0;
    double sum = 0;
    double sumSquares = 0;
    bool resetPending = true;
    bool skipNulls = false;

    // The printed text of the current value.
    QString outputText() const;
    // "Funkce <name> - <description>".
    QString displayText() const;
    // Definition fields only (run-time state ignored).
    bool sameDefinition(const TRadekFunkce &o) const;
};
using TListFunkci = std::vector<TRadekFunkce>;

// "Číselná", "Řetězcová"; "Sestavy", "Stránky", "Skupiny 1", ...
QString functionTypeName(int type);
QString functionResetName(int reset);

struct PageSetup {
    int orientation = 0;               // 0 portrait, 1 landscape
    bool orientationChangeable = false;
    int paperWidth = 826;
    int paperHeight = 1169;
    int marginLeft = 50, marginRight = 50, marginTop = 70, marginBottom = 70;
    bool operator==(const PageSetup &) const = default;
};
PageSetup &processPageSetup();
void resetProcessPageSetup();

struct CharGrid {
    int rasterType = 0;       // 0 graphic, 1 character grid
    int rasterX = 8, rasterY = 8;   // as stored
    int lineSpacing = 0;      // 0 = 6 lpi, 1 = 4, 2 = 3
    int pitch = 1;            // 0 = 10 cpi, 1 = 12, 2 = 17
    bool showRaster = false;
    bool snapToRaster = false;

    double charWidth() const;     // hundredths of an inch
    double lineHeight() const;
    int effectiveRasterX() const;
    int effectiveRasterY() const;
    bool operator==(const CharGrid &) const = default;
};

struct Background {
    bool own = false;         // the definition decides whether it prints
    bool print = false;
    bool limited = false;     // false: the whole paper
    int left = 0, top = 0, width = 0, height = 0;   // width/height 0: paper size
    QString fileName;
    QImage picture;           // loaded at run time

    bool operator==(const Background &o) const
    {
        return own == o.own && print == o.print && limited == o.limited && left == o.left && top == o.top
            && width == o.width && height == o.height && fileName == o.fileName;
    }
};

struct ReportDefinition {
    QString description;
    int version[3] = {7, 0, 8};
    bool hasPageSetup = false;         // the definition carried a page set-up record
    PageSetup pageSetup;
    int columns = 1;
    int columnGap = 0;
    int units = 0;                     // designer unit: 0 0,01", 1 0,1 mm, 2 0,1 pica, 3 pt, 4 10 twips
    CharGrid grid;
    Background background;
    std::vector<TOddilSestavy> sections;   // 5 fixed + 2 per group
    std::vector<TPolSkup> groups;
    TListFunkci functions;

    ReportDefinition();
    // Back to an empty definition: five hidden fixed sections, nothing else.
    void clear();
    TPolSkup &addGroup(const QString &expression);
    // Removes group k with its two sections; later groups move up.
    void removeGroup(int k);
    // Inserts or removes the user function at a 0-based position. Every "@n"
    // (n a number) in every expression of the definition (functions, groups,
    // print conditions, barcode contents, picture names) and every function
    // element is renumbered so that it keeps pointing at the same function;
    // references to a removed function become "@0" (and position -1 for an
    // element), which evaluate to an empty null value.
    void insertFunction(int pos, const TRadekFunkce &f);
    void removeFunction(int pos);
    TOddilSestavy *section(int kind);
    const TOddilSestavy *section(int kind) const;
    int elementCount() const;

    // Section options.
    bool pageBreakAfterStart() const { return sections[0].options & 1; }
    bool noHeaderOnFirstPage() const { return sections[1].options & 1; }
    bool noHeaderOnLastPage() const { return sections[1].options & 2; }
    bool newPageForEachBody() const { return sections[2].options & 1; }
    bool pageBreakBeforeEnd() const { return sections[3].options & 1; }
    bool endAlignedToFooter() const { return sections[3].options & 2; }
    bool noFooterOnLastPage() const { return sections[4].options & 1; }
    bool footerOnFirstPageOnly() const { return sections[4].options & 2; }

    bool sameDefinition(const ReportDefinition &o) const;
};

// Rewrites every "@" followed by a 1-based function number; map returns the
// new number (0 for a reference to a removed function).
QString renumberFunctionReferences(const QString &expression, const std::function<int(int)> &map);

struct TFormatPapiru {
    QString name;   // at most 31 characters
    int width = 0;
    int height = 0;
};

class TListFormatu {
public:
    static constexpr int kBuiltInCount = 17;
    TListFormatu();   // the built-in formats
    const QList<TFormatPapiru> &formats() const { return m_formats; }
    void add(const TFormatPapiru &f);
    // The first format of the given size, or -1.
    int find(int width, int height) const;
    // User formats from the settings file (section "FormatyPapiru"); false
    // when the file exists but cannot be read.
    bool loadUserFormats(const QString &iniPath);
    // Writes the user formats into the file, keeping its other sections.
    bool saveUserFormats(const QString &iniPath, QString *error = nullptr) const;

private:
    QList<TFormatPapiru> m_formats;
};

// Run state of one report, the source of the system values.
struct RunState {
    QDateTime printed;        // taken once when the run starts
    int lineNumber = 1;
    int pageNumber = 1;
    int pageCount = 0;
};

class TSestavaTyp : public EvalContext {
public:
    TSestavaTyp();
    ~TSestavaTyp() override;
    TSestavaTyp(const TSestavaTyp &) = delete;
    TSestavaTyp &operator=(const TSestavaTyp &) = delete;

    ReportDefinition def;

    // Filled from the data source before each run.
    QStringList fieldNames;
    QStringList fieldLabels;
    QStringList valueTexts;
    QStringList Parametry;

    // Component properties.
    QString Popis = QStringLiteral("Tisková úloha VAMEL");
    int printCopies = 1;
    int startPage = 1;
    int endPage = 9999;
    int maxRecords = 0;
    bool tiskJedenZaznam = false;
    int exportLanguage = 0;
    bool printBackground = false;
    bool allowNullValues = false;

    TListFormatu paperFormats;
    RunState run;

    // Details: attached in order; their number is the position in this list.
    // The master does not own them (except those made by adoptDetail) and
    // clears their master link when destroyed.
    const QList<TSestavaTyp *> &details() const { return m_details; }
    TSestavaTyp *master() const { return m_master; }
    void setMaster(TSestavaTyp *master);
    // Creates a detail owned by this report and attaches it.
    TSestavaTyp *adoptDetail();
    virtual bool isDetail() const { return m_master != nullptr; }
    bool hasDetails() const { return !m_details.isEmpty(); }

    // Field answers of the base component: a generic value list.
    virtual int fieldCount() const { return fieldNames.size(); }
    virtual TCalcType fieldValueAt(int index) const;
    virtual QString fieldLabel(int index) const;

    // EvalContext.
    int fieldPosition(const QString &name) const override;
    int functionPosition(const QString &name) const override;
    std::optional<TCalcType> fieldValue(int index) const override;
    std::optional<TCalcType> parameterValue(int index) const override;
    std::optional<TCalcType> functionValue(int index) const override;
    std::optional<TCalcType> systemValue(int index) const override;

    // System value n as printed by a system-value element with the given
    // format text; nullopt when it cannot be produced ("????").
    std::optional<QString> systemValueText(int index, const QString &format) const;

    // User functions at run time.
    void prepareFunctions();                 // skip-nulls from allowNullValues, reset all
    void requestFunctionReset(int code);     // -1 all, 1 page, 2 + k group k
    void evaluateFunctions();                // every function, in list order

private:
    TSestavaTyp *m_master = nullptr;
    QList<TSestavaTyp *> m_details;
    std::vector<std::unique_ptr<TSestavaTyp>> m_ownedDetails;
};

} // namespace tz::rep
