#include "platform/keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace keys {

int keyCode(const QKeyEvent* e)
{
    const int k = e->key();
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return keypad ? Numpad0 + (k - Qt::Key_0) : Digit0 + (k - Qt::Key_0);
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return KeyA + (k - Qt::Key_A);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        return F1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Enter;
    case Qt::Key_Shift: return Shift;
    case Qt::Key_Control: return Control;
    case Qt::Key_Alt: return Alt;
    case Qt::Key_Escape: return Escape;
    case Qt::Key_Space: return Space;
    case Qt::Key_PageUp: return PageUp;
    case Qt::Key_PageDown: return PageDown;
    case Qt::Key_End: return End;
    case Qt::Key_Home: return Home;
    case Qt::Key_Left: return Left;
    case Qt::Key_Up: return Up;
    case Qt::Key_Right: return Right;
    case Qt::Key_Down: return Down;
    case Qt::Key_Delete: return Delete;
    default: return 0;
    }
}

int shiftState(const QKeyEvent* e)
{
    int s = 0;
    if (e->modifiers() & Qt::ShiftModifier) s |= 1;
    if (e->modifiers() & Qt::ControlModifier) s |= 2;
    if (e->modifiers() & Qt::AltModifier) s |= 4;
    return s;
}

int keyAscii(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return 0;
    const QString text = e->text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
        return 0;
    return text.at(0).unicode();
}

void postTo(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (!target)
        return;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers, text));
}

void post(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString* text)
{
    postTo(QApplication::focusWidget(), key, modifiers, text ? *text : QString());
}

void postCharTo(QWidget* target, QChar c)
{
    // Letters carry their key; any other character arrives as its text alone.
    const Qt::Key key = c.isLetterOrNumber() && c.unicode() < 128 ? Qt::Key(c.toUpper().unicode())
                                                                  : Qt::Key_unknown;
    postTo(target, key, Qt::NoModifier, QString(c));
}

void sendTo(QWidget* target, Qt::Key key, const QString& text)
{
    if (!target)
        return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

void sendTextTo(QWidget* target, const QString& text)
{
    // A plain letter or digit carries its key; any other text arrives as its text alone.
    const QChar c = text.size() == 1 ? text.at(0) : QChar();
    const Qt::Key key = c.isLetterOrNumber() && c.unicode() < 128 ? Qt::Key(c.toUpper().unicode())
                                                                  : Qt::Key_unknown;
    sendTo(target, key, text);
}

}  // namespace keys
