// The page rows of tbl_Appt on the server: one row per date, a version on each that every
// store counts up, and a store refused over another desk's.
#include "storage/tr.h"
#include "storage/server/serverengine.h"

#include <limits>
#include <tuple>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

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

namespace {

QString prefixed(const QString& alias, const QString& columns)
{
    QStringList named = columns.split(QStringLiteral(", "));
    for (QString& c : named)
        c.prepend(alias + QLatin1Char('.'));
    return named.join(QStringLiteral(", "));
}

}  // namespace

// A row selected with kPageColumns from the rows of a batch.
PageRow pageRow(const ServerConnection::Rows& rows, int i)
{
    PageRow row;
    auto number = [&](int column) { return rows.text(i, column).toLongLong(); };
    row.id = number(0);
    row.calDate = QDate::fromString(rows.text(i, 1), Qt::ISODate);
    row.dataNull = rows.isNull(i, 2);
    row.data = rows.text(i, 2);
    row.clinic = rows.isNull(i, 3) ? std::optional<bool>() : std::optional<bool>(rows.text(i, 3) == QLatin1String("t"));
    row.memo = rows.text(i, 4);
    row.version = int(number(12));
    Layout& l = row.layout;
    for (int f = 0; f < 7; ++f)
        if (rows.isNull(i, 5 + f))
            l.missing << QString::fromLatin1(kLayoutFields[f]);
    l.location = rows.text(i, 5);
    l.open = rows.text(i, 6);
    l.close = rows.text(i, 7);
    l.timeslot = int(number(8));
    l.listno = int(number(9));
    l.sites = rows.text(i, 10);
    l.names = rows.text(i, 11);
    return row;
}

std::optional<PageRow> ServerEngine::findPage(QDate date)
{
    const QString what = Tr::tr("looking up the page of %1").arg(date.toString(kDateFormat));
    std::optional<PageRow> found;
    // The settings come in the same round trip, for the page's layout and template: the whole
    // row only where it differs from the one this desk last saw.
    QString sum;
    std::optional<Settings> settings;
    server_.read(what, [&] {
        QSqlQuery& q = server_.run(
            QStringLiteral("SELECT %1, s.sum, CASE WHEN s.sum IS DISTINCT FROM ? THEN s.whole END "
                           "FROM (SELECT 1) one "
                           "LEFT JOIN (SELECT md5(t::text) AS sum, row_to_json(t)::text AS whole "
                           "FROM tbl_Setup t ORDER BY id LIMIT 1) s ON true "
                           "LEFT JOIN tbl_Appt p ON p.CalDate = ?").arg(prefixed(QStringLiteral("p"), kPageColumns)),
            {knownSum_, date}, what);
        found.reset();
        settings.reset();
        sum.clear();
        if (q.next()) {
            if (!q.isNull(0)) {
                found.emplace();
                readPageRow(q, *found, true);
            }
            sum = q.value(13).toString();
            if (!q.isNull(14)) {
                const QJsonObject whole = QJsonDocument::fromJson(q.value(14).toString().toUtf8()).object();
                settings = settingsFrom([&](const QString& field) { return whole.value(field.toLower()).toVariant(); });
            } else if (!sum.isEmpty() && sum == knownSum_) {
                settings = known_;
            }
        }
        q.finish();
    });
    if (settings && QCoreApplication::instance()) {
        known_ = *settings;
        knownSum_ = sum;
        *withPage_ = settings;
        QMetaObject::invokeMethod(QCoreApplication::instance(),
                                  [kept = std::weak_ptr<std::optional<Settings>>(withPage_)] {
                                      if (const auto settings = kept.lock())
                                          settings->reset();
                                  },
                                  Qt::QueuedConnection);
    }
    return found;
}

PageRow ServerEngine::addPage(QDate date, const Layout& l, const QString& data, bool closed, const QString& memo,
                              const CellLabels& labels)
{
    const QString day = date.toString(kDateFormat);
    const QString what = Tr::tr("adding the page of %1").arg(day);
    PageRow row;
    bool taken = false;
    server_.write(what, [&] {
        taken = false;
        // What the page holds beyond its template, for the history: known before it is added,
        // so that a new day that holds just its template is added, told to the other desks and
        // committed in one round trip.
        std::vector<Change> changes =
            pageChanges(date, newPage(date, readSettings()), PageState{data, closed, memo}, labels);
        QVariantList values{date};
        values << layoutValues(l) << data << closed << textOrNull(memo, memo.isNull()) << kPageChannel << day;
        // Another desk may add the same day at the same moment: there is one row, and both
        // take it; the notice goes only with a row added.
        const std::vector<ServerConnection::Rows> added = server_.batch(
            {{QStringLiteral("WITH added AS (INSERT INTO tbl_Appt (CalDate, location, open, Close, timeslot, Listno, "
                             "Sites, Names, Data, Clinic, Memo) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11) "
                             "ON CONFLICT (CalDate) DO NOTHING RETURNING id) "
                             "SELECT id, (SELECT count(pg_notify($12, $13)) FROM added) FROM added"),
              values}},
            what, changes.empty() ? ServerConnection::Then::Commit : ServerConnection::Then::Continue);
        if (added[0].count() == 0) {
            taken = true;
            return;
        }
        row = PageRow::added(added[0].text(0, 0).toLongLong(), date, l, data, closed, memo);
        recordChanges(std::move(changes));
    });
    if (!taken)
        return row;
    // The row another desk added, as it stands now.
    std::optional<PageRow> existing = findPage(date);
    if (!existing)
        throw StorageError(server_.describe(what, Tr::tr("The page was neither added nor found.")));
    return *existing;
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
    bool missed = false;
    // Two round trips: the page read and held, then the store, its history, the notice to
    // the other desks and the commit.
    server_.write(what, [&] {
        // The row as stored, held against other desks until the commit, and the page of the
        // date as stored now (another desk may have removed the row and added the day again).
        const std::vector<ServerConnection::Rows> read = server_.batch(
            {{QStringLiteral("SELECT %1, to_regclass('tbl_history') IS NOT NULL FROM tbl_Appt "
                             "WHERE id = $1 OR CalDate = $2 FOR UPDATE").arg(kPageColumns),
              {row.id, row.calDate}}},
            what);
        std::optional<PageRow> before;
        stored.reset();
        bool history = historyTable_;
        for (int i = 0; i < read[0].count(); ++i) {
            const PageRow r = pageRow(read[0], i);
            if (r.id == row.id)
                before = r;
            if (r.calDate == row.calDate)
                stored = r;
            history = history || read[0].text(i, 13) == QLatin1String("t");
        }
        stale = !before || before->version != row.version || before->calDate != row.calDate;
        if (stale) {
            landed = inDoubt && stored && stored->id == row.id && stored->version == row.version + 1
                && stored->dataNull == row.dataNull && stored->data == row.data && stored->clinic == row.clinic
                && stored->memo == row.memo;
            return;
        }
        // Made inside this transaction when missing: gone again if the store fails.
        if (!history)
            server_.createHistory(Tr::tr("recording the change in the history"));
        const PageState after{row.data, row.clinic.value_or(false), row.memo};
        std::vector<Change> changes = pageChanges(
            row.calDate,
            storedPage(row.calDate, before->data, before->dataNull, before->clinic, before->memo,
                       [&] { return readSettings(); }),
            after, labels);
        changes.insert(changes.end(), notKept.begin(), notKept.end());
        std::vector<ServerConnection::Statement> store{
            {QStringLiteral("WITH stored AS (UPDATE tbl_Appt SET Data = $1, Clinic = $2, Memo = $3, "
                            "version = version + 1 WHERE id = $4 AND version = $5 AND CalDate = $6 RETURNING id) "
                            "SELECT count(pg_notify($7, $8)) FROM stored"),
             {textOrNull(row.data, row.dataNull),
              row.clinic ? QVariant(*row.clinic) : QVariant(QMetaType::fromType<bool>()), row.memo, row.id,
              row.version, row.calDate, kPageChannel, day}}};
        for (ServerConnection::Statement& s : historyStatements(std::move(changes), row.id, row.version + 1))
            store.push_back(std::move(s));
        const std::vector<ServerConnection::Rows> done = server_.batch(store, what, ServerConnection::Then::Commit);
        historyTable_ = true;
        // The row was held since it was read, so the store cannot miss it; were it missed
        // all the same, nothing was stored (the history rows and the notice go only with it).
        missed = done[0].text(0, 0) != QLatin1String("1");
    });
    if (missed) {
        stale = true;
        stored = findPage(row.calDate);
    }
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
