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

struct PageConflict {
    enum Kind { Cell, Memo };
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

class PageMerge {
public:
    PageMerge(const storage::PageRow& base, const storage::PageRow& mine, const storage::PageRow& theirs);

    // The decisions left to the user, in page order: the cells, then the memo.
    QList<PageConflict> conflicts;

    // The merged page with each conflict as chosen: the stored row (its id and version) with
    // the merged Data, memo and flag.
    storage::PageRow result() const;

private:
    storage::PageRow theirs_;
    storage::PageRow merged_;
    // The merged cells, where a cell-wise merge was needed; empty when one side's text was
    // taken whole.
    QList<QStringList> cells_;
};
