#pragma once
// The program's message boxes answered by a test: questions and messages are
// recorded, questions answered from a list in turn (Yes when it is empty).
#include "prompts.h"

#include <QList>
#include <QStringList>

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
