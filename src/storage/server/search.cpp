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
        all << kFoldedData + QStringLiteral(" LIKE ?");
        values << likeAnywhere(run);
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

void ServerEngine::searchRead(const QString& what, const std::function<void()>& unit)
{
    // The search's plans are made for the name at hand and take the candidates from the
    // trigram index. Left to itself the server walks every row by its id, or reads the whole
    // table, and folds each text (a second for twenty years of pages): a statement run five
    // times gets a plan made without its values, which cannot tell that the index rules
    // nearly every row out, and the planner counts the texts kept out of line as free to
    // read. Where there is no index the table is still read.
    server_.write(what, [&] {
        server_.execute(QStringLiteral("SET LOCAL plan_cache_mode = force_custom_plan"), what);
        server_.execute(QStringLiteral("SET LOCAL enable_seqscan = off"), what);
        server_.execute(QStringLiteral("SET LOCAL enable_indexscan = off"), what);
        unit();
    }, QStringLiteral("READ COMMITTED READ ONLY"));
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
                                       "candidates) AND id < ? ORDER BY id DESC LIMIT %2")
                            .arg(condition)
                            .arg(Batch);
    qint64 below = beforeId ? *beforeId : std::numeric_limits<qint64>::max();
    std::optional<PageMatch> found;
    int rows = Batch;
    while (!found && rows == Batch) {
        searchRead(what, [&] {
            rows = 0;
            QSqlQuery& q = server_.run(sql, narrowValues + QVariantList{below}, what);
            qint64 last = below;
            while (q.next()) {
                ++rows;
                last = q.value(0).toLongLong();
                if (found || q.isNull(2) || !matcher.matches(q.value(2).toString()))
                    continue;
                const QDate date = q.value(1).toDate();
                if (!date.isValid())
                    continue;
                found = PageMatch{last, date, QString(), Layout()};
            }
            q.finish();
            below = last;
        });
    }
    return found;
}

void ServerEngine::searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit)
{
    const QString what = Tr::tr("searching the pages");
    QVariantList values;
    const QString condition = narrowing(matcher, values);
    std::vector<PageMatch> matches;
    searchRead(what, [&] {
        matches.clear();
        QSqlQuery& q = server_.run(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE %2 ORDER BY id DESC").arg(kPageColumns, condition),
                                   values, what);
        PageRow row;
        while (q.next()) {
            readPageRow(q, row, true);
            if (!row.dataNull && row.calDate.isValid() && matcher.matches(row.data))
                matches.push_back(PageMatch{row.id, row.calDate, row.data, row.layout});
        }
        q.finish();
    });
    for (const PageMatch& m : matches)
        visit(m);
}

}  // namespace storage
