#pragma once
// Where the program finds its installation data (report definitions in
// "reports", spreadsheet templates in "sablony" and "sablonyRev", the manual)
// and where it keeps the files it makes for the user.
//
// Installation data is looked up in the program folder first, then beside the
// programs (the folder of the executable), so that a program folder without
// its own copies still works. Stored names may use '\' ("sablony\\Seznam_x");
// they are read as '/' paths, and every folder and file name is matched
// without regard to letter case.
#include <QString>
#include <QStringList>

namespace tz {

// The folder beside the programs: the executable's folder, or the folder set
// by setInstallationFolder.
QString installationFolder();
// Replaces the folder beside the programs (tests); an empty text restores the
// executable's folder.
void setInstallationFolder(const QString &folder);

// The folders searched for installation data, in order: the program folder
// (the current directory when empty), then the folder beside the programs;
// each once.
QStringList installSearchFolders(const QString &programFolder);

// A file below one folder by a relative (or absolute) name with either
// separator, each part matched without regard to letter case, trying the
// extensions in order; empty when there is none.
QString findCaseless(const QString &folder, const QString &name, const QStringList &extensions = {QString()});

// A stored installation name as a '/' path: "sablony\\Seznam_x" -> "sablony/Seznam_x".
QString installName(const QString &stored);

// The result of a lookup: the file found, and the places looked at.
struct InstalledFile
{
    QString name;            // the name looked for, with '/'
    QString path;            // the file found; empty when none
    QStringList searched;    // the folders the file was looked for in, '/' paths, in order
    bool found() const { return !path.isEmpty(); }
    // "/a/sablony a /b/sablony" (or one folder) for messages.
    QString searchedText() const;
};

// Finds an installation file by its relative name ("reports/pvp.pts",
// "sablony\\protokol1_.ini"), trying the extensions in order (an empty one
// means the name as written). An absolute name is only looked at itself.
InstalledFile findInstalled(const QString &programFolder, const QString &name,
                            const QStringList &extensions = {QString()});
// A template workbook: the name as written, or with .xlsx, .xlsm or .xls.
InstalledFile findInstalledTemplate(const QString &programFolder, const QString &name);
// A report definition by its file name ("pvp.pts") in the folders "reports".
InstalledFile findReportDefinition(const QString &programFolder, const QString &fileName);
// The "reports" folder that holds the definition; the program folder's
// "reports" when none does (a new definition is made there).
QString reportFolder(const QString &programFolder, const QString &fileName);

// The folder where files made for the user are kept (workbooks of
// "Seznam do excelu", previews, saved documents): "Exporty" in the program
// folder, or, when that cannot be written, "TAVO ZZ" in the user's documents,
// or a folder in the temporary location as the last resort. Created when missing.
QString keptFilesFolder(const QString &programFolder);

} // namespace tz
