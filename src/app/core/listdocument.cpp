#include "listdocument.h"
#include <algorithm>

namespace tz::app {

using tz::db::Field;
using tz::db::FieldType;
using tz::xlsx::CellValue;

static CellValue cellOf(const QVariant &v, const Field *f)
{
    if (v.isNull() || !v.isValid())
        return CellValue::empty();
    switch (f->type()) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
        return CellValue::fromNumber(v.toDouble(), QStringLiteral("0"));
    case FieldType::Float:
        return CellValue::fromNumber(v.toDouble());
    case FieldType::Date:
        return v.typeId() == QMetaType::QDate ? CellValue::fromDate(v.toDate(), QStringLiteral("d.m.yyyy"))
                                              : CellValue::fromText(v.toString());
    case FieldType::Graphic:
    case FieldType::Blob:
        return CellValue::empty();
    default:
        return CellValue::fromText(Field::textOf(v, f->type(), true));
    }
}

tz::ListDocument listDocument(tz::db::TDM &dm, tz::db::Dataset &list, const QString &registerName, bool planning,
                              const QStringList &fieldsIn)
{
    tz::ListDocument doc;
    doc.title = tz::listTitle(registerName, planning);
    tz::db::Dataset &owner = dm.Majitel;
    if (!owner.isOpen())
        owner.open();
    if (!owner.isEmpty()) {
        owner.first();
        doc.organisation = owner.field(QStringLiteral("FIRMA"))->asString();
        const QByteArray logo = owner.field(QStringLiteral("Logo"))->asBytes();
        if (!logo.isEmpty())
            doc.logo.loadFromData(logo);
    }
    QVector<const Field *> fields;
    if (fieldsIn.isEmpty()) {
        for (int i = 0; i < list.fieldCount(); ++i)
            if (list.fieldAt(i)->isVisible())
                fields << list.fieldAt(i);
        std::stable_sort(fields.begin(), fields.end(), [](const Field *a, const Field *b) { return a->position() < b->position(); });
    } else {
        for (const QString &n : fieldsIn)
            if (const Field *f = list.findField(n))
                fields << f;
    }
    for (const Field *f : fields)
        doc.columns << f->label();
    const int n = list.recordCount();
    doc.rows.reserve(size_t(n));
    for (int r = 0; r < n; ++r) {
        std::vector<CellValue> row;
        row.reserve(size_t(fields.size()));
        for (const Field *f : fields)
            row.push_back(cellOf(list.value(r, f->column()), f));
        doc.rows.push_back(std::move(row));
    }
    return doc;
}

} // namespace tz::app
