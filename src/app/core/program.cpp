#include "program.h"
#include "datadir.h"

#include <QDir>
#include <QFileInfo>

namespace tz::app {

ProgramFolder ProgramFolder::current()
{
    return ProgramFolder(QDir::currentPath());
}

ProgramFolder::ProgramFolder(const QString &dir) : m_dir(QDir(dir).absolutePath())
{
    while (m_dir.size() > 1 && m_dir.endsWith(QLatin1Char('/')))
        m_dir.chop(1);
}

QString ProgramFolder::path(const QString &relative) const
{
    // each part of the path is matched without regard to letter case
    QString cur = m_dir;
    const QStringList parts = QString(relative).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &p : parts) {
        if (p == QLatin1String("."))
            continue;
        QDir d(cur);
        QString found;
        if (d.exists(p)) {
            found = p;
        } else {
            const QStringList entries = d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            for (const QString &e : entries)
                if (e.compare(p, Qt::CaseInsensitive) == 0) {
                    found = e;
                    break;
                }
        }
        cur = d.filePath(found.isEmpty() ? p : found);
    }
    return cur;
}

QString ProgramFolder::iniPath() const { return path(QStringLiteral("tavozz.ini")); }
QString ProgramFolder::reportsDir() const { return path(QStringLiteral("reports")); }
QString ProgramFolder::manualPath() const
{
    const tz::InstalledFile f = findInstalled(QStringLiteral("NavodTavoZZ.pdf"));
    return f.found() ? f.path : path(QStringLiteral("NavodTavoZZ.pdf"));
}
QString ProgramFolder::dataDir() const { return tz::db::findDataDir(m_dir); }

void openDataDirectory(tz::db::Database &db, const ProgramFolder &folder, bool create, bool *created)
{
    QString dir = folder.dataDir();
    bool fresh = false;
    if (dir.isEmpty()) {
        if (!create)
            throw tz::db::Error(QStringLiteral("Datový adresář Datazz nebyl nalezen ve složce %1.").arg(folder.dir()));
        dir = tz::db::ensureDataDir(folder.dir());
    }
    fresh = !QFileInfo::exists(QDir(dir).filePath(QString::fromLatin1(tz::db::Database::FileName)));
    if (fresh && !create)
        throw tz::db::Error(QStringLiteral("V datovém adresáři %1 nejsou data programu.").arg(dir));
    db.openSqlite(dir);
    if (fresh || tz::db::isEmptyDatabase(db)) {
        tz::db::installSchema(db);
        fresh = true;
    }
    if (created)
        *created = fresh;
}

void openDataPath(tz::db::Database &db, const QString &path)
{
    if (QFileInfo::exists(QDir(path).filePath(QString::fromLatin1(tz::db::Database::FileName)))) {
        db.openSqlite(path);
        return;
    }
    openDataDirectory(db, ProgramFolder(path), false);
}

ProgramFolder programFolderOf(const QString &dataPath)
{
    const QString dir = QDir::cleanPath(QDir(dataPath).absolutePath());
    if (QFileInfo::exists(QDir(dir).filePath(QString::fromLatin1(tz::db::Database::FileName))))
        return ProgramFolder(QFileInfo(dir).absolutePath());
    return ProgramFolder(dataPath);
}

namespace {

// Text columns made wider after databases were created with them. A server
// database keeps the width it was made with and would refuse longer values;
// SQLite does not enforce widths, so only the server's columns are widened.
void widenTextColumns(tz::db::Database &db)
{
    if (db.backend() != tz::db::Database::Backend::PostgreSQL)
        return;
    static const struct
    {
        const char *table, *column;
        int size;
    } wider[] = {{"zz_revize", "CisZapisu2", 15}, {"zz_revize", "Provedl", 40}};
    bool changed = false;
    for (const auto &w : wider) {
        const tz::db::TableInfo *t = db.table(QString::fromLatin1(w.table));
        const tz::db::ColumnInfo *c = t ? t->column(QString::fromLatin1(w.column)) : nullptr;
        if (!c || c->type != tz::db::FieldType::String || c->size <= 0 || c->size >= w.size)
            continue;
        // names from the fixed list above, never from input
        db.exec(QStringLiteral("alter table %1 alter column %2 type varchar(%3)")
                    .arg(t->name, c->name)
                    .arg(w.size));
        changed = true;
    }
    if (changed)
        db.refreshCatalog();
}

} // namespace

SchemaStep applySchemaStep(tz::db::Database &db, const QDate &today)
{
    using tz::db::Params;
    tz::db::Transaction tx(db, true);
    widenTextColumns(db);
    if (!db.hasTable(QStringLiteral("TAVOZZ_X")))
        db.exec(QStringLiteral("create table TAVOZZ_X(verze integer, datum date)"));
    const int applied = db.scalar(QStringLiteral("Select count(*) from TAVOZZ_X where verze=:verze"), Params{{"verze", 1}}).toInt();
    if (applied > 0) {
        tx.commit();
        return SchemaStep::AlreadyApplied;
    }
    const tz::db::TableInfo *firmy = db.table(QStringLiteral("firmy"));
    if (firmy && !firmy->column(QStringLiteral("IDFIR")))
        db.exec(QStringLiteral("Alter table FIRMY add IDFIR Char(20)"));
    db.exec(QStringLiteral("Insert into TAVOZZ_X (verze,datum) values ( 1, :datum)"), Params{{"datum", today}});
    tx.commit();
    return SchemaStep::Applied;
}

} // namespace tz::app
