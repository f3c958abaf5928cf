#include "app/form.h"

#include "platform/keys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>

namespace {

// Routes key presses to the form of the receiving widget before the widget sees them.
class KeyPreviewFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* form = qobject_cast<Form*>(static_cast<QWidget*>(watched)->window());
        if (!form || !form->keyPreview())
            return false;
        // A key is previewed once: where it reaches the form's focus widget (it then travels
        // up to the form itself when that widget leaves it alone). The form's own focus
        // widget, not the application's: after a dialog closes, the window system may still
        // deliver keys to a form that Qt does not count as active.
        QWidget* focus = form->focusWidget();
        const bool atFocus = watched == focus || (watched == form && !focus);
        if (!atFocus)
            return false;
        return form->previewKey(static_cast<QKeyEvent*>(event));
    }
};

}  // namespace

void installKeyPreview()
{
    static KeyPreviewFilter* filter = nullptr;
    if (!filter) {
        filter = new KeyPreviewFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window)
{
    installKeyPreview();
}

Form::~Form() = default;

bool Form::previewKey(QKeyEvent* event)
{
    int code = keys::keyCode(event);
    if (code != 0) {
        Form_KeyDown(code, keys::shiftState(event));
        if (code == 0)
            return true;
    }
    int ascii = keys::keyAscii(event);
    if (ascii != 0) {
        Form_KeyPress(ascii);
        if (ascii == 0)
            return true;
    }
    return false;
}

void Form::Unload()
{
    if (unloading_)
        return;
    bool cancel = false;
    Form_QueryUnload(cancel, ByCode);
    if (cancel)
        return;
    unloading_ = true;
    hide();
    deleteLater();
}

void Form::closeEvent(QCloseEvent* event)
{
    if (unloading_) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_QueryUnload(cancel, ByUser);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    if (!unloading_) {
        unloading_ = true;
        deleteLater();
    }
}

void Form::centreOnScreen()
{
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void Form::Form_KeyDown(int&, int) {}
void Form::Form_KeyPress(int&) {}
void Form::Form_QueryUnload(bool&, UnloadMode) {}
