// One-pass expression evaluator: operands and operators are read left to right
// and reduced on two small stacks by operator level, so the text is parsed and
// evaluated together and no tree is built.
#include "expression.h"

#include "codepage.h"

#include <QVarLengthArray>

#include <cmath>
#include <cstdlib>

namespace tz::rep {

int EvalContext::fieldPosition(const QString &) const { return -1; }
int EvalContext::functionPosition(const QString &) const { return -1; }
std::optional<TCalcType> EvalContext::fieldValue(int) const { return std::nullopt; }
std::optional<TCalcType> EvalContext::parameterValue(int) const { return std::nullopt; }
std::optional<TCalcType> EvalContext::functionValue(int) const { return std::nullopt; }
std::optional<TCalcType> EvalContext::systemValue(int) const { return std::nullopt; }

namespace {

enum Fn {
    fABS, fINT, fSGN, fMAX, fMIN, fIIF, fLEFT, fRIGHT, fSUBSTR, fUPPER, fLOWER, fLTRIM, fRTRIM,
    fALLTRIM, fFORMAT, fSIN, fCOS, fTAN, fCOTG, fATAN, fACOTG, fASIN, fACOS, fEXP, fLOG, fCHR,
    fORD, fLENGTH, fPOS, fISNULL, fYEAR, fMONTH, fDAY, fHOUR, fMINUTE, fSECOND, fFORMATDT,
    fSTRTONUM, fNUMTOSTR, fROUND, fEXROUND, fSTRTODA, fSTRTODT, fCount
};

const BuiltinFunction kFunctions[fCount] = {
    {"ABS", 1},     {"INT", 1},      {"SGN", 1},     {"MAX", 2},      {"MIN", 2},      {"IIF", 3},
    {"LEFT", 2},    {"RIGHT", 2},    {"SUBSTR", 3},  {"UPPER", 1},    {"LOWER", 1},    {"LTRIM", 1},
    {"RTRIM", 1},   {"ALLTRIM", 1},  {"FORMAT", 2},  {"SIN", 1},      {"COS", 1},      {"TAN", 1},
    {"COTG", 1},    {"ATAN", 1},     {"ACOTG", 1},   {"ASIN", 1},     {"ACOS", 1},     {"EXP", 1},
    {"LOG", 1},     {"CHR", 1},      {"ORD", 1},     {"LENGTH", 1},   {"POS", 2},      {"ISNULL", 1},
    {"YEAR", 1},    {"MONTH", 1},    {"DAY", 1},     {"HOUR", 1},     {"MINUTE", 1},   {"SECOND", 1},
    {"FORMATDT", 2}, {"STRTONUM", 1}, {"NUMTOSTR", 1}, {"ROUND", 1},   {"EXROUND", 2},  {"STRTODA", 1},
    {"STRTODT", 1},
};

int findFunction(const QString &upperWord)
{
    for (int i = 0; i < fCount; ++i)
        if (upperWord == QLatin1String(kFunctions[i].name))
            return i;
    return -1;
}

enum Op { opNeg, opNot, opPow, opMul, opDiv, opAnd, opAdd, opSub, opOr, opEq, opNe, opLt, opGt, opLe, opGe, opIn };

int opLevel(int op)
{
    switch (op) {
    case opNeg: case opNot: return 1;
    case opPow: return 2;
    case opMul: case opDiv: case opAnd: return 3;
    case opAdd: case opSub: case opOr: return 4;
    default: return 5;
    }
}

struct Pending {
    enum Type : quint8 { Unary, Binary, Paren, Call } type;
    int code;      // operator or function
    int pos;
    int args = 0;  // commas seen in a call
};

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

double roundHalfEven(double v)
{
    const double f = std::floor(v);
    const double d = v - f;
    if (d > 0.5)
        return f + 1;
    if (d < 0.5)
        return f;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

int toCount(double v)
{
    if (!(v > 0))
        return 0;
    if (v > 1e9)
        return 1000000000;
    return int(v);
}

QString caseMap(const QString &s, bool upper)
{
    QString out = s;
    for (QChar &c : out) {
        const QChar m = upper ? c.toUpper() : c.toLower();
        if (m != c && (m.unicode() < 0x80 || tz::fromUnicode(m.unicode(), CodePage::Cp1250) != 0))
            c = m;
    }
    return out;
}

TCalcType textValue(const QString &t) { return TCalcType::fromText(t); }

class Evaluator {
public:
    Evaluator(const QString &s, const EvalContext *ctx) : m_s(s), m_ctx(ctx) {}

    EvalResult run();
    // A reference at m_i (the prefix character); used by IN lists too.
    bool readReference(TCalcType &out);
    // Whether `left` is among the items of the list text.
    bool inList(const TCalcType &left, const QString &list);

private:
    bool fail(int code, int pos)
    {
        if (!m_error) {
            m_error = code;
            m_errorPos = pos;
        }
        return false;
    }
    bool pushValue(TCalcType v, int pos);
    bool pushOp(Pending p);
    bool reduceTop();
    bool reduceWhile(int level);
    bool applyBinary(int op, int pos);
    bool applyUnary(int op, int pos);
    bool applyFunction(int fn, int pos);
    bool lexNumber();
    void skipBlanks()
    {
        while (m_i < m_s.size() && m_s[m_i].isSpace())
            ++m_i;
    }

    const QString &m_s;
    const EvalContext *m_ctx;
    int m_i = 0;
    int m_error = exOK;
    int m_errorPos = -1;
    bool m_expectOperand = true;
    bool m_justOpenedCall = false;
    QVarLengthArray<TCalcType, 12> m_values;
    QVarLengthArray<Pending, 12> m_ops;
};

bool Evaluator::pushValue(TCalcType v, int pos)
{
    m_values.append(std::move(v));
    if (m_values.size() > kMaxPending)
        return fail(exTooDeep, pos);
    m_expectOperand = false;
    return true;
}

bool Evaluator::pushOp(Pending p)
{
    m_ops.append(p);
    if (m_ops.size() > kMaxPending)
        return fail(exTooDeep, p.pos);
    return true;
}

bool Evaluator::reduceTop()
{
    const Pending p = m_ops.last();
    m_ops.removeLast();
    if (p.type == Pending::Unary)
        return applyUnary(p.code, p.pos);
    return applyBinary(p.code, p.pos);
}

// Applies the pending operators whose level is at most `level` (binding at
// least as tightly), stopping at a parenthesis or a call.
bool Evaluator::reduceWhile(int level)
{
    while (!m_ops.isEmpty()) {
        const Pending &top = m_ops.last();
        if (top.type == Pending::Paren || top.type == Pending::Call)
            break;
        if (opLevel(top.code) > level)
            break;
        if (!reduceTop())
            return false;
    }
    return true;
}

bool Evaluator::applyUnary(int op, int pos)
{
    if (m_values.isEmpty())
        return fail(exMisplaced, pos);
    TCalcType &a = m_values.last();
    if (a.null) {
        a = TCalcType::nullValue();
        return true;
    }
    if (op == opNeg)
        a = TCalcType::fromNumber(-a.number);
    else
        a = TCalcType::fromNumber(a.number <= 0 ? 1 : 0);
    return true;
}

bool Evaluator::applyBinary(int op, int pos)
{
    if (m_values.size() < 2)
        return fail(exMisplaced, pos);
    TCalcType b = std::move(m_values.last());
    m_values.removeLast();
    TCalcType &a = m_values.last();
    if (a.null || b.null) {
        a = TCalcType::nullValue();
        return true;
    }
    double r = 0;
    switch (op) {
    case opPow:
        if (!(a.number > 0))
            return fail(exArithmetic, pos);
        r = std::pow(a.number, b.number);
        break;
    case opMul: r = a.number * b.number; break;
    case opDiv:
        if (b.number == 0)
            return fail(exArithmetic, pos);
        r = a.number / b.number;
        break;
    case opAnd: r = (a.number > 0 && b.number > 0) ? 1 : 0; break;
    case opAdd:
        if (a.isText() && b.isText()) {
            a = textValue(a.text + b.text);
            return true;
        }
        r = a.number + b.number;
        break;
    case opSub: r = a.number - b.number; break;
    case opOr: r = (a.number > 0 || b.number > 0) ? 1 : 0; break;
    case opEq:
    case opNe: {
        const bool eq = (a.isText() && b.isText()) ? a.text == b.text : a.number == b.number;
        r = (eq == (op == opEq)) ? 1 : 0;
        break;
    }
    case opLt: r = a.number < b.number ? 1 : 0; break;
    case opGt: r = a.number > b.number ? 1 : 0; break;
    case opLe: r = a.number <= b.number ? 1 : 0; break;
    case opGe: r = a.number >= b.number ? 1 : 0; break;
    case opIn: r = inList(a, b.text) ? 1 : 0; break;
    default: return fail(exMisplaced, pos);
    }
    if (!std::isfinite(r))
        return fail(exArithmetic, pos);
    a = TCalcType::fromNumber(r);
    return true;
}

bool Evaluator::applyFunction(int fn, int pos)
{
    const int argc = kFunctions[fn].argc;
    if (m_values.size() < argc)
        return fail(exMisplaced, pos);
    const TCalcType *a = m_values.data() + (m_values.size() - argc);
    TCalcType result;
    if (fn == fISNULL) {
        result = TCalcType::fromNumber(a[0].null ? 1 : 0);
    } else {
        bool anyNull = false;
        for (int k = 0; k < argc; ++k)
            anyNull = anyNull || a[k].null;
        if (anyNull) {
            result = TCalcType::nullValue();
        } else {
            const double n = a[0].number;
            const QString &s = a[0].text;
            double r = 0;
            bool numeric = true;
            switch (fn) {
            case fABS: r = std::fabs(n); break;
            case fINT: r = std::trunc(n); break;
            case fSGN: r = n > 0 ? 1 : (n < 0 ? -1 : 0); break;
            case fMAX: r = std::max(n, a[1].number); break;
            case fMIN: r = std::min(n, a[1].number); break;
            case fIIF: {
                const TCalcType &chosen = n > 0 ? a[1] : a[2];
                if (a[1].isText() && a[2].isText()) {
                    result = textValue(chosen.text);
                    numeric = false;
                } else {
                    r = chosen.number;
                }
                break;
            }
            case fLEFT: result = textValue(s.left(toCount(a[1].number))); numeric = false; break;
            case fRIGHT: result = textValue(s.right(toCount(a[1].number))); numeric = false; break;
            case fSUBSTR: {
                const double st = std::trunc(a[1].number);
                const int start = st < 1 ? 0 : toCount(st - 1);
                result = textValue(s.mid(std::min<qsizetype>(start, s.size()), toCount(a[2].number)));
                numeric = false;
                break;
            }
            case fUPPER: result = textValue(caseMap(s, true)); numeric = false; break;
            case fLOWER: result = textValue(caseMap(s, false)); numeric = false; break;
            case fLTRIM:
            case fRTRIM:
            case fALLTRIM: {
                int b = 0, e = s.size();
                if (fn != fRTRIM)
                    while (b < e && s[b].unicode() <= ' ')
                        ++b;
                if (fn != fLTRIM)
                    while (e > b && s[e - 1].unicode() <= ' ')
                        --e;
                result = textValue(s.mid(b, e - b));
                numeric = false;
                break;
            }
            case fFORMAT: result = textValue(formatFloat(a[1].text, n)); numeric = false; break;
            case fSIN: r = std::sin(n); break;
            case fCOS: r = std::cos(n); break;
            case fTAN:
                if (std::fabs(std::cos(n)) < 1e-15)
                    return fail(exArithmetic, pos);
                r = std::tan(n);
                break;
            case fCOTG:
                if (std::fabs(std::sin(n)) < 1e-15)
                    return fail(exArithmetic, pos);
                r = std::cos(n) / std::sin(n);
                break;
            case fATAN: r = std::atan(n); break;
            case fACOTG: r = M_PI / 2 - std::atan(n); break;
            case fASIN:
            case fACOS:
                if (n < -1 || n > 1)
                    return fail(exArithmetic, pos);
                r = fn == fASIN ? std::asin(n) : std::acos(n);
                break;
            case fEXP: r = std::exp(n); break;
            case fLOG:
                if (!(n > 0))
                    return fail(exArithmetic, pos);
                r = std::log(n);
                break;
            case fCHR: {
                const double c = roundHalfEven(n);
                QString t;
                if (c > 0 && c < 256) {
                    const char16_t u = tz::toUnicode((unsigned char)(int)c, CodePage::Cp1250);
                    if (u)
                        t = QChar(u);
                }
                result = textValue(t);
                numeric = false;
                break;
            }
            case fORD:
                if (s.isEmpty()) {
                    r = 0;
                } else {
                    const char16_t u = s[0].unicode();
                    const unsigned char b = u < 0x80 ? (unsigned char)u : tz::fromUnicode(u, CodePage::Cp1250);
                    r = (b == 0 && u != 0) ? '?' : b;
                }
                break;
            case fLENGTH: r = s.size(); break;
            case fPOS: r = s.isEmpty() ? 0 : a[1].text.indexOf(s) + 1; break;
            case fYEAR:
            case fMONTH:
            case fDAY:
            case fHOUR:
            case fMINUTE:
            case fSECOND: {
                QDate d;
                int ms = 0;
                if (!numberToDateTime(n, d, ms))
                    return fail(exArithmetic, pos);
                switch (fn) {
                case fYEAR: r = d.year(); break;
                case fMONTH: r = d.month(); break;
                case fDAY: r = d.day(); break;
                case fHOUR: r = ms / 3600000; break;
                case fMINUTE: r = ms / 60000 % 60; break;
                default: r = ms / 1000 % 60; break;
                }
                break;
            }
            case fFORMATDT: {
                QDate d;
                int ms = 0;
                if (!numberToDateTime(n, d, ms))
                    return fail(exArithmetic, pos);
                result = textValue(formatDateTime(a[1].text, n));
                numeric = false;
                break;
            }
            case fSTRTONUM: r = readNumberOr0(s); break;
            case fNUMTOSTR: result = textValue(numberText(n)); numeric = false; break;
            case fROUND: r = roundHalfEven(n); break;
            case fEXROUND: {
                const double step = a[1].number;
                const double ip = std::trunc(n);
                const double frac = n - ip;
                if (step == 0) {
                    r = n;
                } else {
                    const double st = std::fabs(step);
                    double q = frac / st;
                    if (std::fabs(q - std::round(q)) < 1e-9)
                        q = std::round(q);
                    r = ip + (step > 0 ? std::ceil(q) : std::floor(q)) * st;
                }
                break;
            }
            case fSTRTODA: r = readDate(s).value_or(0.0); break;
            case fSTRTODT: r = readDateTime(s).value_or(0.0); break;
            default: return fail(exUnknownName, pos);
            }
            if (numeric) {
                if (!std::isfinite(r))
                    return fail(exArithmetic, pos);
                result = TCalcType::fromNumber(r);
            }
        }
    }
    m_values.resize(m_values.size() - argc);
    m_values.append(std::move(result));
    return true;
}

bool Evaluator::lexNumber()
{
    const int start = m_i;
    const int n = m_s.size();
    int j = m_i;
    while (j < n && isDigit(m_s[j]))
        ++j;
    if (j < n && m_s[j] == u'.') {
        ++j;
        while (j < n && isDigit(m_s[j]))
            ++j;
    }
    if (j < n && (m_s[j] == u'E' || m_s[j] == u'e')) {
        ++j;
        if (j < n && (m_s[j] == u'+' || m_s[j] == u'-'))
            ++j;
        int digits = 0;
        while (j < n && isDigit(m_s[j])) {
            ++digits;
            ++j;
        }
        if (digits == 0 || digits > 2)
            return fail(exBadNumber, start);
    }
    if (j < n && (m_s[j].isLetter() || m_s[j] == u'_' || m_s[j] == u'$' || m_s[j] == u'.'))
        return fail(exBadNumber, start);
    const QByteArray ascii = m_s.mid(start, j - start).toLatin1();
    char *end = nullptr;
    const double v = std::strtod(ascii.constData(), &end);
    if (!std::isfinite(v))
        return fail(exBadNumber, start);
    m_i = j;
    if (!m_expectOperand)
        return fail(exMisplaced, start);
    return pushValue(TCalcType::fromNumber(v), start);
}

bool Evaluator::readReference(TCalcType &out)
{
    const int start = m_i;
    const QChar prefix = m_s[m_i];
    const int n = m_s.size();
    int j = m_i + 1;
    int index = -1;
    if (j < n && isDigit(m_s[j])) {
        int num = 0, digits = 0;
        while (j < n && digits < 3 && isDigit(m_s[j])) {
            num = num * 10 + m_s[j].digitValue();
            ++digits;
            ++j;
        }
        index = num - 1;
    } else if (j < n && isNameStart(m_s[j])) {
        if (prefix == u'&' || prefix == u'%')
            return fail(exUnknownName, start);
        const int nameStart = j;
        while (j < n && isNameChar(m_s[j]))
            ++j;
        const QString name = m_s.mid(nameStart, j - nameStart);
        index = m_ctx ? (prefix == u'#' ? m_ctx->fieldPosition(name) : m_ctx->functionPosition(name)) : -1;
        if (index < 0)
            return fail(exUnknownName, start);
    } else {
        return fail(exUnknownName, start);
    }
    m_i = j;
    std::optional<TCalcType> v;
    if (m_ctx && index >= 0) {
        switch (prefix.unicode()) {
        case '#': v = m_ctx->fieldValue(index); break;
        case '&': v = m_ctx->parameterValue(index); break;
        case '@': v = m_ctx->functionValue(index); break;
        default: v = m_ctx->systemValue(index); break;
        }
    }
    out = v ? std::move(*v) : TCalcType::nullValue();
    return true;
}

bool Evaluator::inList(const TCalcType &left, const QString &list)
{
    // The items are read with a separate cursor over the list text.
    Evaluator items(list, m_ctx);
    const int n = list.size();
    int &i = items.m_i;
    while (i <= n) {
        while (i < n && list[i] == u' ')
            ++i;
        TCalcType item;
        bool have = false;
        const int itemStart = i;
        if (i < n && list[i] == u'\'') {
            const int close = list.indexOf(u'\'', i + 1);
            const int end = close < 0 ? n : close;
            item = TCalcType::fromText(list.mid(i + 1, end - i - 1));
            i = close < 0 ? n : close + 1;
            have = true;
        } else if (i < n && (list[i] == u'#' || list[i] == u'&' || list[i] == u'@' || list[i] == u'%')) {
            if (items.readReference(item)) {
                have = true;
            } else {
                items.m_error = exOK;
                i = itemStart;
            }
        }
        // A plain word or number runs to the next comma; after a literal or a
        // reference the rest up to the comma is skipped.
        int comma = list.indexOf(u',', i);
        if (comma < 0)
            comma = n;
        if (!have) {
            const QString word = list.mid(itemStart, comma - itemStart).trimmed();
            item = TCalcType::fromText(word);
        }
        if (item.text == left.text || (item.number != 0 && item.number == left.number))
            return true;
        i = comma + 1;
    }
    return false;
}

EvalResult Evaluator::run()
{
    const int n = m_s.size();
    while (!m_error) {
        skipBlanks();
        if (m_i >= n)
            break;
        const int start = m_i;
        const QChar c = m_s[m_i];
        const bool openedCall = m_justOpenedCall;
        m_justOpenedCall = false;

        if (isDigit(c)) {
            lexNumber();
        } else if (c == u'\'') {
            const int close = m_s.indexOf(u'\'', m_i + 1);
            if (close < 0) {
                fail(exUnterminatedText, start);
                break;
            }
            m_i = close + 1;
            if (!m_expectOperand) {
                fail(exMisplaced, start);
                break;
            }
            pushValue(textValue(m_s.mid(start + 1, close - start - 1)), start);
        } else if (c == u'[') {
            const int close = m_s.indexOf(u']', m_i + 1);
            if (close < 0) {
                fail(exUnterminatedBracket, start);
                break;
            }
            m_i = close + 1;
            if (!m_expectOperand) {
                fail(exMisplaced, start);
                break;
            }
            TCalcType v;
            v.kind = TCalcType::kBracketed;
            v.text = m_s.mid(start + 1, close - start - 1);
            pushValue(std::move(v), start);
        } else if (c == u'#' || c == u'&' || c == u'@' || c == u'%') {
            if (!m_expectOperand) {
                fail(exMisplaced, start);
                break;
            }
            TCalcType v;
            if (readReference(v))
                pushValue(std::move(v), start);
        } else if (c.isLetter()) {
            int j = m_i;
            while (j < n && m_s[j].isLetter())
                ++j;
            const QString word = m_s.mid(m_i, j - m_i).toUpper();
            m_i = j;
            if (word == QLatin1String("NOT")) {
                if (!m_expectOperand) {
                    fail(exMisplaced, start);
                    break;
                }
                pushOp({Pending::Unary, opNot, start});
            } else if (word == QLatin1String("AND") || word == QLatin1String("OR") || word == QLatin1String("IN")) {
                if (m_expectOperand) {
                    fail(exMisplaced, start);
                    break;
                }
                const int op = word == QLatin1String("AND") ? opAnd : (word == QLatin1String("OR") ? opOr : opIn);
                if (reduceWhile(opLevel(op)) && pushOp({Pending::Binary, op, start}))
                    m_expectOperand = true;
            } else if (const int fn = findFunction(word); fn >= 0) {
                if (!m_expectOperand) {
                    fail(exMisplaced, start);
                    break;
                }
                skipBlanks();
                if (m_i >= n || m_s[m_i] != u'(') {
                    fail(exMisplaced, start);
                    break;
                }
                ++m_i;
                if (pushOp({Pending::Call, fn, start}))
                    m_justOpenedCall = true;
            } else {
                fail(exUnknownName, start);
            }
        } else if (c == u'(') {
            ++m_i;
            if (!m_expectOperand) {
                fail(exMisplaced, start);
                break;
            }
            pushOp({Pending::Paren, 0, start});
        } else if (c == u')') {
            ++m_i;
            if (m_expectOperand) {
                fail(openedCall ? exTooFewArgs : exMisplaced, start);
                break;
            }
            if (!reduceWhile(99))
                break;
            if (m_ops.isEmpty()) {
                fail(exUnbalancedClose, start);
                break;
            }
            const Pending p = m_ops.last();
            m_ops.removeLast();
            if (p.type == Pending::Call) {
                if (p.args + 1 < kFunctions[p.code].argc) {
                    fail(exTooFewArgs, start);
                    break;
                }
                applyFunction(p.code, p.pos);
            }
            m_expectOperand = false;
        } else if (c == u',') {
            ++m_i;
            if (m_expectOperand) {
                fail(exMisplaced, start);
                break;
            }
            if (!reduceWhile(99))
                break;
            if (m_ops.isEmpty() || m_ops.last().type != Pending::Call) {
                fail(exTooManyArgs, start);
                break;
            }
            Pending &call = m_ops.last();
            if (++call.args + 1 > kFunctions[call.code].argc) {
                fail(exTooManyArgs, start);
                break;
            }
            m_expectOperand = true;
        } else {
            int op = -1;
            ++m_i;
            switch (c.unicode()) {
            case '+': op = opAdd; break;
            case '-': op = m_expectOperand ? opNeg : opSub; break;
            case '*': op = opMul; break;
            case '/': op = opDiv; break;
            case '^': op = opPow; break;
            case '=': op = opEq; break;
            case '<':
                op = opLt;
                if (m_i < n && m_s[m_i] == u'>') {
                    op = opNe;
                    ++m_i;
                } else if (m_i < n && m_s[m_i] == u'=') {
                    op = opLe;
                    ++m_i;
                }
                break;
            case '>':
                op = opGt;
                if (m_i < n && m_s[m_i] == u'=') {
                    op = opGe;
                    ++m_i;
                }
                break;
            default:
                fail(exUnknownName, start);
                break;
            }
            if (op < 0)
                break;
            if (op == opNeg) {
                pushOp({Pending::Unary, opNeg, start});
            } else {
                if (m_expectOperand) {
                    fail(exMisplaced, start);
                    break;
                }
                if (reduceWhile(opLevel(op)) && pushOp({Pending::Binary, op, start}))
                    m_expectOperand = true;
            }
        }
    }

    EvalResult r;
    if (!m_error) {
        if (m_values.isEmpty() && m_ops.isEmpty()) {
            r.value = TCalcType::empty();
            return r;
        }
        for (const Pending &p : m_ops)
            if (p.type == Pending::Paren || p.type == Pending::Call) {
                fail(exUnclosedOpen, n);
                break;
            }
        if (!m_error && m_expectOperand)
            fail(exMisplaced, n);
        if (!m_error)
            reduceWhile(99);
        if (!m_error && m_values.size() != 1)
            fail(exMisplaced, n);
    }
    if (m_error) {
        r.error = m_error;
        r.position = m_errorPos;
        return r;
    }
    r.value = std::move(m_values.last());
    return r;
}

} // namespace

EvalResult evaluate(const QString &expression, const EvalContext *context)
{
    Evaluator ev(expression, context);
    return ev.run();
}

bool testCondition(const QString &expression, const EvalContext *context)
{
    const EvalResult r = evaluate(expression, context);
    return r.ok() && r.value.number > 0;
}

QString evaluateText(const QString &expression, const EvalContext *context)
{
    const EvalResult r = evaluate(expression, context);
    return r.ok() ? r.value.text : QString();
}

QString exprErrorText(int code)
{
    switch (code) {
    case exOK: return QStringLiteral("bez chyby");
    case exUnknownName: return QStringLiteral("neznámý název");
    case exMisplaced: return QStringLiteral("operátor nebo operand na nesprávném místě");
    case exTooDeep: return QStringLiteral("výraz je příliš složitý");
    case exUnbalancedClose: return QStringLiteral("přebývá pravá závorka");
    case exUnclosedOpen: return QStringLiteral("chybí pravá závorka");
    case exArithmetic: return QStringLiteral("aritmetická chyba");
    case exBadNumber: return QStringLiteral("chybně zapsané číslo");
    case exTooFewArgs: return QStringLiteral("málo parametrů funkce");
    case exTooManyArgs: return QStringLiteral("příliš mnoho parametrů funkce nebo čárka mimo funkci");
    case exUnterminatedText: return QStringLiteral("neukončený text");
    case exUnterminatedBracket: return QStringLiteral("neukončená hranatá závorka");
    }
    return QStringLiteral("neznámá chyba %1").arg(code);
}

QString exprCheckMessage(const EvalResult &r)
{
    if (r.ok())
        return QStringLiteral("Výraz je v pořádku.");
    return QStringLiteral("Chyba : \"%1\" na pozici %2").arg(exprErrorText(r.error)).arg(r.position + 1);
}

const BuiltinFunction *builtinFunctions(int *count)
{
    if (count)
        *count = fCount;
    return kFunctions;
}

} // namespace tz::rep
