// The search of a name in the file's pages: the rows the index of the pages' text names
// for it (or, without the index, every row) walked newest first on a kept statement, the
// stored bytes matched as they are, the name never in the SQL.
#include "storage/tr.h"
#include "storage/file/fileengine.h"
#include "storage/file/query.h"
#include "storage/file/searchindex.h"
#include "storage/file/tables.h"

#include <limits>
#include <QCoreApplication>

namespace storage {
namespace {

// The rows below an id, newest first: id, CalDate, Data. The name never enters the SQL.
const char* const kRowsBelow = "SELECT id, CalDate, Data FROM tbl_Appt WHERE id < ?1 ORDER BY id DESC";
// The row the day page shows for a date: the newest one stored under it.
const char* const kShownRow = "SELECT id FROM tbl_Appt WHERE CalDate = ?1 ORDER BY id DESC LIMIT 1";
// The rows below an id that the index names for a query, newest first.
const char* const kIndexedBelow =
    "SELECT a.id, a.CalDate, a.Data FROM tbl_ApptSearch s JOIN tbl_Appt a ON a.id = s.rowid"
    " WHERE tbl_ApptSearch MATCH ?2 AND s.rowid < ?1 ORDER BY s.rowid DESC";
// Rows at a time while the index is filled, between two words to the progress bar.
constexpr int kFillStep = 2000;

QDate dateOf(sqlite3_stmt* stmt)
{
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
    const int size = sqlite3_column_bytes(stmt, 1);
    if (!text || size < 10)
        return QDate();
    return QDate::fromString(QString::fromLatin1(text, 10), Qt::ISODate);
}

}  // namespace

std::optional<QByteArray> searchIndexQuery(const QString& name)
{
    // A page holds the name where a stretch of its text folds as the name does. The ASCII
    // characters of a name fold only from ASCII ones, the long s and the Kelvin sign, which
    // the index folds the same way: each trigram of an ASCII stretch of the name is in the
    // index's folded text of every page that holds the name. The index keeps no places, so
    // it is asked for the pages that hold them all.
    QByteArray query;
    QList<QByteArray> asked;
    QByteArray run;
    auto endRun = [&] {
        for (qsizetype i = 0; i + 3 <= run.size(); ++i) {
            QByteArray trigram = run.mid(i, 3);
            if (asked.contains(trigram))
                continue;
            asked << trigram;
            trigram.replace('"', "\"\"");
            query += (query.isEmpty() ? "\"" : " \"") + trigram + '"';
        }
        run.clear();
    };
    for (QChar c : name) {
        if (c.unicode() < 0x80)
            run += char(c.toLower().unicode());
        else
            endRun();
    }
    endRun();
    if (query.isEmpty())
        return std::nullopt;
    return query;
}

bool FileEngine::searchIndexed()
{
    std::optional<bool>& known = file_.searchIndexed();
    if (!known) {
        Query q(file_, "SELECT count(*) FROM sqlite_master WHERE name IN (?1, ?2, ?3, ?4)",
                Tr::tr("searching the pages"));
        for (int i = 0; i < 4; ++i)
            sqlite3_bind_text(q.get(), i + 1, kFileSearchIndexNames[i], -1, SQLITE_STATIC);
        known = q.step() && sqlite3_column_int(q.get(), 0) == 4;
    }
    return *known;
}

void FileEngine::prepareSearch(const std::function<void(qint64, qint64)>& progress)
{
    if (file_.readOnly() || searchIndexed())
        return;
    // Made in one transaction: a file holds the whole index or none of it. What an earlier
    // attempt left (a table without its triggers) goes first.
    const QString what = Tr::tr("building the index of the pages' text");
    Transaction t(file_, what);
    auto run = [&](const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(file_.native(), sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const QString detail = QString::fromUtf8(error ? error : sqlite3_errmsg(file_.native()));
            sqlite3_free(error);
            throw StorageError(file_.describe(what, detail));
        }
    };
    run("DROP TRIGGER IF EXISTS tbl_ApptSearch_add");
    run("DROP TRIGGER IF EXISTS tbl_ApptSearch_remove");
    run("DROP TRIGGER IF EXISTS tbl_ApptSearch_store");
    run("DROP TABLE IF EXISTS tbl_ApptSearch");
    for (const char* sql : kFileSearchIndex)
        run(sql);
    qint64 total = 0, last = 0;
    {
        Query q(file_, "SELECT count(*), max(id) FROM tbl_Appt", what);
        if (q.step()) {
            total = sqlite3_column_int64(q.get(), 0);
            last = sqlite3_column_int64(q.get(), 1);
        }
    }
    qint64 done = 0, from = std::numeric_limits<qint64>::min();
    if (progress)
        progress(0, total);
    while (from < last) {
        qint64 to = last;
        {
            Query step(file_, "SELECT id FROM tbl_Appt WHERE id > ?1 ORDER BY id LIMIT 1 OFFSET ?2", what);
            sqlite3_bind_int64(step.get(), 1, from);
            sqlite3_bind_int(step.get(), 2, kFillStep - 1);
            if (step.step())
                to = sqlite3_column_int64(step.get(), 0);
        }
        Query fill(file_, kFileSearchIndexFill, what);
        sqlite3_bind_int64(fill.get(), 1, from);
        sqlite3_bind_int64(fill.get(), 2, to);
        fill.run();
        done = std::min(total, done + fill.changes());
        from = to;
        if (progress)
            progress(done, total);
    }
    // One segment for the whole text: the smallest index, and the fastest to ask.
    run("INSERT INTO tbl_ApptSearch (tbl_ApptSearch) VALUES ('optimize')");
    t.commit();
    file_.searchIndexed() = true;
}

std::optional<PageMatch> FileEngine::searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId)
{
    const std::optional<QByteArray> query = searchIndexed() ? searchIndexQuery(matcher.name()) : std::nullopt;
    Query rows(file_, query ? kIndexedBelow : kRowsBelow, Tr::tr("searching the pages"));
    sqlite3_stmt* st = rows.get();
    sqlite3_bind_int64(st, 1, beforeId ? *beforeId : std::numeric_limits<qint64>::max());
    if (query)
        sqlite3_bind_text(st, 2, query->constData(), int(query->size()), SQLITE_STATIC);
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
    auto take = [&](const PageRow& row) {
        if (!row.dataNull && row.calDate.isValid() && matcher.matches(row.data) && shown(row.id, row.calDate)) {
            PageMatch match;
            match.id = row.id;
            match.calDate = row.calDate;
            match.data = row.data;
            match.layout = row.layout;
            visit(match);
        }
    };
    if (const std::optional<QByteArray> query = searchIndexed() ? searchIndexQuery(matcher.name()) : std::nullopt)
        walkIndexed(*query, take);
    else
        walkPages([&](const PageRow& row) { take(row); return true; }, std::nullopt, true);
}

}  // namespace storage
