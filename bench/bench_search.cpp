// The search's whole-page test on twenty years of pages: a name that no page holds (every
// row walked) and one that only the oldest page holds, each timed in turns with its floor,
// the plainest walk on SQLite's C API: each Data folded to small ASCII letters into one
// reused buffer and searched with memmem.
#include "generator.h"
#include "pair.h"
#include "storage/database.h"
#include "storage/pagesearch.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <sqlite3.h>
#include <string>

namespace {

const char* const kOnlyOldest = "Xiomara Quillfeather";

// The oldest page gets a client no other page has (once per run; the name stays there).
void markOldestPage(const bench::BigDatabase& big)
{
    sqlite3* db = nullptr;
    sqlite3_open(big.path.toUtf8().constData(), &db);
    const std::string sql = std::string("UPDATE tbl_Appt SET Data = Data || char(9) || '") + kOnlyOldest
                            + "' WHERE id = (SELECT min(id) FROM tbl_Appt) AND instr(Data, '" + kOnlyOldest
                            + "') = 0";
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The floor: walks from the newest row to the first whose folded Data holds the folded name.
qint64 floorSearch(sqlite3_stmt* stmt, const std::string& name, std::string& buffer)
{
    qint64 found = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2));
        const int size = sqlite3_column_bytes(stmt, 2);
        if (!data)
            continue;
        buffer.resize(size_t(size));
        for (int i = 0; i < size; ++i) {
            const char c = data[i];
            buffer[size_t(i)] = c >= 'A' && c <= 'Z' ? char(c + 32) : c;
        }
        if (memmem(buffer.data(), buffer.size(), name.data(), name.size())) {
            found = sqlite3_column_int64(stmt, 0);
            break;
        }
    }
    sqlite3_reset(stmt);
    return found;
}

void BM_SearchPages(benchmark::State& state, const char* name)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    markOldestPage(big);
    storage::Database db(big.path);

    sqlite3* raw = nullptr;
    sqlite3_open_v2(big.path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw, "SELECT id, CalDate, Data FROM tbl_Appt ORDER BY id DESC", -1, &stmt, nullptr);
    std::string folded = QString::fromUtf8(name).toLower().toStdString();
    std::string buffer;

    bench::Pair pair;
    qint64 ours = -1, plain = -1;
    for (auto _ : state)
        pair.run(
            [&] {
                storage::PageSearch search(db, QString::fromUtf8(name));
                const std::optional<storage::PageMatch> hit = search.next(std::nullopt);
                ours = hit ? hit->id : 0;
            },
            [&] { plain = floorSearch(stmt, folded, buffer); });
    if (ours != plain)
        state.SkipWithError("the search and its floor found different rows");
    pair.report(state);
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
}
// Each search walks the whole table: ten rounds give a median worth the name.
BENCHMARK_CAPTURE(BM_SearchPages, name_nowhere, "Zbigniew Wojciechowski")
    ->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_SearchPages, name_on_oldest_page_only, "quillFEATHER")
    ->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
