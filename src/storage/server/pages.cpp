// The page rows of tbl_Appt on the server: one row per date, a version on each that every
// store counts up, and a store refused over another desk's.
#include "storage/tr.h"
#include "storage/server/serverengine.h"

#include <limits>
#include <tuple>
#include <QCoreApplication>

namespace storage {

const QString kPageColumns = QStringLiteral(
    "id, CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names, version");

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const char* const kLayoutFields[] = {"location", "open", "Close", "timeslot", "Listno", "Sites", "Names"};

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

QVariant textOrNull(const QString& text, bool null)
{
    return null ? nullText() : QVariant(text);
}

QVariantList layoutValues(const Layout& l)
{
    auto text = [&](const char* field, const QString& value) {
        return l.missing.contains(QString::fromLatin1(field)) ? nullText() : QVariant(value);
    };
    auto number = [&](const char* field, int value) {
        return l.missing.contains(QString::fromLatin1(field)) ? QVariant(QMetaType::fromType<int>())
                                                                : QVariant(value);
    };
    return {text("location", l.location), text("open", l.open), text("Close", l.close),
            number("timeslot", l.timeslot), number("Listno", l.listno), text("Sites", l.sites),
            text("Names", l.names)};
}

}  // namespace

void readPageRow(const QSqlQuery& q, PageRow& row, bool withLayout)
{
    row.id = q.value(0).toLongLong();
    row.calDate = q.value(1).toDate();
    row.dataNull = q.isNull(2);
    row.data = q.value(2).toString();
    row.clinic = q.isNull(3) ? std::optional<bool>() : std::optional<bool>(q.value(3).toBool());
    row.memo = q.value(4).toString();
    row.version = q.value(12).toInt();
    if (!withLayout)
        return;
    Layout& l = row.layout;
    l.missing.clear();
    for (int i = 0; i < 7; ++i)
        if (q.isNull(5 + i))
            l.missing << QString::fromLatin1(kLayoutFields[i]);
    l.location = q.value(5).toString();
    l.open = q.value(6).toString();
    l.close = q.value(7).toString();
    l.timeslot = q.value(8).toInt();
    l.listno = q.value(9).toInt();
    l.sites = q.value(10).toString();
    l.names = q.value(11).toString();
}

std::optional<PageRow> ServerEngine::findPage(QDate date)
{
    const QString what = Tr::tr("looking up the page of %1").arg(date.toString(kDateFormat));
    std::optional<PageRow> found;
    server_.read(what, [&] {
        QSqlQuery& q = server_.run(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE CalDate = ?").arg(kPageColumns),
                                   {date}, what);
        found.reset();
        if (q.next()) {
            found.emplace();
            readPageRow(q, *found, true);
        }
        q.finish();
    });
    return found;
}

PageRow ServerEngine::addPage(QDate date, const Layout& l, const QString& data, bool closed, const QString& memo,
                              const CellLabels& labels)
{
    const QString what = Tr::tr("adding the page of %1").arg(date.toString(kDateFormat));
    PageRow row;
    server_.write(what, [&] {
        QVariantList values{date};
        values << layoutValues(l) << data << closed << textOrNull(memo, memo.isNull());
        // Another desk may add the same day at the same moment: there is one row, and
        // both take it.
        QSqlQuery& q = server_.run(QStringLiteral(
            "INSERT INTO tbl_Appt (CalDate, location, open, Close, timeslot, Listno, Sites, Names, "
            "Data, Clinic, Memo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT (CalDate) DO NOTHING RETURNING id"), values, what);
        if (q.next()) {
            row = PageRow();
            row.id = q.value(0).toLongLong();
            row.calDate = date;
            row.layout = l;
            row.data = data;
            row.dataNull = false;
            row.clinic = closed;
            row.memo = memo;
            q.finish();
            const Settings settings = readSettings();
            recordChanges(pageChanges(date, newPage(date, settings), PageState{data, closed, memo}, labels));
            server_.notify(kPageChannel, date.toString(kDateFormat), what);
            return;
        }
        q.finish();
        QSqlQuery& existing = server_.run(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE CalDate = ?").arg(kPageColumns),
                                          {date}, what);
        if (!existing.next())
            throw StorageError(server_.describe(what, Tr::tr("The page was neither added nor found.")));
        readPageRow(existing, row, true);
        existing.finish();
    });
    return row;
}

void ServerEngine::updatePage(PageRow& row, const CellLabels& labels, const std::vector<Change>& notKept)
{
    const QString day = row.calDate.toString(kDateFormat);
    const QString what = Tr::tr("storing the page of %1").arg(day);
    bool stale = false;
    std::optional<PageRow> stored;
    // The last store of this page lost its commit with the connection (its server may have
    // gone and a standby taken its place): where the page stands now as that store left it,
    // one version on, the store landed and is not made again.
    const bool inDoubt = server_.commitInDoubt(what);
    bool landed = false;
    server_.write(what, [&] {
        // The page as stored, held against other desks until the commit.
        QSqlQuery& old = server_.run(QStringLiteral("SELECT Data, Clinic, Memo FROM tbl_Appt WHERE id = ? FOR UPDATE"),
                                     {row.id}, what);
        std::optional<std::tuple<QString, bool, std::optional<bool>, QString>> before;
        if (old.next())
            before.emplace(old.value(0).toString(), old.isNull(0),
                           old.isNull(1) ? std::optional<bool>() : std::optional<bool>(old.value(1).toBool()),
                           old.value(2).toString());
        old.finish();
        QSqlQuery& q = server_.run(QStringLiteral(
            "UPDATE tbl_Appt SET Data = ?, Clinic = ?, Memo = ?, version = version + 1 "
            "WHERE id = ? AND version = ? AND CalDate = ?"),
            {textOrNull(row.data, row.dataNull),
             row.clinic ? QVariant(*row.clinic) : QVariant(QMetaType::fromType<bool>()), row.memo,
             row.id, row.version, row.calDate},
            what);
        stale = q.numRowsAffected() != 1;
        if (!stale) {
            if (before) {
                const auto& [data, dataNull, clinic, memo] = *before;
                const PageState after{row.data, row.clinic.value_or(false), row.memo};
                recordChanges(pageChanges(row.calDate,
                                          storedPage(row.calDate, data, dataNull, clinic, memo, [&] { return readSettings(); }),
                                          after, labels));
            }
            recordChanges(notKept);
            server_.notify(kPageChannel, day, what);
            return;
        }
        // The page as it is stored now, by its date: another desk may have removed the row
        // and added the day again.
        QSqlQuery& now = server_.run(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE CalDate = ?").arg(kPageColumns),
                                     {row.calDate}, what);
        stored.reset();
        if (now.next()) {
            stored.emplace();
            readPageRow(now, *stored, true);
        }
        now.finish();
        landed = inDoubt && stored && stored->id == row.id && stored->version == row.version + 1
            && stored->dataNull == row.dataNull && stored->data == row.data && stored->clinic == row.clinic
            && stored->memo == row.memo;
    });
    if (landed) {
        row.version = stored->version;
        return;
    }
    // Never over another desk's store: what was typed here stays on screen, and the page
    // life merges it into the stored page.
    if (stale)
        throw StaleVersion(server_.describe(what, stored ? Tr::tr("The page of %1 was stored on another desk "
                                                                          "after this desk read it, so it was not "
                                                                          "stored over.").arg(day)
                                                         : Tr::tr("The page of %1 was removed on another desk "
                                                                          "after this desk read it.").arg(day)),
                           stored);
    ++row.version;
}

void ServerEngine::removeUnchangedPages(const QList<PageRow>& rows)
{
    const QString what = Tr::tr("deleting empty pages");
    server_.write(what, [&] {
        for (const PageRow& r : rows)
            server_.run(QStringLiteral("DELETE FROM tbl_Appt WHERE id = ? AND version = ? AND CalDate = ?"),
                        {r.id, r.version, r.calDate}, what);
    });
}

void ServerEngine::removePages(const QList<qint64>& ids)
{
    if (ids.isEmpty())
        return;
    const QString what = Tr::tr("deleting empty pages");
    server_.write(what, [&] {
        for (qint64 id : ids)
            server_.run(QStringLiteral("DELETE FROM tbl_Appt WHERE id = ?"), {id}, what);
    });
}

void ServerEngine::walkPages(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                             bool withLayout)
{
    const QString what = Tr::tr("reading the pages");
    // The rows are read whole before the first visit, so that a read again after a lost
    // connection visits no row twice.
    std::vector<PageRow> rows;
    server_.read(what, [&] {
        rows.clear();
        QSqlQuery& q = server_.run(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE id <= ? ORDER BY id DESC").arg(kPageColumns),
                                   {fromId ? *fromId : std::numeric_limits<qint64>::max()}, what);
        while (q.next()) {
            rows.emplace_back();
            readPageRow(q, rows.back(), withLayout);
        }
        q.finish();
    });
    for (const PageRow& row : rows)
        if (!visit(row))
            break;
}

int ServerEngine::countPages()
{
    int n = 0;
    const QString what = Tr::tr("counting the pages");
    server_.read(what, [&] {
        QSqlQuery& q = server_.run(QStringLiteral("SELECT count(*) FROM tbl_Appt"), {}, what);
        n = q.next() ? q.value(0).toInt() : 0;
        q.finish();
    });
    return n;
}

}  // namespace storage

namespace storage {

std::vector<PageRow> ServerEngine::pagesBetween(QDate from, QDate to)
{
    const QString what = Tr::tr("reading the pages of the days around today");
    std::vector<PageRow> rows;
    server_.read(what, [&] {
        rows.clear();
        QSqlQuery& q = server_.run(
            QStringLiteral("SELECT %1 FROM tbl_Appt WHERE CalDate BETWEEN ? AND ?").arg(kPageColumns), {from, to}, what);
        while (q.next()) {
            PageRow row;
            readPageRow(q, row, true);
            rows.push_back(row);
        }
        q.finish();
    });
    return rows;
}

}  // namespace storage
