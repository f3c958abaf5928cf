// The book on a PostgreSQL server: moving a db.mdb in and backing it up again, the messages of
// a server that cannot serve, two desks adding one day, and a connection the server drops.
#include "common/refusal.h"
#include "common/daypage.h"
#include <QLabel>
#include "common/files.h"
#include "common/testbook.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "storage/database.h"
#include "storage/history.h"
#include "storage/pagesearch.h"
#include "storage/pagetable.h"
#include "storage/server/connection.h"
#include "storage/server/deadline.h"
#include "storage/server/server.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <QSqlDriver>
#include <csignal>
#include <cstdio>
#include <future>
#include <thread>
#include <libpq-fe.h>

using namespace storage;

namespace {

// Every row of the three tables, in id order (dates and flags the same on both engines).
QStringList rowsOf(const QString& file)
{
    return fileRows(file, {"SELECT * FROM tbl_Setup", "SELECT * FROM tbl_Appt ORDER BY id",
                           "SELECT * FROM tbl_Order ORDER BY id"});
}

// Counts the round trips of the program's connections to the server while it lives: each run
// of messages a connection sends before the server answers, as libpq traces them.
class RoundTrips {
public:
    RoundTrips()
    {
        for (const auto& [name, connection] : connections()) {
            FILE* trace = std::tmpfile();
            PQtrace(connection, trace);
            PQsetTraceFlags(connection, PQTRACE_SUPPRESS_TIMESTAMPS);
            traced_.push_back({name, connection, trace});
        }
    }
    ~RoundTrips()
    {
        stop();
        for (const Traced& t : traced_)
            std::fclose(t.trace);
    }
    int count()
    {
        stop();
        int trips = 0;
        for (const Traced& t : traced_) {
            std::rewind(t.trace);
            bool sending = false;
            char* line = nullptr;
            size_t size = 0;
            while (getline(&line, &size, t.trace) > 0) {
                if (line[0] == 'F' && !std::exchange(sending, true))
                    ++trips;
                else if (line[0] == 'B')
                    sending = false;
            }
            free(line);
        }
        return trips;
    }

private:
    struct Traced {
        QString name;
        PGconn* connection;
        FILE* trace;
    };
    static std::vector<std::pair<QString, PGconn*>> connections()
    {
        std::vector<std::pair<QString, PGconn*>> found;
        for (const QString& name : QSqlDatabase::connectionNames()) {
            const QVariant handle = QSqlDatabase::database(name, false).driver()->handle();
            if (name.startsWith(QLatin1String("calvora-server-")) && handle.isValid())
                found.emplace_back(name, *static_cast<PGconn* const*>(handle.data()));
        }
        return found;
    }
    void stop()
    {
        // Only where the connection is still the one traced (a reconnect ends it).
        for (const auto& [name, connection] : connections())
            for (Traced& t : traced_)
                if (t.name == name && t.connection == connection)
                    PQuntrace(std::exchange(t.connection, nullptr));
    }
    std::vector<Traced> traced_;
};

}  // namespace

class tst_server : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(testserver::reach(), "no PostgreSQL server for the tests");
        // The program's connections carry the desk's name: the cases below find them by it.
        storage::setDeskName(QStringLiteral("calvora"));
    }

    void backupGivesTheSamePages()
    {
        // The seed holds Nulls, flags, umlauts and the documents: a db.mdb moved in and backed up
        // again has every row and field as before, and opens as the file.
        TestBook book;
        fileSql(book.folder.databasePath(), "INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo) "
                                           "VALUES ('2031-02-03', 'Grüße\tMüller ß \"q\" 100% a_b', 1, NULL)");
        const RestoreResult loaded = restoreServer(book.folder.databasePath(), book.server().conninfo());
        QCOMPARE(loaded.leftOut, 0);
        QTemporaryDir out;
        const QString backup = out.filePath("db.mdb");
        backupServer(book.server().conninfo(), backup);
        QCOMPARE(rowsOf(backup), rowsOf(book.folder.databasePath()));
        Database file(backup);
        QCOMPARE(PageTable(file).find(QDate(2031, 2, 3))->clinic, std::optional<bool>(true));
    }

    void rowsOfATakenDateAreCounted()
    {
        TestBook book;
        const QString file = book.folder.databasePath();
        fileSql(file, "INSERT INTO tbl_Appt (CalDate, Data) VALUES ('2031-05-05', 'older')");
        fileSql(file, "INSERT INTO tbl_Appt (CalDate, Data) VALUES ('2031-05-05', 'newer')");
        fileSql(file, "INSERT INTO tbl_Appt (CalDate, Data) VALUES ('not a date', 'lost')");
        const int before = book.server().value("SELECT count(*) FROM tbl_Appt").toInt();
        const RestoreResult result = restoreServer(file, book.server().conninfo());
        QCOMPARE(result.leftOut, 2);
        QCOMPARE(result.pages, before + 1);
        // The server keeps the row the program shows: the newest of the date.
        Database db(book.location());
        QCOMPARE(PageTable(db).find(QDate(2031, 5, 5))->data, QStringLiteral("newer"));
        QCOMPARE(PageTable(db).count(), before + 1);
        // A page added later comes after the restored ones, as in the file.
        const PageRow added = PageTable(db).add(QDate(2032, 1, 1), readSettings(db).layout, "x", false);
        QVERIFY(added.id > book.server().value("SELECT max(id) FROM tbl_Appt WHERE CalDate < '2032-01-01'").toLongLong());
    }

    void refusedRestoreChangesNothing()
    {
        TestBook book;
        book.exec("UPDATE tbl_Appt SET Memo = 'kept'");
        QTemporaryDir dir;
        const QString damaged = dir.filePath("db.mdb");
        writeFile(damaged, QByteArray(4096, 'x'));
        const QString copy = dir.filePath("noorder.mdb");
        QVERIFY(QFile::copy(book.folder.databasePath(), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        fileSql(copy, "DROP TABLE tbl_Order");
        // Sound page by page, but with an index that does not match its rows.
        const QString badIndex = dir.filePath("badindex.mdb");
        QVERIFY(QFile::copy(book.folder.databasePath(), badIndex));
        QFile::setPermissions(badIndex, QFile::ReadOwner | QFile::WriteOwner);
        fileRows(badIndex, {"PRAGMA writable_schema = ON", "UPDATE sqlite_master SET sql = replace(sql, "
                            "'(CalDate, id)', '(Data, id)') WHERE name = 'idx_Appt_CalDate'"});
        for (const QString& source : {damaged, copy, badIndex, dir.filePath("missing.mdb")}) {
            const QString said = refusal<StorageError>([&] { restoreServer(source, book.server().conninfo()); });
            QVERIFY2(said.contains(QDir::toNativeSeparators(source)), qPrintable(said));
        }
        QCOMPARE(book.server().value("SELECT count(*) FROM tbl_Appt WHERE Memo = 'kept'").toInt(),
                 book.server().value("SELECT count(*) FROM tbl_Appt").toInt());
    }

    void restoreRefusesTheDatabase_data()
    {
        QTest::addColumn<bool>("book");  // the database holds a book before the SQL is run
        QTest::addColumn<QString>("prepare");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a field the desks need missing") << true << "ALTER TABLE tbl_Appt DROP COLUMN version"
                                                        << "the table tbl_Appt lacks the field(s) version";
        QTest::newRow("another application's tables")
            << false << "CREATE TABLE patients (id int); CREATE VIEW recent AS SELECT 1 AS id"
            << "It is not a Calvora database: it holds the table(s) patients, recent.";
        QTest::newRow("some of the program's tables") << false << "CREATE TABLE tbl_Setup (location text)"
                                                      << "holds some of the program's tables but not all";
    }

    void restoreRefusesTheDatabase()
    {
        // Refused before anything is changed: no desk could open the database restored, or the
        // book would stand beside another application's data.
        QFETCH(bool, book);
        QFETCH(QString, prepare);
        QFETCH(QString, expected);
        TestFolder seed;
        ServerDatabase own;
        if (book)
            restoreServer(seed.databasePath(), own.conninfo());
        own.exec(prepare + (book ? QStringLiteral("; UPDATE tbl_Appt SET Memo = 'kept'") : QString()));
        const QString columns = QStringLiteral(
            "SELECT string_agg(table_name || '.' || column_name, ',' ORDER BY table_name, column_name) "
            "FROM information_schema.columns WHERE table_schema = current_schema()");
        const QString before = own.value(columns).toString();
        const QString said = refusal<StorageError>([&] { restoreServer(seed.databasePath(), own.conninfo()); });
        QVERIFY2(said.contains(expected), qPrintable(said));
        QCOMPARE(own.value(columns).toString(), before);
        if (book)
            QCOMPARE(own.value("SELECT count(*) FROM tbl_Appt WHERE Memo IS DISTINCT FROM 'kept'").toInt(), 0);
    }

    void restoreLooksForEveryField()
    {
        // Any one field of the program's tables missing, the restore is refused and names it
        // (the book id excepted, which a restore adds).
        TestFolder seed;
        ServerDatabase own;
        restoreServer(seed.databasePath(), own.conninfo());
        const QStringList fields = own.value(
            "SELECT string_agg(table_name || '.' || column_name, ',') FROM information_schema.columns "
            "WHERE table_schema = current_schema() AND table_name IN ('tbl_setup', 'tbl_appt', 'tbl_order') "
            "AND column_name <> 'bookid'").toString().split(u',');
        QVERIFY(fields.size() > 30);
        for (const QString& field : fields) {
            const QString table = field.section(u'.', 0, 0), column = field.section(u'.', 1);
            own.exec(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO gone").arg(table, column));
            const QString said = refusal<StorageError>([&] { restoreServer(seed.databasePath(), own.conninfo()); });
            QVERIFY2(said.contains("lacks the field(s) "), qPrintable(field + ": " + said));
            own.exec(QStringLiteral("ALTER TABLE %1 RENAME COLUMN gone TO %2").arg(table, column));
        }
    }

    void unusableServer_data()
    {
        QTest::addColumn<QString>("conninfo");
        QTest::addColumn<QString>("prepare");  // SQL run on an empty database of the test's own
        QTest::addColumn<QString>("expected");
        QTest::newRow("URI that cannot be read") << "postgresql://[bad" << "" << "connection text";
        QTest::newRow("a field missing")
            << "" << "CREATE TABLE tbl_Setup (location text); CREATE TABLE tbl_Appt (id int); CREATE TABLE tbl_Order (id int)"
            << "It is not a Calvora database: the table tbl_Setup lacks the field(s) open";
    }

    void unusableServer()
    {
        QFETCH(QString, conninfo);
        QFETCH(QString, prepare);
        QFETCH(QString, expected);
        ServerDatabase own;
        if (conninfo.isEmpty())
            conninfo = own.conninfo();
        if (!prepare.isEmpty())
            own.exec(prepare);
        program::setServer(conninfo);
        const QString said = refusal<StorageError>([&] { Database db(program::bookLocation()); });
        program::setServer(QString());
        QVERIFY2(said.contains(expected) && said.startsWith("The database " + serverDisplayName(conninfo)), qPrintable(said));
    }

    void sameNewDayOnTwoDesks()
    {
        TestBook book;
        Database desk1(book.location());
        Database desk2(book.location());
        const Layout layout = readSettings(desk1).layout;
        const QDate day(2033, 3, 3);
        const PageRow first = PageTable(desk1).add(day, layout, "first", false);
        const PageRow second = PageTable(desk2).add(day, layout, "second", true);
        QCOMPARE(second.id, first.id);
        QCOMPARE(second.data, QStringLiteral("first"));
        QCOMPARE(book.server().value("SELECT count(*) FROM tbl_Appt WHERE CalDate = '2033-03-03'").toInt(), 1);
    }

    void hostAndPortLists_data()
    {
        // %1: the suite's socket folder, %2: the database, %3: the practice's role. The first host
        // has no server: libpq goes on to the next, with the port at the same place in its list.
        QTest::addColumn<QString>("conninfo");
        QTest::newRow("hosts and ports") << "host=/nonexistent-calvora,%1 port=5433,5432 dbname=%2 user=%3";
        QTest::newRow("hosts, one port") << "host=/nonexistent-calvora,%1 port=5432 dbname=%2 user=%3";
        QTest::newRow("URI") << "postgresql:///%2?host=/nonexistent-calvora,%1&port=5433,5432&user=%3";
    }

    void hostAndPortLists()
    {
        QFETCH(QString, conninfo);
        TestBook book;
        program::setServer(conninfo.arg(qEnvironmentVariable("PGHOST"), book.server().name(), ServerDatabase::role()));
        Database db(program::bookLocation());
        QCOMPARE(PageTable(db).find(QDate(1998, 8, 8))->calDate, QDate(1998, 8, 8));
    }

    void serverFoldsOtherwise()
    {
        // Under a Turkish locale the server folds I to a dotless i: its narrowing would leave out
        // a page the program's own matcher finds. The search finds it all the same, and says why
        // it is slower.
        TestFolder seed;
        ServerDatabase own(QStringLiteral("tr_TR.UTF-8"));
        restoreServer(seed.databasePath(), own.conninfo());
        own.exec("UPDATE tbl_Appt SET Data = 'IVAN PETROV' WHERE CalDate = '1998-08-08'");
        QCOMPARE(own.value("SELECT lower('I') = 'i'").toBool(), false);
        program::setServer(own.conninfo());
        {
            Database db(program::bookLocation());
            PageSearch search(db, QStringLiteral("ivan"));
            const std::optional<PageMatch> found = search.next(std::nullopt);
            QVERIFY(found);
            QCOMPARE(found->calDate, QDate(1998, 8, 8));
            QVERIFY2(search.notice().contains(QStringLiteral("tr_TR")), qPrintable(search.notice()));
        }
        program::setServer(QString());
    }

    void checksGiveUpAtTheDeadline_data()
    {
        QTest::addColumn<QString>("check");
        QTest::newRow("whether the book has a history") << "history";
        QTest::newRow("the tables a restore finds") << "tables";
        QTest::newRow("the book id a reconnect compares") << "bookId";
    }
    void checksGiveUpAtTheDeadline()
    {
        // The server's process stops answering between two round trips: the checks made before
        // a read or a restore give up at the deadline as a store does, rather than wait for it.
        QFETCH(QString, check);
        TestBook book(true);
        ServerConnection connection(book.server().conninfo(), ServerConnection::Open::Book,
                                    std::chrono::milliseconds(400));
        const int pid = PQbackendPID(pgconn(connection.database()));
        QVERIFY(pid > 0);
        // Resumed at the latest after eight seconds, so that a check that waits ends the case.
        std::promise<void> checked;
        std::thread resume([pid, done = checked.get_future()] {
            done.wait_for(std::chrono::seconds(8));
            ::kill(pid, SIGCONT);
        });
        ::kill(pid, SIGSTOP);
        QElapsedTimer waited;
        waited.start();
        QString told;
        try {
            if (check == "history")
                connection.hasHistory(QStringLiteral("reading the history"));
            else if (check == "tables")
                connection.tables(QStringLiteral("restoring"));
            else
                connection.readBookId();
        } catch (const StorageError& e) {
            told = e.message();
        }
        const qint64 ms = waited.elapsed();
        checked.set_value();
        resume.join();
        QVERIFY2(told.contains(QStringLiteral("does not answer")), qPrintable(told));
        QVERIFY2(ms < 3000, qPrintable(QString::number(ms)));
    }

    void restoreRevivesNoRowRead_data()
    {
        QTest::addColumn<QString>("read");  // the page desk 1 holds when the book changes under it
        QTest::addColumn<QString>("between");  // what happens to the book after desk 1 read it
        QTest::newRow("a day added, then an earlier backup restored") << "added" << "restore";
        QTest::newRow("the same, desk 1 reconnected after the restore") << "added" << "restore, reconnect";
        QTest::newRow("a day of the backup, then the backup restored") << "backup's" << "restore";
        QTest::newRow("the row moved to another day") << "backup's" << "moved";
        QTest::newRow("the row removed, its day added again at the same version") << "backup's" << "added again";
    }

    void restoreRevivesNoRowRead()
    {
        // Desk 2 restores an earlier backup and adds a day: nothing desk 1 read before the restore
        // (a page, the set-up) stores over the restored book or over desk 2's new day.
        QFETCH(QString, read);
        QFETCH(QString, between);
        TestBook book;
        QTemporaryDir out;
        const QString earlier = out.filePath("db.mdb");
        backupServer(book.server().conninfo(), earlier);
        Database desk1(book.location());
        Database desk2(book.location());
        const Layout layout = readSettings(desk1).layout;
        PageRow mine = read == "added" ? PageTable(desk1).add(QDate(2031, 1, 1), layout, "desk 1", false)
                                       : *PageTable(desk1).find(QDate(1998, 8, 8));
        // The set-up stored more often than any page: a restore numbers above both.
        book.exec("UPDATE tbl_Setup SET version = (SELECT max(version) + 1 FROM tbl_Appt)");
        const int setupRead = readSettings(desk1).version;
        if (between.startsWith("restore"))
            restoreServer(earlier, book.server().conninfo());
        else if (between == "moved")
            book.exec(QStringLiteral("UPDATE tbl_Appt SET CalDate = '2031-02-02' WHERE id = %1").arg(mine.id));
        else
            book.exec(QStringLiteral("DELETE FROM tbl_Appt WHERE id = %1; INSERT INTO tbl_Appt (CalDate, Data, version) "
                                     "VALUES ('1998-08-08', 'added again', %2)").arg(mine.id).arg(mine.version));
        if (between.endsWith("reconnect"))
            book.server().endDeskConnections();
        const QString stored = book.value("SELECT Data FROM tbl_Appt WHERE CalDate = '1998-08-08'").toString();
        if (between != "moved") {
            const PageRow theirs = PageTable(desk2).add(QDate(2031, 2, 2), layout, "desk 2", false);
            QVERIFY2(theirs.id > mine.id, "an id handed out before the restore was handed out again");
        }
        const QString theirs = book.value("SELECT Data FROM tbl_Appt WHERE CalDate = '2031-02-02'").toString();
        mine.data = QStringLiteral("typed on desk 1");
        QVERIFY_THROWS_EXCEPTION(StaleVersion, PageTable(desk1).update(mine));
        QCOMPARE(book.value("SELECT Data FROM tbl_Appt WHERE CalDate = '2031-02-02'").toString(), theirs);
        QCOMPARE(book.value("SELECT Data FROM tbl_Appt WHERE CalDate = '1998-08-08'").toString(), stored);
        QCOMPARE(book.value("SELECT count(*) FROM tbl_Appt WHERE CalDate = '2031-01-01'").toInt(), 0);
        QCOMPARE(book.value("SELECT count(*) FROM tbl_History WHERE NewText LIKE '%typed on desk 1%'").toInt(), 0);
        // A set-up screen that read the settings before the restore stores nothing over it.
        if (between.startsWith("restore"))
            QVERIFY_THROWS_EXCEPTION(StaleSettings, storeTemplate(desk1, 1, QStringLiteral("x"), false, setupRead));
    }

    void lostConnection_data()
    {
        QTest::addColumn<QString>("work");
        QTest::newRow("a read") << "read";
        QTest::newRow("a store") << "store";
        QTest::newRow("a new page") << "add";
        QTest::newRow("the settings") << "settings";
    }

    void lostConnection()
    {
        // The server ends the connection while the desk is idle: the next use reconnects,
        // prepares its statements again, and nothing typed is lost.
        QFETCH(QString, work);
        TestBook book;
        Database db(book.location());
        PageTable pages(db);
        PageRow row = *pages.find(QDate(1998, 8, 8));
        book.server().endDeskConnections();
        if (work == "read") {
            QCOMPARE(pages.find(QDate(1998, 8, 8))->id, row.id);
        } else if (work == "store") {
            row.data = "typed before the connection went";
            pages.update(row);
            QCOMPARE(book.server().value("SELECT Data FROM tbl_Appt WHERE CalDate = '1998-08-08'").toString(), row.data);
        } else if (work == "add") {
            pages.add(QDate(2034, 4, 4), readSettings(db).layout, "new", false);
            QCOMPARE(book.server().value("SELECT Data FROM tbl_Appt WHERE CalDate = '2034-04-04'").toString(), "new");
        } else {
            writeMemoAndBook(db, "memo", "7");
            QCOMPARE(readSettings(db).bookno, QStringLiteral("7"));
        }
        // The statements work on after the reconnect.
        QCOMPARE(pages.find(QDate(1998, 8, 8))->calDate, QDate(1998, 8, 8));
    }

    void userThatMayOnlyRead()
    {
        // A user the practice lets only read: told once, no page is added for a day that has
        // none, and a typed page is asked about as on a read-only file.
        DayPageFixture f;
        testserver::admin(QStringLiteral("DO $$ BEGIN CREATE ROLE calvora_reader LOGIN; "
                                         "EXCEPTION WHEN duplicate_object THEN NULL; END $$"));
        testserver::admin(QStringLiteral("ALTER ROLE calvora_reader SET search_path = %1; GRANT CONNECT ON DATABASE %2 TO calvora_reader")
                              .arg(ServerDatabase::role(), f.book.server().name()));
        f.exec(QStringLiteral("GRANT USAGE ON SCHEMA %1 TO calvora_reader; GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO calvora_reader")
                   .arg(ServerDatabase::role()));
        f.exec(QStringLiteral("DELETE FROM tbl_Appt WHERE CalDate = '%1'").arg(DayPageFixture::key(DayPageFixture::Today)));
        const int pages = f.pageCount();
        program::setServer(f.book.server().conninfo() + QStringLiteral(" user=calvora_reader"));
        const bool opened = f.open();
        QVERIFY(opened);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages[0].text.startsWith(QStringLiteral("This desk's user may only read on")),
                 qPrintable(f.dialogs.messages[0].text));
        QCOMPARE(f.pageCount(), pages);
        f.form->Grid1->setTextMatrix(6, 1, QStringLiteral("typed by a reader"));
        f.dialogs.answerMessage(dialogs::Answer::Discard);
        f.openDate(QDate(1998, 8, 8));
        QCOMPARE(f.dialogs.messages.size(), 2);
        QVERIFY2(f.dialogs.messages[1].text.contains(QStringLiteral("permission denied")),
                 qPrintable(f.dialogs.messages[1].text));
        QCOMPARE(f.pageCount(), pages);
        f.close();
        program::setServer(f.book.server().conninfo());
        f.exec(QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA %1 FROM calvora_reader").arg(ServerDatabase::role()));
    }

    void storeMeetsAServerFault_data()
    {
        QTest::addColumn<QString>("fault");
        // What the one question says; empty where the desk asks nothing but works offline, keeping
        // the page, and stores it once the server serves again.
        QTest::addColumn<QString>("told");
        // No new connection is let in for a while.
        QTest::newRow("the server away") << "away" << "";
        // The commit does not land: the page is kept, and stored once, not twice.
        QTest::newRow("the commit lost") << "commitLost" << "";
        // A row another session holds: the server answers, the store gives up and asks.
        QTest::newRow("the page row held by another session") << "locked" << "does not answer";
        QTest::newRow("the server process suspended") << "stopped" << "";
    }

    void storeMeetsAServerFault()
    {
        // The typed page is never lost: where the server does not serve, the desk keeps it and
        // stores it once the server serves again; where it refuses, the user is asked once, and
        // Retry stores it once.
        QFETCH(QString, fault);
        QFETCH(QString, told);
        setServerDeadline(std::chrono::milliseconds(1500));
        DayPageFixture f;
        QVERIFY(f.open());
        const QString typed = QStringLiteral("typed before the server failed");
        f.form->Grid1->setTextMatrix(6, 1, typed);
        const QString name = f.book.server().name();
        const QString today = DayPageFixture::key(DayPageFixture::Today);
        const QString version = QStringLiteral("SELECT version FROM tbl_Appt WHERE CalDate = '%1'").arg(today);
        const int before = f.value(version).toInt();
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("holder"));
        holder.setDatabaseName(name);
        holder.setUserName(ServerDatabase::role());
        QVERIFY(holder.open());
        QList<int> stopped;
        if (fault == "away") {
            testserver::admin(QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS false").arg(name));
            f.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                  "WHERE datname = current_database() AND application_name = 'calvora'"));
        } else if (fault == "commitLost") {
            f.exec(QStringLiteral(
                "CREATE SEQUENCE cut_commit; "
                "CREATE FUNCTION cut_commit() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                "IF nextval('cut_commit') = 1 THEN PERFORM pg_terminate_backend(pg_backend_pid()); END IF; "
                "RETURN NULL; END $$; "
                "CREATE CONSTRAINT TRIGGER cut_commit AFTER UPDATE ON tbl_Appt DEFERRABLE INITIALLY DEFERRED "
                "FOR EACH ROW EXECUTE FUNCTION cut_commit()"));
        } else if (fault == "locked") {
            QSqlQuery(holder).exec(QStringLiteral("BEGIN"));
            QVERIFY(QSqlQuery(holder).exec(QStringLiteral("SELECT * FROM tbl_Appt WHERE CalDate = '%1' FOR UPDATE").arg(today)));
        } else {
            QSqlQuery q(holder);
            q.exec(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE datname = current_database() "
                                  "AND application_name = 'calvora'"));
            while (q.next())
                stopped << q.value(0).toInt();
            QVERIFY(!stopped.isEmpty());
            for (int pid : stopped)
                ::kill(pid, SIGSTOP);
        }
        auto release = [&] {
            if (fault == "away")
                testserver::admin(QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS true").arg(name));
            else if (fault == "locked")
                QSqlQuery(holder).exec(QStringLiteral("ROLLBACK"));
            for (int pid : std::exchange(stopped, {}))
                ::kill(pid, SIGCONT);
        };
        bool asked = false;
        f.dialogs.whenAsked = [&](const dialogs::Prompt& prompt) {
            asked = true;
            release();
            QVERIFY2(prompt.text.contains(told), qPrintable(prompt.text));
            QCOMPARE(f.form->Grid1->TextMatrix(6, 1), typed);
        };
        f.dialogs.answerMessage(dialogs::Answer::Retry);
        f.openDate(QDate(1998, 8, 8));
        const bool offline = told.isEmpty();
        if (offline) {
            QTRY_VERIFY_WITH_TIMEOUT(f.form->lblStatus->text().startsWith("Offline since"), 5000);
            release();
            QTRY_VERIFY_WITH_TIMEOUT(f.form->lblStatus->text().startsWith("Back online: 1 page stored"), 30000);
        }
        if (!asked)
            release();
        f.dialogs.whenAsked = nullptr;
        setServerDeadline(std::chrono::milliseconds(5000));
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        QVERIFY2(asked != offline, "the store was never given up");
        QCOMPARE(f.dialogs.messages.size(), offline ? 0 : 1);
        QCOMPARE(f.form->PageDate, QDate(1998, 8, 8));
        QVERIFY(f.storedData(DayPageFixture::Today).toString().contains(typed));
        QCOMPARE(f.value(version).toInt(), before + 1);
        QCOMPARE(f.value(QStringLiteral("SELECT count(*) FROM tbl_History WHERE NewText = '%1'").arg(typed)).toInt(), 1);
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("work");
        QTest::addColumn<int>("trips");
        // A server far away costs its round trip on each: a page browsed to comes at once with
        // the settings its template and layout come from.
        QTest::newRow("a switch to a page ahead") << "ahead" << 1;
        QTest::newRow("a switch to a page past") << "past" << 1;
        // The page read and held, then the store with its history, its notice and the commit.
        QTest::newRow("a store") << "store" << 2;
        // The day read, then its new page added, told and committed together.
        QTest::newRow("a new day") << "new" << 2;
        // The search's settings and its statement, then the end of its transaction.
        QTest::newRow("a search that finds nothing") << "search" << 2;
    }

    void roundTrips()
    {
        QFETCH(QString, work);
        QFETCH(int, trips);
        DayPageFixture f;
        const QDate ahead = DayPageFixture::Today.addDays(7);
        const QDate past(1998, 8, 8);
        f.addPage(ahead, QStringLiteral("booked ahead"));
        QVERIFY(f.open());
        QDate to = work == "ahead" ? ahead : past;
        Database desk(f.book.location());
        auto act = [&](int n) {
            if (work == "search") {
                QVERIFY(!PageSearch(desk, QStringLiteral("nobody at all")).next(std::nullopt));
            } else if (work == "store") {
                f.form->Grid1->setTextMatrix(6, 1, QStringLiteral("typed %1").arg(n));
                f.form->SavePage();
            } else if (work == "new") {
                to = past.addDays(n);
                f.openDate(to);
            } else {
                f.openDate(n % 2 ? to : DayPageFixture::Today);
            }
        };
        // The first time prepares the statements a connection keeps.
        act(1);
        act(2);
        RoundTrips counted;
        act(3);
        QCOMPARE(counted.count(), trips);
        DayPageFixture::settle();
        if (work == "store")
            QCOMPARE(f.value(QStringLiteral("SELECT count(*) FROM tbl_History WHERE NewText = 'typed 3'")).toInt(), 1);
        else if (work != "search")
            QCOMPARE(f.form->PageDate, to);
    }
};

QTEST_MAIN(tst_server)
#include "tst_server.moc"
