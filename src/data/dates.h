#pragma once
// Calendar dates of the program: shown and typed as day.month.year, stored as
// ISO text, stepped by whole months.
#include <QDate>
#include <QString>

namespace tz {

// "d.m.yyyy" (empty for an invalid date).
QString formatDate(const QDate &d);
// "dd.mm.yyyy" with leading zeros, as written into filter conditions.
QString formatDate2(const QDate &d);
// Reads "d.m.yyyy", "dd.mm.yyyy", "d.m.yy" and ISO "yyyy-mm-dd"; invalid otherwise.
QDate parseDate(const QString &text);

// Adds n months: months above 12 roll into years, the day is clipped to 28 in
// February (also in leap years) and to 30 in April, June, September and November.
// n is used as given (n = 0 gives the same day); callers apply their own rule for
// empty or non-positive intervals.
QDate monthStep(const QDate &d, int n);

} // namespace tz
