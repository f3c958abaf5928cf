// Runs every benchmark with a QApplication on the offscreen platform, so screen benchmarks
// can build real widgets, and with today pinned to the newest generated page.
#include "generator.h"
#include "platform/clock.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {
// The offscreen platform says on every window that it cannot do what a window manager would;
// that says nothing about the figures.
void quietPlatform(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        abort();
}
}  // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietPlatform);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    program::setToday(bench::PinnedToday);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
