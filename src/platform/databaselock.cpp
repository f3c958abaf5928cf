#include "platform/databaselock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace program {
namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(databaselock)
};

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

// Why a lock file cannot be written in `folder`: the lock makes its file in one step and
// removes it again when writing fails, without saying why, so the same step is tried once more
// on a file of its own to learn the system's reason (no space left, a quota, an I/O error).
QString whyNoLockFile(const QString& folder)
{
#if defined(Q_OS_UNIX)
    const QByteArray probe = QFile::encodeName(QDir(folder).filePath(QStringLiteral("db.mdb.lock-probe")));
    int error = 0;
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
    } else {
        const char content[] = "0\nCalvora\nlocalhost\n";
        if (::write(fd, content, sizeof content - 1) != ssize_t(sizeof content - 1))
            error = errno ? errno : ENOSPC;
        else if (::fsync(fd) != 0)
            error = errno;
        ::close(fd);
        ::unlink(probe.constData());
    }
    if (error != 0)
        return QString::fromLocal8Bit(std::strerror(error));
#else
    Q_UNUSED(folder);
#endif
    return Tr::tr("the system gave no reason");
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
    // A lock file that names no owner (empty, cut short or garbage) is left by a copy that
    // stopped while writing it: no running copy can be asked about it, so it would shut the
    // user out for good. It is removed only when no copy holds it open (the lock keeps its file
    // locked while it runs), so a live owner is still respected.
    qint64 pid = 0;
    QString host, app;
    if (lock_.error() == QLockFile::LockFailedError && !lock_.getLockInfo(&pid, &host, &app)) {
        lock_.removeStaleLockFile();
        if (lock_.tryLock(0)) {
            state_ = State::Held;
            return;
        }
    }
    if (lock_.error() == QLockFile::UnknownError && QFileInfo(folder).isWritable()) {
        // Not for want of rights, nor held by another copy: the file could not be written.
        reason_ = whyNoLockFile(folder);
        state_ = State::NotMade;
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
