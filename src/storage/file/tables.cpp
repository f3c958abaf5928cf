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

// The index by cell that files from before have; replaced by the one above on their first
// store that records a change.
const char* const kFileHistoryEarlierIndex = "idx_History_Cell";

}  // namespace storage
