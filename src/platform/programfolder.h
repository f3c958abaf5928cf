#pragma once
// The program's folder (where db.mdb lives) and the end of the program.
#include <QString>
#include <functional>

namespace program {

QString folder();
// Tests point the program at a temporary folder; an empty path goes back to the real one.
void setFolder(const QString& path);
// The one database file of the program: the program's folder & "/db.mdb".
QString databasePath();

// Where the appointment book is kept: the file db.mdb in the program's folder, or one database
// on a practice server that several desks share, named by a libpq connection string or URI
// (postgresql://calvora@frontdesk/practice). Every screen opens the book from here.
struct BookLocation {
    QString file;    // the database file (always set: backups and --print-day fall back to it)
    QString server;  // the server's connection string; empty when the book is the file
    bool onServer() const { return !server.isEmpty(); }
};
BookLocation bookLocation();
// Start-up points the program at a server; an empty text goes back to the file.
void setServer(const QString& conninfo);

// Ends the program at once (End). Tests replace what it does to observe it.
void end();
void setEndHandler(std::function<void()> handler);

}  // namespace program
