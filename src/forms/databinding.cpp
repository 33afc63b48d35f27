#include "databinding.h"
#include "prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace tz::gui {

using tz::db::Field;
using tz::db::FieldType;

void FieldBinder::bind(QWidget *w, const QString &field, const QString &caption)
{
    QString shown = caption;
    shown.remove(QLatin1Char('&'));
    if (shown.endsWith(QLatin1Char(':')))
        shown.chop(1);
    m_bindings.push_back({w, field, shown.trimmed()});
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

void FieldBinder::setCaption(const QString &field, const QString &caption)
{
    for (Binding &b : m_bindings)
        if (b.field.compare(field, Qt::CaseInsensitive) == 0)
            b.caption = caption;
}

QString FieldBinder::editText(const Field *f)
{
    if (!f)
        return {};
    if (f->type() == FieldType::Float || tz::db::isNumeric(f->type()))
        return f->displayText();
    return f->asString();
}

namespace {

// An edit limits what the user types to the field's size, but a stored value
// that is longer (data of older installations) is shown whole, never cut.
void fitMaxLength(QLineEdit *le, const Field *f, const QString &text)
{
    if (!le)
        return;
    const int limit = f->type() == FieldType::String && f->size() > 0 ? f->size() : 32767;
    le->setMaxLength(std::max<int>(limit, text.size()));
}

} // namespace

void FieldBinder::loadBinding(QWidget *w, const Field *f)
{
    if (auto *cb = qobject_cast<QComboBox *>(w); cb && cb->lineEdit())
        fitMaxLength(cb->lineEdit(), f, editText(f));
    if (auto *le = qobject_cast<QLineEdit *>(w)) {
        fitMaxLength(le, f, editText(f));
        le->setText(editText(f));
    }
    else if (auto *pe = qobject_cast<QPlainTextEdit *>(w))
        pe->setPlainText(f->asString());
    else if (auto *ch = qobject_cast<QCheckBox *>(w))
        ch->setChecked(f->asBoolean());
    else if (auto *cb = qobject_cast<QComboBox *>(w)) {
        if (cb->isEditable())
            cb->setCurrentText(editText(f));
        else
            cb->setCurrentIndex(cb->findText(editText(f)));
    }
}

void FieldBinder::load()
{
    for (const Binding &b : m_bindings) {
        const Field *f = m_ds->findField(b.field);
        if (b.widget && f)
            loadBinding(b.widget, f);
    }
}

void FieldBinder::loadField(const QString &field)
{
    const Field *f = m_ds->findField(field);
    if (!f)
        return;
    for (const Binding &b : m_bindings)
        if (b.widget && b.field.compare(field, Qt::CaseInsensitive) == 0)
            loadBinding(b.widget, f);
}

QWidget *FieldBinder::widgetOf(const QString &field) const
{
    for (const Binding &b : m_bindings)
        if (b.field.compare(field, Qt::CaseInsensitive) == 0)
            return b.widget;
    return nullptr;
}

QString FieldBinder::fieldOf(const QWidget *w) const
{
    for (const Binding &b : m_bindings)
        if (b.widget == w)
            return b.field;
    return {};
}

bool FieldBinder::readWidget(QWidget *w, Field *f, QVariant *out, QWidget *parentForMessages) const
{
    QString caption;
    for (const Binding &b : m_bindings)
        if (b.widget == w)
            caption = b.caption;
    QVariant v;
    if (auto *le = qobject_cast<QLineEdit *>(w))
        v = le->text();
    else if (auto *pe = qobject_cast<QPlainTextEdit *>(w))
        v = pe->toPlainText();
    else if (auto *ch = qobject_cast<QCheckBox *>(w))
        v = ch->isChecked();
    else if (auto *cb = qobject_cast<QComboBox *>(w))
        v = cb->currentText();
    // the value as shown, untouched: the stored value stays exactly as it is
    if (v.typeId() == QMetaType::QString && v.toString() == editText(f)) {
        *out = f->value();
        return true;
    }
    try {
        *out = f->convert(v, caption);
    } catch (const tz::db::Error &e) {
        w->setFocus();
        showError(parentForMessages, e.userText());
        return false;
    }
    return true;
}

bool FieldBinder::commitWidget(QWidget *w, QWidget *parentForMessages, bool *changed)
{
    if (changed)
        *changed = false;
    Field *f = m_ds->findField(fieldOf(w));
    if (!w || !f || f->isCalculated())
        return true;
    QVariant v;
    if (!readWidget(w, f, &v, parentForMessages))
        return false;
    const QVariant cur = f->value();
    if (cur == v && cur.isNull() == v.isNull())
        return true;
    if (!m_ds->isEditing())
        m_ds->edit();
    f->setValue(v);
    if (changed)
        *changed = true;
    return true;
}

bool FieldBinder::commitEach(QWidget *parentForMessages)
{
    for (const Binding &b : m_bindings)
        if (b.widget && !commitWidget(b.widget, parentForMessages))
            return false;
    return true;
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
        if (!readWidget(b.widget, f, &v, parentForMessages))
            return false;
        values.push_back({f, v});
    }
    for (auto &[f, v] : values)
        if (!(f->value() == v) || f->value().isNull() != v.isNull())
            f->setValue(v);
    return true;
}

} // namespace tz::gui
