#include "platform/databaselock.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#endif

namespace program {
namespace {

// Whether the copy named in an existing lock file still runs. A copy on another computer
// (a shared folder) cannot be asked, and counts as running.
bool holderRuns(const QLockFile& lock)
{
    qint64 pid = 0;
    QString host;
    QString app;
    if (!lock.getLockInfo(&pid, &host, &app))
        return false;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return true;
#if defined(Q_OS_UNIX)
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    return true;
#endif
}

}  // namespace

DatabaseLock::DatabaseLock(const QString& folder) : lock_(lockPath(folder))
{
    // Staleness by age alone would hand a lock to a second copy while the first still runs
    // after half a minute; a lock counts as stale only when the copy that made it is gone.
    lock_.setStaleLockTime(0);
    if (lock_.tryLock(0)) {
        state_ = State::Held;
        return;
    }
    const bool readOnly = lock_.error() == QLockFile::PermissionError ||
                          !QFileInfo(folder).isWritable();
    // Where no lock can be made, a lock file left by a crashed copy cannot be taken over
    // either: only a running holder counts.
    const bool inUse = lock_.error() == QLockFile::LockFailedError && (!readOnly || holderRuns(lock_));
    if (readOnly)
        state_ = inUse ? State::ReadOnlyInUse : State::ReadOnly;
    else
        state_ = State::InUse;
}

DatabaseLock::~DatabaseLock() = default;

QString DatabaseLock::lockPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("db.mdb.lock"));
}

}  // namespace program
