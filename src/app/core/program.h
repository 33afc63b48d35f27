#pragma once
// The program folder and what lies below it: the settings file, the data
// directory, the report definitions and the spreadsheet templates.
#include "db.h"

#include <QString>

namespace tz::app {

class ProgramFolder
{
public:
    // The program folder is the current directory at start (a trailing "/" removed).
    static ProgramFolder current();
    explicit ProgramFolder(const QString &dir);

    QString dir() const { return m_dir; }
    QString iniPath() const;                 // tavozz.ini
    QString reportsDir() const;              // reports
    QString manualPath() const;              // NavodTavoZZ.pdf
    QString path(const QString &relative) const; // a path below the folder, letter case resolved
    // The data directory, found without regard to letter case; empty when missing.
    QString dataDir() const;

private:
    QString m_dir;
};

// Opens the database of the program folder's data directory. A missing data
// directory is created and filled with the schema and the code tables when
// `create` is set; otherwise Error is raised.
void openDataDirectory(tz::db::Database &db, const ProgramFolder &folder, bool create, bool *created = nullptr);
// Opens a data directory given directly (its folder, or a program folder holding one).
void openDataPath(tz::db::Database &db, const QString &path);

// The one schema step of the program: the table TAVOZZ_X, the company identifier
// firmy.IDFIR and the version row (1, today), applied once, in one transaction.
enum class SchemaStep { Applied, AlreadyApplied };
SchemaStep applySchemaStep(tz::db::Database &db, const QDate &today);

} // namespace tz::app
