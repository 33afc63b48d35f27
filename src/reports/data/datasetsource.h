#pragma once
// A dataset of the program's database layer (tz::db::Dataset) as the data of a
// report.
//
//   tz::db::Dataset &list = dm.Basic;
//   tz::rep::DatasetSource src(&list);
//   src.setLabel("DAT_PLAN_1", "Příští prohlídka");   // for this report only
//   src.addEmptyField("Max_nosnost", "Nosnost");        // a field the list lacks
//   rep.dataSource = &src;
//
// Values are the texts the lists show (Czech decimal comma, "d.m.yyyy"); the
// numbers of dates are their day numbers as in expressions. Labels set here
// apply to the report only; the dataset's own labels (the grid's titles) stay.
// A database error while opening or stepping is kept in lastError() and ends
// the data (the run then ends with what it composed).
#include "datasource.h"

#include <QHash>

namespace tz::db {
class Dataset;
class Field;
}

namespace tz::rep {

class DatasetSource : public ReportDataSource {
public:
    explicit DatasetSource(tz::db::Dataset *dataset);

    tz::db::Dataset *dataset() const { return m_ds; }
    // A label for the report (field names compared without regard to case).
    void setLabel(const QString &field, const QString &label);
    // Appends an empty field of that name unless the dataset has it.
    void addEmptyField(const QString &name, const QString &label = {});
    QString lastError() const { return m_error; }

    bool isOpen() const override;
    bool open(QString *error = nullptr) override;
    void close() override;
    int fieldCount() const override;
    QString fieldName(int i) const override;
    QString fieldLabel(int i) const override;
    SourceFieldType fieldType(int i) const override;
    void first() override;
    void next() override;
    bool eof() const override;
    int position() const override;
    bool moveTo(int row) override;
    QString text(int i) const override;
    QString fullText(int i) const override;
    double number(int i) const override;
    bool isNull(int i) const override;
    QImage picture(int i) const override;

private:
    tz::db::Field *field(int i) const;   // nullptr for an added empty field
    int datasetFields() const;
    tz::db::Dataset *m_ds;
    QHash<QString, QString> m_labels;    // lower-case name -> label
    struct Extra {
        QString name, label;
    };
    std::vector<Extra> m_extra;
    QString m_error;
    bool m_failed = false;
};

} // namespace tz::rep
