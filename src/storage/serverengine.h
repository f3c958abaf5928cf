#pragma once
// The book on a PostgreSQL server, through Qt's QPSQL driver: one connection with its kept
// statements, the SQL of the server's tables, and the reconnect after a lost connection.
// Only src/storage sees this class; the screens use the same domain calls on either engine.
#include "storage/history.h"
#include "storage/pagetable.h"
#include "storage/pagesearch.h"
#include "storage/settings.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QTimer;

namespace storage {

// The history's columns as a file keeps them (the moment as ISO text in UTC), for a SELECT.
extern const QString kHistoryColumns;
class BookEvents;

class ServerEngine {
public:
    // What the open checks: a book (its tables and settings row), or only that the server
    // answers (a restore fills an empty database).
    enum class Open { Book, Connection };

    // Connects with a libpq connection string or URI. Throws StorageError.
    explicit ServerEngine(const QString& conninfo, Open mode = Open::Book);
    ~ServerEngine();
    ServerEngine(const ServerEngine&) = delete;
    ServerEngine& operator=(const ServerEngine&) = delete;

    QSqlDatabase& connection() { return db_; }
    // The database and its server, for messages (never a password).
    const QString& displayName() const { return display_; }
    QString describe(const QString& what, const QString& detail) const;
    // Opens the connection again (listening again where it listened, and telling the events
    // that what other desks did meanwhile was missed). Throws StorageError.
    void reconnect();
    // Listens from now on for other desks' stores and raises them on `events`; a watchdog
    // finds a lost connection while the desk is idle and opens it again.
    void watch(BookEvents* events);

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
    // Runs a text once, unprepared (table set-up).
    void execute(const QString& sql, const QString& what);

    // Whether the program's three tables are there (all of them, none, or some).
    enum class Tables { All, None, Some };
    Tables tables();
    // Creates the program's tables in an empty database, inside the running transaction.
    void createTables();
    // Creates the history table where it is missing, inside the running transaction.
    void createHistory();
    // The index that narrows the search, made after a restore has loaded the pages (where
    // the server has the trigram extension) and dropped before.
    void createSearchIndex();
    void dropSearchIndex();

    // The domain calls of the page table, the settings, the set-up store and the search.
    std::optional<PageRow> find(QDate date);
    PageRow add(QDate date, const Layout& layout, const QString& data, bool closed, const QString& memo,
                const CellLabels& labels);
    void update(PageRow& row, const CellLabels& labels);
    void remove(const QList<qint64>& ids);
    void removeUnchanged(const QList<PageRow>& rows);
    void walk(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId, bool withLayout);
    int count();
    Settings readSettings();
    void writeMemoAndBook(const QString& fixedMemo, const QString& bookno);
    int storeSetup(const Layout& layout, QDate today, std::optional<int> readVersion);
    int pagesWithOwnEntries(QDate today);
    int storeTemplate(int weekday, const QString& cellText, bool closed, std::optional<int> readVersion);
    QString readHelp();
    // Appends changes to tbl_History inside the running transaction (made first on a
    // database from before it).
    void recordChanges(std::vector<Change> changes);
    // The history rows that meet a condition, newest first.
    std::vector<Change> readHistory(const QString& condition, const QVariantList& values);
    std::optional<PageMatch> searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId);
    void searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit);

private:
    void open();
    void close();
    void listen();
    // The watchdog's look at an idle connection.
    void checkIdle();
    // Tells the other desks, inside the running transaction, what this one stored.
    void notify(const QString& channel, const QString& payload, const QString& what);
    // Stores a settings change whose SET clause is `assignments`, only over the version read
    // (when given); returns the version after it.
    int storeSettings(const QString& assignments, QVariantList values, std::optional<int> readVersion,
                      const QString& what);
    void check();
    bool lost();
    // The values of fields of the settings row, held against other desks until the commit.
    QVariantList settingsValues(const QStringList& fields, const QString& what);
    [[noreturn]] void fail(const QSqlQuery& q, const QString& what);
    // A WHERE condition that keeps every row whose Data may hold the name (and a few
    // more), and its values: the program's own matcher decides.
    QString narrowing(const NameMatcher& matcher, QVariantList& values) const;
    // Runs a unit of the search in a read-only transaction whose plans are made for the name
    // searched, so that they take the candidates from the search index.
    void searchRead(const QString& what, const std::function<void()>& unit);

    QString conninfo_;  // as libpq takes it, from the text given
    QString display_;
    QString desk_;  // this desk, as the history and the server's own views name it
    QString name_;
    Open mode_;
    QSqlDatabase db_;
    std::map<QString, QSqlQuery> statements_;
    bool inTransaction_ = false;
    bool historyTable_ = false;  // tbl_History is known to be there
    BookEvents* events_ = nullptr;
    QTimer* watchdog_ = nullptr;
    int idleTicks_ = 0;
};

}  // namespace storage
