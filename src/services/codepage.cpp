#include "codepage.h"

#include <array>

namespace tz {
namespace {

#include "codepage_tables.inc"

// Kamenický (CP867/895): the 44 Czech and Slovak letters in this order at 0x80..0xAB,
// the rest of the upper half as in code page 437.
constexpr char16_t kKamenickyLetters[44] = {
    u'Č', u'ü', u'é', u'ď', u'ä', u'Ď', u'Ť', u'č', u'ě', u'Ě', u'Ĺ', u'Í', u'ľ', u'ĺ', u'Ä',
    u'Á', u'É', u'ž', u'Ž', u'ô', u'ö', u'Ó', u'ů', u'Ú', u'ý', u'Ö', u'Ü', u'Š', u'Ľ', u'Ý',
    u'Ř', u'ť', u'á', u'í', u'ó', u'ú', u'ň', u'Ň', u'Ů', u'Ô', u'š', u'ř', u'ŕ', u'Ŕ'};

constexpr char16_t kCp437High[84] = {
    // 0xAC..0xAF
    0x00BC, 0x00A7, 0x00AB, 0x00BB,
    // 0xB0..0xFF
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551,
    0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C,
    0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568,
    0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588,
    0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5,
    0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1,
    0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F,
    0x00B2, 0x25A0, 0x00A0};

const char16_t *upperHalf(CodePage cp)
{
    static const std::array<char16_t, 128> kamenicky = [] {
        std::array<char16_t, 128> t{};
        for (int i = 0; i < 44; ++i)
            t[i] = kKamenickyLetters[i];
        for (int i = 0; i < 84; ++i)
            t[44 + i] = kCp437High[i];
        return t;
    }();
    switch (cp) {
    case CodePage::Cp1250: return kCp1250;
    case CodePage::Cp852: return kCp852;
    case CodePage::Kamenicky: return kamenicky.data();
    case CodePage::Ascii: return nullptr;
    }
    return nullptr;
}

} // namespace

char16_t toUnicode(unsigned char byte, CodePage cp)
{
    if (byte < 0x80)
        return byte;
    const char16_t *t = upperHalf(cp);
    return t ? t[byte - 0x80] : 0;
}

unsigned char fromUnicode(char16_t ch, CodePage cp)
{
    if (ch < 0x80)
        return static_cast<unsigned char>(ch);
    if (cp == CodePage::Ascii) {
        const QChar plain = stripAccent(QChar(ch));
        return plain.unicode() < 0x80 ? static_cast<unsigned char>(plain.unicode()) : 0;
    }
    const char16_t *t = upperHalf(cp);
    for (int i = 0; i < 128; ++i)
        if (t[i] == ch)
            return static_cast<unsigned char>(0x80 + i);
    return 0;
}

QChar stripAccent(QChar ch)
{
    if (ch.unicode() < 0x80)
        return ch;
    const QString d = QString(ch).normalized(QString::NormalizationForm_D);
    if (!d.isEmpty() && d.at(0).unicode() < 0x80)
        return d.at(0);
    return ch;
}

QString decode(const QByteArray &bytes, CodePage cp)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const char16_t u = toUnicode(static_cast<unsigned char>(c), cp);
        out.append(QChar(u ? u : char16_t(0xFFFD)));
    }
    return out;
}

QByteArray encode(const QString &text, CodePage cp)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const unsigned char b = fromUnicode(ch.unicode(), cp);
        out.append(b || ch.unicode() == 0 ? char(b) : '?');
    }
    return out;
}

} // namespace tz
