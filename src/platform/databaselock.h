#pragma once
// One copy of the program at a time on one db.mdb: a lock file beside the database, held for
// as long as the program runs. Two copies on the same file would each save their own version
// of a page, the second silently undoing the first.
#include <QLockFile>
#include <QString>

namespace program {

class DatabaseLock {
public:
    enum class State {
        Held,                   // this copy holds the lock
        InUse,                  // another running copy holds it
        ReadOnlyInUse,          // the folder is read-only to us, and another copy holds it
        ReadOnly,               // the folder is read-only to us: no lock can be made there
        NotMade,                // the lock file could not be written (a full disk): see reason()
    };

    // Tries to take the lock of the db.mdb in `folder`. A lock left by a copy that no longer
    // runs is taken over, and so is one that names no owner at all (empty or unreadable, as a
    // power cut while it was written leaves it); a lock still held by a running copy is not.
    explicit DatabaseLock(const QString& folder);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    State state() const { return state_; }
    // Why the lock file could not be made (NotMade), in the system's words.
    const QString& reason() const { return reason_; }
    static QString lockPath(const QString& folder);

private:
    QLockFile lock_;
    State state_ = State::ReadOnly;
    QString reason_;
};

}  // namespace program
