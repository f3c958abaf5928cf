#pragma once
// The database file as a whole: its backup to another disk and its restore from there. Both
// leave the file they replace whole until the new one is complete and checked, so a failure
// half-way never costs the last good copy.
#include <QString>

namespace storage {

// Why the file at `path` cannot serve as the program's database (it does not open, lacks a
// table, a field or the settings row; with `full`, fails SQLite's integrity check), or an
// empty text when it can.
QString databaseProblem(const QString& path, bool full);

// Copies the database `live` to `destination`: into a new file beside the destination, on the
// disk, read back and opened as a database, and only then renamed over an earlier backup.
// The copy is taken while no other connection can write the file. Throws StorageError.
void backupDatabase(const QString& live, const QString& destination);

// Restores the database `live` from the backup `source`: copied beside `live`, checked in
// full, then put in place of `live` in one rename; the file it replaces stays as
// `live`.bak until the next restore. A refused source leaves `live` as it was. Throws
// StorageError.
void restoreDatabase(const QString& source, const QString& live);

}  // namespace storage
