#include "dates.h"

#include <QRegularExpression>

namespace tz {

QString formatDate(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("d.M.yyyy")) : QString();
}

QString formatDate2(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QDate parseDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})"));
    static const QRegularExpression cz(QStringLiteral("^(\\d{1,2})\\s*\\.\\s*(\\d{1,2})\\s*\\.\\s*(\\d{2}|\\d{4})$"));
    if (auto m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (auto m = cz.match(t); m.hasMatch()) {
        int y = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            y += y < 50 ? 2000 : 1900;
        return QDate(y, m.captured(2).toInt(), m.captured(1).toInt());
    }
    return {};
}

QDate monthStep(const QDate &d, int n)
{
    if (!d.isValid())
        return {};
    int day = d.day();
    // whole years first, so that large intervals stay exact
    long long month = d.month() + static_cast<long long>(n);
    long long year = d.year();
    if (month > 12) {
        year += (month - 1) / 12;
        month = (month - 1) % 12 + 1;
    } else if (month < 1) {
        const long long back = (12 - month) / 12;
        year -= back;
        month += back * 12;
    }
    if (day > 28 && month == 2)
        day = 28;
    if (day > 30 && (month == 4 || month == 6 || month == 9 || month == 11))
        day = 30;
    return QDate(static_cast<int>(year), static_cast<int>(month), day);
}

} // namespace tz
