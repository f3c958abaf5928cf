#pragma once
// The day page: one day's grid of times and providers, the calendar beside it, the status
// list, the page lock and the daily memo. This class keeps the life of a page (finding or
// adding its row, the weekday template, showing, saving, leaving with the purge) and the
// cell editor; the calendar, the lists and the memos are components that the navigation
// attaches and wires, and OtherDesks answers what other desks do to the page.
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
class QVBoxLayout;

namespace storage {
class Database;
class StaleVersion;
}

// A store the user cancelled at the question about cells two desks changed: nothing was
// stored, and the page stays on screen as typed.
class StoreCancelled : public storage::StorageError {
public:
    using StorageError::StorageError;
};

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
    // Shown while the page on screen holds typing and another desk stored the page meanwhile
    // (OtherDesks shows and hides it).
    QLabel* lblOtherDesk;
    // The page's status line along the bottom: what background work (another desk's changes
    // read in, a connection opened again) could not do. Hidden while there is nothing to say.
    QLabel* lblStatus;
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
    // The set-up's version the page is laid out under.
    int SettingsVersion = 0;
    // The layout the grid is laid out under (the settings', or a past page's own).
    storage::Layout ShownLayout;

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
    // Reports a failure of background work in the status line, where it does not interrupt
    // typing; an empty message clears the line.
    void showStatus(const QString& message);

    // Whether the page on screen differs from the page as it was read (typed, a memo or a
    // status changed, not yet stored).
    bool typedSinceRead();

    // The current page row and the connection (tests and components read them).
    const storage::PageRow& currentRow() const { return row_; }
    storage::Database& database() { return *db_; }
    storage::PageTable& pages() { return *pages_; }
    storage::Settings readSettings();
    // The time and provider of each cell of the page's cell text, as the grid shows them.
    storage::CellLabels cellLabels() const;

    // The steps of the page life that OtherDesks takes when another desk changed the book.
    // Whether a page is open on screen: loaded, and the screen not left.
    bool pageOpen() const { return loaded_ && !left_; }
    // Whether a store of the page is under way (a question it asks may be open).
    bool storing() const { return storing_; }
    // The page as the screen holds it (SavePage stores it).
    storage::PageRow pageOnScreen();
    // Stores a page row: added when it was never stored, updated when it changed. A store
    // that loses to another desk's goes to the handler set below; throws StorageError, and
    // StoreCancelled when the user cancelled the merge.
    void storeRow(storage::PageRow& row);
    // What a store that lost to another desk's turns into: the handler merges what was typed
    // into the stored page and stores the merge in `typed`, or returns false when the user
    // cancelled. Without one, the lost store fails with its message.
    using MergeLostStore = std::function<bool(const storage::StaleVersion& lost, storage::PageRow& typed)>;
    void setMergeLostStore(MergeLostStore merge) { mergeLostStore_ = std::move(merge); }

    // A row read again from the book becomes the page as read; showStored or reshowPage
    // then shows it.
    void takeStored(const storage::PageRow& stored) { row_ = stored; }
    // Shows the page as read in the grid's cells, the flag and the memo, leaving the current
    // cell, the scroll and an open editor where they are.
    void showStored();
    // Lays the page out again from what is stored (the set-up or the book changed) and
    // shows it, near the cell that was current.
    void reshowPage();

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
    // The page on screen was stored: the book holds it as it is shown.
    void pageStored();
    // Another date's page was opened.
    void pageOpened();

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
    // The grid holds the headings and times of ShownLayout, built with this opening time.
    bool gridBuilt_ = false;
    QString builtOpenTime_;
    DayCalendar* calendar_ = nullptr;
    CellEditor* editor_ = nullptr;
    QWidget* calendarSlot_ = nullptr;
    std::vector<std::function<bool(int, int)>> keyHandlers_;
    std::vector<std::function<void()>> savers_;
    MergeLostStore mergeLostStore_;
    bool storing_ = false;
    bool frameKnown_ = false;
    bool loaded_ = false;
    bool left_ = false;
};
