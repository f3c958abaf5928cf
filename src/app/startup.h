#pragma once
// What the program settles before its first window: the folder of db.mdb, where the
// appointment book is kept (the file or a practice server), and, for the file, the lock that
// keeps a second copy off it.
#include "app/commandline.h"
#include "platform/databaselock.h"
#include "platform/datafolder.h"

#include <memory>

namespace startup {

struct Begun {
    bool run = false;   // false: the program ends here with exitCode
    int exitCode = 0;
    std::unique_ptr<program::DatabaseLock> lock;  // held for the program's life; none without a folder or on a server
};

// Something the user is to be told about the choice of the book.
struct Note {
    QString text;
    bool error = false;  // a failure (a critical message) rather than a report
};

// Points the program at the book the options ask for in `folder`: a server given with
// --server is remembered in calvora.conf there, --file goes back to db.mdb, and without either
// the book is where calvora.conf says. Returns what the user is to be told.
QList<Note> settleBook(const QString& folder, commandline::Options::Book book, const QString& server);

// Points the program at its data folder and its book. On the file it locks db.mdb: a failed
// first-start copy, or a folder where no lock can be made, is told in a message box and the
// program goes on; a file another copy is running on is told and the program ends. On a
// server no lock is made, and a server that cannot be opened is told; the menu stays usable.
Begun begin(const program::DataFolderPlaces& places,
            commandline::Options::Book book = commandline::Options::Book::Remembered,
            const QString& server = {});

}  // namespace startup
