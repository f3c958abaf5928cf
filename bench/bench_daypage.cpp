// The day page on twenty years of pages, through the real screen offscreen, each figure
// beside the plainest way of doing the same work, timed in turns: a page switch (browsing,
// and after an edit, when the commit reaches the disk), leaving the screen (save and purge),
// and opening the screen with the file out of the page cache.
#include "baregrid.h"
#include "daypage.h"
#include "generator.h"
#include "pair.h"
#include "raw.h"
#include "app/screens.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "program.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {


// The floor of a switch: the page left stored unchanged and committed, the page arrived at
// looked up and read, and its cells painted on a bare widget.
struct SwitchFloor {
    bench::RawDb raw;
    bench::RawStatement find;
    bench::RawStatement update;
    bench::BareGrid grid{16};
    bench::RawRow current;

    explicit SwitchFloor(const QString& path, QSize size)
        : raw(path), find(raw, bench::FindSql),
          update(raw, "UPDATE tbl_Appt SET Data = ?1, Clinic = ?2, Memo = ?3 WHERE id = ?4")
    {
        grid.resize(size);
        grid.show();
        QCoreApplication::processEvents();  // exposed, so repaints really paint
    }
    void store(const QString& data)
    {
        const QByteArray d = data.toUtf8(), m = current.memo.toUtf8();
        raw.exec("BEGIN");
        sqlite3_bind_text(update, 1, d.constData(), int(d.size()), SQLITE_STATIC);
        sqlite3_bind_int(update, 2, current.clinic);
        sqlite3_bind_text(update, 3, m.constData(), int(m.size()), SQLITE_STATIC);
        sqlite3_bind_int64(update, 4, current.id);
        if (sqlite3_step(update) != SQLITE_DONE)
            raw.fail("update");
        sqlite3_reset(update);
        raw.exec("COMMIT");
    }
    void open(QDate day)
    {
        const QByteArray k = bench::key(day);
        sqlite3_bind_text(find, 1, k.constData(), int(k.size()), SQLITE_STATIC);
        if (sqlite3_step(find) == SQLITE_ROW)
            bench::readRow(find, current);
        sqlite3_reset(find);
    }
    void switchTo(QDate day)
    {
        store(grid.page());
        open(day);
        grid.setPage(current.data);
        grid.repaint();
    }
};

// Switches between two past dates, each switch saving the page left (unchanged: the engine
// writes nothing), finding the other, laying it out under its own layout and painting it.
void BM_PageSwitch(benchmark::State& state, bool oldest)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    frmAppt* form = bench::openDayPage();
    if (!form) {
        state.SkipWithError("the day page did not open");
        return;
    }
    const QDate a = oldest ? big.oldest : big.newest.addDays(-3);
    const QDate b = oldest ? big.oldest.addDays(1) : big.newest.addDays(-2);
    SwitchFloor floor(big.path, form->Grid1->viewport()->size());
    floor.open(a);
    floor.grid.setPage(floor.current.data);
    form->switchPage(a);
    bool flip = false;
    bench::Pair pair;
    for (auto _ : state) {
        const QDate to = flip ? a : b;
        pair.run(
            [&] {
                form->switchPage(to);
                form->repaint();
            },
            [&] { floor.switchTo(to); });
        flip = !flip;
    }
    pair.report(state);
    delete form;
    bench::settle();
}
BENCHMARK_CAPTURE(BM_PageSwitch, browse_near_newest, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageSwitch, browse_oldest, true)->Unit(benchmark::kMillisecond);

// A cell edited, then another day opened: the switch stores a changed page, and its commit
// reaches the disk. Beside it, the same row updated with changed text and committed.
void BM_PageSwitchAfterEdit(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    frmAppt* form = bench::openDayPage();
    if (!form) {
        state.SkipWithError("the day page did not open");
        return;
    }
    const QDate a = big.newest.addDays(-3);
    const QDate b = big.newest.addDays(-2);
    SwitchFloor floor(big.path, form->Grid1->viewport()->size());
    floor.open(big.newest.addDays(-10));
    const QString original = floor.current.data;
    form->switchPage(a);
    int n = 0;
    bench::Pair pair;
    for (auto _ : state) {
        const QString typed = QStringLiteral("Client %1").arg(++n);
        const QDate to = n % 2 ? b : a;
        pair.run(
            [&] {
                form->Grid1->setTextMatrix(5, 2, typed);
                form->switchPage(to);
                form->repaint();
            },
            [&] { floor.store(typed + original); });
    }
    pair.report(state);
    floor.store(original);
    delete form;
    bench::settle();
}
BENCHMARK(BM_PageSwitchAfterEdit)->Unit(benchmark::kMillisecond);

// Leaving the screen: the page is saved and every row is compared with its template. The
// generated pages all hold clients, so the purge deletes none and each run reads all 7,300.
// Beside it: the page stored unchanged, and the same comparison on the C API.
void BM_LeavePageScreen(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    bench::RawDb raw(big.path);
    bench::RawStatement settings(raw, "SELECT Mon, Tue, Wed, Thu, Fri, Sat, Sun FROM tbl_Setup LIMIT 1");
    bench::RawStatement walk(raw, "SELECT id, CalDate, Data, Clinic, Memo FROM tbl_Appt ORDER BY id DESC");
    SwitchFloor floor(big.path, QSize(10, 10));
    floor.open(big.newest);
    // The menu stays loaded between rounds, so that leaving only shows it.
    screens::show(Screen::Menu);
    bench::Pair pair;
    for (auto _ : state) {
        frmAppt* form = bench::openDayPage();
        if (!form) {
            state.SkipWithError("the day page did not open");
            return;
        }
        pair.run([&] { form->LeavePageScreen(); },
                 [&] {
                     floor.store(floor.current.data);
                     QByteArray templates[7];
                     if (sqlite3_step(settings) == SQLITE_ROW)
                         for (int i = 0; i < 7; ++i)
                             templates[i] = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(settings, i)),
                                                       sqlite3_column_bytes(settings, i));
                     sqlite3_reset(settings);
                     int empty = 0;
                     while (sqlite3_step(walk) == SQLITE_ROW) {
                         const QDate day = bench::date(walk, 1);
                         const QByteArray& tmpl = templates[day.dayOfWeek() - 1];
                         const bool same = sqlite3_column_type(walk, 2) != SQLITE_NULL
                                           && sqlite3_column_bytes(walk, 2) == tmpl.size()
                                           && memcmp(sqlite3_column_text(walk, 2), tmpl.constData(), tmpl.size()) == 0;
                         if (same && sqlite3_column_bytes(walk, 4) == 0)
                             ++empty;
                     }
                     sqlite3_reset(walk);
                     benchmark::DoNotOptimize(empty);
                 });
        bench::settle();
        if (Form* menu = screens::loaded(Screen::Menu))
            menu->hide();
    }
    pair.report(state);
    screens::unload(Screen::Menu);
    bench::settle();
}
BENCHMARK(BM_LeavePageScreen)->Unit(benchmark::kMillisecond)->MinTime(3);

// Opening the day page with the file out of the page cache (the first start of a morning):
// beside it, a connection opened on the C API that looks up today's page and reads it.
void BM_ColdOpen(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    bench::Pair pair;
    for (auto _ : state) {
        frmAppt* form = nullptr;
        pair.run(
            [&] {
                form = bench::openDayPage();
                if (form)
                    form->repaint();
            },
            [&] {
                bench::RawDb raw(big.path, true);
                bench::RawStatement find(raw, bench::FindSql);
                const QByteArray k = bench::key(big.newest);
                sqlite3_bind_text(find, 1, k.constData(), int(k.size()), SQLITE_STATIC);
                bench::RawRow row;
                if (sqlite3_step(find) == SQLITE_ROW)
                    bench::readRow(find, row);
                benchmark::DoNotOptimize(row);
            },
            [&] { bench::dropFromCache(big.path); });
        if (!form) {
            state.SkipWithError("the day page did not open");
            return;
        }
        delete form;
        bench::settle();
    }
    pair.report(state);
}
BENCHMARK(BM_ColdOpen)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
