#include "datasetmodel.h"

#include <algorithm>

namespace tz::gui {

using tz::db::Dataset;
using tz::db::Field;
using tz::db::FieldType;

DatasetModel::DatasetModel(QObject *parent) : QAbstractTableModel(parent) {}

void DatasetModel::setDataset(Dataset *ds)
{
    for (auto &c : m_conns)
        disconnect(c);
    m_conns.clear();
    m_ds = ds;
    if (ds) {
        m_conns << connect(ds, &Dataset::rowsReset, this, &DatasetModel::reset);
        m_conns << connect(ds, &Dataset::rowsFetched, this, [this](int, int last) {
            if (last + 1 <= m_rows)
                return;
            beginInsertRows({}, m_rows, last);
            m_rows = last + 1;
            endInsertRows();
        });
        m_conns << connect(ds, &Dataset::rowInserted, this, [this](int row) {
            beginInsertRows({}, row, row);
            ++m_rows;
            endInsertRows();
        });
        m_conns << connect(ds, &Dataset::rowRemoved, this, [this](int row) {
            if (row >= m_rows)
                return;
            beginRemoveRows({}, row, row);
            --m_rows;
            endRemoveRows();
        });
        m_conns << connect(ds, &Dataset::rowChanged, this, [this](int row) {
            if (row >= 0 && row < m_rows)
                Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
    }
    reset();
}

void DatasetModel::reset()
{
    beginResetModel();
    m_columns.clear();
    m_rows = 0;
    if (m_ds && m_ds->isOpen()) {
        for (int i = 0; i < m_ds->fieldCount(); ++i)
            if (m_ds->fieldAt(i)->isVisible())
                m_columns << i;
        std::stable_sort(m_columns.begin(), m_columns.end(), [this](int a, int b) {
            return m_ds->fieldAt(a)->position() < m_ds->fieldAt(b)->position();
        });
        m_rows = m_ds->fetchedCount();
    }
    endResetModel();
}

void DatasetModel::reloadColumns()
{
    reset();
}

Field *DatasetModel::fieldAt(int column) const
{
    if (!m_ds || column < 0 || column >= m_columns.size())
        return nullptr;
    return m_ds->fieldAt(m_columns[column]);
}

int DatasetModel::columnOf(const QString &field) const
{
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_ds->fieldAt(m_columns[c])->name().compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!m_ds || !index.isValid() || index.row() >= m_rows)
        return {};
    const Field *f = fieldAt(index.column());
    if (!f)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const QVariant v = m_ds->rowValue(index.row(), f->column());
        return Field::textOf(v, f->type(), true);
    }
    if (role == Qt::TextAlignmentRole) {
        if (tz::db::isNumeric(f->type()))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (f->type() == FieldType::Date)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role == Qt::UserRole)
        return m_ds->rowValue(index.row(), f->column());
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Vertical || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, o, role);
    const Field *f = fieldAt(section);
    return f ? f->label() : QVariant();
}

bool DatasetModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_ds && m_ds->isOpen() && !m_ds->allFetched();
}

void DatasetModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid() && m_ds)
        m_ds->fetchMore(256);
}

} // namespace tz::gui
