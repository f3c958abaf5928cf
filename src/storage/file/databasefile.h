#pragma once
// The database file as a whole: whether a file can serve as the book (databasefile.cpp), its
// backup to another disk and its restore from there (backup.cpp). Both leave the file they
// replace whole until the new one is complete, checked and on the disk under its name, so a
// failure half-way never costs the last good copy.
#include <QString>

namespace storage {

// How far a file is read before it is taken as a database.
enum class Check {
    Tables,  // it opens, has the program's tables and fields and the settings row
    Quick,   // and every page reads back as the engine wrote it (SQLite's quick check)
    Full,    // and its indexes agree with its rows (SQLite's integrity check)
};

// A reason as it stands inside a sentence: without blanks or full stops at its end.
QString withoutStop(QString text);

class FileConnection;

// Why the file at `path` cannot serve as the program's database, or an empty text when it can.
QString databaseProblem(const QString& path, Check check);
// The same for a file already open (and so found to have the tables), by SQLite's quick or
// integrity check.
QString pagesProblem(FileConnection& db, Check check);

// Copies the database `live` to `destination`: into a new file beside the destination, on the
// disk, read back from it the same byte for byte as the database, which is checked page by
// page meanwhile, and only then renamed over an earlier backup,
// which is put back if the rename cannot be made durable. The copy is taken while no other
// connection can write the file. Throws StorageError.
void backupDatabase(const QString& live, const QString& destination);

// Restores the database `live` from the backup `source`: copied beside `live`, checked in
// full, then put in place of `live` in one rename; the file it replaces stays as
// `live`.bak until the next restore. A change that a crash left unfinished in the journal
// of `live` is undone first, and the restore is refused where it cannot be: the journal is
// never moved or removed. On any failure `live`, its journal and the earlier .bak stay as
// they were. Throws StorageError.
void restoreDatabase(const QString& source, const QString& live);

}  // namespace storage
