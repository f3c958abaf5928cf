// The storage layer on twenty years of pages: finding a page, adding one, and the walk over
// every row that the search and the purge make, beside the same walk on SQLite directly.
#include "generator.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/settings.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace storage;

namespace {

void BM_FindPage(benchmark::State& state, bool newest)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    Database db(big.path);
    PageTable pages(db);
    const QDate day = newest ? big.newest : big.oldest;
    for (auto _ : state) {
        auto row = pages.find(day);
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK_CAPTURE(BM_FindPage, newest, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindPage, oldest, false)->Unit(benchmark::kMicrosecond);

void BM_AddPage(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    Database db(big.path);
    PageTable pages(db);
    const Layout layout = readSettings(db).layout;
    QDate day = big.newest.addDays(1);
    QList<qint64> added;
    for (auto _ : state) {
        added << pages.add(day, layout).id;
        day = day.addDays(1);
    }
    pages.remove(added);
}
BENCHMARK(BM_AddPage)->Unit(benchmark::kMicrosecond);

void BM_WalkStorage(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    Database db(big.path);
    PageTable pages(db);
    for (auto _ : state) {
        qsizetype chars = 0;
        pages.walk([&](const PageRow& row) {
            chars += row.data.size() + row.memo.size();
            return true;
        });
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_WalkStorage)->Unit(benchmark::kMillisecond);

// The same walk with the SQLite C API, reading the same columns as UTF-16 text as the
// storage layer hands them on.
void BM_WalkRawSqlite(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    sqlite3* db = nullptr;
    sqlite3_open_v2(big.path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT id, CalDate, Data, Clinic, Memo FROM tbl_Appt ORDER BY id DESC",
                       -1, &stmt, nullptr);
    for (auto _ : state) {
        qsizetype chars = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const QString data = QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)), sqlite3_column_bytes(stmt, 2));
            const QString memo = QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, 4)), sqlite3_column_bytes(stmt, 4));
            chars += data.size() + memo.size() + sqlite3_column_int64(stmt, 0) % 2;
        }
        sqlite3_reset(stmt);
        benchmark::DoNotOptimize(chars);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_WalkRawSqlite)->Unit(benchmark::kMillisecond);

}  // namespace
