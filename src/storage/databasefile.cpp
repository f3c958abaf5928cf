#include "storage/databasefile.h"

#include "platform/durablefile.h"
#include "storage/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace storage {
namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString withoutStop(QString text)
{
    text = text.trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
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
    const QString& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    QString path_;
    bool kept_ = false;
};

}  // namespace

QString databaseProblem(const QString& path, bool full)
{
    try {
        Database db(path);
        if (full) {
            QSqlQuery q(db.connection());
            if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
                return withoutStop(q.lastError().text());
            QStringList findings;
            while (q.next() && findings.size() < 3)
                findings << q.value(0).toString();
            if (findings != QStringList{QStringLiteral("ok")})
                return withoutStop(findings.join(QStringLiteral("; ")));
        }
    } catch (const StorageError& e) {
        return withoutStop(e.reason());
    }
    return {};
}

void backupDatabase(const QString& live, const QString& destination)
{
    if (sameFile(live, destination))
        throw StorageError(QStringLiteral("The backup %1 would be the database itself; choose "
                                          "another drive or folder")
                               .arg(native(destination)));
    Scratch copy(destination + QStringLiteral(".new"));
    {
        // A read transaction for the length of the copy: no writer can change the file under
        // it, and a transaction a crashed copy left half-done is rolled back before it.
        Database reader(live);
        QSqlQuery hold(reader.connection());
        if (!hold.exec(QStringLiteral("BEGIN")) ||
            !hold.exec(QStringLiteral("SELECT count(*) FROM tbl_Setup")) || !hold.next())
            throw StorageError(reader.describe(QStringLiteral("reading it for the backup"),
                                               hold.lastError().text()));
        if (const QString why = durable::copyToDisk(live, copy.path()); !why.isEmpty())
            throw StorageError(QStringLiteral("The backup %1 could not be written: %2")
                                   .arg(native(destination), why));
        hold.exec(QStringLiteral("ROLLBACK"));
    }
    durable::dropCache(copy.path());
    if (const QString why = databaseProblem(copy.path(), false); !why.isEmpty())
        throw StorageError(QStringLiteral("The backup %1 was written but does not read back as a "
                                          "database: %2")
                               .arg(native(destination), why));
    if (const QString why = durable::replace(copy.path(), destination); !why.isEmpty())
        throw StorageError(QStringLiteral("The backup %1 could not replace the earlier one: %2")
                               .arg(native(destination), why));
    copy.keep();
    durable::syncFolder(QFileInfo(destination).absolutePath());
}

void restoreDatabase(const QString& source, const QString& live)
{
    if (!QFileInfo(source).isFile())
        throw StorageError(QStringLiteral("The backup %1 cannot be found").arg(native(source)));
    Scratch copy(live + QStringLiteral(".restore"));
    if (const QString why = durable::copyToDisk(source, copy.path()); !why.isEmpty())
        throw StorageError(QStringLiteral("The backup %1 could not be copied to %2: %3")
                               .arg(native(source), native(QFileInfo(live).absolutePath()), why));
    // The check reads what was copied; the local disk took it whole (the sync said so), so
    // the cached pages are the file's own and need not be read from the disk again.
    if (const QString why = databaseProblem(copy.path(), true); !why.isEmpty())
        throw StorageError(QStringLiteral("The file %1 cannot be restored, and the database is "
                                          "unchanged: %2")
                               .arg(native(source), why));

    const QString kept = live + QStringLiteral(".bak");
    if (QFileInfo::exists(live)) {
        if (const QString why = durable::keepAs(live, kept); !why.isEmpty())
            throw StorageError(QStringLiteral("The database %1 could not be kept as %2, and is "
                                              "unchanged: %3")
                                   .arg(native(live), native(kept), why));
        // A journal left by a crashed copy belongs to the replaced file: it goes with it, so
        // that neither file is rolled back with the other's pages.
        const QString journal = live + QStringLiteral("-journal");
        QFile::remove(kept + QStringLiteral("-journal"));
        if (QFileInfo::exists(journal))
            durable::replace(journal, kept + QStringLiteral("-journal"));
    }
    if (const QString why = durable::replace(copy.path(), live); !why.isEmpty())
        throw StorageError(QStringLiteral("The database %1 could not be replaced, and is "
                                          "unchanged: %2")
                               .arg(native(live), why));
    copy.keep();
    durable::syncFolder(QFileInfo(live).absolutePath());
}

}  // namespace storage
