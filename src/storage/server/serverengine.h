#pragma once
// The book on a PostgreSQL server: the engine of several desks at once. Each store counts
// up the version of what it stored and tells the other desks; a store over a version another
// desk stored since is refused. Each group of members below is defined in the file of its
// domain, as in storage/file.
#include "storage/engine.h"
#include "storage/server/connection.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>

namespace storage {

// The columns of a page row, in the order readPageRow takes them (pages.cpp).
extern const QString kPageColumns;
// Reads a row selected with kPageColumns (the layout only when asked for), from a query or
// from the rows of a batch.
void readPageRow(const QSqlQuery& q, PageRow& row, bool withLayout);
PageRow pageRow(const ServerConnection::Rows& rows, int i);
// settings.cpp: the settings row from its fields by name (a Null one where it is missing).
Settings settingsFrom(const std::function<QVariant(const QString&)>& value);

class ServerEngine final : public Engine {
public:
    // Connects with a libpq connection string or URI and checks the book. Throws
    // StorageError.
    // `limit` bounds each round trip where it is shorter than serverDeadline().
    explicit ServerEngine(const QString& conninfo, std::optional<std::chrono::milliseconds> limit = std::nullopt)
        : server_(conninfo, ServerConnection::Open::Book, limit)
    {
    }

    // connection.cpp
    const QString& name() const override { return server_.displayName(); }
    QString describe(const QString& what, const QString& detail) const override;
    bool readOnly() override;
    QString readOnlyReason() override;
    QString connectedTo() override;
    void reopen() override;
    void watch(BookEvents* events) override;

    // pages.cpp
    std::optional<PageRow> findPage(QDate date) override;
    PageRow addPage(QDate date, const Layout& layout, const QString& data, bool closed, const QString& memo,
                    const CellLabels& labels) override;
    void updatePage(PageRow& row, const CellLabels& labels, const std::vector<Change>& notKept) override;
    void removePages(const QList<qint64>& ids) override;
    void removeUnchangedPages(const QList<PageRow>& rows) override;
    void walkPages(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                   bool withLayout) override;
    int countPages() override;

    // settings.cpp
    Settings readSettings() override;
    MemoAndBook writeMemoAndBook(const MemoAndBook& typed, const std::optional<MemoAndBook>& read) override;

    // setup.cpp
    int storeSetup(const Layout& layout, QDate today, std::optional<int> readVersion) override;
    int pagesWithOwnEntries(QDate today) override;
    int storeTemplate(const QString& field, const QString& flag, const QString& cellText, bool closed,
                      std::optional<int> readVersion) override;

    // search.cpp
    std::optional<PageMatch> searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId) override;
    void searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit) override;
    QString searchNotice() override;

    // history.cpp
    std::vector<Change> cellHistory(QDate date, int row, int col) override;
    std::vector<Change> dayHistory(QDate date) override;
    std::vector<Change> overwrittenCells() override;

    // documents.cpp
    QString readHelp() override;

    // What a desk that keeps working without the server needs of it (desk.cpp):
    // pages.cpp: the newest rows of the dates from `from` to `to`, in one round trip.
    std::vector<PageRow> pagesBetween(QDate from, QDate to);
    // The book id of the book as the connection found it (made anew by a restore).
    QString bookId() const { return server_.bookId(); }
    // Whether the connection is known to be gone, without a round trip.
    bool connectionLost() { return server_.lost(); }
    // Whether the server answers a plain question now, within the deadline (connection.cpp).
    bool answers();
    // The desk reopens a lost connection itself, once its probe heard the server: the
    // connection's watchdog leaves it alone.
    void followedByDesk() { server_.setIdleReconnect(false); }
    // history.cpp: the changes of the stores made until it is cleared are recorded at this
    // moment (a page typed while the server did not answer is recorded when it was typed).
    void setTypedAt(const std::optional<QDateTime>& moment) { typedAt_ = moment; }

private:
    // settings.cpp: the values of fields of the settings row, held against other desks until
    // the commit.
    QVariantList settingsValues(const QStringList& fields, const QString& what);
    // setup.cpp: stores a settings change whose SET clause is `assignments`, only over the
    // version read (when given); returns the version after it.
    int storeSettings(const QString& assignments, QVariantList values, std::optional<int> readVersion,
                      const QString& what);
    // history.cpp: appends changes to tbl_History inside the running transaction (made first
    // on a database from before it).
    void recordChanges(std::vector<Change> changes);
    // The statements of a batch that append changes to tbl_History where the page row `id`
    // stands at `version`, which the statement before them stored (tbl_History is there).
    std::vector<ServerConnection::Statement> historyStatements(std::vector<Change> changes, qint64 id, int version);
    // The history rows that meet a condition, newest first.
    std::vector<Change> readHistory(const QString& condition, const QVariantList& values);
    // search.cpp: a WHERE condition that keeps every row whose Data may hold the name (and a
    // few more), and its values: the program's own matcher decides.
    QString narrowing(const NameMatcher& matcher, QVariantList& values) const;
    // The rows of a statement of the search, run in a read-only transaction whose plans are
    // made for the name searched, so that they take the candidates from the search index.
    ServerConnection::Rows searchRows(const QString& what, const QString& sql, const QVariantList& values);

    ServerConnection server_;
    bool historyTable_ = false;  // tbl_History is known to be there
    // The settings read with the page last found, which the readings of the settings take
    // until the event loop runs again (the switch to the page asks for them), and the last
    // settings row seen with its checksum, which the server sends again only when it differs.
    std::shared_ptr<std::optional<Settings>> withPage_ = std::make_shared<std::optional<Settings>>();
    Settings known_;
    QString knownSum_;
    std::optional<QDateTime> typedAt_;
};

}  // namespace storage
