#include "cliargs.h"

#include <QRegularExpression>

namespace tz::cli {

namespace {

bool looksLikeOption(const QString &word)
{
    if (word.startsWith(QLatin1String("--")))
        return word.size() > 2;
    return word.size() > 1 && word.at(0) == u'-' && word.at(1).isLetter();
}

const Option *findOption(const QList<Option> &options, const QString &name)
{
    for (const Option &o : options)
        if (o.name == name)
            return &o;
    return nullptr;
}

} // namespace

Arguments::Arguments(const QStringList &args, const QList<Option> &options)
{
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &word = args[i];
        if (optionsEnded || !looksLikeOption(word)) {
            if (!optionsEnded && word == QLatin1String("--")) {
                optionsEnded = true;
                continue;
            }
            m_positional << word;
            continue;
        }
        const int eq = word.startsWith(QLatin1String("--")) ? int(word.indexOf(u'=')) : -1;
        const QString name = eq > 0 ? word.left(eq) : word;
        const Option *o = findOption(options, name);
        if (!o)
            throw ArgumentError(QStringLiteral("Neznámá volba: %1").arg(name));
        QString value;
        if (o->kind == Option::Flag) {
            if (eq > 0)
                throw ArgumentError(QStringLiteral("Volba %1 nemá hodnotu.").arg(name));
        } else if (eq > 0) {
            value = word.mid(eq + 1);
        } else {
            const bool missing = i + 1 >= args.size()
                                 || findOption(options, args[i + 1].section(u'=', 0, 0)) != nullptr;
            if (missing)
                throw ArgumentError(QStringLiteral("Chybí hodnota za volbou %1.").arg(name));
            value = args[++i];
        }
        if (o->kind == Option::Value && value.trimmed().isEmpty())
            throw ArgumentError(QStringLiteral("Chybí hodnota za volbou %1.").arg(name));
        if (o->kind != Option::Values && has(name))
            throw ArgumentError(QStringLiteral("Volba %1 je zadána vícekrát.").arg(name));
        m_given.append({name, value});
    }
    for (const Option &o : options)
        if (o.required && !has(o.name))
            throw ArgumentError(QStringLiteral("Chybí volba %1.").arg(o.name));
}

void Arguments::expectPositional(int min, int max, const QStringList &names) const
{
    if (m_positional.size() < min) {
        const QString missing = names.value(int(m_positional.size()));
        throw ArgumentError(missing.isEmpty() ? QStringLiteral("Chybí argument.")
                                              : QStringLiteral("Chybí argument %1.").arg(missing));
    }
    if (max >= 0 && m_positional.size() > max)
        throw ArgumentError(QStringLiteral("Nadbytečný argument: %1").arg(m_positional.at(max)));
}

bool Arguments::has(const QString &option) const
{
    for (const auto &[name, value] : m_given)
        if (name == option)
            return true;
    return false;
}

QString Arguments::value(const QString &option) const
{
    for (const auto &[name, value] : m_given)
        if (name == option)
            return value;
    return {};
}

QStringList Arguments::values(const QString &option) const
{
    QStringList list;
    for (const auto &[name, value] : m_given)
        if (name == option)
            list << value;
    return list;
}

int integerArgument(const QString &text, const QString &what, int min, int max)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    bool ok = whole.match(t).hasMatch();
    qlonglong v = 0;
    if (ok)
        v = t.toLongLong(&ok);
    if (!ok || v < min || v > max) {
        const bool anyInt = min == std::numeric_limits<int>::min() && max == std::numeric_limits<int>::max();
        const QString range = anyInt ? QString() : QStringLiteral(" od %1 do %2").arg(min).arg(max);
        throw ArgumentError(QStringLiteral("%1 musí být celé číslo%2: %3").arg(what, range, text));
    }
    return int(v);
}

QDate dateArgument(const QString &text)
{
    static const QRegularExpression dmy(QStringLiteral("^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4})$"));
    const auto m = dmy.match(text.trimmed());
    QDate d;
    if (m.hasMatch())
        d = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid() || d.year() < kFirstYear || d.year() > kLastYear)
        throw ArgumentError(QStringLiteral("Neplatné datum: %1 (zadejte den.měsíc.rok jako d.m.rrrr, rok %2 až %3)")
                                .arg(text)
                                .arg(kFirstYear)
                                .arg(kLastYear));
    return d;
}

QDate checkedResultDate(const QDate &date)
{
    if (!date.isValid() || date.year() < kFirstYear || date.year() > kLastYear)
        throw ArgumentError(QStringLiteral("Výsledné datum leží mimo roky %1 až %2.").arg(kFirstYear).arg(kLastYear));
    return date;
}

} // namespace tz::cli
