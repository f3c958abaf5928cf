#include "platform/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace program {
namespace {

const QString kDatabase = QStringLiteral("db.mdb");

// Copies the shipped file under a temporary name and renames it into place, so that a copy
// broken off half-way (a full disk, a crash) never stands as the user's database.
QString copyShipped(const QString& shipped, const QString& target)
{
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile source(shipped);
    if (!source.copy(partial)) {
        const QString why = source.errorString();
        QFile::remove(partial);
        return QStringLiteral("The database %1 could not be copied to %2:\n%3").arg(shipped, target, why);
    }
    // The shipped file is read-only; the user's copy is the user's to change.
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::ReadOther);
    // rename() refuses to replace: a db.mdb that appeared meanwhile is kept.
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (!QFileInfo::exists(target))
            return QStringLiteral("The database %1 could not be copied to %2.").arg(shipped, target);
    }
    return {};
}

}  // namespace

QString shippedDatabase(const QString& executableFolder)
{
    return QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(CALVORA_SHIPPED_DB)));
}

DataFolder chooseDataFolder(const DataFolderPlaces& places)
{
    DataFolder chosen;
    if (!places.requested.isEmpty()) {
        chosen.folder = places.requested;
        return chosen;
    }
    if (QFileInfo::exists(QDir(places.executableFolder).filePath(kDatabase))) {
        chosen.folder = places.executableFolder;
        return chosen;
    }
    chosen.folder = places.userFolder;
    const QString target = QDir(chosen.folder).filePath(kDatabase);
    if (QFileInfo::exists(target))
        return chosen;
    if (!QDir().mkpath(chosen.folder)) {
        chosen.error = QStringLiteral("The data folder %1 could not be made.").arg(chosen.folder);
        return chosen;
    }
    const QString shipped = shippedDatabase(places.executableFolder);
    // Without a shipped file there is nothing to copy: the screens say that db.mdb is missing.
    if (!QFileInfo(shipped).isFile())
        return chosen;
    chosen.error = copyShipped(shipped, target);
    chosen.copied = chosen.error.isEmpty();
    return chosen;
}

DataFolderPlaces dataFolderPlaces(const QString& requested)
{
    return {requested, QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
}

}  // namespace program
