// The history on twenty years of pages: a page store that records its changed cells beside
// the same store without them, and opening a cell's history after a year of edits (every
// page of the last year stored five times), with the file's size before and after.
#include "generator.h"
#include "pair.h"
#include "raw.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/file/fileengine.h"
#include "storage/file/query.h"
#include "storage/history.h"
#include "storage/pagetable.h"
#include "storage/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

using namespace storage;

namespace {

// A copy of the twenty-year file of the benchmark's own, so that the history it gains is
// seen by no other benchmark.
struct OwnCopy {
    QTemporaryDir dir;
    QString path;
    OwnCopy()
    {
        path = dir.filePath(QStringLiteral("db.mdb"));
        if (!QFile::copy(bench::twentyYearDatabase().path, path))
            throw std::runtime_error("cannot copy the twenty-year database");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
};

// The cell text with `cells` cells from the first changed to a text of the round.
QString changed(const QString& data, int cells, int round)
{
    QList<QStringList> rows = celltext::split(data);
    int done = 0;
    for (int r = 1; r < rows.size() && done < cells; ++r)
        for (int c = 0; c < rows[r].size() && done < cells; ++c, ++done)
            rows[r][c] = QStringLiteral("Client %1-%2").arg(round).arg(done);
    return celltext::join(rows);
}

// A page store changing `cells` cells, beside the same store as the program made it before
// the history: the row updated in one transaction through the same connection class, with
// no old row read and no history row written.
void BM_StoreWithHistory(benchmark::State& state)
{
    const int cells = int(state.range(0));
    const bool durable = state.range(1) != 0;
    OwnCopy copy;
    const QDate day = bench::twentyYearDatabase().newest.addDays(-40);
    auto ourEngine = std::make_unique<FileEngine>(copy.path);
    FileConnection& ourFile = ourEngine->connection();
    Database db(std::move(ourEngine));
    PageTable pages(db);
    PageRow ours = *pages.find(day);
    auto plainEngine = std::make_unique<FileEngine>(copy.path);
    FileConnection& plainFile = plainEngine->connection();
    Database plain(std::move(plainEngine));
    PageRow theirs = *PageTable(plain).find(day.addDays(-1));
    // Without the waits for the disk, what is left is the work of the program and the engine.
    if (!durable)
        for (FileConnection* f : {&ourFile, &plainFile})
            sqlite3_exec(f->native(), "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    // The pages each store writes to the file, and so to its journal first.
    auto pagesWritten = [](FileConnection& f) {
        int now = 0, highest = 0;
        sqlite3_db_status(f.native(), SQLITE_DBSTATUS_CACHE_WRITE, &now, &highest, 1);
        return now;
    };
    pagesWritten(ourFile);
    pagesWritten(plainFile);
    int round = 0;
    long ourPages = 0, floorPages = 0;
    bench::Pair pair;
    for (auto _ : state) {
        ++round;
        const QString ourText = changed(ours.data, cells, round);
        const QByteArray theirText = changed(theirs.data, cells, round).toUtf8();
        const QByteArray memo = theirs.memo.toUtf8();
        pair.run(
            [&] {
                ours.data = ourText;
                pages.update(ours);
                ourPages += pagesWritten(ourFile);
            },
            [&] {
                const QString what = QStringLiteral("storing the page");
                Transaction t(plainFile, what);
                Query q(plainFile, "UPDATE tbl_Appt SET Data = ?1, Clinic = ?2, Memo = ?3 WHERE id = ?4", what);
                sqlite3_bind_text(q.get(), 1, theirText.constData(), int(theirText.size()), SQLITE_STATIC);
                sqlite3_bind_int(q.get(), 2, 0);
                sqlite3_bind_text(q.get(), 3, memo.constData(), int(memo.size()), SQLITE_STATIC);
                sqlite3_bind_int64(q.get(), 4, theirs.id);
                q.run();
                t.commit();
                floorPages += pagesWritten(plainFile);
            });
    }
    pair.report(state);
    state.counters["pages"] = round ? double(ourPages) / (round + 1) : 0;
    state.counters["floor_pages"] = round ? double(floorPages) / (round + 1) : 0;
}
// Arguments: the cells changed, and whether the commits wait for the disk.
BENCHMARK(BM_StoreWithHistory)->Args({1, 1})->Args({50, 1})->Args({1, 0})->Args({50, 0})->Unit(benchmark::kMillisecond);

// Opening a cell's history after a year of edits: the program's read beside the same SELECT
// on SQLite's C API; the file's size before the year of edits and after, in counters.
void BM_OpenCellHistory(benchmark::State& state)
{
    OwnCopy copy;
    const double before = double(QFileInfo(copy.path).size());
    const QDate newest = bench::twentyYearDatabase().newest;
    {
        // Every page of the last year stored five times, four cells each time, as the day
        // page stores them.
        auto engine = std::make_unique<FileEngine>(copy.path);
        engine->connection().database().exec(QStringLiteral("PRAGMA synchronous = OFF"));
        Database db(std::move(engine));
        PageTable pages(db);
        for (QDate day = newest.addDays(-364); day <= newest; day = day.addDays(1)) {
            PageRow row = *pages.find(day);
            for (int edit = 0; edit < 5; ++edit) {
                QList<QStringList> rows = celltext::split(row.data);
                for (int k = 0; k < 4; ++k) {
                    const int r = 1 + (edit * 7 + k * 13 + day.day()) % std::max<int>(1, int(rows.size()) - 1);
                    if (rows[r].isEmpty())
                        continue;
                    rows[r][(edit + k) % rows[r].size()] = QStringLiteral("Edit %1.%2").arg(edit).arg(k);
                }
                row.data = celltext::join(rows);
                pages.update(row);
            }
        }
    }
    const double after = double(QFileInfo(copy.path).size());

    Database db(copy.path);
    History history(db);
    bench::RawDb raw(copy.path, true);
    bench::RawStatement select(raw, "SELECT id, CalDate, Field, CellRow, CellCol, TimeLabel, Provider, OldText, "
                                    "NewText, Moment, Desk FROM tbl_History WHERE CalDate = ?1 AND CellRow = ?2 "
                                    "AND CellCol = ?3 AND Field IN ('Data', 'NotKept') ORDER BY id DESC");
    // The cells the year of edits changed, opened in turn.
    struct Cell {
        QDate day;
        int row, col;
    };
    std::vector<Cell> edited;
    {
        bench::RawStatement cells(raw, "SELECT DISTINCT CalDate, CellRow, CellCol FROM tbl_History");
        while (sqlite3_step(cells) == SQLITE_ROW)
            edited.push_back({QDate::fromString(bench::text(cells, 0), Qt::ISODate), sqlite3_column_int(cells, 1),
                              sqlite3_column_int(cells, 2)});
    }
    if (edited.empty()) {
        state.SkipWithError("the year of edits left no history");
        return;
    }
    size_t round = 0;
    double worst = 0;
    size_t found = 0;
    bench::Pair pair;
    for (auto _ : state) {
        const Cell& cell = edited[(round * 7919) % edited.size()];
        const QDate day = cell.day;
        const int row = cell.row, col = cell.col;
        ++round;
        pair.run(
            [&] {
                const auto start = std::chrono::steady_clock::now();
                const std::vector<Change> changes = history.cell(day, row, col);
                worst = std::max(worst, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
                found += changes.size();
                benchmark::DoNotOptimize(changes);
            },
            [&] {
                const QByteArray k = bench::key(day);
                sqlite3_bind_text(select, 1, k.constData(), int(k.size()), SQLITE_STATIC);
                sqlite3_bind_int(select, 2, row);
                sqlite3_bind_int(select, 3, col);
                std::vector<QString> texts;
                while (sqlite3_step(select) == SQLITE_ROW)
                    texts.push_back(bench::text(select, 8));
                sqlite3_reset(select);
                benchmark::DoNotOptimize(texts);
            });
    }
    pair.report(state);
    state.counters["worst_ms"] = worst;
    state.counters["texts_per_open"] = round ? double(found) / double(round) : 0;
    state.counters["cells_edited"] = double(edited.size());
    state.counters["file_mb_before"] = before / 1e6;
    state.counters["file_mb_after"] = after / 1e6;
}
BENCHMARK(BM_OpenCellHistory)->Unit(benchmark::kMicrosecond);

}  // namespace
