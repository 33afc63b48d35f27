#include "prompts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace tz::gui {

Prompts &prompts()
{
    static Prompts p{
        [](QWidget *parent, const QString &text, const QString &caption, bool warning) {
            QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, caption, text,
                            QMessageBox::Yes | QMessageBox::No, parent);
            box.setButtonText(QMessageBox::Yes, QStringLiteral("Ano"));
            box.setButtonText(QMessageBox::No, QStringLiteral("Ne"));
            box.setDefaultButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes;
        },
        [](QWidget *parent, const QString &text, const QString &caption, int kind) {
            QMessageBox box(kind == 2 ? QMessageBox::Critical : kind == 1 ? QMessageBox::Warning : QMessageBox::Information,
                            caption, text, QMessageBox::Ok, parent);
            box.exec();
        }};
    return p;
}

bool ask(QWidget *parent, const QString &text, const QString &caption)
{
    return prompts().question(parent, text, caption, false);
}

bool askWarning(QWidget *parent, const QString &text, const QString &caption)
{
    return prompts().question(parent, text, caption, true);
}

void inform(QWidget *parent, const QString &text, const QString &caption)
{
    prompts().message(parent, text, caption, 0);
}

void warn(QWidget *parent, const QString &text, const QString &caption)
{
    prompts().message(parent, text, caption, 1);
}

void showError(QWidget *parent, const QString &text, const QString &caption)
{
    prompts().message(parent, text, caption, 2);
}

} // namespace tz::gui

namespace tz::gui {

bool installCzechTranslations(QString *where)
{
    static QTranslator *translator = nullptr;
    if (translator)
        return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (where)
        *where = folder;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

} // namespace tz::gui
