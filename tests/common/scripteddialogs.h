#pragma once
// The dialogs double: records every prompt and answers from a queue.
#include "platform/dialogs.h"

#include <QList>
#include <QQueue>
#include <functional>
#include <optional>

class ScriptedDialogs final : public dialogs::Provider {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Answers for the next message boxes (Ok when the queue is empty).
    void answerMessage(dialogs::Answer answer) { messageAnswers_.enqueue(answer); }
    // Answers for the next input boxes; std::nullopt is Cancel (also when the queue is empty).
    void answerInput(std::optional<QString> text) { inputAnswers_.enqueue(std::move(text)); }

    // Answers for the next folder choosers; std::nullopt is Cancel (also when the queue is empty).
    void answerFolder(std::optional<QString> folder) { folderAnswers_.enqueue(std::move(folder)); }

    // Answers for the next password boxes; std::nullopt is Cancel (also when the queue is empty).
    void answerPassword(std::optional<QString> text) { passwordAnswers_.enqueue(std::move(text)); }

    struct FolderPrompt {
        QString title;
        QString startFolder;
    };
    QList<FolderPrompt> folders;

    struct InputPrompt {
        QString prompt;
        QString title;
        QString defaultText;
    };
    QList<dialogs::Prompt> messages;
    // Runs as each message box is shown, before it is answered (the user acting meanwhile).
    std::function<void(const dialogs::Prompt&)> whenAsked;
    QList<InputPrompt> inputs;
    QList<InputPrompt> passwords;

    dialogs::Answer message(QWidget* parent, const dialogs::Prompt& prompt) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> folder(QWidget* parent, const QString& title,
                                  const QString& startFolder) override;
    std::optional<QString> password(QWidget* parent, const QString& prompt, const QString& title) override;

private:
    QQueue<dialogs::Answer> messageAnswers_;
    QQueue<std::optional<QString>> inputAnswers_;
    QQueue<std::optional<QString>> folderAnswers_;
    QQueue<std::optional<QString>> passwordAnswers_;
};
