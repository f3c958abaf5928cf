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
// without AUTOINCREMENT's bookkeeping, which would cost every store a page more.
const char* const kFileHistoryTables[2] = {
    "CREATE TABLE IF NOT EXISTS tbl_History (id INTEGER PRIMARY KEY, CalDate TEXT,"
    " Field TEXT NOT NULL, CellRow INTEGER, CellCol INTEGER, TimeLabel TEXT, Provider TEXT,"
    " OldText TEXT, NewText TEXT, Moment TEXT NOT NULL, Desk TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS idx_History_Cell ON tbl_History (CalDate, CellRow, CellCol)",
};

}  // namespace storage
