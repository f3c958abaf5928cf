// A failover of the practice server while a desk stores: the primary is stopped at once
// (pg_ctl stop -m immediate) and the standby promoted (pg_ctl promote, waited for), while the
// desk stores a new page after another, each its own transaction. Timed from the moment the
// stop is begun to the desk's first store acknowledged by the promoted standby, beside the
// floor: a bare libpq connection through the same host list (target_session_attrs=read-write),
// tried over and over from the same moment, until it reaches the promoted standby. Both run at
// once in each switch, so that they see the same promotion. The median over ten switches, with
// an asynchronous and with a synchronous standby; and the pages the desk was told were stored
// and that the new primary does not hold. After each switch the old primary is made the new
// one's standby again (pg_basebackup), which is not timed.
#include "platform/programfolder.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/server/server.h"
#include "storage/settings.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <libpq-fe.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

QString standbyScript(const QStringList& arguments, QString* error)
{
    QProcess p;
    p.start(QStringLiteral("sh"), QStringList{QStringLiteral(CALVORA_PGSTANDBY)} + arguments);
    if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QStringLiteral("pgstandby.sh %1: %2")
                     .arg(arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

// Counts the given dates that have no page on the server `conninfo` reaches.
int missing(const QString& conninfo, const std::vector<QDate>& dates)
{
    PGconn* c = PQconnectdb(conninfo.toUtf8().constData());
    int count = 0;
    for (const QDate& d : dates) {
        const QByteArray sql = QStringLiteral("SELECT 1 FROM tbl_Appt WHERE CalDate = '%1'")
                                   .arg(d.toString(QStringLiteral("yyyy-MM-dd"))).toUtf8();
        PGresult* r = PQexec(c, sql.constData());
        if (PQresultStatus(r) != PGRES_TUPLES_OK || PQntuples(r) != 1)
            ++count;
        PQclear(r);
    }
    PQfinish(c);
    return count;
}

void BM_Failover(benchmark::State& state)
{
    const bool sync = state.range(0) != 0;
    constexpr int kSwitches = 10;
    QString error;
    const QString folder = standbyScript({QStringLiteral("start"), sync ? QStringLiteral("sync") : QString()}, &error);
    if (folder.isEmpty()) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    const QString both = QStringLiteral("host=%1/a,%1/b dbname=calvora user=calvora target_session_attrs=read-write").arg(folder);
    std::vector<double> desk, floor;
    std::vector<QDate> acknowledged;
    int lost = 0;
    try {
        QTemporaryDir dir;
        const QString seed = dir.filePath(QStringLiteral("db.mdb"));
        QFile::copy(QStringLiteral(CALVORA_SEED_DB), seed);
        QFile::setPermissions(seed, QFile::ReadOwner | QFile::WriteOwner);
        storage::restoreServer(seed, QStringLiteral("host=%1/a dbname=calvora user=calvora").arg(folder));
        program::setServer(both);
        storage::Database db(program::bookLocation());
        storage::PageTable pages(db);
        const storage::Layout layout = storage::readSettings(db).layout;
        QDate next(2040, 1, 1);
        for (auto _ : state) {
            for (int s = 0; s < kSwitches && error.isEmpty(); ++s) {
                const QString before = db.connectedTo();
                std::vector<QDate> stored;
                // The switch is begun while the desk stores, and the floor tries at once.
                std::atomic<bool> done{false};
                std::atomic<bool> failed{false};
                QString switched, failure;
                const auto start = Clock::now();
                std::thread failer([&] {
                    switched = standbyScript({QStringLiteral("fail"), folder}, &failure);
                    failed = switched.isEmpty();
                    done = true;
                });
                double floorMs = -1;
                std::thread bare([&] {
                    const QByteArray text = both.toUtf8();
                    for (;;) {
                        PGconn* c = PQconnectdb(text.constData());
                        const bool reached = PQstatus(c) == CONNECTION_OK && !before.startsWith(QString::fromUtf8(PQhost(c)));
                        PQfinish(c);
                        if (reached) {
                            floorMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                            return;
                        }
                        if (failed)
                            return;
                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    }
                });
                double deskMs = -1;
                while (deskMs < 0 && !failed) {
                    try {
                        pages.add(next, layout, QStringLiteral("stored while the primary went"), false);
                        stored.push_back(next);
                        next = next.addDays(1);
                        if (db.connectedTo() != before)
                            deskMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                    } catch (const storage::StorageError&) {
                        // The same page again, until a server takes it.
                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    }
                }
                failer.join();
                bare.join();
                if (failed) {
                    error = failure;
                    break;
                }
                desk.push_back(deskMs);
                floor.push_back(floorMs);
                lost += missing(QStringLiteral("host=%1 dbname=calvora user=calvora").arg(switched), stored);
                acknowledged.insert(acknowledged.end(), stored.begin(), stored.end());
                standbyScript({QStringLiteral("rebuild"), folder}, &error);
            }
        }
    } catch (const storage::StorageError& e) {
        error = e.message();
    }
    program::setServer({});
    standbyScript({QStringLiteral("stop"), folder}, &error);
    if (!error.isEmpty() && desk.size() < size_t(kSwitches)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    state.counters["switches"] = double(desk.size());
    state.counters["desk_ms"] = median(desk);
    state.counters["floor_ms"] = median(floor);
    state.counters["ratio"] = median(desk) / std::max(median(floor), 1.0);
    state.counters["desk_max_ms"] = *std::max_element(desk.begin(), desk.end());
    state.counters["stored"] = double(acknowledged.size());
    state.counters["lost"] = lost;
}
BENCHMARK(BM_Failover)->ArgName("sync")->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
