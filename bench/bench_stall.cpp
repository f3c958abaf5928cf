// The screen's longest stall while the server process of this desk is suspended (as when the
// server's computer hangs, or its network link dies without closing). A heartbeat timer on the
// screen's thread ticks every 20 ms; the longest gap between two ticks is the longest time the
// desk could not be typed in. Measured over the same time each: the day page idle (the watchdog
// and its probe look at the server), the day page storing a typed page (the store gives up at
// the deadline and asks), and the floor, the heartbeat alone with nothing else to do. The server
// goes on after the time it was suspended, so a store that waits for it ends then at the latest.
// CALVORA_STALL_SECONDS sets how long the server stays suspended (10 s by default).
#include "daypage.h"
#include "page/FlexGrid.h"
#include "pgserver.h"
#include "storage/database.h"
#include "storage/server/deadline.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <csignal>
#include <libpq-fe.h>
#include <thread>
#include <vector>

namespace {

// The server processes that serve this desk: every connection to the database but the
// watchdog's probe and the one that asks.
std::vector<int> deskProcesses(const QString& conninfo)
{
    std::vector<int> pids;
    PGconn* c = PQconnectdb(conninfo.toUtf8().constData());
    if (PQstatus(c) == CONNECTION_OK) {
        PGresult* r = PQexec(c, "SELECT pid FROM pg_stat_activity WHERE datname = current_database() "
                                "AND pid <> pg_backend_pid() AND application_name <> 'calvora watchdog'");
        for (int i = 0; PQresultStatus(r) == PGRES_TUPLES_OK && i < PQntuples(r); ++i)
            pids.push_back(std::atoi(PQgetvalue(r, i, 0)));
        PQclear(r);
    }
    PQfinish(c);
    return pids;
}

// Runs the screen's events for `seconds` with the heartbeat ticking, `work` started at once;
// the longest gap between ticks, in milliseconds.
double longestGap(int seconds, const std::function<void()>& work)
{
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setInterval(20);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    if (work)
        QTimer::singleShot(0, &loop, work);
    clock.start();
    heartbeat.start();
    loop.exec();
    return double(std::max(longest, clock.elapsed() - last));
}

void BM_SuspendedServerStall(benchmark::State& state)
{
    const bench::BenchServer& server = bench::twentyYearServer();
    if (server.conninfo.isEmpty()) {
        state.SkipWithError(qPrintable(QStringLiteral("no server: ") + server.error));
        return;
    }
    const int seconds = qEnvironmentVariableIntValue("CALVORA_STALL_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("CALVORA_STALL_SECONDS")
                            : 10;
    frmAppt* form = bench::openDayPage(server.conninfo);
    if (!form) {
        state.SkipWithError("the day page did not open");
        program::setServer({});
        return;
    }
    double floor = 0, idle = 0, store = 0;
    for (auto _ : state) {
        floor = longestGap(seconds, nullptr);
        // Each time the server's processes are suspended for `seconds` and then go on, as a
        // server that hangs and recovers: a store that waits for it waits at most that long.
        const auto suspended = [&](const std::function<void()>& work) {
            const std::vector<int> pids = deskProcesses(server.conninfo);
            for (int pid : pids)
                ::kill(pid, SIGSTOP);
            std::thread resume([&pids, seconds] {
                std::this_thread::sleep_for(std::chrono::seconds(seconds));
                for (int pid : pids)
                    ::kill(pid, SIGCONT);
            });
            const double gap = longestGap(seconds + 2, work);
            resume.join();
            return gap;
        };
        idle = suspended(nullptr);
        form->Grid1->setTextMatrix(5, 2, QStringLiteral("typed while the server is suspended"));
        store = suspended([form] {
            try {
                form->SavePage();
            } catch (const std::exception& e) {
                // Given up at the deadline: the desk asks the user, which is not timed here.
                qWarning("the store: %s", e.what());
            }
        });
    }
    state.counters["suspended_s"] = seconds;
    state.counters["floor_ms"] = floor;
    state.counters["idle_ms"] = idle;
    state.counters["store_ms"] = store;
    state.counters["deadline_ms"] = double(storage::serverDeadline().count());
    state.counters["idle_ratio"] = idle / std::max(floor, 1.0);
    state.counters["store_ratio"] = store / std::max(floor, 1.0);
    delete form;
    bench::settle();
    program::setServer({});
}
BENCHMARK(BM_SuspendedServerStall)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
