#include "storage/server/desk.h"

#include "platform/clock.h"
#include "storage/bookevents.h"
#include "storage/server/deadline.h"
#include "storage/server/server.h"
#include "storage/server/serverengine.h"
#include "storage/tr.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTimer>

namespace storage {

namespace {

// The days read ahead around today, so that the week and the weeks around it show offline.
constexpr int kDaysAround = 30;
// The longest the day page waits for one answer of the server before it works offline: a
// page's read or store is small, and the screen must never stop for long (the grace in which
// a cancelled query may still answer comes on top).
constexpr std::chrono::milliseconds kRoundTrip{1300};
// The longest wait between two looks at whether the probe heard the server (a look costs no
// round trip: the probe asks on its own thread).
constexpr int kLongestRetry = 4000;

}  // namespace

DeskEngine::DeskEngine(const QString& conninfo)
    : conninfo_(conninfo), name_(serverDisplayName(conninfo)), host_(serverHost(conninfo))
{
    journal_ = std::make_unique<Journal>(journalPath());
    if (!journal_->setAside().isEmpty())
        notice_ = Tr::tr("The desk's journal %1 was damaged. Nothing was stored from it; it is kept as %2 for "
                         "inspection.")
                      .arg(QDir::toNativeSeparators(journal_->path()), QDir::toNativeSeparators(journal_->setAside()));
    try {
        connect();
    } catch (const StorageError& e) {
        // A desk restarted while its server is away works from the journal of this book.
        if (e.kind() != StorageError::Kind::Unreachable || journal_->bookName() != name_ || !journal_->settings())
            throw;
        offline_ = true;
        since_ = QDateTime::currentDateTime();
    }
    probe_ = std::make_unique<ServerProbe>(conninfo.toUtf8(), typedPassword(conninfo).toUtf8());
    retry_ = std::make_unique<QTimer>();
    retry_->setSingleShot(true);
    QObject::connect(retry_.get(), &QTimer::timeout, retry_.get(), [this] { tryAgain(); });
    if (offline_) {
        askedWhenAway_ = probe_->asked();
        retry_->start(1000);
    }
    // A connection the server ended while the desk is idle is found within a second, so that
    // the desk opens it again and hears the other desks again.
    idle_ = std::make_unique<QTimer>();
    QObject::connect(idle_.get(), &QTimer::timeout, idle_.get(), [this] {
        if (!offline_ && server_ && server_->connectionLost())
            goOffline(Away::Lost);
    });
    idle_->start(1000);
}

DeskEngine::~DeskEngine() = default;

void DeskEngine::connect()
{
    auto server = std::make_unique<ServerEngine>(conninfo_, kRoundTrip);
    server->followedByDesk();
    const QString aside = journal_->belongTo(name_, server->bookId());
    if (!aside.isEmpty())
        notice_ = Tr::tr("The desk's journal held pages typed for another book than %1. None of them is stored "
                         "in this book; the journal is kept as %2.")
                      .arg(name_, QDir::toNativeSeparators(aside));
    server_ = std::move(server);
    if (events_)
        server_->watch(events_);
    journal_->keepSettings(server_->readSettings());
    readAhead();
}

void DeskEngine::readAhead()
{
    const QDate today = program::today();
    journal_->keepCopies(server_->pagesBetween(today.addDays(-kDaysAround), today.addDays(kDaysAround)));
}

bool DeskEngine::away(const StorageError& e)
{
    // A failure of a connection that is gone, or of a server that no longer answers a plain
    // question, is the server's absence, whatever its words.
    if (e.kind() == StorageError::Kind::Unreachable)
        return true;
    if (dynamic_cast<const StaleVersion*>(&e))
        return false;
    return !server_ || server_->connectionLost() || !server_->answers();
}

bool DeskEngine::reachable()
{
    if (offline_)
        return false;
    if (!server_ || server_->connectionLost()) {
        goOffline(Away::Lost);
        return false;
    }
    if (!probe_->answers()) {
        goOffline(Away::NoAnswer);
        return false;
    }
    return true;
}

void DeskEngine::goOffline(Away away)
{
    if (offline_)
        return;
    offline_ = true;
    since_ = QDateTime::currentDateTime();
    // A connection the server ended is opened again at once where the probe last heard the
    // server; a server that did not answer is tried only after the probe hears it again.
    askedWhenAway_ = away == Away::Lost && probe_->answers() ? probe_->asked() - 1 : probe_->asked();
    retry_->start(away == Away::Lost ? 0 : 1000);
    if (events_)
        QMetaObject::invokeMethod(events_, [events = events_] { emit events->serverAway(); }, Qt::QueuedConnection);
}

void DeskEngine::tryAgain()
{
    // Only an answer the probe heard after the desk went offline is worth a try on the
    // screen's thread: a server that does not answer would hold it.
    if (probe_->asked() != askedWhenAway_ && probe_->answers()) {
        try {
            if (server_)
                server_->reopen();
            else
                connect();
            if (server_->connectionLost())
                throw StorageError(name_, StorageError::Kind::Unreachable);
            journal_->keepSettings(server_->readSettings());
            readAhead();
            offline_ = false;
            retry_->setInterval(1000);
            if (events_)
                emit events_->serverBack();
            return;
        } catch (const StorageError&) {
            // Still away (or refusing): the next answer of the probe is tried again.
            askedWhenAway_ = probe_->asked();
        }
    }
    retry_->start(std::min(retry_->interval() * 2, kLongestRetry));
}

QString DeskEngine::describe(const QString& what, const QString& detail) const
{
    if (server_)
        return server_->describe(what, detail);
    QString why = detail.trimmed().isEmpty() ? Tr::tr("unknown error") : detail.trimmed();
    return Tr::tr("The database %1 failed while %2:\n%3").arg(name_, what, why);
}

void DeskEngine::refuse(const QString& what) const
{
    throw StorageError(
        Tr::tr("This desk is offline: the server at %1 does not answer, so %2 cannot be done now. Nothing was "
               "changed. It can be done again once the server answers.")
            .arg(host_, what),
        StorageError::Kind::Unreachable);
}

template <typename Call>
auto DeskEngine::needsServer(const QString& what, Call call) -> decltype(call(std::declval<ServerEngine&>()))
{
    if (reachable()) {
        try {
            return call(*server_);
        } catch (const StorageError& e) {
            if (!away(e))
                throw;
            goOffline(Away::NoAnswer);
            throw StorageError(e.message(), StorageError::Kind::Unreachable);
        }
    }
    refuse(what);
}

bool DeskEngine::readOnly()
{
    return server_ && !offline_ && server_->readOnly();
}

QString DeskEngine::readOnlyReason()
{
    return server_ && !offline_ ? server_->readOnlyReason() : QString();
}

QString DeskEngine::connectedTo()
{
    return server_ && !offline_ ? server_->connectedTo() : QString();
}

void DeskEngine::reopen()
{
    if (offline_) {
        // The user asked: the next answer of the probe is tried at once.
        retry_->start(0);
        return;
    }
    needsServer(Tr::tr("opening the connection again"), [](ServerEngine& s) { s.reopen(); });
}

void DeskEngine::watch(BookEvents* events)
{
    if (events_)
        return;
    events_ = events;
    if (server_)
        server_->watch(events);
}

bool DeskEngine::bookReplaced()
{
    return server_ && !journal_->bookId().isEmpty() && journal_->bookId() != server_->bookId();
}

void DeskEngine::acceptBook()
{
    if (server_)
        journal_->setBookId(server_->bookId());
}

std::optional<PageRow> DeskEngine::storedPage(QDate date)
{
    return needsServer(Tr::tr("reading the page from the server"), [&](ServerEngine& s) {
        std::optional<PageRow> row = s.findPage(date);
        if (row)
            journal_->keepCopy(*row);
        return row;
    });
}

void DeskEngine::storeWaiting(const WaitingPage& page, PageRow& row, const CellLabels& labels,
                              const std::vector<Change>& notKept)
{
    needsServer(Tr::tr("storing the pages typed offline"), [&](ServerEngine& s) {
        s.setTypedAt(page.moment);
        struct Clear {
            ServerEngine& s;
            ~Clear() { s.setTypedAt(std::nullopt); }
        } clear{s};
        if (row.id <= 0) {
            const PageRow typed = row;
            row = s.addPage(row.calDate, row.layout, row.data, row.clinic.value_or(false), row.memo, labels);
            // Another desk added the day at the same moment: merged into, as any page
            // stored meanwhile.
            if (row.data != typed.data || row.memo != typed.memo || row.clinic != typed.clinic)
                throw StaleVersion(Tr::tr("The page of %1 was added on another desk.")
                                       .arg(QLocale::system().toString(typed.calDate, QLocale::ShortFormat)),
                                   row);
        } else
            s.updatePage(row, labels, notKept);
    });
    journal_->stored(page);
    journal_->keepCopy(row);
}

std::optional<PageRow> DeskEngine::findPage(QDate date)
{
    // A page typed here and not yet stored is shown as typed.
    if (std::optional<WaitingPage> waiting = journal_->waiting(date))
        return waiting->typed;
    if (reachable()) {
        try {
            std::optional<PageRow> row = server_->findPage(date);
            if (row)
                journal_->keepCopy(*row);
            return row;
        } catch (const StorageError& e) {
            if (!away(e))
                throw;
            goOffline(Away::NoAnswer);
        }
    }
    return journal_->copy(date);
}

PageRow DeskEngine::addPage(QDate date, const Layout& layout, const QString& data, bool closed, const QString& memo,
                            const CellLabels& labels)
{
    if (reachable()) {
        try {
            PageRow row = server_->addPage(date, layout, data, closed, memo, labels);
            journal_->keepCopy(row);
            return row;
        } catch (const StorageError& e) {
            if (!away(e))
                throw;
            goOffline(Away::NoAnswer);
        }
    }
    // A page the server has not seen: nothing is kept until something is typed on it.
    return PageRow::added(-1, date, layout, data, closed, memo);
}

void DeskEngine::updatePage(PageRow& row, const CellLabels& labels, const std::vector<Change>& notKept)
{
    std::optional<WaitingPage> waiting = journal_->waiting(row.calDate);
    // A page that waits in the journal goes after what waits before it.
    if (!waiting && reachable()) {
        try {
            if (row.id < 0) {
                // Typed offline on a page the server did not have, and stored since (or
                // added by another desk): merged into the server's page, or added.
                std::optional<PageRow> stored = server_->findPage(row.calDate);
                throw StaleVersion(Tr::tr("The page of %1 was stored on the server while this desk was offline.")
                                       .arg(QLocale::system().toString(row.calDate, QLocale::ShortFormat)),
                                   stored);
            }
            server_->updatePage(row, labels, notKept);
            journal_->keepCopy(row);
            return;
        } catch (const StaleVersion&) {
            throw;
        } catch (const StorageError& e) {
            if (!away(e))
                throw;
            goOffline(Away::NoAnswer);
        }
    }
    // The base of the later merge: the page as this desk last read it from the server.
    PageRow base;
    if (waiting) {
        base = waiting->base;
    } else if (std::optional<PageRow> copy = row.id > 0 ? journal_->copy(row.calDate) : std::nullopt) {
        base = *copy;
    } else {
        // A page the server had not when it was read: its new page, from the settings.
        base = row;
        base.id = 0;
        base.version = 0;
        if (const std::optional<Settings> settings = journal_->settings()) {
            base.data = settings->templateFor(row.calDate);
            base.clinic = settings->closedOn(row.calDate);
        }
        base.memo.clear();
    }
    journal_->keepTyped(row, base, program::nowUtc());
    if (events_)
        QMetaObject::invokeMethod(events_, [events = events_] { emit events->serverAway(); }, Qt::QueuedConnection);
}

void DeskEngine::removePages(const QList<qint64>& ids)
{
    needsServer(Tr::tr("removing pages"), [&](ServerEngine& s) { s.removePages(ids); });
}

void DeskEngine::removeUnchangedPages(const QList<PageRow>& rows)
{
    // Removing empty pages is tidying: offline it waits for the next time.
    if (!reachable())
        return;
    QList<PageRow> onServer;
    for (const PageRow& row : rows)
        if (row.id > 0 && !journal_->waiting(row.calDate))
            onServer << row;
    needsServer(Tr::tr("removing empty pages"), [&](ServerEngine& s) { s.removeUnchangedPages(onServer); });
}

void DeskEngine::walkPages(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                           bool withLayout)
{
    // The walk finds the empty pages to tidy away on leaving: offline there are none to find,
    // and the tidying waits for the next time.
    if (!reachable())
        return;
    needsServer(Tr::tr("reading every page"), [&](ServerEngine& s) { s.walkPages(visit, fromId, withLayout); });
}

int DeskEngine::countPages()
{
    return needsServer(Tr::tr("counting the pages"), [&](ServerEngine& s) { return s.countPages(); });
}

Settings DeskEngine::readSettings()
{
    std::optional<Settings> settings;
    if (reachable()) {
        try {
            settings = server_->readSettings();
            journal_->keepSettings(*settings);
        } catch (const StorageError& e) {
            if (!away(e))
                throw;
            goOffline(Away::NoAnswer);
        }
    }
    if (!settings)
        settings = journal_->settings();
    if (!settings)
        refuse(Tr::tr("reading the settings"));
    // A fixed memo or book number typed offline shows until it is stored.
    if (const std::optional<Journal::WaitingMemo> memo = journal_->waitingMemo()) {
        settings->fixedMemo = memo->typed.fixedMemo;
        settings->bookno = memo->typed.bookno;
    }
    return *settings;
}

MemoAndBook DeskEngine::writeMemoAndBook(const MemoAndBook& typed, const std::optional<MemoAndBook>& read)
{
    if (reachable() && !journal_->waitingMemo()) {
        try {
            return server_->writeMemoAndBook(typed, read);
        } catch (const StorageError& e) {
            if (!away(e))
                throw;
            goOffline(Away::NoAnswer);
        }
    }
    // Kept on the desk, over the two as this desk read them, and stored with the pages when
    // the server answers (the merge there asks where another desk changed the same one).
    const std::optional<Settings> known = journal_->settings();
    journal_->keepMemo(typed, read.value_or(known ? MemoAndBook{known->fixedMemo, known->bookno} : typed));
    return typed;
}

MemoAndBook DeskEngine::storeKeptMemo(const MemoAndBook& typed, const std::optional<MemoAndBook>& read)
{
    return needsServer(Tr::tr("storing the fixed memo"),
                       [&](ServerEngine& s) { return s.writeMemoAndBook(typed, read); });
}

int DeskEngine::storeSetup(const Layout& layout, QDate today, std::optional<int> readVersion)
{
    return needsServer(Tr::tr("storing the set-up"),
                       [&](ServerEngine& s) { return s.storeSetup(layout, today, readVersion); });
}

int DeskEngine::pagesWithOwnEntries(QDate today)
{
    return needsServer(Tr::tr("storing the set-up"), [&](ServerEngine& s) { return s.pagesWithOwnEntries(today); });
}

int DeskEngine::storeTemplate(const QString& field, const QString& flag, const QString& cellText, bool closed,
                              std::optional<int> readVersion)
{
    return needsServer(Tr::tr("storing the template"), [&](ServerEngine& s) {
        return s.storeTemplate(field, flag, cellText, closed, readVersion);
    });
}

std::optional<PageMatch> DeskEngine::searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId)
{
    return needsServer(Tr::tr("the client search"),
                       [&](ServerEngine& s) { return s.searchNext(matcher, beforeId); });
}

void DeskEngine::searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit)
{
    needsServer(Tr::tr("the client search"), [&](ServerEngine& s) { s.searchAll(matcher, visit); });
}

QString DeskEngine::searchNotice()
{
    return server_ && !offline_ ? server_->searchNotice() : QString();
}

std::vector<Change> DeskEngine::cellHistory(QDate date, int row, int col)
{
    return needsServer(Tr::tr("reading the history"), [&](ServerEngine& s) { return s.cellHistory(date, row, col); });
}

std::vector<Change> DeskEngine::dayHistory(QDate date)
{
    return needsServer(Tr::tr("reading the history"), [&](ServerEngine& s) { return s.dayHistory(date); });
}

std::vector<Change> DeskEngine::overwrittenCells()
{
    return needsServer(Tr::tr("reading the history"), [&](ServerEngine& s) { return s.overwrittenCells(); });
}

QString DeskEngine::readHelp()
{
    return needsServer(Tr::tr("reading the help"), [&](ServerEngine& s) { return s.readHelp(); });
}

}  // namespace storage
