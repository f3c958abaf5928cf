#pragma once
// The one settings row of tbl_Setup, and the layout a page row carries a copy of.
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

namespace storage {

class Database;

// The layout fields: the settings' own, or a page row's copy of them.
struct Layout {
    QString location;
    QString open;   // stored time, "08:00 AM"
    QString close;  // stored time
    int timeslot = 0;
    int listno = 0;
    QString sites;  // name list
    QString names;  // name list
    // Fields that were never written (Null), by their field names.
    QStringList missing;

    bool complete() const { return missing.isEmpty(); }
};

struct Settings {
    Layout layout;
    // Monday to Sunday: the fields Mon to Sun of tbl_Setup.
    std::array<QString, 7> templates;
    // chk1 (Sunday) to chk7 (Saturday): the location is closed that weekday.
    std::array<bool, 7> closed{};
    QString fixedMemo;
    QString bookno;
    QString readme;
    QString licence;
    // On a server: the count of stores of the set-up (layout and templates) when it was read;
    // a set-up store from an older count is refused. The file keeps none.
    int version = 0;

    // The template of a date's weekday (Null reads as empty text).
    const QString& templateFor(QDate date) const { return templates[date.dayOfWeek() - 1]; }
    // The closed flag of a date's weekday.
    bool closedOn(QDate date) const { return closed[date.dayOfWeek() % 7]; }
};

// The field that holds a weekday's template (1 Monday ... 7 Sunday): Mon to Sun. The
// templates are found by name, never by position: a file whose columns stand in another order
// must not take cell text into a closed flag or a document.
QString templateField(int weekday);

// The fixed memo and the book number, as a desk read them or holds them.
struct MemoAndBook {
    QString fixedMemo;
    QString bookno;
    bool operator==(const MemoAndBook&) const = default;
};

Settings readSettings(Database& db);
// Writes the fixed memo and the book number only (what the day page edits).
void writeMemoAndBook(Database& db, const QString& fixedMemo, const QString& bookno);
// Stores each of the two that this desk changed from what it read, only where the book still
// holds what was read: one that another desk stored meanwhile keeps theirs. One transaction,
// recorded in the history. Returns the two as the book holds them afterwards.
MemoAndBook storeMemoAndBook(Database& db, const MemoAndBook& read, const MemoAndBook& typed);
// What such a store leaves in a book that holds `stored`.
MemoAndBook mergedMemoAndBook(const MemoAndBook& stored, const MemoAndBook& read, const MemoAndBook& typed);

}  // namespace storage
