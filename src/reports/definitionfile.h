#pragma once
// Report definition files (*.pts): Windows-1250 text, one record per line,
// CR LF, comma-separated fields with double-quoted texts.
//
// Loading:
//     tz::rep::TSestavaTyp report;
//     report.fieldNames = {...};               // when known, names resolve
//     tz::rep::LoadStatus st = tz::rep::loadDefinitionFile(report, path, {.resolveFields = true});
//     if (!st.ok()) show(st.message);          // st.code == seCteniPredlohy
// The definition is parsed completely (master and every "D<n>" detail) before
// anything is taken over: on failure the report and its details keep what they
// had. A missing record takes its defaults; a damaged file (control
// characters, bytes outside Windows-1250, an unterminated quoted field, a
// record cut short at the end of a file) is refused with a message naming the
// file and the line.
//
// Saving:
//     TPredloha lines = tz::rep::writeDefinition(report);     // canonical record order
//     tz::rep::saveDefinitionFile(report, path);              // ".BAK" kept, atomic replace
// A file written by writeDefinition reads back to the same model and writes
// back to the same bytes.
#include "reportmodel.h"

#include <QByteArray>
#include <QString>

namespace tz::rep {

struct ReadOptions {
    // Resolve field references against the report's fieldNames (a name not
    // found, or a number outside the list, becomes field 0). Without it,
    // numbers are kept as stored.
    bool resolveFields = false;
    // Create (and own) a detail for every "D<n>" number that has no attached
    // detail, instead of dropping its lines (tools and tests).
    bool createDetails = false;
};

struct LoadStatus {
    TSestError code = seOK;
    QString message;   // Czech, names the file (and the line)
    int line = 0;      // 1-based line of a damaged file, 0 otherwise
    bool ok() const { return code == seOK; }
};

// Splits file bytes into lines (CR LF, LF or CR). `lastLineOpen` tells
// whether the last line had no line end.
TPredloha decodeDefinition(const QByteArray &bytes, bool *lastLineOpen = nullptr);
QByteArray encodeDefinition(const TPredloha &lines);

// Takes the lines over into the report and its details.
LoadStatus takeOverDefinition(TSestavaTyp &report, const TPredloha &lines, const QString &sourceName,
                              const ReadOptions &options = {}, bool lastLineOpen = false);
LoadStatus loadDefinitionBytes(TSestavaTyp &report, const QByteArray &bytes, const QString &sourceName,
                               const ReadOptions &options = {});
LoadStatus loadDefinitionFile(TSestavaTyp &report, const QString &path, const ReadOptions &options = {});

TPredloha writeDefinition(const TSestavaTyp &report);
// Writes the file through a temporary file in the same folder; an existing
// file is first copied to the same name with the extension ".BAK".
LoadStatus saveDefinitionFile(const TSestavaTyp &report, const QString &path);

// One line split into its fields by the file's quoting rules.
struct SplitLine {
    QStringList fields;
    QList<int> starts;          // index of each field's first character
    bool unterminatedQuote = false;
};
SplitLine splitFields(const QString &line);

} // namespace tz::rep
