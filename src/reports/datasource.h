#pragma once
// The data a report runs over, as the report engine sees it.
//
//   ReportDataSource   abstract rows of fields: names (looked up without regard
//                      to case), labels, types, first/next/eof, the value text
//                      (as shown), the number, the null flag, the full text of
//                      memo fields and pictures of picture fields. A bookmark
//                      (position()/moveTo()) lets a run return to the row that
//                      was current before it.
//   MemoryDataSource   a table held in memory (tests, benchmarks, tools).
//
// The application's datasets are adapted in a separate library
// (reports/data/datasetsource.h), so the engine itself knows no database.
#include "calcvalue.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace tz::rep {

enum class SourceFieldType { Unknown, String, Integer, Float, Date, Boolean, Memo, Graphic, Blob };

class ReportDataSource {
public:
    virtual ~ReportDataSource() = default;

    virtual bool isOpen() const = 0;
    // Opens a closed source; false (with a reason) when that fails.
    virtual bool open(QString *error = nullptr)
    {
        Q_UNUSED(error);
        return isOpen();
    }
    virtual void close() {}

    virtual int fieldCount() const = 0;
    virtual QString fieldName(int i) const = 0;
    virtual QString fieldLabel(int i) const { return fieldName(i); }
    virtual SourceFieldType fieldType(int i) const = 0;
    // Position of a field, case-insensitive; -1 when unknown.
    virtual int fieldIndex(const QString &name) const;

    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    // The current row (0-based), -1 without one; moveTo returns to it.
    virtual int position() const = 0;
    virtual bool moveTo(int row) = 0;

    // Values of the current row.
    virtual QString text(int i) const = 0;          // display text
    virtual QString fullText(int i) const { return text(i); }
    virtual double number(int i) const;             // numbers, dates, 1/0 for Booleans, texts read as numbers
    virtual bool isNull(int i) const = 0;
    virtual QImage picture(int i) const
    {
        Q_UNUSED(i);
        return {};
    }

    // The value record of a field as the expressions see it: numbers kind 1,
    // texts kind 2, everything else kind 0 with both a number and a text.
    TCalcType value(int i) const;
};

class MemoryDataSource : public ReportDataSource {
public:
    struct Column {
        QString name;
        SourceFieldType type = SourceFieldType::String;
        QString label;
    };
    MemoryDataSource() = default;
    MemoryDataSource(std::vector<Column> columns, std::vector<QVariantList> rows = {})
        : m_columns(std::move(columns)), m_rows(std::move(rows))
    {
    }
    void addRow(const QVariantList &row) { m_rows.push_back(row); }
    void setOpen(bool open) { m_open = open; }
    int rowCount() const { return int(m_rows.size()); }
    // How many times a row was stepped onto (a run visits each row once).
    int steps() const { return m_steps; }

    bool isOpen() const override { return m_open; }
    bool open(QString *) override
    {
        m_open = m_openable;
        return m_open;
    }
    void setOpenable(bool on) { m_openable = on; }
    void close() override { m_open = false; }
    int fieldCount() const override { return int(m_columns.size()); }
    QString fieldName(int i) const override { return m_columns.at(size_t(i)).name; }
    QString fieldLabel(int i) const override;
    SourceFieldType fieldType(int i) const override { return m_columns.at(size_t(i)).type; }
    void first() override;
    void next() override;
    bool eof() const override { return m_cur >= int(m_rows.size()); }
    int position() const override { return eof() ? -1 : m_cur; }
    bool moveTo(int row) override;
    QString text(int i) const override;
    double number(int i) const override;
    bool isNull(int i) const override;
    QImage picture(int i) const override;

private:
    QVariant cell(int i) const;
    std::vector<Column> m_columns;
    std::vector<QVariantList> m_rows;
    int m_cur = 0;
    int m_steps = 0;
    bool m_open = true;
    bool m_openable = true;
};

} // namespace tz::rep
