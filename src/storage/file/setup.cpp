// The set-up in the file: the layout with the stored pages that follow it, and a weekday's
// template with its closed flag. The file keeps no version of the set-up: one desk edits it.
#include "storage/tr.h"
#include "storage/celltext.h"
#include "storage/file/fileengine.h"
#include "storage/file/query.h"

#include <QSqlQuery>
#include <QVariant>
#include <QCoreApplication>

namespace storage {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kSettingsRow = QStringLiteral("(SELECT min(rowid) FROM tbl_Setup)");

}  // namespace

int FileEngine::storeSetup(const Layout& l, QDate today, std::optional<int>)
{
    const QString what = Tr::tr("storing the settings and the pages from %1 on")
                             .arg(today.toString(kDateFormat));
    Transaction t(file_, what);

    const QStringList fields{QStringLiteral("location"), QStringLiteral("open"), QStringLiteral("Close"),
                             QStringLiteral("timeslot"), QStringLiteral("Listno"), QStringLiteral("Sites"),
                             QStringLiteral("Names")};
    const QVariantList values{l.location, l.open, l.close, l.timeslot, l.listno, l.sites, l.names};
    const QVariantList before = settingsValues(fields);
    QSqlQuery settings = file_.prepare(QStringLiteral(
        "UPDATE tbl_Setup SET location = ?, open = ?, Close = ?, timeslot = ?, Listno = ?, "
        "Sites = ?, Names = ? WHERE rowid = %1").arg(kSettingsRow));
    for (const QVariant& v : values)
        settings.addBindValue(v);
    file_.exec(settings, what);
    if (settings.numRowsAffected() != 1)
        throw StorageError(file_.describe(what, Tr::tr("The table tbl_Setup has no settings row.")));
    recordChanges(settingChanges(fields, before, values));

    // UpdateFuturePages: the dates are stored as yyyy-MM-dd, so text order is date order.
    QSqlQuery times = file_.prepare(QStringLiteral(
        "UPDATE tbl_Appt SET location = ?, open = ?, Close = ?, timeslot = ? WHERE CalDate >= ?"));
    times.addBindValue(l.location);
    times.addBindValue(l.open);
    times.addBindValue(l.close);
    times.addBindValue(l.timeslot);
    times.addBindValue(today.toString(kDateFormat));
    file_.exec(times, what);

    QSqlQuery providers = file_.prepare(QStringLiteral(
        "UPDATE tbl_Appt SET Listno = ?, Sites = ?, Names = ? WHERE CalDate >= ? AND Listno <= ?"));
    providers.addBindValue(l.listno);
    providers.addBindValue(l.sites);
    providers.addBindValue(l.names);
    providers.addBindValue(today.toString(kDateFormat));
    providers.addBindValue(l.listno);
    file_.exec(providers, what);

    t.commit();
    return 0;
}

int FileEngine::pagesWithOwnEntries(QDate today)
{
    const QString what = Tr::tr("reading the pages from %1 on").arg(today.toString(kDateFormat));
    // The long texts are read by the engine directly: Qt's row buffering would cost more
    // than the comparing.

    // The templates by their names, Monday to Sunday (Null reads as empty text).
    QString templates[7];
    {
        Query row(file_, "SELECT Mon, Tue, Wed, Thu, Fri, Sat, Sun FROM tbl_Setup ORDER BY rowid LIMIT 1", what);
        if (!row.step())
            throw StorageError(file_.describe(what, Tr::tr("The table tbl_Setup has no settings row.")));
        for (int i = 0; i < 7; ++i)
            templates[i] = columnText(row.get(), i);
    }

    Query pages(file_, "SELECT CalDate, Data FROM tbl_Appt WHERE CalDate >= ?1 AND Data IS NOT NULL", what);
    sqlite3_stmt* stmt = pages.get();
    const QByteArray from = today.toString(kDateFormat).toUtf8();
    sqlite3_bind_text(stmt, 1, from.constData(), int(from.size()), SQLITE_STATIC);
    int count = 0;
    while (pages.step()) {
        const char* date = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const QDate day = QDate::fromString(QString::fromLatin1(date, std::min(sqlite3_column_bytes(stmt, 0), 10)), Qt::ISODate);
        const QString data = columnText(stmt, 1);
        if (day.isValid() && data != templates[day.dayOfWeek() - 1] && celltext::holdsText(data))
            ++count;
    }
    return count;
}

int FileEngine::storeTemplate(const QString& field, const QString& flag, const QString& cellText, bool closed,
                              std::optional<int>)
{
    const QString what = Tr::tr("storing the template of %1").arg(field);
    Transaction t(file_, what);
    const QStringList fields{field, flag};
    const QVariantList before = settingsValues(fields);
    QSqlQuery q = file_.prepare(QStringLiteral("UPDATE tbl_Setup SET %1 = ?, %2 = ? WHERE rowid = %3")
                                    .arg(field, flag, kSettingsRow));
    q.addBindValue(cellText);
    q.addBindValue(closed);
    file_.exec(q, what);
    if (q.numRowsAffected() != 1)
        throw StorageError(file_.describe(what, Tr::tr("The table tbl_Setup has no settings row.")));
    recordChanges(settingChanges(fields, before, {cellText, closed}));
    t.commit();
    return 0;
}

}  // namespace storage
