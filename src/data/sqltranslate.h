#pragma once
// Translation of the program's SQL texts for the engine. This is the one place
// where the dialect of the texts (table names with ".DB", double-quoted string
// values, a date column plus a number of days, ":name" parameters) meets the
// dialect of SQLite or PostgreSQL.
#include <QString>
#include <QStringList>

namespace tz::db {

class Database;
enum class FieldType;

struct TranslatedSql
{
    QString text;         // engine text with "?" in place of every parameter
    QStringList params;   // parameter names (without colon), one per "?" in order
};

TranslatedSql translateSql(const QString &sql, const Database &db);

// Maps a declared column type of the engine to a field type and width.
void fieldTypeFromDecl(const QString &decl, int &size, FieldType &type);

// Turns the neutral column types of the installation schema into engine DDL.
QString schemaDdl(const QString &neutral, bool postgres);

} // namespace tz::db
