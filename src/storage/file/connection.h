#pragma once
// One open connection to the database file db.mdb: opened and checked (its tables and its
// settings row), its statements kept for as long as it lives, and its engine's own handle
// for the lookups and walks where Qt's row buffering would cost more than the reading.
#include <QSqlDatabase>
#include <QString>
#include <map>
#include <optional>
#include <string>

class QSqlQuery;
struct sqlite3;
struct sqlite3_stmt;

namespace storage {

class FileConnection {
public:
    // Opens the file and checks that it holds the program's tables and its settings row.
    // Never creates, repairs or overwrites anything. Throws StorageError.
    explicit FileConnection(const QString& path);
    ~FileConnection();
    FileConnection(const FileConnection&) = delete;
    FileConnection& operator=(const FileConnection&) = delete;

    const QString& path() const { return path_; }
    // This desk as the history names it, taken when the connection was opened.
    const QString& desk() const { return desk_; }
    QSqlDatabase& database() { return db_; }
    // The engine's own handle of this connection. Throws StorageError when it is not open.
    sqlite3* native();

    // Whether the file is known to hold the history table (it is never dropped once made);
    // forgotten when the file is opened again.
    bool historyKnown() const { return historyKnown_; }
    void setHistoryKnown() { historyKnown_ = true; }
    // Whether the file holds the search's index whole (table and triggers); unknown until
    // asked, and forgotten when the file is opened again.
    std::optional<bool>& searchIndexed() { return searchIndexed_; }
    // Whether its index is known to be the current one (a file from before has another).
    bool historyIndexKnown() const { return historyIndexKnown_; }
    void setHistoryIndexKnown() { historyIndexKnown_ = true; }

    // The engine opened the file for reading only (the user may not write it, or its disk is
    // read-only): every change will fail.
    bool readOnly();
    // Closes the connection and opens the file again, so that a file made writable (or a
    // disk with room again) is seen as it is now. Throws StorageError.
    void reopen();

    // A query through Qt SQL, for the reads and writes that are not on a hot path.
    QSqlQuery prepare(const QString& sql);
    // Runs a prepared query; a failure throws StorageError naming `what`.
    void exec(QSqlQuery& query, const QString& what);

    // The error text for a failure while doing `what`.
    QString describe(const QString& what, const QString& detail) const;

private:
    friend class Query;
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
    std::optional<bool> searchIndexed_;
    bool historyIndexKnown_ = false;
    QSqlDatabase db_;
    std::map<std::string, sqlite3_stmt*> statements_;
};

}  // namespace storage
