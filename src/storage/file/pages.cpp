// The page rows of tbl_Appt in the file: kept statements on SQLite's C API, the rows read
// straight from the engine's own values.
#include "storage/tr.h"
#include "storage/file/fileengine.h"
#include "storage/file/query.h"

#include <limits>
#include <QCoreApplication>

namespace storage {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// The columns of a page row, in the order readRow takes them.
#define PAGE_COLUMNS "id, CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names"
const char* const kLayoutFields[] = {"location", "open", "Close", "timeslot", "Listno", "Sites", "Names"};

// CalDate as stored, "yyyy-MM-dd" (a time part after it is ignored).
QDate toDate(const unsigned char* text, int size)
{
    if (!text || size < 10 || text[4] != '-' || text[7] != '-')
        return QDate::fromString(QString::fromUtf8(reinterpret_cast<const char*>(text), size).left(10), kDateFormat);
    auto number = [&](int from, int len) {
        int n = 0;
        for (int i = from; i < from + len; ++i)
            n = n * 10 + (text[i] - '0');
        return n;
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2));
}

// Reads a row selected with PAGE_COLUMNS (the layout only when asked for).
void readRow(sqlite3_stmt* st, PageRow& row, bool withLayout)
{
    row.id = sqlite3_column_int64(st, 0);
    row.calDate = toDate(sqlite3_column_text(st, 1), sqlite3_column_bytes(st, 1));
    row.dataNull = isNull(st, 2);
    row.data = columnText(st, 2);
    row.clinic = isNull(st, 3) ? std::optional<bool>() : std::optional<bool>(sqlite3_column_int(st, 3) != 0);
    row.memo = columnText(st, 4);
    if (!withLayout)
        return;
    Layout& l = row.layout;
    l.missing.clear();
    for (int i = 0; i < 7; ++i)
        if (isNull(st, 5 + i))
            l.missing << QString::fromLatin1(kLayoutFields[i]);
    l.location = columnText(st, 5);
    l.open = columnText(st, 6);
    l.close = columnText(st, 7);
    l.timeslot = sqlite3_column_int(st, 8);
    l.listno = sqlite3_column_int(st, 9);
    l.sites = columnText(st, 10);
    l.names = columnText(st, 11);
}

// A layout field bound as stored, or Null where the settings never had it.
void bindLayout(sqlite3_stmt* st, int first, const Layout& l)
{
    for (int i = 0; i < 7; ++i) {
        const int index = first + i;
        if (l.missing.contains(QString::fromLatin1(kLayoutFields[i]))) {
            sqlite3_bind_null(st, index);
            continue;
        }
        switch (i) {
        case 0: bindText(st, index, l.location); break;
        case 1: bindText(st, index, l.open); break;
        case 2: bindText(st, index, l.close); break;
        case 3: sqlite3_bind_int(st, index, l.timeslot); break;
        case 4: sqlite3_bind_int(st, index, l.listno); break;
        case 5: bindText(st, index, l.sites); break;
        default: bindText(st, index, l.names); break;
        }
    }
}

std::optional<PageRow> readOne(Query& q)
{
    if (!q.step())
        return std::nullopt;
    PageRow row;
    readRow(q.get(), row, true);
    return row;
}

}  // namespace

std::optional<PageRow> FileEngine::findPage(QDate date)
{
    // The index on (CalDate, id) gives the newest row of the date at once.
    Query q(file_, "SELECT " PAGE_COLUMNS " FROM tbl_Appt WHERE CalDate = ?1 ORDER BY id DESC LIMIT 1",
            Tr::tr("looking up the page of %1").arg(date.toString(kDateFormat)));
    const QByteArray key = dateKey(date);
    sqlite3_bind_text(q.get(), 1, key.constData(), int(key.size()), SQLITE_STATIC);
    return readOne(q);
}

PageRow FileEngine::addPage(QDate date, const Layout& l, const QString& data, bool closed, const QString& memo,
                            const CellLabels& labels)
{
    const QString what = Tr::tr("adding the page of %1").arg(date.toString(kDateFormat));
    Transaction t(file_, what);
    Query q(file_, "INSERT INTO tbl_Appt (CalDate, location, open, Close, timeslot, Listno, Sites, Names, "
                   "Data, Clinic, Memo) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)", what);
    const QByteArray key = dateKey(date);
    sqlite3_bind_text(q.get(), 1, key.constData(), int(key.size()), SQLITE_STATIC);
    bindLayout(q.get(), 2, l);
    bindText(q.get(), 9, data);
    sqlite3_bind_int(q.get(), 10, closed ? 1 : 0);
    if (memo.isNull())
        sqlite3_bind_null(q.get(), 11);
    else
        bindText(q.get(), 11, memo);
    q.run();
    const PageRow row = PageRow::added(sqlite3_last_insert_rowid(file_.native()), date, l, data, closed, memo);
    recordChanges(pageChanges(date, newPage(date, readSettings()), PageState{data, closed, memo}, labels));
    t.commit();
    return row;
}

void FileEngine::updatePage(PageRow& row, const CellLabels& labels, const std::vector<Change>& notKept)
{
    const QString what = Tr::tr("storing the page of %1").arg(row.calDate.toString(kDateFormat));
    Transaction t(file_, what);
    // The page as stored, read in this transaction: the history takes what changes from it.
    std::optional<PageState> before;
    {
        Query stored(file_, "SELECT Data, Clinic, Memo FROM tbl_Appt WHERE id = ?1", what);
        sqlite3_bind_int64(stored.get(), 1, row.id);
        if (stored.step()) {
            sqlite3_stmt* st = stored.get();
            before = storedPage(row.calDate, columnText(st, 0), isNull(st, 0),
                                isNull(st, 1) ? std::optional<bool>() : std::optional<bool>(sqlite3_column_int(st, 1) != 0),
                                columnText(st, 2), [&] { return readSettings(); });
        }
    }
    Query q(file_, "UPDATE tbl_Appt SET Data = ?1, Clinic = ?2, Memo = ?3 WHERE id = ?4", what);
    if (row.dataNull)
        sqlite3_bind_null(q.get(), 1);
    else
        bindText(q.get(), 1, row.data);
    if (row.clinic)
        sqlite3_bind_int(q.get(), 2, *row.clinic ? 1 : 0);
    else
        sqlite3_bind_null(q.get(), 2);
    bindText(q.get(), 3, row.memo);
    sqlite3_bind_int64(q.get(), 4, row.id);
    q.run();
    if (q.changes() != 1)
        throw StorageError(file_.describe(what, Tr::tr("The page's row is no longer there.")));
    if (before)
        recordChanges(pageChanges(row.calDate, *before, PageState{row.data, row.clinic.value_or(false), row.memo},
                                  labels));
    recordChanges(notKept);
    t.commit();
}

void FileEngine::removePages(const QList<qint64>& ids)
{
    const QString what = Tr::tr("deleting empty pages");
    Transaction t(file_, what);
    for (qint64 id : ids) {
        Query q(file_, "DELETE FROM tbl_Appt WHERE id = ?1", what);
        sqlite3_bind_int64(q.get(), 1, id);
        q.run();
    }
    t.commit();
}

void FileEngine::removeUnchangedPages(const QList<PageRow>& rows)
{
    // The file has one desk: what was read is what is stored.
    QList<qint64> ids;
    for (const PageRow& r : rows)
        ids << r.id;
    removePages(ids);
}

void FileEngine::walkPages(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                           bool withLayout)
{
    // The search and the purge read every row; the layout columns only when asked for.
    const QString what = Tr::tr("reading the pages");
    Query q(file_,
            withLayout ? "SELECT " PAGE_COLUMNS " FROM tbl_Appt WHERE id <= ?1 ORDER BY id DESC"
                       : "SELECT id, CalDate, Data, Clinic, Memo FROM tbl_Appt WHERE id <= ?1 ORDER BY id DESC",
            what);
    sqlite3_bind_int64(q.get(), 1, fromId ? *fromId : std::numeric_limits<qint64>::max());
    PageRow row;
    while (q.step()) {
        readRow(q.get(), row, withLayout);
        if (!visit(row))
            break;
    }
}

void FileEngine::walkIndexed(const QByteArray& query, const std::function<void(const PageRow&)>& visit)
{
    Query q(file_,
            "SELECT a.id, a.CalDate, a.Data, a.Clinic, a.Memo, a.location, a.open, a.Close, a.timeslot, a.Listno,"
            " a.Sites, a.Names FROM tbl_ApptSearch s JOIN tbl_Appt a ON a.id = s.rowid"
            " WHERE tbl_ApptSearch MATCH ?1 ORDER BY s.rowid DESC",
            Tr::tr("searching the pages"));
    sqlite3_bind_text(q.get(), 1, query.constData(), int(query.size()), SQLITE_STATIC);
    PageRow row;
    while (q.step()) {
        readRow(q.get(), row, true);
        visit(row);
    }
}

int FileEngine::countPages()
{
    Query q(file_, "SELECT count(*) FROM tbl_Appt", Tr::tr("counting the pages"));
    return q.step() ? sqlite3_column_int(q.get(), 0) : 0;
}

}  // namespace storage
