#pragma once
// The file's own tables, as the shipped db.mdb has them, for a file the program writes
// itself (a server's backup), the history table a file gains with its first change, and
// the search's index a file gains on its first opening for the day page.

namespace storage {

// tbl_Setup, tbl_Appt with its index, tbl_Order.
extern const char* const kFileTables[4];
// The history table and its index (CREATE ... IF NOT EXISTS).
extern const char* const kFileHistoryTables[2];
extern const char* const kFileHistoryEarlierIndex;

// The index of the pages' text for the search of a name: a table of the text's trigrams
// and the triggers that keep it with every row of tbl_Appt added, changed or deleted.
extern const char* const kFileSearchIndex[4];
// Its table and triggers by name, as sqlite_master lists them.
extern const char* const kFileSearchIndexNames[4];
// Fills the index with the rows of tbl_Appt from an id (excluded) to an id (included).
extern const char* const kFileSearchIndexFill;

}  // namespace storage
