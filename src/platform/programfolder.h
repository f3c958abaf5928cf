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

// Ends the program at once (End). Tests replace what it does to observe it.
void end();
void setEndHandler(std::function<void()> handler);

}  // namespace program
