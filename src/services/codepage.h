#pragma once
// Single-byte code pages used by the program's files: Windows-1250 for settings,
// report definitions and exchange files; CP852, Kamenický and plain ASCII for
// character output of reports.
#include <QByteArray>
#include <QString>

namespace tz {

enum class CodePage { Cp1250, Cp852, Kamenicky, Ascii };

// Decodes bytes of the code page. Unassigned bytes become U+FFFD.
QString decode(const QByteArray &bytes, CodePage cp = CodePage::Cp1250);
// Encodes text into the code page; a character without an equivalent becomes '?'.
// Ascii drops the accents of Latin letters ("Č" -> "C").
QByteArray encode(const QString &text, CodePage cp = CodePage::Cp1250);

// The Unicode character of one byte, or 0 when the byte is unassigned.
char16_t toUnicode(unsigned char byte, CodePage cp);
// The byte of one character, or 0 when it has none in the code page.
unsigned char fromUnicode(char16_t ch, CodePage cp);

// The letter without its accent (for ASCII output); the character itself otherwise.
QChar stripAccent(QChar ch);

} // namespace tz
