#include "filter.h"
#include "dates.h"

namespace tz::db {

FilterError::FilterError(const QString &message, int position)
    : Error(QStringLiteral("Chybná podmínka výběru: %1 (pozice %2)").arg(message).arg(position + 1)), m_position(position)
{
}

enum class Rel { Eq, Lt, Gt, Le, Ge, Ne, IsNull, NotNull };

struct Filter::Node
{
    enum Kind { And, Or, Not, Cmp } kind = Cmp;
    std::unique_ptr<Node> a, b;
    int column = -1;
    FieldType type = FieldType::Unknown;
    Rel rel = Rel::Eq;
    QVariant value;
    bool prefix = false;
};

namespace {

struct Tok
{
    enum Kind { End, Ident, String, Number, Op, LParen, RParen } kind = End;
    QString text;
    int pos = 0;
};

class Parser
{
public:
    Parser(const QString &s, const Filter::Resolve &r, const Filter::TypeOf &t) : m_s(s), m_resolve(r), m_type(t)
    {
        advance();
    }

    std::unique_ptr<Filter::Node> parse()
    {
        auto n = parseOr();
        if (m_tok.kind != Tok::End)
            throw FilterError(QStringLiteral("nečekaný text \"%1\"").arg(m_tok.text), m_tok.pos);
        return n;
    }

private:
    bool isWord(const char *w) const
    {
        return m_tok.kind == Tok::Ident && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }

    void advance()
    {
        const int n = m_s.size();
        while (m_i < n && m_s.at(m_i).isSpace())
            ++m_i;
        m_tok = Tok();
        m_tok.pos = m_i;
        if (m_i >= n)
            return;
        const QChar c = m_s.at(m_i);
        if (c == QLatin1Char('(')) {
            m_tok.kind = Tok::LParen;
            m_tok.text = c;
            ++m_i;
        } else if (c == QLatin1Char(')')) {
            m_tok.kind = Tok::RParen;
            m_tok.text = c;
            ++m_i;
        } else if (c == QLatin1Char('\'')) {
            ++m_i;
            QString v;
            bool closed = false;
            while (m_i < n) {
                if (m_s.at(m_i) == QLatin1Char('\'')) {
                    if (m_i + 1 < n && m_s.at(m_i + 1) == QLatin1Char('\'')) {
                        v += QLatin1Char('\'');
                        m_i += 2;
                        continue;
                    }
                    ++m_i;
                    closed = true;
                    break;
                }
                v += m_s.at(m_i++);
            }
            if (!closed)
                throw FilterError(QStringLiteral("neukončený řetězec"), m_tok.pos);
            m_tok.kind = Tok::String;
            m_tok.text = v;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('"') ? QLatin1Char('"') : QLatin1Char(']');
            const int end = m_s.indexOf(close, m_i + 1);
            if (end < 0)
                throw FilterError(QStringLiteral("neukončený název pole"), m_tok.pos);
            m_tok.kind = Tok::Ident;
            m_tok.text = m_s.mid(m_i + 1, end - m_i - 1);
            m_i = end + 1;
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=')) {
            m_tok.kind = Tok::Op;
            m_tok.text = c;
            ++m_i;
            if (m_i < n && (m_s.at(m_i) == QLatin1Char('=') || (c == QLatin1Char('<') && m_s.at(m_i) == QLatin1Char('>')))) {
                m_tok.text += m_s.at(m_i);
                ++m_i;
            }
        } else if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('+')) && m_i + 1 < n && m_s.at(m_i + 1).isDigit())) {
            const int st = m_i++;
            while (m_i < n && (m_s.at(m_i).isDigit() || m_s.at(m_i) == QLatin1Char('.') || m_s.at(m_i) == QLatin1Char(',')))
                ++m_i;
            m_tok.kind = Tok::Number;
            m_tok.text = m_s.mid(st, m_i - st);
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const int st = m_i;
            while (m_i < n && (m_s.at(m_i).isLetterOrNumber() || m_s.at(m_i) == QLatin1Char('_') || m_s.at(m_i) == QLatin1Char('.')))
                ++m_i;
            m_tok.kind = Tok::Ident;
            m_tok.text = m_s.mid(st, m_i - st);
        } else {
            throw FilterError(QStringLiteral("neznámý znak \"%1\"").arg(c), m_i);
        }
    }

    std::unique_ptr<Filter::Node> join(Filter::Node::Kind k, std::unique_ptr<Filter::Node> a, std::unique_ptr<Filter::Node> b)
    {
        auto n = std::make_unique<Filter::Node>();
        n->kind = k;
        n->a = std::move(a);
        n->b = std::move(b);
        return n;
    }

    std::unique_ptr<Filter::Node> negate(std::unique_ptr<Filter::Node> a)
    {
        auto n = std::make_unique<Filter::Node>();
        n->kind = Filter::Node::Not;
        n->a = std::move(a);
        return n;
    }

    std::unique_ptr<Filter::Node> parseOr()
    {
        auto left = parseAnd();
        while (isWord("or")) {
            advance();
            left = join(Filter::Node::Or, std::move(left), parseAnd());
        }
        return left;
    }

    std::unique_ptr<Filter::Node> parseAnd()
    {
        auto left = parseUnary();
        while (isWord("and")) {
            advance();
            left = join(Filter::Node::And, std::move(left), parseUnary());
        }
        return left;
    }

    std::unique_ptr<Filter::Node> parseUnary()
    {
        if (isWord("not")) {
            advance();
            return negate(parseUnary());
        }
        if (m_tok.kind == Tok::LParen) {
            advance();
            auto inner = parseOr();
            if (m_tok.kind != Tok::RParen)
                throw FilterError(QStringLiteral("chybí pravá závorka"), m_tok.pos);
            advance();
            return inner;
        }
        return parseComparison();
    }

    std::unique_ptr<Filter::Node> parseComparison()
    {
        if (m_tok.kind != Tok::Ident)
            throw FilterError(m_tok.kind == Tok::End ? QStringLiteral("chybí název pole") : QStringLiteral("očekáván název pole místo \"%1\"").arg(m_tok.text), m_tok.pos);
        auto n = std::make_unique<Filter::Node>();
        n->column = m_resolve(m_tok.text);
        if (n->column < 0)
            throw FilterError(QStringLiteral("neznámé pole %1").arg(m_tok.text), m_tok.pos);
        n->type = m_type(n->column);
        advance();
        if (isWord("is")) {
            advance();
            bool neg = false;
            if (isWord("not")) {
                neg = true;
                advance();
            }
            if (!isWord("null"))
                throw FilterError(QStringLiteral("očekáváno NULL"), m_tok.pos);
            advance();
            n->rel = neg ? Rel::NotNull : Rel::IsNull;
            return n;
        }
        if (m_tok.kind != Tok::Op)
            throw FilterError(QStringLiteral("očekáván operátor porovnání"), m_tok.pos);
        static const QHash<QString, Rel> rels = {{"=", Rel::Eq}, {"<", Rel::Lt}, {">", Rel::Gt}, {"<=", Rel::Le},
                                                 {">=", Rel::Ge}, {"<>", Rel::Ne}};
        if (!rels.contains(m_tok.text))
            throw FilterError(QStringLiteral("neznámý operátor %1").arg(m_tok.text), m_tok.pos);
        n->rel = rels.value(m_tok.text);
        advance();
        const Tok v = m_tok;
        if (v.kind != Tok::String && v.kind != Tok::Number && v.kind != Tok::Ident)
            throw FilterError(QStringLiteral("chybí hodnota"), v.pos);
        advance();
        n->value = convert(v, n->type, n->prefix);
        return n;
    }

    QVariant convert(const Tok &v, FieldType t, bool &prefix)
    {
        QString text = v.text;
        switch (t) {
        case FieldType::Date: {
            const QDate d = parseDate(text);
            if (!d.isValid())
                throw FilterError(QStringLiteral("chybné datum \"%1\"").arg(text), v.pos);
            return d;
        }
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::AutoInc:
        case FieldType::Float: {
            bool ok = false;
            const double d = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            if (!ok)
                throw FilterError(QStringLiteral("chybné číslo \"%1\"").arg(text), v.pos);
            return d;
        }
        case FieldType::Boolean: {
            const QString l = text.toLower();
            if (l == QLatin1String("true") || l == QLatin1String("1") || l == QLatin1String("ano"))
                return true;
            if (l == QLatin1String("false") || l == QLatin1String("0") || l == QLatin1String("ne"))
                return false;
            throw FilterError(QStringLiteral("chybná logická hodnota \"%1\"").arg(text), v.pos);
        }
        default:
            if (v.kind == Tok::String && text.endsWith(QLatin1Char('*'))) {
                prefix = true;
                text.chop(1);
            }
            return text;
        }
    }

    QString m_s;
    int m_i = 0;
    Tok m_tok;
    const Filter::Resolve &m_resolve;
    const Filter::TypeOf &m_type;
};

bool evalNode(const Filter::Node &n, const Filter::ValueOf &value)
{
    switch (n.kind) {
    case Filter::Node::And: return evalNode(*n.a, value) && evalNode(*n.b, value);
    case Filter::Node::Or: return evalNode(*n.a, value) || evalNode(*n.b, value);
    case Filter::Node::Not: return !evalNode(*n.a, value);
    case Filter::Node::Cmp: break;
    }
    const QVariant v = value(n.column);
    const bool null = v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
    if (n.rel == Rel::IsNull)
        return null;
    if (n.rel == Rel::NotNull)
        return !null;
    if (null)
        return false;
    if (n.prefix) {
        const bool starts = v.toString().startsWith(n.value.toString(), Qt::CaseInsensitive);
        if (n.rel == Rel::Eq)
            return starts;
        if (n.rel == Rel::Ne)
            return !starts;
    }
    const int c = compareValues(v, n.value, n.type);
    switch (n.rel) {
    case Rel::Eq: return c == 0;
    case Rel::Lt: return c < 0;
    case Rel::Gt: return c > 0;
    case Rel::Le: return c <= 0;
    case Rel::Ge: return c >= 0;
    case Rel::Ne: return c != 0;
    default: return false;
    }
}

} // namespace

int compareValues(const QVariant &a, const QVariant &b, FieldType t)
{
    switch (t) {
    case FieldType::Date: {
        const QDate x = a.typeId() == QMetaType::QDate ? a.toDate() : parseDate(a.toString());
        const QDate y = b.typeId() == QMetaType::QDate ? b.toDate() : parseDate(b.toString());
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::Float:
    case FieldType::Boolean: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    default:
        return a.toString().compare(b.toString(), Qt::CaseInsensitive);
    }
}

Filter::Filter() = default;
Filter::~Filter() = default;
Filter::Filter(Filter &&) noexcept = default;
Filter &Filter::operator=(Filter &&) noexcept = default;

Filter Filter::compile(const QString &text, const Resolve &resolve, const TypeOf &typeOf)
{
    Filter f;
    if (text.trimmed().isEmpty())
        return f;
    Parser p(text, resolve, typeOf);
    f.m_root = p.parse();
    return f;
}

bool Filter::accepts(const ValueOf &value) const
{
    return !m_root || evalNode(*m_root, value);
}

} // namespace tz::db
