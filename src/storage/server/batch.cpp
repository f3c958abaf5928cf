#include "storage/tr.h"
#include "storage/server/connection.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <libpq-fe.h>

// The statements a unit of work sends to the server as one batch (libpq's pipeline), with the
// deadline on every wait, and the tables read through COPY.
namespace storage {

int ServerConnection::Rows::count() const
{
    return result_ ? PQntuples(result_.get()) : 0;
}

bool ServerConnection::Rows::isNull(int row, int column) const
{
    return PQgetisnull(result_.get(), row, column);
}

QString ServerConnection::Rows::text(int row, int column) const
{
    return QString::fromUtf8(PQgetvalue(result_.get(), row, column), PQgetlength(result_.get(), row, column));
}

qint64 ServerConnection::Rows::changed() const
{
    return result_ ? QByteArray(PQcmdTuples(result_.get())).toLongLong() : 0;
}

namespace {

// A value as text in the server's input syntax; none for Null, which a null text and an
// invalid date are too, as the driver binds them.
std::optional<QByteArray> valueText(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return QByteArray(v.toBool() ? "t" : "f");
    case QMetaType::QString:
        if (v.toString().isNull())
            return std::nullopt;
        return v.toString().toUtf8();
    case QMetaType::QDate:
        if (!v.toDate().isValid())
            return std::nullopt;
        return v.toDate().toString(Qt::ISODate).toLatin1();
    default:
        return v.toString().toUtf8();
    }
}

}  // namespace

std::vector<ServerConnection::Rows> ServerConnection::batch(const std::vector<Statement>& statements,
                                                            const QString& what, Then then)
{
    std::vector<Statement> sent;
    if (!begin_.isEmpty())
        sent.push_back({std::exchange(begin_, QString()), {}});
    const size_t first = sent.size();
    sent.insert(sent.end(), statements.begin(), statements.end());
    if (then == Then::Commit)
        sent.push_back({QStringLiteral("COMMIT"), {}});
    const bool commits = then == Then::Commit;

    PGconn* connection = pgconn(db_);
    if (!connection)
        throw ConnectionLost(describe(what, QString()));
    std::vector<std::shared_ptr<PGresult>> answers(sent.size());
    bool cut = false;
    deadline_.arm(connection, limit_);
    if (PQenterPipelineMode(connection)) {
        for (const Statement& s : sent) {
            std::vector<std::optional<QByteArray>> texts;
            for (const QVariant& v : s.values)
                texts.push_back(valueText(v));
            std::vector<const char*> values;
            for (const auto& t : texts)
                values.push_back(t ? t->constData() : nullptr);
            if (!PQsendQueryParams(connection, s.sql.toUtf8().constData(), int(values.size()), nullptr,
                                   values.data(), nullptr, nullptr, 0)) {
                cut = true;
                break;
            }
        }
        if (!cut && !PQpipelineSync(connection))
            cut = true;
        // Every statement's answer, then the end of the batch.
        for (size_t i = 0; !cut && i < sent.size(); ++i) {
            while (PGresult* r = PQgetResult(connection)) {
                if (!answers[i])
                    answers[i].reset(r, PQclear);
                else
                    PQclear(r);
                if (PQstatus(connection) != CONNECTION_OK)
                    break;
            }
            cut = PQstatus(connection) != CONNECTION_OK;
        }
        if (!cut) {
            PGresult* end = PQgetResult(connection);
            cut = !end || PQresultStatus(end) != PGRES_PIPELINE_SYNC;
            PQclear(end);
        }
        if (!cut && !PQexitPipelineMode(connection))
            cut = true;
    } else {
        cut = true;
    }
    const bool passed = deadline_.disarm();
    tellNotifications();

    // The first statement the server refused, and why.
    QString refusal;
    QByteArray state;
    size_t refused = sent.size();
    for (size_t i = 0; i < sent.size(); ++i) {
        const ExecStatusType status = answers[i] ? PQresultStatus(answers[i].get()) : PGRES_FATAL_ERROR;
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            continue;
        refused = i;
        if (answers[i]) {
            refusal = QString::fromUtf8(PQresultErrorMessage(answers[i].get())).trimmed();
            state = PQresultErrorField(answers[i].get(), PG_DIAG_SQLSTATE);
        }
        break;
    }
    if (cut || passed || lostAfterFailure()) {
        if (refusal.isEmpty())
            refusal = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
        // Where the COMMIT went out, whether it landed is not known: the unit's next run
        // checks what the server holds.
        if (commits) {
            inDoubt_ = what;
            inTransaction_ = false;
            throw StorageError(describe(what, passed ? notAnswering(Tr::tr("the commit")) + QLatin1Char(' ')
                                                           + Tr::tr("It is not known whether the change was stored.")
                                                     : Tr::tr("The connection to the server was lost while the change "
                                                              "was being committed, so it is not known whether it "
                                                              "was stored. %1").arg(refusal)),
                               StorageError::Kind::Unreachable);
        }
        if (passed)
            throw StorageError(notAnswering(what), StorageError::Kind::Unreachable);
        throw ConnectionLost(describe(what, refusal));
    }
    if (refused < sent.size()) {
        if (state == "55P03")  // a row another connection holds longer than the lock timeout
            throw StorageError(notAnswering(what));
        throw StorageError(describe(what, refusal));
    }
    if (commits)
        committed_ = true;
    std::vector<Rows> rows(statements.size());
    for (size_t i = 0; i < statements.size(); ++i)
        rows[i].result_ = answers[first + i];
    return rows;
}

void ServerConnection::copyOut(const QString& sql, const QString& what,
                               const std::function<void(QByteArrayView row)>& row)
{
    begin(what);
    PGconn* connection = pgconn(db_);
    if (!connection)
        throw ConnectionLost(describe(what, QString()));
    // What the server answered at the end, and whether any wait passed its deadline.
    bool passed = false;
    auto finish = [&](QString refusal) {
        while (PGresult* r = PQgetResult(connection)) {
            if (refusal.isEmpty() && PQresultStatus(r) != PGRES_COMMAND_OK)
                refusal = QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
            PQclear(r);
            if (PQstatus(connection) != CONNECTION_OK)
                break;
        }
        tellNotifications();
        if (passed)
            throw StorageError(notAnswering(what), StorageError::Kind::Unreachable);
        if (lostAfterFailure())
            throw ConnectionLost(describe(what, refusal.isEmpty() ? QString::fromUtf8(PQerrorMessage(connection)) : refusal));
        if (!refusal.isEmpty())
            throw StorageError(describe(what, refusal));
    };
    deadline_.arm(connection, limit_);
    PGresult* started = PQsendQuery(connection, sql.toUtf8().constData()) ? PQgetResult(connection) : nullptr;
    passed = deadline_.disarm();
    if (!started || PQresultStatus(started) != PGRES_COPY_OUT) {
        QString refusal = started ? QString::fromUtf8(PQresultErrorMessage(started)).trimmed() : QString();
        if (refusal.isEmpty())
            refusal = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
        PQclear(started);
        finish(refusal);
        throw StorageError(describe(what, refusal));
    }
    PQclear(started);
    std::exception_ptr failed;
    for (;;) {
        char* buffer = nullptr;
        deadline_.arm(connection, limit_);
        const int n = PQgetCopyData(connection, &buffer, 0);
        passed = deadline_.disarm() || passed;
        if (n <= 0)
            break;
        // A row the caller could not take: the rest is read and dropped, so that the
        // connection is ready for the next statement.
        if (!failed) {
            try {
                row(QByteArrayView(buffer, n));
            } catch (...) {
                failed = std::current_exception();
            }
        }
        PQfreemem(buffer);
    }
    finish(QString());
    if (failed)
        std::rethrow_exception(failed);
}

}  // namespace storage
