#pragma once
// One open connection to the appointment book (the file db.mdb, or a database on a practice
// server), held by a screen for as long as it is loaded. The engine that keeps the book is
// picked once, when it is opened; the domain calls (PageTable, readSettings, ...) go through
// it and never ask which one it is.
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

namespace program {
struct BookLocation;
}

namespace storage {

class BookEvents;
class Engine;

// A failure of the database file, with a text fit for a message box: it names the file
// and what went wrong.
class StorageError : public std::runtime_error {
public:
    // What kind of failure it is, for the callers that react to one kind: the message itself
    // is in the user's language.
    enum class Kind {
        Other,
        NotABook,  // the database holds none of the program's tables, or not all of them
        // The server does not answer in time, or cannot be reached: nothing was done there.
        Unreachable,
    };
    explicit StorageError(const QString& message, Kind kind = Kind::Other, const QString& cause = {});
    QString message() const { return message_; }
    // What went wrong, without the file and the action: the message's last line(s).
    QString reason() const;
    Kind kind() const { return kind_; }
    // For NotABook: what the database lacks ("the table tbl_Appt is missing.").
    QString cause() const { return cause_; }

private:
    QString message_;
    Kind kind_;
    QString cause_;
};

class Database {
public:
    // Opens the file and checks that it holds the program's tables and its settings row.
    // Never creates, repairs or overwrites anything. Throws StorageError.
    explicit Database(const QString& path);
    // Opens the book where it is kept: the file, or the database on a server (checked the
    // same way: its tables and its settings row). Throws StorageError.
    explicit Database(const program::BookLocation& location);
    // The day page's book: on a server, a desk that keeps working from its journal while the
    // server does not answer (storage/server/desk.h).
    enum class Use { Screen, DayPage };
    Database(const program::BookLocation& location, Use use);
    // The book on an engine opened elsewhere (a benchmark that also reaches the file's own
    // statements).
    explicit Database(std::unique_ptr<Engine> engine);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The engine that keeps the book: what the domain calls hand their work to.
    Engine& engine() { return *engine_; }
    // What other desks do to the book, heard from now on for as long as this connection
    // lives (on the file: nothing, ever).
    BookEvents& events();
    // The book as messages name it: the file's path, or the database and its server.
    const QString& path() const;

    // The book was opened for reading only (the user may not write the file, or its disk is
    // read-only): every change will fail.
    bool readOnly();
    // Why, where it is neither the user's rights nor the file's (a server that is a standby):
    // the message to show; empty otherwise.
    QString readOnlyReason();
    // The server reached, of those the connection text lists; empty for a file.
    QString connectedTo();
    // Closes the connection and opens it again, so that the book is seen as it is now (a
    // file made writable, a disk with room again, a server back). Throws StorageError.
    void reopen();

    // Makes what the search needs where the book lacks it and may be written (see Engine).
    void prepareSearch(const std::function<void(qint64, qint64)>& progress = {});

    // The error text for a failure while doing `what`.
    QString describe(const QString& what, const QString& detail) const;

private:
    // Declared before the engine, which tells it what it hears: the engine goes first.
    std::unique_ptr<BookEvents> events_;
    std::unique_ptr<Engine> engine_;
};

}  // namespace storage
