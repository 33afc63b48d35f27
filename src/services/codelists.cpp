#include "codelists.h"

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <QSqlQuery>
#include <QSqlError>

namespace tz::codelists {

using tz::db::Database;
using tz::db::Error;
using tz::db::Params;
using tz::db::Transaction;

namespace {

// One update of a rename: the statement text up to the new value and the
// condition up to the old value; both values are bound.
struct RenameStatement
{
    char typ;
    const char *update;
    const char *condition;
    const char *table;
    const char *column;
};

// The order is that of the rename table; the fall-protection items take their
// manufacturer, locations and maintenance from the same lists and follow them.
const RenameStatement kRenames[] = {
    {'1', "Update zz_basic set umisteni1 =", "where umisteni1=", "zz_basic", "umisteni1"},
    {'1', "Update basic set umisteni1=", "where umisteni1=", "basic", "umisteni1"},
    {'1', "Update op_basic set umisteni1=", "where umisteni1=", "op_basic", "umisteni1"},
    {'2', "Update zz_basic set umisteni2 =", "where umisteni2=", "zz_basic", "umisteni2"},
    {'2', "Update basic set umisteni2=", "where umisteni2=", "basic", "umisteni2"},
    {'2', "Update op_basic set umisteni2=", "where umisteni2=", "op_basic", "umisteni2"},
    {'A', "Update zz_basic set udrzba =", "where udrzba=", "zz_basic", "udrzba"},
    {'A', "Update op_basic set udrzba =", "where udrzba=", "op_basic", "udrzba"},
    {'B', "Update zz_basic set vyrobce =", "where vyrobce=", "zz_basic", "vyrobce"},
    {'D', "Update zz_basic set dodavatel =", "where dodavatel=", "zz_basic", "dodavatel"},
    {'D', "Update basic set dodavatel =", "where dodavatel=", "basic", "dodavatel"},
    {'E', "Update zz_basic set revtechnik =", "where revtechnik=", "zz_basic", "revtechnik"},
    {'O', "Update zz_basic set poverosoba =", "where poverosoba=", "zz_basic", "poverosoba"},
    {'P', "Update zz_basic set provoz =", "where provoz=", "zz_basic", "provoz"},
    {'P', "Update basic set uzivatel =", "where uzivatel=", "basic", "uzivatel"},
    {'T', "Update zz_basic set provtechnik =", "where provtechnik=", "zz_basic", "provtechnik"},
    {'V', "Update basic set vyrobce =", "where vyrobce=", "basic", "vyrobce"},
    {'V', "Update op_basic set vyrobce =", "where vyrobce=", "op_basic", "vyrobce"},
    {'Z', "Update zz_basic set provozovatel =", "where provozovatel=", "zz_basic", "provozovatel"},
    {'Z', "Update basic set stredisko =", "where stredisko=", "basic", "stredisko"},
};

// Tags 1 to 9 of the record forms.
const char kAccessoryTags[] = {'Z', 'P', 'V', 'D', '1', '2', 'Z', 'P', 'A'};
const char kEquipmentTags[] = {'Z', 'P', 'B', 'D', '1', '2', 'Z', 'P', 'A'};

constexpr int kDefaultWidth = 30; // extend_b.NAZEV_V

QString typText(QChar typ)
{
    return QString(typ);
}

bool isBlank(const QString &v)
{
    return v.trimmed().isEmpty();
}

// Width of a text column from the catalogue; 0 when unknown or unlimited.
int columnWidth(const Database &db, const QString &table, const QString &column)
{
    const tz::db::TableInfo *t = db.table(table);
    const tz::db::ColumnInfo *c = t ? t->column(column) : nullptr;
    return c ? c->size : 0;
}

int listWidth(const Database &db)
{
    const int w = columnWidth(db, QStringLiteral("extend_b"), QStringLiteral("NAZEV_V"));
    return w > 0 ? w : kDefaultWidth;
}

[[noreturn]] void tooLong(const QString &value, int width)
{
    throw Error(QStringLiteral("Hodnota „%1“ má %2 znaků, do číselníku se vejde nejvýše %3.")
                    .arg(value)
                    .arg(value.size())
                    .arg(width));
}

bool listHolds(Database &db, QChar typ, const QString &value)
{
    const QVariant found = db.scalar(QStringLiteral("select count(*) from extend_b where typ=:typ\nand nazev_v=:nazev"),
                                     Params{{QStringLiteral("typ"), typText(typ)}, {QStringLiteral("nazev"), value}});
    return found.toInt() > 0;
}

} // namespace

QChar typeForTag(FormKind kind, int tag)
{
    if (tag < 1 || tag > 9)
        return {};
    return QLatin1Char(kind == FormKind::Accessory ? kAccessoryTags[tag - 1] : kEquipmentTags[tag - 1]);
}

void sortValues(QStringList &values)
{
    QCollator c{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    c.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(values.begin(), values.end(), [&c](const QString &a, const QString &b) {
        const int r = c.compare(a, b);
        return r != 0 ? r < 0 : a < b; // the same word in other letter case: a fixed order
    });
}

QMap<QChar, QStringList> readAll(Database &db)
{
    QMap<QChar, QStringList> out;
    QMap<QChar, QSet<QString>> seen;
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("Select TYP, NAZEV_V from extend_b")))
        Database::fail(QStringLiteral("Pomocné číselníky nelze načíst"), q.lastError());
    while (q.next()) {
        const QString typ = q.value(0).toString();
        const QString value = q.value(1).toString();
        if (typ.isEmpty() || isBlank(value))
            continue;
        const QChar t = typ.at(0);
        if (seen[t].contains(value))
            continue;
        seen[t].insert(value);
        out[t].append(value);
    }
    for (QStringList &l : out)
        sortValues(l);
    return out;
}

QStringList values(Database &db, QChar typ)
{
    return readAll(db).value(typ);
}

bool addValue(Database &db, QChar typ, const QString &value)
{
    if (typ.isNull() || isBlank(value))
        return false;
    const int width = listWidth(db);
    if (value.size() > width)
        tooLong(value, width);
    // the test, the number and the insert under one write lock, so that two
    // workstations cannot take one number
    Transaction tx(db, true);
    if (listHolds(db, typ, value))
        return false;
    const QVariant max = db.scalar(QStringLiteral("select max(oznaceni) as maximum from extend_b"));
    const int n = max.isNull() ? 1 : max.toInt() + 1;
    db.exec(QStringLiteral("insert into extend_b (oznaceni,nazev_v,typ)\nvalues(:oznaceni,:nazev,:typ)"),
            Params{{QStringLiteral("oznaceni"), n}, {QStringLiteral("nazev"), value}, {QStringLiteral("typ"), typText(typ)}});
    tx.commit();
    return true;
}

QVector<RecordField> recordFields(QChar typ)
{
    QVector<RecordField> out;
    for (const RenameStatement &r : kRenames)
        if (QLatin1Char(r.typ) == typ)
            out.push_back({QString::fromLatin1(r.table), QString::fromLatin1(r.column)});
    return out;
}

void rename(Database &db, QChar typ, const QString &oldValue, const QString &newValue)
{
    if (isBlank(newValue))
        throw Error(QStringLiteral("Nová hodnota položky číselníku nesmí být prázdná."));
    if (newValue == oldValue)
        return;
    int width = listWidth(db);
    for (const RenameStatement &r : kRenames) {
        if (QLatin1Char(r.typ) != typ)
            continue;
        const int w = columnWidth(db, QString::fromLatin1(r.table), QString::fromLatin1(r.column));
        if (w > 0 && w < width)
            width = w;
    }
    if (newValue.size() > width)
        tooLong(newValue, width);

    const Params values{{QStringLiteral("nova"), newValue}, {QStringLiteral("stara"), oldValue}};
    Transaction tx(db, true);
    for (const RenameStatement &r : kRenames) {
        if (QLatin1Char(r.typ) != typ || !db.hasTable(QString::fromLatin1(r.table)))
            continue;
        db.exec(QString::fromLatin1(r.update) + QStringLiteral(" :nova\n") + QString::fromLatin1(r.condition)
                    + QStringLiteral(":stara"),
                values);
    }
    const Params list{{QStringLiteral("typ"), typText(typ)}, {QStringLiteral("nova"), newValue},
                      {QStringLiteral("stara"), oldValue}};
    if (listHolds(db, typ, newValue))
        db.exec(QStringLiteral("delete from extend_b where typ=:typ and nazev_v=:stara"), list);
    else
        db.exec(QStringLiteral("update extend_b set nazev_v=:nova where typ=:typ and nazev_v=:stara"), list);
    tx.commit();
}

void remove(Database &db, QChar typ, const QString &value)
{
    db.exec(QStringLiteral("delete from extend_b where typ=:typ and nazev_v=:nazev"),
            Params{{QStringLiteral("typ"), typText(typ)}, {QStringLiteral("nazev"), value}});
}

const QVector<ListInfo> &windowLists()
{
    static const QVector<ListInfo> lists = {
        {QLatin1Char('Z'), QStringLiteral("Majitel"), QStringLiteral("Číselník majitelů zařízení")},
        {QLatin1Char('V'), QStringLiteral("Výrobce vázacích prostředků"), QStringLiteral("Číselník výrobců vázacích prostředků")},
        {QLatin1Char('B'), QStringLiteral("Výrobce zdvihacích zařízení"), QStringLiteral("Číselník výrobců zdvihacích zařízení")},
        {QLatin1Char('D'), QStringLiteral("Dodavatel"), QStringLiteral("Číselník dodavatelů zařízení")},
        {QLatin1Char('P'), QStringLiteral("Provoz"), QStringLiteral("Číselník provozů")},
        {QLatin1Char('1'), QStringLiteral("Umístění1"), QStringLiteral("Číselník umístění 1")},
        {QLatin1Char('2'), QStringLiteral("Umístění2"), QStringLiteral("Číselník umístění 2")},
        {QLatin1Char('A'), QStringLiteral("Údržba"), QStringLiteral("Číselník údržby")},
        {QLatin1Char('T'), QStringLiteral("Provozní technik"), QStringLiteral("Číselník provozních techniků")},
        {QLatin1Char('E'), QStringLiteral("Revizní technik"), QStringLiteral("Číselník revizních techniků")},
        {QLatin1Char('O'), QStringLiteral("Pověřená osoba"), QStringLiteral("Číselník pověřených osob")},
    };
    return lists;
}

std::optional<ListInfo> listForMenuTag(int tag)
{
    const QVector<ListInfo> &l = windowLists();
    if (tag < 1 || tag > l.size())
        return std::nullopt;
    return l[tag - 1];
}

} // namespace tz::codelists
