// The search's whole-page test on twenty years of pages: a name that no page holds (every
// row walked) and one that only the oldest page holds, each timed in turns with its floor,
// the plainest walk on SQLite's C API: each Data folded to small ASCII letters into one
// reused buffer and searched with memmem. The same on a copy of the file with the index of
// its pages' text, beside the index's own query and the same folded memmem per page it names.
#include "generator.h"
#include "pair.h"
#include "storage/database.h"
#include "storage/file/searchindex.h"
#include "storage/pagesearch.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

struct SearchCopy {
    QString path;
    qint64 bytes = 0;
    double buildSeconds = 0;  // the index made on its first opening that may write
};

// A copy of the twenty-year file as it is (no index: the day page's benchmarks may give the
// file itself one), or with the index; each made once per run.
const SearchCopy& searchCopy(bool indexed)
{
    static SearchCopy copies[2];
    SearchCopy& copy = copies[indexed];
    if (!copy.path.isEmpty())
        return copy;
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    markOldestPage(big);
    copy.path = big.folder + (indexed ? QStringLiteral("/indexed.mdb") : QStringLiteral("/walked.mdb"));
    QFile::copy(big.path, copy.path);
    QFile::setPermissions(copy.path, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    sqlite3_open(copy.path.toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "DROP TRIGGER IF EXISTS tbl_ApptSearch_add; DROP TRIGGER IF EXISTS tbl_ApptSearch_remove;"
                 " DROP TRIGGER IF EXISTS tbl_ApptSearch_store; DROP TABLE IF EXISTS tbl_ApptSearch; VACUUM",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (indexed) {
        QElapsedTimer clock;
        clock.start();
        storage::Database(copy.path).prepareSearch();
        copy.buildSeconds = double(clock.nsecsElapsed()) / 1e9;
    }
    copy.bytes = QFileInfo(copy.path).size();
    return copy;
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

// The program's search beside its floor on the C API: every page newest first, or the pages
// the index names for the name, each folded and searched with memmem.
void searchBesideFloor(benchmark::State& state, const char* name, bool indexed)
{
    const SearchCopy& file = searchCopy(indexed);
    storage::Database db(file.path);
    sqlite3* raw = nullptr;
    sqlite3_open_v2(file.path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw,
                       indexed ? "SELECT a.id, a.CalDate, a.Data FROM tbl_ApptSearch s JOIN tbl_Appt a ON a.id = s.rowid"
                                 " WHERE tbl_ApptSearch MATCH ?1 ORDER BY s.rowid DESC"
                               : "SELECT id, CalDate, Data FROM tbl_Appt ORDER BY id DESC",
                       -1, &stmt, nullptr);
    const QByteArray query = storage::searchIndexQuery(QString::fromUtf8(name)).value_or(QByteArray());
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
            [&] {
                if (indexed)
                    sqlite3_bind_text(stmt, 1, query.constData(), int(query.size()), SQLITE_STATIC);
                plain = floorSearch(stmt, folded, buffer);
            });
    if (ours != plain)
        state.SkipWithError("the search and its floor found different rows");
    pair.report(state);
    if (indexed) {
        state.counters["file_MB"] = double(file.bytes) / 1e6;
        state.counters["without_MB"] = double(searchCopy(false).bytes) / 1e6;
        state.counters["build_s"] = file.buildSeconds;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
}

void BM_SearchPages(benchmark::State& state, const char* name)
{
    searchBesideFloor(state, name, false);
}
// Each search walks the whole table: ten rounds give a median worth the name.
BENCHMARK_CAPTURE(BM_SearchPages, name_nowhere, "Zbigniew Wojciechowski")
    ->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_SearchPages, name_on_oldest_page_only, "quillFEATHER")
    ->Unit(benchmark::kMillisecond)->Iterations(10);

// The same searches through the index. The file's size with and without the index and the
// time its making took go beside the figures.
void BM_SearchIndexed(benchmark::State& state, const char* name)
{
    searchBesideFloor(state, name, true);
}
BENCHMARK_CAPTURE(BM_SearchIndexed, name_nowhere, "Zbigniew Wojciechowski")
    ->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_SearchIndexed, name_on_oldest_page_only, "quillFEATHER")
    ->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
