#include "storage/server/journal.h"

#include "platform/programfolder.h"
#include "storage/tr.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace storage {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// The rows as the journal keeps them: in one blob each, read back by this program only.
QByteArray encode(const PageRow& row)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << qint32(1) << row.id << row.calDate << row.data << row.dataNull << row.clinic.has_value()
        << row.clinic.value_or(false) << row.memo << row.layout.location << row.layout.open << row.layout.close
        << qint32(row.layout.timeslot) << qint32(row.layout.listno) << row.layout.sites << row.layout.names
        << row.layout.missing << qint32(row.version);
    return bytes;
}

std::optional<PageRow> decodeRow(const QByteArray& bytes)
{
    QDataStream in(bytes);
    qint32 format = 0, timeslot = 0, listno = 0, version = 0;
    bool hasClinic = false, clinic = false;
    PageRow row;
    in >> format >> row.id >> row.calDate >> row.data >> row.dataNull >> hasClinic >> clinic >> row.memo
        >> row.layout.location >> row.layout.open >> row.layout.close >> timeslot >> listno >> row.layout.sites
        >> row.layout.names >> row.layout.missing >> version;
    if (format != 1 || in.status() != QDataStream::Ok)
        return std::nullopt;
    if (hasClinic)
        row.clinic = clinic;
    row.layout.timeslot = timeslot;
    row.layout.listno = listno;
    row.version = version;
    return row;
}

QByteArray encode(const Settings& s)
{
    PageRow carrier;
    carrier.layout = s.layout;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << encode(carrier);
    for (int day = 0; day < 7; ++day)
        out << s.templates[day] << s.closed[day];
    out << s.fixedMemo << s.bookno << s.readme << s.licence << qint32(s.version);
    return bytes;
}

std::optional<Settings> decodeSettings(const QByteArray& bytes)
{
    QDataStream in(bytes);
    QByteArray carrier;
    in >> carrier;
    const std::optional<PageRow> layout = decodeRow(carrier);
    if (!layout)
        return std::nullopt;
    Settings s;
    s.layout = layout->layout;
    for (int day = 0; day < 7; ++day)
        in >> s.templates[day] >> s.closed[day];
    qint32 version = 0;
    in >> s.fixedMemo >> s.bookno >> s.readme >> s.licence >> version;
    s.version = version;
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return s;
}

// One statement, finalized on every way out.
class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool ok() const { return stmt_ != nullptr; }
    void bind(int i, const QByteArray& bytes)
    {
        sqlite3_bind_blob(stmt_, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    void bind(int i, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(stmt_, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void bind(int i, qint64 value) { sqlite3_bind_int64(stmt_, i, value); }
    int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    void reset() { sqlite3_reset(stmt_); }
    QByteArray blob(int column) const
    {
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt_, column)),
                          sqlite3_column_bytes(stmt_, column));
    }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                                 sqlite3_column_bytes(stmt_, column));
    }
    qint64 integer(int column) const { return sqlite3_column_int64(stmt_, column); }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// Whether the file at `path` reads as a journal: a SQLite file whose check passes and whose
// tables, where it has any, are the journal's.
bool readable(sqlite3* db)
{
    Statement check(db, "PRAGMA quick_check");
    if (!check.ok() || check.step() != SQLITE_ROW || check.text(0) != QLatin1String("ok"))
        return false;
    Statement tables(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
    if (!tables.ok())
        return false;
    while (tables.step() == SQLITE_ROW)
        if (!QStringList{QStringLiteral("book"), QStringLiteral("copy"), QStringLiteral("waiting")}.contains(tables.text(0)))
            return false;
    return true;
}

}  // namespace

QString journalPath()
{
    return QDir(program::folder()).filePath(QStringLiteral("journal.db"));
}

Journal::Journal(const QString& path) : path_(path)
{
    lock_ = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        if (lock_->error() == QLockFile::LockFailedError)
            throw StorageError(Tr::tr("Another copy of Calvora on this desk keeps the pages typed while the server "
                                      "does not answer in %1. Only one copy may work on a server's book at a time: "
                                      "close the other copy first.").arg(QDir::toNativeSeparators(path)));
        throw StorageError(Tr::tr("The desk's journal %1 cannot be made: its folder cannot be written.")
                               .arg(QDir::toNativeSeparators(path)));
    }
    open();
}

Journal::~Journal()
{
    close();
}

void Journal::open()
{
    const bool existed = QFileInfo::exists(path_);
    if (existed) {
        sqlite3* probe = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(path_).constData(), &probe, SQLITE_OPEN_READWRITE, nullptr);
        const bool good = rc == SQLITE_OK && readable(probe);
        sqlite3_close(probe);
        if (!good) {
            // Kept for inspection under a name of its own; nothing in it is replayed.
            setAside_ = path_ + QStringLiteral(".damaged-")
                + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
            if (!QFile::rename(path_, setAside_))
                throw StorageError(Tr::tr("The desk's journal %1 is damaged and cannot be moved aside.")
                                       .arg(QDir::toNativeSeparators(path_)));
            QFile::remove(path_ + QStringLiteral("-journal"));
        }
    }
    if (sqlite3_open_v2(QFile::encodeName(path_).constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr)
        != SQLITE_OK)
        fail(Tr::tr("opening it"));
    // Only this desk's user reads what was typed here.
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3_busy_timeout(db_, 2000);
    exec("PRAGMA synchronous = FULL");
    exec("CREATE TABLE IF NOT EXISTS book (key TEXT PRIMARY KEY, value BLOB)");
    exec("CREATE TABLE IF NOT EXISTS copy (date TEXT PRIMARY KEY, row BLOB NOT NULL)");
    exec("CREATE TABLE IF NOT EXISTS waiting (seq INTEGER PRIMARY KEY AUTOINCREMENT, date TEXT UNIQUE NOT NULL, "
         "typed BLOB NOT NULL, base BLOB NOT NULL, moment TEXT NOT NULL)");
}

void Journal::close()
{
    sqlite3_close(db_);
    db_ = nullptr;
}

void Journal::fail(const QString& what)
{
    const QString detail = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : Tr::tr("unknown error");
    throw StorageError(Tr::tr("The desk's journal %1 failed while %2:\n%3")
                           .arg(QDir::toNativeSeparators(path_), what, detail));
}

void Journal::exec(const char* sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(Tr::tr("keeping a page typed on this desk"));
}

QString Journal::value(const char* key)
{
    Statement q(db_, "SELECT value FROM book WHERE key = ?");
    q.bind(1, QString::fromLatin1(key));
    return q.step() == SQLITE_ROW ? QString::fromUtf8(q.blob(0)) : QString();
}

void Journal::setValue(const char* key, const QByteArray& value)
{
    Statement q(db_, "INSERT OR REPLACE INTO book (key, value) VALUES (?, ?)");
    q.bind(1, QString::fromLatin1(key));
    q.bind(2, value);
    if (q.step() != SQLITE_DONE)
        fail(Tr::tr("keeping what it knows of the book"));
}

QString Journal::bookName()
{
    return value("name");
}

QString Journal::bookId()
{
    return value("id");
}

QString Journal::belongTo(const QString& name, const QString& id)
{
    const QString keptName = bookName();
    if (!keptName.isEmpty() && keptName != name && (countWaiting() > 0 || waitingMemo())) {
        // Pages typed for another book are never stored in this one: they are kept aside.
        close();
        const QString aside = path_ + QStringLiteral(".other-book-")
            + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QFile::rename(path_, aside);
        open();
        setValue("name", name.toUtf8());
        setValue("id", id.toUtf8());
        return aside;
    }
    if (keptName != name) {
        exec("BEGIN");
        exec("DELETE FROM copy");
        exec("DELETE FROM book");
        setValue("name", name.toUtf8());
        setValue("id", id.toUtf8());
        exec("COMMIT");
    } else if (bookId().isEmpty() && countWaiting() == 0) {
        setValue("id", id.toUtf8());
    }
    return {};
}

void Journal::setBookId(const QString& id)
{
    setValue("id", id.toUtf8());
}

void Journal::keepSettings(const Settings& settings)
{
    setValue("settings", encode(settings));
}

std::optional<Settings> Journal::settings()
{
    Statement q(db_, "SELECT value FROM book WHERE key = 'settings'");
    if (q.step() != SQLITE_ROW)
        return std::nullopt;
    return decodeSettings(q.blob(0));
}

void Journal::keepMemo(const MemoAndBook& typed, const MemoAndBook& base)
{
    const MemoAndBook kept = waitingMemo() ? waitingMemo()->base : base;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << typed.fixedMemo << typed.bookno << kept.fixedMemo << kept.bookno;
    setValue("memo", bytes);
}

std::optional<Journal::WaitingMemo> Journal::waitingMemo()
{
    Statement q(db_, "SELECT value FROM book WHERE key = 'memo'");
    if (q.step() != SQLITE_ROW)
        return std::nullopt;
    QDataStream in(q.blob(0));
    WaitingMemo memo;
    in >> memo.typed.fixedMemo >> memo.typed.bookno >> memo.base.fixedMemo >> memo.base.bookno;
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return memo;
}

void Journal::memoStored(const MemoAndBook& typed)
{
    const std::optional<WaitingMemo> memo = waitingMemo();
    if (!memo || memo->typed != typed)
        return;
    Statement q(db_, "DELETE FROM book WHERE key = 'memo'");
    if (q.step() != SQLITE_DONE)
        fail(Tr::tr("keeping what it knows of the book"));
}

void Journal::keepCopy(const PageRow& row)
{
    keepCopies({row});
}

void Journal::keepCopies(const std::vector<PageRow>& rows)
{
    if (rows.empty())
        return;
    exec("BEGIN");
    {
        Statement q(db_, "INSERT OR REPLACE INTO copy (date, row) VALUES (?, ?)");
        for (const PageRow& row : rows) {
            q.bind(1, row.calDate.toString(kDateFormat));
            q.bind(2, encode(row));
            if (q.step() != SQLITE_DONE) {
                sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
                fail(Tr::tr("keeping a copy of a page read from the server"));
            }
            q.reset();
        }
    }
    exec("COMMIT");
}

std::optional<PageRow> Journal::copy(QDate date)
{
    Statement q(db_, "SELECT row FROM copy WHERE date = ?");
    q.bind(1, date.toString(kDateFormat));
    if (q.step() != SQLITE_ROW)
        return std::nullopt;
    return decodeRow(q.blob(0));
}

void Journal::keepTyped(const PageRow& typed, const PageRow& base, const QDateTime& moment)
{
    Statement q(db_, "INSERT INTO waiting (date, typed, base, moment) VALUES (?, ?, ?, ?) "
                     "ON CONFLICT (date) DO UPDATE SET typed = excluded.typed, moment = excluded.moment");
    q.bind(1, typed.calDate.toString(kDateFormat));
    q.bind(2, encode(typed));
    q.bind(3, encode(base));
    q.bind(4, moment.toUTC().toString(Qt::ISODateWithMs));
    if (q.step() != SQLITE_DONE)
        fail(Tr::tr("keeping the page of %1 typed on this desk").arg(typed.calDate.toString(kDateFormat)));
}

namespace {

std::optional<WaitingPage> readWaiting(const Statement& q)
{
    const std::optional<PageRow> typed = decodeRow(q.blob(1));
    const std::optional<PageRow> base = decodeRow(q.blob(2));
    if (!typed || !base)
        return std::nullopt;
    WaitingPage page;
    page.seq = q.integer(0);
    page.typed = *typed;
    page.base = *base;
    page.moment = QDateTime::fromString(q.text(3), Qt::ISODateWithMs);
    return page;
}

}  // namespace

std::optional<WaitingPage> Journal::waiting(QDate date)
{
    Statement q(db_, "SELECT seq, typed, base, moment FROM waiting WHERE date = ?");
    q.bind(1, date.toString(kDateFormat));
    if (q.step() != SQLITE_ROW)
        return std::nullopt;
    return readWaiting(q);
}

std::vector<WaitingPage> Journal::waiting()
{
    std::vector<WaitingPage> pages;
    Statement q(db_, "SELECT seq, typed, base, moment FROM waiting ORDER BY seq");
    while (q.step() == SQLITE_ROW)
        if (const std::optional<WaitingPage> page = readWaiting(q))
            pages.push_back(*page);
    return pages;
}

int Journal::countWaiting()
{
    Statement q(db_, "SELECT count(*) FROM waiting");
    return q.step() == SQLITE_ROW ? int(q.integer(0)) : 0;
}

void Journal::stored(const WaitingPage& page)
{
    Statement q(db_, "DELETE FROM waiting WHERE seq = ? AND moment = ?");
    q.bind(1, page.seq);
    q.bind(2, page.moment.toUTC().toString(Qt::ISODateWithMs));
    if (q.step() != SQLITE_DONE)
        fail(Tr::tr("removing a page stored on the server"));
}

bool Journal::keepsBook(const QString& path, const QString& name)
{
    if (!QFileInfo::exists(path))
        return false;
    sqlite3* db = nullptr;
    bool keeps = false;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        Statement q(db, "SELECT count(*) FROM book WHERE (key = 'name' AND value = ?) OR key = 'settings'");
        q.bind(1, name.toUtf8());
        keeps = q.ok() && q.step() == SQLITE_ROW && q.integer(0) == 2;
    }
    sqlite3_close(db);
    return keeps;
}

qint64 Journal::size() const
{
    return QFileInfo(path_).size();
}

}  // namespace storage
