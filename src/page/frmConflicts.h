#pragma once
// The question a desk asks when a page it stores was stored on another desk meanwhile with
// other text in the same cells: one window listing each such cell (its time, its provider,
// their text and this desk's), with a choice per cell and one for all. Keyboard only works:
// the arrows move in the list, the buttons have their keys, Enter stores.
#include "page/pagemerge.h"

#include <QDate>
#include <QDialog>
#include <functional>

class QPushButton;
class QTableWidget;

class frmConflicts : public QDialog {
    Q_OBJECT
public:
    // Where a conflict stands on the page: its time and its provider as the grid heads them.
    using Place = std::function<std::pair<QString, QString>(const PageConflict&)>;

    frmConflicts(QWidget* parent, QDate date, QList<PageConflict>& conflicts, const Place& place);

    // Asks; the choices are written into the conflicts. False when the user cancelled.
    static bool ask(QWidget* parent, QDate date, QList<PageConflict>& conflicts, const Place& place);

    QTableWidget* tblConflicts;
    QPushButton* cmdTheirs;
    QPushButton* cmdMine;
    QPushButton* cmdAllTheirs;
    QPushButton* cmdAllMine;
    QPushButton* cmdStore;
    QPushButton* cmdCancel;

protected:
    // In the list, T keeps theirs and M keeps mine for the entry in focus (the letters the
    // prompt names, in the user's language).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int row, bool mine);
    void chooseCurrent(bool mine);

    QList<PageConflict>& conflicts_;
};
