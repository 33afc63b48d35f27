#pragma once
// Data-aware edits: widgets bound to fields of a dataset's current row. The
// values are written into the row when the form commits; a value that does not
// convert is reported at its field and nothing of the form is written.
#include "dataset.h"

#include <QPointer>
#include <QVector>

class QWidget;

namespace tz::gui {

class FieldBinder
{
public:
    explicit FieldBinder(tz::db::Dataset *ds) : m_ds(ds) {}
    tz::db::Dataset *dataset() const { return m_ds; }

    // Binds QLineEdit, QPlainTextEdit, QCheckBox, QComboBox (editable: its text)
    // or QDateEdit-free date edits (QLineEdit with a date field) to a field.
    // `caption` names the field in messages (the label the form shows it under;
    // default: the field's Czech caption).
    void bind(QWidget *w, const QString &field, const QString &caption = {});
    // Names a bound field in messages by another caption.
    void setCaption(const QString &field, const QString &caption);
    // Shows the row's values in the bound widgets.
    void load();
    // Writes every bound widget into the row (the dataset must be editing).
    // Returns false, with the message shown and the field focused, on a bad value.
    bool commit(QWidget *parentForMessages);
    // Writes one bound widget into the row, putting a browsing row into edit
    // state when its value changes. False, with the message shown and the
    // widget focused, on a bad value (the row keeps its value).
    bool commitWidget(QWidget *w, QWidget *parentForMessages, bool *changed = nullptr);
    // commitWidget for every bound widget in turn: a browsing row goes into
    // edit state only when something changed. False at the first bad value.
    bool commitEach(QWidget *parentForMessages);
    // Shows the row's value of one field again in the widgets bound to it.
    void loadField(const QString &field);
    // The widget bound to a field (the first one), or null.
    QWidget *widgetOf(const QString &field) const;
    // The field a widget is bound to; empty when it is not bound.
    QString fieldOf(const QWidget *w) const;
    // Text of a value as an edit shows it.
    static QString editText(const tz::db::Field *f);

private:
    void loadBinding(QWidget *w, const tz::db::Field *f);
    bool readWidget(QWidget *w, tz::db::Field *f, QVariant *out, QWidget *parentForMessages) const;
    struct Binding
    {
        QPointer<QWidget> widget;
        QString field;
        QString caption;
    };
    tz::db::Dataset *m_ds;
    QVector<Binding> m_bindings;
};

} // namespace tz::gui
