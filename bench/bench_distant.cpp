// The book on a server in another building: the bench's server reached through a relay on
// loopback that holds every chunk 20 ms each way, so that each round trip costs 40 ms as it
// would over a slow link. The relay counts the round trips (each time a client speaks after
// the server answered). A page switch while browsing (to a day ahead of today, whose
// template the page shows, and to a day past), a store of a typed page, a new day and a
// client search that misses, each beside the same reads and writes through libpq directly
// over the same relay.
#include "daypage.h"
#include "generator.h"
#include "pair.h"
#include "pgserver.h"
#include "rawpq.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "program.h"
#include "storage/database.h"
#include "storage/pagesearch.h"

#include <QDir>
#include <QRegularExpression>
#include <arpa/inet.h>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <deque>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class Relay {
public:
    Relay(const QString& socketPath, std::chrono::milliseconds delay) : socket_(socketPath.toStdString()), delay_(delay)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
            || ::listen(listener_, 8) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0
            || ::pipe(wake_) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~Relay()
    {
        stop_ = true;
        if (thread_.joinable()) {
            const char c = 0;
            (void)!::write(wake_[1], &c, 1);
            thread_.join();
        }
        for (Link& l : links_) {
            ::close(l.client);
            ::close(l.server);
        }
        if (listener_ >= 0)
            ::close(listener_);
        for (int fd : wake_)
            if (fd >= 0)
                ::close(fd);
    }
    int port() const { return port_; }
    long roundTrips() const { return trips_; }

private:
    struct Chunk {
        Clock::time_point due;
        std::string bytes;
    };
    struct Link {
        int client = -1, server = -1;
        std::deque<Chunk> toServer, toClient;
        bool answered = true;
        bool open = true;
    };

    void accept()
    {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            return;
        const int one = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        socket_.copy(address.sun_path, sizeof address.sun_path - 1);
        if (server < 0 || ::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(client);
            if (server >= 0)
                ::close(server);
            return;
        }
        links_.push_back({client, server, {}, {}, true, true});
    }
    // Reads what one side sent, to be passed on after the delay; false when it closed.
    bool take(int from, std::deque<Chunk>& into)
    {
        char buffer[65536];
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        into.push_back({Clock::now() + delay_, std::string(buffer, size_t(n))});
        return true;
    }
    static bool pass(int to, std::deque<Chunk>& from, Clock::time_point now)
    {
        while (!from.empty() && from.front().due <= now) {
            const std::string& bytes = from.front().bytes;
            for (size_t done = 0; done < bytes.size();) {
                const ssize_t n = ::write(to, bytes.data() + done, bytes.size() - done);
                if (n <= 0)
                    return false;
                done += size_t(n);
            }
            from.pop_front();
        }
        return true;
    }
    void run()
    {
        while (!stop_) {
            std::vector<pollfd> fds{{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            for (const Link& l : links_) {
                fds.push_back({l.client, POLLIN, 0});
                fds.push_back({l.server, POLLIN, 0});
            }
            Clock::time_point next = Clock::now() + std::chrono::seconds(1);
            for (const Link& l : links_)
                for (const std::deque<Chunk>* q : {&l.toServer, &l.toClient})
                    if (!q->empty())
                        next = std::min(next, q->front().due);
            const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(next - Clock::now());
            timespec timeout{0, 0};
            if (wait.count() > 0)
                timeout = {time_t(wait.count() / 1000000000), long(wait.count() % 1000000000)};
            if (::ppoll(fds.data(), fds.size(), &timeout, nullptr) < 0)
                continue;
            if (fds[0].revents & POLLIN)
                accept();
            for (size_t i = 0; i < links_.size() && 2 + 2 * i + 1 < fds.size(); ++i) {
                Link& l = links_[i];
                if (fds[2 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR)) {
                    // The client speaks after the server answered: a round trip begins.
                    if (!take(l.client, l.toServer))
                        l.open = false;
                    else if (std::exchange(l.answered, false))
                        ++trips_;
                }
                if (fds[2 + 2 * i + 1].revents & (POLLIN | POLLHUP | POLLERR)) {
                    if (!take(l.server, l.toClient))
                        l.open = false;
                    else
                        l.answered = true;
                }
            }
            const Clock::time_point now = Clock::now();
            for (Link& l : links_)
                if (l.open && !(pass(l.server, l.toServer, now) && pass(l.client, l.toClient, now)))
                    l.open = false;
            for (auto l = links_.begin(); l != links_.end();) {
                if (l->open) {
                    ++l;
                    continue;
                }
                ::close(l->client);
                ::close(l->server);
                l = links_.erase(l);
            }
        }
    }

    std::string socket_;
    std::chrono::milliseconds delay_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    int port_ = 0;
    std::vector<Link> links_;
    std::atomic<bool> stop_{false};
    std::atomic<long> trips_{0};
    std::thread thread_;
};

// The socket of the bench's server, from the folder its connection text names.
QString serverSocket(const QString& conninfo)
{
    const QRegularExpressionMatch host = QRegularExpression(QStringLiteral("host=(\\S+)")).match(conninfo);
    const QStringList sockets = QDir(host.captured(1)).entryList({QStringLiteral(".s.PGSQL.*")}, QDir::System | QDir::Hidden);
    for (const QString& s : sockets)
        if (!s.endsWith(QLatin1String(".lock")))
            return QDir(host.captured(1)).filePath(s);
    return {};
}

enum class Work { BrowseAhead, BrowsePast, Store, NewDay, SearchMiss };

void BM_ServerDistant(benchmark::State& state, Work work)
{
    const bench::BenchServer& server = bench::twentyYearServer();
    if (server.conninfo.isEmpty()) {
        state.SkipWithError(qPrintable(QStringLiteral("no server: ") + server.error));
        return;
    }
    Relay relay(serverSocket(server.conninfo), std::chrono::milliseconds(20));
    if (!relay.port()) {
        state.SkipWithError("the relay could not listen");
        return;
    }
    const QString distant = QStringLiteral("host=127.0.0.1 port=%1 user=postgres dbname=calvora sslmode=disable "
                                           "gssencmode=disable")
                                .arg(relay.port());
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    // Two days ahead of today with pages of their own, made for this benchmark and removed
    // after it; two days past for the rest.
    const QDate aheadA = program::today().addDays(14), aheadB = program::today().addDays(15);
    bench::RawPq admin(server.conninfo);
    const auto addAhead = [&](bool add) {
        for (QDate day : {aheadA, aheadB})
            admin.exec(add ? qPrintable(QStringLiteral("INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, "
                                                       "Close, timeslot, Listno, Sites, Names) SELECT '%1', Data, Clinic, "
                                                       "Memo, location, open, Close, timeslot, Listno, Sites, Names "
                                                       "FROM tbl_Appt WHERE CalDate = '%2' ON CONFLICT DO NOTHING")
                                            .arg(bench::key(day), bench::key(big.newest)))
                           : qPrintable(QStringLiteral("DELETE FROM tbl_Appt WHERE CalDate = '%1'").arg(bench::key(day))));
    };
    // The days ahead the new days take, left by a run that did not finish.
    const QString laterDays = QStringLiteral("DELETE FROM tbl_Appt WHERE CalDate > '%1'").arg(bench::key(big.newest));
    admin.exec(qPrintable(laterDays));
    addAhead(true);
    const QDate a = work == Work::BrowseAhead ? aheadA : big.newest.addDays(-3);
    const QDate b = work == Work::BrowseAhead ? aheadB : big.newest.addDays(-2);
    frmAppt* form = bench::openDayPage(distant);
    if (!form) {
        state.SkipWithError("the day page did not open");
        program::setServer({});
        addAhead(false);
        return;
    }
    form->switchPage(a);

    // The floor, over the same relay: the page looked up, or the page written with its history
    // row and its notice in one transaction sent at once (no read of what it replaces).
    bench::RawPq raw(distant);
    raw.prepare("find", bench::PqFindSql);
    const QDate floorDay = big.newest.addDays(-10);
    PGresult* found = raw.run("find", {bench::key(floorDay)});
    bench::RawRow floorRow;
    if (PQntuples(found) > 0)
        bench::readPqRow(found, 0, floorRow);
    PQclear(found);
    const QByteArray floorId = QByteArray::number(floorRow.id);
    auto floorStore = [&](const QString& typed) {
        PGconn* c = raw.get();
        const QByteArray data = typed.toUtf8();
        PQenterPipelineMode(c);
        PQsendQueryParams(c, "BEGIN", 0, nullptr, nullptr, nullptr, nullptr, 0);
        const char* update[] = {data.constData(), floorId.constData()};
        PQsendQueryParams(c, "UPDATE tbl_Appt SET Data = $1, version = version + 1 WHERE id = $2", 2, nullptr, update,
                          nullptr, nullptr, 0);
        const QByteArray day = floorRow.calDate.toString(Qt::ISODate).toLatin1();
        const char* history[] = {day.constData(), data.constData()};
        PQsendQueryParams(c, "INSERT INTO tbl_History (CalDate, Field, CellRow, CellCol, OldText, NewText, Moment, Desk) "
                             "VALUES ($1, 'Data', 5, 2, '', $2, now(), 'floor')", 2, nullptr, history, nullptr, nullptr, 0);
        PQsendQueryParams(c, "SELECT pg_notify('calvora_page', $1)", 1, nullptr, history, nullptr, nullptr, 0);
        PQsendQueryParams(c, "COMMIT", 0, nullptr, nullptr, nullptr, nullptr, 0);
        PQpipelineSync(c);
        for (int i = 0; i < 5; ++i)
            while (PGresult* r = PQgetResult(c))
                PQclear(r);
        PQclear(PQgetResult(c));
        PQexitPipelineMode(c);
    };

    raw.prepare("add", "INSERT INTO tbl_Appt (CalDate, Data, Clinic) VALUES ($1, '', false)");
    raw.prepare("search", "SELECT id, CalDate, Data FROM tbl_Appt WHERE translate(lower(Data), '\u017F\u212A', 'sk') "
                          "LIKE $1 ORDER BY id DESC");
    std::optional<storage::Database> db;
    if (work == Work::SearchMiss)
        db.emplace(program::BookLocation{program::databasePath(), distant});
    int n = 0, newDays = 0;
    long trips = 0, floorTrips = 0, rounds = 0;
    bench::Pair pair;
    for (auto _ : state) {
        const QString typed = QStringLiteral("Client %1").arg(++n);
        const QDate to = n % 2 ? b : a;
        pair.run(
            [&] {
                const long before = relay.roundTrips();
                if (work == Work::Store) {
                    form->Grid1->setTextMatrix(5, 2, typed);
                    form->SavePage();
                } else if (work == Work::NewDay) {
                    form->switchPage(program::today().addDays(100 + ++newDays));
                } else if (work == Work::SearchMiss) {
                    storage::PageSearch search(*db, QStringLiteral("Zbigniew Wojciechowski"));
                    benchmark::DoNotOptimize(search.next(std::nullopt));
                } else {
                    form->switchPage(to);
                    form->repaint();
                }
                trips += relay.roundTrips() - before;
            },
            [&] {
                const long before = relay.roundTrips();
                if (work == Work::Store) {
                    floorStore(typed);
                } else if (work == Work::NewDay) {
                    PQclear(raw.run("add", {bench::key(program::today().addDays(200 + ++newDays))}));
                } else if (work == Work::SearchMiss) {
                    PQclear(raw.run("search", {"%zbigniew wojciechowski%"}));
                } else {
                    PGresult* r = raw.run("find", {bench::key(to)});
                    bench::RawRow row;
                    if (PQntuples(r) > 0)
                        bench::readPqRow(r, 0, row);
                    PQclear(r);
                    benchmark::DoNotOptimize(row);
                }
                floorTrips += relay.roundTrips() - before;
            });
        ++rounds;
    }
    pair.report(state);
    // The warm-up round is counted too: each side ran once more than the rounds.
    state.counters["round_trips"] = double(trips) / double(rounds + 1);
    state.counters["floor_round_trips"] = double(floorTrips) / double(rounds + 1);
    delete form;
    db.reset();
    bench::settle();
    program::setServer({});
    addAhead(false);
    admin.exec(qPrintable(laterDays));
}
BENCHMARK_CAPTURE(BM_ServerDistant, browse_ahead, Work::BrowseAhead)->Unit(benchmark::kMillisecond)->Iterations(12);
BENCHMARK_CAPTURE(BM_ServerDistant, browse_past, Work::BrowsePast)->Unit(benchmark::kMillisecond)->Iterations(12);
BENCHMARK_CAPTURE(BM_ServerDistant, store, Work::Store)->Unit(benchmark::kMillisecond)->Iterations(12);
BENCHMARK_CAPTURE(BM_ServerDistant, new_day, Work::NewDay)->Unit(benchmark::kMillisecond)->Iterations(12);
BENCHMARK_CAPTURE(BM_ServerDistant, search_miss, Work::SearchMiss)->Unit(benchmark::kMillisecond)->Iterations(6);

}  // namespace
