#include "common/faultyfiles.h"

#include <QFileInfo>
#include <cstring>
#include <sqlite3.h>

namespace {

sqlite3_vfs g_vfs;
sqlite3_vfs* g_base = nullptr;
int g_countdown = 0;  // 0: no failures armed
bool g_failing = false;
bool g_fired = false;
bool g_lasting = false;
int g_steps = 0;
QString g_first;

// A file of the engine's with the base layer's own file after it.
struct File {
    sqlite3_file base;
    sqlite3_file* real;
    const char* name;
};

sqlite3_file* real(sqlite3_file* f)
{
    return reinterpret_cast<File*>(f)->real;
}

// Whether this step fails; counted only while failures are armed.
bool fails(const char* step, const char* name)
{
    if (g_countdown == 0 && !g_failing)
        return false;
    ++g_steps;
    if (g_failing)
        return true;
    if (g_countdown > 0 && --g_countdown == 0) {
        g_failing = g_lasting;
        g_fired = true;
        g_first = QStringLiteral("%1 %2 of %3").arg(QLatin1String(step)).arg(g_steps)
                      .arg(name ? QFileInfo(QString::fromUtf8(name)).fileName() : QStringLiteral("a temporary file"));
        return true;
    }
    return false;
}

int xClose(sqlite3_file* f)
{
    const int rc = real(f)->pMethods ? real(f)->pMethods->xClose(real(f)) : SQLITE_OK;
    f->pMethods = nullptr;
    return rc;
}
int xRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
}
int xWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (fails("write", reinterpret_cast<File*>(f)->name))
        return SQLITE_FULL;
    return real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    if (fails("truncate", reinterpret_cast<File*>(f)->name))
        return SQLITE_IOERR_TRUNCATE;
    return real(f)->pMethods->xTruncate(real(f), size);
}
int xSync(sqlite3_file* f, int flags)
{
    if (fails("sync", reinterpret_cast<File*>(f)->name))
        return SQLITE_IOERR_FSYNC;
    return real(f)->pMethods->xSync(real(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) { return real(f)->pMethods->xFileSize(real(f), size); }
int xLock(sqlite3_file* f, int lock) { return real(f)->pMethods->xLock(real(f), lock); }
int xUnlock(sqlite3_file* f, int lock) { return real(f)->pMethods->xUnlock(real(f), lock); }
int xCheckReservedLock(sqlite3_file* f, int* out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); }
int xFileControl(sqlite3_file* f, int op, void* arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); }
int xSectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int xDeviceCharacteristics(sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }

// Version 1 of the methods: no shared memory and no memory mapping, so every change goes
// through xWrite (the engine then keeps a rollback journal, as the program does).
const sqlite3_io_methods kMethods = {1, xClose, xRead, xWrite, xTruncate, xSync, xFileSize, xLock, xUnlock,
                                     xCheckReservedLock, xFileControl, xSectorSize, xDeviceCharacteristics,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags)
{
    File* file = reinterpret_cast<File*>(f);
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    file->name = name;
    const int rc = g_base->xOpen(g_base, name, file->real, flags, outFlags);
    f->pMethods = file->real->pMethods ? &kMethods : nullptr;
    return rc;
}

int xDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    if (fails("delete", name))
        return SQLITE_IOERR_DELETE;
    return g_base->xDelete(g_base, name, syncDir);
}

}  // namespace

FaultyFiles::FaultyFiles()
{
    g_base = sqlite3_vfs_find(nullptr);
    g_vfs = *g_base;
    g_vfs.zName = "calvora-faulty-files";
    g_vfs.pNext = nullptr;
    g_vfs.szOsFile = int(sizeof(File)) + g_base->szOsFile;
    g_vfs.xOpen = xOpen;
    g_vfs.xDelete = xDelete;
    sqlite3_vfs_register(&g_vfs, 1);
    stop();
}

FaultyFiles::~FaultyFiles()
{
    stop();
    sqlite3_vfs_unregister(&g_vfs);
    sqlite3_vfs_register(g_base, 1);
}

void FaultyFiles::fail(int n, bool lasting)
{
    g_countdown = n;
    g_lasting = lasting;
    g_failing = false;
    g_fired = false;
    g_steps = 0;
    g_first.clear();
}

void FaultyFiles::stop()
{
    g_countdown = 0;
    g_failing = false;
}

bool FaultyFiles::fired() const
{
    return g_fired;
}

QString FaultyFiles::firstFailure() const
{
    return g_first;
}
