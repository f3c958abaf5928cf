#pragma once
// The template editor: for each weekday, Monday to Sunday, the page that new day pages of
// that weekday start from (the blocked-out times) and whether the location is closed then.
#include "app/form.h"

#include <memory>

class CellEditor;
class FlexGrid;
class PageGridLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QWindow;

namespace storage {
class Database;
}

class frmConfigure : public Form {
    Q_OBJECT
public:
    frmConfigure();
    ~frmConfigure() override;

    // Opens the database and lays the grid out from the settings. On a failure the user is
    // told what failed and false is returned: the screen must not be shown.
    bool Form_Load();

    // Controls
    FlexGrid* Grid1;
    QLineEdit* txtEdit;
    QLabel* lblCalDay;  // the weekday being edited, "Monday" to "Sunday"
    QPushButton* CmdFinish;
    QComboBox* statusList;  // Combo(0)
    QLabel* lblHelp;
    QLabel* Label11;  // "Press  F7"
    QLabel* Label6;   // "Press F8"
    QLabel* Label7;   // "Press F1 for Help"
    QCheckBox* Check1;  // the closed flag of the day shown; not shown itself
    // The grid's context menu: Copy and Paste of the selected cells.
    QMenu* gridMenu;
    QAction* mnuGridCopy;
    QAction* mnuGridPaste;

    // Members
    bool Loading = false;
    int LastRow = 0;
    int LastCol = 0;
    QString EmptyText;
    // What the bound TxtData holds: a weekday's cell text, and the weekday (1 Monday ... 7
    // Sunday) whose field it belongs to.
    QString TxtData;
    int TxtDataDay = 1;

    // Each time the editor becomes the active screen from another screen: the walk starts
    // again at Monday.
    void Form_Activate();
    void ShowTemplate();
    // Stores the day on screen (its template and closed flag) and shows the next.
    void CmdFinish_Click();
    void Combo_Click();
    void copyCells();
    void pasteCells();

protected:
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // Shows a weekday (1 Monday ... 7 Sunday) from the stored settings: its template, flag,
    // name and the button's caption.
    void showDay(int weekday);
    void selectDataArea();
    void fitTimeColumn();
    void colourGrid(bool closed);
    void Grid1_KeyPress(int& keyAscii);
    // The grid's menu at a point of its viewport.
    void popupGridMenu(QPoint at);
    void focusWindowChanged(QWindow* window);
    void report(const QString& message);

    std::unique_ptr<storage::Database> db_;
    // The set-up's version when the day on screen was read: its store goes over that only.
    int settingsVersion_ = 0;
    std::unique_ptr<PageGridLayout> layout_;
    CellEditor* editor_ = nullptr;
    bool activated_ = false;       // the first activation has run
    bool awayToOtherForm_ = false;  // another screen became active since
};
