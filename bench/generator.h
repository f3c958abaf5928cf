#pragma once
// A twenty-year database for the benchmarks: 7,300 day pages, one a day up to a given day,
// 16 providers, 10-minute slots from 07:00 AM to 07:00 PM, client names in about a third
// of the cells.
#include <QDate>
#include <QString>

namespace bench {

// The day the benchmarks pin as today: the newest generated page, so that opening the day
// page adds nothing and every page switched to is a past page under its own layout,
// whatever the machine's date.
inline const QDate PinnedToday = QDate(2026, 12, 6);

struct BigDatabase {
    QString folder;  // holds db.mdb
    QString path;
    QDate newest;
    QDate oldest;
    int pages = 0;
};

// Made once per run in a temporary folder (removed at exit) and shared by every benchmark.
const BigDatabase& twentyYearDatabase();

// The cell text of one generated page.
QString generatedPage(int seed);

// Writes the file's pages to the disk and drops them from the page cache, so that the next
// read comes from the disk.
void dropFromCache(const QString& path);

}  // namespace bench
