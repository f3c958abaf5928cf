#pragma once
// A throw-away PostgreSQL server for the benchmarks, started by the test suite's own script:
// a cluster in a short temporary folder, reached only through a Unix socket there, with fsync
// off (the figures compare the program with libpq on the same server), stopped and removed
// at exit. The twenty-year database is loaded into it through the program's restore.
#include <QString>

namespace bench {

struct BenchServer {
    QString conninfo;  // the loaded database; empty when no server could be started
    QString error;     // why not
};

// Started once per run, on first use.
const BenchServer& twentyYearServer();

}  // namespace bench
