// A desk that works while its server is away, on the twenty-year data: the server is stopped at
// once (pg_ctl stop -m immediate), the desk types on N days and moves between them, the server
// is started again, and the desk stores what it kept. Timed from the moment the server accepts
// connections again to the last kept page stored (the status line says "Back online"): most of
// it is the wait for the desk's probe, which asks every few seconds. The replay itself runs in
// one turn of the screen's loop, so the loop's longest stall after the return is its time; the
// floor is the same N pages stored the plainest way: N UPDATEs over one libpq connection, each
// its own transaction, timed right after. Also: the loop's longest stall while the server was
// away, and the size of the desk's journal with those pages in it.
#include "daypage.h"
#include "page/FlexGrid.h"
#include "platform/clock.h"
#include "pgserver.h"
#include "storage/database.h"
#include "storage/engine.h"
#include "storage/server/desk.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <unistd.h>

namespace {

QString hostOf(const QString& conninfo)
{
    for (const QString& word : conninfo.split(u' '))
        if (word.startsWith(QLatin1String("host=")))
            return word.mid(5);
    return {};
}

// Runs pg_ctl on the cluster in `dir` as its owner (postgres, where the bench runs as root).
bool pgctl(const QString& dir, const QString& arguments)
{
    QFile script(dir + QStringLiteral("/pgctl.sh"));
    if (!script.open(QIODevice::WriteOnly))
        return false;
    script.write(QStringLiteral("\"$(pg_config --bindir 2>/dev/null || echo /usr/lib/postgresql/15/bin)/pg_ctl\" "
                                "-D %1/data %2\n").arg(dir, arguments).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ReadOther);
    QProcess p;
    p.setWorkingDirectory(dir);
    if (::getuid() == 0)
        p.start(QStringLiteral("runuser"), {QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"),
                                            QStringLiteral("sh"), script.fileName()});
    else
        p.start(QStringLiteral("sh"), {script.fileName()});
    return p.waitForFinished(120000) && p.exitCode() == 0;
}

// Runs the screen's events until `done`, noting the longest gap between two ticks of a 20 ms
// heartbeat.
void runUntil(const std::function<bool()>& done, qint64& stall, int ms = 120000)
{
    QElapsedTimer beat, total;
    beat.start();
    total.start();
    QTimer heart;
    QObject::connect(&heart, &QTimer::timeout, [&] { stall = std::max(stall, beat.restart()); });
    heart.start(20);
    while (!done() && total.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void BM_OfflineReplay(benchmark::State& state)
{
    const bench::BenchServer& server = bench::twentyYearServer();
    if (server.conninfo.isEmpty()) {
        state.SkipWithError(qPrintable(QStringLiteral("no server: ") + server.error));
        return;
    }
    const QString dir = hostOf(server.conninfo);
    const int pages = int(state.range(0));
    frmAppt* form = bench::openDayPage(server.conninfo);
    if (!form) {
        state.SkipWithError("the day page did not open");
        return;
    }
    storage::DeskEngine* desk = form->database().engine().desk();
    const QDate first = program::today().addDays(400);
    double back = 0, floor = 0;
    int left = -1;  // pages still kept after the return (0: every one stored)
    qint64 awayStall = 0, backStall = 0;
    qint64 journalBytes = 0;
    for (auto _ : state) {
        form->switchPage(first);
        pgctl(dir, QStringLiteral("-m immediate stop"));
        for (int i = 0; i < pages; ++i) {
            form->Grid1->setTextMatrix(5 + i % 10, 1 + i % 4, QStringLiteral("kept offline %1").arg(i));
            QElapsedTimer step;
            step.start();
            form->switchPage(first.addDays(i + 1));
            awayStall = std::max(awayStall, step.elapsed());
        }
        runUntil([&] { return desk->journal().countWaiting() == pages && desk->offline(); }, awayStall, 10000);
        journalBytes = desk->journal().size();
        pgctl(dir, QStringLiteral("-l %1/server.log -w start -o \"-c listen_addresses='' -k %1 -c fsync=off\"").arg(dir));
        QElapsedTimer clock;
        clock.start();
        runUntil([&] { return form->lblStatus->text().startsWith(QLatin1String("Back online")); }, backStall);
        back = double(clock.elapsed());
        left = desk->journal().countWaiting();
        // The floor: the same pages stored by plain UPDATEs, one transaction each.
        PGconn* c = PQconnectdb(server.conninfo.toUtf8().constData());
        QElapsedTimer plain;
        plain.start();
        for (int i = 0; i < pages; ++i) {
            const QByteArray sql = QStringLiteral("UPDATE tbl_Appt SET Data = Data || '', version = version + 1 "
                                                  "WHERE CalDate = '%1'")
                                       .arg(first.addDays(i).toString(QStringLiteral("yyyy-MM-dd")))
                                       .toUtf8();
            PQclear(PQexec(c, sql.constData()));
        }
        floor = double(plain.elapsed());
        PQfinish(c);
    }
    state.counters["pages"] = pages;
    state.counters["left"] = left;
    state.counters["back_ms"] = back;
    state.counters["replay_ms"] = double(backStall);
    state.counters["floor_ms"] = floor;
    state.counters["replay_ratio"] = double(backStall) / std::max(floor, 1.0);
    state.counters["away_stall_ms"] = double(awayStall);
    state.counters["journal_kB"] = double(journalBytes) / 1024;
    delete form;
    bench::settle();
    program::setServer({});
}
BENCHMARK(BM_OfflineReplay)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
