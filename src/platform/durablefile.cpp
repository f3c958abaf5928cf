#include "platform/durablefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace durable {
namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(durablefile)
};

// The failure a test asked for: the step-th step from the last request fails with `error`.
struct Seam {
    int step = 0;
    int error = 0;
    int taken = 0;
    bool failed = false;
};
Seam g_seam;
qint64 g_changedByte = -1;

// Counts one step; true, with errno set, when it is the step a test wants to fail.
bool injected()
{
    ++g_seam.taken;
    if (g_seam.step == 0 || g_seam.taken != g_seam.step)
        return false;
    g_seam.failed = true;
    errno = g_seam.error;
    return true;
}

std::error_code injectedCode()
{
    return {g_seam.error, std::generic_category()};
}

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

// The system's words, except where they hide what the user can do: a full disk is said to
// be full.
QString describe(const std::error_code& ec)
{
    if (ec == std::errc::no_space_on_device)
        return Tr::tr("the disk is full");
#if defined(EDQUOT)
    if (ec.value() == EDQUOT && ec.category() == std::generic_category())
        return Tr::tr("the disk is full (the user's quota on it is used up)");
#endif
    if (ec == std::errc::file_too_large)
        return Tr::tr("the file is too large for that disk");
    QString text = QString::fromLocal8Bit(ec.message().c_str());
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString describeErrno(int error)
{
    return describe(std::error_code(error, std::generic_category()));
}

QString shortCopy(qint64 copied, qint64 size)
{
    return Tr::tr("the disk took only %1 of %2 bytes; it may be full").arg(copied).arg(size);
}

#if defined(Q_OS_UNIX)
constexpr size_t kChunk = size_t(1) << 20;

// An open file, closed on every way out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now: a disk may report a failed write only here.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// Writes all of `size` bytes; -1 with errno on a failure (a disk that fills part way takes a
// short write first and refuses the next).
bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

// Copies up to one chunk; the number of bytes copied, 0 at the end of the source, -1 with
// errno on a failure. The kernel copies without the data passing through the program where
// the disks allow it.
ssize_t copyChunk(int in, int out, size_t wanted, bool& inKernel, std::vector<char>& buffer)
{
#if defined(Q_OS_LINUX)
    if (inKernel) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, wanted, 0);
        if (n >= 0 || (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP))
            return n;
        // The two disks cannot copy between themselves: through the program then. Nothing was
        // copied by the failed call.
        inKernel = false;
    }
#else
    inKernel = false;
#endif
    buffer.resize(kChunk);
    ssize_t n;
    do
        n = ::read(in, buffer.data(), std::min(wanted, buffer.size()));
    while (n < 0 && errno == EINTR);
    if (n <= 0)
        return n;
    return writeAll(out, buffer.data(), size_t(n)) ? n : -1;
}
#endif

}  // namespace

void failStepForTesting(int step, int error)
{
    g_seam = Seam{step, error, 0, false};
}

int stepsForTesting()
{
    return g_seam.taken;
}

bool failedForTesting()
{
    return g_seam.failed;
}

void changeCopyForTesting(qint64 at)
{
    g_changedByte = at;
}

#if defined(Q_OS_UNIX)
namespace {

QString copyFrom(int in, const QString& target)
{
    struct stat info {};
    if (::fstat(in, &info) != 0 || ::lseek(in, 0, SEEK_SET) != 0)
        return describeErrno(errno);
    const QByteArray targetName = QFile::encodeName(target);
    // A new file, so that it takes the user's own mode and not an earlier file's.
    if (::unlink(targetName.constData()) != 0 && errno != ENOENT)
        return describeErrno(errno);
    Fd out(injected() ? -1 : ::open(targetName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (out.get() < 0)
        return describeErrno(errno);

    const qint64 size = info.st_size;
    qint64 copied = 0;
    bool inKernel = true;
    std::vector<char> buffer;
    while (copied < size) {
        const ssize_t n = injected() ? -1 : copyChunk(in, out.get(), size_t(std::min<qint64>(size - copied, kChunk)), inKernel, buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return describeErrno(errno);
        if (n == 0)
            break;
        copied += n;
    }
    if (const qint64 at = std::exchange(g_changedByte, -1); at >= 0 && at < copied) {
        char byte = 0;
        if (::pread(in, &byte, 1, at) == 1) {
            byte = char(~byte);
            if (::pwrite(out.get(), &byte, 1, at) != 1)
                return describeErrno(errno);
        }
    }
    if (injected() || ::fsync(out.get()) != 0)
        return describeErrno(errno);
    struct stat written {};
    if (::fstat(out.get(), &written) != 0)
        return describeErrno(errno);
    if (copied != size || written.st_size != size)
        return shortCopy(std::min<qint64>(copied, written.st_size), size);
    if (out.close() != 0)
        return describeErrno(errno);
    return {};
}

}  // namespace

QString copyToDisk(const QString& source, const QString& target)
{
    Fd in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return describeErrno(errno);
    return copyFrom(in.get(), target);
}

QString copyToDisk(QFile& source, const QString& target)
{
    return copyFrom(source.handle(), target);
}
#else
QString copyToDisk(const QString& source, const QString& target)
{
    std::error_code ec;
    if (injected())
        return describe(injectedCode());
    std::filesystem::copy_file(fsPath(source), fsPath(target),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        return describe(ec);
    // The copy is the user's to write, whatever the source was.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    QFile copy(target);
    if (!copy.open(QIODevice::ReadWrite))
        return copy.errorString();
    if (injected() || ::_commit(copy.handle()) != 0)
        return describeErrno(errno);
    if (copy.size() != QFileInfo(source).size())
        return shortCopy(copy.size(), QFileInfo(source).size());
    return {};
}

QString copyToDisk(QFile& source, const QString& target)
{
    return copyToDisk(source.fileName(), target);
}
#endif

QString readBack(const QString& path, QFile* original)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    if (original && !original->seek(0))
        return original->errorString();
#if defined(Q_OS_LINUX)
    // The cached pages go first, so the reads below reach the disk, in one sweep.
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_DONTNEED);
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    std::vector<char> buffer(size_t(1) << 20);
    std::vector<char> expected(original ? buffer.size() : 0);
    qint64 read = 0;
    for (;;) {
        const qint64 n = file.read(buffer.data(), qint64(buffer.size()));
        if (n < 0)
            return file.errorString();
        if (original) {
            // Read to the same length, so that a copy cut short or grown shows as one.
            const qint64 m = original->read(expected.data(), std::max<qint64>(n, 1));
            if (m < 0)
                return original->errorString();
            if (m != n || std::memcmp(buffer.data(), expected.data(), size_t(n)) != 0) {
                const qint64 common = std::min(n, m);
                const qint64 at = std::mismatch(buffer.data(), buffer.data() + common, expected.data()).first
                                  - buffer.data();
                return Tr::tr("what the disk gives back differs from the database from byte %1 on").arg(read + at);
            }
        }
        if (n == 0)
            break;
        read += n;
    }
    if (read != file.size())
        return Tr::tr("only %1 of %2 bytes could be read").arg(read).arg(file.size());
    return {};
}

QString replace(const QString& source, const QString& target)
{
    if (injected())
        return describe(injectedCode());
    std::error_code ec;
    std::filesystem::rename(fsPath(source), fsPath(target), ec);
    return ec ? describe(ec) : QString();
}

QString link(const QString& path, const QString& second, bool* unsupported)
{
    if (unsupported)
        *unsupported = false;
    std::error_code ec;
    if (injected())
        ec = injectedCode();
    else
        std::filesystem::create_hard_link(fsPath(path), fsPath(second), ec);
    if (!ec)
        return {};
    if (unsupported)
        *unsupported = ec == std::errc::operation_not_permitted || ec == std::errc::operation_not_supported ||
                       ec == std::errc::function_not_supported;
    return describe(ec);
}

QString keepAs(const QString& path, const QString& kept)
{
    std::error_code ec;
    std::filesystem::remove(fsPath(kept), ec);
    bool unsupported = false;
    const QString why = link(path, kept, &unsupported);
    // A disk without second names (a FAT stick) keeps a copy instead.
    return unsupported ? copyToDisk(path, kept) : why;
}

QString syncFolder(const QString& folder)
{
#if defined(Q_OS_UNIX)
    if (injected())
        return describe(injectedCode());
    Fd fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0)
        return describeErrno(errno);
    // Some disks cannot sync a folder at all; their renames are as durable as they get.
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS)
        return describeErrno(errno);
#else
    // Elsewhere a rename is made durable by the system itself, or not at all.
    Q_UNUSED(folder);
#endif
    return {};
}

}  // namespace durable
