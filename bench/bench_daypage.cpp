// The day page on twenty years of pages, through the real screen offscreen: a page switch
// (save, find, lay out, show, calendar) and leaving the screen (save and purge).
#include "generator.h"
#include "navigation/MonthCalendar.h"
#include "navigation/PageNavigation.h"
#include "program.h"
#include "page/frmAppt.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Answers every message box with Ok and reports it, so a failure cannot hang a benchmark.
class SilentDialogs final : public dialogs::Provider {
public:
    dialogs::Answer message(QWidget*, const dialogs::Prompt& p) override
    {
        qWarning("message box: %s", qPrintable(p.text));
        return dialogs::Answer::Ok;
    }
    std::optional<QString> input(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

frmAppt* openDayPage()
{
    static SilentDialogs silent;
    dialogs::setProvider(&silent);
    program::setFolder(bench::twentyYearDatabase().folder);
    auto* form = static_cast<frmAppt*>(createDayPage());
    if (!form)
        return nullptr;
    form->show();
    QCoreApplication::processEvents();
    return form;
}

// Switches between two dates, each switch saving the page left.
void BM_PageSwitch(benchmark::State& state, bool oldest)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    frmAppt* form = openDayPage();
    if (!form) {
        state.SkipWithError("the day page did not open");
        return;
    }
    const QDate a = oldest ? big.oldest : big.newest.addDays(-3);
    const QDate b = oldest ? big.oldest.addDays(1) : big.newest.addDays(-2);
    bool flip = false;
    for (auto _ : state) {
        form->switchPage(flip ? a : b);
        QCoreApplication::processEvents();
        flip = !flip;
    }
    delete form;
}
BENCHMARK_CAPTURE(BM_PageSwitch, near_newest, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageSwitch, oldest, true)->Unit(benchmark::kMillisecond);

// Leaving the screen: the page is saved and every row is compared with its template. The
// generated pages all hold clients, so the purge deletes none and each run walks all 7,300.
void BM_LeavePageScreen(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        frmAppt* form = openDayPage();
        state.ResumeTiming();
        form->LeavePageScreen();
        state.PauseTiming();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmMenu"))
                delete w;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LeavePageScreen)->Unit(benchmark::kMillisecond);

}  // namespace
