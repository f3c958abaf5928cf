// The settings row of tbl_Setup on the server: read whole by field name, and held against
// other desks while a store reads what it changes.
#include "storage/tr.h"
#include "storage/server/serverengine.h"

#include <QSqlRecord>
#include <functional>
#include <QCoreApplication>

namespace storage {
namespace {

const QString kSettingsRow = QStringLiteral("(SELECT min(id) FROM tbl_Setup)");
const char* const kLayoutFields[] = {"location", "open", "Close", "timeslot", "Listno", "Sites", "Names"};

}  // namespace

Settings settingsFrom(const std::function<QVariant(const QString&)>& value)
{
    Settings s;
    Layout& l = s.layout;
    for (const char* f : kLayoutFields)
        if (value(QString::fromLatin1(f)).isNull())
            l.missing << QString::fromLatin1(f);
    auto text = [&](const char* f) { return value(QString::fromLatin1(f)).toString(); };
    l.location = text("location");
    l.open = text("open");
    l.close = text("Close");
    l.timeslot = value(QStringLiteral("timeslot")).toInt();
    l.listno = value(QStringLiteral("Listno")).toInt();
    l.sites = text("Sites");
    l.names = text("Names");
    for (int i = 0; i < 7; ++i)
        s.templates[i] = value(templateField(i + 1)).toString();
    for (int i = 0; i < 7; ++i)
        s.closed[i] = value(QStringLiteral("chk%1").arg(i + 1)).toBool();
    s.fixedMemo = text("FixedMemo");
    s.bookno = text("bookno");
    s.readme = text("Readme");
    s.licence = text("Licence");
    s.version = value(QStringLiteral("version")).toInt();
    return s;
}

Settings ServerEngine::readSettings()
{
    // Read with the page just opened, in the same round trip.
    if (*withPage_)
        return **withPage_;
    const QString what = Tr::tr("reading the settings");
    Settings s;
    server_.read(what, [&] {
        QSqlQuery& q = server_.run(QStringLiteral("SELECT * FROM tbl_Setup ORDER BY id LIMIT 1"), {}, what);
        if (!q.next())
            throw StorageError(server_.describe(what, Tr::tr("The table tbl_Setup has no settings row.")));
        const QSqlRecord r = q.record();
        s = settingsFrom([&](const QString& field) { return r.value(field); });
        q.finish();
    });
    return s;
}

MemoAndBook ServerEngine::writeMemoAndBook(const MemoAndBook& typed, const std::optional<MemoAndBook>& read)
{
    const QString what = Tr::tr("storing the fixed memo and book number");
    MemoAndBook after;
    server_.write(what, [&] {
        const QStringList fields{QStringLiteral("FixedMemo"), QStringLiteral("bookno")};
        // Held against the other desks until the commit: what they stored is compared here.
        const QVariantList before = settingsValues(fields, what);
        const MemoAndBook stored{before.value(0).toString(), before.value(1).toString()};
        after = read ? mergedMemoAndBook(stored, *read, typed) : typed;
        if (read && after == stored)
            return;
        // Not a change of the set-up: a template editor open elsewhere may store on.
        server_.run(QStringLiteral("UPDATE tbl_Setup SET FixedMemo = ?, bookno = ? WHERE id = %1").arg(kSettingsRow),
                    {after.fixedMemo, after.bookno}, what);
        recordChanges(settingChanges(fields, before, {after.fixedMemo, after.bookno}));
    });
    return after;
}

QVariantList ServerEngine::settingsValues(const QStringList& fields, const QString& what)
{
    withPage_->reset();
    QSqlQuery& q = server_.run(QStringLiteral("SELECT %1 FROM tbl_Setup WHERE id = %2 FOR UPDATE")
                                   .arg(fields.join(QStringLiteral(", ")), kSettingsRow),
                               {}, what);
    QVariantList values;
    if (q.next())
        for (int i = 0; i < fields.size(); ++i)
            values << q.value(i);
    q.finish();
    return values;
}

}  // namespace storage
