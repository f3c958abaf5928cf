#pragma once
// Cut, Copy, Paste and Delete of the day page: on the selected text of whichever text box
// has the focus (the cell editor, the memos, the book number, the print column), through
// the system clipboard as plain text. The grid, the calendar and the lists are not text
// boxes: Copy and Cut there leave the clipboard empty, Paste and Delete do nothing.
#include <QObject>

class QWidget;
class frmAppt;

class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(frmAppt& form);

    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditDelete_Click();

private:
    // The text box that has the focus, or nullptr.
    QWidget* activeTextBox() const;

    frmAppt& form_;
};
