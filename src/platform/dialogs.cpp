#include "platform/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace dialogs {
namespace {

class RealProvider final : public Provider {
public:
    Answer message(QWidget* parent, const Prompt& p) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(p.title.isEmpty() ? appTitle() : p.title);
        box.setText(p.text);
        switch (p.icon) {
        case Icon::None: break;
        case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        }
        switch (p.buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case Buttons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        case Buttons::RetryDiscardCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Discard | QMessageBox::Cancel);
            break;
        }
        if (p.defaultButton) {
            switch (*p.defaultButton) {
            case Answer::Ok: box.setDefaultButton(QMessageBox::Ok); break;
            case Answer::Cancel: box.setDefaultButton(QMessageBox::Cancel); break;
            case Answer::Yes: box.setDefaultButton(QMessageBox::Yes); break;
            case Answer::No: box.setDefaultButton(QMessageBox::No); break;
            case Answer::Retry: box.setDefaultButton(QMessageBox::Retry); break;
            case Answer::Discard: box.setDefaultButton(QMessageBox::Discard); break;
            }
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Retry: return Answer::Retry;
        case QMessageBox::Discard: return Answer::Discard;
        case QMessageBox::Ok: return Answer::Ok;
        default: return p.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
        }
    }

    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultText) override
    {
        bool ok = false;
        QString text = QInputDialog::getText(parent, title.isEmpty() ? appTitle() : title, prompt,
                                             QLineEdit::Normal, defaultText, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

    std::optional<QString> password(QWidget* parent, const QString& prompt, const QString& title) override
    {
        bool ok = false;
        QString text = QInputDialog::getText(parent, title.isEmpty() ? appTitle() : title, prompt,
                                             QLineEdit::Password, QString(), &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

    std::optional<QString> folder(QWidget* parent, const QString& title,
                                  const QString& startFolder) override
    {
        const QString chosen = QFileDialog::getExistingDirectory(parent, title, startFolder);
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen;
    }
};

RealProvider g_real;
Provider* g_provider = nullptr;

Provider& current()
{
    return g_provider ? *g_provider : g_real;
}

}  // namespace

std::optional<QString> Provider::folder(QWidget*, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> Provider::password(QWidget*, const QString&, const QString&)
{
    return std::nullopt;
}

void setProvider(Provider* provider)
{
    g_provider = provider;
}

Answer message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
               Icon icon, std::optional<Answer> defaultButton)
{
    return current().message(parent, Prompt{text, title, buttons, icon, defaultButton});
}

std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText)
{
    return current().input(parent, prompt, title, defaultText);
}

std::optional<QString> folder(QWidget* parent, const QString& title, const QString& startFolder)
{
    return current().folder(parent, title, startFolder);
}

std::optional<QString> password(QWidget* parent, const QString& prompt, const QString& title)
{
    return current().password(parent, prompt, title);
}

QString appTitle()
{
    return QStringLiteral("Calvora");
}

}  // namespace dialogs
