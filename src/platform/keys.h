#pragma once
// Key codes and character codes as the screens' handlers take them, and posted keystrokes.
//
// KeyDown codes: 8 Backspace, 9 Tab, 13 Enter, 27 Esc, 32 Space, 33/34 Page Up/Down,
// 37-40 Left/Up/Right/Down, 48-57 main-row digits, 65-90 letters, 112-123 F1-F12.
// Keypad digits have codes of their own (96-105). Keys with no code give 0.
#include <QString>
#include <Qt>

class QKeyEvent;
class QWidget;


namespace keys {

enum Code : int {
    Backspace = 8, Tab = 9, Enter = 13, Shift = 16, Control = 17, Alt = 18, Escape = 27, Space = 32,
    PageUp = 33, PageDown = 34, End = 35, Home = 36,
    Left = 37, Up = 38, Right = 39, Down = 40, Delete = 46,
    Digit0 = 48, KeyA = 65, Numpad0 = 96,
    F1 = 112, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
};

// The key code of a key event (0 when the key has none).
int keyCode(const QKeyEvent* event);
// The shift state as the handlers take it: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(const QKeyEvent* event);
// The character code of a key event: the character typed, 13 Enter, 9 Tab, 8 Backspace,
// 27 Esc; 0 when the key types nothing (arrows, function keys, modifiers).
int keyAscii(const QKeyEvent* event);

// Posts a keystroke (press and release) to the widget that has the focus when it arrives,
// so it is handled after the current handler returns (SendKeys).
void post(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString* text = nullptr);
// Posts a keystroke to one widget.
void postTo(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
            const QString& text = QString());
// Posts a typed character to one widget.
void postCharTo(QWidget* target, QChar c);
// Sends a keystroke (press and release) to one widget at once, ahead of any key still to
// come.
void sendTo(QWidget* target, Qt::Key key, const QString& text = QString());
// Sends the text of one keystroke to one widget at once, whole (a character beyond the
// basic plane, or a letter with its combining marks).
void sendTextTo(QWidget* target, const QString& text);

}  // namespace keys
