#include "progresswindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tz::rep::gui {

namespace {
constexpr int kEventInterval = 40;   // ms between two rounds of event processing
constexpr int kShowAfter = 250;      // ms: a short run finishes before the window would flash
}

ProgressWindow &ProgressWindow::instance()
{
    static ProgressWindow *w = [] {
        auto *p = new ProgressWindow;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, p, &QObject::deleteLater);
        return p;
    }();
    return *w;
}

ProgressWindow::ProgressWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormInformace"));
    setWindowTitle(QStringLiteral("Informace"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *lay = new QVBoxLayout(this);
    m_label = new QLabel(this);
    m_label->setMinimumWidth(320);
    lay->addWidget(m_label);
    auto *row = new QHBoxLayout;
    row->addStretch();
    m_cancel = new QPushButton(QStringLiteral("Přerušit"), this);
    m_cancel->setObjectName(QStringLiteral("BPrerusit"));
    row->addWidget(m_cancel);
    row->addStretch();
    lay->addLayout(row);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
}

bool ProgressWindow::step(const QString &text, bool cancellable)
{
    if (!m_running) {
        m_running = true;
        m_sinceStart.start();
    }
    if (!isVisible()) {
        if (m_sinceStart.elapsed() < kShowAfter)
            return !m_cancelled;
        m_label->setText(text);
        m_cancel->setEnabled(cancellable);
        show();
        raise();
        m_sinceEvents.start();
        QCoreApplication::processEvents();
        return !m_cancelled;
    }
    if (m_sinceEvents.elapsed() >= kEventInterval) {
        m_label->setText(text);
        m_cancel->setEnabled(cancellable);
        QCoreApplication::processEvents();
        m_sinceEvents.restart();
    }
    return !m_cancelled;
}

bool ProgressWindow::composing(int record)
{
    return step(QStringLiteral("Připravuji tisk položky číslo: %1").arg(record), true);
}

bool ProgressWindow::working(const QString &text, bool cancellable) { return step(text, cancellable); }

void ProgressWindow::finish()
{
    hide();
    m_cancelled = false;
    m_running = false;
}

void ProgressWindow::reject()
{
    if (m_cancel->isEnabled())
        m_cancelled = true;
}

} // namespace tz::rep::gui
