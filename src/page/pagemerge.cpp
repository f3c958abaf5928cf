#include "page/pagemerge.h"

#include "storage/celltext.h"

#include <algorithm>

namespace {

// One field by the rule: one side changed takes that side; both the same takes it; both
// different is a conflict, answered with theirs until the user chooses.
template <typename T>
bool mergeField(const T& base, const T& mine, const T& theirs, T& out)
{
    if (mine == base || mine == theirs) {
        out = theirs;
        return false;
    }
    out = theirs == base ? mine : theirs;
    return theirs != base;
}

}  // namespace

PageMerge::PageMerge(const storage::PageRow& base, const storage::PageRow& mine, const storage::PageRow& theirs)
    : theirs_(theirs), merged_(theirs)
{
    // Data: taken whole where only one side changed it, so its shape stays as stored.
    if (mine.data == base.data || mine.data == theirs.data) {
        // theirs as stored
    } else if (theirs.data == base.data) {
        merged_.data = mine.data;
        merged_.dataNull = false;
    } else {
        const QList<QStringList> b = celltext::split(base.data);
        const QList<QStringList> m = celltext::split(mine.data);
        const QList<QStringList> t = celltext::split(theirs.data);
        const qsizetype rows = std::max({b.size(), m.size(), t.size()});
        for (qsizetype r = 0; r < rows; ++r) {
            const QStringList br = b.value(r), mr = m.value(r), tr = t.value(r);
            const qsizetype cols = std::max({br.size(), mr.size(), tr.size()});
            QStringList out;
            for (qsizetype c = 0; c < cols; ++c) {
                QString cell;
                if (mergeField(br.value(c), mr.value(c), tr.value(c), cell))
                    conflicts.append(PageConflict{PageConflict::Cell, int(r), int(c), tr.value(c), mr.value(c)});
                out.append(cell);
            }
            cells_.append(out);
        }
        merged_.data = celltext::join(cells_);
        merged_.dataNull = false;
    }
    if (mergeField(base.memo, mine.memo, theirs.memo, merged_.memo))
        conflicts.append(PageConflict{PageConflict::Memo, 0, 0, theirs.memo, mine.memo});
    // A flag never stored reads as open, as the screen shows it.
    bool closed = false;
    mergeField(base.clinic.value_or(false), mine.clinic.value_or(false), theirs.clinic.value_or(false), closed);
    if (closed != theirs.clinic.value_or(false) || theirs.clinic.has_value())
        merged_.clinic = closed;
}

storage::PageRow PageMerge::result() const
{
    storage::PageRow row = merged_;
    QList<QStringList> cells = cells_;
    bool cellsChosen = false;
    for (const PageConflict& c : conflicts) {
        if (!c.keepMine)
            continue;
        switch (c.kind) {
        case PageConflict::Cell:
            cells[c.row][c.col] = c.mine;
            cellsChosen = true;
            break;
        case PageConflict::Memo:
            row.memo = c.mine;
            break;
        }
    }
    if (cellsChosen)
        row.data = celltext::join(cells);
    return row;
}
