#include "storage/tr.h"
#include "storage/file/connection.h"

#include "storage/database.h"
#include "storage/file/fileengine.h"
#include "storage/history.h"
#include "storage/schema.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <atomic>
#include <sqlite3.h>
#include <QCoreApplication>

namespace storage {
namespace {
std::atomic<int> g_connectionCount{0};
}  // namespace

FileConnection::FileConnection(const QString& path) : path_(path), desk_(deskName())
{
    const QFileInfo info(path_);
    if (!info.exists())
        throw StorageError(describe(Tr::tr("opening it"),
                                    Tr::tr("The file does not exist.")));
    if (!info.isFile() || !info.isReadable())
        throw StorageError(describe(Tr::tr("opening it"),
                                    Tr::tr("The file cannot be read.")));
    name_ = QStringLiteral("calvora-%1").arg(++g_connectionCount);
    open();
}

FileConnection::~FileConnection()
{
    close();
}

void FileConnection::open()
{
    historyKnown_ = false;
    searchIndexed_.reset();
    historyIndexKnown_ = false;
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(path_);
    // Wait a little for a lock held by another program before giving up.
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db_.open()) {
        const QString detail = db_.lastError().text();
        close();
        throw StorageError(describe(Tr::tr("opening it"), detail));
    }
    try {
        check();
    } catch (const StorageError&) {
        // A read-only file whose journal holds an unfinished change cannot even be read:
        // the engine would have to undo the change first.
        const bool unfinished = unfinishedChangeReadOnly();
        close();
        if (unfinished)
            throw StorageError(Tr::tr(
                "The database file %1 cannot be read: it is read-only and holds an unfinished "
                "change that only a writable copy can undo (the journal %2 beside it keeps "
                "that change). Make the file writable, or copy it together with its journal "
                "to a writable folder, and open it again.")
                                   .arg(path_, path_ + QStringLiteral("-journal")));
        throw;
    }
}

void FileConnection::close()
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

void FileConnection::reopen()
{
    close();
    open();
}

bool FileConnection::readOnly()
{
    return sqlite3_db_readonly(native(), "main") == 1;
}

bool FileConnection::unfinishedChangeReadOnly()
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

void FileConnection::check()
{
    for (const ExpectedTable& t : expectedTables(false)) {
        const QString& table = t.table;
        QSqlQuery q(db_);
        // The engine's own words (as "file is not a database"), without the driver's.
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            throw StorageError(describe(Tr::tr("reading its tables"), q.lastError().databaseText()));
        QStringList present;
        while (q.next())
            present << q.value(1).toString().toLower();
        if (present.isEmpty())
            throw StorageError(describe(Tr::tr("reading its tables"),
                                        Tr::tr("The table %1 is missing.").arg(table)));
        const QStringList missing = missingFields(t, present);
        if (!missing.isEmpty())
            throw StorageError(describe(
                Tr::tr("reading its tables"),
                Tr::tr("The table %1 lacks the field(s) %2.").arg(table, missing.join(", "))));
    }
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM tbl_Setup")) || !q.next())
        throw StorageError(describe(Tr::tr("reading the settings"), q.lastError().text()));
    if (q.value(0).toInt() < 1)
        throw StorageError(describe(Tr::tr("reading the settings"),
                                    Tr::tr("The table tbl_Setup has no settings row.")));
}

sqlite3* FileConnection::native()
{
    const QVariant handle = db_.isValid() ? db_.driver()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        if (sqlite3* h = *static_cast<sqlite3* const*>(handle.data()))
            return h;
    throw StorageError(describe(Tr::tr("reading the pages"),
                                Tr::tr("The database connection is not open.")));
}

sqlite3_stmt* FileConnection::statement(const char* sql)
{
    auto found = statements_.find(sql);
    if (found != statements_.end())
        return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(native(), sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw StorageError(describe(Tr::tr("preparing a query"),
                                    QString::fromUtf8(sqlite3_errmsg(native()))));
    }
    statements_.emplace(sql, stmt);
    return stmt;
}

QSqlQuery FileConnection::prepare(const QString& sql)
{
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw StorageError(describe(Tr::tr("preparing a query"), q.lastError().text()));
    return q;
}

void FileConnection::exec(QSqlQuery& query, const QString& what)
{
    if (!query.exec())
        throw StorageError(describe(what, query.lastError().text()));
}

QString FileConnection::describe(const QString& what, const QString& detail) const
{
    QString why = detail.trimmed().isEmpty() ? Tr::tr("unknown error") : detail.trimmed();
    // The engine's own words for a file it may not write are not the user's.
    if (why.contains(QLatin1String("readonly database")))
        why = Tr::tr("The file is read-only: nothing can be stored in it.");
    return Tr::tr("The database file %1 failed while %2:\n%3").arg(path_, what, why);
}

QString FileEngine::describe(const QString& what, const QString& detail) const
{
    return file_.describe(what, detail);
}

bool FileEngine::readOnly()
{
    return file_.readOnly();
}

void FileEngine::reopen()
{
    file_.reopen();
}

void FileEngine::watch(BookEvents*)
{
    // One desk at a time: no other desk changes the file while it is open here.
}

}  // namespace storage
