#pragma once
// A practice server as a desk names it: a libpq connection string or URI
// (host=frontdesk dbname=practice user=calvora, postgresql://calvora@frontdesk/practice), read
// with libpq's own parser so that every form libpq takes is taken here. What reaches the user
// never holds a password.
#include <QString>
#include <optional>

namespace program {

struct ServerAddress {
    QString host;      // as given, or from PGHOST; empty: this computer's own socket
    QString port;
    QString database;  // as given, or from PGDATABASE; empty: libpq's default (the user's name)
    QString user;
    QString service;   // a PGSERVICE entry that names the rest
    bool hasPassword = false;
};

// Reads a connection string; std::nullopt, with libpq's reason in error, when it is not one.
std::optional<ServerAddress> readServerAddress(const QString& conninfo, QString& error);

// The connection string without its password (in libpq's key=value form when one was taken
// out; as given otherwise).
QString withoutPassword(const QString& conninfo);

// The server and database in words, for messages and About: "the database practice on
// frontdesk, as the user calvora". Values the string leaves out are libpq's defaults of this run.
QString describeServer(const QString& conninfo);

// What went wrong when a connection failed, read from libpq's own text.
enum class ServerFailure {
    Refused,         // nothing answers at that address (server down, wrong port, firewall)
    UnknownHost,     // the host name is not known
    PasswordNeeded,  // the server asks for a password and none was found
    WrongPassword,
    UnknownUser,
    NoDatabase,      // the server has no database of that name
    NotAdmitted,     // the server's access rules keep this user or computer out
    NoRights,        // the user may connect but not read the book's tables
    Tls,             // the secure connection failed (no TLS there, a certificate not trusted)
    TimedOut,
    Standby,         // every server that answered only reads (a standby), none takes changes
    BadSetting,      // libpq does not take a value of the connection text
    Other,
};
ServerFailure classifyServerFailure(const QString& libpqText);

// The program reads libpq's messages (a password asked for, a server out of reach) and says
// what they mean in its own words; so libpq keeps to its English ones whatever the desktop's
// language. Called before libpq says anything (its catalogue is chosen once).
void keepLibpqMessagesEnglish();

// The message for a server that could not be opened: names the server and what failed, then
// libpq's own words for an administrator.
QString serverFailureMessage(const QString& conninfo, const QString& libpqText);

// The message for a server that answers but whose database holds no appointment book.
QString notABookMessage(const QString& conninfo, const QString& detail);

}  // namespace program
