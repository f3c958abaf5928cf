#include "storage/database.h"
#include "storage/schema.h"

#include "platform/programfolder.h"
#include "storage/bookevents.h"
#include "storage/history.h"
#include "storage/serverengine.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <atomic>
#include <sqlite3.h>

namespace storage {

StorageError::StorageError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

QString StorageError::reason() const
{
    const qsizetype lineEnd = message_.indexOf(QLatin1Char('\n'));
    return lineEnd < 0 ? message_ : message_.mid(lineEnd + 1);
}

namespace {
std::atomic<int> g_connectionCount{0};
}  // namespace

Database::Database(const QString& path) : path_(path), desk_(deskName())
{
    openFile();
}

void Database::openFile()
{
    const QFileInfo info(path_);
    if (!info.exists())
        throw StorageError(describe(QStringLiteral("opening it"),
                                    QStringLiteral("The file does not exist.")));
    if (!info.isFile() || !info.isReadable())
        throw StorageError(describe(QStringLiteral("opening it"),
                                    QStringLiteral("The file cannot be read.")));
    name_ = QStringLiteral("calvora-%1").arg(++g_connectionCount);
    open();
}

Database::Database(const program::BookLocation& location) : desk_(deskName())
{
    if (location.onServer()) {
        server_ = std::make_unique<ServerEngine>(location.server);
        path_ = server_->displayName();
        return;
    }
    path_ = location.file;
    openFile();
}

Database::~Database()
{
    close();
}

BookEvents& Database::events()
{
    if (!events_) {
        events_ = std::make_unique<BookEvents>();
        if (server_)
            server_->watch(events_.get());
    }
    return *events_;
}

QSqlDatabase& Database::connection()
{
    return server_ ? server_->connection() : db_;
}

void Database::open()
{
    historyKnown_ = false;
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(path_);
    // Wait a little for a lock held by another program before giving up.
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db_.open()) {
        const QString detail = db_.lastError().text();
        close();
        throw StorageError(describe(QStringLiteral("opening it"), detail));
    }
    try {
        check();
    } catch (const StorageError&) {
        // A read-only file whose journal holds an unfinished change cannot even be read:
        // the engine would have to undo the change first.
        const bool unfinished = unfinishedChangeReadOnly();
        close();
        if (unfinished)
            throw StorageError(QStringLiteral(
                "The database file %1 cannot be read: it is read-only and holds an unfinished "
                "change that only a writable copy can undo (the journal %2 beside it keeps "
                "that change). Make the file writable, or copy it together with its journal "
                "to a writable folder, and open it again.")
                                   .arg(path_, path_ + QStringLiteral("-journal")));
        throw;
    }
}

void Database::close()
{
    // Kept statements go first: the engine does not close a connection that still has them.
    for (auto& [sql, stmt] : statements_)
        sqlite3_finalize(stmt);
    statements_.clear();
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
}

void Database::reopen()
{
    if (server_) {
        server_->reconnect();
        return;
    }
    close();
    open();
}

bool Database::readOnly()
{
    // A server refuses a change with a message of its own; the pages are never opened
    // read-only there.
    if (server_)
        return false;
    return sqlite3_db_readonly(native(), "main") == 1;
}

bool Database::unfinishedChangeReadOnly()
{
    const QFileInfo journal(path_ + QStringLiteral("-journal"));
    if (!journal.exists() || journal.size() == 0)
        return false;
    const QVariant handle = db_.isValid() ? db_.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return !QFileInfo(path_).isWritable();
    sqlite3* h = *static_cast<sqlite3* const*>(handle.data());
    return h && sqlite3_db_readonly(h, "main") == 1;
}

void Database::check()
{
    for (const ExpectedTable& t : expectedTables(false)) {
        const QString& table = t.table;
        QSqlQuery q(db_);
        // The engine's own words (as "file is not a database"), without the driver's.
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            throw StorageError(describe(QStringLiteral("reading its tables"), q.lastError().databaseText()));
        QStringList present;
        while (q.next())
            present << q.value(1).toString().toLower();
        if (present.isEmpty())
            throw StorageError(describe(QStringLiteral("reading its tables"),
                                        QStringLiteral("The table %1 is missing.").arg(table)));
        const QStringList missing = missingFields(t, present);
        if (!missing.isEmpty())
            throw StorageError(describe(
                QStringLiteral("reading its tables"),
                QStringLiteral("The table %1 lacks the field(s) %2.").arg(table, missing.join(", "))));
    }
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM tbl_Setup")) || !q.next())
        throw StorageError(describe(QStringLiteral("reading the settings"), q.lastError().text()));
    if (q.value(0).toInt() < 1)
        throw StorageError(describe(QStringLiteral("reading the settings"),
                                    QStringLiteral("The table tbl_Setup has no settings row.")));
}

sqlite3* Database::native()
{
    if (server_)
        throw StorageError(describe(QStringLiteral("reading the pages"),
                                    QStringLiteral("The book is on a server, not in a file.")));
    const QVariant handle = db_.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        if (sqlite3* h = *static_cast<sqlite3* const*>(handle.data()))
            return h;
    throw StorageError(describe(QStringLiteral("reading the pages"),
                                QStringLiteral("The database connection is not open.")));
}

sqlite3_stmt* Database::statement(const char* sql)
{
    auto found = statements_.find(sql);
    if (found != statements_.end())
        return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(native(), sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw StorageError(describe(QStringLiteral("preparing a query"),
                                    QString::fromUtf8(sqlite3_errmsg(native()))));
    }
    statements_.emplace(sql, stmt);
    return stmt;
}

QSqlQuery Database::prepare(const QString& sql)
{
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw StorageError(describe(QStringLiteral("preparing a query"), q.lastError().text()));
    return q;
}

void Database::exec(QSqlQuery& query, const QString& what)
{
    if (!query.exec())
        throw StorageError(describe(what, query.lastError().text()));
}

QString Database::describe(const QString& what, const QString& detail) const
{
    if (server_)
        return server_->describe(what, detail);
    QString why = detail.trimmed().isEmpty() ? QStringLiteral("unknown error") : detail.trimmed();
    // The engine's own words for a file it may not write are not the user's.
    if (why.contains(QLatin1String("readonly database")))
        why = QStringLiteral("The file is read-only: nothing can be stored in it.");
    return QStringLiteral("The database file %1 failed while %2:\n%3").arg(path_, what, why);
}

Query::Query(Database& db, const char* sql, const QString& what) : db_(db), what_(what)
{
    stmt_ = db_.statement(sql);
    if (sqlite3_stmt_busy(stmt_)) {
        stmt_ = nullptr;
        own_ = true;
        if (sqlite3_prepare_v2(db_.native(), sql, -1, &stmt_, nullptr) != SQLITE_OK)
            fail();
    }
}

Query::~Query()
{
    if (own_) {
        sqlite3_finalize(stmt_);
    } else {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

bool Query::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail();
    return false;
}

void Query::run()
{
    while (step()) {
    }
}

int Query::changes() const
{
    return sqlite3_changes(db_.native());
}

void Query::fail()
{
    const QString detail = QString::fromUtf8(sqlite3_errmsg(db_.native()));
    // The statement is reset now, so that the error does not stay with it.
    if (stmt_ && !own_)
        sqlite3_reset(stmt_);
    throw StorageError(db_.describe(what_, detail));
}

Transaction::Transaction(Database& db, const QString& what) : db_(db), what_(what)
{
    if (!db_.connection().transaction())
        throw StorageError(db_.describe(what_, db_.connection().lastError().text()));
    open_ = true;
}

Transaction::~Transaction()
{
    if (open_)
        db_.connection().rollback();
}

void Transaction::commit()
{
    if (!db_.connection().commit()) {
        const QString detail = db_.connection().lastError().text();
        db_.connection().rollback();
        open_ = false;
        throw StorageError(db_.describe(what_, detail));
    }
    open_ = false;
}

}  // namespace storage
