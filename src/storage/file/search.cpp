// The search of a name in the file's pages: every row walked newest first on a kept
// statement, the stored bytes matched as they are, the name never in the SQL.
#include "storage/tr.h"
#include "storage/file/fileengine.h"
#include "storage/file/query.h"

#include <limits>
#include <QCoreApplication>

namespace storage {
namespace {

// The rows below an id, newest first: id, CalDate, Data. The name never enters the SQL.
const char* const kRowsBelow = "SELECT id, CalDate, Data FROM tbl_Appt WHERE id < ?1 ORDER BY id DESC";
// The row the day page shows for a date: the newest one stored under it.
const char* const kShownRow = "SELECT id FROM tbl_Appt WHERE CalDate = ?1 ORDER BY id DESC LIMIT 1";

QDate dateOf(sqlite3_stmt* stmt)
{
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
    const int size = sqlite3_column_bytes(stmt, 1);
    if (!text || size < 10)
        return QDate();
    return QDate::fromString(QString::fromLatin1(text, 10), Qt::ISODate);
}

}  // namespace

std::optional<PageMatch> FileEngine::searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId)
{
    Query rows(file_, kRowsBelow, Tr::tr("searching the pages"));
    sqlite3_stmt* st = rows.get();
    sqlite3_bind_int64(st, 1, beforeId ? *beforeId : std::numeric_limits<qint64>::max());
    while (rows.step()) {
        const char* data = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
        if (!matcher.matchesUtf8(data, sqlite3_column_bytes(st, 2)))
            continue;
        PageMatch match;
        match.id = sqlite3_column_int64(st, 0);
        match.calDate = dateOf(st);
        if (match.calDate.isValid() && shown(match.id, match.calDate))
            return match;
    }
    return std::nullopt;
}

bool FileEngine::shown(qint64 id, QDate date)
{
    // Asked only of rows that hold the name, so a walk over pages without it costs nothing more.
    Query q(file_, kShownRow, Tr::tr("searching the pages"));
    const QByteArray key = dateKey(date);
    sqlite3_bind_text(q.get(), 1, key.constData(), int(key.size()), SQLITE_STATIC);
    return q.step() && sqlite3_column_int64(q.get(), 0) == id;
}

void FileEngine::searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit)
{
    // Every row read whole, as the page table reads it, with its layout copy.
    walkPages(
        [&](const PageRow& row) {
            if (!row.dataNull && row.calDate.isValid() && matcher.matches(row.data) && shown(row.id, row.calDate)) {
                PageMatch match;
                match.id = row.id;
                match.calDate = row.calDate;
                match.data = row.data;
                match.layout = row.layout;
                visit(match);
            }
            return true;
        },
        std::nullopt, true);
}

}  // namespace storage
