#include "dataset.h"
#include "fieldcaptions.h"
#include "dates.h"
#include "sqltranslate.h"

#include <QRegularExpression>

#include <optional>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace tz::db {

// --- RowView ----------------------------------------------------------------

QVariant RowView::value(const QString &field) const
{
    const Field *f = m_ds.findField(field);
    if (!f)
        return {};
    if (f->isCalculated())
        return m_ds.calcValue(f->column(), m_row);
    return m_row.value(f->column());
}

QString RowView::text(const QString &field) const
{
    const Field *f = m_ds.findField(field);
    return f ? Field::textOf(value(field), f->type(), false) : QString();
}

// --- Field ------------------------------------------------------------------

void Field::setPosition(int p)
{
    m_position = p;
}

QVariant Field::value() const
{
    if (!m_ds || (m_ds->m_cur < 0 && !m_ds->isEditing()))
        return {};
    if (m_calc)
        return m_ds->calcValue(m_column, m_ds->isEditing() ? m_ds->m_buffer : m_ds->m_rows[size_t(m_ds->m_view[size_t(m_ds->m_cur)])]);
    if (m_ds->isEditing())
        return m_ds->m_buffer.value(m_column);
    return m_ds->storeValue(m_ds->m_view[size_t(m_ds->m_cur)], m_column);
}

bool Field::isNull() const
{
    const QVariant v = value();
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

static QString floatText(double d, bool comma)
{
    QString s = QString::number(d, 'f', 6);
    while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0')) || s.endsWith(QLatin1Char('.'))))
        s.chop(1);
    if (comma)
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString Field::textOf(const QVariant &v, FieldType t, bool display)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate: return formatDate(v.toDate());
    case QMetaType::Bool:
        return display ? (v.toBool() ? QStringLiteral("Ano") : QStringLiteral("Ne"))
                       : (v.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
    case QMetaType::Double: return floatText(v.toDouble(), display);
    case QMetaType::QByteArray:
        if (t == FieldType::Graphic)
            return display ? QStringLiteral("(Obrázek)") : QString();
        if (t == FieldType::Blob)
            return display ? QStringLiteral("(Data)") : QString();
        return QString::fromUtf8(v.toByteArray());
    default: break;
    }
    if (t == FieldType::Date) {
        const QDate d = parseDate(v.toString());
        if (d.isValid())
            return formatDate(d);
    }
    if (display && t == FieldType::Memo) {
        const QString s = v.toString();
        const int nl = s.indexOf(QLatin1Char('\n'));
        return nl < 0 ? s : s.left(nl).trimmed() + QStringLiteral(" …");
    }
    return v.toString();
}

QString Field::asString() const
{
    return textOf(value(), m_type, false);
}

QString Field::displayText() const
{
    return textOf(value(), m_type, true);
}

int Field::asInteger() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? int(qRound64(d)) : 0;
    }
    if (v.typeId() == QMetaType::Double)
        return int(qRound64(v.toDouble()));
    return v.toInt();
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    return v.toDouble();
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return parseDate(v.toString());
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().toLower();
        return s == QLatin1String("true") || s == QLatin1String("1") || s == QLatin1String("ano");
    }
    return v.toBool();
}

QString Field::label() const
{
    return m_label.isEmpty() ? fieldCaption(m_name) : m_label;
}

QByteArray Field::asBytes() const
{
    const QVariant v = value();
    return v.typeId() == QMetaType::QString ? v.toString().toUtf8() : v.toByteArray();
}

QVariant Field::convert(const QVariant &v, const QString &caption) const
{
    const QString name = caption.isEmpty() ? label() : caption;
    if (!v.isValid() || v.isNull())
        return {};
    const bool isText = v.typeId() == QMetaType::QString;
    const QString text = isText ? v.toString().trimmed() : QString();
    if (isText && text.isEmpty() && m_type != FieldType::Memo)
        return {};
    switch (m_type) {
    case FieldType::Date: {
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().isValid() ? v : QVariant();
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        const QDate d = parseDate(v.toString());
        if (!d.isValid())
            throw Error(QStringLiteral("\"%1\" není platné datum (pole %2). Zadejte datum ve tvaru den.měsíc.rok.")
                            .arg(v.toString(), name));
        return d;
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc: {
        bool ok = true;
        qlonglong n = 0;
        if (isText) {
            n = text.toLongLong(&ok);
        } else if (v.typeId() == QMetaType::Double) {
            const double d = v.toDouble();
            ok = d == std::floor(d);
            n = qlonglong(d);
        } else {
            n = v.toLongLong(&ok);
        }
        if (!ok)
            throw Error(QStringLiteral("\"%1\" není celé číslo (pole %2).").arg(v.toString(), name));
        const qlonglong lo = m_type == FieldType::SmallInt ? -32768 : INT_MIN;
        const qlonglong hi = m_type == FieldType::SmallInt ? 32767 : INT_MAX;
        if (n < lo || n > hi)
            throw Error(QStringLiteral("Hodnota %1 je mimo povolený rozsah %2 až %3 (pole %4).").arg(n).arg(lo).arg(hi).arg(name));
        return int(n);
    }
    case FieldType::Float: {
        bool ok = true;
        double d = 0;
        if (isText)
            d = QString(text).remove(QLatin1Char(' ')).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        else
            d = v.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw Error(QStringLiteral("\"%1\" není číslo (pole %2).").arg(v.toString(), name));
        return d;
    }
    case FieldType::Boolean:
        if (isText) {
            const QString l = text.toLower();
            return l == QLatin1String("1") || l == QLatin1String("true") || l == QLatin1String("ano");
        }
        return v.toBool();
    case FieldType::Graphic:
    case FieldType::Blob:
        return v.toByteArray();
    case FieldType::String:
        if (v.typeId() == QMetaType::QDate)
            return formatDate(v.toDate());
        if (v.typeId() == QMetaType::Double)
            return floatText(v.toDouble(), false);
        return v.toString();
    case FieldType::Memo:
        return v.toString().isEmpty() ? QVariant() : QVariant(v.toString());
    case FieldType::Unknown:
        break;
    }
    return v;
}

void Field::setValue(const QVariant &v)
{
    if (!m_ds)
        return;
    if (m_calc)
        throw Error(QStringLiteral("Pole %1 je počítané a nelze jej měnit.").arg(label()));
    if (!m_ds->isEditing())
        throw Error(QStringLiteral("Záznam není v režimu úprav (pole %1).").arg(label()));
    m_ds->m_buffer[m_column] = convert(v);
    Q_EMIT m_ds->rowChanged(m_ds->m_cur);
}

// --- Dataset ----------------------------------------------------------------

Dataset::Dataset(Database *db, const QString &name, QObject *parent) : QObject(parent), m_db(db), m_name(name)
{
    setObjectName(name);
}

Dataset::~Dataset()
{
    setMaster(nullptr);
}

void Dataset::setSql(const QString &sql)
{
    if (isOpen())
        close();
    m_sql = sql;
}

void Dataset::setParam(const QString &name, const QVariant &value)
{
    m_params.set(name, value);
}

void Dataset::throwIfInactive() const
{
    if (m_state == State::Inactive)
        throw Error(QStringLiteral("Datová sada %1 není otevřena.").arg(m_name));
}

void Dataset::readMasterParams()
{
    if (!m_master || !m_master->isOpen())
        return;
    const TranslatedSql tr = translateSql(m_sql, *m_db);
    for (const QString &p : tr.params) {
        const Field *f = m_master->findField(p);
        if (f)
            m_params.set(p, f->value());
    }
}

void Dataset::open()
{
    if (isOpen())
        return;
    if (!m_db || !m_db->isOpen())
        throw Error(QStringLiteral("Databáze není otevřena."));
    readMasterParams();
    const TranslatedSql tr = translateSql(m_sql, *m_db);
    for (const QString &p : tr.params)
        if (!m_params.contains(p))
            throw Error(QStringLiteral("%1: parametr :%2 nemá hodnotu.").arg(m_name.isEmpty() ? QStringLiteral("Dotaz") : m_name, p));
    auto q = std::make_unique<QSqlQuery>(m_db->handle());
    q->setForwardOnly(true);
    if (!q->prepare(tr.text))
        Database::fail(QStringLiteral("Chybný příkaz SQL"), q->lastError());
    for (int i = 0; i < tr.params.size(); ++i)
        q->bindValue(i, m_db->bindValue(m_params.value(tr.params[i])));
    if (!q->exec())
        Database::fail(QStringLiteral("Dotaz se nepodařilo otevřít"), q->lastError());
    if (!q->isSelect())
        throw Error(QStringLiteral("Příkaz nevrací žádná data; použijte provedení příkazu."));
    buildFields(q->record());
    m_query = std::move(q);
    m_allFetched = false;
    m_rows.clear();
    m_view.clear();
    m_state = State::Browse;
    // read the first rows so that the first record is at hand
    fetchMore(64);
    m_cur = m_view.empty() ? -1 : 0;
    m_eof = m_bof = m_view.empty();
    if (m_filtered && !m_filterText.isEmpty()) {
        try {
            m_filter = Filter::compile(m_filterText, [this](const QString &n) {
                const Field *f = findField(n);
                return f ? f->column() : -1;
            }, [this](int c) { return m_fields[size_t(c)]->type(); });
            rebuildView();
        } catch (const Error &) {
            m_filter = Filter();
        }
    }
    Q_EMIT opened();
    Q_EMIT rowsReset();
    Q_EMIT stateChanged();
    if (afterOpen)
        afterOpen(*this);
    Q_EMIT scrolled();
}

void Dataset::buildFields(const QSqlRecord &rec)
{
    m_fields.clear();
    m_fieldIndex.clear();
    QHash<QString, int> seen;
    m_sqlColumns = rec.count();
    for (int i = 0; i < rec.count(); ++i) {
        const QSqlField sf = rec.field(i);
        auto f = std::make_unique<Field>();
        f->m_ds = this;
        QString name = sf.name();
        const QString key = name.toLower();
        const int n = seen.value(key, 0);
        seen.insert(key, n + 1);
        if (n > 0)
            name += QStringLiteral("_%1").arg(n);
        f->m_name = name;
        f->m_column = i;
        f->m_position = i;
        f->m_origin = sf.tableName();
        FieldType t = FieldType::Unknown;
        if (!f->m_origin.isEmpty()) {
            const TableInfo *ti = m_db->table(f->m_origin);
            if (ti)
                if (const ColumnInfo *ci = ti->column(sf.name())) {
                    t = ci->type;
                    f->m_size = ci->size;
                }
        }
        if (t == FieldType::Unknown)
            t = m_db->uniqueColumnType(sf.name());
        if (t == FieldType::Unknown) {
            switch (sf.metaType().id()) {
            case QMetaType::Int:
            case QMetaType::LongLong: t = FieldType::Integer; break;
            case QMetaType::Double: t = FieldType::Float; break;
            case QMetaType::Bool: t = FieldType::Boolean; break;
            case QMetaType::QByteArray: t = FieldType::Blob; break;
            case QMetaType::QDate: t = FieldType::Date; break;
            default: t = FieldType::String; break;
            }
        }
        f->m_type = t;
        m_fieldIndex.insert(name.toLower(), i);
        m_fields.push_back(std::move(f));
    }
    for (int c = 0; c < m_calcDefs.size(); ++c) {
        auto f = std::make_unique<Field>();
        f->m_ds = this;
        f->m_name = m_calcDefs[c].first;
        f->m_type = m_calcDefs[c].second.first;
        f->m_size = m_calcDefs[c].second.second;
        f->m_column = int(m_fields.size());
        f->m_position = f->m_column;
        f->m_calc = m_calcFuncs[c];
        if (!m_fieldIndex.contains(f->m_name.toLower()))
            m_fieldIndex.insert(f->m_name.toLower(), f->m_column);
        m_fields.push_back(std::move(f));
    }
    for (const QString &h : std::as_const(m_hidden))
        if (Field *f = findField(h))
            f->setVisible(false);
}

void Dataset::addCalcField(const QString &name, FieldType type, int size, std::function<QVariant(const RowView &)> calc)
{
    m_calcDefs.push_back({name, {type, size}});
    m_calcFuncs.push_back(std::move(calc));
}

void Dataset::setHiddenFields(const QStringList &names)
{
    m_hidden = names;
    for (const QString &h : names)
        if (Field *f = findField(h))
            f->setVisible(false);
}

void Dataset::close()
{
    if (!isOpen())
        return;
    if (isEditing())
        cancel();
    m_query.reset();
    m_rows.clear();
    m_view.clear();
    m_cur = -1;
    m_eof = m_bof = true;
    m_allFetched = true;
    m_state = State::Inactive;
    Q_EMIT closed();
    Q_EMIT rowsReset();
    Q_EMIT stateChanged();
}

void Dataset::refresh()
{
    QVariantList key;
    QStringList keyFields;
    const int pos = m_cur;
    const TableInfo *t = isLive() ? m_db->table(updateTable()) : nullptr;
    if (isOpen() && m_cur >= 0 && t && !t->keys.isEmpty()) {
        for (const QString &k : t->keys)
            if (const Field *f = findField(k)) {
                keyFields << f->name();
                key << f->value();
            }
    }
    close();
    open();
    if (!keyFields.isEmpty() && locate(keyFields.join(QLatin1Char(';')), key))
        return;
    if (pos >= 0)
        moveTo(qMin(pos, recordCount() - 1));
}

int Dataset::execSql()
{
    readMasterParams();
    return m_db->exec(m_sql, m_params);
}

Field *Dataset::findField(const QString &name) const
{
    auto it = m_fieldIndex.constFind(name.toLower());
    return it == m_fieldIndex.constEnd() ? nullptr : m_fields[size_t(*it)].get();
}

Field *Dataset::field(const QString &name) const
{
    Field *f = findField(name);
    if (!f)
        throw Error(QStringLiteral("%1: pole '%2' nebylo nalezeno.").arg(m_name.isEmpty() ? QStringLiteral("Dotaz") : m_name, name));
    return f;
}

QStringList Dataset::fieldNames() const
{
    QStringList out;
    for (const auto &f : m_fields)
        out << f->name();
    return out;
}

bool Dataset::fetchOne()
{
    if (m_allFetched || !m_query)
        return false;
    if (!m_query->next()) {
        m_allFetched = true;
        m_query.reset();
        return false;
    }
    QVector<QVariant> row(m_sqlColumns);
    for (int i = 0; i < m_sqlColumns; ++i)
        row[i] = Database::fromEngine(m_query->value(i), m_fields[size_t(i)]->m_type);
    m_rows.push_back(std::move(row));
    const int idx = int(m_rows.size()) - 1;
    if (acceptsRow(idx))
        m_view.push_back(idx);
    return true;
}

void Dataset::fetchMore(int rows)
{
    const int before = int(m_view.size());
    const int target = before + rows;
    while (int(m_view.size()) < target && fetchOne()) {
    }
    if (int(m_view.size()) > before)
        Q_EMIT rowsFetched(before, int(m_view.size()) - 1);
}

void Dataset::fetchAll()
{
    const int before = int(m_view.size());
    while (fetchOne()) {
    }
    if (int(m_view.size()) > before)
        Q_EMIT rowsFetched(before, int(m_view.size()) - 1);
}

void Dataset::ensureRow(int row)
{
    if (row >= int(m_view.size()))
        fetchMore(row - int(m_view.size()) + 1);
}

int Dataset::recordCount()
{
    if (!isOpen())
        return 0;
    fetchAll();
    return int(m_view.size());
}

bool Dataset::isEmpty()
{
    if (!isOpen())
        return true;
    ensureRow(0);
    return m_view.empty() && m_state != State::Insert;
}

QVariant Dataset::storeValue(int storeIndex, int column) const
{
    if (column < m_sqlColumns)
        return m_rows[size_t(storeIndex)][column];
    return {};
}

QVariant Dataset::calcValue(int column, const QVector<QVariant> &row) const
{
    const Field *f = m_fields[size_t(column)].get();
    if (!f->m_calc)
        return {};
    return f->m_calc(RowView(*this, row));
}

QVariant Dataset::rowValue(int row, int column) const
{
    if (column < 0 || column >= int(m_fields.size()))
        return {};
    if (row == m_cur && isEditing()) {
        if (column >= m_sqlColumns)
            return calcValue(column, m_buffer);
        return m_buffer.value(column);
    }
    if (row < 0 || row >= int(m_view.size()))
        return {};
    const QVector<QVariant> &stored = m_rows[size_t(m_view[size_t(row)])];
    if (column >= m_sqlColumns)
        return calcValue(column, stored);
    return stored[column];
}

QVariant Dataset::value(int row, int column)
{
    ensureRow(row);
    return rowValue(row, column);
}

QVariant Dataset::value(const QString &name) const
{
    const Field *f = findField(name);
    return f ? f->value() : QVariant();
}

bool Dataset::acceptsRow(int storeIndex) const
{
    if (!m_filtered || m_filter.isEmpty())
        return true;
    const QVector<QVariant> &row = m_rows[size_t(storeIndex)];
    return m_filter.accepts([this, &row](int col) {
        return col >= m_sqlColumns ? calcValue(col, row) : row[col];
    });
}

void Dataset::rebuildView()
{
    m_view.clear();
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (acceptsRow(i))
            m_view.push_back(i);
    if (!m_allFetched && m_view.size() < 64)
        while (m_view.size() < 64 && fetchOne()) {
        }
}

void Dataset::setFilter(const QString &text)
{
    if (text == m_filterText)
        return;
    if (isOpen() && m_filtered) {
        Filter f = Filter::compile(text, [this](const QString &n) {
            const Field *fl = findField(n);
            return fl ? fl->column() : -1;
        }, [this](int c) { return m_fields[size_t(c)]->type(); });
        checkBrowse();
        m_filter = std::move(f);
        m_filterText = text;
        rebuildView();
        m_cur = m_view.empty() ? -1 : 0;
        m_eof = m_bof = m_view.empty();
        Q_EMIT rowsReset();
        Q_EMIT scrolled();
        return;
    }
    m_filterText = text;
    m_filter = Filter();
}

void Dataset::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    m_filtered = on;
    if (!isOpen())
        return;
    checkBrowse();
    if (on) {
        try {
            m_filter = Filter::compile(m_filterText, [this](const QString &n) {
                const Field *fl = findField(n);
                return fl ? fl->column() : -1;
            }, [this](int c) { return m_fields[size_t(c)]->type(); });
        } catch (...) {
            m_filtered = false;
            throw;
        }
    } else {
        m_filter = Filter();
    }
    rebuildView();
    m_cur = m_view.empty() ? -1 : 0;
    m_eof = m_bof = m_view.empty();
    Q_EMIT rowsReset();
    Q_EMIT scrolled();
}

void Dataset::checkBrowse()
{
    if (isEditing())
        post();
}

void Dataset::setCurrent(int row)
{
    if (row == m_cur)
        return;
    m_cur = row;
    Q_EMIT scrolled();
}

void Dataset::first()
{
    throwIfInactive();
    checkBrowse();
    ensureRow(0);
    m_eof = m_bof = m_view.empty();
    setCurrent(m_view.empty() ? -1 : 0);
}

void Dataset::next()
{
    throwIfInactive();
    checkBrowse();
    ensureRow(m_cur + 1);
    m_bof = false;
    if (m_cur + 1 < int(m_view.size()))
        setCurrent(m_cur + 1);
    else
        m_eof = true;
}

void Dataset::prior()
{
    throwIfInactive();
    checkBrowse();
    m_eof = false;
    if (m_cur > 0)
        setCurrent(m_cur - 1);
    else
        m_bof = true;
}

void Dataset::last()
{
    throwIfInactive();
    checkBrowse();
    fetchAll();
    m_eof = m_bof = m_view.empty();
    setCurrent(int(m_view.size()) - 1);
}

bool Dataset::moveTo(int row)
{
    throwIfInactive();
    if (row < 0)
        return false;
    ensureRow(row);
    if (row >= int(m_view.size()))
        return false;
    checkBrowse();
    m_eof = m_bof = false;
    setCurrent(row);
    return true;
}

bool Dataset::locate(const QString &fields, const QVariantList &values, LocateOptions options)
{
    throwIfInactive();
    const QStringList names = fields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QVector<const Field *> fl;
    for (const QString &n : names)
        fl << field(n.trimmed());
    if (fl.size() != values.size())
        throw Error(QStringLiteral("Počet hodnot neodpovídá počtu polí (%1).").arg(fields));
    QVector<QVariant> wanted;
    for (int i = 0; i < fl.size(); ++i) {
        if (values[i].isNull() || (values[i].typeId() == QMetaType::QString && values[i].toString().isEmpty()))
            wanted << QVariant();
        else if (fl[i]->type() == FieldType::String || fl[i]->type() == FieldType::Memo)
            wanted << values[i].toString();
        else
            wanted << fl[i]->convert(values[i]);
    }
    const Qt::CaseSensitivity cs = options.testFlag(CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    checkBrowse();
    for (int r = 0;; ++r) {
        ensureRow(r);
        if (r >= int(m_view.size()))
            return false;
        bool match = true;
        for (int i = 0; i < fl.size() && match; ++i) {
            const QVariant v = rowValue(r, fl[i]->column());
            const bool vnull = v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
            if (wanted[i].isNull()) {
                match = vnull;
                continue;
            }
            if (vnull) {
                match = false;
                continue;
            }
            const FieldType t = fl[i]->type();
            if (t == FieldType::String || t == FieldType::Memo || t == FieldType::Unknown) {
                const QString s = Field::textOf(v, t, false);
                const QString w = wanted[i].toString();
                const bool last = i == fl.size() - 1;
                match = (options.testFlag(PartialKey) && last) ? s.startsWith(w, cs) : s.compare(w, cs) == 0;
            } else {
                match = compareValues(v, wanted[i], t) == 0;
            }
        }
        if (match) {
            m_eof = m_bof = false;
            setCurrent(r);
            return true;
        }
    }
}

// --- editing ----------------------------------------------------------------

QString Dataset::updateTable() const
{
    if (!m_updateTable.isEmpty())
        return m_updateTable;
    static const QRegularExpression single(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+\"?([A-Za-z_][A-Za-z0-9_]*)(?:\\.db)?\"?\\s*(?:$|where\\b|order\\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = single.match(m_sql);
    return m.hasMatch() ? m.captured(1) : QString();
}

bool Dataset::isLive() const
{
    return m_db && m_db->table(updateTable()) != nullptr;
}

void Dataset::startNew(bool atEnd)
{
    throwIfInactive();
    checkBrowse();
    if (!isLive())
        throw Error(QStringLiteral("Do této datové sady nelze přidávat záznamy."));
    fetchAll();
    m_buffer = QVector<QVariant>(m_sqlColumns);
    m_original = m_buffer;
    const int row = atEnd || m_cur < 0 ? int(m_view.size()) : m_cur;
    // the new row is shown at its place until it is posted or cancelled
    m_rows.push_back(m_buffer);
    m_view.insert(m_view.begin() + row, int(m_rows.size()) - 1);
    m_cur = row;
    m_state = State::Insert;
    Q_EMIT rowInserted(row);
    try {
        if (onNewRecord)
            onNewRecord(*this);
    } catch (...) {
        cancel();
        throw;
    }
    Q_EMIT stateChanged();
    Q_EMIT scrolled();
}

void Dataset::append()
{
    startNew(true);
}

void Dataset::insert()
{
    startNew(false);
}

void Dataset::edit()
{
    throwIfInactive();
    if (isEditing())
        return;
    if (!isLive())
        throw Error(QStringLiteral("Tuto datovou sadu nelze upravovat."));
    if (m_cur < 0)
        throw Error(QStringLiteral("Není vybrán žádný záznam."));
    m_buffer = m_rows[size_t(m_view[size_t(m_cur)])];
    m_original = m_buffer;
    m_state = State::Edit;
    Q_EMIT stateChanged();
}

QVariantList Dataset::keyValues(const QVector<QVariant> &row, const TableInfo &t) const
{
    QVariantList out;
    for (const QString &k : t.keys) {
        const Field *f = findField(k);
        out << (f && f->column() < m_sqlColumns ? row[f->column()] : QVariant());
    }
    return out;
}

static bool sameValue(const QVariant &a, const QVariant &b)
{
    const bool an = a.isNull() || !a.isValid(), bn = b.isNull() || !b.isValid();
    if (an || bn)
        return an == bn;
    return a == b;
}

void Dataset::post()
{
    if (!isEditing())
        return;
    if (beforePost)
        beforePost(*this); // may raise Error to keep the row in editing
    const TableInfo *t = m_db->table(updateTable());
    if (!t)
        throw Error(QStringLiteral("Tuto datovou sadu nelze ukládat."));
    fetchAll();
    // stored columns of the table that this dataset carries
    QVector<int> cols;
    QStringList names;
    for (int i = 0; i < m_sqlColumns; ++i) {
        const Field *f = m_fields[size_t(i)].get();
        const ColumnInfo *ci = t->column(f->name());
        if (ci) {
            cols << i;
            names << ci->name;
        }
    }
    const bool pg = m_db->backend() == Database::Backend::PostgreSQL;
    auto quoteId = [pg](const QString &n) { return pg ? n.toLower() : QLatin1Char('"') + n + QLatin1Char('"'); };
    auto whereFor = [&](const QVector<QVariant> &orig, Params &p) {
        QStringList conds;
        const QStringList keyCols = t->keys.isEmpty() ? names : t->keys;
        int n = 0;
        for (const QString &k : keyCols) {
            const Field *f = findField(k);
            if (!f || f->column() >= m_sqlColumns)
                continue;
            const FieldType ft = f->type();
            if (ft == FieldType::Graphic || ft == FieldType::Blob || ft == FieldType::Memo)
                continue;
            const QVariant v = orig[f->column()];
            const QString pn = QStringLiteral("w%1").arg(n++);
            if (v.isNull() || !v.isValid()) {
                conds << quoteId(k) + QStringLiteral(" is null");
            } else {
                conds << quoteId(k) + QStringLiteral(" = :") + pn;
                p.set(pn, v);
            }
        }
        return conds.join(QStringLiteral(" and "));
    };

    std::optional<Transaction> tx;
    if (m_state == State::Insert && allocateKey) {
        tx.emplace(*m_db, true);
        if (m_db->backend() == Database::Backend::PostgreSQL)
            m_db->exec(QStringLiteral("lock table %1 in share row exclusive mode").arg(t->name));
        allocateKey(*this);
    }
    if (m_state == State::Insert) {
        QStringList ins, vals;
        Params p;
        int autoCol = -1;
        for (int j = 0; j < cols.size(); ++j) {
            const QVariant v = m_buffer[cols[j]];
            const ColumnInfo *ci = t->column(names[j]);
            if (ci->type == FieldType::AutoInc && (v.isNull() || !v.isValid())) {
                autoCol = cols[j];
                continue;
            }
            ins << quoteId(names[j]);
            vals << QStringLiteral(":v%1").arg(j);
            p.set(QStringLiteral("v%1").arg(j), v);
        }
        const QString sql = ins.isEmpty() ? QStringLiteral("insert into %1 default values").arg(t->name)
                                           : QStringLiteral("insert into %1 (%2) values (%3)").arg(t->name, ins.join(QLatin1Char(',')), vals.join(QLatin1Char(',')));
        m_db->exec(sql, p);
        if (autoCol >= 0) {
            const QString idSql = pg ? QStringLiteral("select lastval()") : QStringLiteral("select last_insert_rowid()");
            m_buffer[autoCol] = Database::fromEngine(m_db->scalar(idSql), FieldType::Integer);
        }
    } else {
        QStringList sets;
        Params p;
        for (int j = 0; j < cols.size(); ++j) {
            if (sameValue(m_buffer[cols[j]], m_original[cols[j]]))
                continue;
            sets << quoteId(names[j]) + QStringLiteral(" = :v%1").arg(j);
            p.set(QStringLiteral("v%1").arg(j), m_buffer[cols[j]]);
        }
        if (!sets.isEmpty()) {
            const QString where = whereFor(m_original, p);
            const int n = m_db->exec(QStringLiteral("update %1 set %2 where %3").arg(t->name, sets.join(QLatin1Char(',')), where), p);
            if (n == 0)
                throw Error(QStringLiteral("Záznam byl mezitím změněn nebo odstraněn jiným uživatelem. Obnovte seznam a opakujte úpravu."));
        }
    }
    if (tx)
        tx->commit();
    m_rows[size_t(m_view[size_t(m_cur)])] = m_buffer;
    m_state = State::Browse;
    m_buffer.clear();
    m_original.clear();
    Q_EMIT rowChanged(m_cur);
    Q_EMIT stateChanged();
    if (afterPost)
        afterPost(*this);
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    const int row = m_cur;
    if (m_state == State::Insert) {
        m_view.erase(m_view.begin() + row);
        m_rows.pop_back();
        m_state = State::Browse;
        m_cur = m_view.empty() ? -1 : qMin(row, int(m_view.size()) - 1);
        Q_EMIT rowRemoved(row);
    } else {
        m_state = State::Browse;
        Q_EMIT rowChanged(row);
    }
    m_buffer.clear();
    m_original.clear();
    Q_EMIT stateChanged();
    Q_EMIT scrolled();
}

void Dataset::remove()
{
    throwIfInactive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_cur < 0)
        throw Error(QStringLiteral("Není vybrán žádný záznam."));
    const TableInfo *t = m_db->table(updateTable());
    if (!t)
        throw Error(QStringLiteral("Z této datové sady nelze odstraňovat záznamy."));
    if (m_state == State::Edit)
        cancel();
    if (beforeDelete)
        beforeDelete(*this);
    fetchAll();
    const QVector<QVariant> &row = m_rows[size_t(m_view[size_t(m_cur)])];
    QStringList conds;
    Params p;
    const bool pg = m_db->backend() == Database::Backend::PostgreSQL;
    QStringList keyCols = t->keys;
    if (keyCols.isEmpty())
        for (const ColumnInfo &c : t->columns)
            keyCols << c.name;
    int n = 0;
    for (const QString &k : keyCols) {
        const Field *f = findField(k);
        if (!f || f->column() >= m_sqlColumns)
            continue;
        if (f->type() == FieldType::Graphic || f->type() == FieldType::Blob || f->type() == FieldType::Memo)
            continue;
        const QString id = pg ? k.toLower() : QLatin1Char('"') + k + QLatin1Char('"');
        const QVariant v = row[f->column()];
        if (v.isNull() || !v.isValid()) {
            conds << id + QStringLiteral(" is null");
        } else {
            const QString pn = QStringLiteral("k%1").arg(n++);
            conds << id + QStringLiteral(" = :") + pn;
            p.set(pn, v);
        }
    }
    if (conds.isEmpty())
        throw Error(QStringLiteral("Záznam nelze jednoznačně určit."));
    m_db->exec(QStringLiteral("delete from %1 where %2").arg(t->name, conds.join(QStringLiteral(" and "))), p);
    const int r = m_cur;
    m_view.erase(m_view.begin() + r);
    m_cur = m_view.empty() ? -1 : qMin(r, int(m_view.size()) - 1);
    m_eof = m_bof = m_view.empty();
    Q_EMIT rowRemoved(r);
    Q_EMIT scrolled();
}

// --- master-detail ----------------------------------------------------------

void Dataset::setMaster(Dataset *master)
{
    for (auto &c : m_masterConn)
        QObject::disconnect(c);
    m_master = master;
    if (!master)
        return;
    m_masterConn[0] = connect(master, &Dataset::scrolled, this, &Dataset::masterMoved);
    m_masterConn[1] = connect(master, &Dataset::closed, this, &Dataset::close);
    m_masterConn[2] = connect(master, &Dataset::rowChanged, this, [this](int row) {
        if (m_master && row == m_master->recNo() && !m_master->isEditing())
            masterMoved();
    });
}

void Dataset::masterMoved()
{
    if (!isOpen() || !m_master)
        return;
    // re-read only when the linking values changed
    const TranslatedSql tr = translateSql(m_sql, *m_db);
    bool changed = false;
    for (const QString &p : tr.params)
        if (const Field *f = m_master->findField(p))
            if (!sameValue(f->value(), m_params.value(p)))
                changed = true;
    if (!changed)
        return;
    if (isEditing())
        cancel();
    close();
    open();
}

} // namespace tz::db
