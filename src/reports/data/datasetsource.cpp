#include "datasetsource.h"

#include "dataset.h"

namespace tz::rep {

using tz::db::FieldType;

DatasetSource::DatasetSource(tz::db::Dataset *dataset) : m_ds(dataset) {}

void DatasetSource::setLabel(const QString &field, const QString &label) { m_labels.insert(field.toLower(), label); }

void DatasetSource::addEmptyField(const QString &name, const QString &label)
{
    if (m_ds && m_ds->findField(name))
        return;
    for (const Extra &e : m_extra)
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return;
    m_extra.push_back({name, label});
}

bool DatasetSource::isOpen() const { return m_ds && m_ds->isOpen(); }

bool DatasetSource::open(QString *error)
{
    if (!m_ds)
        return false;
    try {
        m_ds->open();
        m_failed = false;
        m_error.clear();
    } catch (const tz::db::Error &e) {
        m_error = e.userText();
        if (error)
            *error = m_error;
        return false;
    }
    return m_ds->isOpen();
}

void DatasetSource::close()
{
    if (m_ds)
        m_ds->close();
}

int DatasetSource::datasetFields() const { return m_ds ? m_ds->fieldCount() : 0; }

int DatasetSource::fieldCount() const { return datasetFields() + int(m_extra.size()); }

tz::db::Field *DatasetSource::field(int i) const
{
    return (i >= 0 && i < datasetFields()) ? m_ds->fieldAt(i) : nullptr;
}

QString DatasetSource::fieldName(int i) const
{
    if (tz::db::Field *f = field(i))
        return f->name();
    const int x = i - datasetFields();
    return (x >= 0 && x < int(m_extra.size())) ? m_extra[size_t(x)].name : QString();
}

QString DatasetSource::fieldLabel(int i) const
{
    const QString name = fieldName(i);
    const auto it = m_labels.constFind(name.toLower());
    if (it != m_labels.constEnd())
        return *it;
    if (tz::db::Field *f = field(i))
        return f->label();
    const int x = i - datasetFields();
    if (x >= 0 && x < int(m_extra.size()) && !m_extra[size_t(x)].label.isEmpty())
        return m_extra[size_t(x)].label;
    return name;
}

SourceFieldType DatasetSource::fieldType(int i) const
{
    tz::db::Field *f = field(i);
    if (!f)
        return SourceFieldType::String;
    switch (f->type()) {
    case FieldType::String: return SourceFieldType::String;
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc: return SourceFieldType::Integer;
    case FieldType::Float: return SourceFieldType::Float;
    case FieldType::Date: return SourceFieldType::Date;
    case FieldType::Boolean: return SourceFieldType::Boolean;
    case FieldType::Memo: return SourceFieldType::Memo;
    case FieldType::Graphic: return SourceFieldType::Graphic;
    case FieldType::Blob: return SourceFieldType::Blob;
    case FieldType::Unknown: break;
    }
    return SourceFieldType::Unknown;
}

void DatasetSource::first()
{
    if (!isOpen())
        return;
    try {
        m_failed = false;
        m_ds->first();
    } catch (const tz::db::Error &e) {
        m_error = e.userText();
        m_failed = true;
    }
}

void DatasetSource::next()
{
    if (!isOpen() || m_failed)
        return;
    try {
        m_ds->next();
    } catch (const tz::db::Error &e) {
        m_error = e.userText();
        m_failed = true;
    }
}

bool DatasetSource::eof() const { return !isOpen() || m_failed || m_ds->eof(); }

int DatasetSource::position() const { return eof() ? -1 : m_ds->recNo(); }

bool DatasetSource::moveTo(int row)
{
    if (!isOpen())
        return false;
    try {
        return m_ds->moveTo(row);
    } catch (const tz::db::Error &e) {
        m_error = e.userText();
        return false;
    }
}

QString DatasetSource::text(int i) const
{
    tz::db::Field *f = field(i);
    if (!f || eof())
        return {};
    if (f->type() == FieldType::Graphic || f->type() == FieldType::Blob)
        return {};
    return f->displayText();
}

QString DatasetSource::fullText(int i) const
{
    tz::db::Field *f = field(i);
    if (!f || eof())
        return {};
    if (f->type() == FieldType::Memo)
        return f->asString();
    return text(i);
}

double DatasetSource::number(int i) const
{
    tz::db::Field *f = field(i);
    if (!f || eof() || f->isNull())
        return 0;
    switch (f->type()) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::Float: return f->asFloat();
    case FieldType::Date: return dateToNumber(f->asDate());
    case FieldType::Boolean: return f->asBoolean() ? 1 : 0;
    case FieldType::String:
    case FieldType::Memo: return readNumberOr0(f->asString());
    default: return 0;
    }
}

bool DatasetSource::isNull(int i) const
{
    tz::db::Field *f = field(i);
    return !f || eof() || f->isNull();
}

QImage DatasetSource::picture(int i) const
{
    tz::db::Field *f = field(i);
    if (!f || eof() || f->type() != FieldType::Graphic || f->isNull())
        return {};
    return QImage::fromData(f->asBytes());
}

} // namespace tz::rep
