#pragma once
// The day page's book on a server, kept working while the server does not answer. Online it
// is the server's engine, and it keeps what it reads in the desk's journal: the pages (the
// days around today read ahead) and the settings. When a round trip is not answered in time,
// or the connection cannot be opened again, the desk goes offline: no box, the page says so
// in its status line. Offline, pages are read from the journal's copy (a day never read is
// laid out from the last settings known) and a store goes into the journal. A probe on its
// own thread keeps asking the server; once it answers, the connection is opened again on the
// screen's thread and the day page replays the journal (page/OfflineDesk), each page with the
// merge of a store that lost to another desk.
// What needs the server itself (the search, the history, the set-up, the fixed memo) says
// so offline and does nothing.
#include "storage/engine.h"
#include "storage/server/journal.h"

#include <QDateTime>
#include <memory>

class QTimer;

namespace storage {

class ServerEngine;
class ServerProbe;

class DeskEngine final : public Engine {
public:
    // Connects as ServerEngine does. A server that cannot be reached starts the desk offline
    // where the journal knows the book (it was read here before); otherwise it throws
    // StorageError as ServerEngine does, and when another copy of the program holds the
    // journal.
    explicit DeskEngine(const QString& conninfo);
    ~DeskEngine() override;

    // The desk's own: whether it works offline now, and since when (local time).
    bool offline() const { return offline_; }
    const QDateTime& offlineSince() const { return since_; }
    // The server as the status line names it ("frontdesk", "this computer").
    const QString& host() const { return host_; }
    Journal& journal() { return *journal_; }
    // What the desk must tell the user once: a journal set aside (damaged, or of another
    // book); empty when there is nothing.
    QString takeNotice() { return std::exchange(notice_, QString()); }
    // Whether the book on the server was replaced (restored) since the journal's pages were
    // typed: they are then offered one by one, never replayed blindly.
    bool bookReplaced();
    // The pages wait no longer for the replaced book: the journal belongs to the book now.
    void acceptBook();
    // The page of a date as the server holds it now (never the journal's). Throws
    // StorageError; offline again when the server stops answering.
    std::optional<PageRow> storedPage(QDate date);
    // Stores a waiting page's merge on the server: added when `row` has no id, else updated
    // over the version it carries (StaleVersion when another desk stored it since). The
    // history records the store at the moment it was typed. Its journal entry goes once the
    // store committed.
    void storeWaiting(const WaitingPage& page, PageRow& row, const CellLabels& labels,
                      const std::vector<Change>& notKept);

    // The engine
    const QString& name() const override { return name_; }
    QString describe(const QString& what, const QString& detail) const override;
    bool readOnly() override;
    QString readOnlyReason() override;
    QString connectedTo() override;
    void reopen() override;
    void watch(BookEvents* events) override;
    DeskEngine* desk() override { return this; }
    std::optional<PageRow> findPage(QDate date) override;
    PageRow addPage(QDate date, const Layout& layout, const QString& data, bool closed, const QString& memo,
                    const CellLabels& labels) override;
    void updatePage(PageRow& row, const CellLabels& labels, const std::vector<Change>& notKept) override;
    void removePages(const QList<qint64>& ids) override;
    void removeUnchangedPages(const QList<PageRow>& rows) override;
    void walkPages(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                   bool withLayout) override;
    int countPages() override;
    Settings readSettings() override;
    MemoAndBook writeMemoAndBook(const MemoAndBook& typed, const std::optional<MemoAndBook>& read) override;
    // The fixed memo and book number the journal keeps, stored on the server over `read`, or
    // over whatever it holds without it (the journal's entry stays until the caller says they
    // are stored).
    MemoAndBook storeKeptMemo(const MemoAndBook& typed, const std::optional<MemoAndBook>& read);
    int storeSetup(const Layout& layout, QDate today, std::optional<int> readVersion) override;
    int pagesWithOwnEntries(QDate today) override;
    int storeTemplate(const QString& field, const QString& flag, const QString& cellText, bool closed,
                      std::optional<int> readVersion) override;
    std::optional<PageMatch> searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId) override;
    void searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit) override;
    QString searchNotice() override;
    std::vector<Change> cellHistory(QDate date, int row, int col) override;
    std::vector<Change> dayHistory(QDate date) override;
    std::vector<Change> overwrittenCells() override;
    QString readHelp() override;

private:
    // Whether the server may be asked now (online, its connection not known to be gone, its
    // probe not without an answer); false puts the desk offline.
    bool reachable();
    // Runs `call` on the server where it is reachable; a server that stops answering puts
    // the desk offline and `call` then throws that it needs the server.
    template <typename Call>
    auto needsServer(const QString& what, Call call) -> decltype(call(std::declval<ServerEngine&>()));
    enum class Away { NoAnswer, Lost };
    void goOffline(Away away);
    // Whether a failure of the server's engine means that the server is away.
    bool away(const StorageError& e);
    // The retry timer's look: opens the connection again once the probe heard the server.
    void tryAgain();
    void connect();
    void readAhead();
    [[noreturn]] void refuse(const QString& what) const;

    QString conninfo_;
    QString name_;
    QString host_;
    std::unique_ptr<Journal> journal_;
    std::unique_ptr<ServerEngine> server_;
    std::unique_ptr<ServerProbe> probe_;
    std::unique_ptr<QTimer> retry_;
    std::unique_ptr<QTimer> idle_;
    BookEvents* events_ = nullptr;
    bool offline_ = false;
    QDateTime since_;
    unsigned askedWhenAway_ = 0;
    QString notice_;
};

}  // namespace storage
