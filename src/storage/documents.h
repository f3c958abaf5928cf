#pragma once
// The help text kept in the database file (the readme and the licence are fields of the
// settings row).
#include <QString>

namespace storage {

class Database;

// The Help field of the first row of tbl_Order; empty when there is no row or it was never
// written. Throws StorageError.
QString readHelp(Database& db);

}  // namespace storage
