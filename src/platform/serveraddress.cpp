#include "platform/serveraddress.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <libpq-fe.h>
#include <map>
#include <memory>

namespace program {
namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(serveraddress)
};

using Options = std::map<QString, QString>;

// The keywords and values a connection string sets (parsed == true), or libpq's defaults of
// this run, from its environment (PGHOST, PGUSER, ...) and built-in values (parsed == false).
std::optional<Options> options(const QString& conninfo, bool parsed, QString& error)
{
    char* why = nullptr;
    const QByteArray text = conninfo.toUtf8();
    std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> list(
        parsed ? PQconninfoParse(text.constData(), &why) : PQconndefaults(), PQconninfoFree);
    if (!list) {
        error = why ? QString::fromUtf8(why).trimmed() : Tr::tr("out of memory");
        PQfreemem(why);
        return std::nullopt;
    }
    Options found;
    for (const PQconninfoOption* o = list.get(); o->keyword; ++o)
        if (o->val && *o->val)
            found[QString::fromLatin1(o->keyword)] = QString::fromUtf8(o->val);
    return found;
}

QString value(const Options& o, const char* key)
{
    const auto it = o.find(QString::fromLatin1(key));
    return it == o.end() ? QString() : it->second;
}

// A value in libpq's key=value form: quoted, with its quotes and backslashes escaped.
QString quoted(QString v)
{
    v.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

// The first double-quoted name after `lead` in libpq's text (role "x", host name "y").
QString quotedAfter(const QString& text, const QString& lead)
{
    const QRegularExpression re(QRegularExpression::escape(lead) + QStringLiteral(" \"([^\"]*)\""));
    return re.match(text).captured(1);
}

}  // namespace

std::optional<ServerAddress> readServerAddress(const QString& conninfo, QString& error)
{
    if (conninfo.trimmed().isEmpty()) {
        error = Tr::tr("the connection string is empty");
        return std::nullopt;
    }
    const std::optional<Options> given = options(conninfo, true, error);
    if (!given)
        return std::nullopt;
    // Qt's driver quotes the database, server, user, password and port itself and hands the
    // other values on with ';' read as a space: a ';' there would change what is meant.
    const auto quotedByDriver = [](const QString& key) {
        for (const char* own : {"dbname", "host", "user", "password", "port"})
            if (key == QLatin1String(own))
                return true;
        return false;
    };
    for (const auto& [key, v] : *given)
        if (v.contains(QLatin1Char(';')) && !quotedByDriver(key)) {
            error = Tr::tr("the value of %1 holds a ';', which the driver cannot pass on").arg(key);
            return std::nullopt;
        }
    QString unused;
    const Options defaults = options({}, false, unused).value_or(Options{});
    auto pick = [&](const char* key) {
        const QString v = value(*given, key);
        return v.isEmpty() && value(*given, "service").isEmpty() ? value(defaults, key) : v;
    };
    ServerAddress a;
    a.host = pick("host");
    if (a.host.isEmpty())
        a.host = pick("hostaddr");
    a.port = pick("port");
    a.user = pick("user");
    a.database = pick("dbname");
    a.service = value(*given, "service");
    if (a.service.isEmpty())
        a.service = value(defaults, "service");
    a.hasPassword = !value(*given, "password").isEmpty();
    return a;
}

QString withoutPassword(const QString& conninfo)
{
    QString error;
    const std::optional<Options> given = options(conninfo, true, error);
    if (!given || value(*given, "password").isEmpty())
        return conninfo;
    QStringList parts;
    for (const auto& [key, v] : *given)
        if (key != QLatin1String("password"))
            parts << key + QLatin1Char('=') + quoted(v);
    return parts.join(QLatin1Char(' '));
}

QString describeServer(const QString& conninfo)
{
    QString error;
    const std::optional<ServerAddress> a = readServerAddress(conninfo, error);
    if (!a)
        return Tr::tr("the server %1").arg(withoutPassword(conninfo));
    QString where;
    if (a->host.isEmpty())
        where = Tr::tr("this computer");
    else if (a->host.startsWith(QLatin1Char('/')) || a->host.startsWith(QLatin1Char('@')))
        where = Tr::tr("this computer (socket folder %1)").arg(a->host);
    else
        where = a->host;
    if (!a->port.isEmpty() && a->port != QLatin1String("5432"))
        where = Tr::tr("%1, port %2").arg(where, a->port);
    QString text;
    if (!a->service.isEmpty() && a->database.isEmpty())
        text = Tr::tr("the database of the service %1").arg(a->service);
    else
        text = Tr::tr("the database %1 on %2").arg(a->database.isEmpty() ? a->user : a->database, where);
    if (!a->user.isEmpty())
        text = Tr::tr("%1, as the user %2").arg(text, a->user);
    return text;
}

void keepLibpqMessagesEnglish()
{
    // libpq looks for its translations under PGLOCALEDIR; where there are none, it speaks
    // the English its messages are written in.
    qputenv("PGLOCALEDIR", "/dev/null");
}

ServerFailure classifyServerFailure(const QString& libpqText)
{
    const QString t = libpqText;
    auto has = [&](const char* words) { return t.contains(QLatin1String(words), Qt::CaseInsensitive); };
    // Asked for a server that takes changes (target_session_attrs), libpq found only
    // standbys; a list's other hosts may have been away.
    if (has("session is read-only") || has("server is in hot standby mode"))
        return ServerFailure::Standby;
    if (has("invalid") && has("value:"))
        return ServerFailure::BadSetting;
    if (has("could not translate host name") || has("could not parse network address"))
        return ServerFailure::UnknownHost;
    if (has("no password supplied"))
        return ServerFailure::PasswordNeeded;
    if (has("password authentication failed"))
        return ServerFailure::WrongPassword;
    if (has("role \"") && has("does not exist"))
        return ServerFailure::UnknownUser;
    if (has("database \"") && has("does not exist"))
        return ServerFailure::NoDatabase;
    if (has("no pg_hba.conf entry") || has("authentication failed"))
        return ServerFailure::NotAdmitted;
    if (has("permission denied"))
        return ServerFailure::NoRights;
    if (has("SSL") || has("certificate"))
        return ServerFailure::Tls;
    if (has("timeout expired") || has("timed out"))
        return ServerFailure::TimedOut;
    if (has("connection refused") || has("no such file or directory") ||
        has("is the server running") || has("server closed the connection") ||
        has("network is unreachable") || has("no route to host") ||
        has("the database system is"))
        return ServerFailure::Refused;
    return ServerFailure::Other;
}

QString serverFailureMessage(const QString& conninfo, const QString& libpqText)
{
    QString error;
    const ServerAddress a = readServerAddress(conninfo, error).value_or(ServerAddress{});
    auto named = [&](const QString& lead, const QString& fallback) {
        const QString name = quotedAfter(libpqText, lead);
        return name.isEmpty() ? fallback : name;
    };
    QString what;
    switch (classifyServerFailure(libpqText)) {
    case ServerFailure::Refused:
        what = Tr::tr("The connection was refused: is the server running, at that address and port?");
        break;
    case ServerFailure::UnknownHost:
        what = Tr::tr("The host %1 is unknown (unknown host): is its name spelt right, and is the "
                              "network up?").arg(named(QStringLiteral("host name"), a.host));
        break;
    case ServerFailure::PasswordNeeded:
        what = Tr::tr("The server asks for the password of the user %1, and none was given.").arg(a.user);
        break;
    case ServerFailure::WrongPassword:
        what = Tr::tr("The password of the user %1 was refused (wrong password).")
                   .arg(named(QStringLiteral("for user"), a.user));
        break;
    case ServerFailure::UnknownUser:
        what = Tr::tr("The server knows no user %1.").arg(named(QStringLiteral("role"), a.user));
        break;
    case ServerFailure::NoDatabase:
        what = Tr::tr("There is no such database %1 on the server.")
                   .arg(named(QStringLiteral("database"), a.database));
        break;
    case ServerFailure::NotAdmitted:
        what = Tr::tr("The server does not let the user %1 in from this computer.").arg(a.user);
        break;
    case ServerFailure::NoRights:
        what = Tr::tr("The user %1 has no rights on the book's tables.").arg(a.user);
        break;
    case ServerFailure::Tls:
        what = Tr::tr("The secure connection (TLS) to the server failed.");
        break;
    case ServerFailure::TimedOut:
        what = Tr::tr("The server did not answer in time.");
        break;
    case ServerFailure::Standby:
        what = Tr::tr("No server of the list takes changes: each one that answered is a standby, which only "
                      "reads. Is the primary running, or has a standby been promoted?");
        break;
    case ServerFailure::BadSetting:
        what = Tr::tr("The connection string holds a value that libpq does not take.");
        break;
    case ServerFailure::Other:
        what = Tr::tr("The connection failed.");
        break;
    }
    return Tr::tr("Calvora cannot open the appointment book on %1.\n\n%2\n\n%3")
        .arg(describeServer(conninfo), what, libpqText.trimmed());
}

QString notABookMessage(const QString& conninfo, const QString& detail)
{
    // What the database lacks, as storage names it: here it is the reason in brackets.
    QString why = detail.trimmed();
    while (why.endsWith(QLatin1Char('.')))
        why.chop(1);
    return Tr::tr("Calvora cannot open the appointment book on %1.\n\nIt is not a Calvora database: it "
                          "holds no appointment book (%2). An empty database is filled from a db.mdb with "
                          "Restore on the back-up screen.")
        .arg(describeServer(conninfo), why);
}

}  // namespace program
