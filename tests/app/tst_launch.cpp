// The start of the program before its first window: the data folder it settles on and the
// lock that keeps a second copy off the same db.mdb.
#include "app/startup.h"
#include "common/scripteddialogs.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kRunning = QStringLiteral("Calvora is already running on this file.");

// A lock file as a copy that crashed would have left it: its process is gone.
void leaveStaleLock(const QString& folder)
{
    const QString path = program::DatabaseLock::lockPath(folder);
    QByteArray content;
    {
        QLockFile lock(path);
        QVERIFY(lock.tryLock(0));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        content = f.readAll();
    }
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    content.replace(0, content.indexOf('\n'), QByteArray::number(child));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

qint64 lockHolder(const QString& folder)
{
    QFile f(program::DatabaseLock::lockPath(folder));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readLine().trimmed().toLongLong();
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
    void cleanup();
    void lock_data();
    void lock();
    void lockReleasedAtTheEnd();
    void readOnlyFolder_data();
    void readOnlyFolder();
    void firstStartCopyFails();
};

void tst_launch::cleanup()
{
    program::setFolder(QString());
}

void tst_launch::lock_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<QString>("message");
    QTest::newRow("no other copy") << "none" << true << "";
    QTest::newRow("another copy running") << "running" << false << kRunning;
    QTest::newRow("a crashed copy's lock is taken over") << "crashed" << true << "";
}

void tst_launch::lock()
{
    QFETCH(QString, before);
    QFETCH(bool, runs);
    QFETCH(QString, message);
    QTemporaryDir dir;
    std::unique_ptr<program::DatabaseLock> first;
    if (before == "running") {
        first = std::make_unique<program::DatabaseLock>(dir.path());
        QCOMPARE(first->state(), program::DatabaseLock::State::Held);
    } else if (before == "crashed") {
        leaveStaleLock(dir.path());
    }

    ScriptedDialogs dialogs;
    const startup::Begun begun = startup::begin({dir.path(), "/nonexistent/bin", "/nonexistent/user"});
    QCOMPARE(begun.run, runs);
    QCOMPARE(begun.exitCode, runs ? 0 : 1);
    QCOMPARE(program::folder(), dir.path());
    if (message.isEmpty()) {
        QCOMPARE(dialogs.messages.size(), 0);
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, message);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Calvora"));
        QCOMPARE(dialogs.messages[0].buttons, dialogs::Buttons::Ok);
    }
    QVERIFY(!anyWindowShown());
    // The lock is this copy's only when it runs.
    QCOMPARE(lockHolder(dir.path()) == QCoreApplication::applicationPid(), true);
    QCOMPARE(begun.lock->state() == program::DatabaseLock::State::Held, runs);
    // No database is made by a start on a folder without one.
    QVERIFY(!QFile::exists(dir.filePath("db.mdb")));
}

void tst_launch::lockReleasedAtTheEnd()
{
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    {
        const startup::Begun begun = startup::begin({dir.path(), {}, {}});
        QVERIFY(begun.run);
        QVERIFY(QFile::exists(program::DatabaseLock::lockPath(dir.path())));
    }
    QVERIFY(!QFile::exists(program::DatabaseLock::lockPath(dir.path())));
    const startup::Begun again = startup::begin({dir.path(), {}, {}});
    QVERIFY(again.run);
    QCOMPARE(dialogs.messages.size(), 0);
}

void tst_launch::readOnlyFolder_data()
{
    QTest::addColumn<bool>("otherCopy");
    QTest::addColumn<QString>("message");
    QTest::newRow("no other copy")
        << false << "The folder %1 is read-only, so Calvora opens db.mdb there for reading only. You "
                    "can read the pages, but no change will be stored.";
    QTest::newRow("another copy running")
        << true << "Another copy of Calvora is running on the file db.mdb in %1, and this copy "
                   "cannot lock it: the folder is read-only. You can read the pages, but no change "
                   "will be stored.";
}

// A folder the user may read but not write (a colleague's share): the lock cannot be made,
// and the user reads all the same, told why changes will not stay.
void tst_launch::readOnlyFolder()
{
    QFETCH(bool, otherCopy);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString folder = dir.path();
    std::unique_ptr<program::DatabaseLock> other;
    if (otherCopy)
        other = std::make_unique<program::DatabaseLock>(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(folder).isWritable()) {
        // Permissions do not hold for the superuser; a read-only file system does.
        if (otherCopy)
            QSKIP("the superuser writes into any folder but a read-only file system's");
        folder = QStringLiteral("/sys");
    }

    ScriptedDialogs dialogs;
    const startup::Begun begun = startup::begin({folder, {}, {}});
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(begun.run);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, message.arg(folder));
    QCOMPARE(dialogs.messages[0].icon, dialogs::Icon::Information);
}

void tst_launch::firstStartCopyFails()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("usr/bin"));
    QDir().mkpath(dir.filePath("usr/share/calvora"));
    QVERIFY(QFile::copy(CALVORA_SEED_DB, dir.filePath("usr/share/calvora/db.mdb")));
    // A file where the user's data folder should be made.
    QFile blocker(dir.filePath("home"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString user = dir.filePath("home/Calvora");

    ScriptedDialogs dialogs;
    const startup::Begun begun = startup::begin({{}, dir.filePath("usr/bin"), user});
    QVERIFY(begun.run);
    QCOMPARE(program::folder(), user);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("The data folder %1 could not be made.").arg(user));
    QCOMPARE(dialogs.messages[0].icon, dialogs::Icon::Critical);
}

QTEST_MAIN(tst_launch)
#include "tst_launch.moc"
