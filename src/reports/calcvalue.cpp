#include "calcvalue.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <cmath>
#include <cstdio>

namespace tz::rep {

namespace {

constexpr qint64 kJulianOf18991230 = 2415019;

bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// Decimal digits of |v|: |v| = d.ddd x 10^exp, at most 15 significant
// digits (what a double holds reliably), then rounded half up in decimal, so
// that 2,25 shown with one decimal is 2,3 as people expect.
struct Digits {
    QString d;
    int exp = 0;
    bool zero = true;
};

Digits digits15(double v)
{
    Digits g;
    if (v == 0 || !std::isfinite(v)) {
        g.d = QStringLiteral("0");
        return g;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    const QString s = QString::fromLatin1(buf);
    const int e = s.indexOf(u'e');
    g.d = s.left(e);
    g.d.remove(u'.');
    g.exp = s.mid(e + 1).toInt();
    g.zero = false;
    return g;
}

// Keeps n significant digits, rounding half up.
void roundSig(Digits &g, int n)
{
    if (g.zero || n >= g.d.size())
        return;
    if (n <= 0) {
        const bool up = n == 0 && g.d[0] >= u'5';
        g.d = up ? QStringLiteral("1") : QStringLiteral("0");
        if (up)
            ++g.exp;
        else
            g.zero = true;
        return;
    }
    const bool up = g.d[n] >= u'5';
    g.d.truncate(n);
    if (!up)
        return;
    int i = n - 1;
    while (i >= 0 && g.d[i] == u'9') {
        g.d[i] = u'0';
        --i;
    }
    if (i >= 0) {
        g.d[i] = QChar(g.d[i].unicode() + 1);
    } else {
        g.d.prepend(u'1');
        g.d.chop(1);
        ++g.exp;
    }
}

void decimalDigits(double v, int precision, QString &digits, int &exp)
{
    Digits g = digits15(v);
    roundSig(g, precision);
    digits = g.d.leftJustified(precision, u'0');
    exp = g.zero ? 0 : g.exp;
}

// |a| with exactly `decimals` decimals, "." as separator, rounded half up.
QString fixedString(double a, int decimals)
{
    Digits g = digits15(a);
    if (!g.zero)
        roundSig(g, g.exp + 1 + decimals);
    QString intPart, frac;
    if (g.zero) {
        intPart = QStringLiteral("0");
    } else if (g.exp >= 0) {
        intPart = g.d.left(g.exp + 1).leftJustified(g.exp + 1, u'0');
        frac = g.d.mid(g.exp + 1);
    } else {
        intPart = QStringLiteral("0");
        frac = QString(-g.exp - 1, u'0') + g.d;
    }
    frac = frac.leftJustified(decimals, u'0').left(decimals);
    return decimals > 0 ? intPart + u'.' + frac : intPart;
}

QString groupThousands(const QString &intPart, QChar sep)
{
    QString out;
    const int n = intPart.size();
    for (int i = 0; i < n; ++i) {
        out += intPart[i];
        const int fromRight = n - 1 - i;
        if (fromRight > 0 && fromRight % 3 == 0)
            out += sep;
    }
    return out;
}

QString padded(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

// Fixed notation with `decimals` places of a value already limited in its
// significant digits; "-" only when something non-zero is shown.
QString fixedText(double v, int decimals, bool thousands)
{
    const QString s = fixedString(std::fabs(v), decimals);
    QString intPart = s, frac;
    const int dot = s.indexOf(u'.');
    if (dot >= 0) {
        intPart = s.left(dot);
        frac = s.mid(dot + 1);
    }
    const FormatSettings &fs = formatSettings();
    if (thousands)
        intPart = groupThousands(intPart, fs.thousandSeparator);
    QString out = intPart;
    if (!frac.isEmpty())
        out += fs.decimalSeparator + frac;
    bool nonZero = false;
    for (QChar c : s)
        if (c.unicode() >= '1' && c.unicode() <= '9')
            nonZero = true;
    if (v < 0 && nonZero)
        out.prepend(u'-');
    return out;
}

double roundToPrecision(double v, int precision)
{
    Digits g = digits15(v);
    if (g.zero)
        return 0;
    roundSig(g, precision);
    const QByteArray t = (g.d.left(1) + u'.' + g.d.mid(1) + u'e' + QString::number(g.exp)).toLatin1();
    const double r = std::strtod(t.constData(), nullptr);
    return v < 0 ? -r : r;
}

QString scientificGeneral(double v, const QString &digitsIn, int exp, int expDigits)
{
    QString digits = digitsIn;
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    QString out = digits.left(1);
    if (digits.size() > 1)
        out += formatSettings().decimalSeparator + digits.mid(1);
    out += u'E';
    if (exp < 0)
        out += u'-';
    out += padded(std::abs(exp), expDigits);
    if (v < 0)
        out.prepend(u'-');
    return out;
}

QString currencyText(double v, int digits)
{
    const FormatSettings &fs = formatSettings();
    const QString n = fixedText(std::fabs(v), digits, true);
    const QString &c = fs.currencyString;
    bool nonZero = false;
    for (QChar ch : n)
        if (ch.unicode() >= '1' && ch.unicode() <= '9')
            nonZero = true;
    if (v >= 0 || !nonZero) {
        switch (fs.currencyFormat) {
        case 0: return c + n;
        case 1: return n + c;
        case 2: return c + u' ' + n;
        default: return n + u' ' + c;
        }
    }
    static const char *const neg[16] = {"($n)", "-$n", "$-n", "$n-", "(n$)", "-n$", "n-$", "n$-",
                                        "-n $", "-$ n", "n $-", "$ n-", "$ -n", "n- $", "($ n)", "(n $)"};
    const int f = (fs.negCurrFormat >= 0 && fs.negCurrFormat < 16) ? fs.negCurrFormat : 8;
    QString out;
    for (const char *p = neg[f]; *p; ++p) {
        if (*p == 'n')
            out += n;
        else if (*p == '$')
            out += c;
        else
            out += QLatin1Char(*p);
    }
    return out;
}

} // namespace

TCalcType TCalcType::fromNumber(double v)
{
    TCalcType r;
    r.kind = kNumber;
    r.number = v;
    r.text = numberText(v);
    return r;
}

TCalcType TCalcType::fromText(const QString &t)
{
    TCalcType r;
    r.kind = kText;
    r.text = t;
    r.number = readNumberOr0(t);
    return r;
}

FormatSettings FormatSettings::czech()
{
    FormatSettings s;
    s.shortMonthNames = {QStringLiteral("led"), QStringLiteral("úno"), QStringLiteral("bře"),
                         QStringLiteral("dub"), QStringLiteral("kvě"), QStringLiteral("čvn"),
                         QStringLiteral("čvc"), QStringLiteral("srp"), QStringLiteral("zář"),
                         QStringLiteral("říj"), QStringLiteral("lis"), QStringLiteral("pro")};
    s.longMonthNames = {QStringLiteral("leden"),    QStringLiteral("únor"),  QStringLiteral("březen"),
                        QStringLiteral("duben"),    QStringLiteral("květen"), QStringLiteral("červen"),
                        QStringLiteral("červenec"), QStringLiteral("srpen"), QStringLiteral("září"),
                        QStringLiteral("říjen"),    QStringLiteral("listopad"), QStringLiteral("prosinec")};
    s.shortDayNames = {QStringLiteral("ne"), QStringLiteral("po"), QStringLiteral("út"), QStringLiteral("st"),
                       QStringLiteral("čt"), QStringLiteral("pá"), QStringLiteral("so")};
    s.longDayNames = {QStringLiteral("neděle"),  QStringLiteral("pondělí"), QStringLiteral("úterý"),
                      QStringLiteral("středa"),  QStringLiteral("čtvrtek"), QStringLiteral("pátek"),
                      QStringLiteral("sobota")};
    return s;
}

FormatSettings &formatSettings()
{
    static FormatSettings s = FormatSettings::czech();
    return s;
}

std::optional<double> readNumber(const QString &text)
{
    const QChar dec = formatSettings().decimalSeparator;
    QString s = text;
    if (dec == u',') {
        const int i = s.indexOf(u'.');
        if (i >= 0)
            s[i] = u',';
    } else if (dec == u'.') {
        const int i = s.indexOf(u',');
        if (i >= 0)
            s[i] = u'.';
    }
    int b = 0;
    while (b < s.size() && s[b] == u' ')
        ++b;
    s = s.mid(b);
    if (s.isEmpty() || !(isAsciiDigit(s[0]) || s[0] == u'-'))
        return std::nullopt;
    QByteArray ascii;
    ascii.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        const bool afterE = i > 0 && (s[i - 1] == u'E' || s[i - 1] == u'e');
        if (isAsciiDigit(c) || c == u'E' || c == u'e')
            ascii += char(c.unicode());
        else if (c == dec)
            ascii += '.';
        else if (c == u'-' && (i == 0 || afterE))
            ascii += '-';
        else if (c == u'+' && afterE)
            ascii += '+';
        else
            return std::nullopt;
    }
    // from_chars does not take a "+" in the exponent; drop it.
    ascii.replace("e+", "e");
    ascii.replace("E+", "E");
    double v = 0;
    const char *first = ascii.constData();
    const char *last = first + ascii.size();
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double readNumberOr0(const QString &text)
{
    return readNumber(text).value_or(0.0);
}

QString numberText(double v)
{
    return floatToStrF(v, FloatFormat::General, 15, 0);
}

QString floatToStrF(double v, FloatFormat format, int precision, int digits)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = std::clamp(precision, 1, 15);
    const FormatSettings &fs = formatSettings();
    QString d;
    int exp = 0;
    switch (format) {
    case FloatFormat::General: {
        digits = std::clamp(digits, 0, 4);
        if (v == 0)
            return QStringLiteral("0");
        decimalDigits(v, precision, d, exp);
        if (exp >= precision || exp < -5)
            return scientificGeneral(v, d, exp, digits);
        while (d.size() > 1 && d.endsWith(u'0'))
            d.chop(1);
        QString intPart, frac;
        if (exp >= 0) {
            intPart = d.left(exp + 1).leftJustified(exp + 1, u'0');
            frac = d.mid(exp + 1);
        } else {
            intPart = QStringLiteral("0");
            frac = QString(-exp - 1, u'0') + d;
        }
        QString out = intPart;
        if (!frac.isEmpty())
            out += fs.decimalSeparator + frac;
        if (v < 0)
            out.prepend(u'-');
        return out;
    }
    case FloatFormat::Exponent: {
        digits = std::clamp(digits, 0, 4);
        decimalDigits(v, precision, d, exp);
        if (v == 0)
            exp = 0;
        QString out = d.left(1);
        if (d.size() > 1)
            out += fs.decimalSeparator + d.mid(1);
        out += u'E';
        out += exp < 0 ? u'-' : u'+';
        out += padded(std::abs(exp), digits);
        if (v < 0)
            out.prepend(u'-');
        return out;
    }
    case FloatFormat::Fixed:
    case FloatFormat::Number:
    case FloatFormat::Currency: {
        digits = std::clamp(digits, 0, 18);
        if (v != 0) {
            decimalDigits(v, precision, d, exp);
            if (exp >= precision)
                return scientificGeneral(v, d, exp, 0);
        }
        const double r = roundToPrecision(v, precision);
        if (format == FloatFormat::Currency)
            return currencyText(r, digits);
        return fixedText(r, digits, format == FloatFormat::Number);
    }
    }
    return numberText(v);
}

QString formatFloat(const QString &mask, double v)
{
    if (mask.isEmpty() || !std::isfinite(v))
        return numberText(v);

    // Sections: positive;negative;zero.
    QStringList sections;
    {
        QString cur;
        QChar quote;
        for (QChar c : mask) {
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'\'' || c == u'"') {
                quote = c;
            } else if (c == u';') {
                sections << cur;
                cur.clear();
                continue;
            }
            cur += c;
        }
        sections << cur;
    }
    int idx = 0;
    if (v < 0 && sections.size() >= 2 && !sections[1].isEmpty())
        idx = 1;
    else if (v == 0 && sections.size() >= 3 && !sections[2].isEmpty())
        idx = 2;
    const bool addMinus = v < 0 && idx == 0;
    const QString sec = sections[idx];
    double a = std::fabs(v);

    int intPlaceholders = 0, firstZeroInt = -1, fracPlaceholders = 0, lastZeroFrac = -1, expDigits = 0;
    bool decimalSeen = false, thousands = false, sci = false;
    for (int i = 0; i < sec.size(); ++i) {
        const QChar c = sec[i];
        if (c == u'\'' || c == u'"') {
            const int close = sec.indexOf(c, i + 1);
            i = close < 0 ? sec.size() : close;
            continue;
        }
        if (sci)
            continue;
        if (c == u'0' || c == u'#') {
            if (!decimalSeen) {
                if (c == u'0' && firstZeroInt < 0)
                    firstZeroInt = intPlaceholders;
                ++intPlaceholders;
            } else {
                if (c == u'0')
                    lastZeroFrac = fracPlaceholders;
                ++fracPlaceholders;
            }
        } else if (c == u'.' && !decimalSeen) {
            decimalSeen = true;
        } else if (c == u',') {
            thousands = true;
        } else if ((c == u'E' || c == u'e') && i + 1 < sec.size() && (sec[i + 1] == u'+' || sec[i + 1] == u'-')) {
            sci = true;
            int j = i + 2;
            while (j < sec.size() && sec[j] == u'0') {
                ++expDigits;
                ++j;
            }
        }
    }

    const FormatSettings &fs = formatSettings();
    if (intPlaceholders == 0 && fracPlaceholders == 0) {
        QString lit;
        for (int i = 0; i < sec.size(); ++i) {
            const QChar c = sec[i];
            if (c == u'\'' || c == u'"') {
                const int close = sec.indexOf(c, i + 1);
                lit += sec.mid(i + 1, (close < 0 ? sec.size() : close) - i - 1);
                i = close < 0 ? sec.size() : close;
            } else {
                lit += c;
            }
        }
        return lit;
    }

    int exponent = 0;
    const int fracMax = std::min(fracPlaceholders, 18);
    if (sci && a != 0) {
        const int ip = std::max(intPlaceholders, 1);
        exponent = int(std::floor(std::log10(a))) - (ip - 1);
        a = a / std::pow(10.0, exponent);
        if (fixedString(a, fracMax).toDouble() >= std::pow(10.0, ip)) {
            ++exponent;
            a /= 10;
        }
    }
    if (a >= 1e300)
        return numberText(v);
    const QString fixed = fixedString(a, fracMax);
    QString intStr = fixed, fracStr;
    if (const int dot = fixed.indexOf(u'.'); dot >= 0) {
        intStr = fixed.left(dot);
        fracStr = fixed.mid(dot + 1);
    }
    if (intStr == QLatin1String("0"))
        intStr.clear();
    const int intRequired = firstZeroInt < 0 ? 0 : intPlaceholders - firstZeroInt;
    if (intStr.size() < intRequired)
        intStr = intStr.rightJustified(intRequired, u'0');
    while (fracStr.size() > lastZeroFrac + 1 && fracStr.endsWith(u'0'))
        fracStr.chop(1);
    bool isZero = true;
    for (QChar c : intStr + fracStr)
        if (c != u'0')
            isZero = false;

    QString out;
    const int len = intStr.size();
    auto emitDigit = [&](int pos) {
        out += intStr[pos];
        const int fromRight = len - 1 - pos;
        if (thousands && fromRight > 0 && fromRight % 3 == 0)
            out += fs.thousandSeparator;
    };
    int intIdx = 0, fracIdx = 0;
    bool inFrac = false;
    for (int i = 0; i < sec.size(); ++i) {
        const QChar c = sec[i];
        if (c == u'\'' || c == u'"') {
            const int close = sec.indexOf(c, i + 1);
            out += sec.mid(i + 1, (close < 0 ? sec.size() : close) - i - 1);
            i = close < 0 ? sec.size() : close;
            continue;
        }
        if ((c == u'0' || c == u'#') && !inFrac) {
            const int r = intPlaceholders - 1 - intIdx;
            if (intIdx == 0) {
                for (int p = 0; p < len - r; ++p)
                    emitDigit(p);
            } else if (r < len) {
                emitDigit(len - 1 - r);
            }
            ++intIdx;
        } else if ((c == u'0' || c == u'#') && inFrac) {
            if (fracIdx < fracStr.size())
                out += fracStr[fracIdx];
            ++fracIdx;
        } else if (c == u'.' && !inFrac) {
            inFrac = true;
            if (intIdx == 0 && intPlaceholders == 0 && len > 0)
                for (int p = 0; p < len; ++p)
                    emitDigit(p);
            if (!fracStr.isEmpty())
                out += fs.decimalSeparator;
        } else if (c == u',') {
            // thousands marker, placed by the digits
        } else if ((c == u'E' || c == u'e') && i + 1 < sec.size() && (sec[i + 1] == u'+' || sec[i + 1] == u'-')) {
            out += c;
            if (exponent < 0)
                out += u'-';
            else if (sec[i + 1] == u'+')
                out += u'+';
            out += padded(std::abs(exponent), expDigits);
            i += 1 + expDigits;
        } else if (c == u'.') {
            out += c;
        } else {
            out += c;
        }
    }
    if (addMinus && !isZero)
        out.prepend(u'-');
    return out;
}

double dateToNumber(const QDate &d)
{
    return double(d.toJulianDay() - kJulianOf18991230);
}

double dateTimeToNumber(const QDateTime &dt)
{
    return dateToNumber(dt.date()) + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

bool numberToDateTime(double v, QDate &date, int &msecOfDay)
{
    if (!std::isfinite(v) || std::fabs(v) > 3.0e6)
        return false;
    double days = std::trunc(v);
    double ms = std::round(std::fabs(v - days) * 86400000.0);
    if (ms >= 86400000.0) {
        ms -= 86400000.0;
        days += v < 0 ? -1 : 1;
    }
    date = QDate::fromJulianDay(qint64(days) + kJulianOf18991230);
    msecOfDay = int(ms);
    return date.isValid() && date.year() >= 1 && date.year() <= 9999;
}

QString formatDateTime(const QString &maskIn, double v)
{
    const FormatSettings &fs = formatSettings();
    QDate date;
    int ms = 0;
    if (!numberToDateTime(v, date, ms))
        return QString();
    const QString mask = maskIn.isEmpty() ? QStringLiteral("c") : maskIn;
    const int hour = ms / 3600000, minute = ms / 60000 % 60, second = ms / 1000 % 60, milli = ms % 1000;
    QString out;
    bool afterHour = false;
    std::function<void(const QString &, int)> expand = [&](const QString &m, int depth) {
        for (int i = 0; i < m.size();) {
            const QChar c = m[i];
            const QChar l = c.toLower();
            int n = 1;
            auto cnt = [&](QChar ch) {
                int k = 0;
                while (i + k < m.size() && m[i + k].toLower() == ch)
                    ++k;
                return k;
            };
            if (c == u'\'' || c == u'"') {
                const int close = m.indexOf(c, i + 1);
                out += m.mid(i + 1, (close < 0 ? m.size() : close) - i - 1);
                i = close < 0 ? m.size() : close + 1;
                continue;
            }
            if (l == u'd') {
                n = cnt(u'd');
                switch (n) {
                case 1: out += QString::number(date.day()); break;
                case 2: out += padded(date.day(), 2); break;
                case 3: out += fs.shortDayNames.value(date.dayOfWeek() % 7); break;
                case 4: out += fs.longDayNames.value(date.dayOfWeek() % 7); break;
                case 5: if (depth < 2) expand(fs.shortDateFormat, depth + 1); break;
                default: if (depth < 2) expand(fs.longDateFormat, depth + 1); break;
                }
                afterHour = false;
            } else if (l == u'm') {
                n = cnt(u'm');
                if (afterHour && n <= 2) {
                    out += n == 1 ? QString::number(minute) : padded(minute, 2);
                } else {
                    switch (n) {
                    case 1: out += QString::number(date.month()); break;
                    case 2: out += padded(date.month(), 2); break;
                    case 3: out += fs.shortMonthNames.value(date.month() - 1); break;
                    default: out += fs.longMonthNames.value(date.month() - 1); break;
                    }
                }
                afterHour = false;
            } else if (l == u'y') {
                n = cnt(u'y');
                out += n <= 2 ? padded(date.year() % 100, 2) : padded(date.year(), 4);
                afterHour = false;
            } else if (l == u'h') {
                n = cnt(u'h');
                out += n == 1 ? QString::number(hour) : padded(hour, 2);
                afterHour = true;
            } else if (l == u'n') {
                n = cnt(u'n');
                out += n == 1 ? QString::number(minute) : padded(minute, 2);
                afterHour = false;
            } else if (l == u's') {
                n = cnt(u's');
                out += n == 1 ? QString::number(second) : padded(second, 2);
                afterHour = false;
            } else if (l == u'z') {
                n = cnt(u'z');
                out += n < 3 ? QString::number(milli) : padded(milli, 3);
            } else if (l == u't') {
                n = cnt(u't');
                if (depth < 2)
                    expand(n == 1 ? fs.shortTimeFormat : fs.longTimeFormat, depth + 1);
            } else if (l == u'c') {
                if (depth < 2) {
                    expand(fs.shortDateFormat, depth + 1);
                    if (ms != 0) {
                        out += u' ';
                        expand(fs.longTimeFormat, depth + 1);
                    }
                }
            } else if (l == u'a' && m.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
                out += hour < 12 ? fs.timeAmString : fs.timePmString;
                n = 5;
            } else if (l == u'a' && m.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
                out += hour < 12 ? QStringLiteral("a") : QStringLiteral("p");
                n = 3;
            } else if (c == u'/') {
                out += fs.dateSeparator;
            } else if (c == u':') {
                out += fs.timeSeparator;
            } else {
                out += c;
            }
            i += n;
        }
    };
    expand(mask, 0);
    return out;
}

namespace {
std::optional<QDate> parseDatePart(const QString &s)
{
    const QStringList parts = s.split(formatSettings().dateSeparator);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int v[3] = {0, 0, QDate::currentDate().year()};
    for (int i = 0; i < parts.size(); ++i) {
        const QString p = parts[i].trimmed();
        if (p.isEmpty() || p.size() > 4)
            return std::nullopt;
        for (QChar c : p)
            if (!isAsciiDigit(c))
                return std::nullopt;
        v[i] = p.toInt();
        if (i == 2 && p.size() <= 2)
            v[2] += v[2] < 50 ? 2000 : 1900;
    }
    const QDate d(v[2], v[1], v[0]);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

std::optional<int> parseTimePart(const QString &s)
{
    const QStringList parts = s.split(formatSettings().timeSeparator);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int v[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const QString p = parts[i].trimmed();
        if (p.isEmpty() || p.size() > 2)
            return std::nullopt;
        for (QChar c : p)
            if (!isAsciiDigit(c))
                return std::nullopt;
        v[i] = p.toInt();
    }
    if (v[0] > 23 || v[1] > 59 || v[2] > 59)
        return std::nullopt;
    return (v[0] * 3600 + v[1] * 60 + v[2]) * 1000;
}
} // namespace

std::optional<double> readDate(const QString &text)
{
    const auto d = parseDatePart(text.trimmed());
    if (!d)
        return std::nullopt;
    return dateToNumber(*d);
}

std::optional<double> readDateTime(const QString &text)
{
    const QString t = text.trimmed();
    const int sp = t.indexOf(u' ');
    if (sp < 0)
        return readDate(t);
    const auto d = parseDatePart(t.left(sp));
    const auto ms = parseTimePart(t.mid(sp + 1));
    if (!d || !ms)
        return std::nullopt;
    return dateToNumber(*d) + *ms / 86400000.0;
}

std::optional<QString> formatInteger(const QString &format, qint64 value)
{
    QString out;
    bool used = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == u'%') {
            out += u'%';
            continue;
        }
        // %[index:][-][width][.prec]type
        int j = i;
        while (j < format.size() && isAsciiDigit(format[j]))
            ++j;
        if (j < format.size() && format[j] == u':') {
            if (format.mid(i, j - i).toInt() != 0)
                return std::nullopt;
            i = j + 1;
        }
        bool left = false;
        if (i < format.size() && format[i] == u'-') {
            left = true;
            ++i;
        }
        int width = 0, prec = -1;
        while (i < format.size() && isAsciiDigit(format[i]) && width < 1000)
            width = width * 10 + format[i++].digitValue();
        if (i < format.size() && format[i] == u'.') {
            ++i;
            prec = 0;
            while (i < format.size() && isAsciiDigit(format[i]) && prec < 1000)
                prec = prec * 10 + format[i++].digitValue();
        }
        if (i >= format.size() || used)
            return std::nullopt;
        const QChar t = format[i].toLower();
        QString s;
        if (t == u'd' || t == u'u') {
            s = QString::number(std::llabs(value));
            if (prec > 0)
                s = s.rightJustified(prec, u'0');
            if (value < 0)
                s.prepend(u'-');
        } else if (t == u'x') {
            s = QString::number(quint64(value), 16).toUpper();
            if (prec > 0)
                s = s.rightJustified(prec, u'0');
        } else {
            return std::nullopt;
        }
        if (s.size() < width)
            s = left ? s.leftJustified(width, u' ') : s.rightJustified(width, u' ');
        out += s;
        used = true;
    }
    return out;
}

} // namespace tz::rep
