#include "rtftext.h"

#include "codepage.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace tz::rep {

namespace {

// Windows-1252 bytes 0x80-0x9f (the rest of the upper half is Latin-1).
constexpr char16_t kCp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                      0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Destinations whose whole content is left out of the text.
bool skippedDestination(const QString &w)
{
    static const QSet<QString> words = {
        QStringLiteral("stylesheet"), QStringLiteral("info"),        QStringLiteral("pict"),
        QStringLiteral("object"),     QStringLiteral("header"),      QStringLiteral("headerl"),
        QStringLiteral("headerr"),    QStringLiteral("headerf"),     QStringLiteral("footer"),
        QStringLiteral("footerl"),    QStringLiteral("footerr"),     QStringLiteral("footerf"),
        QStringLiteral("footnote"),   QStringLiteral("ftnsep"),      QStringLiteral("ftnsepc"),
        QStringLiteral("ftncn"),      QStringLiteral("aftnsep"),     QStringLiteral("aftnsepc"),
        QStringLiteral("aftncn"),     QStringLiteral("author"),      QStringLiteral("operator"),
        QStringLiteral("title"),      QStringLiteral("subject"),     QStringLiteral("keywords"),
        QStringLiteral("comment"),    QStringLiteral("doccomm"),     QStringLiteral("creatim"),
        QStringLiteral("revtim"),     QStringLiteral("printim"),     QStringLiteral("buptim"),
        QStringLiteral("private1"),   QStringLiteral("rxe"),         QStringLiteral("tc"),
        QStringLiteral("txe"),        QStringLiteral("xe"),          QStringLiteral("fldinst"),
        QStringLiteral("listtable"),  QStringLiteral("listoverridetable"), QStringLiteral("rsidtbl"),
        QStringLiteral("themedata"),  QStringLiteral("colorschememapping"), QStringLiteral("datastore"),
        QStringLiteral("latentstyles"), QStringLiteral("shpinst"),   QStringLiteral("nonshppict"),
        QStringLiteral("generator"),  QStringLiteral("xmlnstbl"),    QStringLiteral("mmathPr"),
        QStringLiteral("pgdsctbl"),   QStringLiteral("filetbl"),     QStringLiteral("revtbl"),
    };
    return words.contains(w);
}

bool underlineWord(const QString &w)
{
    static const QSet<QString> words = {
        QStringLiteral("ul"),        QStringLiteral("uld"),        QStringLiteral("uldash"),
        QStringLiteral("uldashd"),   QStringLiteral("uldashdd"),   QStringLiteral("uldb"),
        QStringLiteral("ulth"),      QStringLiteral("ulw"),        QStringLiteral("ulwave"),
        QStringLiteral("ulhwave"),   QStringLiteral("ulldash"),    QStringLiteral("ulthd"),
        QStringLiteral("ulthdash"),  QStringLiteral("ulthdashd"),  QStringLiteral("ulthdashdd"),
        QStringLiteral("ulthldash"), QStringLiteral("ululdbwave"),
    };
    return words.contains(w);
}

enum class Dest { Text, Skip, FontTable, ColourTable };

constexpr int kMaxHalfPoints = 3276;   // the largest size a word processor offers (1638 pt)

struct State {
    Dest dest = Dest::Text;
    int style = 0;           // fontStyle bits
    int halfPoints = -1;     // -1: the base size
    int font = -1;           // -1: the base font
    int colour = -1;         // -1: the base colour
    int uc = 1;              // fallback characters after \uN
};

struct FontDef {
    QString name;
    int charset = -1;
};

class Reader {
public:
    Reader(const QString &rtf, const TextFormat &base) : m_in(rtf), m_base(base) { m_st.style = base.fontStyle; }

    FormattedText run()
    {
        const int n = int(m_in.size());
        int i = 0;
        while (i < n) {
            const QChar c = m_in[i];
            if (c == u'{') {
                m_stack.push_back(m_st);
                m_pendingSkip = 0;
                ++i;
            } else if (c == u'}') {
                if (m_stack.empty())
                    break;
                endGroup();
                m_st = m_stack.back();
                m_stack.pop_back();
                m_pendingSkip = 0;
                ++i;
                if (m_stack.empty())
                    break;   // the end of the document
            } else if (c == u'\\') {
                i = control(i + 1);
            } else {
                if (c.unicode() >= 0x20)
                    character(c);
                ++i;
            }
        }
        finish();
        return std::move(m_out);
    }

private:
    const QString &m_in;
    TextFormat m_base;
    State m_st;
    std::vector<State> m_stack;
    FormattedText m_out;
    QHash<int, FontDef> m_fonts;
    std::vector<std::optional<qint32>> m_colours;
    int m_defining = -1;     // font being defined in the font table
    QString m_fontName;
    int m_red = -1, m_green = -1, m_blue = -1;
    int m_codePage = 1250;   // \ansicpg
    int m_pendingSkip = 0;   // fallback characters still to drop after \uN

    TextFormat format() const
    {
        TextFormat f = m_base;
        f.fontStyle = m_st.style;
        if (m_st.halfPoints > 0)
            f.pointSize = (m_st.halfPoints + 1) / 2;
        if (m_st.font >= 0) {
            const auto it = m_fonts.constFind(m_st.font);
            if (it != m_fonts.constEnd() && !it->name.isEmpty())
                f.fontName = it->name;
        }
        if (m_st.colour >= 0 && m_st.colour < int(m_colours.size()) && m_colours[size_t(m_st.colour)])
            f.colour = *m_colours[size_t(m_st.colour)];
        return f;
    }

    void append(QChar c)
    {
        const TextFormat f = format();
        if (m_out.spans.empty() || !(m_out.spans.back().format == f))
            m_out.spans.push_back({QString(), f});
        m_out.spans.back().text += c;
    }

    // A character of the document (literal or escaped).
    void character(QChar c)
    {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        switch (m_st.dest) {
        case Dest::Text:
            if (c.unicode() >= 0x20)   // control characters never print
                append(c);
            break;
        case Dest::FontTable:
            if (c == u';')
                commitFont();
            else
                m_fontName += c;
            break;
        case Dest::ColourTable:
            if (c == u';') {
                if (m_red < 0 && m_green < 0 && m_blue < 0)
                    m_colours.push_back(std::nullopt);   // the automatic colour
                else
                    m_colours.push_back(qint32((std::max(0, m_blue) << 16) | (std::max(0, m_green) << 8) | std::max(0, m_red)));
                m_red = m_green = m_blue = -1;
            }
            break;
        case Dest::Skip: break;
        }
    }

    void commitFont()
    {
        if (m_defining >= 0)
            m_fonts[m_defining].name = m_fontName.trimmed();
        m_fontName.clear();
    }

    void endGroup()
    {
        // a font definition group may leave out its ";"
        if (m_st.dest == Dest::FontTable && !m_fontName.trimmed().isEmpty())
            commitFont();
    }

    QChar byteChar(int byte) const
    {
        int charset = -1;
        if (m_st.font >= 0) {
            const auto it = m_fonts.constFind(m_st.font);
            if (it != m_fonts.constEnd())
                charset = it->charset;
        }
        if (m_codePage == 1252 && (charset == 0 || charset == -1)) {
            if (byte >= 0x80 && byte < 0xA0)
                return QChar(kCp1252High[byte - 0x80]);
            return QChar(char16_t(byte));
        }
        const char16_t u = tz::toUnicode(static_cast<unsigned char>(byte), CodePage::Cp1250);
        return QChar(u ? u : char16_t(0xFFFD));
    }

    static int hexValue(QChar c)
    {
        if (c >= u'0' && c <= u'9')
            return c.unicode() - '0';
        if (c >= u'a' && c <= u'f')
            return c.unicode() - 'a' + 10;
        if (c >= u'A' && c <= u'F')
            return c.unicode() - 'A' + 10;
        return -1;
    }

    // After a backslash at i; returns the position after the control.
    int control(int i)
    {
        const int n = int(m_in.size());
        if (i >= n)
            return i;
        const QChar c = m_in[i];
        if (!c.isLetter() || c.unicode() > 0x7f) {
            switch (c.unicode()) {
            case '\\':
            case '{':
            case '}': character(c); return i + 1;
            case '~': character(u' '); return i + 1;
            case '_': character(u'-'); return i + 1;
            case '-': return i + 1;   // optional hyphen
            case '*': m_st.dest = Dest::Skip; return i + 1;
            case '\r':
            case '\n': word(QStringLiteral("par"), false, 0); return i + 1;
            case '\'': {
                const int hi = i + 1 < n ? hexValue(m_in[i + 1]) : -1;
                const int lo = i + 2 < n ? hexValue(m_in[i + 2]) : -1;
                if (hi < 0 || lo < 0)
                    return i + 1;
                character(byteChar(hi * 16 + lo));
                return i + 3;
            }
            default: return i + 1;
            }
        }
        int j = i;
        while (j < n && j - i < 32 && m_in[j].unicode() < 0x80 && m_in[j].isLetter())
            ++j;
        const QString name = m_in.mid(i, j - i);
        bool hasParam = false;
        int param = 0;
        if (j < n && (m_in[j] == u'-' || (m_in[j].unicode() >= '0' && m_in[j].unicode() <= '9'))) {
            const bool negative = m_in[j] == u'-';
            int k = negative ? j + 1 : j;
            qint64 v = 0;
            int digits = 0;
            while (k < n && m_in[k].unicode() >= '0' && m_in[k].unicode() <= '9') {
                if (digits < 10)
                    v = v * 10 + (m_in[k].unicode() - '0');
                ++k;
                ++digits;
            }
            if (digits > 0) {
                hasParam = true;
                param = int(std::clamp<qint64>(negative ? -v : v, -2147483647, 2147483647));
                j = k;
            }
        }
        if (j < n && m_in[j] == u' ')
            ++j;   // the delimiter belongs to the control word
        if (name == QLatin1String("bin")) {
            m_pendingSkip = 0;
            return int(std::min<qint64>(n, qint64(j) + std::max(0, param)));
        }
        word(name, hasParam, param);
        return j;
    }

    void setStyle(int bit, bool hasParam, int param)
    {
        if (hasParam && param == 0)
            m_st.style &= ~bit;
        else
            m_st.style |= bit;
    }

    void word(const QString &w, bool hasParam, int param)
    {
        // characters
        static const QHash<QString, char16_t> symbols = {
            {QStringLiteral("par"), u'\n'},      {QStringLiteral("line"), u'\n'},    {QStringLiteral("row"), u'\n'},
            {QStringLiteral("sect"), u'\n'},     {QStringLiteral("page"), u'\n'},    {QStringLiteral("tab"), u'\t'},
            {QStringLiteral("cell"), u'\t'},     {QStringLiteral("ldblquote"), 0x201E},
            {QStringLiteral("rdblquote"), 0x201C}, {QStringLiteral("lquote"), 0x201A},
            {QStringLiteral("rquote"), 0x2018},  {QStringLiteral("emdash"), 0x2014}, {QStringLiteral("endash"), 0x2013},
            {QStringLiteral("bullet"), 0x2022},  {QStringLiteral("emspace"), u' '},  {QStringLiteral("enspace"), u' '},
            {QStringLiteral("qmspace"), u' '},
        };
        const auto sym = symbols.constFind(w);
        if (sym != symbols.constEnd()) {
            if (m_st.dest == Dest::Text) {
                m_pendingSkip = 0;
                append(QChar(*sym));
            }
            return;
        }
        if (w == QLatin1String("u")) {
            if (hasParam)
                character(QChar(char16_t(param < 0 ? param + 65536 : param)));
            m_pendingSkip = std::max(0, m_st.uc);
            return;
        }
        if (w == QLatin1String("uc")) {
            m_st.uc = hasParam ? std::max(0, param) : 1;
            return;
        }
        // destinations
        if (w == QLatin1String("fonttbl")) {
            m_st.dest = Dest::FontTable;
            return;
        }
        if (w == QLatin1String("colortbl")) {
            m_st.dest = Dest::ColourTable;
            return;
        }
        if (skippedDestination(w)) {
            m_st.dest = Dest::Skip;
            return;
        }
        if (w == QLatin1String("ansicpg")) {
            m_codePage = param;
            return;
        }
        // the tables
        if (m_st.dest == Dest::FontTable) {
            if (w == QLatin1String("f")) {
                if (!m_fontName.trimmed().isEmpty())
                    commitFont();
                m_fontName.clear();
                m_defining = param;
                m_fonts[param];
            } else if (w == QLatin1String("fcharset") && m_defining >= 0) {
                m_fonts[m_defining].charset = param;
            }
            return;
        }
        if (m_st.dest == Dest::ColourTable) {
            if (w == QLatin1String("red"))
                m_red = std::clamp(param, 0, 255);
            else if (w == QLatin1String("green"))
                m_green = std::clamp(param, 0, 255);
            else if (w == QLatin1String("blue"))
                m_blue = std::clamp(param, 0, 255);
            return;
        }
        // character formatting
        if (w == QLatin1String("b"))
            setStyle(1, hasParam, param);
        else if (w == QLatin1String("i"))
            setStyle(2, hasParam, param);
        else if (underlineWord(w))
            setStyle(4, hasParam, param);
        else if (w == QLatin1String("ulnone"))
            m_st.style &= ~4;
        else if (w == QLatin1String("strike") || w == QLatin1String("striked"))
            setStyle(8, hasParam, param);
        else if (w == QLatin1String("plain")) {
            m_st.style = m_base.fontStyle;
            m_st.halfPoints = -1;
            m_st.font = -1;
            m_st.colour = -1;
        } else if (w == QLatin1String("fs"))
            m_st.halfPoints = hasParam && param > 0 ? std::min(param, kMaxHalfPoints) : -1;
        else if (w == QLatin1String("f"))
            m_st.font = hasParam ? param : -1;
        else if (w == QLatin1String("cf"))
            m_st.colour = hasParam ? param : -1;
    }

    void finish()
    {
        // the paragraph mark that ends the document's last paragraph
        if (!m_out.spans.empty() && m_out.spans.back().text.endsWith(u'\n')) {
            m_out.spans.back().text.chop(1);
            if (m_out.spans.back().text.isEmpty())
                m_out.spans.pop_back();
        }
    }
};

} // namespace

QString FormattedText::plainText() const
{
    QString t;
    for (const TextSpan &s : spans)
        t += s.text;
    return t;
}

bool isRtfText(const QString &text)
{
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return QStringView(text).mid(i).startsWith(QLatin1String("{\\rtf"));
}

FormattedText readRtf(const QString &rtf, const TextFormat &base)
{
    Reader r(rtf, base);
    return r.run();
}

QString rtfPlainText(const QString &rtf) { return readRtf(rtf, TextFormat{}).plainText(); }

} // namespace tz::rep
