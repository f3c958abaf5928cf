#include "storage/file/query.h"

#include "storage/database.h"
#include "storage/file/connection.h"

#include <QSqlError>

namespace storage {

Query::Query(FileConnection& db, const char* sql, const QString& what) : db_(db), what_(what)
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

void Query::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
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

Transaction::Transaction(FileConnection& db, const QString& what) : db_(db), what_(what)
{
    if (!db_.database().transaction())
        throw StorageError(db_.describe(what_, db_.database().lastError().text()));
    open_ = true;
}

Transaction::~Transaction()
{
    if (open_)
        db_.database().rollback();
}

void Transaction::commit()
{
    if (!db_.database().commit()) {
        const QString detail = db_.database().lastError().text();
        db_.database().rollback();
        open_ = false;
        throw StorageError(db_.describe(what_, detail));
    }
    open_ = false;
}

}  // namespace storage
