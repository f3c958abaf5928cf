#pragma once
// The desk's journal: a SQLite file in the desk's data folder that keeps a server's desk
// working while its server does not answer. It holds
// - the pages typed here and not yet stored on the server, each with the page as this desk
//   last read it from the server (the base of the merge when it is stored) and the moment it
//   was typed; one transaction, synced, per store;
// - a copy of the pages this desk read from the server, so that they can be shown offline;
// - the book it belongs to (its name and the book id the server keeps in the settings row)
//   and the last settings read, from which a page never read is laid out;
// - the fixed memo and the book number typed here and not yet stored, with the two as this
//   desk last read them.
// One program on a desk holds it at a time (a lock file beside it). A file that cannot be
// read as a journal is set aside under another name, never replayed.
#include "storage/pagetable.h"
#include "storage/settings.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;

namespace storage {

// A page typed on this desk while the server did not answer.
struct WaitingPage {
    qint64 seq = 0;  // the order it was first typed in: the replay goes oldest first
    PageRow typed;
    // The page as this desk last read it from the server; id 0 when the server had none then.
    PageRow base;
    QDateTime moment;  // UTC, the last store of it here
};

class Journal {
public:
    // Opens (or makes, 0600) the journal at `path`. Throws StorageError when another copy of
    // the program holds it or it cannot be made. A damaged file is moved aside first:
    // setAside() then names where.
    explicit Journal(const QString& path);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    const QString& path() const { return path_; }
    // Where a damaged journal found at the open was moved; empty when none was.
    const QString& setAside() const { return setAside_; }

    // The book the journal's pages belong to (its name for messages, and its id).
    QString bookName();
    QString bookId();
    // Ties the journal to a book. Moves the journal aside (returning where) when it holds
    // pages of another book, which are then never stored in this one; empty otherwise.
    QString belongTo(const QString& name, const QString& id);
    // Keeps the book id after the user decided what to do with the pages of a replaced book.
    void setBookId(const QString& id);

    // The settings as last read from the server.
    void keepSettings(const Settings& settings);
    std::optional<Settings> settings();

    // The fixed memo and the book number stored offline: `typed`, over `base` as this desk read
    // them (the base kept from the first such store until they are stored on the server).
    void keepMemo(const MemoAndBook& typed, const MemoAndBook& base);
    struct WaitingMemo {
        MemoAndBook typed;
        MemoAndBook base;
    };
    std::optional<WaitingMemo> waitingMemo();
    // They were stored on the server (`typed` as kept then: a later store keeps its own).
    void memoStored(const MemoAndBook& typed);

    // The copy of pages read from the server.
    void keepCopy(const PageRow& row);
    void keepCopies(const std::vector<PageRow>& rows);
    std::optional<PageRow> copy(QDate date);

    // A store made offline: keeps `typed` for its date (the base kept from the first store
    // of the date). Synced before it returns.
    void keepTyped(const PageRow& typed, const PageRow& base, const QDateTime& moment);
    std::optional<WaitingPage> waiting(QDate date);
    std::vector<WaitingPage> waiting();
    int countWaiting();
    // The page was stored on the server: its entry goes (only that entry: a later store
    // of the same date made meanwhile stays).
    void stored(const WaitingPage& page);

    // Whether the journal at `path` holds the book `name` and its settings, read without
    // opening it for work (nothing is changed, nothing set aside).
    static bool keepsBook(const QString& path, const QString& name);

    // The size of the file in bytes.
    qint64 size() const;

private:
    void open();
    void close();
    void exec(const char* sql);
    [[noreturn]] void fail(const QString& what);
    QString value(const char* key);
    void setValue(const char* key, const QByteArray& value);

    QString path_;
    QString setAside_;
    std::unique_ptr<QLockFile> lock_;
    sqlite3* db_ = nullptr;
};

// The journal of this desk: journal.db in the data folder (the folder of db.mdb).
QString journalPath();

}  // namespace storage
