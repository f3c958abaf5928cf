#include "platform/dialogs.h"

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
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Retry: return Answer::Retry;
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
};

RealProvider g_real;
Provider* g_provider = nullptr;

Provider& current()
{
    return g_provider ? *g_provider : g_real;
}

}  // namespace

void setProvider(Provider* provider)
{
    g_provider = provider;
}

Answer message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
               Icon icon)
{
    return current().message(parent, Prompt{text, title, buttons, icon});
}

std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText)
{
    return current().input(parent, prompt, title, defaultText);
}

QString appTitle()
{
    return QStringLiteral("Calvora");
}

}  // namespace dialogs
