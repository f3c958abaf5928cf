#include "platform/durablefile.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace durable {
namespace {

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

QString describe(const std::error_code& ec)
{
    QString text = QString::fromLocal8Bit(ec.message().c_str());
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

}  // namespace

QString copyToDisk(const QString& source, const QString& target)
{
    std::error_code ec;
    // The system's own copy (in the kernel where it can) is as quick as a copy gets.
    std::filesystem::copy_file(fsPath(source), fsPath(target),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        return describe(ec);
    QFile copy(target);
    if (!copy.open(QIODevice::ReadWrite))
        return copy.errorString();
#if defined(Q_OS_UNIX)
    if (::fsync(copy.handle()) != 0)
        return describe(std::error_code(errno, std::generic_category()));
#elif defined(Q_OS_WIN)
    if (::_commit(copy.handle()) != 0)
        return describe(std::error_code(errno, std::generic_category()));
#endif
    // The copy's size is checked here, where a disk that took less than it was given shows.
    if (copy.size() != QFileInfo(source).size())
        return QStringLiteral("the copy holds %1 of %2 bytes").arg(copy.size()).arg(QFileInfo(source).size());
    return {};
}

void dropCache(const QString& path)
{
#if defined(Q_OS_LINUX)
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_DONTNEED);
#else
    Q_UNUSED(path);
#endif
}

QString replace(const QString& source, const QString& target)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(source), fsPath(target), ec);
    return ec ? describe(ec) : QString();
}

QString keepAs(const QString& path, const QString& kept)
{
    std::error_code ec;
    std::filesystem::remove(fsPath(kept), ec);
    ec.clear();
    std::filesystem::create_hard_link(fsPath(path), fsPath(kept), ec);
    if (!ec)
        return {};
    // A disk without hard links (a FAT stick) keeps a copy instead.
    return copyToDisk(path, kept);
}

void syncFolder(const QString& folder)
{
#if defined(Q_OS_UNIX)
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

}  // namespace durable
