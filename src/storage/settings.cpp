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
    db.engine().writeMemoAndBook(MemoAndBook{fixedMemo, bookno}, std::nullopt);
}

MemoAndBook storeMemoAndBook(Database& db, const MemoAndBook& read, const MemoAndBook& typed)
{
    return db.engine().writeMemoAndBook(typed, read);
}

MemoAndBook mergedMemoAndBook(const MemoAndBook& stored, const MemoAndBook& read, const MemoAndBook& typed)
{
    // Each field on its own: changed here and still as read there, it takes this desk's text.
    const auto field = [](const QString& stored, const QString& read, const QString& typed) {
        return typed != read && stored == read ? typed : stored;
    };
    return {field(stored.fixedMemo, read.fixedMemo, typed.fixedMemo), field(stored.bookno, read.bookno, typed.bookno)};
}

}  // namespace storage
