#include "storage/tr.h"
#include "storage/server/connection.h"

#include "storage/bookevents.h"
#include "storage/database.h"
#include "storage/history.h"
#include "storage/server/server.h"
#include "storage/server/serverengine.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <libpq-fe.h>
#include <map>
#include <QCoreApplication>

namespace storage {

const QString kPageChannel = QStringLiteral("calvora_page");
const QString kSettingsChannel = QStringLiteral("calvora_settings");
const QString kRestoreChannel = QStringLiteral("calvora_restore");

namespace {

std::atomic<int> g_serverCount{0};
PasswordPrompt g_prompt;
// Passwords typed into the password box, for the rest of the run, by connection text.
std::map<QString, QString> g_passwords;

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QString quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

// The parts of a connection text (key=value words or a postgresql:// URI), as libpq reads it.
struct ConnInfo {
    std::map<QString, QString> values;
    QString error;
};

ConnInfo parse(const QString& conninfo)
{
    ConnInfo info;
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    if (!options) {
        info.error = error ? QString::fromUtf8(error).trimmed() : Tr::tr("It cannot be read.");
        PQfreemem(error);
        return info;
    }
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (o->val)
            info.values[QString::fromUtf8(o->keyword)] = QString::fromUtf8(o->val);
    PQconninfoFree(options);
    return info;
}

// A statement that waited for a row another connection holds longer than the lock timeout.
bool lockTimedOut(const QSqlQuery& q)
{
    return q.lastError().nativeErrorCode() == QLatin1String("55P03");
}

// By the server's SQLSTATE where the driver gives it (the server's words may be in its own
// language); libpq's own words are English.
bool asksForPassword(const QSqlError& error)
{
    if (error.nativeErrorCode() == QLatin1String("28P01"))  // invalid_password
        return true;
    const QString detail = error.databaseText();
    return detail.contains(QLatin1String("no password supplied"))
        || detail.contains(QLatin1String("password authentication failed"));
}

}  // namespace

// libpq's connection under the driver. Qt names the handle's type as the compiler spells it,
// "pg_conn*" (the struct behind libpq's PGconn), and older Qt as "PGconn*".
PGconn* pgconn(const QSqlDatabase& db)
{
    if (!db.isValid() || !db.isOpen())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

void setPasswordPrompt(PasswordPrompt prompt)
{
    g_prompt = std::move(prompt);
}

QString typedPassword(const QString& conninfo)
{
    const auto typed = g_passwords.find(conninfo);
    return typed == g_passwords.end() ? QString() : typed->second;
}

namespace {

QString part(const ConnInfo& info, const char* key, const char* environment)
{
    const auto found = info.values.find(QString::fromLatin1(key));
    if (found != info.values.end() && !found->second.isEmpty())
        return found->second;
    return qEnvironmentVariable(environment);
}

QString hostOf(const ConnInfo& info)
{
    QString host = part(info, "host", "PGHOST");
    if (host.isEmpty())
        host = part(info, "hostaddr", "PGHOSTADDR");
    const QString port = part(info, "port", "PGPORT");
    const QStringList hosts = host.split(QLatin1Char(','));
    if (hosts.size() > 1) {
        // A list of servers, tried in turn: each is named as written (a socket folder too,
        // which tells the servers of one computer apart), with its port where the list gives
        // one (a single port stands for every host).
        const QStringList ports = port.split(QLatin1Char(','));
        QStringList named;
        for (qsizetype i = 0; i < hosts.size(); ++i) {
            QString one = hosts[i].trimmed();
            const QString itsPort = ports.size() == hosts.size() ? ports[i].trimmed() : ports.value(0).trimmed();
            if (!itsPort.isEmpty() && itsPort != QLatin1String("5432"))
                one += QLatin1Char(':') + itsPort;
            named << one;
        }
        return named.join(QStringLiteral(", "));
    }
    // A socket folder is a server on this computer.
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')))
        host = Tr::tr("this computer");
    if (!port.isEmpty() && port != QLatin1String("5432"))
        host += QLatin1Char(':') + port;
    return host;
}

}  // namespace

QString serverHost(const QString& conninfo)
{
    return hostOf(parse(conninfo));
}

QString serverDisplayName(const QString& conninfo)
{
    const ConnInfo info = parse(conninfo);
    auto part = [&](const char* key, const char* environment) {
        const auto found = info.values.find(QString::fromLatin1(key));
        if (found != info.values.end() && !found->second.isEmpty())
            return found->second;
        return qEnvironmentVariable(environment);
    };
    const QString host = hostOf(info);
    QString database = part("dbname", "PGDATABASE");
    if (database.isEmpty())
        database = part("user", "PGUSER");
    if (database.isEmpty())
        database = qEnvironmentVariable("USER");
    return Tr::tr("%1 on %2", "a database on its server").arg(database, host);
}

ServerConnection::ServerConnection(const QString& conninfo, Open mode, std::optional<std::chrono::milliseconds> limit)
    : conninfo_(conninfo), mode_(mode), limit_(limit ? std::min(*limit, serverDeadline()) : serverDeadline())
{
    display_ = serverDisplayName(conninfo);
    desk_ = deskName();
    name_ = QStringLiteral("calvora-server-%1").arg(++g_serverCount);
    open();
}

ServerConnection::~ServerConnection()
{
    delete watchdog_;
    close();
}

void ServerConnection::watch(BookEvents* events)
{
    if (events_)
        return;
    events_ = events;
    listen();
    // A desk that works without the server has a probe and a watchdog of its own.
    if (!idleReconnect_)
        return;
    // A connection the server ended while this desk typed or waited says nothing: the
    // watchdog looks every second and opens it again, so that the desk hears again.
    const auto typed = g_passwords.find(conninfo_);
    probe_ = std::make_unique<ServerProbe>(conninfo_.toUtf8(),
                                           typed == g_passwords.end() ? QByteArray() : typed->second.toUtf8());
    watchdog_ = new QTimer(events);
    watchdog_->setInterval(1000);
    QObject::connect(watchdog_, &QTimer::timeout, events, [this] { checkIdle(); });
    watchdog_->start();
}

void ServerConnection::listen()
{
    // A standby takes no LISTEN: what the other desks store reaches it from the primary, and
    // this desk stores nothing there.
    if (!events_ || standby_)
        return;
    QSqlDriver* driver = db_.driver();
    for (const QString& channel : {kPageChannel, kSettingsChannel, kRestoreChannel})
        if (!driver->subscribeToNotification(channel))
            throw StorageError(describe(Tr::tr("listening for the other desks' changes"),
                                        driver->lastError().databaseText()));
    QObject::connect(driver, &QSqlDriver::notification, events_,
                     [this](const QString& channel, QSqlDriver::NotificationSource source, const QVariant& payload) {
                         // This desk's own stores it knows of already.
                         if (source != QSqlDriver::SelfSource)
                             tell(channel, payload.toString());
                     });
}

void ServerConnection::tell(const QString& channel, const QString& payload)
{
    if (channel == kPageChannel) {
        const QDate date = QDate::fromString(payload, kDateFormat);
        if (date.isValid())
            emit events_->pageChanged(date);
    } else if (channel == kSettingsChannel) {
        emit events_->settingsChanged();
    } else if (channel == kRestoreChannel) {
        emit events_->bookReplaced();
    }
}

void ServerConnection::tellNotifications()
{
    PGconn* connection = pgconn(db_);
    if (!connection)
        return;
    const int self = PQbackendPID(connection);
    while (PGnotify* n = PQnotifies(connection)) {
        const QString channel = QString::fromUtf8(n->relname);
        const QString payload = QString::fromUtf8(n->extra);
        const bool own = n->be_pid == self;
        PQfreemem(n);
        // Raised after the work under way, as the driver raises what it reads.
        if (events_ && !own && !standby_)
            QMetaObject::invokeMethod(db_.driver(), [this, channel, payload] { tell(channel, payload); },
                                      Qt::QueuedConnection);
    }
}

void ServerConnection::checkIdle()
{
    if (inTransaction_)
        return;
    // The driver reads the listening connection as soon as the server writes to it or closes
    // it, so a connection the server ended is seen here without a round trip. Whether the
    // server answers at all is asked by the probe on its own thread: this look never waits.
    if (!idleReconnect_ || !lost())
        return;
    if (probe_ && !probe_->answers()) {
        watchdog_->setInterval(std::min(watchdog_->interval() * 2, 30000));
        return;
    }
    try {
        reconnect();
        watchdog_->setInterval(1000);
    } catch (const StorageError&) {
        // The server is still away: the next look tries again, less often each time (a
        // server that does not answer holds the desk for its connect timeout), and a store
        // meanwhile reports why it cannot be made.
        watchdog_->setInterval(std::min(watchdog_->interval() * 2, 30000));
    }
}

void ServerConnection::notify(const QString& channel, const QString& payload, const QString& what)
{
    run(QStringLiteral("SELECT pg_notify(?, ?)"), {channel, payload}, what);
}

QString ServerConnection::describe(const QString& what, const QString& detail) const
{
    QString why = detail.trimmed().isEmpty() ? Tr::tr("unknown error") : detail.trimmed();
    return Tr::tr("The database %1 failed while %2:\n%3").arg(display_, what, why);
}

void ServerConnection::open()
{
    const ConnInfo info = parse(conninfo_);
    if (!info.error.isEmpty())
        throw StorageError(describe(Tr::tr("reading its connection text"), info.error));
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    if (!db_.isValid()) {
        close();
        throw StorageError(describe(Tr::tr("connecting to it"),
                                    Tr::tr("Qt's PostgreSQL driver (QPSQL) is not installed.")));
    }
    // The driver quotes the database, user and password itself; the other words of the
    // connection text go as they are (it takes ';' for a space, so none may hold one). The
    // host and the port go among them, so that libpq reads a list of hosts and of ports as it
    // defines them ("host=frontdesk,backoffice port=5432,5433"), not as one port number.
    // The desk's name, so that the server's own views show which desk a connection is.
    QString desk = desk_;
    desk.replace(QLatin1Char(';'), QLatin1Char(','));
    QStringList options{QStringLiteral("application_name=") + quoted(desk)};
    for (const auto& [key, value] : info.values) {
        if (key == QLatin1String("dbname"))
            db_.setDatabaseName(value);
        else if (key == QLatin1String("user"))
            db_.setUserName(value);
        else if (key == QLatin1String("password"))
            db_.setPassword(value);
        else if (value.contains(QLatin1Char(';'))) {
            close();
            throw StorageError(describe(Tr::tr("reading its connection text"),
                                        Tr::tr("The value of %1 holds a ';', which the "
                                                       "driver cannot pass on.").arg(key)));
        } else if (key != QLatin1String("application_name"))
            options << key + QLatin1Char('=') + quoted(value);
    }
    // A server that does not answer at all is reported after a while, not waited for; on a
    // network link that dies without closing, the system finds the connection dead within a
    // minute rather than the quarter of an hour it would wait by itself.
    const auto unless = [&](const char* key, const char* environment, const QString& value) {
        if (!info.values.count(QString::fromLatin1(key)) && (!environment || qEnvironmentVariableIsEmpty(environment)))
            options << QString::fromLatin1(key) + QLatin1Char('=') + value;
    };
    unless("connect_timeout", "PGCONNECT_TIMEOUT",
           QString::number(std::max<long long>(2, serverDeadline().count() / 1000)));
    unless("keepalives", nullptr, QStringLiteral("1"));
    unless("keepalives_idle", nullptr, QStringLiteral("20"));
    unless("keepalives_interval", nullptr, QStringLiteral("5"));
    unless("keepalives_count", nullptr, QStringLiteral("3"));
    unless("tcp_user_timeout", nullptr, QStringLiteral("30000"));
    db_.setConnectOptions(options.join(QLatin1Char(' ')));
    if (const auto known = g_passwords.find(conninfo_); known != g_passwords.end())
        db_.setPassword(known->second);

    bool opened = db_.open();
    // The server wants a password that libpq's own places did not give: the user is asked,
    // three times at most.
    for (int tries = 0; !opened && tries < 3 && g_prompt && asksForPassword(db_.lastError());
         ++tries) {
        const std::optional<QString> password = g_prompt(display_);
        if (!password)
            break;
        db_.setPassword(*password);
        opened = db_.open();
        if (opened)
            g_passwords[conninfo_] = *password;
    }
    if (!opened) {
        QString detail = db_.lastError().databaseText();
        if (detail.trimmed().isEmpty())
            detail = db_.lastError().text();
        // A server that is not there, does not answer, or is starting or stopping, rather
        // than one that answered with a refusal (a password, a database that is not there).
        const QString code = db_.lastError().nativeErrorCode();
        const bool away = code.isEmpty() || code.startsWith(QLatin1String("57P"));
        close();
        throw StorageError(describe(Tr::tr("connecting to it"), detail),
                           away ? StorageError::Kind::Unreachable : StorageError::Kind::Other);
    }
    try {
        // A store that waits for a row another connection holds gives up before the deadline,
        // with an answer of the server's own, and the connection stays usable.
        const auto lockWait = std::max<long long>(500, limit_.count() - 1000);
        execute(QStringLiteral("SET lock_timeout = %1").arg(lockWait), Tr::tr("connecting to it"));
        if (mode_ == Open::Book) {
            check();
            // What the desk must know of the book before it reads, in one round trip: whether
            // its user may only read, or the server is a standby that only reads (the book is
            // then read as a read-only file is), and whether the database folds the letters
            // A to Z as the program does.
            QSqlQuery& book = run(QStringLiteral(
                "SELECT has_table_privilege('tbl_appt', 'INSERT') AND has_table_privilege('tbl_appt', 'UPDATE') "
                "AND has_table_privilege('tbl_appt', 'DELETE') AND has_table_privilege('tbl_setup', 'UPDATE'), "
                "lower('ABCDEFGHIJKLMNOPQRSTUVWXYZ') = 'abcdefghijklmnopqrstuvwxyz', datctype, pg_is_in_recovery() "
                "FROM pg_database WHERE datname = current_database()"),
                {}, Tr::tr("reading the rights of its user and its character locale"));
            const bool read = book.next();
            mayWrite_ = !read || book.value(0).toBool();
            otherFolding_ = read && !book.value(1).toBool() ? book.value(2).toString() : QString();
            standby_ = read && book.value(3).toBool();
            book.finish();
            bookId_ = readBookId();
        }
        listen();
    } catch (const StorageError&) {
        close();
        throw;
    }
}

void ServerConnection::close()
{
    // The connection goes before its kept statements: closing it frees them on the server,
    // and a statement that outlives its driver does not try to free itself over a connection
    // that may be gone.
    deadline_.forget();
    std::map<QString, QSqlQuery> statements;
    statements.swap(statements_);
    inTransaction_ = false;
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
    }
    if (QSqlDatabase::contains(name_))
        QSqlDatabase::removeDatabase(name_);
}

void ServerConnection::reconnect()
{
    const QString bookBefore = bookId_;
    close();
    open();
    if (events_) {
        // Told after the work that found the connection gone has finished. A book restored
        // meanwhile is told as a restore, not as changes to the book read before.
        BookEvents* events = events_;
        const bool replaced = mode_ == Open::Book && bookId_ != bookBefore;
        QMetaObject::invokeMethod(events, [events, replaced] {
            if (replaced)
                emit events->bookReplaced();
            else
                emit events->missed();
        }, Qt::QueuedConnection);
    }
}

bool ServerConnection::lost()
{
    if (!db_.isValid() || !db_.isOpen())
        return true;
    PGconn* connection = pgconn(db_);
    return !connection || PQstatus(connection) != CONNECTION_OK;
}

bool ServerConnection::lostAfterFailure()
{
    if (lost())
        return true;
    // A request that could not be sent (the server went away and its socket is closed)
    // leaves libpq's status as it was until libpq reads what the server said last: it is
    // read now, without waiting, so that a server gone is told from a statement refused.
    PGconn* connection = pgconn(db_);
    PQconsumeInput(connection);
    return PQstatus(connection) != CONNECTION_OK;
}

QString ServerConnection::connectedTo()
{
    PGconn* connection = lost() ? nullptr : pgconn(db_);
    if (!connection)
        return QString();
    const QString host = QString::fromUtf8(PQhost(connection));
    const QString port = QString::fromUtf8(PQport(connection));
    return port.isEmpty() ? host : Tr::tr("%1, port %2", "a server's host and port").arg(host, port);
}

QString ServerConnection::standbyRefusal() const
{
    // The server of the list that was reached, not the list.
    PGconn* connection = pgconn(db_);
    QString host = connection ? QString::fromUtf8(PQhost(connection)) : QString();
    if (host.isEmpty())
        host = display_;
    else
        host = Tr::tr("%1 on %2", "a database on its server").arg(QString::fromUtf8(PQdb(connection)), host);
    return Tr::tr("The server %1 only reads: it is a standby. Pages can be read; nothing can be stored "
                  "until the primary or a promoted standby answers.").arg(host);
}

QString ServerConnection::notAnswering(const QString& what) const
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit_).count();
    return Tr::tr("The server %1 does not answer, so %2 was given up after %n second(s).", nullptr,
                  int(std::max<long long>(seconds, 1)))
        .arg(display_, what);
}

bool ServerConnection::timed(QSqlQuery& q, const std::function<bool()>& exec, const QString& what,
                             std::optional<std::chrono::milliseconds> limit)
{
    deadline_.arm(pgconn(db_), limit.value_or(limit_));
    const bool ok = exec();
    const bool passed = deadline_.disarm();
    if (!ok && passed)
        throw StorageError(notAnswering(what), StorageError::Kind::Unreachable);
    if (!ok && lockTimedOut(q))
        throw StorageError(notAnswering(what));
    return ok;
}

void ServerConnection::fail(const QSqlQuery& q, const QString& what)
{
    QString detail = q.lastError().databaseText();
    if (detail.trimmed().isEmpty())
        detail = q.lastError().text();
    if (lostAfterFailure())
        throw ConnectionLost(describe(what, detail));
    throw StorageError(describe(what, detail));
}

QSqlQuery& ServerConnection::statement(const QString& sql)
{
    auto found = statements_.find(sql);
    if (found != statements_.end())
        return found->second;
    QSqlQuery q(db_);
    if (!timed(q, [&] { return q.prepare(sql); }, Tr::tr("preparing a query")))
        fail(q, Tr::tr("preparing a query"));
    return statements_.emplace(sql, std::move(q)).first->second;
}

QSqlQuery& ServerConnection::run(const QString& sql, const QVariantList& values, const QString& what)
{
    begin(what);
    QSqlQuery& q = statement(sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!timed(q, [&] { return q.exec(); }, what))
        fail(q, what);
    return q;
}

void ServerConnection::begin(const QString& what)
{
    if (!begin_.isEmpty())
        execute(std::exchange(begin_, QString()), what);
}

void ServerConnection::execute(const QString& sql, const QString& what)
{
    begin(what);
    QSqlQuery q(db_);
    if (!timed(q, [&] { return q.exec(sql); }, what))
        fail(q, what);
}

void ServerConnection::write(const QString& what, const std::function<void()>& unit, const QString& isolation)
{
    if (inTransaction_) {
        unit();
        return;
    }
    for (int attempt = 0;; ++attempt) {
        try {
            if (lost())
                reconnect();
            // A standby refuses every change; it is said so before anything is tried.
            if (standby_)
                throw StorageError(standbyRefusal());
            // Sent with the unit's first statement.
            begin_ = isolation.isEmpty() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN ISOLATION LEVEL ") + isolation;
            committed_ = false;
            inTransaction_ = true;
            unit();
            inTransaction_ = false;
            // The unit's last batch carried the COMMIT, or nothing of it reached the server.
            if (committed_ || !std::exchange(begin_, QString()).isEmpty()) {
                inDoubt_.clear();
                return;
            }
            QSqlQuery commit(db_);
            deadline_.arm(pgconn(db_), limit_);
            const bool committed = commit.exec(QStringLiteral("COMMIT"));
            if (deadline_.disarm() && !committed) {
                inDoubt_ = what;
                throw StorageError(describe(
                    what, notAnswering(Tr::tr("the commit"))
                              + QLatin1Char(' ') + Tr::tr("It is not known whether the change was stored.")),
                                   StorageError::Kind::Unreachable);
            }
            if (!committed) {
                // Whether a commit the connection lost on the way reached the server is not
                // known: it is reported, not run again here. The unit's next run checks what
                // the server holds (commitInDoubt).
                if (lostAfterFailure()) {
                    inDoubt_ = what;
                    throw StorageError(describe(
                        what, Tr::tr("The connection to the server was lost while the change "
                                             "was being committed, so it is not known whether it "
                                             "was stored. %1").arg(commit.lastError().databaseText())),
                                       StorageError::Kind::Unreachable);
                }
                const QString detail = commit.lastError().databaseText();
                execute(QStringLiteral("ROLLBACK"), what);
                throw StorageError(describe(what, detail));
            }
            inDoubt_.clear();
            return;
        } catch (const ConnectionLost& e) {
            inTransaction_ = false;
            begin_.clear();
            if (attempt > 0)
                throw StorageError(e.message(), StorageError::Kind::Unreachable);
            // Nothing of the unit was committed: it runs again on a new connection.
            reconnect();
        } catch (...) {
            if (inTransaction_) {
                inTransaction_ = false;
                if (std::exchange(begin_, QString()).isEmpty()) {
                    // Bounded as every round trip; what the unit threw is what is told.
                    deadline_.arm(pgconn(db_), limit_);
                    QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
                    deadline_.disarm();
                }
            }
            throw;
        }
    }
}

void ServerConnection::read(const QString& what, const std::function<void()>& unit)
{
    Q_UNUSED(what);
    if (inTransaction_) {
        unit();
        return;
    }
    for (int attempt = 0;; ++attempt) {
        try {
            if (lost())
                reconnect();
            unit();
            return;
        } catch (const ConnectionLost& e) {
            if (attempt > 0)
                throw StorageError(e.message(), StorageError::Kind::Unreachable);
            reconnect();
        }
    }
}

QString ServerEngine::describe(const QString& what, const QString& detail) const
{
    return server_.describe(what, detail);
}

bool ServerEngine::answers()
{
    try {
        server_.execute(QStringLiteral("SELECT 1"), Tr::tr("asking whether the server answers"));
        return !server_.lost();
    } catch (const StorageError&) {
        return false;
    }
}

bool ServerEngine::readOnly()
{
    return !server_.mayWrite() || server_.standby();
}

QString ServerEngine::readOnlyReason()
{
    return server_.standby() ? server_.standbyRefusal() : QString();
}

QString ServerEngine::connectedTo()
{
    return server_.connectedTo();
}

void ServerEngine::reopen()
{
    server_.reconnect();
}

void ServerEngine::watch(BookEvents* events)
{
    server_.watch(events);
}

}  // namespace storage
