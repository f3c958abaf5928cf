#pragma once
// One connection to the book on a PostgreSQL server through Qt's QPSQL driver, and its life:
// opened from a libpq connection text (asking for a password where libpq finds none), its
// statements kept, its failures told apart (a lost connection from a refused statement),
// the units of work that open a lost connection again and run once more, and the
// notifications of other desks with the watchdog that keeps hearing them.
// The tables it checks and makes are in schema.cpp.
#include "storage/server/deadline.h"
#include "storage/database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QTimer;
struct pg_conn;
struct pg_result;

namespace storage {

class BookEvents;

// A failure because the connection to the server is gone: the units of work open it again.
class ConnectionLost : public StorageError {
public:
    using StorageError::StorageError;
};

// libpq's connection under the driver's, or nullptr where it is not open.
pg_conn* pgconn(const QSqlDatabase& db);

// The channels the desks tell each other on (the server's names are case-sensitive here):
// a page stored (its date as the payload), the set-up stored, the book restored.
extern const QString kPageChannel;
extern const QString kSettingsChannel;
extern const QString kRestoreChannel;

// schema.cpp: Data with its letters folded as the search compares them, which the search
// index is built on; and the history's columns as a file keeps them (the moment as ISO text
// in UTC), for a SELECT.
extern const QString kFoldedData;
extern const QString kHistoryColumns;

class ServerConnection {
public:
    // What the open checks: a book (its tables and settings row), or only that the server
    // answers (a restore fills an empty database).
    enum class Open { Book, Connection };

    // Connects with a libpq connection string or URI. Throws StorageError.
    // `limit` bounds each round trip where it is shorter than serverDeadline().
    explicit ServerConnection(const QString& conninfo, Open mode = Open::Book,
                              std::optional<std::chrono::milliseconds> limit = std::nullopt);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    QSqlDatabase& database() { return db_; }
    // The database and its server, for messages (never a password).
    const QString& displayName() const { return display_; }
    // This desk, as the history and the server's own views name it.
    const QString& desk() const { return desk_; }
    QString describe(const QString& what, const QString& detail) const;

    // Opens the connection again (listening again where it listened, and telling the events
    // that what other desks did meanwhile was missed). Throws StorageError.
    void reconnect();
    // Listens from now on for other desks' stores and raises them on `events`; a watchdog
    // finds a lost connection while the desk is idle and opens it again.
    void watch(BookEvents* events);
    // Tells the other desks, inside the running transaction, what this one stored.
    void notify(const QString& channel, const QString& payload, const QString& what);

    // Runs `unit` as one transaction. A connection found lost before the commit is opened
    // again and the unit run once more: nothing of the first run was stored.
    void write(const QString& what, const std::function<void()>& unit,
               const QString& isolation = QString());
    // Runs a unit that only reads, again once on a fresh connection if the first was lost.
    void read(const QString& what, const std::function<void()>& unit);

    // The statement of a text, prepared on this connection on first use and kept.
    QSqlQuery& statement(const QString& sql);
    // Runs a kept statement with its values bound in order; a failure throws StorageError
    // (a lost connection one the units above retry).
    QSqlQuery& run(const QString& sql, const QVariantList& values, const QString& what);
    // Runs a text once, unprepared (table set-up, settings of a transaction).
    void execute(const QString& sql, const QString& what);

    // The rows one statement of a batch answered, as text.
    class Rows {
    public:
        int count() const;
        bool isNull(int row, int column) const;
        QString text(int row, int column) const;
        // The rows an UPDATE, INSERT or DELETE changed.
        qint64 changed() const;

    private:
        friend class ServerConnection;
        std::shared_ptr<pg_result> result_;
    };
    // A statement of a batch: its text with $1, $2... and their values in order.
    struct Statement {
        QString sql;
        QVariantList values;
    };
    enum class Then { Continue, Commit };
    // Sends the statements together and reads their answers: one round trip to the server
    // however many there are (and the BEGIN of the running transaction where nothing of it
    // was sent yet). With Then::Commit the transaction's COMMIT goes with them: a connection
    // lost or a server that stops answering on the way leaves the unit in doubt, as a lost
    // COMMIT does, and it is not run again. A statement refused throws StorageError and
    // nothing after it in the batch is run.
    std::vector<Rows> batch(const std::vector<Statement>& statements, const QString& what,
                            Then then = Then::Continue);
    // Runs `COPY (...) TO STDOUT` and hands each row as the server sends it (text format, its
    // line end included) to `row`; every wait for the next rows has the deadline.
    void copyOut(const QString& sql, const QString& what, const std::function<void(QByteArrayView row)>& row);
    // Throws the failure of a query: as a lost connection where the connection is gone.
    [[noreturn]] void fail(const QSqlQuery& q, const QString& what);
    // Whether the connection to the server is gone.
    bool lost();
    // Whether this desk's user may change the book (found when the connection opened).
    bool mayWrite() const { return mayWrite_; }
    // Whether the server reached is a standby, which only reads (found when the connection
    // opened; a standby promoted since is seen by the next reconnect), and the message that
    // refuses a store there.
    bool standby() const { return standby_; }
    QString standbyRefusal() const;
    // The host and the port of the server this connection reached, of those the connection
    // text lists; empty where there is no connection.
    QString connectedTo();
    // Whether the last unit named `what` lost its commit with the connection, so that it is
    // not known whether it was stored; asked once by its next run, which then checks.
    bool commitInDoubt(const QString& what) const { return inDoubt_ == what && !what.isEmpty(); }
    // The database's character locale where its lower() folds the letters A to Z otherwise
    // than the program does (a Turkish one folds I to a dotless i); empty where it folds them
    // the same, and the search may narrow its candidates by the server's folding.
    const QString& otherFolding() const { return otherFolding_; }
    // The message of a round trip the server did not answer in time.
    QString notAnswering(const QString& what) const;

    // schema.cpp: whether the program's tables are there, each with every field the desks'
    // open checks (All), or the database holds no table at all (None). Anything else (some of
    // the tables, a field missing, another application's tables) throws, naming `what`.
    enum class Tables { All, None };
    Tables tables(const QString& what);
    // Creates the program's tables in an empty database, inside the running transaction.
    void createTables();
    // Creates the history table where it is missing, inside the running transaction; a
    // failure names `what`.
    void createHistory(const QString& what);
    // The book id in the settings row: made when a book is first moved onto the server and
    // made anew by every restore, so that a desk that reconnects knows whether the book was
    // replaced meanwhile. addBookId adds the field where it is missing and the role may
    // (inside the running transaction) and says whether the field is there; readBookId reads
    // it, empty where there is none.
    bool addBookId(const QString& what);
    QString readBookId();
    const QString& bookId() const { return bookId_; }
    // Whether the watchdog opens a lost connection again by itself (it does unless a desk
    // that works without the server does it).
    void setIdleReconnect(bool on) { idleReconnect_ = on; }
    // Whether the history table is there (a database made before it has none).
    bool hasHistory(const QString& what);
    // The index that narrows the search, made after a restore has loaded the pages (where
    // the server has the trigram extension) and dropped before.
    void createSearchIndex();
    void dropSearchIndex();

private:
    void open();
    void close();
    // schema.cpp: that the database holds the program's tables and its settings row.
    void check();
    // schema.cpp: that the program's tables each hold every field the desks need.
    void checkFields(const QString& what);
    // Throws that the database is not a Calvora book, for `cause`, naming `what`.
    [[noreturn]] void notABook(const QString& what, const QString& cause);
    void listen();
    // After a failed round trip: whether the connection is gone, where libpq has not seen it
    // yet (a request it could not send).
    bool lostAfterFailure();
    // The watchdog's look at an idle connection.
    void checkIdle();
    // Runs one round trip on the connection within the deadline; false when it failed (the
    // server's answer then in `q`). Throws StorageError when the server did not answer.
    bool timed(QSqlQuery& q, const std::function<bool()>& exec, const QString& what,
               std::optional<std::chrono::milliseconds> limit = std::nullopt);
    // schema.cpp: runs a text once, unprepared, within the deadline (or `limit`); false when
    // the server refused it, its answer then in `q`.
    bool exec(QSqlQuery& q, const QString& sql, const QString& what,
              std::optional<std::chrono::milliseconds> limit = std::nullopt);
    // Sends the BEGIN of the running transaction where nothing of it was sent yet.
    void begin(const QString& what);
    // Raises the notifications libpq read while a batch was answered, as the driver raises
    // the ones it reads.
    void tellNotifications();
    void tell(const QString& channel, const QString& payload);

    QString bookId_;  // as read when the connection was opened
    QString conninfo_;  // as libpq takes it, from the text given
    QString display_;
    QString desk_;
    QString name_;
    Open mode_;
    QSqlDatabase db_;
    std::map<QString, QSqlQuery> statements_;
    bool inTransaction_ = false;
    QString begin_;  // the running transaction's BEGIN, until it is sent
    bool committed_ = false;  // the running unit's last batch committed it
    BookEvents* events_ = nullptr;
    QTimer* watchdog_ = nullptr;
    Deadline deadline_;
    std::chrono::milliseconds limit_;  // the longest wait for one answer
    bool mayWrite_ = true;
    bool idleReconnect_ = true;
    bool standby_ = false;
    QString inDoubt_;  // the unit whose commit was lost, until a unit commits
    QString otherFolding_;
    std::unique_ptr<ServerProbe> probe_;
};

}  // namespace storage
