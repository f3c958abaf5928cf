// The search of a name in the server's pages: the server sends the rows that may hold it,
// narrowed by its folded text through the trigram index, and the program's own matcher
// decides.
#include "storage/tr.h"
#include "storage/server/serverengine.h"

#include <limits>
#include <vector>
#include <QCoreApplication>

namespace storage {
namespace {

// A pattern for LIKE that stands for the text itself anywhere in a field.
QString likeAnywhere(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('%'), QLatin1String("\\%"));
    text.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + text + QLatin1Char('%');
}

}  // namespace

QString ServerEngine::narrowing(const NameMatcher& matcher, QVariantList& values) const
{
    // Every match holds each ASCII run of the name in the folded Data (ASCII letters in
    // small ones; a long s or a Kelvin sign as the s or k it folds to); the letters beyond
    // ASCII are left to the program's own folding. A server that folds even the ASCII
    // letters otherwise would leave out pages the program finds: it sends every page.
    if (!server_.otherFolding().isEmpty())
        return QStringLiteral("Data IS NOT NULL");
    QStringList runs;
    QString current;
    for (QChar c : matcher.name()) {
        if (c.unicode() < 0x80) {
            current += c.toLower();
        } else if (!current.isEmpty()) {
            runs << current;
            current.clear();
        }
    }
    if (!current.isEmpty())
        runs << current;
    if (runs.isEmpty())
        return QStringLiteral("Data IS NOT NULL");
    QStringList all;
    for (const QString& run : runs) {
        values << likeAnywhere(run);
        all << kFoldedData + QStringLiteral(" LIKE $%1").arg(values.size());
    }
    return QLatin1Char('(') + all.join(QStringLiteral(" AND ")) + QLatin1Char(')');
}

QString ServerEngine::searchNotice()
{
    if (server_.otherFolding().isEmpty())
        return {};
    return Tr::tr("The server folds letters otherwise than Calvora (its character locale is %1), so "
                  "the search reads every page itself: it finds the same pages, more slowly.")
        .arg(server_.otherFolding());
}

ServerConnection::Rows ServerEngine::searchRows(const QString& what, const QString& sql, const QVariantList& values)
{
    // The search's plans are made for the name at hand and take the candidates from the
    // trigram index. Left to itself the server walks every row by its id, or reads the whole
    // table, and folds each text (a second for twenty years of pages): a plan made without
    // the statement's values cannot tell that the index rules nearly every row out, and the
    // planner counts the texts kept out of line as free to read. Where there is no index the
    // table is still read. The settings and the statement go in one round trip.
    std::vector<ServerConnection::Rows> answered;
    server_.write(what, [&] {
        answered = server_.batch({{QStringLiteral("SET LOCAL plan_cache_mode = force_custom_plan"), {}},
                                  {QStringLiteral("SET LOCAL enable_seqscan = off"), {}},
                                  {QStringLiteral("SET LOCAL enable_indexscan = off"), {}},
                                  {sql, values}},
                                 what);
    }, QStringLiteral("READ COMMITTED READ ONLY"));
    return answered.back();
}

std::optional<PageMatch> ServerEngine::searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId)
{
    const QString what = Tr::tr("searching the pages");
    constexpr int Batch = 64;
    QVariantList narrowValues;
    const QString condition = narrowing(matcher, narrowValues);
    // The candidates first, by the name alone: a bound on the id beside it would let the
    // planner walk the ids instead.
    const QString sql = QStringLiteral("WITH candidates AS MATERIALIZED (SELECT id FROM tbl_Appt WHERE %1) "
                                       "SELECT id, CalDate, Data FROM tbl_Appt WHERE id IN (SELECT id FROM "
                                       "candidates) AND id < $%2 ORDER BY id DESC LIMIT %3")
                            .arg(condition)
                            .arg(narrowValues.size() + 1)
                            .arg(Batch);
    qint64 below = beforeId ? *beforeId : std::numeric_limits<qint64>::max();
    std::optional<PageMatch> found;
    int rows = Batch;
    while (!found && rows == Batch) {
        const ServerConnection::Rows candidates = searchRows(what, sql, narrowValues + QVariantList{below});
        rows = candidates.count();
        for (int i = 0; i < rows; ++i) {
            below = candidates.text(i, 0).toLongLong();
            if (found || candidates.isNull(i, 2) || !matcher.matches(candidates.text(i, 2)))
                continue;
            const QDate date = QDate::fromString(candidates.text(i, 1), Qt::ISODate);
            if (date.isValid())
                found = PageMatch{below, date, QString(), Layout()};
        }
    }
    return found;
}

void ServerEngine::searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit)
{
    const QString what = Tr::tr("searching the pages");
    QVariantList values;
    const QString condition = narrowing(matcher, values);
    const ServerConnection::Rows rows = searchRows(
        what, QStringLiteral("SELECT %1 FROM tbl_Appt WHERE %2 ORDER BY id DESC").arg(kPageColumns, condition), values);
    for (int i = 0; i < rows.count(); ++i) {
        const PageRow row = pageRow(rows, i);
        if (!row.dataNull && row.calDate.isValid() && matcher.matches(row.data))
            visit(PageMatch{row.id, row.calDate, row.data, row.layout});
    }
}

}  // namespace storage
