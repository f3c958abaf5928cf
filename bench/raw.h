#pragma once
// The floors: the same work done the plainest way, on SQLite's C API directly.
#include <QDate>
#include <QString>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace bench {

// One connection of the engine's own, closed on every way out.
class RawDb {
public:
    explicit RawDb(const QString& path, bool readOnly = false)
    {
        const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK)
            fail("open");
    }
    ~RawDb() { sqlite3_close_v2(db_); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    sqlite3* get() const { return db_; }
    void exec(const char* sql)
    {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(sql);
    }
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK)
            fail(sql);
        return st;
    }
    [[noreturn]] void fail(const char* what) const
    {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db_));
    }

private:
    sqlite3* db_ = nullptr;
};

// A prepared statement, finalised on every way out.
class RawStatement {
public:
    RawStatement(RawDb& db, const char* sql) : stmt_(db.prepare(sql)) {}
    ~RawStatement() { sqlite3_finalize(stmt_); }
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    operator sqlite3_stmt*() const { return stmt_; }

private:
    sqlite3_stmt* stmt_;
};

inline QString text(sqlite3_stmt* st, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                             sqlite3_column_bytes(st, column));
}

// CalDate "yyyy-MM-dd" read as the storage layer reads it.
inline QDate date(sqlite3_stmt* st, int column)
{
    const auto* t = sqlite3_column_text(st, column);
    if (!t || sqlite3_column_bytes(st, column) < 10)
        return QDate();
    auto n = [&](int from, int len) {
        int v = 0;
        for (int i = from; i < from + len; ++i)
            v = v * 10 + (t[i] - '0');
        return v;
    };
    return QDate(n(0, 4), n(5, 2), n(8, 2));
}

inline QByteArray key(QDate d)
{
    return d.toString(Qt::ISODate).toLatin1();
}

// The whole of a page row read into plain values: what finding a page hands on.
struct RawRow {
    qint64 id = 0;
    QDate calDate;
    QString data, memo, location, open, close, sites, names;
    int clinic = -1, timeslot = 0, listno = 0;
};

inline void readRow(sqlite3_stmt* st, RawRow& r)
{
    r.id = sqlite3_column_int64(st, 0);
    r.calDate = date(st, 1);
    r.data = text(st, 2);
    r.clinic = sqlite3_column_type(st, 3) == SQLITE_NULL ? -1 : sqlite3_column_int(st, 3);
    r.memo = text(st, 4);
    r.location = text(st, 5);
    r.open = text(st, 6);
    r.close = text(st, 7);
    r.timeslot = sqlite3_column_int(st, 8);
    r.listno = sqlite3_column_int(st, 9);
    r.sites = text(st, 10);
    r.names = text(st, 11);
}

inline constexpr const char* FindSql =
    "SELECT id, CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names "
    "FROM tbl_Appt WHERE CalDate = ?1 ORDER BY id DESC LIMIT 1";

}  // namespace bench
