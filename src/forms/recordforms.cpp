#include "recordforms.h"
#include "prompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tz::gui {

using tz::db::FieldType;

static QHash<QString, RecordFormFactory> &registry()
{
    static QHash<QString, RecordFormFactory> r;
    return r;
}

void registerRecordForm(const QString &formClass, RecordFormFactory factory)
{
    registry().insert(formClass, std::move(factory));
}

QDialog *createRecordForm(const QString &formClass, tz::db::TDM &dm, const tz::db::OpenTarget &target, bool inserting,
                          QWidget *parent)
{
    if (auto it = registry().constFind(formClass); it != registry().constEnd())
        return (*it)(dm, target, inserting, parent);
    return new TGeneralCard(target.editSet, formClass, parent);
}

TGeneralCard::TGeneralCard(tz::db::Dataset *ds, const QString &caption, QWidget *parent)
    : QDialog(parent), m_ds(ds), m_binder(ds)
{
    setWindowTitle(QStringLiteral("Karta záznamu"));
    setObjectName(caption);
    auto *lay = new QVBoxLayout(this);
    auto *title = new QLabel(ds->isEditing() && ds->state() == tz::db::Dataset::State::Insert
                                 ? QStringLiteral("<b>NOVÁ EVIDENČNÍ KARTA</b>")
                                 : QStringLiteral("<b>Evidenční karta</b>"));
    lay->addWidget(title);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto *inner = new QWidget;
    auto *form = new QFormLayout(inner);
    const tz::db::TableInfo *t = ds->database()->table(ds->updateTable());
    for (int i = 0; i < ds->fieldCount(); ++i) {
        const tz::db::Field *f = ds->fieldAt(i);
        if (f->isCalculated() || (t && !t->column(f->name())))
            continue;
        QWidget *w = nullptr;
        switch (f->type()) {
        case FieldType::Graphic:
        case FieldType::Blob:
            continue;
        case FieldType::Boolean:
            w = new QCheckBox;
            break;
        case FieldType::Memo: {
            auto *pe = new QPlainTextEdit;
            pe->setFixedHeight(70);
            w = pe;
            break;
        }
        default:
            w = new QLineEdit;
        }
        w->setObjectName(f->name());
        form->addRow(f->label(), w);
        m_binder.bind(w, f->name());
    }
    scroll->setWidget(inner);
    lay->addWidget(scroll);
    auto *bb = new QDialogButtonBox;
    auto *ok = bb->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Okbtn"));
    auto *cancel = bb->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Cancelbtn"));
    connect(ok, &QPushButton::clicked, this, &TGeneralCard::OkbtnClick);
    connect(cancel, &QPushButton::clicked, this, &TGeneralCard::CancelbtnClick);
    lay->addWidget(bb);
    m_binder.load();
    resize(520, 640);
}

void TGeneralCard::OkbtnClick()
{
    try {
        if (!m_ds->isEditing())
            m_ds->edit();
        if (!m_binder.commit(this))
            return;
        m_ds->post();
    } catch (const tz::db::Error &e) {
        showError(this, e.userText());
        return;
    }
    accept();
}

void TGeneralCard::CancelbtnClick()
{
    m_ds->cancel();
    QDialog::reject();
}

void TGeneralCard::reject()
{
    CancelbtnClick();
}

} // namespace tz::gui
