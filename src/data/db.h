#pragma once
// The database engine interface: one named connection over Qt SQL (SQLite as the
// embedded default, PostgreSQL for several workstations), a catalogue of the
// tables and their field types, and statements with named parameters.
//
// Every value reaches the engine as a bound parameter. The SQL texts of the
// program (joins in "where", "table.*", table names with ".DB", double-quoted
// strings, date columns plus days) are translated for the engine in one place,
// sqltranslate.cpp.
#include <QDate>
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

#include <stdexcept>

namespace tz::db {

enum class FieldType { Unknown, String, SmallInt, Integer, AutoInc, Float, Date, Boolean, Memo, Graphic, Blob };

bool isNumeric(FieldType t);
QString typeName(FieldType t);

// An engine error: the engine's own text plus, where useful, a Czech explanation.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message, const QString &engineText = {});
    QString message() const { return m_message; }
    QString engineText() const { return m_engineText; }
    // The text shown to the user: the explanation and the engine's text.
    QString userText() const;
    bool isKeyViolation() const { return m_keyViolation; }
    void setKeyViolation(bool v) { m_keyViolation = v; }

private:
    QString m_message;
    QString m_engineText;
    bool m_keyViolation = false;
};

struct ColumnInfo
{
    QString name;
    FieldType type = FieldType::Unknown;
    int size = 0;
    bool key = false;
};

struct TableInfo
{
    QString name;
    QVector<ColumnInfo> columns;
    QStringList keys; // primary key columns in key order
    const ColumnInfo *column(const QString &name) const;
};

// Named parameters; names compare without regard to letter case and without the colon.
class Params
{
public:
    Params() = default;
    Params(std::initializer_list<std::pair<QString, QVariant>> init);
    void set(const QString &name, const QVariant &value);
    bool contains(const QString &name) const;
    QVariant value(const QString &name) const;
    QStringList names() const;
    bool isEmpty() const { return m_items.isEmpty(); }

private:
    QVector<std::pair<QString, QVariant>> m_items;
};

class Database
{
public:
    enum class Backend { SQLite, PostgreSQL };
    static constexpr const char *DefaultName = "DATAZZ";
    static constexpr const char *FileName = "datazz.sqlite";

    explicit Database(const QString &connectionName = QString::fromLatin1(DefaultName));
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the database file of a data directory (created when missing).
    void openSqlite(const QString &dataDir);
    void openPostgres(const QString &host, int port, const QString &dbName, const QString &user,
                      const QString &password);
    void close();
    bool isOpen() const;
    QString connectionName() const { return m_name; }
    QString dataDir() const { return m_dataDir; }
    Backend backend() const { return m_backend; }
    QSqlDatabase handle() const;

    // Catalogue of the open database, read at open and after schema changes.
    void refreshCatalog();
    const TableInfo *table(const QString &name) const; // case-insensitive, ".DB" ignored
    bool hasTable(const QString &name) const { return table(name) != nullptr; }
    QStringList tableNames() const;
    // Type of a column of a table; Unknown when either is not known.
    FieldType columnType(const QString &table, const QString &column) const;
    // Type of a column name that has one type in every table that has it.
    FieldType uniqueColumnType(const QString &column) const;
    bool isDateColumn(const QString &column) const;
    // True when some table has a column of this name.
    bool isColumnName(const QString &column) const { return m_uniqueTypes.contains(column.toLower()); }

    // Runs one statement that returns no rows; gives the number of rows affected.
    int exec(const QString &sql, const Params &params = {});
    // Runs a query and gives the first column of the first row (invalid when no row).
    QVariant scalar(const QString &sql, const Params &params = {});

    // Transactions; a write transaction takes the write lock at once (SQLite
    // "begin immediate"), so that "maximum plus one" cannot be taken twice.
    void begin(bool immediate = false);
    void commit();
    void rollback();
    bool inTransaction() const { return m_txDepth > 0; }

    // Converts a value for binding (dates as ISO text, booleans as 0/1 for SQLite).
    QVariant bindValue(const QVariant &v) const;
    // Converts a value read from the engine into the Qt type of the field type.
    static QVariant fromEngine(const QVariant &v, FieldType t);

    // Raises Error from a failed query.
    [[noreturn]] static void fail(const QString &what, const class QSqlError &err);

private:
    void afterOpen();

    QString m_name;
    QString m_dataDir;
    Backend m_backend = Backend::SQLite;
    QHash<QString, TableInfo> m_tables;       // lower-case name -> table
    QHash<QString, FieldType> m_uniqueTypes;  // lower-case column -> type, Unknown if ambiguous
    int m_txDepth = 0;
    bool m_rollbackOnly = false;
};

// Commits on commit(), rolls back when left without it.
class Transaction
{
public:
    explicit Transaction(Database &db, bool immediate = false);
    ~Transaction();
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace tz::db
