#pragma once
// The read-only text box of the help and readme viewers: the user can scroll and select,
// not change the text.
#include <QString>

class QPlainTextEdit;
class QWidget;

QPlainTextEdit* makeDocumentBox(QWidget* parent, const QString& accessibleName);
