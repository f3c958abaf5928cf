// The largest page the settings allow: sixteen providers, a whole day in ten-minute slots,
// a name in every cell. Laying it out and moving its text in and out is what every page
// switch does; beside it, the plainest way to hold and paint the same cells.
#include "baregrid.h"
#include "pair.h"
#include "page/FlexGrid.h"
#include "page/pagelayout.h"

#include <QCoreApplication>
#include <QFont>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {
constexpr int Providers = 16;

struct FullPage {
    FlexGrid grid;
    QStringList names{QString()};
    QStringList sites{QString()};
    QString text;

    FullPage()
    {
        grid.setFixedRows(3);
        grid.setFixedCols(1);
        grid.setFont(QFont(QStringLiteral("Arial"), 8, QFont::Bold));
        grid.resize(1200, 800);
        grid.show();
        QCoreApplication::processEvents();  // exposed, so repaints really paint
        for (int i = 1; i <= Providers; ++i) {
            names << QStringLiteral("Provider %1").arg(i);
            sites << QStringLiteral("Site %1").arg(i);
        }
        // 144 time rows, one row above and two below them.
        QStringList rows;
        for (int r = 0; r < 147; ++r) {
            QStringList cells;
            for (int c = 0; c < Providers; ++c)
                cells << QStringLiteral("Client %1-%2").arg(r).arg(c);
            rows << cells.join(u'\t');
        }
        text = rows.join(u'\r');
    }

    void layOut()
    {
        PageGridLayout layout(grid, PageGridLayout::DayPage);
        layout.BuildProviderColumns(Providers + 1, sites, names);
        QString open = QStringLiteral("12:00 AM");
        layout.BuildTimeRows(open, QStringLiteral("11:50 PM"), 10);
        grid.setRow(3);
        grid.setCol(1);
        grid.setColSel(layout.LastCol);
        grid.setRowSel(layout.LastRow);
    }
};
}  // namespace

// Layout, the page's text laid in and read back; beside it, the text split into cells and
// joined again.
static void BM_GridFullPage(benchmark::State& state)
{
    FullPage page;
    bench::BareGrid bare(Providers);
    bench::Pair pair;
    for (auto _ : state) {
        pair.run(
            [&] {
                page.layOut();
                page.grid.clearSelection();
                page.grid.setClip(page.text);
                QString back = page.grid.Clip();
                benchmark::DoNotOptimize(back);
                if (back != page.text)
                    state.SkipWithError("Clip did not give the page back");
            },
            [&] {
                bare.setPage(page.text);
                QString back = bare.page();
                benchmark::DoNotOptimize(back);
            });
    }
    pair.report(state);
}
BENCHMARK(BM_GridFullPage)->Unit(benchmark::kMillisecond);

// Painting the full page once it stands (what the user waits for after a switch), beside a
// bare widget painting the same cells in the same area.
static void BM_GridPaint(benchmark::State& state)
{
    FullPage page;
    page.layOut();
    page.grid.setClip(page.text);
    bench::BareGrid bare(Providers);
    bare.setPage(page.text);
    bare.resize(page.grid.viewport()->size());
    bare.show();
    QCoreApplication::processEvents();
    bench::Pair pair;
    for (auto _ : state)
        pair.run([&] { page.grid.viewport()->repaint(); }, [&] { bare.repaint(); });
    pair.report(state);
}
BENCHMARK(BM_GridPaint)->Unit(benchmark::kMillisecond);
