#pragma once
// One open connection to the appointment book (the file db.mdb, or a database on a practice
// server), held by a screen for as long as it is loaded.
#include <QSqlDatabase>
#include <QString>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace program {
struct BookLocation;
}

class QSqlQuery;
struct sqlite3;
struct sqlite3_stmt;

namespace storage {

class BookEvents;
class ServerEngine;

// A failure of the database file, with a text fit for a message box: it names the file
// and what went wrong.
class StorageError : public std::runtime_error {
public:
    explicit StorageError(const QString& message);
    QString message() const { return message_; }
    // What went wrong, without the file and the action: the message's last line(s).
    QString reason() const;

private:
    QString message_;
};

class Database {
public:
    // Opens the file and checks that it holds the program's tables and its settings row.
    // Never creates, repairs or overwrites anything. Throws StorageError.
    explicit Database(const QString& path);
    // Opens the book where it is kept: the file, or the database on a server (checked the
    // same way: its tables and its settings row). Throws StorageError.
    explicit Database(const program::BookLocation& location);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase& connection();
    // The server's engine when the book is on a server, else null: the domain operations
    // hand their work to it.
    ServerEngine* server() { return server_.get(); }
    // What other desks do to the book, heard from now on for as long as this connection
    // lives (on the file: nothing, ever).
    BookEvents& events();
    // The engine's own handle of this connection, for the lookups and walks over the page
    // rows, where Qt's row buffering would cost more than the reading itself.
    sqlite3* native();
    const QString& path() const { return path_; }
    // This desk as the history names it, taken when the connection was opened.
    const QString& desk() const { return desk_; }
    // Whether the file is known to hold the history table (it is never dropped once made);
    // forgotten when the file is opened again.
    bool historyKnown() const { return historyKnown_; }
    void setHistoryKnown() { historyKnown_ = true; }

    // The engine opened the file for reading only (the user may not write it, or its disk is
    // read-only): every change will fail.
    bool readOnly();

    // Closes the connection and opens the file again, so that a file made writable (or a
    // disk with room again) is seen as it is now. Throws StorageError.
    void reopen();

    // Runs a prepared query; a failure throws StorageError naming `what`.
    void exec(QSqlQuery& query, const QString& what);
    QSqlQuery prepare(const QString& sql);

    // The error text for a failure while doing `what`.
    QString describe(const QString& what, const QString& detail) const;

private:
    friend class Query;
    void openFile();
    void open();
    void check();
    void close();
    // Whether the file was opened read-only while an unfinished change waits in its journal.
    bool unfinishedChangeReadOnly();
    // The statement of a text, prepared on first use and kept for this connection.
    sqlite3_stmt* statement(const char* sql);

    QString path_;
    QString name_;
    QString desk_;
    bool historyKnown_ = false;
    QSqlDatabase db_;
    std::map<std::string, sqlite3_stmt*> statements_;
    // Declared before the engine, which tells it what it hears: the engine goes first.
    std::unique_ptr<BookEvents> events_;
    std::unique_ptr<ServerEngine> server_;
};

// One use of a kept statement: bound, stepped, and reset on every way out so that it holds
// no read lock afterwards. A statement already in use (a lookup inside a walk) is prepared
// afresh for the nested use.
class Query {
public:
    Query(Database& db, const char* sql, const QString& what);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    // The next row; false at the end. A failure throws StorageError naming `what`.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    // The number of rows the last run changed.
    int changes() const;

private:
    [[noreturn]] void fail();

    Database& db_;
    QString what_;
    sqlite3_stmt* stmt_ = nullptr;
    bool own_ = false;
};

// One transaction: committed by commit(), rolled back if the guard ends without it.
class Transaction {
public:
    Transaction(Database& db, const QString& what);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    QString what_;
    bool open_ = false;
};

}  // namespace storage
