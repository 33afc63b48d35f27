#include "codelistcombos.h"
#include "prompts.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QWidget>

namespace tz::gui {

namespace {

// Watches one combo box: leaving it and Enter add its text to the code list.
class CodeListWatcher : public QObject
{
    Q_OBJECT
public:
    CodeListWatcher(QComboBox *combo, tz::db::Database &db, QChar typ)
        : QObject(combo), m_combo(combo), m_db(db), m_typ(typ)
    {
        setObjectName(QStringLiteral("CodeListWatcher"));
        combo->installEventFilter(this);
    }

    bool add()
    {
        const QString text = m_combo->currentText();
        bool added = false;
        try {
            added = tz::codelists::addValue(m_db, m_typ, text);
        } catch (const tz::db::Error &e) {
            showError(m_combo->window(), e.userText());
            return false;
        }
        if (!text.trimmed().isEmpty() && m_combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            insertSorted(text);
        return added;
    }

    void fill(const QStringList &values)
    {
        const QString text = m_combo->currentText();
        const QSignalBlocker block(m_combo);
        m_combo->clear();
        m_combo->addItems(values);
        restoreText(text);
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o == m_combo) {
            if (e->type() == QEvent::FocusOut) {
                // opening the drop-down list is no leaving
                if (static_cast<QFocusEvent *>(e)->reason() != Qt::PopupFocusReason)
                    add();
            } else if (e->type() == QEvent::KeyRelease) {
                const int key = static_cast<QKeyEvent *>(e)->key();
                if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_combo->property("addOnExitOnly").toBool())
                    add();
            }
        }
        return QObject::eventFilter(o, e);
    }

private:
    void restoreText(const QString &text)
    {
        const int i = text.isEmpty() ? -1 : m_combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        m_combo->setCurrentIndex(i);
        if (m_combo->isEditable() && m_combo->currentText() != text)
            m_combo->setEditText(text);
    }

    void insertSorted(const QString &text)
    {
        QStringList items;
        for (int i = 0; i < m_combo->count(); ++i)
            items << m_combo->itemText(i);
        items << text;
        tz::codelists::sortValues(items);
        const QSignalBlocker block(m_combo);
        m_combo->insertItem(int(items.indexOf(text)), text);
        restoreText(text);
    }

    QComboBox *m_combo;
    tz::db::Database &m_db;
    QChar m_typ;
};

} // namespace

void bindCodeListCombos(QWidget *form, tz::db::Database &db, tz::codelists::FormKind kind)
{
    QMap<QChar, QStringList> lists;
    try {
        lists = tz::codelists::readAll(db);
    } catch (const tz::db::Error &e) {
        showError(form, e.userText());
    }
    for (QComboBox *c : form->findChildren<QComboBox *>()) {
        bool ok = false;
        const int tag = c->property("tag").toInt(&ok);
        if (!ok)
            continue;
        const QChar typ = tz::codelists::typeForTag(kind, tag);
        if (typ.isNull() || c->findChild<CodeListWatcher *>(QString(), Qt::FindDirectChildrenOnly))
            continue;
        if (c->isEditable())
            c->setInsertPolicy(QComboBox::NoInsert); // the watcher adds, in order
        auto *w = new CodeListWatcher(c, db, typ);
        w->fill(lists.value(typ));
    }
}

bool addCodeListValue(QComboBox *combo)
{
    auto *w = combo ? combo->findChild<CodeListWatcher *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    return w && w->add();
}

} // namespace tz::gui

#include "codelistcombos.moc"
