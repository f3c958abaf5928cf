#include "storage/settings.h"

#include "storage/database.h"
#include "storage/engine.h"

namespace storage {
namespace {

const char* const kWeekFields[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

}  // namespace

QString templateField(int weekday)
{
    return weekday >= 1 && weekday <= 7 ? QString::fromLatin1(kWeekFields[weekday - 1]) : QString();
}

Settings readSettings(Database& db)
{
    return db.engine().readSettings();
}

void writeMemoAndBook(Database& db, const QString& fixedMemo, const QString& bookno)
{
    db.engine().writeMemoAndBook(fixedMemo, bookno);
}

}  // namespace storage
