// The book on a practice server: the twenty-year data loaded into a server the bench starts
// itself, each figure beside the same query through libpq directly, timed in turns: finding
// a page, a page switch (browsing, and after an edit), a client search that misses, and a
// backup of the server to a db.mdb. The same figures on the file come from the benchmarks of
// the file (BM_FindPage, BM_PageSwitch, BM_SearchPages, BM_Backup), run in the same process.
#include "baregrid.h"
#include "daypage.h"
#include "generator.h"
#include "pair.h"
#include "pgserver.h"
#include "raw.h"
#include "rawpq.h"
#include "app/screens.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "program.h"
#include "storage/database.h"
#include "storage/pagesearch.h"
#include "storage/pagetable.h"
#include "storage/server/server.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The server's book, or the reason the benchmark is skipped.
const QString* serverOrSkip(benchmark::State& state)
{
    const bench::BenchServer& server = bench::twentyYearServer();
    if (server.conninfo.isEmpty()) {
        state.SkipWithError(qPrintable(QStringLiteral("no server: ") + server.error));
        return nullptr;
    }
    return &server.conninfo;
}

program::BookLocation onServer(const QString& conninfo)
{
    return {program::databasePath(), conninfo};
}

void BM_ServerFindPage(benchmark::State& state, bool newest)
{
    const QString* conninfo = serverOrSkip(state);
    if (!conninfo)
        return;
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    storage::Database db(onServer(*conninfo));
    storage::PageTable pages(db);
    bench::RawPq raw(*conninfo);
    raw.prepare("find", bench::PqFindSql);
    const QByteArray day = bench::key(newest ? big.newest : big.oldest);
    const QDate date = newest ? big.newest : big.oldest;
    bench::Pair pair;
    for (auto _ : state)
        pair.run(
            [&] {
                auto row = pages.find(date);
                benchmark::DoNotOptimize(row);
            },
            [&] {
                PGresult* r = raw.run("find", {day});
                bench::RawRow row;
                if (PQntuples(r) > 0)
                    bench::readPqRow(r, 0, row);
                PQclear(r);
                benchmark::DoNotOptimize(row);
            });
    pair.report(state);
}
BENCHMARK_CAPTURE(BM_ServerFindPage, newest, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ServerFindPage, oldest, false)->Unit(benchmark::kMicrosecond);


// The floor of a switch on the server: the page left stored in one committed UPDATE, the
// page arrived at looked up and read, and its cells painted on a bare widget.
struct PqSwitchFloor {
    bench::RawPq raw;
    bench::BareGrid grid{16};
    bench::RawRow current;

    PqSwitchFloor(const QString& conninfo, QSize size) : raw(conninfo)
    {
        raw.prepare("find", bench::PqFindSql);
        raw.prepare("store", "UPDATE tbl_Appt SET Data = $1, Clinic = $2, Memo = $3, version = version + 1 "
                             "WHERE id = $4");
        grid.resize(size);
        grid.show();
        QCoreApplication::processEvents();
    }
    void store(const QString& data)
    {
        PQclear(raw.run("store", {data.toUtf8(), current.clinic == 1 ? "t" : "f", current.memo.toUtf8(),
                                  QByteArray::number(current.id)}));
    }
    void open(QDate day)
    {
        PGresult* r = raw.run("find", {bench::key(day)});
        if (PQntuples(r) > 0)
            bench::readPqRow(r, 0, current);
        PQclear(r);
    }
    // The page left is stored with `text` (the grid's own when nothing was typed).
    void switchTo(QDate day, const QString& text = {})
    {
        store(text.isEmpty() ? grid.page() : text);
        open(day);
        grid.setPage(current.data);
        grid.repaint();
    }
};

void BM_ServerPageSwitch(benchmark::State& state, bool afterEdit)
{
    const QString* conninfo = serverOrSkip(state);
    if (!conninfo)
        return;
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    frmAppt* form = bench::openDayPage(*conninfo);
    if (!form) {
        state.SkipWithError("the day page did not open");
        program::setServer({});
        return;
    }
    const QDate a = big.newest.addDays(-3);
    const QDate b = big.newest.addDays(-2);
    // The floor works on two other pages of the same kind: a row the form has read must not
    // change under it, or its next store is refused as one made on another desk.
    const QDate floorA = a.addDays(-7), floorB = b.addDays(-7);
    PqSwitchFloor floor(*conninfo, form->Grid1->viewport()->size());
    floor.open(floorA);
    const QString original = floor.current.data;
    floor.grid.setPage(original);
    form->switchPage(a);
    int n = 0;
    bench::Pair pair;
    for (auto _ : state) {
        const QString typed = QStringLiteral("Client %1").arg(++n);
        const QDate to = n % 2 ? b : a;
        pair.run(
            [&] {
                if (afterEdit)
                    form->Grid1->setTextMatrix(5, 2, typed);
                form->switchPage(to);
                form->repaint();
            },
            [&] { floor.switchTo(to == a ? floorA : floorB, afterEdit ? typed + original : QString()); });
    }
    pair.report(state);
    delete form;
    bench::settle();
    program::setServer({});
}
BENCHMARK_CAPTURE(BM_ServerPageSwitch, browse, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ServerPageSwitch, after_edit, true)->Unit(benchmark::kMillisecond);

// A client search for a name no page holds. Beside it, the narrowing query through libpq on
// the trigram index (over Data folded as the program folds it), and each candidate confirmed
// by a folded memmem. Without the index (a server without pg_trgm), both read every row.
void BM_ServerSearchMiss(benchmark::State& state, bool indexed)
{
    const QString* conninfo = serverOrSkip(state);
    if (!conninfo)
        return;
    const char* name = "Zbigniew Wojciechowski";
    storage::Database db(onServer(*conninfo));
    bench::RawPq raw(*conninfo);
    // The candidates through the trigram index. The planner, which counts the page texts kept
    // out of line as free, would walk every row instead (0.3 s here): the floor's connection
    // is steered onto the index.
    if (indexed) {
        raw.exec("SET enable_seqscan = off");
        raw.exec("SET enable_indexscan = off");
    } else {
        raw.exec("DROP INDEX IF EXISTS idx_appt_data_trgm");
    }
    const char* search = "SELECT id, CalDate, Data FROM tbl_Appt WHERE translate(lower(Data), '\u017F\u212A', 'sk') "
                         "LIKE $1 ORDER BY id DESC";
    const std::string folded = QString::fromUtf8(name).toLower().toStdString();
    const QByteArray pattern = "%" + QByteArray::fromStdString(folded) + "%";
    bench::Pair pair;
    qint64 ours = -1, plain = -1;
    std::string buffer;
    for (auto _ : state)
        pair.run(
            [&] {
                storage::PageSearch search(db, QString::fromUtf8(name));
                const std::optional<storage::PageMatch> hit = search.next(std::nullopt);
                ours = hit ? hit->id : 0;
            },
            [&] {
                const char* values[] = {pattern.constData()};
                PGresult* r = PQexecParams(raw.get(), search, 1, nullptr, values, nullptr, nullptr, 0);
                plain = 0;
                for (int i = 0; i < PQntuples(r) && !plain; ++i) {
                    buffer = QString::fromUtf8(PQgetvalue(r, i, 2)).toLower().toStdString();
                    if (memmem(buffer.data(), buffer.size(), folded.data(), folded.size()))
                        plain = QByteArray(PQgetvalue(r, i, 0)).toLongLong();
                }
                PQclear(r);
            });
    if (!indexed)
        raw.exec("CREATE INDEX idx_appt_data_trgm ON tbl_Appt USING gin "
                 "(translate(lower(Data), '\u017F\u212A', 'sk') gin_trgm_ops)");
    if (ours != plain)
        state.SkipWithError("the search and its floor found different rows");
    pair.report(state);
}
BENCHMARK_CAPTURE(BM_ServerSearchMiss, indexed, true)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_ServerSearchMiss, without_index, false)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor of a backup: the three tables read through libpq in one REPEATABLE READ
// transaction and written into a db.mdb (the seed's tables, emptied) in one SQLite
// transaction, then the file synced.
bool plainBackup(bench::RawPq& raw, const QString& target)
{
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(CALVORA_SEED_DB), target))
        return false;
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    bench::RawDb file(target);
    raw.exec("BEGIN ISOLATION LEVEL REPEATABLE READ");
    file.exec("BEGIN");
    file.exec("DELETE FROM tbl_Appt");
    bench::RawStatement insert(file, "INSERT INTO tbl_Appt (id, CalDate, Data, Clinic, Memo, location, open, Close, "
                                     "timeslot, Listno, Sites, Names) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)");
    PGresult* r = PQexec(raw.get(), "SELECT id, CalDate, Data, Clinic::int, Memo, location, open, Close, timeslot, "
                                    "Listno, Sites, Names FROM tbl_Appt ORDER BY id");
    const bool read = PQresultStatus(r) == PGRES_TUPLES_OK;
    for (int i = 0; read && i < PQntuples(r); ++i) {
        for (int c = 0; c < 12; ++c) {
            if (PQgetisnull(r, i, c))
                sqlite3_bind_null(insert, c + 1);
            else
                sqlite3_bind_text(insert, c + 1, PQgetvalue(r, i, c), PQgetlength(r, i, c), SQLITE_STATIC);
        }
        if (sqlite3_step(insert) != SQLITE_DONE)
            file.fail("insert");
        sqlite3_reset(insert);
    }
    PQclear(r);
    // The settings row and the help texts are a few rows: read like the pages.
    PQclear(PQexec(raw.get(), "SELECT * FROM tbl_Setup"));
    PQclear(PQexec(raw.get(), "SELECT * FROM tbl_Order"));
    raw.exec("COMMIT");
    file.exec("COMMIT");
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return read && synced;
}

void BM_ServerBackup(benchmark::State& state)
{
    const QString* conninfo = serverOrSkip(state);
    if (!conninfo)
        return;
    QTemporaryDir disk;
    const QString backup = disk.filePath(QStringLiteral("db.mdb"));
    const QString floorCopy = disk.filePath(QStringLiteral("plain.mdb"));
    bench::RawPq raw(*conninfo);
    bench::Pair pair;
    for (auto _ : state) {
        bool ok = true;
        pair.run(
            [&] {
                try {
                    storage::backupServer(*conninfo, backup);
                } catch (const storage::StorageError& e) {
                    qWarning("%s", qPrintable(e.message()));
                    ok = false;
                }
            },
            [&] { ok = plainBackup(raw, floorCopy) && ok; });
        if (!ok) {
            state.SkipWithError("a backup failed");
            return;
        }
    }
    pair.report(state);
}
BENCHMARK(BM_ServerBackup)->Unit(benchmark::kMillisecond)->Iterations(6);

}  // namespace
