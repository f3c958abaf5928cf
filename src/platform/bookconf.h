#pragma once
// calvora.conf in the data folder: where this desk keeps its appointment book. Written by
// --server and --file, read at every start, so that a start from the desktop menu reaches the
// practice server with nothing typed. An INI file:
//
//     [book]
//     server=postgresql://calvora@frontdesk/practice
//
// No server (or no file) is the book in db.mdb. Passwords are never written here.
#include <QString>

namespace program {

QString confPath(const QString& folder);

struct RememberedBook {
    QString server;  // the remembered connection string; empty for the file
    QString error;   // why calvora.conf could not be read; empty when it could
};
RememberedBook rememberedBook(const QString& folder);

// Remembers a server (or the file, for an empty text) in the folder's calvora.conf. Returns
// why it could not be written, or an empty text. A connection string holding a password is
// refused: passwords belong in libpq's own places.
QString rememberBook(const QString& folder, const QString& server);

}  // namespace program
