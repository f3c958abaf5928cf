#pragma once
// One open connection to db.mdb, held by a screen for as long as it is loaded.
#include <QSqlDatabase>
#include <QString>
#include <stdexcept>

class QSqlQuery;
struct sqlite3;

namespace storage {

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
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase& connection() { return db_; }
    // The engine's own handle of this connection, for the long walks over every page row,
    // where Qt's row buffering would cost more than the reading itself.
    sqlite3* native();
    const QString& path() const { return path_; }

    // Runs a prepared query; a failure throws StorageError naming `what`.
    void exec(QSqlQuery& query, const QString& what);
    QSqlQuery prepare(const QString& sql);

    // The error text for a failure while doing `what`.
    QString describe(const QString& what, const QString& detail) const;

private:
    void check();

    QString path_;
    QString name_;
    QSqlDatabase db_;
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
