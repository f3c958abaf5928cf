#include "storage/settings.h"

#include "storage/database.h"
#include "storage/history.h"
#include "storage/serverengine.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace storage {
namespace {

const char* const kWeekFields[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

QString text(const QSqlRecord& r, const char* field)
{
    return r.value(QString::fromLatin1(field)).toString();
}

}  // namespace

QString templateField(int weekday)
{
    return weekday >= 1 && weekday <= 7 ? QString::fromLatin1(kWeekFields[weekday - 1]) : QString();
}

Settings readSettings(Database& db)
{
    if (ServerEngine* server = db.server())
        return server->readSettings();
    QSqlQuery q = db.prepare(QStringLiteral("SELECT * FROM tbl_Setup ORDER BY rowid LIMIT 1"));
    db.exec(q, QStringLiteral("reading the settings"));
    if (!q.next())
        throw StorageError(db.describe(QStringLiteral("reading the settings"),
                                       QStringLiteral("The table tbl_Setup has no settings row.")));
    const QSqlRecord r = q.record();
    Settings s;
    Layout& l = s.layout;
    for (const char* f : {"location", "open", "Close", "timeslot", "Listno", "Sites", "Names"})
        if (r.isNull(QString::fromLatin1(f)))
            l.missing << QString::fromLatin1(f);
    l.location = text(r, "location");
    l.open = text(r, "open");
    l.close = text(r, "Close");
    l.timeslot = r.value(QStringLiteral("timeslot")).toInt();
    l.listno = r.value(QStringLiteral("Listno")).toInt();
    l.sites = text(r, "Sites");
    l.names = text(r, "Names");
    for (int i = 0; i < 7; ++i)
        s.templates[i] = text(r, kWeekFields[i]);
    for (int i = 0; i < 7; ++i)
        s.closed[i] = r.value(QStringLiteral("chk%1").arg(i + 1)).toBool();
    s.fixedMemo = text(r, "FixedMemo");
    s.bookno = text(r, "bookno");
    s.readme = text(r, "Readme");
    s.licence = text(r, "Licence");
    return s;
}

void writeMemoAndBook(Database& db, const QString& fixedMemo, const QString& bookno)
{
    if (ServerEngine* server = db.server())
        return server->writeMemoAndBook(fixedMemo, bookno);
    Transaction t(db, QStringLiteral("storing the fixed memo and book number"));
    const QStringList fields{QStringLiteral("FixedMemo"), QStringLiteral("bookno")};
    const QVariantList before = settingsValues(db, fields);
    QSqlQuery q = db.prepare(QStringLiteral(
        "UPDATE tbl_Setup SET FixedMemo = :memo, bookno = :book "
        "WHERE rowid = (SELECT min(rowid) FROM tbl_Setup)"));
    q.bindValue(QStringLiteral(":memo"), fixedMemo);
    q.bindValue(QStringLiteral(":book"), bookno);
    db.exec(q, QStringLiteral("storing the fixed memo and book number"));
    recordChanges(db, settingChanges(fields, before, {fixedMemo, bookno}));
    t.commit();
}

}  // namespace storage
