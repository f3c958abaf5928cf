#pragma once
// The file's statements at work: one use of a kept statement, one transaction, and the
// reading and binding of the engine's values as the page rows and the history keep them.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <sqlite3.h>

namespace storage {

class FileConnection;

// One use of a kept statement: bound, stepped, and reset on every way out so that it holds
// no read lock afterwards. A statement already in use (a lookup inside a walk) is prepared
// afresh for the nested use.
class Query {
public:
    Query(FileConnection& db, const char* sql, const QString& what);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    // The next row; false at the end. A failure throws StorageError naming `what`.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    // Ready for the next run, its values unbound.
    void reset();
    // The number of rows the last run changed.
    int changes() const;

private:
    [[noreturn]] void fail();

    FileConnection& db_;
    QString what_;
    sqlite3_stmt* stmt_ = nullptr;
    bool own_ = false;
};

// One transaction: committed by commit(), rolled back if the guard ends without it.
class Transaction {
public:
    Transaction(FileConnection& db, const QString& what);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    FileConnection& db_;
    QString what_;
    bool open_ = false;
};

// Dates as the file stores them in CalDate: "yyyy-MM-dd".
inline QByteArray dateKey(QDate date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
}

inline QString columnText(sqlite3_stmt* stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

inline bool isNull(sqlite3_stmt* stmt, int column)
{
    return sqlite3_column_type(stmt, column) == SQLITE_NULL;
}

inline void bindText(sqlite3_stmt* stmt, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

}  // namespace storage
