#pragma once
// The data directory below the program folder and the installation of a new one.
#include "db.h"

#include <QString>
#include <QStringList>

namespace tz::db {

// The data directory "Datazz" below the program folder, found without regard to
// letter case ("Datazz", "DATAZZ", "datazz"); empty when there is none.
QString findDataDir(const QString &programDir);
// The data directory, created as "Datazz" when there is none.
QString ensureDataDir(const QString &programDir);

// Splits a script into statements at semicolons outside quotes; comments dropped.
QStringList splitSqlScript(const QString &script);

// True when the database has no tables of the program yet.
bool isEmptyDatabase(const Database &db);
// Creates every table and fills the code tables, in one transaction.
void installSchema(Database &db);
// Loads the small demonstration data set (user organisation, companies, items).
void loadDemoData(Database &db);

} // namespace tz::db
