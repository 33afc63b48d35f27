#pragma once
// Writing composed pages (pagemodel.h) to files. One exporter per format:
//
//   "txt"   the character page: every text line placed in rows and columns by
//           its pitch (both edges of its box rounded to columns), layers
//           merged, converted to the export code page, CR LF per row; the
//           last page ends at its last used row. Where the texts of two
//           elements would meet on a row, one blank is kept between them.
//           Formatted runs go to the layers of their styles.
//   "html"  one page per file (name + page number + ".html") or, with
//           `continuous`, the one page of a report composed without page
//           breaks; UTF-8, absolutely positioned DIVs, pictures beside it.
//   "rtf"   one document with all pages, positioned frame paragraphs and shapes.
//   "svg"   one file per page (name + page number + ".svg").
//   "pdf"   one document, drawn by the page renderer through QPdfWriter.
//
//     auto ex = tz::rep::createExporter("txt");
//     QString err;
//     if (!ex->write(store, "/tmp/out.txt", {.range = {1, 2}, .language = slCP852}, &err)) ...
//
// write() returns false with a Czech reason when a file cannot be written.
#include "pagemodel.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

namespace tz::rep {

struct ExportOptions {
    PageRange range;
    int language = 0;        // TSestLanguage (text export)
    bool singlePage = false; // html/svg: only range.first, written to the path as given
    bool continuous = false; // html: the store holds one page composed without page breaks
};

class Exporter {
public:
    virtual ~Exporter() = default;
    virtual QString format() const = 0;
    virtual bool write(const PageStore &store, const QString &path, const ExportOptions &options, QString *error) = 0;
    // The files written by the last write().
    QStringList files;
};

// "txt", "html", "rtf", "svg", "pdf"; nullptr for any other.
std::unique_ptr<Exporter> createExporter(const QString &format);
QStringList exportFormats();

// name + n + extension ("zprava.html", 2 -> "zprava2.html").
QString numberedFileName(const QString &path, int page);

// The character page: per row 24 layers of text, one per pitch (10, 12, 17
// characters per inch) and style (bold, italic, underline as bits 0-2):
// layer = pitch number * 8 + style bits.
struct CharacterRow {
    std::array<QString, 24> layers;
    bool used = false;
    // The layers merged in layer order: a later layer fills the blanks.
    QString merged() const;
};
struct CharacterPage {
    std::vector<CharacterRow> rows;   // paper height * lines per inch / 100 rows (more when used)
    int lastUsed = -1;
};
std::vector<CharacterPage> characterPages(const PageStore &store, PageRange range);
// 6, 4 or 3 lines per inch for the line spacing of the character grid.
int characterLinesPerInch(const CharGrid &grid);

// The text of a page as the character page gives it, converted to bytes.
QByteArray characterPageBytes(const PageStore &store, PageRange range, int language);
// Conversion of report text into the export code page.
QByteArray encodeForExport(const QString &text, int language);

// Writes bytes through a temporary file in the same folder.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error);

} // namespace tz::rep
