#pragma once
// The program folder and what lies below it: the settings file, the data
// directory, the report definitions and the spreadsheet templates. Report
// definitions, templates and the manual are looked for in the program folder
// first, then beside the programs (folders.h).
#include "db.h"
#include "folders.h"

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
    QString manualPath() const;              // NavodTavoZZ.pdf, the program folder's or the installed one
    // An installation file by its stored name ("sablony\\Seznam_x", "reports/pvp.pts").
    tz::InstalledFile findInstalled(const QString &name) const { return tz::findInstalled(m_dir, name); }
    // The "reports" folder holding a definition (see tz::reportFolder).
    QString reportFolder(const QString &fileName) const { return tz::reportFolder(m_dir, fileName); }
    // Where files made for the user are kept: "Exporty" (see tz::keptFilesFolder).
    QString keptFilesDir() const { return tz::keptFilesFolder(m_dir); }
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
// The program folder of such a path: the folder itself, or the folder that
// holds it when it is a data directory.
ProgramFolder programFolderOf(const QString &dataPath);

// The one schema step of the program: the table TAVOZZ_X, the company identifier
// firmy.IDFIR and the version row (1, today), applied once, in one transaction.
enum class SchemaStep { Applied, AlreadyApplied };
SchemaStep applySchemaStep(tz::db::Database &db, const QDate &today);

} // namespace tz::app
