#pragma once
// Message boxes and input boxes. The screens ask through this one interface; the real one
// shows Qt dialogs, and tests install a scripted double that records every prompt.
#include <QString>
#include <optional>

class QWidget;

namespace dialogs {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, RetryDiscardCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No, Retry, Discard };

struct Prompt {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    std::optional<Answer> defaultButton;  // the first button when not given
};

class Provider {
public:
    virtual ~Provider() = default;
    virtual Answer message(QWidget* parent, const Prompt& prompt) = 0;
    // std::nullopt is Cancel.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt,
                                         const QString& title, const QString& defaultText) = 0;
    // The system's folder chooser; std::nullopt is Cancel (what a provider without one says).
    virtual std::optional<QString> folder(QWidget* parent, const QString& title,
                                          const QString& startFolder);
    // An input box whose text is not shown as it is typed; std::nullopt is Cancel (what a
    // provider without one says).
    virtual std::optional<QString> password(QWidget* parent, const QString& prompt, const QString& title);
};

// Installs a provider (not owned); nullptr goes back to the real dialogs.
void setProvider(Provider* provider);

Answer message(QWidget* parent, const QString& text, const QString& title,
               Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
               std::optional<Answer> defaultButton = std::nullopt);
std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText = {});

std::optional<QString> folder(QWidget* parent, const QString& title, const QString& startFolder);
std::optional<QString> password(QWidget* parent, const QString& prompt, const QString& title);

// The program's title, used where a message box has none of its own.
QString appTitle();

}  // namespace dialogs
