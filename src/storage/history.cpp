#include "storage/history.h"

#include "platform/clock.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/pagesearch.h"
#include "storage/serverengine.h"

#include <QSqlQuery>
#include <QSysInfo>
#include <map>
#include <set>
#include <tuple>
#include <sqlite3.h>

namespace storage {
namespace {

QString g_desk;

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

}  // namespace

// Made in the file by the first writing transaction that records a change, so that a file
// from before keeps everything else as it was and still opens in an earlier version (which
// never looks at this table). Rows are only ever appended, so the row ids grow with time
// without AUTOINCREMENT's bookkeeping, which would cost every store a page more.
const char* const kFileHistoryTables[2] = {
    "CREATE TABLE IF NOT EXISTS tbl_History (id INTEGER PRIMARY KEY, CalDate TEXT,"
    " Field TEXT NOT NULL, CellRow INTEGER, CellCol INTEGER, TimeLabel TEXT, Provider TEXT,"
    " OldText TEXT, NewText TEXT, Moment TEXT NOT NULL, Desk TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS idx_History_Cell ON tbl_History (CalDate, CellRow, CellCol)",
};

namespace {

#define HISTORY_COLUMNS "id, CalDate, Field, CellRow, CellCol, TimeLabel, Provider, OldText, NewText, Moment, Desk"

QString columnText(sqlite3_stmt* st, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                             sqlite3_column_bytes(st, column));
}

void bindText(sqlite3_stmt* st, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

Change readChange(sqlite3_stmt* st)
{
    Change c;
    c.id = sqlite3_column_int64(st, 0);
    c.calDate = QDate::fromString(columnText(st, 1).left(10), kDateFormat);
    c.field = columnText(st, 2);
    c.row = sqlite3_column_type(st, 3) == SQLITE_NULL ? -1 : sqlite3_column_int(st, 3);
    c.col = sqlite3_column_type(st, 4) == SQLITE_NULL ? -1 : sqlite3_column_int(st, 4);
    c.timeLabel = columnText(st, 5);
    c.provider = columnText(st, 6);
    c.oldText = columnText(st, 7);
    c.newText = columnText(st, 8);
    c.moment = QDateTime::fromString(columnText(st, 9), Qt::ISODateWithMs);
    c.moment.setTimeSpec(Qt::UTC);
    c.desk = columnText(st, 10);
    return c;
}

bool fileHasHistory(Database& db)
{
    if (db.historyKnown())
        return true;
    Query q(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'tbl_History'",
            QStringLiteral("reading the history"));
    // Looked for before a transaction makes it, so a table found was there before it began.
    const bool there = q.step();
    if (there)
        db.setHistoryKnown();
    return there;
}

std::vector<Change> readFile(Query& q)
{
    std::vector<Change> changes;
    while (q.step())
        changes.push_back(readChange(q.get()));
    return changes;
}

QString flagText(bool closed)
{
    return closed ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

QString deskName()
{
    if (!g_desk.isEmpty())
        return g_desk;
    const QString host = QSysInfo::machineHostName().trimmed();
    QString login = qEnvironmentVariable("USER").trimmed();
    if (login.isEmpty())
        login = qEnvironmentVariable("LOGNAME").trimmed();
    if (login.isEmpty())
        login = qEnvironmentVariable("USERNAME").trimmed();
    if (host.isEmpty() && login.isEmpty())
        return QStringLiteral("unknown desk");
    return (host.isEmpty() ? QStringLiteral("unknown computer") : host) + QLatin1Char('/')
         + (login.isEmpty() ? QStringLiteral("unknown login") : login);
}

void setDeskName(const QString& name)
{
    g_desk = name.trimmed();
}

std::vector<Change> pageChanges(QDate date, const PageState& before, const PageState& after,
                                const CellLabels& labels)
{
    std::vector<Change> changes;
    if (before.data != after.data) {
        const QList<QStringList> oldRows = celltext::split(before.data);
        const QList<QStringList> newRows = celltext::split(after.data);
        const qsizetype rows = std::max(oldRows.size(), newRows.size());
        for (qsizetype r = 0; r < rows; ++r) {
            const QStringList oldCells = oldRows.value(r);
            const QStringList newCells = newRows.value(r);
            const qsizetype cols = std::max(oldCells.size(), newCells.size());
            for (qsizetype c = 0; c < cols; ++c) {
                const QString oldText = oldCells.value(c);
                const QString newText = newCells.value(c);
                if (oldText == newText)
                    continue;
                Change change;
                change.calDate = date;
                change.field = QStringLiteral("Data");
                change.row = int(r);
                change.col = int(c);
                change.timeLabel = labels.times.value(r).trimmed();
                change.provider = labels.providers.value(c).trimmed();
                change.oldText = oldText;
                change.newText = newText;
                changes.push_back(change);
            }
        }
    }
    if (before.closed != after.closed) {
        Change change;
        change.calDate = date;
        change.field = QStringLiteral("Clinic");
        change.oldText = flagText(before.closed);
        change.newText = flagText(after.closed);
        changes.push_back(change);
    }
    if (before.memo != after.memo) {
        Change change;
        change.calDate = date;
        change.field = QStringLiteral("Memo");
        change.oldText = before.memo;
        change.newText = after.memo;
        changes.push_back(change);
    }
    return changes;
}

PageState newPage(QDate date, const Settings& settings)
{
    return PageState{settings.templateFor(date), settings.closedOn(date), QString()};
}

PageState storedPage(QDate date, const QString& data, bool dataNull, std::optional<bool> clinic,
                     const QString& memo, const std::function<Settings()>& settings)
{
    if (!dataNull)
        return PageState{data, clinic.value_or(false), memo};
    PageState page = newPage(date, settings());
    if (clinic)
        page.closed = *clinic;
    page.memo = memo;
    return page;
}

std::vector<Change> settingChanges(const QStringList& fields, const QVariantList& before,
                                   const QVariantList& after)
{
    // Flags as 1 and 0 on both engines (the server's booleans read as true and false).
    const auto text = [](const QString& field, const QVariant& v) {
        const bool flag = v.typeId() == QMetaType::Bool || field.startsWith(QLatin1String("chk"));
        return flag ? flagText(v.toBool()) : v.toString();
    };
    std::vector<Change> changes;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString oldText = text(fields[i], before.value(i));
        const QString newText = text(fields[i], after.value(i));
        if (oldText == newText)
            continue;
        Change c;
        c.field = fields[i];
        c.oldText = oldText;
        c.newText = newText;
        changes.push_back(c);
    }
    return changes;
}

QVariantList settingsValues(Database& db, const QStringList& fields)
{
    QSqlQuery q = db.prepare(QStringLiteral("SELECT %1 FROM tbl_Setup ORDER BY rowid LIMIT 1")
                                 .arg(fields.join(QStringLiteral(", "))));
    db.exec(q, QStringLiteral("reading the settings"));
    QVariantList values;
    if (q.next())
        for (int i = 0; i < fields.size(); ++i)
            values << q.value(i);
    return values;
}

void recordChanges(Database& db, std::vector<Change> changes)
{
    if (ServerEngine* server = db.server())
        return server->recordChanges(std::move(changes));
    if (changes.empty())
        return;
    const QDateTime moment = program::nowUtc();
    const QString what = QStringLiteral("recording the change in the history");
    if (!fileHasHistory(db))
        for (const char* sql : kFileHistoryTables) {
            char* error = nullptr;
            if (sqlite3_exec(db.native(), sql, nullptr, nullptr, &error) != SQLITE_OK) {
                const QString detail = QString::fromUtf8(error ? error : sqlite3_errmsg(db.native()));
                sqlite3_free(error);
                throw StorageError(db.describe(what, detail));
            }
        }
    const QByteArray when = moment.toString(Qt::ISODateWithMs).toUtf8();
    for (const Change& c : changes) {
        Query q(db, "INSERT INTO tbl_History (CalDate, Field, CellRow, CellCol, TimeLabel, Provider,"
                    " OldText, NewText, Moment, Desk) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                what);
        sqlite3_stmt* st = q.get();
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
        bindText(st, 10, db.desk());
        q.run();
    }
}

std::vector<Change> History::cell(QDate date, int row, int col)
{
    if (ServerEngine* server = db_.server())
        return server->readHistory(QStringLiteral("CalDate = ? AND CellRow = ? AND CellCol = ? AND Field = 'Data'"),
                                   {date, row, col});
    if (!fileHasHistory(db_))
        return {};
    Query q(db_, "SELECT " HISTORY_COLUMNS " FROM tbl_History WHERE CalDate = ?1 AND CellRow = ?2"
                 " AND CellCol = ?3 AND Field = 'Data' ORDER BY id DESC",
            QStringLiteral("reading the history of a cell"));
    bindText(q.get(), 1, date.toString(kDateFormat));
    sqlite3_bind_int(q.get(), 2, row);
    sqlite3_bind_int(q.get(), 3, col);
    return readFile(q);
}

std::vector<Change> History::day(QDate date)
{
    if (ServerEngine* server = db_.server())
        return server->readHistory(QStringLiteral("CalDate = ?"), {date});
    if (!fileHasHistory(db_))
        return {};
    Query q(db_, "SELECT " HISTORY_COLUMNS " FROM tbl_History WHERE CalDate = ?1 ORDER BY id DESC",
            QStringLiteral("reading the changes of %1").arg(date.toString(kDateFormat)));
    bindText(q.get(), 1, date.toString(kDateFormat));
    return readFile(q);
}

std::vector<Change> History::removed(const NameMatcher& matcher,
                                     const std::function<bool(const Change&)>& stillThere)
{
    std::vector<Change> cellChanges;
    if (ServerEngine* server = db_.server()) {
        cellChanges = server->readHistory(QStringLiteral("Field = 'Data' AND OldText <> ''"), {});
    } else if (fileHasHistory(db_)) {
        Query q(db_, "SELECT " HISTORY_COLUMNS " FROM tbl_History WHERE Field = 'Data' AND OldText <> ''"
                     " ORDER BY id DESC",
                QStringLiteral("searching the history"));
        cellChanges = readFile(q);
    }
    // The newest change of each cell that took the name out of it.
    std::vector<Change> found;
    std::set<std::tuple<QDate, int, int>> seen;
    for (Change& c : cellChanges) {
        if (!matcher.matches(c.oldText) || matcher.matches(c.newText))
            continue;
        if (!seen.insert({c.calDate, c.row, c.col}).second)
            continue;
        if (!stillThere(c))
            found.push_back(std::move(c));
    }
    return found;
}

}  // namespace storage
