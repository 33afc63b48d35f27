#pragma once
// Helpers of the offscreen window tests.
#include "datadir.h"
#include "datamodule.h"
#include "program.h"
#include "prompts.h"

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

// Runs `act` as soon as the next modal dialog of type T is up.
template <class T>
void whenModal(QObject *owner, std::function<void(T *)> act)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, act] {
        if (auto *w = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

// The program's message boxes answered by a test: questions and messages are
// recorded, questions answered from a list in turn (Yes when it is empty).
struct PromptRecorder
{
    QStringList questions, messages;
    QList<bool> answers;

    void install()
    {
        questions.clear();
        messages.clear();
        answers.clear();
        tz::gui::prompts().question = [this](QWidget *, const QString &text, const QString &, bool) {
            questions << text;
            return answers.isEmpty() ? true : answers.takeFirst();
        };
        tz::gui::prompts().message = [this](QWidget *, const QString &text, const QString &, int) { messages << text; };
    }
};

// A program folder in a temporary directory with a new data directory and the
// demo data, its connection and data module; the window tests derive from it.
struct DemoProgramFolder
{
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<tz::db::Database> m_db;
    std::unique_ptr<tz::db::TDM> m_dm;

    void openDemo(const QString &connection)
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<tz::db::Database>(connection);
        tz::app::openDataDirectory(*m_db, tz::app::ProgramFolder(m_tmp->path()), true);
        tz::db::loadDemoData(*m_db);
        m_dm = std::make_unique<tz::db::TDM>(m_db.get());
    }
    void closeDemo()
    {
        m_dm.reset();
        m_db.reset();
        m_tmp.reset();
    }
};
