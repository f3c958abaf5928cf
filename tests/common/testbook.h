#pragma once
// The appointment book a test works on, on the engine the test run names: the file, or a
// database of the test's own on the suite's PostgreSQL server (CALVORA_ENGINE=server).
#include "common/testfolder.h"
#include "platform/programfolder.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <memory>

namespace testserver {
// Whether this run keeps its books on the server.
bool engineIsServer();
// Points libpq's environment (PGHOST, PGPORT, PGUSER) at the suite's own server where the
// environment names none; false when there is no server to reach.
bool reach();
// Runs SQL on the server's own database postgres, as its administrator.
void admin(const QString& sql);
}  // namespace testserver

// A page's cell text with one cell set (its row and column in the text, from 0), grown as needed.
QString withCell(const QString& data, int row, int col, const QString& text);

// A database of its own on the suite's server, dropped at the end.
class ServerDatabase {
public:
    // A database whose letters the server folds by `ctype`.
    explicit ServerDatabase(const QString& ctype = QStringLiteral("C.UTF-8"));
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    const QString& name() const { return name_; }
    // Reached as the practice's role, with the rights the README gives it and no more.
    QString conninfo() const { return QStringLiteral("dbname=%1 user=%2").arg(name_, role()); }
    static QString role() { return QStringLiteral("calvora"); }
    // Runs SQL in this database as another desk would, through a connection of its own.
    QVariant value(const QString& sql) const;
    void exec(const QString& sql) const;
    // Runs SQL in this database as the server's administrator, for what a test does to the
    // server itself (roles, rules, settings).
    QVariant asAdmin(const QString& sql) const;
    // Ends the program's connections to this database, as a restarted server would.
    void endDeskConnections() const;

private:
    QString name_;
};

// A fresh book made from the seed: the seed's db.mdb in a fresh program folder, and on the
// server that file restored into a new database (the same path as moving a practice in).
// The program is pointed at it while the book lives.
class TestBook {
public:
    explicit TestBook(bool onServer = testserver::engineIsServer());
    ~TestBook();

    bool onServer() const { return server_ != nullptr; }
    program::BookLocation location() const { return program::bookLocation(); }
    // Runs SQL on the book through a connection of its own.
    QVariant value(const QString& sql) const;
    void exec(const QString& sql) const;
    // A cell of a date's page as stored, at its grid coordinates (as the day page shows it).
    QString storedCell(QDate date, int gridRow, int gridCol) const;
    // The server's database (only on the server).
    ServerDatabase& server() { return *server_; }

    TestFolder folder;

private:
    std::unique_ptr<ServerDatabase> server_;
};
