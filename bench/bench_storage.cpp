// The storage layer on twenty years of pages, each figure beside the same work on SQLite's
// C API, timed in turns: finding a page, adding one, and the walk over every row that the
// search and the purge make.
#include "generator.h"
#include "pair.h"
#include "raw.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/settings.h"

#include <benchmark/benchmark.h>
#include <limits>

using namespace storage;

namespace {

// Finding the page of a date: the index on (CalDate, id), the row read whole.
void BM_FindPage(benchmark::State& state, bool newest)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    Database db(big.path);
    PageTable pages(db);
    bench::RawDb raw(big.path, true);
    bench::RawStatement find(raw, bench::FindSql);
    const QDate day = newest ? big.newest : big.oldest;
    bench::Pair pair;
    for (auto _ : state) {
        pair.run(
            [&] {
                auto row = pages.find(day);
                benchmark::DoNotOptimize(row);
            },
            [&] {
                const QByteArray k = bench::key(day);
                sqlite3_bind_text(find, 1, k.constData(), int(k.size()), SQLITE_STATIC);
                bench::RawRow row;
                if (sqlite3_step(find) == SQLITE_ROW)
                    bench::readRow(find, row);
                sqlite3_reset(find);
                benchmark::DoNotOptimize(row);
            });
    }
    pair.report(state);
}
BENCHMARK_CAPTURE(BM_FindPage, newest, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindPage, oldest, false)->Unit(benchmark::kMicrosecond);

// Adding a page: one committed transaction each, the row whole with its template.
void BM_AddPage(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    Database db(big.path);
    PageTable pages(db);
    const Settings settings = readSettings(db);
    const Layout& l = settings.layout;
    bench::RawDb raw(big.path);
    bench::RawStatement insert(raw, "INSERT INTO tbl_Appt (CalDate, location, open, Close, timeslot, Listno, "
                                    "Sites, Names, Data, Clinic) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    QDate day = big.newest.addDays(1);
    bench::Pair pair;
    for (auto _ : state) {
        pair.run(
            [&] {
                pages.add(day, l, settings.templateFor(day), settings.closedOn(day));
                day = day.addDays(1);
            },
            [&] {
                raw.exec("BEGIN");
                const QByteArray k = bench::key(day);
                const QByteArray loc = l.location.toUtf8(), open = l.open.toUtf8(), close = l.close.toUtf8(),
                                 sites = l.sites.toUtf8(), names = l.names.toUtf8(),
                                 data = settings.templateFor(day).toUtf8();
                sqlite3_bind_text(insert, 1, k.constData(), int(k.size()), SQLITE_STATIC);
                sqlite3_bind_text(insert, 2, loc.constData(), int(loc.size()), SQLITE_STATIC);
                sqlite3_bind_text(insert, 3, open.constData(), int(open.size()), SQLITE_STATIC);
                sqlite3_bind_text(insert, 4, close.constData(), int(close.size()), SQLITE_STATIC);
                sqlite3_bind_int(insert, 5, l.timeslot);
                sqlite3_bind_int(insert, 6, l.listno);
                sqlite3_bind_text(insert, 7, sites.constData(), int(sites.size()), SQLITE_STATIC);
                sqlite3_bind_text(insert, 8, names.constData(), int(names.size()), SQLITE_STATIC);
                sqlite3_bind_text(insert, 9, data.constData(), int(data.size()), SQLITE_STATIC);
                sqlite3_bind_int(insert, 10, settings.closedOn(day) ? 1 : 0);
                if (sqlite3_step(insert) != SQLITE_DONE)
                    raw.fail("insert");
                sqlite3_reset(insert);
                raw.exec("COMMIT");
                day = day.addDays(1);
            });
    }
    pair.report(state);
    // The twenty years stay as generated for the other benchmarks.
    const QByteArray first = bench::key(big.newest.addDays(1));
    raw.exec(("DELETE FROM tbl_Appt WHERE CalDate >= '" + first + "'").constData());
}
BENCHMARK(BM_AddPage)->Unit(benchmark::kMillisecond);

// Every row newest first, its date, flag, text and memo read (the search's and the purge's
// walk), beside the same statement stepped on the C API doing the same reading.
void BM_WalkPages(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    Database db(big.path);
    PageTable pages(db);
    bench::RawDb raw(big.path, true);
    bench::RawStatement walk(raw, "SELECT id, CalDate, Data, Clinic, Memo FROM tbl_Appt WHERE id <= ?1 "
                                  "ORDER BY id DESC");
    bench::Pair pair;
    for (auto _ : state) {
        pair.run(
            [&] {
                qsizetype seen = 0;
                pages.walk([&](const PageRow& row) {
                    seen += row.data.size() + row.memo.size() + row.calDate.day() + row.clinic.value_or(false);
                    return true;
                });
                benchmark::DoNotOptimize(seen);
            },
            [&] {
                qsizetype seen = 0;
                sqlite3_bind_int64(walk, 1, std::numeric_limits<qint64>::max());
                while (sqlite3_step(walk) == SQLITE_ROW) {
                    const QDate day = bench::date(walk, 1);
                    const QString data = bench::text(walk, 2);
                    const bool closed = sqlite3_column_type(walk, 3) != SQLITE_NULL && sqlite3_column_int(walk, 3);
                    const QString memo = bench::text(walk, 4);
                    seen += data.size() + memo.size() + day.day() + closed + (sqlite3_column_int64(walk, 0) & 0);
                }
                sqlite3_reset(walk);
                benchmark::DoNotOptimize(seen);
            });
    }
    pair.report(state);
}
BENCHMARK(BM_WalkPages)->Unit(benchmark::kMillisecond);

}  // namespace
