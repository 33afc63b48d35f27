#include "intervals.h"
#include "dates.h"

namespace tz::eq {

using tz::db::Database;
using tz::db::Params;

const QVector<CheckInfo> &checks()
{
    static const QVector<CheckInfo> list = [] {
        const QStringList common{"3", "6", "12", "24", "36", "48", "60", "72", "84", "96"};
        QStringList months;
        for (int i = 1; i <= 12; ++i)
            months << QString::number(i);
        QStringList track = common;
        track << "108" << "120";
        return QVector<CheckInfo>{
            {TagRevize, "Revize", "Dat_Revize", "Int_Revize", "Next_Revize", "1", common, true},
            {TagRevZk, "Revizní zkouška", "Dat_RevZk", "Int_RevZk", "Next_RevZk", "2", common, true},
            {TagInspekce, "Inspekce", "Dat_Inspekce", "Int_Inspekce", "Next_Inspekce", "3", months, true},
            {TagElektrorev, "Elektrorevize", "Dat_Elektrorev", "Int_Elektrorev", "Next_Elektrorev", "4", common, false},
            {TagZamereni, "Zaměření dráhy", "Dat_zamereni", "Int_zamereni", "Next_zamereni", "5", track, false},
        };
    }();
    return list;
}

const CheckInfo *checkByTag(int tag)
{
    for (const CheckInfo &c : checks())
        if (c.tag == tag)
            return &c;
    return nullptr;
}

const CheckInfo *checkByKind(const QString &kind)
{
    for (const CheckInfo &c : checks())
        if (c.kind == kind.trimmed())
            return &c;
    return nullptr;
}

QString intervalFieldOfKind(const QString &kind)
{
    const CheckInfo *c = checkByKind(kind);
    return c ? c->intervalField : QString();
}

int effectiveInterval(const QVariant &interval)
{
    if (!interval.isValid() || interval.isNull())
        return 3;
    bool ok = false;
    const int n = interval.toString().trimmed().toInt(&ok);
    return ok && n > 0 ? n : 3;
}

QDate stepDate(const QDate &date, const QVariant &interval)
{
    return tz::monthStep(date, effectiveInterval(interval));
}

QDate nextDueDate(int tag, const QDate &last, const QVariant &interval, const QDate &nextRevZk)
{
    if (!last.isValid())
        return {};
    QDate next = stepDate(last, interval);
    // the revision is moved out of a year in which a revision test falls due
    if (tag == TagRevize && nextRevZk.isValid() && nextRevZk.year() == next.year())
        next = stepDate(next, interval);
    return next;
}

QVector<CheckDates> seedFromVerificationTest(const QDate &datOverzk, const QVector<CheckDates> &current)
{
    QVector<CheckDates> out;
    if (!datOverzk.isValid())
        return out;
    for (const CheckInfo &c : checks())
        for (const CheckDates &d : current) {
            if (d.tag != c.tag)
                continue;
            const bool hasInterval = d.interval.isValid() && !d.interval.isNull() && !d.interval.toString().trimmed().isEmpty();
            if (hasInterval && !d.next.isValid())
                out.push_back({d.tag, d.interval, stepDate(datOverzk, d.interval)});
        }
    return out;
}

QDate validityDate(const QDate &datum, const QVariant &intervalOfKind)
{
    return stepDate(datum, intervalOfKind);
}

QVariant DefaultIntervals::forField(const QString &f) const
{
    if (f.compare(QLatin1String("Int_Revize"), Qt::CaseInsensitive) == 0)
        return revize;
    if (f.compare(QLatin1String("Int_Inspekce"), Qt::CaseInsensitive) == 0)
        return insp;
    if (f.compare(QLatin1String("Int_RevZk"), Qt::CaseInsensitive) == 0)
        return rzk;
    if (f.compare(QLatin1String("Int_Elektrorev"), Qt::CaseInsensitive) == 0)
        return erev;
    if (f.compare(QLatin1String("Int_zamereni"), Qt::CaseInsensitive) == 0)
        return zam;
    return {};
}

static std::optional<DefaultIntervals> intervalRow(Database &db, const QString &druh, const QString &uchopeni,
                                                   const QString &provSkup, const QString &skupina)
{
    const Params p{{"druh", druh}, {"uchopeni", uchopeni}, {"provskup", provSkup}, {"skupina", skupina}};
    const QString where = QStringLiteral(" from zz_dintervaly where Druh=:druh and Uchopeni=:uchopeni "
                                         "and ProvSkup=:provskup and Skupina=:skupina");
    if (db.scalar(QStringLiteral("select count(*)") + where, p).toInt() == 0)
        return std::nullopt;
    auto value = [&](const char *col) {
        return Database::fromEngine(db.scalar(QStringLiteral("select %1").arg(QLatin1String(col)) + where, p),
                                    tz::db::FieldType::SmallInt);
    };
    DefaultIntervals d;
    d.revize = value("IRevize");
    d.insp = value("IInsp");
    d.rzk = value("IRzk");
    d.erev = value("IERev");
    d.zam = value("IZam");
    return d;
}

std::optional<DefaultIntervals> findDefaultIntervals(Database &db, const Classification &c)
{
    if (auto d = intervalRow(db, c.druh, c.uchopeni, c.provSkup, c.skupina))
        return d;
    if (auto d = intervalRow(db, QStringLiteral("0"), QStringLiteral("fse"), c.provSkup, c.skupina)) {
        d->general = true;
        return d;
    }
    return std::nullopt;
}

QString operatingGroupForPosition(int position)
{
    switch (position) {
    case 0: return QStringLiteral("J1");
    case 1: return QStringLiteral("J3");
    case 2: return QStringLiteral("J4");
    case 3: return QStringLiteral("J5");
    default: return {};
    }
}

QString craneGroupForOperatingGroup(const QString &provSkup)
{
    const QString g = provSkup.trimmed().toUpper();
    if (g == QLatin1String("J1") || g == QLatin1String("J2"))
        return QStringLiteral("I");
    if (g == QLatin1String("J3"))
        return QStringLiteral("II");
    if (g == QLatin1String("J4"))
        return QStringLiteral("III");
    if (g == QLatin1String("J5") || g == QLatin1String("J6"))
        return QStringLiteral("IV");
    return {};
}

} // namespace tz::eq
