#include "navigation/EditCommands.h"

#include "page/frmAppt.h"
#include "platform/keys.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace {

// The text boxes of the screen come in two kinds: one line and many lines.
QString selectedText(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->selectedText();
    if (auto* text = qobject_cast<QPlainTextEdit*>(box))
        return text->textCursor().selection().toPlainText();
    if (auto* text = qobject_cast<QTextEdit*>(box))
        return text->textCursor().selection().toPlainText();
    return QString();
}

// A box locked against typing (the cell editor under the page lock) is not changed by a
// command either.
bool isLocked(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->isReadOnly();
    if (auto* text = qobject_cast<QPlainTextEdit*>(box))
        return text->isReadOnly();
    if (auto* text = qobject_cast<QTextEdit*>(box))
        return text->isReadOnly();
    return true;
}

// Replaces the selection (inserts at the caret when nothing is selected). The box's own
// change handling follows, as after typing: the cell editor's carries the text into its cell.
void replaceSelection(QWidget* box, const QString& with)
{
    if (isLocked(box))
        return;
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->insert(with);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) {
        text->insertPlainText(with);
    } else if (auto* text = qobject_cast<QTextEdit*>(box)) {
        text->insertPlainText(with);
    }
}

void putOnClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!text.isEmpty())
        clipboard->setText(text);
}

}  // namespace

EditCommands::EditCommands(frmAppt& form) : QObject(&form), form_(form)
{
    form.addCommand(form.mnuEdit, "mnuEditCut", tr("Cut\tCtrl+X"), [this] { mnuEditCut_Click(); });
    form.addCommand(form.mnuEdit, "mnuEditCopy", tr("Copy\tCtrl+C"), [this] { mnuEditCopy_Click(); });
    form.addCommand(form.mnuEdit, "mnuEditPaste", tr("Paste\tCtrl+V"), [this] { mnuEditPaste_Click(); });
    form.addCommand(form.mnuEdit, "mnuEditDelete", tr("Delete"), [this] { mnuEditDelete_Click(); });

    // The shortcuts belong to the menu, so they act wherever the focus stands on the page.
    form.addKeyHandler([this](int keyCode, int shift) {
        if (shift != 2)
            return false;
        switch (keyCode) {
        case keys::KeyA + ('X' - 'A'): mnuEditCut_Click(); return true;
        case keys::KeyA + ('C' - 'A'): mnuEditCopy_Click(); return true;
        case keys::KeyA + ('V' - 'A'): mnuEditPaste_Click(); return true;
        default: return false;
        }
    });
}

QWidget* EditCommands::activeTextBox() const
{
    QWidget* focus = form_.focusWidget();
    if (!focus || !focus->isVisible())
        return nullptr;
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus))
        return focus;
    return nullptr;
}

void EditCommands::mnuEditCut_Click()
{
    QWidget* box = activeTextBox();
    putOnClipboard(box ? selectedText(box) : QString());
    if (QWidget* still = activeTextBox())
        replaceSelection(still, QString());
}

void EditCommands::mnuEditCopy_Click()
{
    QWidget* box = activeTextBox();
    putOnClipboard(box ? selectedText(box) : QString());
}

void EditCommands::mnuEditPaste_Click()
{
    if (QWidget* box = activeTextBox())
        replaceSelection(box, QGuiApplication::clipboard()->text());
}

void EditCommands::mnuEditDelete_Click()
{
    if (QWidget* box = activeTextBox())
        replaceSelection(box, QString());
}
