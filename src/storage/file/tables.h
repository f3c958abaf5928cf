#pragma once
// The file's own tables, as the shipped db.mdb has them, for a file the program writes
// itself (a server's backup), and the history table a file gains with its first change.

namespace storage {

// tbl_Setup, tbl_Appt with its index, tbl_Order.
extern const char* const kFileTables[4];
// The history table and its index (CREATE ... IF NOT EXISTS).
extern const char* const kFileHistoryTables[2];
extern const char* const kFileHistoryEarlierIndex;

}  // namespace storage
