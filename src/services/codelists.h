#pragma once
// Auxiliary code lists: the values offered by the free-text pick lists of the
// record forms (owners, operating units, manufacturers, suppliers, locations,
// maintenance, technicians). All lists live in table extend_b, told apart by a
// one-character type; the record forms add what the user types, the code-list
// window renames and removes values, and a rename reaches every record that
// holds the old value.
#include "db.h"

#include <QChar>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace tz::codelists {

enum class FormKind { Accessory, Equipment };

// The list type of a combo box tag (1 to 9) on a form of that kind; QChar() otherwise.
// Tags 1 and 2 (owner and operating unit) use the lists "Z" and "P" that the
// window "Majitel" and "Provoz" edits and whose renames rewrite those fields.
QChar typeForTag(FormKind kind, int tag);

// Values of every list: rows whose value is empty after trimming are left out,
// each value once, sorted as a Czech reader expects (letter case ignored).
QMap<QChar, QStringList> readAll(tz::db::Database &db);
// Values of one list, as readAll gives them.
QStringList values(tz::db::Database &db, QChar typ);

// Adds a typed value to a list unless the list holds it already (compared
// exactly: letter case and spaces count). True when a row was added. An empty
// or blank value adds nothing. The new row takes the highest number of the
// whole table plus one. A value longer than the list's field raises Error.
bool addValue(tz::db::Database &db, QChar typ, const QString &value);

// Renames a value of a list and every record field filled from that list, in
// one transaction: on any failure nothing is renamed. An empty new value or
// one longer than a field it goes into raises Error; so does an engine error.
// When the list holds the new value already, the old entry is merged into it.
void rename(tz::db::Database &db, QChar typ, const QString &oldValue, const QString &newValue);

// Removes a value from a list; records that hold it keep it.
void remove(tz::db::Database &db, QChar typ, const QString &value);

// The lists of the code-list window, in the order of the menu (tags 1 to 11).
struct ListInfo
{
    QChar typ;
    QString menuItem;
    QString heading;
};
const QVector<ListInfo> &windowLists();
std::optional<ListInfo> listForMenuTag(int tag);

// Record fields filled from a list: (table, column), in the order the rename updates them.
struct RecordField
{
    QString table;
    QString column;
};
QVector<RecordField> recordFields(QChar typ);

// Sorts values as the pick lists show them.
void sortValues(QStringList &values);

} // namespace tz::codelists
