#include "sqltranslate.h"
#include "db.h"

#include <QRegularExpression>

namespace tz::db {
namespace {

enum class Tok { Space, Ident, Number, String, Quoted, Param, Punct, Comment };

struct Token
{
    Tok kind;
    QString text;
};

bool identStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool identPart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

QVector<Token> tokenize(const QString &s)
{
    QVector<Token> out;
    const int n = s.size();
    int i = 0;
    while (i < n) {
        const QChar c = s.at(i);
        const int start = i;
        if (c.isSpace()) {
            while (i < n && s.at(i).isSpace())
                ++i;
            out.push_back({Tok::Space, s.mid(start, i - start)});
        } else if (c == QLatin1Char('-') && i + 1 < n && s.at(i + 1) == QLatin1Char('-')) {
            while (i < n && s.at(i) != QLatin1Char('\n'))
                ++i;
            out.push_back({Tok::Comment, s.mid(start, i - start)});
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            ++i;
            QString body;
            while (i < n) {
                if (s.at(i) == c) {
                    if (i + 1 < n && s.at(i + 1) == c) {
                        body += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                body += s.at(i++);
            }
            out.push_back({c == QLatin1Char('\'') ? Tok::String : Tok::Quoted, body});
        } else if (c == QLatin1Char(':') && i + 1 < n && identStart(s.at(i + 1))
                   && !(i > 0 && s.at(i - 1) == QLatin1Char(':'))) {
            ++i;
            while (i < n && identPart(s.at(i)))
                ++i;
            out.push_back({Tok::Param, s.mid(start + 1, i - start - 1)});
        } else if (identStart(c)) {
            while (i < n && identPart(s.at(i)))
                ++i;
            out.push_back({Tok::Ident, s.mid(start, i - start)});
        } else if (c.isDigit()) {
            while (i < n && (s.at(i).isDigit() || s.at(i) == QLatin1Char('.')))
                ++i;
            out.push_back({Tok::Number, s.mid(start, i - start)});
        } else {
            // two-character operators stay together
            if (i + 1 < n) {
                const QString two = s.mid(i, 2);
                if (two == QLatin1String("<=") || two == QLatin1String(">=") || two == QLatin1String("<>")
                    || two == QLatin1String("!=") || two == QLatin1String("||") || two == QLatin1String("::")) {
                    out.push_back({Tok::Punct, two});
                    i += 2;
                    continue;
                }
            }
            out.push_back({Tok::Punct, QString(c)});
            ++i;
        }
    }
    return out;
}

QString sqlString(const QString &v)
{
    QString e = v;
    e.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + e + QLatin1Char('\'');
}

bool isStopWord(const QString &w)
{
    static const QStringList stops = {"where", "from", "and", "or", "order", "group", "having",
                                      "union", "set", "values", "into", "limit", "not", "is"};
    return stops.contains(w.toLower());
}

QString stripDb(const QString &name)
{
    if (name.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        return name.left(name.size() - 3);
    return name;
}

} // namespace

TranslatedSql translateSql(const QString &sql, const Database &db)
{
    const bool pg = db.backend() == Database::Backend::PostgreSQL;
    const QVector<Token> toks = tokenize(sql);
    TranslatedSql out;
    QString &t = out.text;

    auto nextSignificant = [&](int from) {
        for (int k = from; k < toks.size(); ++k)
            if (toks[k].kind != Tok::Space && toks[k].kind != Tok::Comment)
                return k;
        return int(toks.size());
    };

    for (int i = 0; i < toks.size(); ++i) {
        const Token &tk = toks[i];
        switch (tk.kind) {
        case Tok::Param:
            t += QLatin1Char('?');
            out.params << tk.text;
            break;
        case Tok::Quoted: {
            const QString name = stripDb(tk.text);
            if (tk.text.endsWith(QLatin1String(".db"), Qt::CaseInsensitive) || db.hasTable(name))
                t += name;
            else if (db.isColumnName(name))
                t += pg ? name : QLatin1Char('"') + name + QLatin1Char('"');
            else
                t += sqlString(tk.text); // a string value written in double quotes
            break;
        }
        case Tok::String:
            t += sqlString(tk.text);
            break;
        case Tok::Ident: {
            // table.DB -> table
            int j = nextSignificant(i + 1);
            if (j + 1 < toks.size() && toks[j].text == QLatin1String(".") && j == i + 1
                && toks[j + 1].kind == Tok::Ident && toks[j + 1].text.compare(QLatin1String("db"), Qt::CaseInsensitive) == 0
                && db.hasTable(tk.text)) {
                t += tk.text;
                i = j + 1;
                break;
            }
            // [qualifier.]datecolumn + days  ->  a date again
            QString ident = tk.text;
            int last = i;
            if (j == i + 1 && j + 1 < toks.size() && toks[j].text == QLatin1String(".")
                && toks[j + 1].kind == Tok::Ident) {
                ident = tk.text + QLatin1Char('.') + toks[j + 1].text;
                last = j + 1;
            }
            const QString column = ident.section(QLatin1Char('.'), -1);
            const int op = nextSignificant(last + 1);
            if (db.isDateColumn(column) && op < toks.size()
                && (toks[op].text == QLatin1String("+") || toks[op].text == QLatin1String("-"))) {
                // the operand runs to the next comma, closing parenthesis or keyword at depth 0
                int depth = 0;
                int k = op + 1;
                QString operand;
                for (; k < toks.size(); ++k) {
                    const Token &o = toks[k];
                    if (o.kind == Tok::Punct && o.text == QLatin1String("("))
                        ++depth;
                    else if (o.kind == Tok::Punct && o.text == QLatin1String(")")) {
                        if (depth == 0)
                            break;
                        --depth;
                    } else if (depth == 0 && ((o.kind == Tok::Punct && (o.text == QLatin1String(",") || o.text == QLatin1String(";")))
                                              || (o.kind == Tok::Ident && isStopWord(o.text))))
                        break;
                    if (o.kind == Tok::Param) {
                        operand += QLatin1Char('?');
                        out.params << o.text;
                    } else if (o.kind == Tok::String) {
                        operand += sqlString(o.text);
                    } else {
                        operand += o.text;
                    }
                }
                const QString sign = toks[op].text;
                const QString days = operand.trimmed();
                if (days.isEmpty()) {
                    t += ident;
                    break;
                }
                if (pg)
                    t += QStringLiteral("(%1 %2 (%3)::integer)").arg(ident, sign, days);
                else
                    t += QStringLiteral("tz_adddays(%1, %2(%3))").arg(ident, sign == QLatin1String("-") ? QStringLiteral("-") : QString(), days);
                // keep the whitespace that ended the operand
                int back = k - 1;
                while (back > op && toks[back].kind == Tok::Space)
                    --back;
                for (int s = back + 1; s < k; ++s)
                    t += toks[s].text;
                i = k - 1;
                break;
            }
            // a fixed-width text column would be padded with blanks by PostgreSQL
            if (pg && tk.text.compare(QLatin1String("char"), Qt::CaseInsensitive) == 0 && op < toks.size()
                && toks[op].text == QLatin1String("(")) {
                t += QStringLiteral("varchar");
                break;
            }
            t += tk.text;
            break;
        }
        default:
            t += tk.text;
        }
    }
    return out;
}

void fieldTypeFromDecl(const QString &declIn, int &size, FieldType &type)
{
    const QString decl = declIn.trimmed().toLower();
    size = 0;
    static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
    const auto m = width.match(decl);
    if (m.hasMatch())
        size = m.captured(1).toInt();
    if (decl.startsWith(QLatin1String("varchar")) || decl.startsWith(QLatin1String("char"))
        || decl.startsWith(QLatin1String("character")) || decl.startsWith(QLatin1String("nvarchar")))
        type = FieldType::String;
    else if (decl == QLatin1String("memo text") || decl == QLatin1String("text"))
        type = FieldType::Memo;
    else if (decl == QLatin1String("graphic blob"))
        type = FieldType::Graphic;
    else if (decl == QLatin1String("blob") || decl == QLatin1String("bytea"))
        type = FieldType::Blob;
    else if (decl == QLatin1String("smallint") || decl == QLatin1String("int2"))
        type = FieldType::SmallInt;
    else if (decl.contains(QLatin1String("int")) || decl == QLatin1String("serial"))
        type = FieldType::Integer;
    else if (decl == QLatin1String("float") || decl.startsWith(QLatin1String("double")) || decl == QLatin1String("real")
             || decl.startsWith(QLatin1String("numeric")) || decl.startsWith(QLatin1String("float")))
        type = FieldType::Float;
    else if (decl == QLatin1String("date"))
        type = FieldType::Date;
    else if (decl == QLatin1String("boolean") || decl == QLatin1String("bool"))
        type = FieldType::Boolean;
    else
        type = FieldType::Unknown;
}

QString schemaDdl(const QString &neutral, bool postgres)
{
    QString s = neutral;
    static const QRegularExpression str(QStringLiteral("\\bSTRING\\((\\d+)\\)"));
    s.replace(str, QStringLiteral("varchar(\\1)"));
    auto rep = [&s](const char *from, const char *to) {
        s.replace(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLatin1String(from))), QLatin1String(to));
    };
    if (postgres) {
        rep("AUTOINC primary key", "serial primary key");
        rep("AUTOINC", "serial");
        rep("FLOAT", "double precision");
        rep("MEMO", "text");
        rep("GRAPHIC", "bytea");
        rep("BLOB", "bytea");
        rep("SMALLINT", "smallint");
        rep("INTEGER", "integer");
        rep("DATE", "date");
        rep("BOOLEAN", "boolean");
    } else {
        rep("AUTOINC primary key", "integer primary key");
        rep("AUTOINC", "integer");
        rep("FLOAT", "float");
        rep("MEMO", "memo text");
        rep("GRAPHIC", "graphic blob");
        rep("BLOB", "blob");
        rep("SMALLINT", "smallint");
        rep("INTEGER", "integer");
        rep("DATE", "date");
        rep("BOOLEAN", "boolean");
    }
    return s;
}

} // namespace tz::db
