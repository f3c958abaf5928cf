#pragma once
// What an engine that keeps the book must answer: the one interface behind the domain calls
// (PageTable, readSettings, storeSetup, PageSearch, History, readHelp). Two engines implement
// it, each in a folder of its own with the same file names for the same domains:
//   storage/file/    the file db.mdb through SQLite, its C API on the hot paths (one desk at a time)
//   storage/server/  a database on a PostgreSQL server (several desks at once)
// A Database picks its engine once, when it is opened; nothing above asks which one it has.
//
// Every call is whole on its own: a change is one transaction, committed or left out
// entirely, and records its changed fields in the history in that same transaction. A
// failure throws StorageError with a text fit for a message box (describe() makes it).
#include "storage/history.h"
#include "storage/pagesearch.h"
#include "storage/pagetable.h"
#include "storage/settings.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace storage {

class BookEvents;
class DeskEngine;

class Engine {
public:
    virtual ~Engine() = default;

    // --- The connection (file/connection.cpp, server/connection.cpp)

    // The book as messages name it: the file's path, or the database and its server.
    virtual const QString& name() const = 0;
    // The text of a failure while doing `what` ("storing the page of ..."), naming the book.
    virtual QString describe(const QString& what, const QString& detail) const = 0;
    // Whether every change will fail because the book was opened for reading only (a file
    // the user may not write, a server's user that may only read).
    virtual bool readOnly() = 0;
    // Why the book only reads where that is not the user's rights (a server that is a
    // standby), as a message; empty otherwise.
    virtual QString readOnlyReason() { return QString(); }
    // The server this desk reached, of those its connection text lists (host and port);
    // empty for a file.
    virtual QString connectedTo() { return QString(); }
    // Closes the connection and opens it again, so that the book is seen as it is now.
    virtual void reopen() = 0;
    // Raises what other desks do to the book on `events` from now on, for as long as the
    // engine lives (the file never raises anything).
    virtual void watch(BookEvents* events) = 0;
    // The day page's desk on a server, which keeps working while the server does not answer
    // (storage/server/desk.h); none on other engines.
    virtual DeskEngine* desk() { return nullptr; }

    // --- The page rows of tbl_Appt (pages.cpp)

    // The newest row of a date, layout included; none when the date has no page.
    virtual std::optional<PageRow> findPage(QDate date) = 0;
    // Adds the row of a new page with its layout copy, Data, closed flag and memo; records
    // what differs from the weekday's new page. Returns the row as stored (on a server the
    // row another desk added for the date at the same moment).
    virtual PageRow addPage(QDate date, const Layout& layout, const QString& data, bool closed,
                            const QString& memo, const CellLabels& labels) = 0;
    // Stores Data, Clinic and Memo of a row and records the changed cells, flag and memo,
    // and with them the texts `notKept` (the user kept another desk's instead).
    // On a server a row another desk stored or removed since it was read is left alone
    // (StaleVersion), and the row takes its new version.
    virtual void updatePage(PageRow& row, const CellLabels& labels, const std::vector<Change>& notKept) = 0;
    // Deletes rows, all in one transaction.
    virtual void removePages(const QList<qint64>& ids) = 0;
    // Deletes rows in one transaction, each only if it is still as it was read.
    virtual void removeUnchangedPages(const QList<PageRow>& rows) = 0;
    // Visits the rows from the newest (or from `fromId`, inclusive) back to the oldest
    // until `visit` returns false; the layout is read only when asked for.
    virtual void walkPages(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                           bool withLayout) = 0;
    virtual int countPages() = 0;

    // --- The settings row of tbl_Setup (settings.cpp)

    // The whole settings row; Null fields read as empty text (the layout names them).
    virtual Settings readSettings() = 0;
    // Stores the fixed memo and the book number, recorded in the history: with `read`, each
    // only as mergedMemoAndBook says. Returns them as stored.
    virtual MemoAndBook writeMemoAndBook(const MemoAndBook& typed, const std::optional<MemoAndBook>& read) = 0;

    // --- The set-up: layout and templates (setup.cpp)

    // The layout into the settings row and the pages from `today` on, as storeSetup says;
    // refused (StaleSettings) where the set-up was stored elsewhere after `readVersion`.
    // Returns the set-up's version after the store (the file keeps none: 0).
    virtual int storeSetup(const Layout& layout, QDate today, std::optional<int> readVersion) = 0;
    // The pages from `today` on whose Data holds text that is not their weekday's template.
    virtual int pagesWithOwnEntries(QDate today) = 0;
    // One weekday's template (field `field`, e.g. Mon) and closed flag (`flag`, e.g. chk2),
    // refused as storeSetup; returns the version after the store.
    virtual int storeTemplate(const QString& field, const QString& flag, const QString& cellText, bool closed,
                              std::optional<int> readVersion) = 0;

    // --- The search of a name in the pages (search.cpp)
    // Only a row the day page shows takes part: the newest of a readable date.

    // The newest such row below `beforeId` (all rows when empty) whose Data holds the name.
    virtual std::optional<PageMatch> searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId) = 0;
    // Every such row whose Data holds the name, newest first, with its text and layout.
    virtual void searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit) = 0;
    // Makes what the search needs where the book lacks it and may be written (the file's index
    // of its pages' text), telling `progress` how far it is (done of total); where it cannot
    // be made, the search still finds the same pages, more slowly.
    virtual void prepareSearch(const std::function<void(qint64, qint64)>& progress) { (void)progress; }
    // What the user should know about the search of this book (it finds the same pages,
    // more slowly); empty where there is nothing to say.
    virtual QString searchNotice() { return {}; }

    // --- The history of changes, tbl_History (history.cpp)
    // A book from before the history has no table: it reads as no changes.

    // The changes of one cell of a page, newest first.
    virtual std::vector<Change> cellHistory(QDate date, int row, int col) = 0;
    // Every change of a page (cells, flag, memo), newest first.
    virtual std::vector<Change> dayHistory(QDate date) = 0;
    // Every change of a cell that held text before it, newest first.
    virtual std::vector<Change> overwrittenCells() = 0;

    // --- The documents kept in the book (documents.cpp)

    // The help text: the Help field of the first row of tbl_Order, empty when there is none.
    virtual QString readHelp() = 0;
};

}  // namespace storage
