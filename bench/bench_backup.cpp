// The backup and the restore of the twenty-year database, each beside the durable floor
// timed in turns with it: `cp` of the same file followed by a sync of the copy (a backup is
// only a backup once it is on the disk). Both read their copy back and check it before it
// counts, which the floor does not: the backup reads it from the disk and runs SQLite's quick
// check, the restore its full integrity check.
#include "generator.h"
#include "pair.h"
#include "storage/file/databasefile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The floor: the system's cp, then fsync of the copy.
bool copyAndSync(const QString& source, const QString& target)
{
    if (QProcess::execute(QStringLiteral("cp"), {source, target}) != 0)
        return false;
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

void BM_Backup(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    QTemporaryDir disk;
    QDir().mkpath(disk.filePath("cp"));
    const QString backup = disk.filePath("db.mdb");
    const QString floorCopy = disk.filePath("cp/db.mdb");
    bench::Pair pair;
    for (auto _ : state) {
        bool ok = true;
        pair.run([&] {
            try {
                storage::backupDatabase(big.path, backup);
            } catch (...) {
                ok = false;
            }
        }, [&] { ok = copyAndSync(big.path, floorCopy) && ok; });
        if (!ok) {
            state.SkipWithError("a copy failed");
            return;
        }
    }
    pair.report(state);
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_Restore(benchmark::State& state)
{
    const bench::BigDatabase& big = bench::twentyYearDatabase();
    QTemporaryDir folder;
    QDir().mkpath(folder.filePath("cp"));
    const QString live = folder.filePath("db.mdb");
    const QString floorCopy = folder.filePath("cp/db.mdb");
    QFile::copy(big.path, live);
    bench::Pair pair;
    for (auto _ : state) {
        bool ok = true;
        pair.run([&] {
            try {
                storage::restoreDatabase(big.path, live);
            } catch (...) {
                ok = false;
            }
        }, [&] { ok = copyAndSync(big.path, floorCopy) && ok; });
        if (!ok) {
            state.SkipWithError("a copy failed");
            return;
        }
    }
    pair.report(state);
}
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Iterations(12);

}  // namespace
