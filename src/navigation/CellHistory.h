#pragma once
// The history of the day page: the earlier texts of the current cell (Ctrl+H, the grid's
// right-click menu, the Edit menu), any of which can be put back into the cell, and the list
// of every change stored on the page shown.
#include "storage/history.h"

#include <QDialog>
#include <QObject>
#include <vector>

class frmAppt;
class QLabel;
class QPushButton;
class QTreeWidget;

// The earlier texts of one cell, newest first: the text, when it was stored and by which
// desk. "Put back" writes the chosen text into the cell.
class frmCellHistory : public QDialog {
    Q_OBJECT
public:
    // `whyNot` says why no text can be put back (the page is locked, the cell is outside the
    // layout); empty where one can.
    frmCellHistory(QWidget* parent, const QString& cell, const std::vector<storage::Change>& changes,
                   const QString& whyNot);

    QTreeWidget* lstHistory;
    QLabel* lblCell;
    QLabel* lblWhyNot = nullptr;
    QPushButton* cmdPutBack;
    QPushButton* cmdClose;

    // The text of the chosen line.
    QString chosenText() const;

signals:
    void putBack(const QString& text);
};

// Every change stored on a page, newest first: when, which desk, the cell, old and new text.
class frmDayChanges : public QDialog {
    Q_OBJECT
public:
    frmDayChanges(QWidget* parent, const QString& day, const std::vector<storage::Change>& changes);

    QTreeWidget* lstChanges;
    QPushButton* cmdClose;
};

class CellHistory : public QObject {
    Q_OBJECT
public:
    explicit CellHistory(frmAppt& form);

    // Opens the history of the current cell (nothing on a heading or a time).
    void mnuEditHistory_Click();
    // Opens the list of the page's changes.
    void mnuEditDayChanges_Click();
    // Opens the history of a cell of the page shown (after the search found a text removed
    // from it): row and column in the page's cell text.
    void showCell(int row, int col);

    // The dialog open now, if any (tests, and one at a time).
    QDialog* dialog() const { return dialog_; }

    // How a change's moment is shown: local time, short form.
    static QString when(const QDateTime& moment);
    // How a stored text is shown in a list: on one line, "(empty)" for none.
    static QString shown(const QString& text);

private:
    void open(QDialog* dialog);

    frmAppt& form_;
    QDialog* dialog_ = nullptr;
};
