#include "folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tz {

namespace {

QString &installationOverride()
{
    static QString folder;
    return folder;
}

// One path component in a folder without regard to letter case; empty when missing.
QString matchEntry(const QDir &dir, const QString &name)
{
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return {};
}

QString cleanFolder(const QString &folder)
{
    return QDir::cleanPath(QDir(folder.isEmpty() ? QDir::currentPath() : folder).absolutePath());
}

bool writableFolder(const QString &dir)
{
    if (!QDir().mkpath(dir))
        return false;
    const QFileInfo fi(dir);
    return fi.isDir() && fi.isWritable();
}

} // namespace

QString installationFolder()
{
    if (!installationOverride().isEmpty())
        return installationOverride();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

void setInstallationFolder(const QString &folder)
{
    installationOverride() = folder.isEmpty() ? QString() : cleanFolder(folder);
}

QStringList installSearchFolders(const QString &programFolder)
{
    QStringList folders{cleanFolder(programFolder)};
    const QString beside = cleanFolder(installationFolder());
    if (!folders.contains(beside))
        folders << beside;
    return folders;
}

QString installName(const QString &stored)
{
    QString n = stored.trimmed();
    n.replace(u'\\', u'/');
    return QDir::cleanPath(n);
}

QString findCaseless(const QString &folder, const QString &name, const QStringList &extensions)
{
    const QString n = installName(name);
    if (n.isEmpty() || n == QLatin1String("."))
        return {};
    QDir dir;
    QStringList parts;
    if (QDir::isAbsolutePath(n)) {
        const QFileInfo fi(n);
        dir = QDir(fi.absolutePath());
        parts << fi.fileName();
    } else {
        dir = QDir(cleanFolder(folder));
        parts = n.split(u'/', Qt::SkipEmptyParts);
    }
    for (int i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i] == QLatin1String("."))
            continue;
        const QString m = parts[i] == QLatin1String("..") ? parts[i] : matchEntry(dir, parts[i]);
        if (m.isEmpty() || !dir.cd(m))
            return {};
    }
    if (parts.isEmpty())
        return {};
    for (const QString &ext : extensions) {
        const QString m = matchEntry(dir, parts.last() + ext);
        if (!m.isEmpty() && QFileInfo(dir.filePath(m)).isFile())
            return QDir::cleanPath(dir.filePath(m));
    }
    return {};
}

QString InstalledFile::searchedText() const
{
    if (searched.size() <= 1)
        return searched.value(0);
    return searched.mid(0, searched.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" a ") + searched.last();
}

InstalledFile findInstalled(const QString &programFolder, const QString &name, const QStringList &extensions)
{
    InstalledFile r;
    r.name = installName(name);
    if (r.name.isEmpty())
        return r;
    const QFileInfo named(r.name);
    const QString sub = named.path() == QLatin1String(".") ? QString() : named.path();
    const QStringList folders = QDir::isAbsolutePath(r.name) ? QStringList{QString()} : installSearchFolders(programFolder);
    for (const QString &f : folders) {
        if (QDir::isAbsolutePath(r.name))
            r.searched << QDir::cleanPath(named.absolutePath());
        else
            r.searched << (sub.isEmpty() ? f : QDir::cleanPath(f + u'/' + sub));
        r.path = findCaseless(f, r.name, extensions);
        if (r.found())
            break;
    }
    return r;
}

InstalledFile findInstalledTemplate(const QString &programFolder, const QString &name)
{
    return findInstalled(programFolder, name,
                         {QString(), QStringLiteral(".xlsx"), QStringLiteral(".xlsm"), QStringLiteral(".xls")});
}

InstalledFile findReportDefinition(const QString &programFolder, const QString &fileName)
{
    const QString n = installName(fileName);
    return findInstalled(programFolder, QDir::isAbsolutePath(n) ? n : QStringLiteral("reports/") + n);
}

QString reportFolder(const QString &programFolder, const QString &fileName)
{
    const InstalledFile f = findReportDefinition(programFolder, fileName);
    if (f.found())
        return QFileInfo(f.path).absolutePath();
    QDir dir(cleanFolder(programFolder));
    const QString entry = matchEntry(dir, QStringLiteral("reports"));
    return dir.filePath(entry.isEmpty() ? QStringLiteral("reports") : entry);
}

QString keptFilesFolder(const QString &programFolder)
{
    QDir program(cleanFolder(programFolder));
    const QString entry = matchEntry(program, QStringLiteral("Exporty"));
    const QString own = program.filePath(entry.isEmpty() ? QStringLiteral("Exporty") : entry);
    if (writableFolder(own))
        return own;
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty() && writableFolder(docs + QStringLiteral("/TAVO ZZ")))
        return docs + QStringLiteral("/TAVO ZZ");
    const QString temp = QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QStringLiteral("/TAVOZZ");
    QDir().mkpath(temp);
    return temp;
}

} // namespace tz
