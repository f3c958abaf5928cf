#include "storage/database.h"

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

// The tables and the fields the program relies on.
struct Expected {
    const char* table;
    QStringList fields;
};
const Expected kTables[] = {
    {"tbl_Setup",
     {"location", "open", "Close", "timeslot", "Listno", "Names", "Sites", "FixedMemo", "bookno",
      "Readme", "Licence", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun", "chk1", "chk2", "chk3",
      "chk4", "chk5", "chk6", "chk7"}},
    {"tbl_Appt",
     {"CalDate", "Data", "Clinic", "Memo", "location", "open", "Close", "timeslot", "Listno",
      "Sites", "Names"}},
    {"tbl_Order", {"Help"}},
};
}  // namespace

Database::Database(const QString& path) : path_(path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw StorageError(describe(QStringLiteral("opening it"),
                                    QStringLiteral("The file does not exist.")));
    if (!info.isFile() || !info.isReadable())
        throw StorageError(describe(QStringLiteral("opening it"),
                                    QStringLiteral("The file cannot be read.")));

    name_ = QStringLiteral("calvora-%1").arg(++g_connectionCount);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(path);
    // Wait a little for a lock held by another program before giving up.
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db_.open()) {
        const QString detail = db_.lastError().text();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw StorageError(describe(QStringLiteral("opening it"), detail));
    }
    try {
        check();
    } catch (...) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw;
    }
}

Database::~Database()
{
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
}

void Database::check()
{
    for (const Expected& t : kTables) {
        const QString table = QString::fromLatin1(t.table);
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
        QStringList missing;
        for (const QString& f : t.fields)
            if (!present.contains(f.toLower()))
                missing << f;
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
    const QVariant handle = db_.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        if (sqlite3* h = *static_cast<sqlite3* const*>(handle.data()))
            return h;
    throw StorageError(describe(QStringLiteral("reading the pages"),
                                QStringLiteral("The database connection is not open.")));
}

QSqlQuery Database::prepare(const QString& sql)
{
    QSqlQuery q(db_);
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
    return QStringLiteral("The database file %1 failed while %2:\n%3")
        .arg(path_, what, detail.trimmed().isEmpty() ? QStringLiteral("unknown error") : detail.trimmed());
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
