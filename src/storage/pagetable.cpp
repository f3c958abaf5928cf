#include "storage/pagetable.h"

#include "storage/celltext.h"
#include "storage/engine.h"

namespace storage {

std::optional<PageRow> PageTable::find(QDate date)
{
    return db_.engine().findPage(date);
}

PageRow PageTable::add(QDate date, const Layout& l, const QString& data, bool closed, const QString& memo)
{
    return db_.engine().addPage(date, l, celltext::storable(data), closed, celltext::storable(memo), labels_);
}

void PageTable::update(PageRow& row, std::vector<Change> notKept)
{
    // The row then holds the page as stored.
    row.data = celltext::storable(row.data);
    row.memo = celltext::storable(row.memo);
    for (Change& c : notKept) {
        c.calDate = row.calDate;
        c.field = QStringLiteral("NotKept");
        c.newText = celltext::storable(c.newText);
        if (c.row >= 0) {
            c.timeLabel = labels_.times.value(c.row);
            c.provider = labels_.providers.value(c.col);
        }
    }
    db_.engine().updatePage(row, labels_, notKept);
}

void PageTable::remove(qint64 id)
{
    remove(QList<qint64>{id});
}

void PageTable::remove(const QList<qint64>& ids)
{
    if (!ids.isEmpty())
        db_.engine().removePages(ids);
}

void PageTable::removeUnchanged(const QList<PageRow>& rows)
{
    if (!rows.isEmpty())
        db_.engine().removeUnchangedPages(rows);
}

void PageTable::walk(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                     bool withLayout)
{
    db_.engine().walkPages(visit, fromId, withLayout);
}

int PageTable::count()
{
    return db_.engine().countPages();
}

}  // namespace storage
