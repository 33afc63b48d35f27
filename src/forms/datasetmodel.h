#pragma once
// A table model over a dataset: the visible fields in their grid positions, rows
// read from the dataset as the view scrolls (nothing is copied).
#include "dataset.h"

#include <QAbstractTableModel>
#include <QPointer>

namespace tz::gui {

class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DatasetModel(QObject *parent = nullptr);

    void setDataset(tz::db::Dataset *ds);
    tz::db::Dataset *dataset() const { return m_ds; }
    // The field shown in a column.
    tz::db::Field *fieldAt(int column) const;
    int columnOf(const QString &field) const;
    // Rebuilds the columns after labels, visibility or positions changed.
    void reloadColumns();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    void reset();

    QPointer<tz::db::Dataset> m_ds;
    QVector<int> m_columns; // field indices in display order
    int m_rows = 0;
    QVector<QMetaObject::Connection> m_conns;
};

} // namespace tz::gui
