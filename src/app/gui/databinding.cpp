#include "databinding.h"
#include "prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tz::gui {

using tz::db::Field;
using tz::db::FieldType;

void FieldBinder::bind(QWidget *w, const QString &field)
{
    m_bindings.push_back({w, field});
    const Field *f = m_ds->findField(field);
    if (auto *le = qobject_cast<QLineEdit *>(w)) {
        if (f && f->type() == FieldType::String && f->size() > 0)
            le->setMaxLength(f->size());
        if (f && f->type() == FieldType::Date)
            le->setPlaceholderText(QStringLiteral("dd.mm.rrrr"));
    }
    if (auto *cb = qobject_cast<QComboBox *>(w))
        if (f && f->type() == FieldType::String && f->size() > 0 && cb->lineEdit())
            cb->lineEdit()->setMaxLength(f->size());
}

QString FieldBinder::editText(const Field *f)
{
    if (!f)
        return {};
    if (f->type() == FieldType::Float || tz::db::isNumeric(f->type()))
        return f->displayText();
    return f->asString();
}

void FieldBinder::load()
{
    for (const Binding &b : m_bindings) {
        const Field *f = m_ds->findField(b.field);
        if (!b.widget || !f)
            continue;
        if (auto *le = qobject_cast<QLineEdit *>(b.widget))
            le->setText(editText(f));
        else if (auto *pe = qobject_cast<QPlainTextEdit *>(b.widget))
            pe->setPlainText(f->asString());
        else if (auto *ch = qobject_cast<QCheckBox *>(b.widget))
            ch->setChecked(f->asBoolean());
        else if (auto *cb = qobject_cast<QComboBox *>(b.widget))
            cb->setCurrentText(editText(f));
    }
}

bool FieldBinder::commit(QWidget *parentForMessages)
{
    // convert everything first, so that a bad value leaves the row untouched
    QVector<std::pair<Field *, QVariant>> values;
    for (const Binding &b : m_bindings) {
        Field *f = m_ds->findField(b.field);
        if (!b.widget || !f || f->isCalculated())
            continue;
        QVariant v;
        if (auto *le = qobject_cast<QLineEdit *>(b.widget))
            v = le->text();
        else if (auto *pe = qobject_cast<QPlainTextEdit *>(b.widget))
            v = pe->toPlainText();
        else if (auto *ch = qobject_cast<QCheckBox *>(b.widget))
            v = ch->isChecked();
        else if (auto *cb = qobject_cast<QComboBox *>(b.widget))
            v = cb->currentText();
        try {
            values.push_back({f, f->convert(v)});
        } catch (const tz::db::Error &e) {
            b.widget->setFocus();
            showError(parentForMessages, e.userText());
            return false;
        }
    }
    for (auto &[f, v] : values)
        if (!(f->value() == v) || f->value().isNull() != v.isNull())
            f->setValue(v);
    return true;
}

} // namespace tz::gui
