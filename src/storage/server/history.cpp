// The history on the server: tbl_History, made by the first change a database from before
// it records, appended to in the transaction of each store and read newest first.
#include "storage/tr.h"
#include "platform/clock.h"
#include "storage/server/serverengine.h"

#include <algorithm>
#include <QCoreApplication>

namespace storage {

void ServerEngine::recordChanges(std::vector<Change> changes)
{
    if (changes.empty())
        return;
    const QDateTime moment = typedAt_ ? *typedAt_ : program::nowUtc();
    const auto text = [](const QString& s) { return s.isNull() ? QString::fromLatin1("") : s; };
    for (Change& c : changes) {
        c.moment = moment;
        c.desk = server_.desk();
        c.oldText = text(c.oldText);
        c.newText = text(c.newText);
    }
    const QString what = Tr::tr("recording the change in the history");
    if (!historyTable_) {
        // Made inside this transaction when missing: gone again if the store fails.
        historyTable_ = server_.hasHistory(what);
        if (!historyTable_)
            server_.createHistory(what);
    }
    // A few rows to a statement: one trip to the server each.
    constexpr size_t Batch = 50;
    for (size_t from = 0; from < changes.size(); from += Batch) {
        const size_t rows = std::min(Batch, changes.size() - from);
        QStringList tuples;
        QVariantList values;
        for (size_t i = from; i < from + rows; ++i) {
            const Change& c = changes[i];
            tuples << QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            values << (c.calDate.isValid() ? QVariant(c.calDate) : QVariant(QMetaType::fromType<QDate>()))
                   << c.field
                   << (c.row >= 0 ? QVariant(c.row) : QVariant(QMetaType::fromType<int>()))
                   << (c.row >= 0 ? QVariant(c.col) : QVariant(QMetaType::fromType<int>()))
                   << c.timeLabel << c.provider << c.oldText << c.newText
                   << c.moment.toString(Qt::ISODateWithMs) << c.desk;
        }
        server_.run(QStringLiteral("INSERT INTO tbl_History (CalDate, Field, CellRow, CellCol, TimeLabel, Provider, "
                                   "OldText, NewText, Moment, Desk) VALUES %1").arg(tuples.join(QStringLiteral(", "))),
                    values, what);
    }
}

std::vector<ServerConnection::Statement> ServerEngine::historyStatements(std::vector<Change> changes, qint64 id,
                                                                         int version)
{
    const QDateTime moment = typedAt_ ? *typedAt_ : program::nowUtc();
    // A thousand rows to a statement, within the server's limit of values to one statement.
    constexpr size_t Batch = 1000;
    std::vector<ServerConnection::Statement> statements;
    for (size_t from = 0; from < changes.size(); from += Batch) {
        const size_t rows = std::min(Batch, changes.size() - from);
        QStringList tuples;
        QVariantList values{id, version};
        for (size_t i = from; i < from + rows; ++i) {
            const Change& c = changes[i];
            const int n = int(values.size());
            tuples << QStringLiteral("($%1::date, $%2, $%3::integer, $%4::integer, $%5, $%6, $%7, $%8, "
                                     "$%9::timestamptz, $%10)")
                          .arg(n + 1).arg(n + 2).arg(n + 3).arg(n + 4).arg(n + 5).arg(n + 6).arg(n + 7).arg(n + 8)
                          .arg(n + 9).arg(n + 10);
            values << (c.calDate.isValid() ? QVariant(c.calDate) : QVariant(QMetaType::fromType<QDate>()))
                   << c.field
                   << (c.row >= 0 ? QVariant(c.row) : QVariant(QMetaType::fromType<int>()))
                   << (c.row >= 0 ? QVariant(c.col) : QVariant(QMetaType::fromType<int>()))
                   << c.timeLabel << c.provider
                   << (c.oldText.isNull() ? QString::fromLatin1("") : c.oldText)
                   << (c.newText.isNull() ? QString::fromLatin1("") : c.newText)
                   << moment.toString(Qt::ISODateWithMs) << server_.desk();
        }
        // Only over the store before it: a store refused records nothing.
        statements.push_back({QStringLiteral("INSERT INTO tbl_History (CalDate, Field, CellRow, CellCol, TimeLabel, "
                                             "Provider, OldText, NewText, Moment, Desk) SELECT v.* FROM (VALUES %1) v "
                                             "WHERE EXISTS (SELECT 1 FROM tbl_Appt WHERE id = $1 AND version = $2)")
                                  .arg(tuples.join(QStringLiteral(", "))),
                              values});
    }
    return statements;
}

std::vector<Change> ServerEngine::readHistory(const QString& condition, const QVariantList& values)
{
    const QString what = Tr::tr("reading the history");
    std::vector<Change> changes;
    server_.read(what, [&] {
        changes.clear();
        if (!server_.hasHistory(what))
            return;
        QSqlQuery& q = server_.run(QStringLiteral("SELECT %1 FROM tbl_History WHERE %2 ORDER BY id DESC")
                                       .arg(kHistoryColumns, condition),
                                   values, what);
        while (q.next()) {
            Change c;
            c.id = q.value(0).toLongLong();
            c.calDate = q.value(1).toDate();
            c.field = q.value(2).toString();
            c.row = q.isNull(3) ? -1 : q.value(3).toInt();
            c.col = q.isNull(4) ? -1 : q.value(4).toInt();
            c.timeLabel = q.value(5).toString();
            c.provider = q.value(6).toString();
            c.oldText = q.value(7).toString();
            c.newText = q.value(8).toString();
            c.moment = QDateTime::fromString(q.value(9).toString(), Qt::ISODateWithMs);
            c.desk = q.value(10).toString();
            changes.push_back(c);
        }
        q.finish();
    });
    return changes;
}

std::vector<Change> ServerEngine::cellHistory(QDate date, int row, int col)
{
    return readHistory(QStringLiteral("CalDate = ? AND CellRow = ? AND CellCol = ? AND Field IN ('Data', 'NotKept')"),
                       {date, row, col});
}

std::vector<Change> ServerEngine::dayHistory(QDate date)
{
    return readHistory(QStringLiteral("CalDate = ?"), {date});
}

std::vector<Change> ServerEngine::overwrittenCells()
{
    return readHistory(QStringLiteral("Field = 'Data' AND OldText <> ''"), {});
}

}  // namespace storage
