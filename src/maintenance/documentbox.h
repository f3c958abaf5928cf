#pragma once
// The read-only text box of the help and readme viewers: the user can scroll and select,
// not change the text.
#include <QString>

class QPlainTextEdit;
class QWidget;

QPlainTextEdit* makeDocumentBox(QWidget* parent, const QString& accessibleName);
// Sizes a viewer's window so that the box shows lines of 92 characters, as the stored texts
// are written, without wrapping them.
void sizeToText(QWidget* window, QPlainTextEdit* box);
