#include "app/startup.h"

#include "platform/bookconf.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "platform/serveraddress.h"
#include "storage/database.h"
#include "storage/server/journal.h"
#include "storage/server/server.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace startup {
namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(startup)
};

// The box names the book's server with its user, whose password it is.
std::optional<QString> askPassword(const QString& server)
{
    const program::BookLocation book = program::bookLocation();
    const QString named = book.onServer() ? program::describeServer(book.server)
                                          : Tr::tr("the database %1").arg(server);
    return dialogs::password(nullptr, Tr::tr("The server asks for a password for %1.\n\nPassword:").arg(named),
                             dialogs::appTitle());
}

// Whether this desk's journal holds the book on `server`, read before: the day page then works
// without the server.
bool deskKnowsBook(const QString& server)
{
    return storage::Journal::keepsBook(storage::journalPath(), storage::serverDisplayName(server));
}

// Opens the book on the server once, so that a server out of reach is told at the start,
// naming the server and what failed, rather than by the first screen. Empty when it opens.
QString serverProblem(const QString& server)
{
    try {
        storage::Database book(program::bookLocation());
        return {};
    } catch (const storage::StorageError& e) {
        if (e.kind() == storage::StorageError::Kind::NotABook)
            return program::notABookMessage(server, e.cause());
        // A desk that read the book before works offline from its journal: the day page says so.
        if (e.kind() == storage::StorageError::Kind::Unreachable && deskKnowsBook(server))
            return {};
        return program::serverFailureMessage(server, e.reason());
    }
}

}  // namespace

QList<Note> settleBook(const QString& folder, commandline::Options::Book book, const QString& server)
{
    using Book = commandline::Options::Book;
    QList<Note> notes;
    const program::RememberedBook remembered = program::rememberedBook(folder);
    switch (book) {
    case Book::Remembered:
        if (!remembered.error.isEmpty())
            notes.append({remembered.error, true});
        program::setServer(remembered.server);
        break;
    case Book::Server:
        if (const QString why = program::rememberBook(folder, server); !why.isEmpty())
            notes.append({Tr::tr("%1 The server is used for this run only.").arg(why), true});
        program::setServer(server);
        break;
    case Book::File:
        program::setServer({});
        if (const QString why = program::rememberBook(folder, {}); !why.isEmpty())
            notes.append({Tr::tr("%1 The file is used for this run only.").arg(why), true});
        else if (!remembered.server.isEmpty())
            notes.append({Tr::tr("The appointment book is kept in the file %1 again; this desk "
                                 "no longer uses %2.")
                              .arg(QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("db.mdb"))),
                                   program::describeServer(remembered.server)),
                          false});
        break;
    }
    return notes;
}

Begun begin(const program::DataFolderPlaces& places, commandline::Options::Book book, const QString& server)
{
    Begun begun;
    const program::DataFolder chosen = program::chooseDataFolder(places);
    program::setFolder(chosen.folder);
    if (!chosen.error.isEmpty())
        dialogs::message(nullptr, chosen.error, dialogs::appTitle(), dialogs::Buttons::Ok,
                         dialogs::Icon::Critical);
    for (const Note& note : settleBook(chosen.folder, book, server))
        dialogs::message(nullptr, note.text, dialogs::appTitle(), dialogs::Buttons::Ok,
                         note.error ? dialogs::Icon::Critical : dialogs::Icon::Information);

    // Several desks share a server: no lock file; the server keeps its own rows apart.
    if (program::bookLocation().onServer()) {
        storage::setPasswordPrompt(askPassword);
        if (const QString problem = serverProblem(program::bookLocation().server); !problem.isEmpty())
            dialogs::message(nullptr, problem, dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Critical);
        begun.run = true;
        return begun;
    }

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
        dialogs::message(nullptr, Tr::tr("Calvora is already running on this file."),
                         dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Exclamation);
        begun.exitCode = 1;
        return begun;
    case State::ReadOnlyInUse:
        dialogs::message(
            nullptr,
            Tr::tr("Another copy of Calvora is running on the file db.mdb in %1, and this "
                   "copy cannot lock it: the folder is read-only. You can read the pages, "
                   "but no change will be stored.").arg(folder),
            dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Information);
        break;
    case State::NotMade:
        // As for a read-only folder, the user reads on, told why.
        dialogs::message(
            nullptr,
            Tr::tr("Calvora could not make its lock file %1: %2. You can read the pages, "
                   "but a change may not be stored until this is put right, and nothing "
                   "keeps a second copy of Calvora off the file meanwhile.")
                .arg(QDir::toNativeSeparators(program::DatabaseLock::lockPath(chosen.folder)),
                     begun.lock->reason()),
            dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Exclamation);
        break;
    case State::ReadOnly:
        dialogs::message(
            nullptr,
            Tr::tr("The folder %1 is read-only, so Calvora opens db.mdb there for reading "
                   "only. You can read the pages, but no change will be stored.").arg(folder),
            dialogs::appTitle(), dialogs::Buttons::Ok, dialogs::Icon::Information);
        break;
    }
    begun.run = true;
    return begun;
}

}  // namespace startup
