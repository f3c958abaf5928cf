#pragma once
// The day page: one day's grid of times and providers, the calendar beside it, the status
// list, the page lock and the daily memo. This class keeps the life of a page (finding or
// adding its row, the weekday template, showing, saving, leaving with the purge) and the
// cell editor; the calendar, the lists and the memos are components that the navigation
// attaches and wires.
#include "app/form.h"
#include "page/pagelayout.h"
#include "storage/pagetable.h"
#include "storage/settings.h"

#include <QDate>
#include <functional>
#include <memory>
#include <vector>

class CellEditor;
class DayCalendar;
class FlexGrid;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace storage {
class Database;
}

class frmAppt : public Form {
    Q_OBJECT
public:
    frmAppt();
    ~frmAppt() override;

    // Attaches the calendar (before Form_Load) and places its widget beside the grid.
    void setCalendar(DayCalendar* calendar, QWidget* widget);
    DayCalendar* calendar() const { return calendar_; }

    // Opens the database, lays out today's page and shows it. On a failure the user is told
    // what failed and false is returned: the screen must not be shown.
    bool Form_Load();

    // Controls
    QMenuBar* menuBar;
    // The menus, in the bar's order; the components fill them.
    QMenu* mnuPage;
    QMenu* mnuEdit;
    QMenu* mnuNavi;
    QMenu* mnuSearch;
    QMenu* mnuHelp;
    FlexGrid* Grid1;
    QLineEdit* txtEdit;
    QCheckBox* Check1;  // the page's closed flag, set by code only
    QCheckBox* Check2;  // "Page Lock"
    QComboBox* statusList;  // Combo(0)
    QLabel* lblCalDate;
    QLabel* lblCalDay;
    QPushButton* cmdToday;
    QLabel* lblToday;
    QFrame* Frame2;  // the search's question panel
    QLabel* lblDailyMemo;
    QPlainTextEdit* TxtMemo;
    QLabel* lblFunctionKeys;
    // Shown while the page on screen holds typing and another desk stored the page meanwhile.
    QLabel* lblOtherDesk;
    // Where the memo components stand, under the status list.
    QVBoxLayout* memoArea;

    // Members
    QDate PageDate;
    bool PageIsNew = false;
    bool PastLayout = false;
    QString TemplateText;
    int LastRow = 0;
    int LastCol = 0;
    int EditRow = 0;
    int EditCol = 0;
    // The date the captions show (what lblCalDate says).
    QDate CalDateShown;

    // The page life
    void LocatePage(QDate date);
    void ApplyTemplate();
    void LayOutPage();
    void ShowPage();
    void SavePage();
    void LeavePageScreen();
    void cmdToday_Click();
    void Check2_Click();

    // The page switch of every command that moves to another date: saves the page on screen
    // (unless save is false), finds or adds the date's row, lays it out and shows it, and
    // sets the month and year lists. A failure leaves the page on screen as it was, tells
    // the user what failed, and returns false.
    bool switchPage(QDate date, bool save = true);

    // The status list's choice: stores the closed flag with the page and colours the grid.
    void setClosed(bool closed);
    // The grid's colours for an open or a closed page.
    void colourGrid(bool closed);
    // Writes the date captions.
    void showDateCaptions(QDate date);

    // The cell editor
    void hideEditor();
    bool editorOpen() const;

    // Adds a command to one of the screen's menus; the key named after a tab in the text is
    // shown beside it and handled by the key preview, not by the menu.
    QAction* addCommand(QMenu* menu, const char* name, const QString& text, std::function<void()> run);

    // A key handler of a component, run by the form's key preview before the focused
    // control sees the key; it returns true when it consumed the key.
    void addKeyHandler(std::function<bool(int keyCode, int shift)> handler);

    // Stores what a component holds when the page is left (a memo of the settings row);
    // throws storage::StorageError when it cannot, and the user then chooses what to do.
    void addSaver(std::function<void()> save);

    // Reports a failure to the user once, in a message box.
    void report(const QString& message);

    // Whether the page on screen differs from the page as it was read (typed, a memo or a
    // status changed, not yet stored).
    bool typedSinceRead();

    // The current page row and the connection (tests and components read them).
    const storage::PageRow& currentRow() const { return row_; }
    storage::Database& database() { return *db_; }
    storage::Settings readSettings();
    // The time and provider of each cell of the page's cell text, as the grid shows them.
    storage::CellLabels cellLabels() const;

signals:
    // The grid took the focus (the search panel hides then).
    void gridFocused();
    // A click on the grid: the calendar's selected day is opened again (normally the page
    // on screen, so nothing reloads), which gives the grid the focus.
    void gridClicked();
    // Form_Load has shown today's page: components read what they show.
    void loaded();
    // The screen is being left: components store what they hold.
    void leaving();

protected:
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Leaving { Stored, Discarded, Stay };
    void buildControls();
    // Lays the grid out from a layout (the settings' or a past page's own).
    void buildGrid(const storage::Layout& layout);
    // Reports a failure of the page on screen; returns false for convenience.
    bool fail(const QString& message);
    // Stores the page and what the components hold; throws StorageError.
    void storeAll();
    // Stores everything before leaving; when that fails the user retries, discards the page
    // or stays.
    Leaving storeForLeaving();
    // Runs a store; when it fails the user retries, discards the page on screen or stays.
    Leaving storeOrAsk(const std::function<void()>& store);
    // Stores a page row: added when it was never stored, updated when it changed. On a page
    // another desk stored since it was read, what was typed here is merged into the stored
    // page (the user choosing where both desks changed a cell) and the merged page is stored
    // and shown.
    void storeRow(storage::PageRow& row);
    // The page as the screen holds it (SavePage stores it).
    storage::PageRow pageOnScreen();
    // Shows row_ in the grid's cells, the flag and the memo, leaving the current cell, the
    // scroll and an open editor where they are.
    void showStored();
    // Lays the page out again from what is stored (the set-up or the book changed) and
    // shows it, near the cell that was current.
    void reshowPage();

    // What other desks did, heard from storage and acted on a moment later, once this desk
    // is not in the middle of something.
    void watchOtherDesks();
    void otherDesksStored();
    void pageStoredElsewhere();
    bool setupStoredElsewhere();
    void bookReplacedElsewhere();
    void markOtherDesk(bool changed);
    void purge();
    void purgeReporting();
    // Sizes and places the window on the screen's work area.
    void fitToWorkArea();

    // Cell editing
    void Grid1_KeyPress(int& keyAscii);
    void Grid1_Click();
    void Grid1_Scroll();

    std::unique_ptr<storage::Database> db_;
    std::unique_ptr<storage::PageTable> pages_;
    storage::PageRow row_;
    std::unique_ptr<PageGridLayout> layout_;
    DayCalendar* calendar_ = nullptr;
    CellEditor* editor_ = nullptr;
    QWidget* calendarSlot_ = nullptr;
    std::vector<std::function<bool(int, int)>> keyHandlers_;
    std::vector<std::function<void()>> savers_;
    QTimer* heard_ = nullptr;
    bool heardPage_ = false;
    bool heardSetup_ = false;
    bool heardRestore_ = false;
    bool storing_ = false;
    // The set-up's version the page is laid out under.
    int settingsVersion_ = 0;
    bool frameKnown_ = false;
    bool loaded_ = false;
    bool left_ = false;
};
