#pragma once
// Input and output failures of the database engine on purpose. While an object of this class
// lives, every connection opened from then on reaches its files through a layer that counts
// the steps that change a file (write, sync, truncate, delete) and fails the Nth one: that one
// alone (a passing fault), or it and every later one until stop() (a disk that fills up or
// goes away).
#include <QString>

class FaultyFiles {
public:
    FaultyFiles();
    ~FaultyFiles();
    FaultyFiles(const FaultyFiles&) = delete;
    FaultyFiles& operator=(const FaultyFiles&) = delete;

    // The Nth step from now on fails; with `lasting`, every later one too until stop().
    void fail(int n, bool lasting);
    // The steps succeed again.
    void stop();
    // Whether a step failed since failFrom().
    bool fired() const;
    // What failed first, as "write 3 of db.mdb-journal".
    QString firstFailure() const;
};
