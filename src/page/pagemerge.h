#pragma once
// The merge of a day page that two desks stored at the same time: the page as this desk read
// it (base), as it is typed here (mine) and as the other desk stored it (theirs), compared
// cell by cell. A cell changed on one side takes that side; changed on both to the same text
// it is no question; changed on both to different texts it is a conflict the user decides.
// The memo and the closed flag follow the same rule (a flag that both desks changed was
// changed to the same value: it has two).
#include "storage/pagetable.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct PageConflict {
    // A cell or the daily memo of the page; the fixed memo and the book number, which the
    // memo panel stores beside the page, are asked about the same way.
    enum Kind { Cell, Memo, FixedMemo, Book };
    Kind kind = Cell;
    // A cell's place in the page's cell text, from 0 (rows are times, columns providers).
    int row = 0;
    int col = 0;
    QString theirs;
    QString mine;
    // The user's choice; theirs until chosen.
    bool keepMine = false;
    // Which desk stored their text, and when (UTC), as the history remembers the store;
    // empty where it does not.
    QString theirDesk;
    QDateTime theirMoment;
};

// A page typed under one layout's time rows (base as this desk read it, mine as it typed it),
// carried over to the rows of the page as stored (theirs), which another desk's set-up laid
// out anew: each cell typed here goes to the row of its time among `to` (the row whose slot
// holds it; before the first time the empty row above the times, after the last slot the
// empty rows below), typed cells that meet in one cell are joined, and every cell not typed
// here is theirs. The memo and the flag stay. PageMerge(base, mine, theirs) then merges what
// was typed here into their page at the times it was typed at. `from` and `to` are the
// times of the rows (cellRowTimes); nothing moves when either is empty.
void carryOver(storage::PageRow& base, storage::PageRow& mine, const storage::PageRow& theirs,
               const QList<std::optional<int>>& from, const QList<std::optional<int>>& to);

class PageMerge {
public:
    PageMerge(const storage::PageRow& base, const storage::PageRow& mine, const storage::PageRow& theirs);

    // The decisions left to the user, in page order: the cells, then the memo.
    QList<PageConflict> conflicts;

    // The merged page with each conflict as chosen: the stored row (its id and version) with
    // the merged Data, memo and flag.
    storage::PageRow result() const;
    // What was typed here and given up for their text, as the history keeps it with the
    // store (where it can be seen and put back): each conflict decided for theirs.
    std::vector<storage::Change> notKept() const;

private:
    storage::PageRow theirs_;
    storage::PageRow merged_;
    // The merged cells, where a cell-wise merge was needed; empty when one side's text was
    // taken whole.
    QList<QStringList> cells_;
};
