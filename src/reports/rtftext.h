#pragma once
// Reading RTF memo text into runs of formatted text.
//
//   isRtfText()    the text is an RTF document (begins with "{\rtf").
//   readRtf()      the document's text as spans, each with its font name,
//                  size, style and colour; what the document does not set
//                  comes from the base format (the element's own font).
//                  Paragraph and line breaks become line feeds ("\n"), tabs
//                  and table cells tabs ("\t"); the font and colour tables,
//                  style sheets, document information, pictures, headers,
//                  footers and every "{\*\...}" group are skipped. Character
//                  escapes \'xx are Windows-1250 (Windows-1252 for a font
//                  declared Western in a 1252 document), \uN is Unicode.
//                  The typographic quotes print as Czech quotes:
//                  \ldblquote „  \rdblquote “  \lquote ‚  \rquote ‘.
//   rtfPlainText() the same text without formatting.
//
//     const FormattedText t = readRtf(memo, {"Arial", 10, 0, 0});
//     for (const TextSpan &s : t.spans) ... s.text, s.format.fontStyle ...
#include <QString>

#include <vector>

namespace tz::rep {

struct TextFormat {
    QString fontName;
    int pointSize = 10;
    int fontStyle = 0;   // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    qint32 colour = 0;   // 0x00BBGGRR
    bool operator==(const TextFormat &) const = default;
};

struct TextSpan {
    QString text;
    TextFormat format;
    bool operator==(const TextSpan &) const = default;
};

struct FormattedText {
    // Neighbouring spans never share a format; no span is empty.
    std::vector<TextSpan> spans;
    QString plainText() const;
};

bool isRtfText(const QString &text);
FormattedText readRtf(const QString &rtf, const TextFormat &base);
QString rtfPlainText(const QString &rtf);

} // namespace tz::rep
