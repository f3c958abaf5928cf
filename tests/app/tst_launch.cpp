// The start of the program before its first window: the data folder it settles on and the
// lock that keeps a second copy off the same db.mdb.
#include "app/startup.h"
#include "common/files.h"
#include "common/scripteddialogs.h"
#include "common/testfolder.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Writes over a file in place, so that a lock held on it stays held.
void overwrite(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(content), content.size());
}

// A lock file as a copy that crashed would have left it: its process is gone.
void leaveStaleLock(const QString& folder)
{
    const QString path = program::DatabaseLock::lockPath(folder);
    QByteArray content;
    {
        QLockFile lock(path);
        QVERIFY(lock.tryLock(0));
        content = readAll(path);
    }
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    content.replace(0, content.indexOf('\n'), QByteArray::number(child));
    overwrite(path, content);
}

// Makes this (single-threaded, forked) process root of a user namespace of its own, where it
// may mount a small file system; false where the system allows no such namespace.
bool ownMountNamespace()
{
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    const auto put = [](const char* file, const QByteArray& text) {
        const int fd = ::open(file, O_WRONLY);
        const bool ok = fd >= 0 && ::write(fd, text.constData(), text.size()) == text.size();
        if (fd >= 0)
            ::close(fd);
        return ok;
    };
    return put("/proc/self/setgroups", "deny") && put("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") &&
           put("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1") &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool anyWindowShown()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            return true;
    return false;
}

}  // namespace

class tst_launch : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { program::setFolder(QString()); }

    void lock_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("runs");
        QTest::newRow("no other copy") << "none" << true;
        QTest::newRow("another copy running") << "running" << false;
        QTest::newRow("a crashed copy's lock is taken over") << "crashed" << true;
        // A power cut while the lock was being written leaves it empty or cut short.
        QTest::newRow("an empty lock file is taken over") << "empty" << true;
        QTest::newRow("a garbled lock file is taken over") << "garbled" << true;
        QTest::newRow("a running copy's garbled lock is respected") << "running, garbled" << false;
    }

    void lock()
    {
        QFETCH(QString, before);
        QFETCH(bool, runs);
        QTemporaryDir dir;
        std::unique_ptr<program::DatabaseLock> first;
        const QString lockFile = program::DatabaseLock::lockPath(dir.path());
        if (before.startsWith("running"))
            first = std::make_unique<program::DatabaseLock>(dir.path());
        if (before == "crashed")
            leaveStaleLock(dir.path());
        else if (before == "empty")
            overwrite(lockFile, {});
        else if (before.endsWith("garbled"))
            overwrite(lockFile, "\x01\xff\nnot a lock\0\n");

        ScriptedDialogs dialogs;
        const startup::Begun begun = startup::begin({dir.path(), "/nonexistent/bin", "/nonexistent/user"});
        QCOMPARE(begun.run, runs);
        QCOMPARE(begun.exitCode, runs ? 0 : 1);
        QCOMPARE(program::folder(), dir.path());
        QCOMPARE(dialogs.messages.size(), runs ? 0 : 1);
        if (!runs)
            QCOMPARE(dialogs.messages[0].text, QStringLiteral("Calvora is already running on this file."));
        QVERIFY(!anyWindowShown());
        if (runs)
            QCOMPARE(lockHolder(program::DatabaseLock::lockPath(dir.path())), QCoreApplication::applicationPid());
        QCOMPARE(begun.lock->state() == program::DatabaseLock::State::Held, runs);
        // No database is made by a start on a folder without one.
        QVERIFY(!QFile::exists(dir.filePath("db.mdb")));
    }

    void startGoesOnWithAMessage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");  // %1: the folder
        QTest::addColumn<int>("icon");
        const int information = int(dialogs::Icon::Information), critical = int(dialogs::Icon::Critical);
        // A folder the user may read but not write (a colleague's share): the lock cannot be made,
        // and the user reads all the same, told why changes will not stay.
        QTest::newRow("read-only folder")
            << "read-only" << "The folder %1 is read-only, so Calvora opens db.mdb there for reading only. You "
                              "can read the pages, but no change will be stored." << information;
        QTest::newRow("read-only folder, another copy running")
            << "read-only, running" << "Another copy of Calvora is running on the file db.mdb in %1, and this copy "
                                       "cannot lock it: the folder is read-only. You can read the pages, but no "
                                       "change will be stored." << information;
        QTest::newRow("the user's data folder cannot be made")
            << "blocked" << "The data folder %1 could not be made." << critical;
    }

    void startGoesOnWithAMessage()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QTemporaryDir dir;
        program::DataFolderPlaces places{dir.path(), {}, {}};
        std::unique_ptr<program::DatabaseLock> other;
        if (kind == "blocked") {
            QDir().mkpath(dir.filePath("usr/bin"));
            QDir().mkpath(dir.filePath("usr/share/calvora"));
            QVERIFY(QFile::copy(seedDatabase(), dir.filePath("usr/share/calvora/db.mdb")));
            // A file where the user's data folder should be made.
            QFile blocker(dir.filePath("home"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            places = {{}, dir.filePath("usr/bin"), dir.filePath("home/Calvora")};
        } else {
            if (kind.endsWith("running"))
                other = std::make_unique<program::DatabaseLock>(dir.path());
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            if (QFileInfo(dir.path()).isWritable()) {
                // Permissions do not hold for the superuser; a read-only file system does.
                if (other)
                    QSKIP("the superuser writes into any folder but a read-only file system's");
                places.requested = QStringLiteral("/sys");
            }
        }

        ScriptedDialogs dialogs;
        const startup::Begun begun = startup::begin(places);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(begun.run);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, message.arg(program::folder()));
        QCOMPARE(int(dialogs.messages[0].icon), icon);
    }

    // A disk with no room left: the lock file cannot be written. The user is told why and reads
    // on, where the lock once said that another copy was running.
    void fullDiskReadsOn()
    {
        QTemporaryDir dir;
        const QString disk = dir.filePath("disk");
        QVERIFY(QDir().mkpath(disk));
        int channel[2];
        QVERIFY(pipe(channel) == 0);
        const pid_t child = fork();
        if (child == 0) {
            ::close(channel[0]);
            QByteArray report = "skip";
            if (ownMountNamespace() &&
                mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") == 0) {
                QFile filler(disk + "/filler");
                if (filler.open(QIODevice::WriteOnly))
                    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush())
                        ;
                filler.close();
                ScriptedDialogs dialogs;
                const startup::Begun begun = startup::begin({disk, "/nonexistent/bin", "/nonexistent/user"});
                report = QByteArray::number(begun.run) + "\n" + QByteArray::number(dialogs.messages.size());
                for (const dialogs::Prompt& prompt : dialogs.messages)
                    report += "\n" + prompt.text.toUtf8();
                report += QFile::exists(program::DatabaseLock::lockPath(disk)) ? "\nlock left" : "";
            }
            const bool sent = ::write(channel[1], report.constData(), report.size()) == report.size();
            _exit(sent ? 0 : 1);
        }
        ::close(channel[1]);
        QFile from;
        QVERIFY(from.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        const QByteArray report = from.readAll();
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        if (report == "skip")
            QSKIP("this system lets no test mount a small disk of its own");
        const QString lockFile = program::DatabaseLock::lockPath(disk);
        QCOMPARE(QString::fromUtf8(report),
                 QStringLiteral("1\n1\nCalvora could not make its lock file %1: No space left on device. "
                                "You can read the pages, but a change may not be stored until this is "
                                "put right, and nothing keeps a second copy of Calvora off the file "
                                "meanwhile.").arg(lockFile));
    }
};

QTEST_MAIN(tst_launch)
#include "tst_launch.moc"
