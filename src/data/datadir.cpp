#include "datadir.h"
#include "sqltranslate.h"

#include <QDir>
#include <QFile>

static void initDataResources()
{
    Q_INIT_RESOURCE(data);
}

namespace tz::db {

QString findDataDir(const QString &programDir)
{
    QDir dir(programDir);
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    // an exact spelling first, then any letter case
    for (const QString &e : entries)
        if (e == QLatin1String("Datazz"))
            return dir.filePath(e);
    for (const QString &e : entries)
        if (e.compare(QLatin1String("datazz"), Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    return {};
}

QString ensureDataDir(const QString &programDir)
{
    QString d = findDataDir(programDir);
    if (!d.isEmpty())
        return d;
    QDir dir(programDir);
    if (!dir.mkpath(QStringLiteral("Datazz")))
        throw Error(QStringLiteral("Datový adresář nelze vytvořit: %1").arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("Datazz")))));
    return dir.filePath(QStringLiteral("Datazz"));
}

QStringList splitSqlScript(const QString &script)
{
    QStringList out;
    QString cur;
    QChar quote;
    const int n = script.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        if (!quote.isNull()) {
            cur += c;
            if (c == quote) {
                if (i + 1 < n && script.at(i + 1) == quote) {
                    cur += script.at(++i);
                } else {
                    quote = QChar();
                }
            }
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && script.at(i + 1) == QLatin1Char('-')) {
            while (i < n && script.at(i) != QLatin1Char('\n'))
                ++i;
            cur += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = c;
        if (c == QLatin1Char(';')) {
            if (!cur.trimmed().isEmpty())
                out << cur.trimmed();
            cur.clear();
            continue;
        }
        cur += c;
    }
    if (!cur.trimmed().isEmpty())
        out << cur.trimmed();
    return out;
}

static QString resourceText(const QString &name)
{
    initDataResources();
    QFile f(QStringLiteral(":/tavozz/db/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Instalační data %1 chybí v programu.").arg(name));
    return QString::fromUtf8(f.readAll());
}

bool isEmptyDatabase(const Database &db)
{
    return !db.hasTable(QStringLiteral("firmy")) && !db.hasTable(QStringLiteral("basic"));
}

static void runScript(Database &db, const QString &script, bool ddl)
{
    const bool pg = db.backend() == Database::Backend::PostgreSQL;
    for (const QString &st : splitSqlScript(script))
        db.exec(ddl ? schemaDdl(st, pg) : st);
}

void installSchema(Database &db)
{
    Transaction tx(db, true);
    runScript(db, resourceText(QStringLiteral("schema.sql")), true);
    db.refreshCatalog();
    runScript(db, resourceText(QStringLiteral("codetables.sql")), false);
    tx.commit();
    db.refreshCatalog();
}

void loadDemoData(Database &db)
{
    Transaction tx(db, true);
    runScript(db, resourceText(QStringLiteral("demo.sql")), false);
    tx.commit();
}

} // namespace tz::db
