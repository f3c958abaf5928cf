#pragma once
// The floors on a server: the same queries through libpq directly, one prepared statement
// each, text results read into plain values.
#include "raw.h"

#include <QDate>
#include <QString>
#include <libpq-fe.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

class RawPq {
public:
    explicit RawPq(const QString& conninfo) : conn_(PQconnectdb(conninfo.toUtf8().constData()))
    {
        if (PQstatus(conn_) != CONNECTION_OK)
            fail("connect");
    }
    ~RawPq() { PQfinish(conn_); }
    RawPq(const RawPq&) = delete;
    RawPq& operator=(const RawPq&) = delete;

    PGconn* get() const { return conn_; }

    void prepare(const char* name, const char* sql)
    {
        PGresult* r = PQprepare(conn_, name, sql, 0, nullptr);
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        if (!ok)
            fail(name);
    }
    // Runs a prepared statement with text parameters; the result is the caller's to PQclear.
    PGresult* run(const char* name, const std::vector<QByteArray>& params)
    {
        std::vector<const char*> values;
        for (const QByteArray& p : params)
            values.push_back(p.constData());
        PGresult* r = PQexecPrepared(conn_, name, int(values.size()), values.data(), nullptr, nullptr, 0);
        const ExecStatusType s = PQresultStatus(r);
        if (s != PGRES_TUPLES_OK && s != PGRES_COMMAND_OK) {
            PQclear(r);
            fail(name);
        }
        return r;
    }
    void exec(const char* sql)
    {
        PGresult* r = PQexec(conn_, sql);
        const ExecStatusType s = PQresultStatus(r);
        PQclear(r);
        if (s != PGRES_TUPLES_OK && s != PGRES_COMMAND_OK)
            fail(sql);
    }
    [[noreturn]] void fail(const char* what) const
    {
        throw std::runtime_error(std::string(what) + ": " + PQerrorMessage(conn_));
    }

private:
    PGconn* conn_;
};

inline QString pqText(const PGresult* r, int row, int column)
{
    return QString::fromUtf8(PQgetvalue(r, row, column), PQgetlength(r, row, column));
}

// A page row of a result, read as the file's floor reads it.
inline void readPqRow(const PGresult* r, int row, RawRow& out)
{
    out.id = QByteArray(PQgetvalue(r, row, 0)).toLongLong();
    out.calDate = QDate::fromString(QString::fromLatin1(PQgetvalue(r, row, 1)), Qt::ISODate);
    out.data = pqText(r, row, 2);
    out.clinic = PQgetisnull(r, row, 3) ? -1 : (*PQgetvalue(r, row, 3) == 't');
    out.memo = pqText(r, row, 4);
    out.location = pqText(r, row, 5);
    out.open = pqText(r, row, 6);
    out.close = pqText(r, row, 7);
    out.timeslot = QByteArray(PQgetvalue(r, row, 8)).toInt();
    out.listno = QByteArray(PQgetvalue(r, row, 9)).toInt();
    out.sites = pqText(r, row, 10);
    out.names = pqText(r, row, 11);
}

inline constexpr const char* PqFindSql =
    "SELECT id, CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names "
    "FROM tbl_Appt WHERE CalDate = $1";

}  // namespace bench
