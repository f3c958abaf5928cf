#include "generator.h"

#include "storage/database.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <sqlite3.h>
#include <stdexcept>

namespace bench {
namespace {

constexpr int Providers = 16;
constexpr int Labels = 73;              // 07:00 AM to 07:00 PM by 10 minutes
constexpr int DataRows = Labels + 3;    // one row above the first time, two below the last

const char* const kFirst[] = {"Amelia", "Bruno", "Carla", "Dmitri", "Elena", "Farid", "Greta",
                              "Hugo", "Ines", "Jonas", "Keiko", "Lars", "Mona", "Nils", "Olga",
                              "Pavel", "Quinn", "Rosa", "Samir", "Tessa", "Umar", "Vera"};
const char* const kLast[] = {"Abernathy", "Bellweather", "Castellan", "Dunmore", "Everly",
                             "Fairbanks", "Galloway", "Hartigan", "Ivers", "Jennings",
                             "Kowalski", "Lindqvist", "Moreau", "Nakamura", "Okafor",
                             "Pettersen", "Quintero", "Rasmussen", "Sorensen", "Thibault"};

void check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

}  // namespace

QString generatedPage(int seed)
{
    QRandomGenerator rng(quint32(seed) * 2654435761u + 1);
    QString text;
    text.reserve(DataRows * Providers * 6);
    for (int r = 0; r < DataRows; ++r) {
        if (r > 0)
            text += u'\r';
        for (int c = 0; c < Providers; ++c) {
            if (c > 0)
                text += u'\t';
            if (r > 0 && r <= Labels && rng.bounded(3) == 0) {
                text += QString::fromLatin1(kFirst[rng.bounded(int(std::size(kFirst)))]);
                text += u' ';
                text += QString::fromLatin1(kLast[rng.bounded(int(std::size(kLast)))]);
            }
        }
    }
    return text;
}

void dropFromCache(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open the database to drop it from the cache");
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

const BigDatabase& twentyYearDatabase()
{
    static std::unique_ptr<QTemporaryDir> dir;
    static BigDatabase big;
    if (dir)
        return big;
    dir = std::make_unique<QTemporaryDir>();
    big.folder = dir->path();
    big.path = dir->filePath(QStringLiteral("db.mdb"));
    if (!QFile::copy(QStringLiteral(CALVORA_SEED_DB), big.path))
        throw std::runtime_error("cannot copy the seed database");
    QFile::setPermissions(big.path, QFile::ReadOwner | QFile::WriteOwner);

    big.pages = 7300;
    big.newest = PinnedToday;
    big.oldest = big.newest.addDays(-(big.pages - 1));

    QStringList sites, names;
    for (int i = 1; i <= Providers; ++i) {
        sites << QStringLiteral("Room %1").arg(i);
        names << QStringLiteral("%1 %2").arg(QString::fromLatin1(kFirst[i]), QString::fromLatin1(kLast[i]));
    }
    const QByteArray siteList = (sites.join('%') + '%').toUtf8();
    const QByteArray nameList = (names.join('%') + '%').toUtf8();

    sqlite3* db = nullptr;
    check(sqlite3_open(big.path.toUtf8().constData(), &db), db, "open");
    sqlite3_stmt* insert = nullptr;
    try {
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
        check(sqlite3_prepare_v2(db,
                                 "INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, "
                                 "Close, timeslot, Listno, Sites, Names) VALUES "
                                 "(?, ?, ?, ?, 'Office', '07:00 AM', '07:00 PM', 10, 16, ?, ?)",
                                 -1, &insert, nullptr),
              db, "prepare");
        // Oldest first, as a receptionist would have added them.
        for (int i = 0; i < big.pages; ++i) {
            const QDate day = big.oldest.addDays(i);
            const QByteArray date = day.toString(Qt::ISODate).toUtf8();
            const QByteArray data = generatedPage(i).toUtf8();
            const QByteArray memo = i % 9 == 0 ? QByteArrayLiteral("Call back about the invoice") : QByteArray();
            sqlite3_bind_text(insert, 1, date.constData(), int(date.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, data.constData(), int(data.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, day.dayOfWeek() == 7 ? 1 : 0);
            sqlite3_bind_text(insert, 4, memo.constData(), int(memo.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 5, siteList.constData(), int(siteList.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 6, nameList.constData(), int(nameList.size()), SQLITE_TRANSIENT);
            check(sqlite3_step(insert), db, "insert");
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        insert = nullptr;
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    } catch (...) {
        sqlite3_finalize(insert);
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
    // As the day page's first opening leaves it: with the index of the pages' text.
    storage::Database(big.path).prepareSearch();
    return big;
}

}  // namespace bench
