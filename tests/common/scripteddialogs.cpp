#include "common/scripteddialogs.h"

ScriptedDialogs::ScriptedDialogs()
{
    dialogs::setProvider(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    dialogs::setProvider(nullptr);
}

dialogs::Answer ScriptedDialogs::message(QWidget*, const dialogs::Prompt& prompt)
{
    messages.append(prompt);
    if (whenAsked)
        whenAsked(prompt);
    return messageAnswers_.isEmpty() ? dialogs::Answer::Ok : messageAnswers_.dequeue();
}

std::optional<QString> ScriptedDialogs::input(QWidget*, const QString& prompt, const QString& title,
                                              const QString& defaultText)
{
    inputs.append({prompt, title, defaultText});
    return inputAnswers_.isEmpty() ? std::nullopt : inputAnswers_.dequeue();
}

std::optional<QString> ScriptedDialogs::folder(QWidget*, const QString& title, const QString& startFolder)
{
    folders.append({title, startFolder});
    return folderAnswers_.isEmpty() ? std::nullopt : folderAnswers_.dequeue();
}

std::optional<QString> ScriptedDialogs::password(QWidget*, const QString& prompt, const QString& title)
{
    passwords.append({prompt, title, QString()});
    return passwordAnswers_.isEmpty() ? std::nullopt : passwordAnswers_.dequeue();
}
