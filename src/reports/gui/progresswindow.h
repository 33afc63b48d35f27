#pragma once
// The engine's progress window "Informace": the record being prepared with a
// "Přerušit" button, or the pages being sent to the printer. It appears when a
// run takes longer than a moment; while it is up the events are processed (at
// most every few milliseconds), so the program stays alive, and it is
// application-modal, so nothing else starts meanwhile.
#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QPushButton;

namespace tz::rep::gui {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    static ProgressWindow &instance();

    // Composition: "Připravuji tisk položky číslo: " + record; false once
    // "Přerušit" was pressed.
    bool composing(int record);
    // Printing: the text with "Přerušit" disabled, or enabled when the job can
    // be stopped; false once stopped.
    bool working(const QString &text, bool cancellable);
    // Hides the window and forgets a cancel.
    void finish();
    bool cancelled() const { return m_cancelled; }
    void cancel() { m_cancelled = true; }

    QLabel *label() const { return m_label; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void reject() override;   // Esc and closing the window cancel like "Přerušit"

private:
    explicit ProgressWindow(QWidget *parent = nullptr);
    bool step(const QString &text, bool cancellable);
    QLabel *m_label = nullptr;
    QPushButton *m_cancel = nullptr;
    QElapsedTimer m_sinceEvents;
    QElapsedTimer m_sinceStart;
    bool m_running = false;
    bool m_cancelled = false;
};

} // namespace tz::rep::gui
