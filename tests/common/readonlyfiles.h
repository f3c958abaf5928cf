#pragma once
// Database files that the engine opens read-only, as it does a file the user may not write.
// The tests run with rights that pass over file permissions, so the engine's file layer is
// told instead: while an object of this class lives, the files added to it open read-only.
#include <QString>

class ReadOnlyFiles {
public:
    ReadOnlyFiles();
    ~ReadOnlyFiles();
    ReadOnlyFiles(const ReadOnlyFiles&) = delete;
    ReadOnlyFiles& operator=(const ReadOnlyFiles&) = delete;

    // From the next opening of the file on.
    void add(const QString& path);
    void remove(const QString& path);
};
