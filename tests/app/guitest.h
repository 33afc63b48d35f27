#pragma once
// Helpers of the offscreen window tests.
#include "prompts.h"

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QTimer>

#include <functional>

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
