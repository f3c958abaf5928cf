// The set-up on the server: the layout with the stored pages that follow it, and a
// weekday's template with its closed flag, each stored only over the version of the set-up
// this desk read, and told to the other desks.
#include "storage/tr.h"
#include "storage/celltext.h"
#include "storage/server/serverengine.h"
#include "storage/setupstore.h"
#include <QCoreApplication>

namespace storage {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kSettingsRow = QStringLiteral("(SELECT min(id) FROM tbl_Setup)");

}  // namespace

int ServerEngine::storeSettings(const QString& assignments, QVariantList values, std::optional<int> readVersion,
                                const QString& what)
{
    withPage_->reset();
    QString sql = QStringLiteral("UPDATE tbl_Setup SET %1, version = version + 1 WHERE id = %2")
                      .arg(assignments, kSettingsRow);
    if (readVersion) {
        sql += QStringLiteral(" AND version = ?");
        values << *readVersion;
    }
    QSqlQuery& q = server_.run(sql + QStringLiteral(" RETURNING version"), values, what);
    if (q.next()) {
        const int version = q.value(0).toInt();
        q.finish();
        server_.notify(kSettingsChannel, QString(), what);
        return version;
    }
    q.finish();
    QSqlQuery& there = server_.run(QStringLiteral("SELECT count(*) FROM tbl_Setup"), {}, what);
    const bool hasRow = there.next() && there.value(0).toInt() > 0;
    there.finish();
    if (!hasRow)
        throw StorageError(server_.describe(what, Tr::tr("The table tbl_Setup has no settings row.")));
    throw StaleSettings(server_.describe(what, Tr::tr("The set-up was stored on another desk after this desk "
                                                              "read it, so it was not stored over. Close this screen "
                                                              "and open it again to see the set-up as it is now.")));
}

int ServerEngine::storeSetup(const Layout& l, QDate today, std::optional<int> readVersion)
{
    const QString what = Tr::tr("storing the settings and the pages from %1 on")
                             .arg(today.toString(kDateFormat));
    int version = 0;
    server_.write(what, [&] {
        const QStringList fields{QStringLiteral("location"), QStringLiteral("open"), QStringLiteral("Close"),
                                 QStringLiteral("timeslot"), QStringLiteral("Listno"), QStringLiteral("Sites"),
                                 QStringLiteral("Names")};
        const QVariantList values{l.location, l.open, l.close, l.timeslot, l.listno, l.sites, l.names};
        const QVariantList before = settingsValues(fields, what);
        version = storeSettings(QStringLiteral("location = ?, open = ?, Close = ?, timeslot = ?, Listno = ?, "
                                               "Sites = ?, Names = ?"),
                                values, readVersion, what);
        recordChanges(settingChanges(fields, before, values));
        // A page whose layout this rewrites is a page stored anew: its version goes up, so
        // that a desk holding it typed merges into it, and the other desks are told of it.
        // Pages the new layout leaves as they are keep their version. One round trip, however
        // many pages there are: each is told as it is rewritten.
        server_.run(QStringLiteral(
            "WITH rewritten AS (UPDATE tbl_Appt SET location = ?, open = ?, Close = ?, timeslot = ?, "
            "Listno = CASE WHEN Listno <= ? THEN ? ELSE Listno END, "
            "Sites = CASE WHEN Listno <= ? THEN ? ELSE Sites END, "
            "Names = CASE WHEN Listno <= ? THEN ? ELSE Names END, version = version + 1 "
            "WHERE CalDate >= ? AND ((location, open, Close, timeslot) IS DISTINCT FROM (?, ?, ?, ?) "
            "OR (Listno <= ? AND (Listno, Sites, Names) IS DISTINCT FROM (?, ?, ?))) "
            "RETURNING CalDate) "
            "SELECT count(pg_notify(?, to_char(CalDate, 'YYYY-MM-DD'))) FROM rewritten"),
            {l.location, l.open, l.close, l.timeslot, l.listno, l.listno, l.listno, l.sites, l.listno, l.names,
             today, l.location, l.open, l.close, l.timeslot, l.listno, l.listno, l.sites, l.names, kPageChannel},
            what).finish();
    });
    return version;
}

int ServerEngine::pagesWithOwnEntries(QDate today)
{
    const QString what = Tr::tr("reading the pages from %1 on").arg(today.toString(kDateFormat));
    const Settings settings = readSettings();
    int count = 0;
    server_.read(what, [&] {
        count = 0;
        QSqlQuery& q = server_.run(QStringLiteral("SELECT CalDate, Data FROM tbl_Appt WHERE CalDate >= ? AND Data IS NOT NULL"),
                                   {today}, what);
        while (q.next()) {
            const QDate day = q.value(0).toDate();
            const QString data = q.value(1).toString();
            if (day.isValid() && data != settings.templateFor(day) && celltext::holdsText(data))
                ++count;
        }
        q.finish();
    });
    return count;
}

int ServerEngine::storeTemplate(const QString& field, const QString& flag, const QString& cellText, bool closed,
                                std::optional<int> readVersion)
{
    const QString what = Tr::tr("storing the template of %1").arg(field);
    int version = 0;
    server_.write(what, [&] {
        const QVariantList before = settingsValues({field, flag}, what);
        version = storeSettings(QStringLiteral("%1 = ?, %2 = ?").arg(field, flag), {cellText, closed}, readVersion, what);
        recordChanges(settingChanges({field, flag}, before, {cellText, closed}));
    });
    return version;
}

}  // namespace storage
