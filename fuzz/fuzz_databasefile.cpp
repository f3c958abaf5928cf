// A file of arbitrary bytes offered as the database (restored from a damaged disk, or not a
// database at all): it is refused with a reason, or accepted whole; it never crashes the
// program, and the file, with nothing beside it, is exactly as it was.
#include "storage/file/databasefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir* g_dir = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    g_dir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = g_dir->filePath(QStringLiteral("db.mdb"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
    const QString problem = storage::databaseProblem(path, storage::Check::Full);
    // A refusal gives a reason a user can read.
    if (!problem.isEmpty() && problem.trimmed().size() < 8)
        std::abort();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes)
        std::abort();
    if (QDir(g_dir->path()).entryList(QDir::Files | QDir::Hidden) != QStringList{QStringLiteral("db.mdb")})
        std::abort();
    return 0;
}
