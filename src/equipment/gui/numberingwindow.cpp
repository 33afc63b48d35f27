#include "numberingwindow.h"

#include "inspections.h"
#include "prompts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using tz::db::Dataset;
using tz::db::Error;
using namespace tz::gui;

namespace tz::eq {

namespace {

QPushButton *namedButton(const QString &caption, const QString &name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

struct NumberingRow
{
    const char *caption, *before, *after;
};
// in the order the window shows them
constexpr NumberingRow numberingRows[] = {{"Revizní protokol ZZ", "Rpred", "RZa"},
                                          {"Záznam o inspekci ZZ", "IPred", "IZa"},
                                          {"Záznam o revizní zkoušce ZZ", "RZPred", "RZZa"}};
constexpr int BeforeWidth = 30, AfterWidth = 15;

} // namespace

// ---------------------------------------------------------------- TFCislaProt

TFCislaProt::TFCislaProt(tz::db::Database &db, QWidget *parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("TFCislaProt"));
    setWindowTitle(QStringLiteral("Nastavení číslování protokolů"));
    auto *lay = new QVBoxLayout(this);
    auto *g = new QGridLayout;
    g->setHorizontalSpacing(10);
    const QStringList headings{QStringLiteral("Pevná část na začátku (30 znaků)"), QStringLiteral("Automaticky navyšovaná část"),
                               QStringLiteral("Pevná část na konci (15 znaků))")};
    for (int c = 0; c < headings.size(); ++c) {
        auto *h = new QLabel(headings[c]);
        h->setAlignment(Qt::AlignCenter);
        g->addWidget(h, 0, c + 1);
    }
    int row = 1;
    for (const NumberingRow &r : numberingRows) {
        g->addWidget(new QLabel(QString::fromUtf8(r.caption)), row, 0);
        auto *before = new QLineEdit;
        before->setObjectName(QString::fromLatin1(r.before));
        before->setMaxLength(BeforeWidth);
        before->setMinimumWidth(200);
        before->setAlignment(Qt::AlignRight);
        auto *sample = new QLineEdit(QStringLiteral("123456789"));
        sample->setReadOnly(true);
        sample->setFocusPolicy(Qt::NoFocus);
        sample->setAlignment(Qt::AlignCenter);
        sample->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
        auto *after = new QLineEdit;
        after->setObjectName(QString::fromLatin1(r.after));
        after->setMaxLength(AfterWidth);
        after->setMinimumWidth(120);
        g->addWidget(before, row, 1);
        g->addWidget(sample, row, 2);
        g->addWidget(after, row, 3);
        ++row;
    }
    g->setColumnStretch(1, 2);
    g->setColumnStretch(3, 1);
    lay->addLayout(g);
    lay->addStretch();
    auto *buttons = new QHBoxLayout;
    auto *ok = namedButton(QStringLiteral("OK"), QStringLiteral("SpeedButton1"));
    auto *cancel = namedButton(QStringLiteral("Zrušit"), QStringLiteral("SpeedButton2"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TFCislaProt::SpeedButton1Click);
    connect(cancel, &QPushButton::clicked, this, &TFCislaProt::SpeedButton2Click);
    FormShow();
}

QLineEdit *TFCislaProt::textBox(const QString &field) const
{
    return findChild<QLineEdit *>(field);
}

void TFCislaProt::FormShow()
{
    ProtocolSettings s;
    try {
        s = protocolSettings(m_db);
    } catch (const Error &e) {
        showError(this, e.userText());
    }
    // a stored text longer than the box allows is shown whole
    auto put = [this](const char *field, const QString &text) {
        QLineEdit *e = textBox(QString::fromLatin1(field));
        e->setMaxLength(std::max<int>(e->maxLength(), int(text.size())));
        e->setText(text);
    };
    put("Rpred", s.rPred);
    put("RZa", s.rZa);
    put("IPred", s.iPred);
    put("IZa", s.iZa);
    put("RZPred", s.rzPred);
    put("RZZa", s.rzZa);
}

void TFCislaProt::SpeedButton1Click()
{
    ProtocolSettings s;
    // the fixed texts are kept as typed, spaces included
    auto text = [this](const char *field) { return textBox(QString::fromLatin1(field))->text(); };
    s.rPred = text("Rpred");
    s.rZa = text("RZa");
    s.iPred = text("IPred");
    s.iZa = text("IZa");
    s.rzPred = text("RZPred");
    s.rzZa = text("RZZa");
    try {
        saveProtocolSettings(m_db, s);
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    done(1);
}

void TFCislaProt::SpeedButton2Click()
{
    done(2);
}

void TFCislaProt::reject()
{
    SpeedButton2Click();
}

// ---------------------------------------------------------------- TFRTech

TFRTech::TFRTech(tz::db::TDM &dm, QWidget *parent) : QDialog(parent), m_dm(dm), m_binder(&dm.RTech)
{
    setObjectName(QStringLiteral("TFRTech"));
    setWindowTitle(QStringLiteral("Revizní technik"));
    auto *lay = new QVBoxLayout(this);
    auto *g = new QGridLayout;
    int row = 0;
    auto add = [&](const QString &caption, const QString &field, int width) {
        auto *e = new QLineEdit;
        e->setObjectName(field);
        if (width)
            e->setMaximumWidth(width);
        g->addWidget(new QLabel(caption), row, 0);
        if (width)
            g->addWidget(e, row, 1, Qt::AlignLeft);
        else
            g->addWidget(e, row, 1);
        m_binder.bind(e, field, caption);
        ++row;
        return e;
    };
    add(QStringLiteral("Revizní technik"), QStringLiteral("Technik"), 0)->setMinimumWidth(320);
    add(QStringLiteral("Adresa - sídlo"), QStringLiteral("Adresa1"), 0);
    add(QStringLiteral("Ulice a číslo"), QStringLiteral("Adresa2"), 0);
    add(QStringLiteral("Místo"), QStringLiteral("Adresa3"), 0);
    add(QStringLiteral("Psč"), QStringLiteral("Psc"), 90);
    add(QStringLiteral("IČO"), QStringLiteral("Ico"), 130);
    add(QStringLiteral("Telefon"), QStringLiteral("Telefon"), 200);
    add(QStringLiteral("E-mail"), QStringLiteral("Email"), 0);
    g->setColumnStretch(1, 1);
    lay->addLayout(g);
    auto *buttons = new QHBoxLayout;
    auto *remove = namedButton(QStringLiteral("Odstranit technika"), QStringLiteral("Odstranit"));
    auto *ok = namedButton(QStringLiteral("OK"), QStringLiteral("SpeedButton1"));
    auto *cancel = namedButton(QStringLiteral("Zrušit"), QStringLiteral("SpeedButton2"));
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    lay->addLayout(buttons);
    connect(remove, &QPushButton::clicked, this, &TFRTech::OdstranitClick);
    connect(ok, &QPushButton::clicked, this, &TFRTech::SpeedButton1Click);
    connect(cancel, &QPushButton::clicked, this, &TFRTech::SpeedButton2Click);

    Dataset &t = dm.RTech;
    const bool stored = t.isOpen() && t.state() != Dataset::State::Insert && t.recNo() >= 0;
    // only a stored technician can be removed
    remove->setVisible(stored);
    m_binder.load();
    resize(520, sizeHint().height());
}

QLineEdit *TFRTech::textBox(const QString &field) const
{
    return findChild<QLineEdit *>(field);
}

void TFRTech::SpeedButton1Click()
{
    Dataset &t = m_dm.RTech;
    if (!t.isOpen() || (!t.isEditing() && t.recNo() < 0)) {
        done(2);
        return;
    }
    const bool wasEditing = t.isEditing();
    try {
        if (!wasEditing)
            t.edit();
        if (!m_binder.commit(this)) {
            if (!wasEditing)
                t.cancel();
            return;
        }
        if (t.value(QStringLiteral("Technik")).toString().trimmed().isEmpty()) {
            textBox(QStringLiteral("Technik"))->setFocus();
            warn(this, QStringLiteral("Revizní technik: napište jméno technika."));
            return;
        }
        t.post();
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    done(1);
}

void TFRTech::SpeedButton2Click()
{
    if (m_dm.RTech.isEditing())
        m_dm.RTech.cancel();
    done(2);
}

void TFRTech::OdstranitClick()
{
    Dataset &t = m_dm.RTech;
    if (!t.isOpen() || t.state() == Dataset::State::Insert || t.recNo() < 0)
        return;
    const QString name = t.value(QStringLiteral("Technik")).toString();
    if (!askWarning(this, QStringLiteral("Opravdu chcete odstranit revizního technika %1?\n"
                                         "Záznamy o revizích si jeho jméno ponechají.")
                              .arg(name)))
        return;
    try {
        if (t.isEditing())
            t.cancel();
        removeTechnician(*m_dm.db(), t.value(QStringLiteral("PCREV")).toInt());
        t.refresh();
    } catch (const Error &e) {
        showError(this, e.userText());
        return;
    }
    done(3);
}

void TFRTech::reject()
{
    SpeedButton2Click();
}

} // namespace tz::eq
