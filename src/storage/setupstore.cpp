#include "storage/setupstore.h"

#include "storage/celltext.h"
#include "storage/database.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

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

void storeSetup(Database& db, const Layout& l, QDate today)
{
    const QString what = QStringLiteral("storing the settings and the pages from %1 on")
                             .arg(today.toString(kDateFormat));
    Transaction t(db, what);

    QSqlQuery settings = db.prepare(QStringLiteral(
        "UPDATE tbl_Setup SET location = ?, open = ?, Close = ?, timeslot = ?, Listno = ?, "
        "Sites = ?, Names = ? WHERE rowid = %1").arg(kSettingsRow));
    for (const QVariant& v : {QVariant(l.location), QVariant(l.open), QVariant(l.close),
                              QVariant(l.timeslot), QVariant(l.listno), QVariant(l.sites), QVariant(l.names)})
        settings.addBindValue(v);
    db.exec(settings, what);
    if (settings.numRowsAffected() != 1)
        throw StorageError(db.describe(what, QStringLiteral("The table tbl_Setup has no settings row.")));

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
}

int pagesWithOwnEntries(Database& db, QDate today)
{
    const Settings settings = readSettings(db);
    QSqlQuery q = db.prepare(QStringLiteral("SELECT CalDate, Data FROM tbl_Appt WHERE CalDate >= ? "
                                            "AND Data IS NOT NULL"));
    q.addBindValue(today.toString(kDateFormat));
    db.exec(q, QStringLiteral("reading the pages from %1 on").arg(today.toString(kDateFormat)));
    int count = 0;
    while (q.next()) {
        const QDate date = QDate::fromString(q.value(0).toString().left(10), kDateFormat);
        const QString data = q.value(1).toString();
        if (date.isValid() && data != settings.templateFor(date) && holdsText(data))
            ++count;
    }
    return count;
}

void storeTemplate(Database& db, int weekday, const QString& cellText, bool closed)
{
    // The templates are found by position, as they are read.
    const QString field = db.connection().record(QStringLiteral("tbl_Setup")).fieldName(FirstTemplateField + weekday - 1);
    const QString what = QStringLiteral("storing the template of %1").arg(field);
    if (field.isEmpty())
        throw StorageError(db.describe(what, QStringLiteral("The table tbl_Setup has no template fields.")));
    Transaction t(db, what);
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE tbl_Setup SET \"%1\" = ?, %2 = ? WHERE rowid = %3")
                                 .arg(field, closedFlagField(weekday), kSettingsRow));
    q.addBindValue(cellText);
    q.addBindValue(closed);
    db.exec(q, what);
    if (q.numRowsAffected() != 1)
        throw StorageError(db.describe(what, QStringLiteral("The table tbl_Setup has no settings row.")));
    t.commit();
}

}  // namespace storage
