// The history in the file: tbl_History, made by the first change a file records, appended
// to in the transaction of each store and read newest first.
#include "storage/tr.h"
#include "platform/clock.h"
#include "storage/file/fileengine.h"
#include "storage/file/query.h"
#include "storage/file/tables.h"
#include <QCoreApplication>

namespace storage {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

#define HISTORY_COLUMNS "id, CalDate, Field, CellRow, CellCol, TimeLabel, Provider, OldText, NewText, Moment, Desk"

Change readChange(sqlite3_stmt* st)
{
    Change c;
    c.id = sqlite3_column_int64(st, 0);
    c.calDate = QDate::fromString(columnText(st, 1).left(10), kDateFormat);
    c.field = columnText(st, 2);
    c.row = isNull(st, 3) ? -1 : sqlite3_column_int(st, 3);
    c.col = isNull(st, 4) ? -1 : sqlite3_column_int(st, 4);
    c.timeLabel = columnText(st, 5);
    c.provider = columnText(st, 6);
    c.oldText = columnText(st, 7);
    c.newText = columnText(st, 8);
    c.moment = QDateTime::fromString(columnText(st, 9), Qt::ISODateWithMs);
    c.moment.setTimeSpec(Qt::UTC);
    c.desk = columnText(st, 10);
    return c;
}

std::vector<Change> readAll(Query& q)
{
    std::vector<Change> changes;
    while (q.step())
        changes.push_back(readChange(q.get()));
    return changes;
}

}  // namespace

bool FileEngine::hasHistory()
{
    if (file_.historyKnown())
        return true;
    Query q(file_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'tbl_History'",
            Tr::tr("reading the history"));
    // Looked for before a transaction makes it, so a table found was there before it began.
    const bool there = q.step();
    if (there)
        file_.setHistoryKnown();
    return there;
}

void FileEngine::recordChanges(std::vector<Change> changes)
{
    if (changes.empty())
        return;
    const QDateTime moment = program::nowUtc();
    const QString what = Tr::tr("recording the change in the history");
    const auto execute = [&](const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(file_.native(), sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const QString detail = QString::fromUtf8(error ? error : sqlite3_errmsg(file_.native()));
            sqlite3_free(error);
            throw StorageError(file_.describe(what, detail));
        }
    };
    if (!hasHistory()) {
        for (const char* sql : kFileHistoryTables)
            execute(sql);
    } else if (!file_.historyIndexKnown()) {
        // A file from before indexes its history by cell: that index goes, in this store's
        // transaction, and the index by date is made from the rows there are.
        Query q(file_, "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = 'idx_History_Day'", what);
        if (q.step()) {
            file_.setHistoryIndexKnown();
        } else {
            q.reset();
            execute(QByteArray("DROP INDEX IF EXISTS ").append(kFileHistoryEarlierIndex).constData());
            execute(kFileHistoryTables[1]);
        }
    }
    const QByteArray when = moment.toString(Qt::ISODateWithMs).toUtf8();
    Query q(file_, "INSERT INTO tbl_History (CalDate, Field, CellRow, CellCol, TimeLabel, Provider,"
                   " OldText, NewText, Moment, Desk) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
            what);
    sqlite3_stmt* st = q.get();
    for (const Change& c : changes) {
        if (c.calDate.isValid())
            bindText(st, 1, c.calDate.toString(kDateFormat));
        bindText(st, 2, c.field);
        if (c.row >= 0) {
            sqlite3_bind_int(st, 3, c.row);
            sqlite3_bind_int(st, 4, c.col);
        }
        bindText(st, 5, c.timeLabel);
        bindText(st, 6, c.provider);
        bindText(st, 7, c.oldText);
        bindText(st, 8, c.newText);
        sqlite3_bind_text(st, 9, when.constData(), int(when.size()), SQLITE_STATIC);
        bindText(st, 10, file_.desk());
        q.run();
        q.reset();
    }
}

std::vector<Change> FileEngine::cellHistory(QDate date, int row, int col)
{
    if (!hasHistory())
        return {};
    Query q(file_, "SELECT " HISTORY_COLUMNS " FROM tbl_History WHERE CalDate = ?1 AND CellRow = ?2"
                   " AND CellCol = ?3 AND Field IN ('Data', 'NotKept') ORDER BY id DESC",
            Tr::tr("reading the history of a cell"));
    bindText(q.get(), 1, date.toString(kDateFormat));
    sqlite3_bind_int(q.get(), 2, row);
    sqlite3_bind_int(q.get(), 3, col);
    return readAll(q);
}

std::vector<Change> FileEngine::dayHistory(QDate date)
{
    if (!hasHistory())
        return {};
    Query q(file_, "SELECT " HISTORY_COLUMNS " FROM tbl_History WHERE CalDate = ?1 ORDER BY id DESC",
            Tr::tr("reading the changes of %1").arg(date.toString(kDateFormat)));
    bindText(q.get(), 1, date.toString(kDateFormat));
    return readAll(q);
}

std::vector<Change> FileEngine::overwrittenCells()
{
    if (!hasHistory())
        return {};
    Query q(file_, "SELECT " HISTORY_COLUMNS " FROM tbl_History WHERE Field = 'Data' AND OldText <> ''"
                   " ORDER BY id DESC",
            Tr::tr("searching the history"));
    return readAll(q);
}

}  // namespace storage
