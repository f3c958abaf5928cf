#pragma once
// What the program's start-up and backup screen need of a book on a practice server: the
// password box and its name in messages (connection.cpp), and the backup to and restore from
// a db.mdb (backup.cpp).
#include <QString>
#include <functional>
#include <optional>

namespace storage {

// Asked when the server wants a password and libpq found none (~/.pgpass, PGPASSWORD,
// PGSERVICE): the server's name as displayName gives it; std::nullopt when the user cancels.
// A password given is kept in memory for this run only, for every later connection.
using PasswordPrompt = std::function<std::optional<QString>(const QString& server)>;
void setPasswordPrompt(PasswordPrompt prompt);
// The password typed into the box for a connection text in this run; empty when none was.
QString typedPassword(const QString& conninfo);

// "database practice on frontdesk": the database and the server of a connection text, as
// libpq would reach them; never a password.
QString serverDisplayName(const QString& conninfo);
// "frontdesk": the server alone, as the desk's status line names it.
QString serverHost(const QString& conninfo);

// Writes the book on the server to `destination` as a db.mdb, the file's own format, from one
// consistent snapshot: written beside the destination, read back and checked, and only then
// renamed over an earlier backup. Throws StorageError.
void backupServer(const QString& conninfo, const QString& destination);

struct RestoreResult {
    int pages = 0;    // page rows now on the server
    int leftOut = 0;  // rows of a date already taken by a newer row, not loaded
};

// Loads the db.mdb `source` into the server in one transaction, in place of the book there,
// after the checks a restore onto the file makes. An empty database gets the program's
// tables first (moving a practice onto a server). Throws StorageError; nothing is changed
// then.
RestoreResult restoreServer(const QString& source, const QString& conninfo);

}  // namespace storage
