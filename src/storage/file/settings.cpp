// The settings row of tbl_Setup in the file, through Qt SQL (read whole, by field name).
#include "storage/tr.h"
#include "storage/file/fileengine.h"
#include "storage/file/query.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <QCoreApplication>

namespace storage {
namespace {

QString text(const QSqlRecord& r, const char* field)
{
    return r.value(QString::fromLatin1(field)).toString();
}

}  // namespace

Settings FileEngine::readSettings()
{
    QSqlQuery q = file_.prepare(QStringLiteral("SELECT * FROM tbl_Setup ORDER BY rowid LIMIT 1"));
    file_.exec(q, Tr::tr("reading the settings"));
    if (!q.next())
        throw StorageError(file_.describe(Tr::tr("reading the settings"),
                                          Tr::tr("The table tbl_Setup has no settings row.")));
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
        s.templates[i] = r.value(templateField(i + 1)).toString();
    for (int i = 0; i < 7; ++i)
        s.closed[i] = r.value(QStringLiteral("chk%1").arg(i + 1)).toBool();
    s.fixedMemo = text(r, "FixedMemo");
    s.bookno = text(r, "bookno");
    s.readme = text(r, "Readme");
    s.licence = text(r, "Licence");
    return s;
}

MemoAndBook FileEngine::writeMemoAndBook(const MemoAndBook& typed, const std::optional<MemoAndBook>& read)
{
    Transaction t(file_, Tr::tr("storing the fixed memo and book number"));
    const QStringList fields{QStringLiteral("FixedMemo"), QStringLiteral("bookno")};
    const QVariantList before = settingsValues(fields);
    const MemoAndBook stored{before.value(0).toString(), before.value(1).toString()};
    const MemoAndBook after = read ? mergedMemoAndBook(stored, *read, typed) : typed;
    if (read && after == stored)
        return after;
    QSqlQuery q = file_.prepare(QStringLiteral(
        "UPDATE tbl_Setup SET FixedMemo = :memo, bookno = :book "
        "WHERE rowid = (SELECT min(rowid) FROM tbl_Setup)"));
    q.bindValue(QStringLiteral(":memo"), after.fixedMemo);
    q.bindValue(QStringLiteral(":book"), after.bookno);
    file_.exec(q, Tr::tr("storing the fixed memo and book number"));
    recordChanges(settingChanges(fields, before, {after.fixedMemo, after.bookno}));
    t.commit();
    return after;
}

QVariantList FileEngine::settingsValues(const QStringList& fields)
{
    QSqlQuery q = file_.prepare(QStringLiteral("SELECT %1 FROM tbl_Setup ORDER BY rowid LIMIT 1")
                                    .arg(fields.join(QStringLiteral(", "))));
    file_.exec(q, Tr::tr("reading the settings"));
    QVariantList values;
    if (q.next())
        for (int i = 0; i < fields.size(); ++i)
            values << q.value(i);
    return values;
}

}  // namespace storage
