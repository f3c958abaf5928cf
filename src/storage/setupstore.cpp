#include "storage/tr.h"
#include "storage/setupstore.h"

#include "storage/database.h"
#include "storage/engine.h"
#include <QCoreApplication>

namespace storage {

QString closedFlagField(int weekday)
{
    return QStringLiteral("chk%1").arg(weekday % 7 + 1);
}

int storeSetup(Database& db, const Layout& l, QDate today, std::optional<int> readVersion)
{
    return db.engine().storeSetup(l, today, readVersion);
}

int pagesWithOwnEntries(Database& db, QDate today)
{
    return db.engine().pagesWithOwnEntries(today);
}

int storeTemplate(Database& db, int weekday, const QString& cellText, bool closed, std::optional<int> readVersion)
{
    // The fields by the weekday's names, never by position.
    const QString field = templateField(weekday);
    if (field.isEmpty())
        throw StorageError(db.describe(Tr::tr("storing the template of %1").arg(field),
                                       Tr::tr("There is no weekday %1.").arg(weekday)));
    return db.engine().storeTemplate(field, closedFlagField(weekday), cellText, closed, readVersion);
}

}  // namespace storage
