// Printing the largest day page (sixteen providers, five-minute slots, every cell filled,
// more than one sheet a column) to PDF: the program's printout against the same lines drawn
// straight onto a QPdfWriter, the plainest way to make those sheets.
#include "page/FlexGrid.h"
#include "page/pagelayout.h"
#include "pair.h"
#include "printing/QPrinterTarget.h"
#include "printing/RecordingTarget.h"
#include "printing/schedule.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct BigPage {
    FlexGrid grid;
    ScheduleCaptions captions{QStringLiteral("Wednesday"), QStringLiteral("6 Mar 2024")};
    int providers = 16;

    BigPage()
    {
        grid.setFixedRows(3);
        grid.setFixedCols(1);
        PageGridLayout layout(grid, PageGridLayout::DayPage);
        QStringList sites{QString()}, names{QString()};
        for (int c = 1; c <= providers; ++c) {
            sites << QStringLiteral("Room %1").arg(c);
            names << QStringLiteral("Provider number %1").arg(c);
        }
        layout.BuildProviderColumns(providers + 1, sites, names);
        QString open = QStringLiteral("08:00 AM");
        layout.BuildTimeRows(open, QStringLiteral("05:00 PM"), 5);
        for (int r = 3; r < grid.Rows(); ++r)
            for (int c = 1; c <= providers; ++c)
                grid.setTextMatrix(r, c, QStringLiteral("Client %1-%2, recall visit").arg(r).arg(c));
    }
};

// The floor: the recorded lines drawn one under another, a sheet after each page break
// and wherever the next line would pass the bottom.
void drawPlainly(const QList<RecordingTarget::Line>& lines, const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    QPainter p(&writer);
    const qreal height = writer.height();
    qreal y = 0;
    int page = 1;
    for (const RecordingTarget::Line& l : lines) {
        p.setFont(QPrinterTarget::font(l.pointSize, l.bold));
        const QFontMetricsF m(p.font(), &writer);
        if (l.page != page || y + m.lineSpacing() > height) {
            writer.newPage();
            page = l.page;
            y = 0;
        }
        p.drawText(QPointF(0, y + m.ascent()), l.text);
        y += m.lineSpacing();
    }
}

void BM_PrintLargestPageToPdf(benchmark::State& state)
{
    BigPage page;
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.pdf"));
    const QString plain = dir.filePath(QStringLiteral("plain.pdf"));
    RecordingTarget recorded;
    PrintSchedule(recorded, page.grid, 1, page.providers, true, page.captions);

    bench::Pair pair;
    for (auto _ : state) {
        pair.run(
            [&] {
                QPrinter printer(QPrinter::HighResolution);
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(ours);
                QPrinterTarget::setUp(printer, QStringLiteral("bench"));
                QPrinterTarget target(printer);
                PrintSchedule(target, page.grid, 1, page.providers, true, page.captions);
            },
            [&] { drawPlainly(recorded.lines, plain); });
    }
    pair.report(state);
    state.counters["lines"] = double(recorded.lines.size());
}
BENCHMARK(BM_PrintLargestPageToPdf)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
