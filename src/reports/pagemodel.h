#pragma once
// Composed pages of a report (the page store) and the text layout that
// composition uses.
//
//   OutputElement   one drawn element on a page: a copy of its definition
//                   element (with the value it printed), its box in page
//                   coordinates (hundredths of an inch from the top-left corner
//                   of the printable area), the laid-out lines it shows, and a
//                   picture or a picture file name.
//   OutputPage      the elements of one page in drawing order: drawing surfaces,
//                   then the other graphics, then texts (texts always over
//                   graphics); each element gets a running number on its page.
//   PageStore       every composed page plus the page set-up, character grid and
//                   background of the run. Print and export take a page range
//                   (PageRange); the store itself always keeps all pages.
//
//   layoutText()    breaks a text into lines in a box: line feeds, tabs,
//                   breaking after the last blank before the right edge (a word
//                   without a blank breaks at the edge) when the element has
//                   several lines; measured with the element's font at 7200
//                   units per inch, results in hundredths of an inch.
//   layoutFormatted() the same for formatted text (an RTF memo, rtftext.h):
//                   each line carries its runs, every run measured and drawn
//                   in its own font.
#include "reportmodel.h"
#include "rtftext.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace tz::rep {

// A piece of a line in its own font. A tab between two runs belongs to
// neither of them.
struct TextRun {
    int start = 0;        // in TextLine::text
    int length = 0;
    double x = 0;         // from the line's start, hundredths of an inch
    double width = 0;
    TextFormat format;
    QString text(const QString &line) const { return line.mid(start, length); }
};

struct TextLine {
    QString text;
    double width = 0;     // hundredths of an inch
    double height = 0;
    double ascent = 0;
    bool wrapped = false; // ended by wrapping (justified alignment spreads it)
    // Formatted text only; empty: the whole line is in the element's font.
    std::vector<TextRun> runs;
};

// The font of a text-like element for drawing and measuring, at its point size.
QFont elementFont(const TSiReportElement &e);
// True for the fixed-pitch "Roman 10cpi/12cpi/17cpi" fonts (pitch returned).
bool romanPitchFont(const QString &name, int *pitch = nullptr);

// The element's own font as a text format (the defaults of its formatted text).
TextFormat elementFormat(const TSiReportElement &e);
// The element with the font of a run, for measuring and drawing the run.
TSiReportElement runElement(const TSiReportElement &e, const TextFormat &f);

// `wrap` breaks lines at the right edge (elements with several lines, memo fields).
std::vector<TextLine> layoutText(const QString &text, const TSiReportElement &e, int width, bool wrap);
std::vector<TextLine> layoutFormatted(const FormattedText &text, const TSiReportElement &e, int width, bool wrap);
double linesHeight(const std::vector<TextLine> &lines);

struct OutputElement {
    TSiReportElement el;      // the element as printed (value filled in)
    int sectionKind = 0;
    QRect box;                // page coordinates, hundredths of an inch
    std::vector<TextLine> lines;
    QImage picture;
    QString pictureFile;
    int number = 0;           // 1-based running number on its page
    bool isText() const { return isTextLikeKind(el.kind) && picture.isNull() && pictureFile.isEmpty(); }
};

struct OutputPage {
    std::vector<OutputElement> elements;
    int nextNumber = 1;
    // Inserts keeping the drawing order; returns the element's index.
    int add(OutputElement e);
};

struct PageRange {
    int first = 1;   // 1-based, inclusive
    int last = 9999;
};

struct PageStore {
    std::vector<OutputPage> pages;
    PageSetup pageSetup;
    CharGrid grid;
    Background background;
    bool printBackground = false;
    int paperWidth() const;   // for the orientation
    int paperHeight() const;
    int printableWidth() const { return paperWidth() - pageSetup.marginLeft - pageSetup.marginRight; }
    int printableHeight() const { return paperHeight() - pageSetup.marginTop - pageSetup.marginBottom; }
    int pageCount() const { return int(pages.size()); }
    // The range limited to 1 .. page count (first > last when nothing is left).
    PageRange clamp(PageRange r) const;
    void clear() { pages.clear(); }
};

} // namespace tz::rep
