// Linked into the test executables that hold read-only cases. File permissions do not hold for
// the superuser, so a suite run as root (as CI runs it) would pass over those cases; here such a
// run gives up its rights before the first test, and carries on as the unprivileged user
// `nobody`. The seed database, which may lie in a folder that user cannot reach, is copied out
// first to a folder of its own.
#include "common/testfolder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "cannot run the tests as an unprivileged user: %s: %s\n", what, std::strerror(errno));
    std::_Exit(2);
}

bool copyFile(const char* from, const char* to)
{
    const int in = ::open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = ::open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    bool ok = out >= 0;
    char buffer[65536];
    ssize_t n = 0;
    while (ok && (n = ::read(in, buffer, sizeof buffer)) > 0)
        ok = ::write(out, buffer, size_t(n)) == n;
    ok = ok && n == 0;
    ::close(in);
    if (out >= 0)
        ok = ::close(out) == 0 && ok;
    return ok;
}

std::string g_folder;

void removeFolder()
{
    ::unlink((g_folder + "/seed.mdb").c_str());
    ::rmdir((g_folder + "/runtime").c_str());
    ::rmdir(g_folder.c_str());
}

const bool g_dropped = [] {
    if (::geteuid() != 0)
        return false;
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        fail("no user named nobody");
    char folder[] = "/tmp/calvora-unprivileged-XXXXXX";
    if (!::mkdtemp(folder))
        fail("mkdtemp");
    g_folder = folder;
    const std::string seed = g_folder + "/seed.mdb";
    if (!copyFile(seedDatabase().toLocal8Bit().constData(), seed.c_str()))
        fail("copying the seed database");
    if (::chown(folder, nobody->pw_uid, nobody->pw_gid) != 0 || ::chmod(folder, 0755) != 0)
        fail("handing the folder over");
    setSeedDatabase(QString::fromLocal8Bit(seed.c_str()));
    // Settings and caches a library may write go to the same folder, not to root's home.
    ::setenv("HOME", folder, 1);
    const std::string runtime = g_folder + "/runtime";
    if (::mkdir(runtime.c_str(), 0700) != 0 || ::chown(runtime.c_str(), nobody->pw_uid, nobody->pw_gid) != 0)
        fail("making the runtime folder");
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
        fail("giving up the superuser's rights");
    if (::setuid(0) == 0)
        fail("the superuser's rights came back");
    // As any process of that user's: its own /proc files belong to it (a test may make a user
    // namespace of its own), which a change of user otherwise takes away.
    ::prctl(PR_SET_DUMPABLE, 1);
    std::atexit(removeFolder);
    return true;
}();

}  // namespace
