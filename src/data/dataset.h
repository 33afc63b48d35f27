#pragma once
// A dataset: one query of the program with its result set, in the manner of the
// forms that edit it. Rows are read from the engine lazily, as they are needed;
// a filter narrows the rows in memory; a live dataset over one table appends,
// inserts, edits, posts, cancels and deletes rows, with new-row, before-post and
// after-post hooks; a detail dataset re-reads itself whenever its master moves.
//
//   Dataset ds(&db);
//   ds.setSql("Select * from basic where firma>=:_firma and firma<=:_firma2");
//   ds.setParam("_firma", 1); ds.setParam("_firma2", 999);
//   ds.open();
//   for (ds.first(); !ds.eof(); ds.next()) qDebug() << ds.field("POPIS")->asString();
#include "db.h"
#include "filter.h"

#include <QObject>
#include <QSqlQuery>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace tz::db {

class Dataset;

// The values of one row, for calculated fields: the edit buffer when the row is
// being edited, the stored row otherwise.
class RowView
{
public:
    RowView(const Dataset &ds, const QVector<QVariant> &row) : m_ds(ds), m_row(row) {}
    QVariant value(const QString &field) const;
    QString text(const QString &field) const;
    const Dataset &dataset() const { return m_ds; }

private:
    const Dataset &m_ds;
    const QVector<QVariant> &m_row; // stored columns of the row
};

class Field
{
public:
    QString name() const { return m_name; }
    FieldType type() const { return m_type; }
    int size() const { return m_size; }
    int column() const { return m_column; }
    bool isCalculated() const { return bool(m_calc); }
    QString origin() const { return m_origin; } // table the column comes from, if known

    // the title given to the field, else the column's Czech caption
    QString label() const;
    void setLabel(const QString &l) { m_label = l; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool v) { m_visible = v; }
    // Position among the columns of a grid (0-based); initially the column order.
    int position() const { return m_position; }
    void setPosition(int p);
    int displayWidth() const { return m_displayWidth; }
    void setDisplayWidth(int w) { m_displayWidth = w; }

    // Values of the current row (the edit buffer while editing).
    QVariant value() const;
    bool isNull() const;
    QString asString() const;   // as stored: dates "d.m.yyyy", numbers with a decimal point
    QString displayText() const; // as shown in lists: Czech decimal comma, "Ano"/"Ne"
    int asInteger() const;
    double asFloat() const;
    QDate asDate() const;
    bool asBoolean() const;
    QByteArray asBytes() const;
    // Sets a value of the current row; the dataset must be editing. Texts are
    // converted to the field's type (dates "d.m.yyyy", Czech decimal comma); an
    // empty text clears the field; a text that does not convert raises Error.
    void setValue(const QVariant &v);
    void clear() { setValue(QVariant()); }

    // Converts a value to this field's type as setValue does.
    // `caption` names the field in the message (default: its label).
    QVariant convert(const QVariant &v, const QString &caption = {}) const;
    static QString textOf(const QVariant &v, FieldType t, bool display);

private:
    friend class Dataset;
    Dataset *m_ds = nullptr;
    QString m_name;
    QString m_label;
    QString m_origin;
    FieldType m_type = FieldType::Unknown;
    int m_size = 0;
    int m_column = 0;
    int m_position = 0;
    int m_displayWidth = 0;
    bool m_visible = true;
    std::function<QVariant(const RowView &)> m_calc;
};

class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum LocateOption { LocateDefault = 0, CaseInsensitive = 1, PartialKey = 2 };
    Q_DECLARE_FLAGS(LocateOptions, LocateOption)

    explicit Dataset(Database *db, const QString &name = {}, QObject *parent = nullptr);
    ~Dataset() override;

    Database *database() const { return m_db; }
    QString name() const { return m_name; }

    // Query text: lines joined by line breaks.
    void setSql(const QString &sql);
    void setSql(const QStringList &lines) { setSql(lines.join(QLatin1Char('\n'))); }
    QString sql() const { return m_sql; }
    QStringList sqlLines() const { return m_sql.split(QLatin1Char('\n')); }

    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const { return m_params.value(name); }
    const Params &params() const { return m_params; }

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    // Closes and opens again, back on the row with the same key (or the same position).
    void refresh();
    // Runs the text as a statement that returns no rows.
    int execSql();

    // Fields.
    int fieldCount() const { return int(m_fields.size()); }
    Field *fieldAt(int i) const { return m_fields[size_t(i)].get(); }
    Field *findField(const QString &name) const;
    Field *field(const QString &name) const; // raises Error when missing
    QStringList fieldNames() const;
    // Calculated fields are defined before opening and computed from the row.
    void addCalcField(const QString &name, FieldType type, int size, std::function<QVariant(const RowView &)> calc);
    void setHiddenFields(const QStringList &names);

    // Rows. Row numbers count the rows that pass the filter.
    int recordCount();                 // reads every row
    bool isEmpty();
    int fetchedCount() const { return int(m_view.size()); }
    bool allFetched() const { return m_allFetched; }
    void fetchMore(int rows);
    int recNo() const { return m_cur; }  // -1 when there is no row
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void next();
    void prior();
    void last();
    bool moveTo(int row);

    QVariant value(int row, int column);
    QVariant value(const QString &field) const; // current row / buffer
    QVariant rowValue(int row, int column) const; // row already read; buffer for the current row while editing

    bool locate(const QString &fields, const QVariantList &values, LocateOptions options = LocateDefault);
    bool locate(const QString &field, const QVariant &value, LocateOptions options = LocateDefault)
    {
        return locate(field, QVariantList{value}, options);
    }

    // Filter (raises FilterError for a bad text; the previous filter then stays).
    void setFilter(const QString &text);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    // Editing.
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    void setUpdateTable(const QString &table) { m_updateTable = table; }
    QString updateTable() const;
    bool isLive() const;
    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();
    void setFieldValue(const QString &field, const QVariant &v) { this->field(field)->setValue(v); }

    std::function<void(Dataset &)> onNewRecord;
    std::function<void(Dataset &)> beforePost;
    std::function<void(Dataset &)> afterPost;
    std::function<void(Dataset &)> beforeDelete;
    // Runs inside the write transaction that stores a new row, just before the
    // insert: the place to take a key that no other workstation has taken.
    std::function<void(Dataset &)> allocateKey;
    std::function<void(Dataset &)> afterOpen;

    // Master-detail: parameters take the master's current values of the same names.
    void setMaster(Dataset *master);
    Dataset *master() const { return m_master; }

Q_SIGNALS:
    void opened();
    void closed();
    void scrolled();
    void stateChanged();
    void rowsReset();
    void rowsFetched(int first, int last);
    void rowChanged(int row);
    void rowInserted(int row);
    void rowRemoved(int row);

private:
    friend class Field;
    friend class RowView;
    bool fetchOne();
    void fetchAll();
    void ensureRow(int row);
    void buildFields(const class QSqlRecord &rec);
    void rebuildView();
    bool acceptsRow(int storeIndex) const;
    QVariant storeValue(int storeIndex, int column) const;
    QVariant calcValue(int column, const QVector<QVariant> &row) const;
    void setCurrent(int row);
    void checkBrowse();
    void startNew(bool atEnd);
    void readMasterParams();
    void masterMoved();
    QVariantList keyValues(const QVector<QVariant> &row, const TableInfo &t) const;
    void throwIfInactive() const;

    Database *m_db;
    QString m_name;
    QString m_sql;
    Params m_params;
    QString m_updateTable;
    State m_state = State::Inactive;

    std::vector<std::unique_ptr<Field>> m_fields;
    QHash<QString, int> m_fieldIndex;
    QVector<std::pair<QString, std::pair<FieldType, int>>> m_calcDefs;
    QVector<std::function<QVariant(const RowView &)>> m_calcFuncs;
    QStringList m_hidden;
    int m_sqlColumns = 0;

    std::unique_ptr<QSqlQuery> m_query;
    bool m_allFetched = true;
    std::vector<QVector<QVariant>> m_rows;  // rows read
    std::vector<int> m_view;                // rows that pass the filter
    int m_cur = -1;
    bool m_eof = true;
    bool m_bof = true;

    QVector<QVariant> m_buffer;   // edit or insert buffer (stored columns)
    QVector<QVariant> m_original; // row before editing

    QString m_filterText;
    bool m_filtered = false;
    Filter m_filter;

    Dataset *m_master = nullptr;
    QMetaObject::Connection m_masterConn[3];
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Dataset::LocateOptions)

} // namespace tz::db
