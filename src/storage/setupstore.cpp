#include "storage/setupstore.h"

#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/history.h"
#include "storage/serverengine.h"

#include <QSqlQuery>
#include <QVariant>
#include <sqlite3.h>

namespace storage {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kSettingsRow = QStringLiteral("(SELECT min(rowid) FROM tbl_Setup)");

// True when a cell text holds any character besides its separators.
bool holdsText(const QString& cellText)
{
    for (QChar c : cellText)
        if (c != celltext::CellSeparator && c != celltext::RowSeparator)
            return true;
    return false;
}

}  // namespace

QString closedFlagField(int weekday)
{
    return QStringLiteral("chk%1").arg(weekday % 7 + 1);
}

int storeSetup(Database& db, const Layout& l, QDate today, std::optional<int> readVersion)
{
    if (ServerEngine* server = db.server())
        return server->storeSetup(l, today, readVersion);
    const QString what = QStringLiteral("storing the settings and the pages from %1 on")
                             .arg(today.toString(kDateFormat));
    Transaction t(db, what);

    const QStringList fields{QStringLiteral("location"), QStringLiteral("open"), QStringLiteral("Close"),
                             QStringLiteral("timeslot"), QStringLiteral("Listno"), QStringLiteral("Sites"),
                             QStringLiteral("Names")};
    const QVariantList values{l.location, l.open, l.close, l.timeslot, l.listno, l.sites, l.names};
    const QVariantList before = settingsValues(db, fields);
    QSqlQuery settings = db.prepare(QStringLiteral(
        "UPDATE tbl_Setup SET location = ?, open = ?, Close = ?, timeslot = ?, Listno = ?, "
        "Sites = ?, Names = ? WHERE rowid = %1").arg(kSettingsRow));
    for (const QVariant& v : values)
        settings.addBindValue(v);
    db.exec(settings, what);
    if (settings.numRowsAffected() != 1)
        throw StorageError(db.describe(what, QStringLiteral("The table tbl_Setup has no settings row.")));
    recordChanges(db, settingChanges(fields, before, values));

    // UpdateFuturePages: the dates are stored as yyyy-MM-dd, so text order is date order.
    QSqlQuery times = db.prepare(QStringLiteral(
        "UPDATE tbl_Appt SET location = ?, open = ?, Close = ?, timeslot = ? WHERE CalDate >= ?"));
    times.addBindValue(l.location);
    times.addBindValue(l.open);
    times.addBindValue(l.close);
    times.addBindValue(l.timeslot);
    times.addBindValue(today.toString(kDateFormat));
    db.exec(times, what);

    QSqlQuery providers = db.prepare(QStringLiteral(
        "UPDATE tbl_Appt SET Listno = ?, Sites = ?, Names = ? WHERE CalDate >= ? AND Listno <= ?"));
    providers.addBindValue(l.listno);
    providers.addBindValue(l.sites);
    providers.addBindValue(l.names);
    providers.addBindValue(today.toString(kDateFormat));
    providers.addBindValue(l.listno);
    db.exec(providers, what);

    t.commit();
    return 0;
}

int pagesWithOwnEntries(Database& db, QDate today)
{
    if (ServerEngine* server = db.server())
        return server->pagesWithOwnEntries(today);
    const QString what = QStringLiteral("reading the pages from %1 on").arg(today.toString(kDateFormat));
    // The long texts are read by the engine directly: Qt's row buffering would cost more
    // than the comparing.
    const auto text = [](sqlite3_stmt* stmt, int column) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                 sqlite3_column_bytes(stmt, column));
    };

    // The templates by their names, Monday to Sunday (Null reads as empty text).
    QString templates[7];
    {
        Query row(db, "SELECT Mon, Tue, Wed, Thu, Fri, Sat, Sun FROM tbl_Setup ORDER BY rowid LIMIT 1", what);
        if (!row.step())
            throw StorageError(db.describe(what, QStringLiteral("The table tbl_Setup has no settings row.")));
        for (int i = 0; i < 7; ++i)
            templates[i] = text(row.get(), i);
    }

    Query pages(db, "SELECT CalDate, Data FROM tbl_Appt WHERE CalDate >= ?1 AND Data IS NOT NULL", what);
    sqlite3_stmt* stmt = pages.get();
    const QByteArray from = today.toString(kDateFormat).toUtf8();
    sqlite3_bind_text(stmt, 1, from.constData(), int(from.size()), SQLITE_STATIC);
    int count = 0;
    while (pages.step()) {
        const char* date = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const QDate day = QDate::fromString(QString::fromLatin1(date, std::min(sqlite3_column_bytes(stmt, 0), 10)), Qt::ISODate);
        const QString data = text(stmt, 1);
        if (day.isValid() && data != templates[day.dayOfWeek() - 1] && holdsText(data))
            ++count;
    }
    return count;
}

int storeTemplate(Database& db, int weekday, const QString& cellText, bool closed, std::optional<int> readVersion)
{
    if (ServerEngine* server = db.server())
        return server->storeTemplate(weekday, cellText, closed, readVersion);
    const QString field = templateField(weekday);
    const QString what = QStringLiteral("storing the template of %1").arg(field);
    if (field.isEmpty())
        throw StorageError(db.describe(what, QStringLiteral("There is no weekday %1.").arg(weekday)));
    Transaction t(db, what);
    const QStringList fields{field, closedFlagField(weekday)};
    const QVariantList before = settingsValues(db, fields);
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_Setup SET %1 = ?, %2 = ? WHERE rowid = %3")
                                 .arg(field, closedFlagField(weekday), kSettingsRow));
    q.addBindValue(cellText);
    q.addBindValue(closed);
    db.exec(q, what);
    if (q.numRowsAffected() != 1)
        throw StorageError(db.describe(what, QStringLiteral("The table tbl_Setup has no settings row.")));
    recordChanges(db, settingChanges(fields, before, {cellText, closed}));
    t.commit();
    return 0;
}

}  // namespace storage
