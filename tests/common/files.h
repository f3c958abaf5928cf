#pragma once
// Files as a test reads and writes them behind the program's back.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

// The file's bytes; a missing file reads as empty.
QByteArray readAll(const QString& path);
// Puts `content` in a new file at `path`, its folder made, the owner's alone (a file of that
// name, and its other names, stay as they were); a null `content` leaves no file.
void writeFile(const QString& path, const QByteArray& content);
// The process a lock file names as its holder; 0 where there is none.
qint64 lockHolder(const QString& lockFile);
// The permission bits, as ls shows them; -1 where there is no file.
int fileMode(const QString& path);
// Runs SQL on a SQLite file through a connection of the test's own, and gives the first field
// of the first row. A file or statement that fails fails the test.
QVariant fileSql(const QString& path, const QString& statement);
// Every row the statements give on a SQLite file, in order, each field followed by '|' (a Null
// as <null>); a file or statement that fails gives one row saying so.
QStringList fileRows(const QString& path, const QStringList& statements);
// Leaves a SQLite file as a crash in the middle of `change` leaves it: part of the change
// written into the file, and the pages it overwrote in the journal beside it.
void crashInTheMiddleOf(const QString& path, const char* change);
