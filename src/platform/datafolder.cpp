#include "platform/datafolder.h"

#include "platform/durablefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace program {
namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(datafolder)
};

const QString kDatabase = QStringLiteral("db.mdb");

// Copies the shipped file under a temporary name and renames it into place, so that a copy
// broken off half-way (a full disk, a crash) never stands as the user's database. The copy is
// the user's alone: the book holds clients' names.
QString copyShipped(const QString& shipped, const QString& target)
{
    const QString partial = target + QStringLiteral(".part");
    if (const QString why = durable::copyToDisk(shipped, partial); !why.isEmpty()) {
        QFile::remove(partial);
        return Tr::tr("The database %1 could not be copied to %2:\n%3.").arg(shipped, target, why);
    }
    // rename() refuses to replace: a db.mdb that appeared meanwhile is kept.
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (!QFileInfo::exists(target))
            return Tr::tr("The database %1 could not be copied to %2.").arg(shipped, target);
    }
    return {};
}

// Makes the user's own data folder, private to the user; the folders above it as the system
// makes them.
bool makePrivateFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    return QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) || QFileInfo(folder).isDir();
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
    if (!makePrivateFolder(chosen.folder)) {
        chosen.error = Tr::tr("The data folder %1 could not be made.").arg(chosen.folder);
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
