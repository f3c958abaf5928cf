#include "common/readonlyfiles.h"

#include <QFileInfo>
#include <set>
#include <sqlite3.h>
#include <string>

namespace {

sqlite3_vfs g_vfs;
sqlite3_vfs* g_base = nullptr;
std::set<std::string> g_paths;

std::string canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString full = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    return full.toStdString();
}

int openFile(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    if (name && (flags & SQLITE_OPEN_MAIN_DB) && g_paths.count(canonical(QString::fromUtf8(name)))) {
        flags &= ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        flags |= SQLITE_OPEN_READONLY;
    }
    return g_base->xOpen(g_base, name, file, flags, outFlags);
}

}  // namespace

ReadOnlyFiles::ReadOnlyFiles()
{
    g_base = sqlite3_vfs_find(nullptr);
    g_vfs = *g_base;
    g_vfs.zName = "calvora-readonly-files";
    g_vfs.pNext = nullptr;
    g_vfs.xOpen = openFile;
    sqlite3_vfs_register(&g_vfs, 1);
}

ReadOnlyFiles::~ReadOnlyFiles()
{
    sqlite3_vfs_unregister(&g_vfs);
    sqlite3_vfs_register(g_base, 1);
    g_paths.clear();
}

void ReadOnlyFiles::add(const QString& path)
{
    g_paths.insert(canonical(path));
}

void ReadOnlyFiles::remove(const QString& path)
{
    g_paths.erase(canonical(path));
}
