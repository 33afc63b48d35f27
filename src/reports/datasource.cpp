#include "datasource.h"

#include <QDate>

namespace tz::rep {

int ReportDataSource::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fieldCount(); ++i)
        if (fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

double ReportDataSource::number(int i) const { return readNumberOr0(text(i)); }

TCalcType ReportDataSource::value(int i) const
{
    TCalcType v;
    const SourceFieldType t = fieldType(i);
    v.null = isNull(i);
    v.text = (t == SourceFieldType::Memo) ? fullText(i) : text(i);
    switch (t) {
    case SourceFieldType::String:
    case SourceFieldType::Memo:
        v.kind = TCalcType::kText;
        v.number = readNumberOr0(v.text);
        break;
    case SourceFieldType::Integer:
    case SourceFieldType::Float:
        v.kind = TCalcType::kNumber;
        v.number = number(i);
        break;
    default:
        v.kind = TCalcType::kOther;
        v.number = number(i);
        break;
    }
    return v;
}

QString MemoryDataSource::fieldLabel(int i) const
{
    const Column &c = m_columns.at(size_t(i));
    return c.label.isEmpty() ? c.name : c.label;
}

void MemoryDataSource::first()
{
    m_cur = 0;
    if (!eof())
        ++m_steps;
}

void MemoryDataSource::next()
{
    if (!eof())
        ++m_cur;
    if (!eof())
        ++m_steps;
}

bool MemoryDataSource::moveTo(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return false;
    m_cur = row;
    return true;
}

QVariant MemoryDataSource::cell(int i) const
{
    if (eof() || i < 0 || i >= int(m_rows[size_t(m_cur)].size()))
        return {};
    return m_rows[size_t(m_cur)].at(i);
}

QString MemoryDataSource::text(int i) const
{
    const QVariant v = cell(i);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("d.M.yyyy"));
    if (v.typeId() == QMetaType::Double)
        return numberText(v.toDouble());
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("Ano") : QStringLiteral("Ne");
    if (v.typeId() == QMetaType::QImage)
        return {};
    return v.toString();
}

double MemoryDataSource::number(int i) const
{
    const QVariant v = cell(i);
    if (v.typeId() == QMetaType::QDate)
        return dateToNumber(v.toDate());
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? 1 : 0;
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
        return v.toDouble();
    return readNumberOr0(text(i));
}

bool MemoryDataSource::isNull(int i) const { return cell(i).isNull(); }

QImage MemoryDataSource::picture(int i) const
{
    const QVariant v = cell(i);
    return v.typeId() == QMetaType::QImage ? v.value<QImage>() : QImage();
}

} // namespace tz::rep
