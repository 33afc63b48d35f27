#pragma once
// Lifting equipment: the five recurring checks of an item, the month step of
// their due dates, the next-date rules and the default intervals by the
// item's classification. Plain values and the database layer, no widgets.
#include "db.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <optional>

namespace tz::eq {

// One of the five checks; the tag is the one the card's controls carry.
struct CheckInfo
{
    int tag = 0;              // 20 .. 24
    QString label;            // "Revize", ...
    QString lastField;        // Dat_Revize
    QString intervalField;    // Int_Revize
    QString nextField;        // Next_Revize
    QString kind;             // zz_revize.Typ: "1" .. "5"
    QStringList intervalChoices;
    bool records = false;     // a changed last date records an inspection (kinds 1 to 3)
};

enum Tag { TagRevize = 20, TagRevZk = 21, TagInspekce = 22, TagElektrorev = 23, TagZamereni = 24 };

// The checks in tag order 20, 21, 22, 23, 24.
const QVector<CheckInfo> &checks();
const CheckInfo *checkByTag(int tag);
const CheckInfo *checkByKind(const QString &kind);
// The interval field of an inspection kind ("1" Int_Revize ... "5" Int_zamereni); empty for others.
QString intervalFieldOfKind(const QString &kind);

// The interval in months that a step uses: an empty, non-numeric or
// non-positive interval counts as 3 months.
int effectiveInterval(const QVariant &interval);
// The month step of the equipment register: effectiveInterval months later,
// the day clipped to 28 in February (also in leap years) and to 30 in April,
// June, September and November. Invalid for an invalid date.
QDate stepDate(const QDate &date, const QVariant &interval);

// The next due date of a check from its last date and interval. For the
// revision (tag 20) a date in the calendar year of the next revision test
// (when one is given) is stepped once more by the same interval. Invalid when
// the last date is empty (the next date is then left as it is).
QDate nextDueDate(int tag, const QDate &last, const QVariant &interval, const QDate &nextRevZk = {});

// Seeding from the verification test: the next dates to fill in, for the
// checks whose interval is given and whose next date is empty (tag order).
struct CheckDates
{
    int tag = 0;
    QVariant interval;
    QDate next;
};
QVector<CheckDates> seedFromVerificationTest(const QDate &datOverzk, const QVector<CheckDates> &current);

// Validity of an inspection record: its date stepped by the interval of its kind.
QDate validityDate(const QDate &datum, const QVariant &intervalOfKind);

// The classification by which default intervals are looked up.
struct Classification
{
    QString druh;       // zz_basic.Druh
    QString uchopeni;   // zz_basic.Uchopeni
    QString provSkup;   // zz_basic.Prov_Skup_Zar
    QString skupina;    // zz_basic.Skupina
};

// One row of zz_dintervaly; an empty value (null) empties the item's field.
struct DefaultIntervals
{
    QVariant revize, insp, rzk, erev, zam;
    bool general = false; // taken from the row that applies to every kind ("0", "fse")
    // The value for an item field (Int_Revize, Int_Inspekce, Int_RevZk, Int_Elektrorev, Int_zamereni).
    QVariant forField(const QString &intervalField) const;
};

// The row of exactly this classification, else the general row of its
// operating group and crane group, else nothing. Empty classification values
// match empty table values.
std::optional<DefaultIntervals> findDefaultIntervals(tz::db::Database &db, const Classification &c);

// Classification handlers of the card.
// The operating group that leaving "Skupina" or "Omez. podm." proposes for an
// empty one, by the position of the entry selected in the list that was left:
// 0 "J1", 1 "J3", 2 "J4", 3 "J5"; empty otherwise.
QString operatingGroupForPosition(int position);
// The crane group of an operating group: "J1", "J2" "I"; "J3" "II"; "J4" "III";
// "J5", "J6" "IV"; empty for anything else (the crane group is then kept).
QString craneGroupForOperatingGroup(const QString &provSkup);

} // namespace tz::eq
