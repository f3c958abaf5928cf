#include "storage/file/tables.h"

namespace storage {

const char* const kFileTables[4] = {
    "CREATE TABLE tbl_Setup (location TEXT, open TEXT, Close TEXT, timeslot INTEGER, Listno INTEGER,"
    " Names TEXT, Sites TEXT, FixedMemo TEXT, bookno TEXT, Readme TEXT, Licence TEXT,"
    " Mon TEXT, Tue TEXT, Wed TEXT, Thu TEXT, Fri TEXT, Sat TEXT, Sun TEXT,"
    " chk1 INTEGER, chk2 INTEGER, chk3 INTEGER, chk4 INTEGER, chk5 INTEGER, chk6 INTEGER, chk7 INTEGER)",
    "CREATE TABLE tbl_Appt (id INTEGER PRIMARY KEY AUTOINCREMENT, CalDate TEXT NOT NULL, Data TEXT,"
    " Clinic INTEGER, Memo TEXT, location TEXT, open TEXT, Close TEXT, timeslot INTEGER,"
    " Listno INTEGER, Sites TEXT, Names TEXT)",
    "CREATE INDEX idx_Appt_CalDate ON tbl_Appt (CalDate, id)",
    "CREATE TABLE tbl_Order (id INTEGER PRIMARY KEY, Help TEXT)",
};

// Made in the file by the first writing transaction that records a change, so that a file
// from before keeps everything else as it was and still opens in an earlier version (which
// never looks at this table). Rows are only ever appended, so the row ids grow with time
// without AUTOINCREMENT's bookkeeping, which would cost every store a page more. The index
// holds the date alone (and so the row id after it): a store's rows all go to the end of their
// date's run, one index page however many cells changed, where an index by cell scattered
// them over as many pages as cells. A cell's history is then the date's rows, a few dozen.
const char* const kFileHistoryTables[2] = {
    "CREATE TABLE IF NOT EXISTS tbl_History (id INTEGER PRIMARY KEY, CalDate TEXT,"
    " Field TEXT NOT NULL, CellRow INTEGER, CellCol INTEGER, TimeLabel TEXT, Provider TEXT,"
    " OldText TEXT, NewText TEXT, Moment TEXT NOT NULL, Desk TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS idx_History_Day ON tbl_History (CalDate)",
};

// The table holds no copy of the text (content='') and no places (detail=none): for each
// trigram, the rows that hold it; removing a row from it takes the text it was given, which the triggers take from the old
// row. The trigram tokenizer folds letters as the search does where it matters: A to Z, and
// the long s and the Kelvin sign to the ASCII s and k. Triggers, not the program's stores,
// keep it: every change of a row is in them whatever statement makes it, in the same
// transaction, and a build that knows nothing of the index keeps it right when it writes.
const char* const kFileSearchIndex[4] = {
    "CREATE VIRTUAL TABLE tbl_ApptSearch USING fts5(Data, content='', columnsize=0, detail=none,"
    " tokenize='trigram')",
    "CREATE TRIGGER tbl_ApptSearch_add AFTER INSERT ON tbl_Appt BEGIN"
    " INSERT INTO tbl_ApptSearch (rowid, Data) VALUES (new.id, new.Data); END",
    "CREATE TRIGGER tbl_ApptSearch_remove AFTER DELETE ON tbl_Appt BEGIN"
    " INSERT INTO tbl_ApptSearch (tbl_ApptSearch, rowid, Data) VALUES ('delete', old.id, old.Data); END",
    "CREATE TRIGGER tbl_ApptSearch_store AFTER UPDATE OF id, Data ON tbl_Appt"
    " WHEN old.id IS NOT new.id OR old.Data IS NOT new.Data BEGIN"
    " INSERT INTO tbl_ApptSearch (tbl_ApptSearch, rowid, Data) VALUES ('delete', old.id, old.Data);"
    " INSERT INTO tbl_ApptSearch (rowid, Data) VALUES (new.id, new.Data); END",
};

const char* const kFileSearchIndexNames[4] = {"tbl_ApptSearch", "tbl_ApptSearch_add", "tbl_ApptSearch_remove",
                                              "tbl_ApptSearch_store"};

const char* const kFileSearchIndexFill =
    "INSERT INTO tbl_ApptSearch (rowid, Data) SELECT id, Data FROM tbl_Appt WHERE id > ?1 AND id <= ?2";
// The index by cell that files from before have; replaced by the one above on their first
// store that records a change.
const char* const kFileHistoryEarlierIndex = "idx_History_Cell";

}  // namespace storage
