// A desk whose server goes away: it keeps working from its journal, and stores what was typed
// once the server answers again. The test runs its own server, which it stops, suspends and
// starts again underneath the desk.
#include "common/conflictanswers.h"
#include "common/daypage.h"
#include "common/deskprocess.h"
#include "common/refusal.h"
#include "navigation/MemoPanel.h"
#include "page/FlexGrid.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "storage/celltext.h"
#include "storage/history.h"
#include "storage/server/deadline.h"
#include "storage/server/journal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

using storage::setServerDeadline;

namespace {

const QDate Today = DayPageFixture::Today;
QString g_dir;  // the server's folder

// Runs a shell line as the server's owner (the cluster belongs to postgres when run as root):
// its exit code, and what it wrote on its error output in `said`.
int run(const QString& line, QString* said = nullptr)
{
    QString command = QString(line).replace(
        QStringLiteral("PGCTL"),
        QStringLiteral("$(pg_config --bindir 2>/dev/null || echo /usr/lib/postgresql/15/bin)/pg_ctl -D %1/data").arg(g_dir));
    if (::getuid() == 0)
        command = QStringLiteral("cd %1 && runuser -u postgres -- sh -c \"%2\"").arg(g_dir, command.replace('"', "\\\""));
    QProcess p;
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    if (!p.waitForFinished(60000))
        return -1;
    if (said)
        *said = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode();
}

void shell(const QString& line)
{
    QString said;
    QVERIFY2(run(line, &said) == 0, qPrintable(line + said));
}

void stopServer()
{
    shell(QStringLiteral("PGCTL -m immediate stop"));
}

void startServer()
{
    shell(QStringLiteral("PGCTL -l %1/server.log -w start -o \"-c listen_addresses='' -k %1 -c fsync=off\"").arg(g_dir));
}

// Suspends (or resumes) the server and every process it runs, as a frozen computer would.
void suspendServer(bool suspend)
{
    // The postmaster's pid is the first line of postmaster.pid; its children name it as
    // their parent in /proc.
    QFile pidFile(g_dir + QStringLiteral("/data/postmaster.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return;
    const int postmaster = pidFile.readLine().trimmed().toInt();
    QList<int> pids{postmaster};
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile status(QStringLiteral("/proc/%1/status").arg(entry));
        if (entry.toInt() <= 0 || !status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("PPid:") && line.mid(5).trimmed().toInt() == postmaster)
                pids << entry.toInt();
    }
    for (int pid : pids)
        ::kill(pid, suspend ? SIGSTOP : SIGCONT);
}

// The server runs again when a test ends, whatever it left (declared after the day page, so
// that the page's book is dropped on a running server).
struct ServerBack {
    ~ServerBack()
    {
        suspendServer(false);
        if (run(QStringLiteral("PGCTL status")) != 0)
            startServer();
    }
};

// Waits, the event loop running, until `done`; the longest time the loop did not turn goes
// into `stall`.
bool waitFor(const std::function<bool()>& done, qint64& stall, int ms = 30000)
{
    QElapsedTimer beat;
    beat.start();
    QTimer heart;
    QObject::connect(&heart, &QTimer::timeout, [&] { stall = std::max(stall, beat.restart()); });
    heart.start(20);
    QElapsedTimer total;
    total.start();
    while (!done() && total.elapsed() < ms)
        QTest::qWait(20);
    return done();
}

}  // namespace

class tst_offline : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A server of this test's own, which it may stop without touching the other tests'. With
        // CALVORA_STANDBY set, a primary and its streaming standby: the desk names both, and it is
        // the primary that goes away while the standby, which takes no changes, still answers.
        QProcess p;
        const QString note = note_.filePath(QStringLiteral("cluster"));
        if (pair_) {
            p.start(QStringLiteral("sh"), {QStringLiteral(CALVORA_SOURCE_DIR "/tests/server/pgstandby.sh"), QStringLiteral("start")});
            QVERIFY(p.waitForFinished(180000) && p.exitCode() == 0);
            const QString folder = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
            QFile kept(note);
            QVERIFY(kept.open(QIODevice::WriteOnly) && kept.write(folder.toUtf8()) > 0);
            g_dir = folder + QStringLiteral("/a");
            qputenv("PGHOST", QStringLiteral("%1/a,%1/b").arg(folder).toUtf8());
            qputenv("PGTARGETSESSIONATTRS", "read-write");
        } else {
            p.start(QStringLiteral("sh"), {QStringLiteral(CALVORA_SOURCE_DIR "/tests/server/pgcluster.sh"),
                                           QStringLiteral("start"), note});
            QVERIFY(p.waitForFinished(120000) && p.exitCode() == 0);
            QFile f(note);
            QVERIFY(f.open(QIODevice::ReadOnly));
            g_dir = QString::fromUtf8(f.readAll()).trimmed();
            // Started again without the suite's asynchronous commits: a store the server said it
            // committed is on its disk when the test stops it at once.
            shell(QStringLiteral("PGCTL -m fast stop"));
            startServer();
            qputenv("PGHOST", g_dir.toUtf8());
        }
        qputenv("PGUSER", "postgres");
        setServerDeadline(std::chrono::milliseconds(1000));
    }

    void cleanupTestCase()
    {
        const QString note = note_.filePath(QStringLiteral("cluster"));
        if (pair_) {
            QFile f(note);
            if (f.open(QIODevice::ReadOnly))
                QProcess::execute(QStringLiteral("sh"), {QStringLiteral(CALVORA_SOURCE_DIR "/tests/server/pgstandby.sh"),
                                                         QStringLiteral("stop"), QString::fromUtf8(f.readAll())});
        } else {
            QProcess::execute(QStringLiteral("sh"), {QStringLiteral(CALVORA_SOURCE_DIR "/tests/server/pgcluster.sh"),
                                                     QStringLiteral("stop"), note});
        }
    }

    void typedOfflineIsStoredWhenBack_data()
    {
        QTest::addColumn<bool>("suspended");
        QTest::newRow("server stopped") << false;
        QTest::newRow("server suspended") << true;
    }

    void typedOfflineIsStoredWhenBack()
    {
        // A desk in a process of its own types on three days with the server away and is killed;
        // started again on the same computer while the server is still away, it shows what was
        // typed, and every entry is on the server once it answers, recorded in the history at the
        // moment it was typed. Neither desk's loop stood still for long.
        QFETCH(bool, suspended);
        DayPageFixture f;
        ServerBack back;
        const QDate days[] = {Today, Today.addDays(1), Today.addDays(2)};
        auto iso = [](QDate d) { return d.toString(Qt::ISODate); };
        qint64 stall = 0;
        {
            DeskProcess desk(f.book, f.folder.path());
            QVERIFY(desk.ready);
            QCOMPARE(desk.send("date " + iso(days[1])), iso(days[1]));  // read from the server: kept on the desk
            QCOMPARE(desk.send("date " + iso(Today)), iso(Today));
            suspended ? suspendServer(true) : stopServer();
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(desk.send(QStringLiteral("type %1 1 offline %2").arg(5 + i).arg(i)), QStringLiteral("ok"));
                QCOMPARE(desk.send("date " + iso(days[(i + 1) % 3])), iso(days[(i + 1) % 3]));
            }
            QCOMPARE(desk.send("cell 5 1"), QStringLiteral("offline 0"));  // read back from the journal
            QTRY_VERIFY_WITH_TIMEOUT(desk.send("status").contains("(3 pages waiting)"), 30000);
            QVERIFY(desk.send("status").startsWith("Offline since "));
            stall = desk.send("stall").toLongLong();
            desk.kill();
        }
        const QDateTime typedBefore = program::nowUtc();

        QVERIFY(f.open());
        QVERIFY2(f.form->lblStatus->text().contains("(3 pages waiting)"), qPrintable(f.form->lblStatus->text()));
        QCOMPARE(f.form->Grid1->TextMatrix(5, 1), QStringLiteral("offline 0"));
        QVERIFY(f.dialogs.messages.isEmpty());
        // A day the desk never read is laid out from the last set-up known, and says so; what
        // needs the server says so and does nothing.
        f.openDate(days[2]);
        QVERIFY2(f.form->lblCalDate->text().endsWith(", not yet on the server"), qPrintable(f.form->lblCalDate->text()));
        QCOMPARE(f.form->Grid1->TextMatrix(7, 1), QStringLiteral("offline 2"));
        const QString refused = refusal<storage::StorageError>([&] { storage::History(f.form->database()).day(Today); });
        QVERIFY2(refused.startsWith("This desk is offline: the server at ") && refused.contains(" does not answer"),
                 qPrintable(refused));
        // The fixed memo typed offline goes with the pages, and leaving the day asks nothing.
        f.memos->cmdMemo_Click();
        f.memos->TxtFixedMemo->setPlainText(QStringLiteral("fixed memo typed offline"));
        f.form->Grid1->setFocus();  // leaving the box keeps what was typed
        f.openDate(Today);
        QCOMPARE(f.memos->TxtFixedMemo->toPlainText(), QStringLiteral("fixed memo typed offline"));
        // A second copy of the program on this desk is refused the journal.
        QVERIFY(refusal<storage::StorageError>([] { storage::Journal second(storage::journalPath()); })
                    .startsWith("Another copy of Calvora on this desk"));

        suspended ? suspendServer(false) : startServer();
        QVERIFY(waitFor([&] { return f.form->lblStatus->text().startsWith("Back online"); }, stall));
        QCOMPARE(f.form->lblStatus->text(), QStringLiteral("Back online: 3 pages stored, 0 asked"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(f.book.storedCell(days[i], 5 + i, 1), QStringLiteral("offline %1").arg(i));
        const std::vector<storage::Change> history = storage::History(f.form->database()).day(days[2]);
        QVERIFY(!history.empty());
        QCOMPARE(history.front().newText, QStringLiteral("offline 2"));
        QCOMPARE(f.book.value(QStringLiteral("SELECT FixedMemo FROM tbl_Setup")).toString(), QStringLiteral("fixed memo typed offline"));
        QCOMPARE(history.front().desk, storage::deskName());
        QVERIFY(history.front().moment <= typedBefore);
        QVERIFY(f.dialogs.messages.isEmpty());
        qInfo("largest stall of a desk's loop: %lld ms", stall);
        QVERIFY2(stall < 2000, qPrintable(QString::number(stall)));
    }

    void anotherDeskMeanwhile_data()
    {
        // Before this desk hears the server again, another desk stores the same day, or the book is
        // replaced on the server: the kept page is then offered, not stored blindly, and No leaves
        // the restored page as it is.
        QTest::addColumn<int>("theirCol");  // 0: the book replaced
        QTest::addColumn<int>("conflicts");
        QTest::addColumn<bool>("refusedOnce");  // the server refuses the first store of the page
        QTest::newRow("another cell: merged") << 2 << 0 << false;
        QTest::newRow("the same cell: asked") << 1 << 1 << false;
        QTest::newRow("the book restored: offered, No") << 0 << 0 << false;
        // The page stays kept for the book it was typed for: offered again, not merged unasked.
        QTest::newRow("the book restored: offered, Yes, refused, offered again") << 0 << 0 << true;
    }

    void anotherDeskMeanwhile()
    {
        QFETCH(int, theirCol);
        QFETCH(int, conflicts);
        QFETCH(bool, refusedOnce);
        DayPageFixture f;
        ServerBack back;
        QVERIFY(f.open());
        stopServer();
        f.form->Grid1->setTextMatrix(6, 1, QStringLiteral("mine"));
        f.openDate(Today.addDays(1));
        startServer();
        if (theirCol) {
            QList<QStringList> theirs(4);
            theirs[3] = QStringList{QString(), QString()};
            theirs[3][theirCol - 1] = QStringLiteral("theirs");
            f.book.exec(QStringLiteral("UPDATE tbl_Appt SET Data = '%1', version = version + 1 WHERE CalDate = '%2'")
                            .arg(celltext::join(theirs), DayPageFixture::key(Today)));
        } else {
            f.book.exec(QStringLiteral("UPDATE tbl_Setup SET bookid = 'restored-elsewhere'"));
            f.dialogs.answerMessage(refusedOnce ? dialogs::Answer::Yes : dialogs::Answer::No);
            if (refusedOnce) {
                f.book.exec(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
                                           "EXCEPTION 'disk full'; END $$; CREATE TRIGGER refuse BEFORE UPDATE ON "
                                           "tbl_Appt FOR EACH ROW EXECUTE FUNCTION refuse()"));
                f.dialogs.answerMessage(dialogs::Answer::Yes);
            }
        }
        ConflictAnswers answers({"cmdAllMine", "cmdStore"});
        qint64 stall = 0;
        QVERIFY(waitFor([&] { return f.form->lblStatus->text().startsWith("Back online"); }, stall));
        QCOMPARE(answers.shown, conflicts);
        if (refusedOnce) {
            f.book.exec(QStringLiteral("DROP TRIGGER refuse ON tbl_Appt"));
            QTRY_COMPARE_WITH_TIMEOUT(f.book.storedCell(Today, 6, 1), QStringLiteral("mine"), 10000);
            QCOMPARE(f.dialogs.messages.size(), 2);
            QVERIFY(f.dialogs.messages[1].text.contains("was replaced while this desk was offline"));
            return;
        }
        if (!theirCol) {
            QCOMPARE(f.dialogs.messages.size(), 1);
            QVERIFY(f.dialogs.messages.first().text.contains("was replaced while this desk was offline"));
            QVERIFY(f.book.storedCell(Today, 6, 1) != QLatin1String("mine"));
            return;
        }
        QCOMPARE(f.book.storedCell(Today, 6, 1), QStringLiteral("mine"));
        if (!conflicts)
            QCOMPARE(f.book.storedCell(Today, 6, 2), QStringLiteral("theirs"));
    }

    void journalDamagedOrOfAnotherBook_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("damaged") << true;
        QTest::newRow("of another book") << false;
    }

    void journalDamagedOrOfAnotherBook()
    {
        QFETCH(bool, damaged);
        DayPageFixture f;
        const QString path = storage::journalPath();
        if (damaged) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, 'x'));
        } else {
            storage::Journal other(path);
            other.belongTo(QStringLiteral("practice on backoffice"), QStringLiteral("another-book"));
            storage::PageRow typed;
            typed.calDate = Today;
            typed.data = QStringLiteral("typed for another book");
            typed.dataNull = false;
            other.keepTyped(typed, storage::PageRow(), QDateTime::currentDateTimeUtc());
        }
        QVERIFY(f.open());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages.first().text.contains(damaged ? "was damaged" : "another book"),
                 qPrintable(f.dialogs.messages.first().text));
        const QStringList aside = QDir(f.folder.path()).entryList({QStringLiteral("journal.db.*-*")});
        QCOMPARE(aside.size(), 1);
        QVERIFY(!f.storedData(Today).toString().contains("another book"));
    }

private:
    QTemporaryDir note_;
    const bool pair_ = qEnvironmentVariableIsSet("CALVORA_STANDBY");
};

QTEST_MAIN(tst_offline)
#include "tst_offline.moc"
