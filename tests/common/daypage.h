#pragma once
// The day page opened offscreen on a fresh program folder, with helpers to read and change
// its database behind the screen's back.
#include "common/scripteddialogs.h"
#include "common/testbook.h"
#include "common/testfolder.h"
#include "page/frmAppt.h"

#include <QDate>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <memory>

namespace storage {
class Database;
}
class MemoPanel;
class MonthCalendar;
class PageNavigation;

class DayPageFixture {
public:
    // The day the fixture pins as today (a Tuesday), so that every test sees the same
    // weekday, template and calendar whatever the machine's date. A day the test pinned
    // before is kept; a test may also pin another day before open().
    inline static const QDate Today = QDate(2030, 3, 5);

    DayPageFixture();
    ~DayPageFixture();

    // Opens the screen (the first one of the test); false when it refused to open.
    bool open();
    void close();

    // Gone by itself when the page unloads (a Retry that goes on, Okay of the set-up page).
    QPointer<frmAppt> form;
    MonthCalendar* calendar = nullptr;
    PageNavigation* navigation = nullptr;
    MemoPanel* memos = nullptr;

    // The book on the engine of this run (the file, or a database on the suite's server);
    // its folder is the program's folder either way.
    TestBook book;
    TestFolder& folder = book.folder;
    ScriptedDialogs dialogs;


    // The database, through a connection of the test's own.
    QVariant value(const QString& sql) const;
    void exec(const QString& sql) const;
    int pageCount() const;
    // Makes the book refuse a statement (INSERT, UPDATE or DELETE) on the page row of a date
    // with an error text, as a full or failing disk would.
    void refuse(const QString& statement, QDate date, const QString& error) const;
    // The stored Data of a date (a Null Data reads as an invalid QVariant).
    QVariant storedData(QDate date) const;
    // CalDate as stored.
    static QString key(QDate date);
    // Adds a page row with the settings' layout copy.
    void addPage(QDate date, const QVariant& data, const QVariant& clinic = 0,
                 const QString& memo = QString()) const;
    QString settingsTemplate(QDate date) const;
    // Rebuilds tbl_Setup with the same fields and values in another order, as a file made
    // by another tool may have them: the closed flags and Readme where the templates stood.
    void reorderSetupColumns() const;

    // Clicks the calendar label that shows a date (it must be on the calendar).
    void clickDay(QDate date);
    // Opens a date through Open Page.
    void openDate(QDate date);
    // Lets posted events (keystrokes, deferred deletes) arrive.
    static void settle();

private:
    QDate pinnedBefore_;
};

// Another desk's store of one cell of a page (grid coordinates, as the day page shows them).
void storeCell(storage::Database& desk, QDate date, int gridRow, int gridCol, const QString& text);
