#include "storage/pagetable.h"

#include "storage/engine.h"

namespace storage {

std::optional<PageRow> PageTable::find(QDate date)
{
    return db_.engine().findPage(date);
}

PageRow PageTable::add(QDate date, const Layout& l, const QString& data, bool closed, const QString& memo)
{
    return db_.engine().addPage(date, l, data, closed, memo, labels_);
}

void PageTable::update(PageRow& row)
{
    db_.engine().updatePage(row, labels_);
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
