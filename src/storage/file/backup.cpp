#include "storage/tr.h"
#include "storage/file/databasefile.h"

#include "platform/durablefile.h"
#include "storage/database.h"
#include "storage/file/connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>
#include <QCoreApplication>
#include <thread>

namespace storage {
namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

// Removes a file that may be absent; what went wrong otherwise.
QString removeFile(const QString& path)
{
    QFile file(path);
    if (!file.exists() || file.remove())
        return {};
    return file.errorString();
}

// A file that goes away when the work on it ends without being kept.
class Scratch {
public:
    explicit Scratch(QString path) : path_(std::move(path)) { QFile::remove(path_); }
    ~Scratch()
    {
        if (!kept_)
            QFile::remove(path_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const QString& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    QString path_;
    bool kept_ = false;
};

// An earlier file kept under a second name (path.old) while a new file takes its name, so
// that the earlier one can be put back until the new name is on the disk. Where the disk has
// no second names the earlier file is renamed aside instead: then its name is missing for a
// moment, but both files stay whole whatever happens.
class Earlier {
public:
    explicit Earlier(QString path) : path_(std::move(path)), aside_(path_ + QStringLiteral(".old")) {}
    ~Earlier()
    {
        // Nothing was replaced: the second name is not needed. Otherwise the aside file may be
        // the only copy left, and stays.
        if (state_ == Linked && !replaced_)
            QFile::remove(aside_);
    }
    Earlier(const Earlier&) = delete;
    Earlier& operator=(const Earlier&) = delete;

    const QString& aside() const { return aside_; }

    QString setAside()
    {
        // An aside file without the file itself may be all that a broken-off run left: it is
        // left alone, and there is nothing to set aside now.
        if (!QFileInfo::exists(path_))
            return {};
        QFile::remove(aside_);
        bool unsupported = false;
        QString why = durable::link(path_, aside_, &unsupported);
        if (why.isEmpty()) {
            state_ = Linked;
            return {};
        }
        if (!unsupported)
            return why;
        why = durable::replace(path_, aside_);
        if (why.isEmpty())
            state_ = MovedAside;
        return why;
    }

    // The new file has taken the name.
    void replaced() { replaced_ = true; }

    // Gives the name back to the earlier file (or to none, where there was none). Empty, or
    // where the files are left when that fails.
    QString putBack()
    {
        QString why;
        if (state_ == Absent)
            why = replaced_ ? removeFile(path_) : QString();
        else if (state_ == Linked && !replaced_)
            why = removeFile(aside_);  // the name still holds the earlier file
        else
            why = durable::replace(aside_, path_);
        if (why.isEmpty()) {
            state_ = Absent;
            replaced_ = false;
            return {};
        }
        return state_ == Absent ? QStringLiteral("%1 stays (%2)").arg(native(path_), why)
                                : Tr::tr("the earlier file is kept as %1 (%2)").arg(native(aside_), why);
    }

    // The new file stands: the earlier one goes.
    void release()
    {
        if (state_ != Absent)
            QFile::remove(aside_);
        state_ = Absent;
    }

private:
    enum State { Absent, Linked, MovedAside };
    QString path_;
    QString aside_;
    State state_ = Absent;
    bool replaced_ = false;
};

// A failure after which the earlier files were put back: `unchanged` says what stayed as it
// was. Where putting back failed too, `undoProblem` says where the files are instead.
[[noreturn]] void failed(const QString& headline, const QString& unchanged, const QString& why,
                         const QString& undoProblem = {})
{
    if (undoProblem.isEmpty())
        throw StorageError(QStringLiteral("%1, %2: %3").arg(headline, unchanged, why));
    throw StorageError(Tr::tr("%1: %2. Putting things back failed as well: %3")
                           .arg(headline, why, undoProblem));
}

// Whether the journal beside the database holds a change that the engine undoes on the next
// opening of the file (a journal that is empty or begins with zeros holds none).
bool hotJournal(const QString& database)
{
    QFile journal(database + QStringLiteral("-journal"));
    if (!journal.exists())
        return false;
    if (!journal.open(QIODevice::ReadOnly))
        return true;
    char first = 0;
    return journal.read(&first, 1) == 1 && first != 0;
}

// Undoes a change that a crash left unfinished in the journal of `live`, as the engine does
// on the first read of a file it may write. The journal holds the only copy of what the
// change overwrote, and would be applied to any file that takes the name `live`: where it
// cannot be undone the restore is refused, and the journal stays where it is.
void finishUnfinishedChange(const QString& live)
{
    if (!hotJournal(live))
        return;
    const QString journal = native(live + QStringLiteral("-journal"));
    if (!QFileInfo::exists(live))
        throw StorageError(Tr::tr("The journal %1 holds an unfinished change of a database that "
                                          "is no longer there, and would be applied to the restored "
                                          "file; move it out of the folder and restore again. The "
                                          "folder is unchanged")
                               .arg(journal));
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(live).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    const int error = db ? sqlite3_extended_errcode(db) : rc;
    const QString engine = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const bool readOnly = db && sqlite3_db_readonly(db, "main") == 1;
    sqlite3_close_v2(db);
    // A damaged file may fail to read even after its journal was played back.
    if (!hotJournal(live))
        return;
    QString why;
    if (readOnly || (error & 0xff) == SQLITE_READONLY)
        why = Tr::tr("the database file is read-only, so the change cannot be undone; make it "
                             "writable and restore again");
    else if ((error & 0xff) == SQLITE_BUSY)
        why = Tr::tr("another program is using the database; close it and restore again");
    else
        why = withoutStop(rc == SQLITE_OK ? Tr::tr("the engine left the journal in place") : engine);
    throw StorageError(Tr::tr("The database %1 holds an unfinished change in %2 that could not be "
                                      "undone, and is unchanged: %3")
                           .arg(native(live), journal, why));
}

}  // namespace

void backupDatabase(const QString& live, const QString& destination)
{
    if (sameFile(live, destination))
        throw StorageError(Tr::tr("The backup %1 would be the database itself; choose "
                                          "another drive or folder")
                               .arg(native(destination)));
    Scratch copy(destination + QStringLiteral(".new"));
    {
        // A read transaction for the length of the copy and its checks: no writer can change the
        // file under it, and a transaction a crashed program left half-done is rolled back before it.
        // Opened before the transaction and closed only after it: on some systems the closing
        // of any handle of the file lets go of the engine's locks on it.
        QFile source(live);
        FileConnection reader(live);
        if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw StorageError(reader.describe(Tr::tr("reading it for the backup"), source.errorString()));
        QSqlQuery hold(reader.database());
        if (!hold.exec(QStringLiteral("BEGIN")) ||
            !hold.exec(QStringLiteral("SELECT count(*) FROM tbl_Setup")) || !hold.next())
            throw StorageError(reader.describe(Tr::tr("reading it for the backup"),
                                               hold.lastError().text()));
        // The copy is written, then read back from the disk itself (a stick that lost some shows
        // it now) and compared with the database byte for byte, on a thread of its own; here,
        // meanwhile, the database is checked page by page (one damaged before it was copied shows
        // it now). The file cannot change until both are done, so the copy that reads back the
        // same is the file that was checked, at the cost of the longer of the two.
        QString notWritten, notReadBack;
        QString damage;
        {
            std::jthread copier([&] {
                notWritten = durable::copyToDisk(source, copy.path());
                if (notWritten.isEmpty())
                    notReadBack = durable::readBack(copy.path(), &source);
            });
            damage = pagesProblem(reader, Check::Quick);
        }
        hold.exec(QStringLiteral("ROLLBACK"));
        if (!notWritten.isEmpty())
            throw StorageError(Tr::tr("The backup %1 could not be written: %2")
                                   .arg(native(destination), notWritten));
        if (!notReadBack.isEmpty())
            throw StorageError(Tr::tr("The backup %1 was written but cannot be read back: %2")
                                   .arg(native(destination), notReadBack));
        if (!damage.isEmpty())
            throw StorageError(Tr::tr("The backup %1 was written but does not read back as a "
                                              "database: %2")
                                   .arg(native(destination), damage));
    }

    Earlier previous(destination);
    const QString earlierKept = Tr::tr("and the earlier backup is as it was");
    if (const QString why = previous.setAside(); !why.isEmpty())
        failed(Tr::tr("The backup %1 could not take the place of the earlier one").arg(native(destination)),
               earlierKept, why);
    if (const QString why = durable::replace(copy.path(), destination); !why.isEmpty())
        failed(Tr::tr("The backup %1 could not replace the earlier one").arg(native(destination)),
               earlierKept, why, previous.putBack());
    copy.keep();
    previous.replaced();
    // Only a rename that is on the disk counts: else a power cut could still bring back the
    // earlier backup, or none at all.
    if (const QString why = durable::syncFolder(folderOf(destination)); !why.isEmpty()) {
        const QString undoProblem = previous.putBack();
        durable::syncFolder(folderOf(destination));
        failed(Tr::tr("The backup %1 could not be made sure on the disk").arg(native(destination)),
               Tr::tr("so it was taken back, and the earlier backup is as it was"), why, undoProblem);
    }
    previous.release();
}

void restoreDatabase(const QString& source, const QString& live)
{
    if (!QFileInfo(source).isFile())
        throw StorageError(Tr::tr("The backup %1 cannot be found").arg(native(source)));
    Scratch copy(live + QStringLiteral(".restore"));
    if (const QString why = durable::copyToDisk(source, copy.path()); !why.isEmpty())
        throw StorageError(Tr::tr("The backup %1 could not be copied to %2: %3")
                               .arg(native(source), native(folderOf(live)), why));
    // The check reads what was copied; the local disk took it whole (the sync said so), so
    // the cached pages are the file's own and need not be read from the disk again.
    if (const QString why = databaseProblem(copy.path(), Check::Full); !why.isEmpty())
        throw StorageError(Tr::tr("The file %1 cannot be restored, and the database is "
                                          "unchanged: %2")
                               .arg(native(source), why));
    finishUnfinishedChange(live);

    // The replaced file takes the name .bak; the earlier .bak goes only once the restore is
    // on the disk.
    const bool replacing = QFileInfo::exists(live);
    const QString kept = live + QStringLiteral(".bak");
    Earlier earlierKept(kept);
    Scratch newKept(kept + QStringLiteral(".new"));
    const QString unchanged = Tr::tr("and the database is unchanged");
    if (replacing) {
        if (const QString why = earlierKept.setAside(); !why.isEmpty())
            failed(Tr::tr("The earlier copy %1 could not be kept while the database is replaced")
                       .arg(native(kept)),
                   unchanged, why);
        if (const QString why = durable::keepAs(live, newKept.path()); !why.isEmpty())
            failed(Tr::tr("The database %1 could not be kept as %2").arg(native(live), native(kept)),
                   unchanged, why, earlierKept.putBack());
    }
    if (const QString why = durable::replace(copy.path(), live); !why.isEmpty())
        failed(Tr::tr("The database %1 could not be replaced").arg(native(live)), unchanged, why,
               earlierKept.putBack());
    copy.keep();
    // From here the replaced database may have no name but this one, until it is .bak.
    newKept.keep();
    // Puts the replaced database (now named `from`) back in place of the restored one. Empty,
    // or where the files are left when that fails.
    auto undo = [&](const QString& from) {
        QString problem;
        if (const QString why = replacing ? durable::replace(from, live) : removeFile(live); !why.isEmpty())
            problem = replacing ? Tr::tr("the database that was replaced is kept as %1 (%2)").arg(native(from), why)
                                : Tr::tr("the restored %1 stays (%2)").arg(native(live), why);
        if (const QString bak = earlierKept.putBack(); !bak.isEmpty())
            problem += (problem.isEmpty() ? QString() : QStringLiteral("; ")) + bak;
        return problem;
    };
    if (replacing) {
        if (const QString why = durable::replace(newKept.path(), kept); !why.isEmpty())
            failed(Tr::tr("The database %1 could not be kept as %2").arg(native(live), native(kept)),
                   Tr::tr("so the restore was taken back, %1").arg(unchanged), why, undo(newKept.path()));
        earlierKept.replaced();
    }
    if (const QString why = durable::syncFolder(folderOf(live)); !why.isEmpty()) {
        const QString undoProblem = undo(kept);
        durable::syncFolder(folderOf(live));
        failed(Tr::tr("The restore of %1 could not be made sure on the disk").arg(native(live)),
               Tr::tr("so it was taken back, %1").arg(unchanged), why, undoProblem);
    }
    earlierKept.release();
    // The replaced file was the live one, with the rights it had; as .bak it is the user's
    // alone, as every copy the program makes (where the disk keeps rights at all).
    if (replacing)
        QFile::setPermissions(kept, QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace storage
