#pragma once
// Where db.mdb lives for this run. A build or a portable copy keeps it beside the executable;
// an installed program, whose own folder is not the user's to write, keeps it in the user's
// data folder, filled on the first start with a copy of the database shipped with it.
#include <QString>

namespace program {

struct DataFolderPlaces {
    QString requested;         // --data; empty when not given
    QString executableFolder;  // the folder of the running program
    QString userFolder;        // the user's data folder for the program
};

struct DataFolder {
    QString folder;       // where db.mdb is to be found
    bool copied = false;  // the shipped database was copied in on this start
    QString error;        // why that copy failed; empty when it did not
};

// The database file shipped with the program, installed read-only beside it:
// <executable folder>/../share/calvora/db.mdb (as the install's folders are laid out), so that
// any install prefix works.
QString shippedDatabase(const QString& executableFolder);

// Chooses the folder: the requested one; else the executable's folder when it holds a db.mdb;
// else the user's data folder, made if missing (for the user alone), where the shipped database
// is copied in (readable and writable by the user alone) when it holds no db.mdb yet. An
// existing db.mdb is never replaced, no other folder ever gets one made, and a requested folder
// keeps the rights the practice gave it.
DataFolder chooseDataFolder(const DataFolderPlaces& places);

// The places of this run (the user's folder from QStandardPaths::AppDataLocation).
DataFolderPlaces dataFolderPlaces(const QString& requested);

}  // namespace program
