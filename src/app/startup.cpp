#include "app/startup.h"

#include "platform/dialogs.h"
#include "platform/programfolder.h"

#include <QDir>
#include <QFileInfo>

namespace startup {

Begun begin(const program::DataFolderPlaces& places)
{
    Begun begun;
    const program::DataFolder chosen = program::chooseDataFolder(places);
    program::setFolder(chosen.folder);
    if (!chosen.error.isEmpty())
        dialogs::message(nullptr, chosen.error, dialogs::appTitle(), dialogs::Buttons::Ok,
                         dialogs::Icon::Critical);

    // A folder that could not be made holds no file to protect; the screens say db.mdb is missing.
    if (!QFileInfo(chosen.folder).isDir()) {
        begun.run = true;
        return begun;
    }
    begun.lock = std::make_unique<program::DatabaseLock>(chosen.folder);
    const QString folder = QDir::toNativeSeparators(chosen.folder);
    using State = program::DatabaseLock::State;
    switch (begun.lock->state()) {
    case State::Held:
        break;
    case State::InUse:
        dialogs::message(nullptr, QStringLiteral("Calvora is already running on this file."),
                         dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Exclamation);
        begun.exitCode = 1;
        return begun;
    case State::ReadOnlyInUse:
        dialogs::message(
            nullptr,
            QStringLiteral("Another copy of Calvora is running on the file db.mdb in %1, and this "
                           "copy cannot lock it: the folder is read-only. You can read the pages, "
                           "but no change will be stored.").arg(folder),
            dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Information);
        break;
    case State::NotMade:
        // As for a read-only folder, the user reads on, told why.
        dialogs::message(
            nullptr,
            QStringLiteral("Calvora could not make its lock file %1: %2. You can read the pages, "
                           "but a change may not be stored until this is put right, and nothing "
                           "keeps a second copy of Calvora off the file meanwhile.")
                .arg(QDir::toNativeSeparators(program::DatabaseLock::lockPath(chosen.folder)),
                     begun.lock->reason()),
            dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Exclamation);
        break;
    case State::ReadOnly:
        dialogs::message(
            nullptr,
            QStringLiteral("The folder %1 is read-only, so Calvora opens db.mdb there for reading "
                           "only. You can read the pages, but no change will be stored.").arg(folder),
            dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Information);
        break;
    }
    begun.run = true;
    return begun;
}

}  // namespace startup
