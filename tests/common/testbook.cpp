#include "common/testbook.h"

#include "storage/celltext.h"
#include "storage/server/server.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <atomic>

namespace {

std::atomic<int> g_count{0};

// Runs SQL through a fresh connection of the given driver and returns the first value.
QVariant run(const QString& driver, const QString& database, const QString& sql, const QString& user = QString())
{
    const QString name = QStringLiteral("testbook-%1").arg(++g_count);
    QVariant result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        db.setDatabaseName(database);
        db.setUserName(user);
        if (!db.open())
            qFatal("cannot open %s: %s", qPrintable(database), qPrintable(db.lastError().text()));
        QSqlQuery q(db);
        if (!q.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        if (q.isSelect() && q.next())
            result = q.value(0);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

}  // namespace

QString withCell(const QString& data, int row, int col, const QString& text)
{
    QList<QStringList> rows = celltext::split(data);
    while (rows.size() <= row)
        rows.append(QStringList());
    while (rows[row].size() <= col)
        rows[row].append(QString());
    rows[row][col] = text;
    return celltext::join(rows);
}

namespace testserver {

bool engineIsServer()
{
    return qEnvironmentVariable("CALVORA_ENGINE") == QLatin1String("server");
}

bool reach()
{
    if (qEnvironmentVariableIsEmpty("PGHOST")) {
        QFile note(QStringLiteral(CALVORA_BUILD_DIR "/pgcluster"));
        if (!note.open(QIODevice::ReadOnly))
            return false;
        qputenv("PGHOST", note.readAll().trimmed());
        if (qEnvironmentVariableIsEmpty("PGUSER"))
            qputenv("PGUSER", "postgres");
    }
    return true;
}

void admin(const QString& sql)
{
    run(QStringLiteral("QPSQL"), QStringLiteral("postgres"), sql);
}

}  // namespace testserver

ServerDatabase::ServerDatabase(const QString& ctype)
{
    if (!testserver::reach())
        qFatal("no PostgreSQL server for the tests (start the suite through ctest)");
    name_ = QStringLiteral("calvora_t%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_count);
    testserver::admin(
        QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' "
                       "LC_CTYPE '%2'").arg(name_, ctype));
    // The rights the README's set-up gives the practice's role, and nothing else.
    asAdmin(QStringLiteral("REVOKE ALL ON DATABASE %1 FROM PUBLIC; "
                           "GRANT CONNECT, TEMPORARY ON DATABASE %1 TO %2; "
                           "CREATE SCHEMA %2 AUTHORIZATION %2; "
                           "CREATE EXTENSION IF NOT EXISTS pg_trgm").arg(name_, role()));
}

ServerDatabase::~ServerDatabase()
{
    testserver::admin(
        QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
}

QVariant ServerDatabase::value(const QString& sql) const
{
    return run(QStringLiteral("QPSQL"), name_, sql, role());
}

QVariant ServerDatabase::asAdmin(const QString& sql) const
{
    return run(QStringLiteral("QPSQL"), name_, sql);
}

void ServerDatabase::exec(const QString& sql) const
{
    value(sql);
}

void ServerDatabase::endDeskConnections() const
{
    exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                        "WHERE datname = current_database() AND application_name = 'calvora'"));
}

TestBook::TestBook(bool onServer)
{
    if (!onServer)
        return;
    server_ = std::make_unique<ServerDatabase>();
    storage::restoreServer(folder.databasePath(), server_->conninfo());
    program::setServer(server_->conninfo());
}

TestBook::~TestBook()
{
    program::setServer(QString());
}

QString TestBook::storedCell(QDate date, int gridRow, int gridCol) const
{
    const QString data = value(QStringLiteral("SELECT Data FROM tbl_Appt WHERE CalDate = '%1'")
                                   .arg(date.toString(Qt::ISODate))).toString();
    return celltext::split(data).value(gridRow - 3).value(gridCol - 1);
}

QVariant TestBook::value(const QString& sql) const
{
    return server_ ? server_->value(sql) : run(QStringLiteral("QSQLITE"), folder.databasePath(), sql);
}

void TestBook::exec(const QString& sql) const
{
    value(sql);
}
