// Desks at the same time on one server: N desks, each a thread with a connection of its own,
// switch among three shared days and store an edit of their own cell at a fixed rate for a
// bounded time, merging what other desks stored meanwhile as the day page does. Reported per
// N: the p50 and p99 of a store (merges included) and of a switch (finding the page), the
// stores that found the page stored elsewhere (conflicts detected) and the markers lost
// (each desk's last stored marker must be in its cell at the end: must be 0). One desk also
// runs interleaved with libpq's own UPDATE + COMMIT and SELECT, the floor.
//
#include "page/pagemerge.h"
#include "pgserver.h"
#include "platform/programfolder.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/server/server.h"
#include "storage/settings.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <libpq-fe.h>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRun = std::chrono::seconds(4);
constexpr auto kPeriod = std::chrono::milliseconds(50);  // each desk: 20 stores a second
const QDate kDays[] = {QDate(2031, 6, 2), QDate(2031, 6, 3), QDate(2031, 6, 4)};

// The twenty-year book on the bench's own server; the desks work on three days after it,
// which are removed again at the end.
const QString& conninfo()
{
    return bench::twentyYearServer().conninfo;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct DeskResult {
    std::vector<double> stores;
    std::vector<double> switches;
    long conflicts = 0;
    long failures = 0;
    // The last marker this desk stored, per day (empty: none).
    QString last[3];
};

// One desk: its own connection and the page life's store, with the merge.
void desk(int index, DeskResult& out, const storage::Layout& layout)
{
    storage::Database db(program::BookLocation{QString(), conninfo()});
    storage::PageTable pages(db);
    std::mt19937 random(index);
    // Its own cell: a row and a provider of its own, so that every merge is a clean one.
    const int row = index / 4, col = index % 4;
    auto next = Clock::now();
    const auto end = next + kRun;
    for (long n = 0; Clock::now() < end; ++n) {
        const int day = int(random() % 3);
        const auto switchStart = Clock::now();
        std::optional<storage::PageRow> found = pages.find(kDays[day]);
        if (!found)
            found = pages.add(kDays[day], layout, QString(), false);
        out.switches.push_back(ms(Clock::now() - switchStart));

        storage::PageRow base = *found;
        storage::PageRow mine = base;
        QList<QStringList> cells = celltext::split(mine.data);
        while (cells.size() <= row)
            cells.append(QStringList());
        while (cells[row].size() <= col)
            cells[row].append(QString());
        const QString marker = QStringLiteral("desk%1-%2").arg(index).arg(n);
        cells[row][col] = marker;
        mine.data = celltext::join(cells);
        mine.dataNull = false;

        const auto storeStart = Clock::now();
        bool stored = false;
        for (int attempt = 0; attempt < 50 && !stored; ++attempt) {
            try {
                pages.update(mine);
                stored = true;
            } catch (const storage::StaleVersion& e) {
                ++out.conflicts;
                if (!e.stored())
                    break;
                const PageMerge merge(base, mine, *e.stored());
                base = *e.stored();
                mine = merge.result();
            }
        }
        out.stores.push_back(ms(Clock::now() - storeStart));
        if (stored)
            out.last[day] = marker;
        else
            ++out.failures;
        next += kPeriod;
        std::this_thread::sleep_until(next);
    }
}

void BM_Desks(benchmark::State& state)
{
    const int n = int(state.range(0));
    if (conninfo().isEmpty()) {
        state.SkipWithError(qPrintable(bench::twentyYearServer().error));
        return;
    }
    storage::Layout layout;
    {
        storage::Database db(program::BookLocation{QString(), conninfo()});
        layout = storage::readSettings(db).layout;
    }
    std::vector<DeskResult> results(n);
    for (auto _ : state) {
        std::vector<std::thread> threads;
        for (int i = 0; i < n; ++i)
            threads.emplace_back([&, i] {
                try {
                    desk(i, results[i], layout);
                } catch (const std::exception& e) {
                    fprintf(stderr, "desk %d: %s\n", i, e.what());
                    ++results[i].failures;
                }
            });
        for (std::thread& t : threads)
            t.join();
    }
    std::vector<double> stores, switches;
    long conflicts = 0, failures = 0, lost = 0;
    storage::Database db(program::BookLocation{QString(), conninfo()});
    storage::PageTable pages(db);
    for (int i = 0; i < n; ++i) {
        const DeskResult& r = results[i];
        stores.insert(stores.end(), r.stores.begin(), r.stores.end());
        switches.insert(switches.end(), r.switches.begin(), r.switches.end());
        conflicts += r.conflicts;
        failures += r.failures;
        for (int d = 0; d < 3; ++d) {
            if (r.last[d].isEmpty())
                continue;
            const auto page = pages.find(kDays[d]);
            if (!page || celltext::split(page->data).value(i / 4).value(i % 4) != r.last[d])
                ++lost;
        }
    }
    for (QDate day : kDays)
        if (const auto page = pages.find(day))
            pages.remove(page->id);
    state.counters["stores"] = double(stores.size());
    state.counters["store_p50_ms"] = percentile(stores, 0.50);
    state.counters["store_p99_ms"] = percentile(stores, 0.99);
    state.counters["switch_p50_ms"] = percentile(switches, 0.50);
    state.counters["switch_p99_ms"] = percentile(switches, 0.99);
    state.counters["conflicts"] = double(conflicts);
    state.counters["failed"] = double(failures);
    state.counters["markers_lost"] = double(lost);
}
BENCHMARK(BM_Desks)->Arg(1)->Arg(4)->Arg(16)->Arg(64)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// One desk beside the floor, interleaved: each round the program's switch and store (find,
// update with its version, commit) and then libpq's own SELECT and UPDATE ... WHERE id AND
// version + COMMIT on the same rows, at the same rate.
void BM_DeskBesideFloor(benchmark::State& state)
{
    if (conninfo().isEmpty()) {
        state.SkipWithError(qPrintable(bench::twentyYearServer().error));
        return;
    }
    PGconn* conn = PQconnectdb(conninfo().toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        state.SkipWithError(PQerrorMessage(conn));
        PQfinish(conn);
        return;
    }
    auto exec = [&](const char* sql, std::initializer_list<std::string> values) {
        std::vector<const char*> params;
        for (const std::string& v : values)
            params.push_back(v.c_str());
        PGresult* r = PQexecParams(conn, sql, int(params.size()), nullptr, params.data(), nullptr, nullptr, 0);
        std::string first = PQntuples(r) > 0 ? PQgetvalue(r, 0, 0) : "";
        std::string second = PQntuples(r) > 0 && PQnfields(r) > 1 ? PQgetvalue(r, 0, 1) : "";
        PQclear(r);
        return std::make_pair(first, second);
    };
    storage::Database db(program::BookLocation{QString(), conninfo()});
    storage::PageTable pages(db);
    const storage::Layout layout = storage::readSettings(db).layout;
    std::vector<double> stores, switches, rawStores, rawSwitches;
    for (auto _ : state) {
        auto next = Clock::now();
        const auto end = next + kRun;
        for (long n = 0; Clock::now() < end; ++n) {
            const QDate date = kDays[n % 3];
            auto t0 = Clock::now();
            std::optional<storage::PageRow> row = pages.find(date);
            if (!row)
                row = pages.add(date, layout, QString(), false);
            switches.push_back(ms(Clock::now() - t0));
            row->data = QStringLiteral("program %1").arg(n);
            t0 = Clock::now();
            pages.update(*row);
            stores.push_back(ms(Clock::now() - t0));

            const std::string day = date.toString(Qt::ISODate).toStdString();
            t0 = Clock::now();
            const auto [id, version] = exec("SELECT id, version, Data FROM tbl_Appt WHERE CalDate = $1", {day});
            rawSwitches.push_back(ms(Clock::now() - t0));
            t0 = Clock::now();
            exec("BEGIN", {});
            exec("UPDATE tbl_Appt SET Data = $1, version = version + 1 WHERE id = $2 AND version = $3",
                 {"floor " + std::to_string(n), id, version});
            exec("COMMIT", {});
            rawStores.push_back(ms(Clock::now() - t0));
            next += kPeriod;
            std::this_thread::sleep_until(next);
        }
    }
    PQfinish(conn);
    for (QDate day : kDays)
        if (const auto page = pages.find(day))
            pages.remove(page->id);
    state.counters["store_p50_ms"] = percentile(stores, 0.50);
    state.counters["store_p99_ms"] = percentile(stores, 0.99);
    state.counters["switch_p50_ms"] = percentile(switches, 0.50);
    state.counters["switch_p99_ms"] = percentile(switches, 0.99);
    state.counters["floor_store_p50_ms"] = percentile(rawStores, 0.50);
    state.counters["floor_store_p99_ms"] = percentile(rawStores, 0.99);
    state.counters["floor_switch_p50_ms"] = percentile(rawSwitches, 0.50);
    state.counters["floor_switch_p99_ms"] = percentile(rawSwitches, 0.99);
    state.counters["store_ratio_p50"] = percentile(stores, 0.50) / percentile(rawStores, 0.50);
    state.counters["switch_ratio_p50"] = percentile(switches, 0.50) / percentile(rawSwitches, 0.50);
}
BENCHMARK(BM_DeskBesideFloor)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
