#include "page/pagemerge.h"

#include "storage/celltext.h"

#include <QMap>

#include <algorithm>
#include <utility>

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

// The row of `to` that a row of `from` goes to: by its time, the empty rows by their place.
int rowUnder(int row, const QList<std::optional<int>>& from, const QList<std::optional<int>>& to)
{
    const qsizetype fromAfter = from.size() - 2;  // the first empty row after the times
    const qsizetype toAfter = to.size() - 2;
    if (row == 0)
        return 0;
    if (row >= fromAfter || !from[row])
        return int(toAfter + (row - fromAfter));
    const int time = *from[row];
    // The last time row that starts at or before it; its slot ends where the next one starts.
    int at = 0;
    for (qsizetype r = 1; r < toAfter; ++r)
        if (*to[r] <= time)
            at = int(r);
    if (at == toAfter - 1 && at >= 2 && time >= *to[at] + (*to[at] - *to[at - 1]))
        return int(toAfter);
    return at;
}

void putCell(QList<QStringList>& cells, int row, qsizetype col, const QString& text)
{
    while (cells.size() <= row)
        cells.append(QStringList());
    QStringList& r = cells[row];
    while (r.size() <= col)
        r.append(QString());
    r[col] = text;
}

}  // namespace

void carryOver(storage::PageRow& base, storage::PageRow& mine, const storage::PageRow& theirs,
               const QList<std::optional<int>>& from, const QList<std::optional<int>>& to)
{
    if (from.size() < 3 || to.size() < 3 || from == to)
        return;
    const QList<QStringList> b = celltext::split(base.data);
    const QList<QStringList> m = celltext::split(mine.data);
    const QString stored = theirs.dataNull ? base.data : theirs.data;
    QList<QStringList> baseCells = celltext::split(stored);
    QList<QStringList> mineCells = baseCells;
    // The texts typed into each cell of the new rows, and what stood there when read.
    QMap<std::pair<int, qsizetype>, std::pair<QStringList, QStringList>> typed;
    const qsizetype rows = std::max(b.size(), m.size());
    for (qsizetype r = 0; r < rows; ++r) {
        const qsizetype cols = std::max(b.value(r).size(), m.value(r).size());
        for (qsizetype c = 0; c < cols; ++c) {
            const QString was = b.value(r).value(c), now = m.value(r).value(c);
            if (was == now)
                continue;
            auto& [read, written] = typed[{rowUnder(int(r), from, to), c}];
            if (!was.isEmpty())
                read << was;
            if (!now.isEmpty())
                written << now;
        }
    }
    for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
        const auto [row, col] = it.key();
        putCell(baseCells, row, col, it.value().first.join(QStringLiteral(" / ")));
        putCell(mineCells, row, col, it.value().second.join(QStringLiteral(" / ")));
    }
    base.data = celltext::join(baseCells);
    mine.data = celltext::join(mineCells);
    base.dataNull = mine.dataNull = false;
    mine.layout = theirs.layout;
}

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
                    conflicts.append(PageConflict{PageConflict::Cell, int(r), int(c), tr.value(c), mr.value(c), false, {}, {}});
                out.append(cell);
            }
            cells_.append(out);
        }
        merged_.data = celltext::join(cells_);
        merged_.dataNull = false;
    }
    if (mergeField(base.memo, mine.memo, theirs.memo, merged_.memo))
        conflicts.append(PageConflict{PageConflict::Memo, 0, 0, theirs.memo, mine.memo, false, {}, {}});
    // A flag never stored reads as open, as the screen shows it.
    bool closed = false;
    mergeField(base.clinic.value_or(false), mine.clinic.value_or(false), theirs.clinic.value_or(false), closed);
    if (closed != theirs.clinic.value_or(false) || theirs.clinic.has_value())
        merged_.clinic = closed;
}

std::vector<storage::Change> PageMerge::notKept() const
{
    std::vector<storage::Change> given;
    for (const PageConflict& c : conflicts) {
        if (c.keepMine)
            continue;
        storage::Change change;
        if (c.kind == PageConflict::Cell) {
            change.row = c.row;
            change.col = c.col;
        }
        change.oldText = c.theirs;
        change.newText = c.mine;
        given.push_back(change);
    }
    return given;
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
        case PageConflict::FixedMemo:
        case PageConflict::Book:
            break;
        }
    }
    if (cellsChosen)
        row.data = celltext::join(cells);
    return row;
}
