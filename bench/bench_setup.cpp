// The set-up page's Okay on twenty years of pages with a year of pages ahead: the settings row
// and the pages of today and later rewritten in one transaction (UpdateFuturePages), and the
// count of those pages that hold entries of their own; each beside the same work done with
// SQLite's C API, timed in turns.
#include "generator.h"
#include "pair.h"
#include "storage/database.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

using namespace storage;

namespace {

constexpr int FuturePages = 365;

// A copy of the twenty-year file, with a year of pages after the day pinned as today.
struct FutureDatabase {
    std::unique_ptr<QTemporaryDir> dir;
    QString path;
    QDate today;
};

void exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

const FutureDatabase& futureDatabase()
{
    static FutureDatabase fd;
    if (fd.dir)
        return fd;
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    fd.dir = std::make_unique<QTemporaryDir>();
    fd.path = fd.dir->filePath(QStringLiteral("db.mdb"));
    if (!QFile::copy(big.path, fd.path))
        throw std::runtime_error("cannot copy the twenty-year database");
    fd.today = big.newest.addDays(1);

    sqlite3* db = nullptr;
    sqlite3_open(fd.path.toUtf8().constData(), &db);
    exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, Close, timeslot, "
                       "Listno, Sites, Names) SELECT ?, ?, 0, '', location, open, Close, timeslot, Listno, "
                       "Sites, Names FROM tbl_Appt WHERE id = (SELECT max(id) FROM tbl_Appt)",
                       -1, &insert, nullptr);
    for (int i = 0; i < FuturePages; ++i) {
        const QByteArray date = fd.today.addDays(i).toString(Qt::ISODate).toUtf8();
        // A page in three holds appointments already; the others only their template (empty).
        const QByteArray data = i % 3 == 0 ? bench::generatedPage(100000 + i).toUtf8() : QByteArray();
        sqlite3_bind_text(insert, 1, date.constData(), int(date.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, data.constData(), int(data.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "UPDATE tbl_Setup SET Mon = '', Tue = '', Wed = '', Thu = '', Fri = '', Sat = '', Sun = ''");
    exec(db, "COMMIT");
    sqlite3_close(db);
    return fd;
}

// The engine's own statement, prepared once.
struct Raw {
    sqlite3* db = nullptr;
    explicit Raw(const QString& path) { sqlite3_open(path.toUtf8().constData(), &db); }
    ~Raw() { sqlite3_close(db); }
    sqlite3_stmt* prepare(const char* sql) const
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        return stmt;
    }
};

void bindText(sqlite3_stmt* stmt, int index, const QByteArray& text)
{
    sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

// Okay: the settings row and every page of the coming year, 16 providers whose names change
// each round, so that every page is rewritten each time.
void BM_StoreSetup(benchmark::State& state)
{
    const FutureDatabase& fd = futureDatabase();
    Database db(fd.path);
    Layout layout = readSettings(db).layout;
    layout.listno = 16;
    Raw raw(fd.path);
    sqlite3_stmt* settings = raw.prepare(
        "UPDATE tbl_Setup SET location = ?, open = ?, Close = ?, timeslot = ?, Listno = ?, Sites = ?, "
        "Names = ? WHERE rowid = (SELECT min(rowid) FROM tbl_Setup)");
    sqlite3_stmt* times = raw.prepare(
        "UPDATE tbl_Appt SET location = ?, open = ?, Close = ?, timeslot = ? WHERE CalDate >= ?");
    sqlite3_stmt* providers = raw.prepare(
        "UPDATE tbl_Appt SET Listno = ?, Sites = ?, Names = ? WHERE CalDate >= ? AND Listno <= ?");
    const QByteArray today = fd.today.toString(Qt::ISODate).toUtf8();

    bench::Pair pair;
    int round = 0;
    for (auto _ : state) {
        ++round;
        const QString names = QStringLiteral("Provider %1%").arg(round).repeated(16);
        pair.run(
            [&] {
                layout.names = names;
                storeSetup(db, layout, fd.today);
            },
            [&] {
                const QByteArray n = (names + u'x').toUtf8();
                exec(raw.db, "BEGIN");
                bindText(settings, 1, layout.location.toUtf8());
                bindText(settings, 2, layout.open.toUtf8());
                bindText(settings, 3, layout.close.toUtf8());
                sqlite3_bind_int(settings, 4, layout.timeslot);
                sqlite3_bind_int(settings, 5, layout.listno);
                bindText(settings, 6, layout.sites.toUtf8());
                bindText(settings, 7, n);
                sqlite3_step(settings);
                sqlite3_reset(settings);
                bindText(times, 1, layout.location.toUtf8());
                bindText(times, 2, layout.open.toUtf8());
                bindText(times, 3, layout.close.toUtf8());
                sqlite3_bind_int(times, 4, layout.timeslot);
                bindText(times, 5, today);
                sqlite3_step(times);
                sqlite3_reset(times);
                sqlite3_bind_int(providers, 1, layout.listno);
                bindText(providers, 2, layout.sites.toUtf8());
                bindText(providers, 3, n);
                bindText(providers, 4, today);
                sqlite3_bind_int(providers, 5, layout.listno);
                sqlite3_step(providers);
                sqlite3_reset(providers);
                exec(raw.db, "COMMIT");
            });
    }
    pair.report(state);
    sqlite3_finalize(settings);
    sqlite3_finalize(times);
    sqlite3_finalize(providers);
}
BENCHMARK(BM_StoreSetup)->Iterations(40)->Unit(benchmark::kMillisecond);

// The question before entries move: the pages of the coming year compared with their
// weekday's template.
void BM_PagesWithOwnEntries(benchmark::State& state)
{
    const FutureDatabase& fd = futureDatabase();
    Database db(fd.path);
    Raw raw(fd.path);
    sqlite3_stmt* templates = raw.prepare("SELECT Mon, Tue, Wed, Thu, Fri, Sat, Sun FROM tbl_Setup");
    sqlite3_stmt* pages = raw.prepare("SELECT CalDate, Data FROM tbl_Appt WHERE CalDate >= ? AND Data IS NOT NULL");
    const QByteArray today = fd.today.toString(Qt::ISODate).toUtf8();

    bench::Pair pair;
    int ours = 0, floor = 0;
    for (auto _ : state) {
        pair.run([&] { ours = pagesWithOwnEntries(db, fd.today); },
                 [&] {
                     QString weekTemplates[7];
                     sqlite3_step(templates);
                     for (int i = 0; i < 7; ++i)
                         weekTemplates[i] = QString::fromUtf8(
                             reinterpret_cast<const char*>(sqlite3_column_text(templates, i)),
                             sqlite3_column_bytes(templates, i));
                     sqlite3_reset(templates);
                     bindText(pages, 1, today);
                     floor = 0;
                     while (sqlite3_step(pages) == SQLITE_ROW) {
                         const QDate date = QDate::fromString(
                             QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pages, 0))), Qt::ISODate);
                         const QString data = QString::fromUtf8(
                             reinterpret_cast<const char*>(sqlite3_column_text(pages, 1)), sqlite3_column_bytes(pages, 1));
                         if (data != weekTemplates[date.dayOfWeek() - 1] && !data.isEmpty())
                             ++floor;
                     }
                     sqlite3_reset(pages);
                 });
    }
    if (ours != floor)
        state.SkipWithError("the two counts differ");
    state.counters["pages"] = ours;
    pair.report(state);
    sqlite3_finalize(templates);
    sqlite3_finalize(pages);
}
BENCHMARK(BM_PagesWithOwnEntries)->Iterations(40)->Unit(benchmark::kMillisecond);

}  // namespace
