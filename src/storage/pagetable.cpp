#include "storage/pagetable.h"

#include "storage/database.h"

#include <QSqlQuery>
#include <QVariant>
#include <limits>
#include <sqlite3.h>

namespace storage {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kColumns = QStringLiteral(
    "id, CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names");

// CalDate as stored, "yyyy-MM-dd" (a time part after it is ignored).
QDate toDate(QStringView text)
{
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return QDate::fromString(text.left(10).toString(), kDateFormat);
    auto number = [&](int from, int len) {
        int n = 0;
        for (int i = from; i < from + len; ++i)
            n = n * 10 + (text[i].unicode() - '0');
        return n;
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2));
}

QString columnText(sqlite3_stmt* stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

// A statement of the engine's own, finalised on every way out.
class NativeStatement {
public:
    NativeStatement(Database& db, const char* sql) : db_(db)
    {
        if (sqlite3_prepare_v2(db.native(), sql, -1, &stmt_, nullptr) != SQLITE_OK)
            fail();
    }
    ~NativeStatement() { sqlite3_finalize(stmt_); }
    NativeStatement(const NativeStatement&) = delete;
    NativeStatement& operator=(const NativeStatement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    bool step()
    {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            fail();
        return false;
    }

private:
    [[noreturn]] void fail()
    {
        throw StorageError(db_.describe(QStringLiteral("reading the pages"),
                                        QString::fromUtf8(sqlite3_errmsg(db_.native()))));
    }
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

PageRow readRow(const QSqlQuery& q, bool withLayout)
{
    PageRow row;
    row.id = q.value(0).toLongLong();
    row.calDate = toDate(q.value(1).toString());
    row.dataNull = q.isNull(2);
    row.data = q.value(2).toString();
    if (!q.isNull(3))
        row.clinic = q.value(3).toBool();
    row.memo = q.value(4).toString();
    if (withLayout) {
        Layout& l = row.layout;
        const char* names[] = {"location", "open", "Close", "timeslot", "Listno", "Sites", "Names"};
        for (int i = 0; i < 7; ++i)
            if (q.isNull(5 + i))
                l.missing << QString::fromLatin1(names[i]);
        l.location = q.value(5).toString();
        l.open = q.value(6).toString();
        l.close = q.value(7).toString();
        l.timeslot = q.value(8).toInt();
        l.listno = q.value(9).toInt();
        l.sites = q.value(10).toString();
        l.names = q.value(11).toString();
    }
    return row;
}

QVariant nullable(const Layout& l, const char* field, const QVariant& value)
{
    return l.missing.contains(QString::fromLatin1(field)) ? QVariant() : value;
}

}  // namespace

std::optional<PageRow> PageTable::find(QDate date)
{
    QSqlQuery q = db_.prepare(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE CalDate = ? "
                                             "ORDER BY id DESC LIMIT 1").arg(kColumns));
    q.addBindValue(date.toString(kDateFormat));
    db_.exec(q, QStringLiteral("looking up the page of %1").arg(date.toString(kDateFormat)));
    if (!q.next())
        return std::nullopt;
    return readRow(q, true);
}

std::optional<PageRow> PageTable::byId(qint64 id)
{
    QSqlQuery q = db_.prepare(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE id = ?").arg(kColumns));
    q.addBindValue(id);
    db_.exec(q, QStringLiteral("reading a page"));
    if (!q.next())
        return std::nullopt;
    return readRow(q, true);
}

PageRow PageTable::add(QDate date, const Layout& l)
{
    const QString what = QStringLiteral("adding the page of %1").arg(date.toString(kDateFormat));
    Transaction t(db_, what);
    QSqlQuery q = db_.prepare(QStringLiteral(
        "INSERT INTO tbl_Appt (CalDate, location, open, Close, timeslot, Listno, Sites, Names) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(date.toString(kDateFormat));
    q.addBindValue(nullable(l, "location", l.location));
    q.addBindValue(nullable(l, "open", l.open));
    q.addBindValue(nullable(l, "Close", l.close));
    q.addBindValue(nullable(l, "timeslot", l.timeslot));
    q.addBindValue(nullable(l, "Listno", l.listno));
    q.addBindValue(nullable(l, "Sites", l.sites));
    q.addBindValue(nullable(l, "Names", l.names));
    db_.exec(q, what);
    PageRow row;
    row.id = q.lastInsertId().toLongLong();
    row.calDate = date;
    row.layout = l;
    t.commit();
    return row;
}

void PageTable::update(const PageRow& row)
{
    const QString what = QStringLiteral("storing the page of %1").arg(row.calDate.toString(kDateFormat));
    Transaction t(db_, what);
    QSqlQuery q = db_.prepare(
        QStringLiteral("UPDATE tbl_Appt SET Data = ?, Clinic = ?, Memo = ? WHERE id = ?"));
    q.addBindValue(row.dataNull ? QVariant() : QVariant(row.data));
    q.addBindValue(row.clinic ? QVariant(*row.clinic) : QVariant());
    q.addBindValue(row.memo);
    q.addBindValue(row.id);
    db_.exec(q, what);
    if (q.numRowsAffected() != 1)
        throw StorageError(db_.describe(what, QStringLiteral("The page's row is no longer there.")));
    t.commit();
}

void PageTable::remove(qint64 id)
{
    remove(QList<qint64>{id});
}

void PageTable::remove(const QList<qint64>& ids)
{
    if (ids.isEmpty())
        return;
    const QString what = QStringLiteral("deleting empty pages");
    Transaction t(db_, what);
    QSqlQuery q = db_.prepare(QStringLiteral("DELETE FROM tbl_Appt WHERE id = ?"));
    for (qint64 id : ids) {
        q.bindValue(0, id);
        db_.exec(q, what);
    }
    t.commit();
}

void PageTable::walk(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                     bool withLayout)
{
    // The search and the purge read every row: this walk goes to the engine directly.
    NativeStatement stmt(db_, "SELECT id, CalDate, Data, Clinic, Memo, location, open, Close, "
                              "timeslot, Listno, Sites, Names FROM tbl_Appt WHERE id <= ?1 "
                              "ORDER BY id DESC");
    sqlite3_bind_int64(stmt.get(), 1, fromId ? *fromId : std::numeric_limits<qint64>::max());
    sqlite3_stmt* st = stmt.get();
    PageRow row;
    while (stmt.step()) {
        row.id = sqlite3_column_int64(st, 0);
        row.calDate = toDate(columnText(st, 1));
        row.dataNull = sqlite3_column_type(st, 2) == SQLITE_NULL;
        row.data = columnText(st, 2);
        row.clinic = sqlite3_column_type(st, 3) == SQLITE_NULL
                         ? std::optional<bool>()
                         : std::optional<bool>(sqlite3_column_int(st, 3) != 0);
        row.memo = columnText(st, 4);
        if (withLayout) {
            Layout& l = row.layout;
            l.missing.clear();
            const char* names[] = {"location", "open", "Close", "timeslot", "Listno", "Sites", "Names"};
            for (int i = 0; i < 7; ++i)
                if (sqlite3_column_type(st, 5 + i) == SQLITE_NULL)
                    l.missing << QString::fromLatin1(names[i]);
            l.location = columnText(st, 5);
            l.open = columnText(st, 6);
            l.close = columnText(st, 7);
            l.timeslot = sqlite3_column_int(st, 8);
            l.listno = sqlite3_column_int(st, 9);
            l.sites = columnText(st, 10);
            l.names = columnText(st, 11);
        }
        if (!visit(row))
            break;
    }
}

int PageTable::count()
{
    QSqlQuery q = db_.prepare(QStringLiteral("SELECT count(*) FROM tbl_Appt"));
    db_.exec(q, QStringLiteral("counting the pages"));
    return q.next() ? q.value(0).toInt() : 0;
}

}  // namespace storage
