#include "db.h"
#include "sqltranslate.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace tz::db {

bool isNumeric(FieldType t)
{
    return t == FieldType::SmallInt || t == FieldType::Integer || t == FieldType::AutoInc || t == FieldType::Float;
}

QString typeName(FieldType t)
{
    switch (t) {
    case FieldType::String: return QStringLiteral("string");
    case FieldType::SmallInt: return QStringLiteral("smallint");
    case FieldType::Integer: return QStringLiteral("integer");
    case FieldType::AutoInc: return QStringLiteral("autoinc");
    case FieldType::Float: return QStringLiteral("float");
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::Boolean: return QStringLiteral("boolean");
    case FieldType::Memo: return QStringLiteral("memo");
    case FieldType::Graphic: return QStringLiteral("graphic");
    case FieldType::Blob: return QStringLiteral("blob");
    case FieldType::Unknown: break;
    }
    return QStringLiteral("unknown");
}

Error::Error(const QString &message, const QString &engineText)
    : std::runtime_error((engineText.isEmpty() ? message : message + QLatin1String(": ") + engineText).toStdString()),
      m_message(message), m_engineText(engineText)
{
}

QString Error::userText() const
{
    if (m_engineText.isEmpty())
        return m_message;
    if (m_message.isEmpty())
        return m_engineText;
    return m_message + QLatin1String("\n\n") + m_engineText;
}

const ColumnInfo *TableInfo::column(const QString &n) const
{
    for (const ColumnInfo &c : columns)
        if (c.name.compare(n, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

static QString bareName(const QString &n)
{
    return n.startsWith(QLatin1Char(':')) ? n.mid(1) : n;
}

Params::Params(std::initializer_list<std::pair<QString, QVariant>> init)
{
    for (const auto &p : init)
        set(p.first, p.second);
}

void Params::set(const QString &name, const QVariant &value)
{
    const QString n = bareName(name);
    for (auto &p : m_items)
        if (p.first.compare(n, Qt::CaseInsensitive) == 0) {
            p.second = value;
            return;
        }
    m_items.push_back({n, value});
}

bool Params::contains(const QString &name) const
{
    const QString n = bareName(name);
    for (const auto &p : m_items)
        if (p.first.compare(n, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QVariant Params::value(const QString &name) const
{
    const QString n = bareName(name);
    for (const auto &p : m_items)
        if (p.first.compare(n, Qt::CaseInsensitive) == 0)
            return p.second;
    return {};
}

QStringList Params::names() const
{
    QStringList out;
    for (const auto &p : m_items)
        out << p.first;
    return out;
}

// --- SQLite functions -------------------------------------------------------

namespace {

void sqlAddDays(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc != 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])));
    const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
    if (!d.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    const qint64 days = static_cast<qint64>(sqlite3_value_double(argv[1]));
    const QByteArray r = d.addDays(days).toString(Qt::ISODate).toUtf8();
    sqlite3_result_text(ctx, r.constData(), r.size(), SQLITE_TRANSIENT);
}

void sqlCase(sqlite3_context *ctx, int argc, sqlite3_value **argv, bool upper)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])));
    const QByteArray r = (upper ? s.toUpper() : s.toLower()).toUtf8();
    sqlite3_result_text(ctx, r.constData(), r.size(), SQLITE_TRANSIENT);
}

void sqlLower(sqlite3_context *ctx, int argc, sqlite3_value **argv) { sqlCase(ctx, argc, argv, false); }
void sqlUpper(sqlite3_context *ctx, int argc, sqlite3_value **argv) { sqlCase(ctx, argc, argv, true); }

// Czech-aware ordering of texts without regard to case ("order by Firma collate cz").
int sqlCollateCz(void *, int la, const void *a, int lb, const void *b)
{
    const QString sa = QString::fromUtf8(static_cast<const char *>(a), la);
    const QString sb = QString::fromUtf8(static_cast<const char *>(b), lb);
    const int c = QString::localeAwareCompare(sa.toLower(), sb.toLower());
    return c != 0 ? c : sa.compare(sb);
}

} // namespace

// --- Database ---------------------------------------------------------------

Database::Database(const QString &connectionName) : m_name(connectionName) {}

Database::~Database()
{
    close();
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Database::handle() const
{
    return QSqlDatabase::database(m_name, false);
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_name) && handle().isOpen();
}

void Database::openSqlite(const QString &dataDir)
{
    close();
    if (!QDir(dataDir).exists())
        throw Error(QStringLiteral("Datový adresář neexistuje: %1").arg(QDir::toNativeSeparators(dataDir)));
    m_backend = Backend::SQLite;
    m_dataDir = QDir(dataDir).absolutePath();
    QSqlDatabase d = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    d.setDatabaseName(QDir(m_dataDir).filePath(QString::fromLatin1(FileName)));
    d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!d.open())
        fail(QStringLiteral("Databázi nelze otevřít"), d.lastError());
    QVariant h = d.driver()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0) {
        sqlite3 *s = *static_cast<sqlite3 *const *>(h.constData());
        if (s) {
            sqlite3_create_function(s, "tz_adddays", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlAddDays, nullptr, nullptr);
            sqlite3_create_function(s, "lower", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlLower, nullptr, nullptr);
            sqlite3_create_function(s, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlUpper, nullptr, nullptr);
            sqlite3_create_collation(s, "cz", SQLITE_UTF8, nullptr, sqlCollateCz);
        }
    }
    afterOpen();
}

void Database::openPostgres(const QString &host, int port, const QString &dbName, const QString &user,
                            const QString &password)
{
    close();
    m_backend = Backend::PostgreSQL;
    QSqlDatabase d = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                    : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    d.setHostName(host);
    if (port > 0)
        d.setPort(port);
    d.setDatabaseName(dbName);
    d.setUserName(user);
    d.setPassword(password);
    if (!d.open())
        fail(QStringLiteral("Databázi nelze otevřít"), d.lastError());
    afterOpen();
}

void Database::afterOpen()
{
    m_txDepth = 0;
    refreshCatalog();
}

void Database::close()
{
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase d = handle();
        if (d.isOpen())
            d.close();
    }
    m_tables.clear();
    m_uniqueTypes.clear();
    m_txDepth = 0;
}

void Database::refreshCatalog()
{
    m_tables.clear();
    m_uniqueTypes.clear();
    QSqlDatabase d = handle();
    QSqlQuery q(d);
    QStringList names;
    if (m_backend == Backend::SQLite) {
        if (!q.exec(QStringLiteral("select name from sqlite_master where type='table' and name not like 'sqlite_%'")))
            fail(QStringLiteral("Nelze číst seznam tabulek"), q.lastError());
        while (q.next())
            names << q.value(0).toString();
        for (const QString &n : names) {
            TableInfo ti;
            ti.name = n;
            QSqlQuery c(d);
            if (!c.exec(QStringLiteral("pragma table_info(\"%1\")").arg(n)))
                continue;
            QVector<std::pair<int, QString>> pk;
            while (c.next()) {
                ColumnInfo ci;
                ci.name = c.value(1).toString();
                fieldTypeFromDecl(c.value(2).toString(), ci.size, ci.type);
                const int pkpos = c.value(5).toInt();
                ci.key = pkpos > 0;
                if (ci.key)
                    pk.push_back({pkpos, ci.name});
                if (ci.key && c.value(2).toString().compare(QLatin1String("integer"), Qt::CaseInsensitive) == 0) {
                    // "integer primary key" alone is the engine's own row number
                    ci.type = FieldType::Integer;
                }
                ti.columns.push_back(ci);
            }
            std::sort(pk.begin(), pk.end());
            for (const auto &p : pk)
                ti.keys << p.second;
            if (ti.keys.size() == 1) {
                for (ColumnInfo &ci : ti.columns)
                    if (ci.key && ci.type == FieldType::Integer) {
                        QSqlQuery a(d);
                        a.exec(QStringLiteral("select sql from sqlite_master where name='%1'").arg(n));
                        if (a.next() && a.value(0).toString().contains(QRegularExpression(
                                QStringLiteral("\\b%1\\s+integer\\s+primary\\s+key").arg(ci.name), QRegularExpression::CaseInsensitiveOption)))
                            ci.type = FieldType::AutoInc;
                    }
            }
            m_tables.insert(n.toLower(), ti);
        }
    } else {
        if (!q.exec(QStringLiteral("select table_name, column_name, data_type, character_maximum_length, column_default "
                                   "from information_schema.columns where table_schema = current_schema() "
                                   "order by table_name, ordinal_position")))
            fail(QStringLiteral("Nelze číst seznam tabulek"), q.lastError());
        while (q.next()) {
            const QString tn = q.value(0).toString();
            TableInfo &ti = m_tables[tn.toLower()];
            ti.name = tn;
            ColumnInfo ci;
            ci.name = q.value(1).toString();
            QString decl = q.value(2).toString();
            if (!q.value(3).isNull())
                decl += QStringLiteral("(%1)").arg(q.value(3).toInt());
            fieldTypeFromDecl(decl, ci.size, ci.type);
            if (q.value(4).toString().startsWith(QLatin1String("nextval(")))
                ci.type = FieldType::AutoInc;
            ti.columns.push_back(ci);
        }
        QSqlQuery k(d);
        k.exec(QStringLiteral("select kcu.table_name, kcu.column_name from information_schema.table_constraints tc "
                              "join information_schema.key_column_usage kcu on tc.constraint_name = kcu.constraint_name "
                              "and tc.table_schema = kcu.table_schema where tc.constraint_type = 'PRIMARY KEY' "
                              "and tc.table_schema = current_schema() order by kcu.table_name, kcu.ordinal_position"));
        while (k.next()) {
            auto it = m_tables.find(k.value(0).toString().toLower());
            if (it == m_tables.end())
                continue;
            it->keys << k.value(1).toString();
            for (ColumnInfo &ci : it->columns)
                if (ci.name.compare(k.value(1).toString(), Qt::CaseInsensitive) == 0)
                    ci.key = true;
        }
    }
    for (const TableInfo &ti : std::as_const(m_tables))
        for (const ColumnInfo &ci : ti.columns) {
            const QString k = ci.name.toLower();
            auto it = m_uniqueTypes.find(k);
            FieldType t = ci.type == FieldType::AutoInc ? FieldType::Integer : ci.type;
            if (it == m_uniqueTypes.end())
                m_uniqueTypes.insert(k, t);
            else if (*it != t)
                *it = FieldType::Unknown;
        }
}

const TableInfo *Database::table(const QString &name) const
{
    QString n = name.trimmed();
    if (n.startsWith(QLatin1Char('"')) && n.endsWith(QLatin1Char('"')) && n.size() >= 2)
        n = n.mid(1, n.size() - 2);
    if (n.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        n.chop(3);
    auto it = m_tables.constFind(n.toLower());
    return it == m_tables.constEnd() ? nullptr : &*it;
}

QStringList Database::tableNames() const
{
    QStringList out;
    for (const TableInfo &t : m_tables)
        out << t.name;
    out.sort(Qt::CaseInsensitive);
    return out;
}

FieldType Database::columnType(const QString &tableName, const QString &column) const
{
    const TableInfo *t = table(tableName);
    if (!t)
        return FieldType::Unknown;
    const ColumnInfo *c = t->column(column);
    return c ? c->type : FieldType::Unknown;
}

FieldType Database::uniqueColumnType(const QString &column) const
{
    return m_uniqueTypes.value(column.toLower(), FieldType::Unknown);
}

bool Database::isDateColumn(const QString &column) const
{
    return uniqueColumnType(column) == FieldType::Date;
}

QVariant Database::bindValue(const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return QVariant(QMetaType::fromType<QString>());
    if (m_backend == Backend::SQLite) {
        switch (v.typeId()) {
        case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
        case QMetaType::QDateTime: return v.toDateTime().date().toString(Qt::ISODate);
        case QMetaType::Bool: return v.toBool() ? 1 : 0;
        default: break;
        }
    }
    return v;
}

QVariant Database::fromEngine(const QVariant &v, FieldType t)
{
    if (v.isNull())
        return QVariant();
    switch (t) {
    case FieldType::Date: {
        if (v.typeId() == QMetaType::QDate)
            return v;
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        const QString s = v.toString();
        if (s.isEmpty())
            return QVariant();
        const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Boolean:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().toLower();
            return s == QLatin1String("1") || s == QLatin1String("true") || s == QLatin1String("t");
        }
        return v.toBool();
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
        if (v.typeId() == QMetaType::QString) {
            bool ok = false;
            const qlonglong n = v.toString().toLongLong(&ok);
            return ok ? QVariant(int(n)) : v;
        }
        return v.typeId() == QMetaType::Double ? QVariant(int(qRound64(v.toDouble()))) : QVariant(v.toInt());
    case FieldType::Float:
        if (v.typeId() == QMetaType::QString) {
            bool ok = false;
            const double d = v.toString().toDouble(&ok);
            return ok ? QVariant(d) : v;
        }
        return v.toDouble();
    case FieldType::Graphic:
    case FieldType::Blob:
        return v.toByteArray();
    case FieldType::String:
    case FieldType::Memo:
        return v.typeId() == QMetaType::QString ? v : QVariant(v.toString());
    case FieldType::Unknown:
        break;
    }
    return v;
}

void Database::fail(const QString &what, const QSqlError &err)
{
    QString text = err.databaseText().trimmed();
    if (text.isEmpty())
        text = err.text().trimmed();
    const QString lower = text.toLower();
    const bool key = lower.contains(QLatin1String("unique constraint")) || lower.contains(QLatin1String("duplicate key"))
        || lower.contains(QLatin1String("primary key"));
    Error e(key ? QStringLiteral("Porušení klíče: záznam se stejným klíčem již existuje.") : what, text);
    e.setKeyViolation(key);
    throw e;
}

static void bindAll(QSqlQuery &q, const TranslatedSql &tr, const Params &params, const Database &db)
{
    for (int i = 0; i < tr.params.size(); ++i) {
        if (!params.contains(tr.params[i]))
            throw Error(QStringLiteral("Parametr :%1 nemá hodnotu").arg(tr.params[i]));
        q.bindValue(i, db.bindValue(params.value(tr.params[i])));
    }
}

int Database::exec(const QString &sql, const Params &params)
{
    const TranslatedSql tr = translateSql(sql, *this);
    QSqlQuery q(handle());
    static const QRegularExpression ddl(QStringLiteral("^\\s*(create|alter|drop)\\b"), QRegularExpression::CaseInsensitiveOption);
    const bool isDdl = ddl.match(tr.text).hasMatch();
    static const QRegularExpression preparable(QStringLiteral("^\\s*(select|insert|update|delete|values|with)\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (m_backend == Backend::PostgreSQL && tr.params.isEmpty() && !preparable.match(tr.text).hasMatch()) {
        // PostgreSQL prepares only queries and data changes (not DDL, lock, ...)
        if (!q.exec(tr.text))
            fail(QStringLiteral("Příkaz SQL se nepodařilo provést"), q.lastError());
    } else {
        if (!q.prepare(tr.text))
            fail(QStringLiteral("Chybný příkaz SQL"), q.lastError());
        bindAll(q, tr, params, *this);
        if (!q.exec())
            fail(QStringLiteral("Příkaz SQL se nepodařilo provést"), q.lastError());
    }
    const int n = q.numRowsAffected();
    if (isDdl)
        refreshCatalog();
    return n;
}

QVariant Database::scalar(const QString &sql, const Params &params)
{
    const TranslatedSql tr = translateSql(sql, *this);
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    if (!q.prepare(tr.text))
        fail(QStringLiteral("Chybný příkaz SQL"), q.lastError());
    bindAll(q, tr, params, *this);
    if (!q.exec())
        fail(QStringLiteral("Příkaz SQL se nepodařilo provést"), q.lastError());
    if (!q.next())
        return {};
    return q.value(0);
}

void Database::begin(bool immediate)
{
    if (m_txDepth++ > 0)
        return;
    m_rollbackOnly = false;
    QSqlQuery q(handle());
    const QString text = m_backend == Backend::SQLite ? (immediate ? QStringLiteral("begin immediate") : QStringLiteral("begin"))
                                                      : QStringLiteral("begin");
    if (!q.exec(text)) {
        m_txDepth = 0;
        fail(QStringLiteral("Transakci nelze zahájit"), q.lastError());
    }
}

void Database::commit()
{
    if (m_txDepth == 0)
        return;
    if (--m_txDepth > 0)
        return;
    if (m_rollbackOnly) {
        m_rollbackOnly = false;
        QSqlQuery r(handle());
        r.exec(QStringLiteral("rollback"));
        throw Error(QStringLiteral("Transakce byla zrušena, změny nebyly uloženy."));
    }
    QSqlQuery q(handle());
    if (!q.exec(QStringLiteral("commit"))) {
        QSqlQuery r(handle());
        r.exec(QStringLiteral("rollback"));
        fail(QStringLiteral("Transakci nelze potvrdit"), q.lastError());
    }
}

void Database::rollback()
{
    if (m_txDepth == 0)
        return;
    if (--m_txDepth > 0) {
        // an inner part failed: the outer transaction can only be rolled back
        m_rollbackOnly = true;
        return;
    }
    m_rollbackOnly = false;
    QSqlQuery q(handle());
    q.exec(QStringLiteral("rollback"));
}

Transaction::Transaction(Database &db, bool immediate) : m_db(db)
{
    m_db.begin(immediate);
}

Transaction::~Transaction()
{
    if (!m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    m_done = true;
    m_db.commit();
}

} // namespace tz::db
