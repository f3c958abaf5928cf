// The book on a server and the file format of its backups: a server's backup is a db.mdb as
// the file engine writes it, and a restore loads such a file into the server.
#include "storage/tr.h"
#include "platform/durablefile.h"
#include "storage/database.h"
#include "storage/file/connection.h"
#include "storage/file/databasefile.h"
#include "storage/file/tables.h"
#include "storage/server/connection.h"
#include "storage/server/server.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QSqlDriver>
#include <cctype>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <atomic>
#include <set>
#include <vector>
#include <QCoreApplication>

namespace storage {
namespace {

std::atomic<int> g_fileCount{0};

// The fields of the settings row, in the file's order, and which hold numbers or flags.
const char* const kSetupFields[] = {"location", "open", "Close", "timeslot", "Listno", "Names", "Sites",
                                    "FixedMemo", "bookno", "Readme", "Licence", "Mon", "Tue", "Wed",
                                    "Thu", "Fri", "Sat", "Sun", "chk1", "chk2", "chk3", "chk4", "chk5",
                                    "chk6", "chk7"};
const QString kPageFields = QStringLiteral(
    "id, CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names");
const QString kHistoryFields = QStringLiteral(
    "id, CalDate, Field, CellRow, CellCol, TimeLabel, Provider, OldText, NewText, Moment, Desk");

enum class Kind { Text, Number, Flag };
Kind setupKind(int field)
{
    return field == 3 || field == 4 ? Kind::Number : field >= 18 ? Kind::Flag : Kind::Text;
}
Kind pageKind(int field)
{
    return field == 0 || field == 8 || field == 9 ? Kind::Number : field == 3 ? Kind::Flag : Kind::Text;
}

// A value as the other engine stores it: flags are booleans on the server and 0 or 1 in the
// file; Null stays Null.
QVariant toServer(const QVariant& v, Kind kind)
{
    if (v.isNull())
        return kind == Kind::Text ? QVariant(QMetaType::fromType<QString>())
             : kind == Kind::Flag ? QVariant(QMetaType::fromType<bool>())
                                  : QVariant(QMetaType::fromType<qint64>());
    switch (kind) {
    case Kind::Flag: return v.toBool();
    case Kind::Number: return v.toLongLong();
    default: return v.toString();
    }
}

QString placeholders(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

QString setupFieldList()
{
    QStringList fields;
    for (const char* f : kSetupFields)
        fields << QString::fromLatin1(f);
    return fields.join(QStringLiteral(", "));
}

// The fields of a row in the server's copy text format: tab between fields, a backslash
// before a tab, line end or backslash within one, \N for Null.
void copyFields(QByteArrayView row, std::vector<std::optional<QByteArray>>& fields)
{
    fields.clear();
    if (row.endsWith('\n'))
        row.chop(1);
    QByteArray field;
    bool null = false;
    const auto end = [&] {
        fields.push_back(null ? std::nullopt : std::optional<QByteArray>(field));
        field.clear();
        null = false;
    };
    for (qsizetype i = 0; i < row.size(); ++i) {
        // The plain run up to the next tab or backslash, at once.
        qsizetype plain = i;
        while (plain < row.size() && row[plain] != '\t' && row[plain] != '\\')
            ++plain;
        field.append(row.data() + i, plain - i);
        i = plain;
        if (i == row.size())
            break;
        if (row[i] == '\t') {
            end();
            continue;
        }
        if (i + 1 == row.size()) {
            field += row[i];
            continue;
        }
        const char e = row[++i];
        switch (e) {
        case 'N': null = true; break;
        case 'b': field += '\b'; break;
        case 'f': field += '\f'; break;
        case 'n': field += '\n'; break;
        case 'r': field += '\r'; break;
        case 't': field += '\t'; break;
        case 'v': field += '\v'; break;
        case 'x': {
            int value = 0, digits = 0;
            while (digits < 2 && i + 1 < row.size() && std::isxdigit(static_cast<unsigned char>(row[i + 1]))) {
                value = value * 16 + QByteArray(1, row[++i]).toInt(nullptr, 16);
                ++digits;
            }
            field += char(value);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0';
                for (int digits = 1; digits < 3 && i + 1 < row.size() && row[i + 1] >= '0' && row[i + 1] <= '7'; ++digits)
                    value = value * 8 + (row[++i] - '0');
                field += char(value);
            } else {
                field += e;
            }
        }
    }
    end();
}

// A new SQLite file with the file's tables, through a connection of its own.
class NewFile {
public:
    explicit NewFile(const QString& path) : name_(QStringLiteral("calvora-newfile-%1").arg(++g_fileCount))
    {
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db_.setDatabaseName(path);
        if (!db_.open())
            throw StorageError(Tr::tr("The backup could not be made in %1: %2")
                                   .arg(QDir::toNativeSeparators(path), db_.lastError().text()));
        exec(QStringLiteral("BEGIN"));
        for (const char* sql : kFileTables)
            exec(QString::fromLatin1(sql));
        for (const char* sql : kFileHistoryTables)
            exec(QString::fromLatin1(sql));
    }
    ~NewFile()
    {
        if (db_.isOpen())
            db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
    void exec(const QString& sql, const QVariantList& values = {})
    {
        QSqlQuery q(db_);
        bool ok = q.prepare(sql);
        for (int i = 0; ok && i < values.size(); ++i)
            q.bindValue(i, values[i]);
        if (!ok || !q.exec())
            throw StorageError(Tr::tr("The backup could not be written: %1").arg(q.lastError().text()));
    }
    // Copies the rows a query on the server selects into `table` of the file.
    void copy(ServerConnection& server, const QString& what, const QString& table, const QString& fields,
              const QString& select)
    {
        const int n = int(fields.count(QLatin1Char(',')) + 1);
        sqlite3* file = *static_cast<sqlite3* const*>(db_.driver()->handle().data());
        sqlite3_stmt* insert = nullptr;
        const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, fields, placeholders(n)).toUtf8();
        if (sqlite3_prepare_v2(file, sql.constData(), int(sql.size()), &insert, nullptr) != SQLITE_OK)
            throw StorageError(Tr::tr("The backup could not be written: %1").arg(QString::fromUtf8(sqlite3_errmsg(file))));
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> kept(insert, sqlite3_finalize);
        std::vector<std::optional<QByteArray>> values;
        server.copyOut(QStringLiteral("COPY (%1) TO STDOUT").arg(select), what, [&](QByteArrayView row) {
            copyFields(row, values);
            if (int(values.size()) != n)
                throw StorageError(server.describe(what, Tr::tr("A row of %1 came with %2 fields instead of %3.")
                                                             .arg(table).arg(values.size()).arg(n)));
            for (int i = 0; i < n; ++i) {
                if (values[i])
                    sqlite3_bind_text(insert, i + 1, values[i]->constData(), int(values[i]->size()), SQLITE_STATIC);
                else
                    sqlite3_bind_null(insert, i + 1);
            }
            const int done = sqlite3_step(insert);
            sqlite3_reset(insert);
            if (done != SQLITE_DONE)
                throw StorageError(Tr::tr("The backup could not be written: %1").arg(QString::fromUtf8(sqlite3_errmsg(file))));
        });
    }
    void finish()
    {
        exec(QStringLiteral("COMMIT"));
        db_.close();
    }

private:
    QString name_;
    QSqlDatabase db_;
};

}  // namespace

void backupServer(const QString& conninfo, const QString& destination)
{
    // The file is made in a folder of this computer first, then copied to the backup disk the
    // way a backup of the file is: written beside the destination, read back, then renamed.
    QTemporaryDir local;
    if (!local.isValid())
        throw StorageError(Tr::tr("The backup could not be made: no temporary folder (%1)")
                               .arg(local.errorString()));
    const QString file = local.filePath(QStringLiteral("db.mdb"));
    {
        ServerConnection server(conninfo);
        NewFile out(file);
        const QString what = Tr::tr("reading it for the backup");
        bool first = true;
        // One snapshot for all three tables: desks storing meanwhile change none of it. Each
        // table comes whole in the server's copy format and goes into the file through one
        // kept statement; flags as 0 or 1 and dates as the file writes them.
        server.write(what, [&] {
            if (!first) {
                for (const char* table : {"tbl_Setup", "tbl_Appt", "tbl_Order", "tbl_History"})
                    out.exec(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(table)));
            }
            first = false;
            QStringList setup;
            for (int i = 0; i < int(std::size(kSetupFields)); ++i)
                setup << (setupKind(i) == Kind::Flag ? QStringLiteral("%1::int").arg(QString::fromLatin1(kSetupFields[i]))
                                                     : QString::fromLatin1(kSetupFields[i]));
            out.copy(server, what, QStringLiteral("tbl_Setup"), setupFieldList(),
                     QStringLiteral("SELECT %1 FROM tbl_Setup ORDER BY id LIMIT 1").arg(setup.join(QStringLiteral(", "))));
            out.copy(server, what, QStringLiteral("tbl_Appt"), kPageFields,
                     QStringLiteral("SELECT id, to_char(CalDate, 'YYYY-MM-DD'), Data, Clinic::int, Memo, location, open, "
                                    "Close, timeslot, Listno, Sites, Names FROM tbl_Appt ORDER BY id"));
            out.copy(server, what, QStringLiteral("tbl_Order"), QStringLiteral("id, Help"),
                     QStringLiteral("SELECT id, Help FROM tbl_Order ORDER BY id"));
            if (server.hasHistory(what))
                out.copy(server, what, QStringLiteral("tbl_History"), kHistoryFields,
                         QStringLiteral("SELECT %1 FROM tbl_History ORDER BY id")
                             .arg(QString(kHistoryColumns).replace(QStringLiteral("CalDate,"),
                                                                   QStringLiteral("to_char(CalDate, 'YYYY-MM-DD'),"))));
        }, QStringLiteral("REPEATABLE READ READ ONLY"));
        out.finish();
    }
    backupDatabase(file, destination);
}

RestoreResult restoreServer(const QString& source, const QString& conninfo)
{
    const QString shown = QDir::toNativeSeparators(source);
    if (!QFileInfo(source).isFile())
        throw StorageError(Tr::tr("The backup %1 cannot be found").arg(shown));
    // Read once from the backup disk into a local copy, which is checked in full and loaded.
    QTemporaryDir local;
    if (!local.isValid())
        throw StorageError(Tr::tr("The backup %1 could not be copied: no temporary folder (%2)")
                               .arg(shown, local.errorString()));
    const QString copy = local.filePath(QStringLiteral("db.mdb"));
    if (const QString why = durable::copyToDisk(source, copy); !why.isEmpty())
        throw StorageError(Tr::tr("The backup %1 could not be copied: %2").arg(shown, why));
    if (const QString why = databaseProblem(copy, Check::Full); !why.isEmpty())
        throw StorageError(Tr::tr("The file %1 cannot be restored, and the database is "
                                          "unchanged: %2").arg(shown, why));

    QVariantList setup;
    std::vector<QVariantList> pages;  // newest first, one per date
    std::vector<std::pair<qint64, QVariant>> order;
    std::vector<QVariantList> history;
    RestoreResult result;
    {
        FileConnection file(copy);
        QSqlQuery q(file.database());
        if (!q.exec(QStringLiteral("SELECT * FROM tbl_Setup ORDER BY rowid LIMIT 1")) || !q.next())
            throw StorageError(file.describe(Tr::tr("reading the settings"), q.lastError().text()));
        const QSqlRecord r = q.record();
        for (int i = 0; i < int(std::size(kSetupFields)); ++i)
            setup << toServer(r.value(QString::fromLatin1(kSetupFields[i])), setupKind(i));

        // The server holds one row per date: the newest, which the program shows.
        std::set<QDate> taken;
        if (!q.exec(QStringLiteral("SELECT %1 FROM tbl_Appt ORDER BY id DESC").arg(kPageFields)))
            throw StorageError(file.describe(Tr::tr("reading the pages"), q.lastError().text()));
        while (q.next()) {
            const QDate date = QDate::fromString(q.value(1).toString().left(10), Qt::ISODate);
            if (!date.isValid() || !taken.insert(date).second) {
                ++result.leftOut;
                continue;
            }
            QVariantList values;
            for (int i = 0; i < 12; ++i)
                values << (i == 1 ? QVariant(date) : toServer(q.value(i), pageKind(i)));
            pages.push_back(values);
        }
        if (!q.exec(QStringLiteral("SELECT id, Help FROM tbl_Order ORDER BY id")))
            throw StorageError(file.describe(Tr::tr("reading the help text"), q.lastError().text()));
        while (q.next())
            order.emplace_back(q.value(0).toLongLong(), toServer(q.value(1), Kind::Text));
        // A backup from before the history has none.
        if (q.exec(QStringLiteral("SELECT %1 FROM tbl_History ORDER BY id").arg(kHistoryFields))) {
            while (q.next()) {
                QVariantList values;
                for (int i = 0; i < 11; ++i) {
                    if (i == 1)
                        values << (q.isNull(1) ? QVariant(QMetaType::fromType<QDate>())
                                               : QVariant(QDate::fromString(q.value(1).toString().left(10), Qt::ISODate)));
                    else if (i == 0 || i == 3 || i == 4)
                        values << (q.isNull(i) ? QVariant(QMetaType::fromType<qint64>()) : QVariant(q.value(i).toLongLong()));
                    else
                        values << toServer(q.value(i), Kind::Text);
                }
                history.push_back(values);
            }
        } else if (!q.lastError().text().contains(QLatin1String("no such table"))) {
            throw StorageError(file.describe(Tr::tr("reading the history"), q.lastError().text()));
        }
    }
    result.pages = int(pages.size());

    ServerConnection server(conninfo, ServerConnection::Open::Connection);
    const QString what = Tr::tr("restoring the backup %1").arg(shown);
    server.write(what, [&] {
        // The restored rows take versions above every version a desk may have read before, so
        // that no store of a desk that read the book before the restore is taken over them.
        qint64 version = 1;
        switch (server.tables(what)) {
        case ServerConnection::Tables::All: {
            QSqlQuery& before = server.run(QStringLiteral(
                "SELECT greatest((SELECT coalesce(max(version), 0) FROM tbl_Appt), "
                "(SELECT coalesce(max(version), 0) FROM tbl_Setup)) + 1"), {}, what);
            if (before.next())
                version = before.value(0).toLongLong();
            before.finish();
            server.dropSearchIndex();
            for (const char* table : {"tbl_Appt", "tbl_Setup", "tbl_Order"})
                server.execute(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(table)), what);
            // The history is the backup's, as the pages are.
            server.createHistory(Tr::tr("creating the history table"));
            server.execute(QStringLiteral("DELETE FROM tbl_History"), what);
            break;
        }
        case ServerConnection::Tables::None:
            server.createTables();
            break;
        }
        const QString restoredVersion = QString::number(version);
        // A new book id: the desks that reconnect take the book for a restored one.
        const bool bookId = server.addBookId(what);
        server.run(QStringLiteral("INSERT INTO tbl_Setup (%1, version%2) VALUES (%3, %4%5)")
                       .arg(setupFieldList(), bookId ? QStringLiteral(", bookid") : QString(),
                            placeholders(setup.size()), restoredVersion,
                            bookId ? QStringLiteral(", gen_random_uuid()::text") : QString()),
                   setup, what);
        // Oldest first, a hundred rows to a statement: one trip to the server each.
        constexpr int Batch = 100;
        for (size_t from = 0; from < pages.size(); from += Batch) {
            const size_t rows = std::min<size_t>(Batch, pages.size() - from);
            QStringList tuples;
            QVariantList values;
            for (size_t i = 0; i < rows; ++i) {
                tuples << QStringLiteral("(%1, %2)").arg(placeholders(12), restoredVersion);
                values << pages[pages.size() - 1 - from - i];
            }
            server.run(QStringLiteral("INSERT INTO tbl_Appt (%1, version) VALUES %2")
                           .arg(kPageFields, tuples.join(QStringLiteral(", "))),
                       values, what);
        }
        // New pages take ids after the restored ones, as they would in the file, and never an
        // id handed out before the restore: a desk may still hold a page by it.
        server.execute(QStringLiteral("SELECT setval(pg_get_serial_sequence('tbl_appt', 'id'), "
                                      "greatest(coalesce(max(id), 0), coalesce(pg_sequence_last_value("
                                      "pg_get_serial_sequence('tbl_appt', 'id')::regclass), 0)) + 1, false) "
                                      "FROM tbl_Appt"), what);
        for (const auto& [id, help] : order)
            server.run(QStringLiteral("INSERT INTO tbl_Order (id, Help) VALUES (?, ?)"), {id, help}, what);
        for (size_t from = 0; from < history.size(); from += Batch) {
            const size_t rows = std::min<size_t>(Batch, history.size() - from);
            QStringList tuples;
            QVariantList values;
            for (size_t i = from; i < from + rows; ++i) {
                tuples << QLatin1Char('(') + placeholders(11) + QLatin1Char(')');
                values << history[i];
            }
            server.run(QStringLiteral("INSERT INTO tbl_History (%1) VALUES %2").arg(kHistoryFields, tuples.join(QStringLiteral(", "))),
                       values, what);
        }
        server.execute(QStringLiteral("SELECT setval(pg_get_serial_sequence('tbl_history', 'id'), "
                                      "coalesce(max(id), 0) + 1, false) FROM tbl_History"), what);
        // Built once over the loaded pages rather than row by row.
        server.createSearchIndex();
        // The desks that have the book open read it again.
        server.execute(QStringLiteral("NOTIFY calvora_restore"), what);
    });
    // Statistics of the restored rows at once, so that the first searches and lookups are
    // planned for them, not for empty tables; the server's own upkeep would come later.
    // Only speed hangs on it, so a refusal (or a server that stopped answering, within the
    // deadline) changes nothing of the restore, which is stored.
    try {
        server.execute(QStringLiteral("ANALYZE tbl_Appt"), what);
    } catch (const StorageError&) {
    }
    return result;
}

}  // namespace storage
