// A practice server with a streaming standby on a second computer: desks that name both
// servers follow the promotion when the primary goes and lose nothing stored or typed; a desk
// that reaches only the standby reads and is refused stores; two desks go on merging and
// hearing each other on the new primary.
#include "app/commandline.h"
#include "app/screens.h"
#include "app/startup.h"
#include "common/daypage.h"
#include "common/screenstest.h"
#include "common/scripteddialogs.h"
#include "common/testfolder.h"
#include "navigation/PageCommands.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/serveraddress.h"
#include "program.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/server/deadline.h"
#include "storage/server/server.h"

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <libpq-fe.h>
#include <thread>

using namespace storage;

namespace {

const QString kScript = QStringLiteral(CALVORA_SOURCE_DIR "/tests/server/pgstandby.sh");

// A primary (socket folder a) and its streaming standby (b), each a cluster of its own.
class StandbyPair {
public:
    explicit StandbyPair(bool sync) { folder = script({QStringLiteral("start"), sync ? QStringLiteral("sync") : QString()}); }
    ~StandbyPair() { script({QStringLiteral("stop"), folder}); }

    QString socket(char node) const { return folder + QLatin1Char('/') + QLatin1Char(node); }
    // The servers as a desk names them: `hosts` of a and b, in that order.
    QString conninfo(const QString& hosts = QStringLiteral("ab"),
                     const QString& more = QStringLiteral(" target_session_attrs=read-write")) const
    {
        QStringList list;
        for (QChar node : hosts)
            list << socket(node.toLatin1());
        return QStringLiteral("host=%1 dbname=calvora user=calvora").arg(list.join(QLatin1Char(','))) + more;
    }
    // Stops the primary at once and promotes the standby.
    void fail() { script({QStringLiteral("fail"), folder}); }
    // A value read on one server as the practice's role.
    QVariant value(char node, const QString& sql) const
    {
        QVariant result;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("pair"));
            db.setDatabaseName(QStringLiteral("calvora"));
            db.setUserName(QStringLiteral("calvora"));
            db.setHostName(socket(node));
            if (!db.open())
                qFatal("%s", qPrintable(db.lastError().text()));
            QSqlQuery q(db);
            if (!q.exec(sql))
                qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
            if (q.isSelect() && q.next())
                result = q.value(0);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pair"));
        return result;
    }
    // Statements run one by one on one server as its administrator.
    void asAdmin(char node, const QStringList& statements) const
    {
        QStringList arguments{QStringLiteral("-h"), socket(node), QStringLiteral("-U"), QStringLiteral("postgres"),
                              QStringLiteral("-d"), QStringLiteral("calvora"), QStringLiteral("-XAtq")};
        for (const QString& sql : statements)
            arguments << QStringLiteral("-c") << sql;
        QProcess p;
        p.start(QStringLiteral("psql"), arguments);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            qFatal("%s: %s", qPrintable(statements.join(';')), p.readAllStandardError().constData());
    }

    QString folder;

private:
    static QString script(const QStringList& arguments)
    {
        QProcess p;
        p.start(QStringLiteral("sh"), QStringList{kScript} + arguments);
        if (!p.waitForFinished(180000) || p.exitCode() != 0)
            qFatal("pgstandby.sh %s: %s", qPrintable(arguments.join(' ')), p.readAllStandardError().constData());
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }
};

// The seed's book on the primary, and the program pointed at `conninfo`.
void moveIn(DayPageFixture& f, const StandbyPair& pair, const QString& conninfo)
{
    restoreServer(f.folder.databasePath(), pair.conninfo(QStringLiteral("a"), QString()));
    program::setServer(conninfo);
}

QString stored(const StandbyPair& pair, char node, QDate date, int gridRow, int gridCol)
{
    return celltext::split(pair.value(node, QStringLiteral("SELECT Data FROM tbl_Appt WHERE CalDate = '%1'")
                                                .arg(DayPageFixture::key(date))).toString())
        .value(gridRow - 3).value(gridCol - 1);
}

QString about(DayPageFixture& f)
{
    f.form->findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
    return f.dialogs.messages.takeLast().text;
}

}  // namespace

class tst_standby : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        program::registerScreens();
        storage::setDeskName(QStringLiteral("calvora"));
    }

    void failover()
    {
        // A desk names both servers and stores pages; the primary stops at once and the standby is
        // promoted while a page is being typed. The next store reaches the new primary by itself:
        // every page stored before is there (the standby was synchronous), and so is the one typed.
        StandbyPair pair(true);
        DayPageFixture f;
        moveIn(f, pair, pair.conninfo());
        QVERIFY(f.open());
        QVERIFY2(about(f).endsWith(QStringLiteral("\nConnected to: %1, port 5432").arg(pair.socket('a'))), "About names the primary");
        QList<QDate> days;
        for (int i = 0; i < 4; ++i) {
            days << f.form->PageDate;
            f.form->Grid1->setTextMatrix(5 + i, 1, QStringLiteral("stored before %1").arg(i));
            f.openDate(DayPageFixture::Today.addDays(i + 1));
        }
        f.form->Grid1->setTextMatrix(6, 2, QStringLiteral("typed during the switch"));
        const QDate typedOn = f.form->PageDate;
        pair.fail();
        f.openDate(QDate(1998, 8, 8));
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.messages.value(0).text));
        QCOMPARE(f.form->PageDate, QDate(1998, 8, 8));
        for (int i = 0; i < days.size(); ++i)
            QCOMPARE(stored(pair, 'b', days[i], 5 + i, 1), QStringLiteral("stored before %1").arg(i));
        QCOMPARE(stored(pair, 'b', typedOn, 6, 2), QStringLiteral("typed during the switch"));
        QVERIFY2(about(f).endsWith(QStringLiteral("\nConnected to: %1, port 5432").arg(pair.socket('b'))), "About names the new primary");
    }

    void commitLostWithThePrimary()
    {
        // The primary goes while it commits a store: the commit has reached the standby, the
        // answer never reaches the desk, which keeps the page and works offline. Back on the
        // promoted standby it finds the page there as the store left it and stores nothing twice.
        setServerDeadline(std::chrono::milliseconds(30000));
        StandbyPair pair(true);
        DayPageFixture f;
        moveIn(f, pair, pair.conninfo());
        QVERIFY(f.open());
        const QString today = DayPageFixture::key(DayPageFixture::Today);
        const int version = pair.value('a', QStringLiteral("SELECT version FROM tbl_Appt WHERE CalDate = '%1'").arg(today)).toInt();
        // The primary waits at each commit for a standby that is not there: the commit is on its
        // disk and streamed, and not answered.
        pair.asAdmin('a', {QStringLiteral("ALTER SYSTEM SET synchronous_standby_names = 'nobody'"),
                          QStringLiteral("SELECT pg_reload_conf()")});
        std::atomic<bool> failed{false};
        std::thread failer([&] {
            const QByteArray standby = QStringLiteral("host=%1 dbname=calvora user=calvora").arg(pair.socket('b')).toUtf8();
            PGconn* c = PQconnectdb(standby.constData());
            const QByteArray landed = QStringLiteral("SELECT 1 FROM tbl_Appt WHERE CalDate = '%1' AND version = %2")
                                          .arg(today).arg(version + 1).toUtf8();
            for (int i = 0; i < 400 && !failed; ++i) {
                PGresult* r = PQexec(c, landed.constData());
                const bool there = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1;
                PQclear(r);
                if (there) {
                    failed = std::system(QStringLiteral("sh %1 fail %2 >/dev/null").arg(kScript, pair.folder).toUtf8().constData()) == 0;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            PQfinish(c);
        });
        f.form->Grid1->setTextMatrix(6, 1, QStringLiteral("committed as the primary went"));
        // The user answers once the standby is promoted.
        f.dialogs.whenAsked = [&](const dialogs::Prompt&) {
            if (failer.joinable())
                failer.join();
        };
        f.dialogs.answerMessage(dialogs::Answer::Retry);
        f.openDate(QDate(1998, 8, 8));
        f.dialogs.whenAsked = nullptr;
        if (failer.joinable())
            failer.join();
        QVERIFY(failed);
        QTRY_VERIFY_WITH_TIMEOUT(f.form->lblStatus->text().startsWith("Back online: 1 page stored"), 60000);
        setServerDeadline(std::chrono::milliseconds(5000));
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.messages.value(0).text));
        QCOMPARE(f.form->PageDate, QDate(1998, 8, 8));
        QCOMPARE(stored(pair, 'b', DayPageFixture::Today, 6, 1), QStringLiteral("committed as the primary went"));
        QCOMPARE(pair.value('b', QStringLiteral("SELECT version FROM tbl_Appt WHERE CalDate = '%1'").arg(today)).toInt(), version + 1);
        QCOMPARE(pair.value('b', QStringLiteral("SELECT count(*) FROM tbl_History WHERE NewText = 'committed as the primary went'")).toInt(), 1);
    }

    void deskOnTheStandby()
    {
        // Before the promotion: a desk asking for a server that takes changes finds none and says
        // so, naming the servers, and the menu stays; a desk that names only the standby reads
        // the pages and is refused stores, with the choices of a read-only file. Retry after the
        // promotion stores the page.
        StandbyPair pair(false);
        {
            TestFolder seed;
            restoreServer(seed.databasePath(), pair.conninfo(QStringLiteral("a"), QString()));
        }
        pair.value('a', QStringLiteral("INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, Close, timeslot, "
                                       "Listno, Sites, Names) SELECT '%1', 'read on the standby', false, '', location, open, "
                                       "Close, timeslot, Listno, Sites, Names FROM tbl_Setup")
                            .arg(DayPageFixture::key(DayPageFixture::Today)));
        QTRY_COMPARE_WITH_TIMEOUT(stored(pair, 'b', DayPageFixture::Today, 3, 1), QStringLiteral("read on the standby"), 10000);

        const QString onlyStandbys = QStringLiteral("host=/nonexistent-calvora,%1 dbname=calvora user=calvora "
                                                    "target_session_attrs=read-write").arg(pair.socket('b'));
        {
            ScriptedDialogs dialogs;
            QTemporaryDir dir;
            const startup::Begun begun = startup::begin({dir.path(), "/nonexistent/bin", "/nonexistent/user"},
                                                        commandline::Options::Book::Server, onlyStandbys);
            QVERIFY(begun.run);
            QCOMPARE(dialogs.messages.size(), 1);
            const QString refused = dialogs.messages[0].text;
            QVERIFY2(refused.startsWith("Calvora cannot open the appointment book on " + program::describeServer(onlyStandbys)
                                        + ".\n\nNo server of the list takes changes"), qPrintable(refused));
            QVERIFY2(refused.contains(pair.socket('b')) && refused.contains("session is read-only"), qPrintable(refused));
            screens::show(Screen::Menu);
            QVERIFY(!screens::show(Screen::Appt) || !screens::loaded(Screen::Appt));
            QVERIFY(screens::loaded(Screen::Menu));
            closeAllScreens();
        }

        DayPageFixture f;
        program::setServer(pair.conninfo(QStringLiteral("b"), QString()));
        QVERIFY(f.open());
        const QString standby = QStringLiteral("The server calvora on %1 only reads: it is a standby. Pages can be read; nothing "
                                               "can be stored until the primary or a promoted standby answers.")
                                    .arg(pair.socket('b'));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, standby);
        QCOMPARE(f.form->Grid1->TextMatrix(3, 1), QStringLiteral("read on the standby"));
        f.form->Grid1->setTextMatrix(6, 1, QStringLiteral("typed on the standby"));
        int asked = 0;
        f.dialogs.whenAsked = [&](const dialogs::Prompt& prompt) {
            ++asked;
            QVERIFY2(prompt.text.startsWith(standby), qPrintable(prompt.text));
            QCOMPARE(prompt.buttons, dialogs::Buttons::RetryDiscardCancel);
            if (asked == 2)
                pair.fail();
        };
        f.dialogs.answerMessage(dialogs::Answer::Cancel);
        f.openDate(QDate(1998, 8, 8));
        QCOMPARE(f.form->PageDate, DayPageFixture::Today);
        f.dialogs.answerMessage(dialogs::Answer::Retry);
        f.openDate(QDate(1998, 8, 8));
        f.dialogs.whenAsked = nullptr;
        QCOMPARE(asked, 2);
        QCOMPARE(f.form->PageDate, QDate(1998, 8, 8));
        QCOMPARE(stored(pair, 'b', DayPageFixture::Today, 6, 1), QStringLiteral("typed on the standby"));
    }

    void twoDesksAcrossTheSwitch()
    {
        // Desk 1 shows desk 2's store before the switch; after it, desk 1 (typing) finds the new
        // primary by itself, says that another desk stored, and merges; then it hears desk 2 on
        // the new primary again.
        StandbyPair pair(true);
        DayPageFixture f;
        moveIn(f, pair, pair.conninfo());
        QVERIFY(f.open());
        Database desk2(program::bookLocation());
        FlexGrid* grid = f.form->Grid1;
        storeCell(desk2, DayPageFixture::Today, 6, 2, QStringLiteral("desk 2 before"));
        QTRY_COMPARE_WITH_TIMEOUT(grid->TextMatrix(6, 2), QStringLiteral("desk 2 before"), 5000);
        grid->setTextMatrix(5, 1, QStringLiteral("desk 1 during the switch"));
        pair.fail();
        storeCell(desk2, DayPageFixture::Today, 6, 3, QStringLiteral("desk 2 after"));
        QTRY_VERIFY_WITH_TIMEOUT(f.form->lblOtherDesk->isVisibleTo(f.form), 20000);
        f.form->SavePage();
        QCOMPARE(f.dialogs.messages.size(), 0);
        QCOMPARE(stored(pair, 'b', DayPageFixture::Today, 5, 1), QStringLiteral("desk 1 during the switch"));
        QCOMPARE(stored(pair, 'b', DayPageFixture::Today, 6, 2), QStringLiteral("desk 2 before"));
        QCOMPARE(stored(pair, 'b', DayPageFixture::Today, 6, 3), QStringLiteral("desk 2 after"));
        storeCell(desk2, DayPageFixture::Today, 7, 2, QStringLiteral("heard on the new primary"));
        QTRY_COMPARE_WITH_TIMEOUT(grid->TextMatrix(7, 2), QStringLiteral("heard on the new primary"), 5000);
    }
};

QTEST_MAIN(tst_standby)
#include "tst_standby.moc"
