#pragma once
// Message boxes of the program, in one place, so that tests can answer them.
#include <QString>
#include <functional>

class QWidget;

namespace tz::gui {

struct Prompts
{
    // Yes/No question; true for Yes.
    std::function<bool(QWidget *, const QString &text, const QString &caption, bool warning)> question;
    // Information, warning and error boxes.
    std::function<void(QWidget *, const QString &text, const QString &caption, int kind)> message;
};

Prompts &prompts();

bool ask(QWidget *parent, const QString &text, const QString &caption = QStringLiteral("Potvrzení"));
bool askWarning(QWidget *parent, const QString &text, const QString &caption = QStringLiteral("Varování"));
void inform(QWidget *parent, const QString &text, const QString &caption = QStringLiteral("Informace"));
void warn(QWidget *parent, const QString &text, const QString &caption = QStringLiteral("Upozornění"));
void showError(QWidget *parent, const QString &text, const QString &caption = QStringLiteral("Chyba"));

} // namespace tz::gui

namespace tz::gui {

// Loads Qt's own Czech translations (file dialogs, message-box buttons, the
// print dialog) into the application. False, with the folder searched in
// `*where`, when they are not installed; the program then works in English
// standard dialogs.
bool installCzechTranslations(QString *where = nullptr);

} // namespace tz::gui
