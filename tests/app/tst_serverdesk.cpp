// A desk pointed at a practice server: the choice remembered in calvora.conf, the start on a
// server (what a server out of reach says, the password box), and the backup screen there.
#include "app/commandline.h"
#include "app/layoutvars.h"
#include "app/screens.h"
#include "app/startup.h"
#include "common/files.h"
#include "common/screenstest.h"
#include "common/scripteddialogs.h"
#include "common/testbook.h"
#include "common/testfolder.h"
#include "common/pdffile.h"
#include "maintenance/frmBackup.h"
#include "navigation/PageCommands.h"
#include "platform/bookconf.h"
#include "platform/databaselock.h"
#include "platform/programfolder.h"
#include "platform/serveraddress.h"
#include "program.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/server/server.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kPractice = QStringLiteral("postgresql://calvora@frontdesk/practice");

const QString kPasswordRole = QStringLiteral("calvora_pw");
const QString kPassword = QStringLiteral("rose bud's");

// Points libpq at no password file of the user's, so that only what a row sets up is found.
struct PasswordPlaces {
    QTemporaryDir dir;
    PasswordPlaces()
    {
        qputenv("PGPASSFILE", dir.filePath(QStringLiteral("none")).toLocal8Bit());
        qunsetenv("PGPASSWORD");
    }
    ~PasswordPlaces()
    {
        qunsetenv("PGPASSFILE");
        qunsetenv("PGPASSWORD");
    }
};

}  // namespace

class tst_serverdesk : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        closeAllScreens();
        program::setServer({});
        program::setFolder({});
    }

    void initTestCase()
    {
        program::registerScreens();
        QVERIFY(testserver::reach());
    }

    void bookChoice_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("confBefore");  // empty: no calvora.conf
        QTest::addColumn<QString>("server");         // where the book is for this run
        QTest::addColumn<QByteArray>("confAfter");
        QTest::addColumn<QString>("note");           // what the user is told; %1 the folder
        QTest::addColumn<bool>("error");

        const QByteArray remembered = "[book]\nserver=" + kPractice.toUtf8() + "\n";
        QTest::newRow("--server is remembered") << QStringList{"--server", kPractice} << QByteArray() << kPractice
                                                << remembered << QString() << false;
        QTest::newRow("a later start reaches it with nothing typed")
            << QStringList{} << remembered << kPractice << remembered << QString() << false;
        QTest::newRow("another server replaces it")
            << QStringList{"--server", "host=backoffice dbname=practice"} << remembered
            << "host=backoffice dbname=practice" << QByteArray("[book]\nserver=\"host=backoffice dbname=practice\"\n")
            << QString() << false;
        QTest::newRow("--file goes back to the file and says so")
            << QStringList{"--file"} << remembered << QString() << QByteArray()
            << "The appointment book is kept in the file %1/db.mdb again; this desk no longer uses the "
               "database practice on frontdesk, as the user calvora." << false;
        QTest::newRow("--file on the file: nothing to say, no file made")
            << QStringList{"--file"} << QByteArray() << QString() << QByteArray() << QString() << false;
        QTest::newRow("a ';' in a value is refused and the conf kept")
            << QStringList{"--server", "host=frontdesk options='-c a;b'"} << remembered << QString() << remembered
            << "the value of options holds a ';'" << true;
        const QByteArray withPassword = "[book]\nserver=host=frontdesk dbname=practice password=secret\n";
        QTest::newRow("a password written into the conf is not used")
            << QStringList{} << withPassword << "dbname='practice' host='frontdesk'" << withPassword
            << "The server named in %1/calvora.conf carries a password. Calvora does not take passwords from its "
               "files: remove it from there and keep it in ~/.pgpass, or type it when asked." << true;
        const QByteArray wrong = "[book]\nserver=host=frontdesk colour=blue\n";
        QTest::newRow("a conf naming no server") << QStringList{} << wrong << "host=frontdesk colour=blue" << wrong
                                                 << "The server named in %1/calvora.conf cannot be used: invalid "
                                                    "connection option \"colour\"." << true;
    }

    // From the command line to the book of the run and what calvora.conf holds afterwards.
    void bookChoice()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, confBefore);
        QFETCH(QString, server);
        QFETCH(QByteArray, confAfter);
        QFETCH(QString, note);
        QFETCH(bool, error);
        QTemporaryDir dir;
        const QString conf = program::confPath(dir.path());
        writeFile(conf, confBefore);
        const commandline::Result parsed = commandline::parse(QStringList{"calvora"} + arguments);
        if (parsed.ends()) {
            // Refused before the book is settled: the run ends, and the desk's choice stays.
            QVERIFY2(error && parsed.text.contains(note), qPrintable(parsed.text));
            QCOMPARE(readAll(conf), confAfter);
            return;
        }
        const QList<startup::Note> notes = startup::settleBook(dir.path(), parsed.options.book, parsed.options.server);
        QCOMPARE(program::bookLocation().server, server);
        QCOMPARE(program::bookLocation().onServer(), !server.isEmpty());
        QCOMPARE(readAll(conf), confAfter);
        QCOMPARE(QFile::exists(conf), !confAfter.isEmpty());
        QCOMPARE(notes.size(), note.isEmpty() ? 0 : 1);
        if (!note.isEmpty()) {
            QCOMPARE(notes[0].text, note.arg(dir.path()));
            QCOMPARE(notes[0].error, error);
        }
    }

    void startOnServer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("conninfo");  // %1: a database of the test's own
        QTest::addColumn<QString>("what");      // what failed, as the message says; empty: it opens
        QTest::newRow("a Calvora book") << "book" << "dbname=%1 user=calvora" << QString();
        QTest::newRow("refused") << "none" << "host=/tmp/calvora-no-server dbname=%1"
                                 << "The connection was refused: is the server running, at that address and port?";
        QTest::newRow("no host of a list answers")
            << "none" << "host=/tmp/calvora-no-server,/tmp/calvora-no-server-either dbname=%1"
            << "The connection was refused: is the server running, at that address and port?";
        QTest::newRow("a target_session_attrs libpq refuses")
            << "book" << "dbname=%1 user=calvora target_session_attrs=sometimes"
            << "The connection string holds a value that libpq does not take.";
        QTest::newRow("unknown host") << "none" << "host=calvora-no-such-host.invalid dbname=%1 connect_timeout=5"
                                      << "The host calvora-no-such-host.invalid is unknown (unknown host): is its name "
                                         "spelt right, and is the network up?";
        QTest::newRow("no such database") << "none" << "dbname=calvora_nowhere"
                                          << "There is no such database calvora_nowhere on the server.";
        QTest::newRow("unknown user") << "book" << "dbname=%1 user=calvora_nobody"
                                      << "The server knows no user calvora_nobody.";
        QTest::newRow("not a Calvora database") << "empty" << "dbname=%1" << "not a Calvora database";
    }

    // A start on a server: no lock file, and a server out of reach told once, naming the server
    // and what failed; the program goes on to its menu all the same.
    void startOnServer()
    {
        QFETCH(QString, kind);
        QFETCH(QString, conninfo);
        QFETCH(QString, what);
        std::unique_ptr<TestBook> book;
        std::unique_ptr<ServerDatabase> empty;
        QString name = QStringLiteral("calvora_nowhere");
        if (kind == "book") {
            book = std::make_unique<TestBook>(true);
            name = book->server().name();
        } else if (kind == "empty") {
            empty = std::make_unique<ServerDatabase>();
            name = empty->name();
        }
        if (conninfo.contains("%1"))
            conninfo = conninfo.arg(name);
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        const startup::Begun begun = startup::begin({dir.path(), "/nonexistent/bin", "/nonexistent/user"},
                                                    commandline::Options::Book::Server, conninfo);
        QVERIFY(begun.run);
        QVERIFY(!begun.lock);
        QVERIFY(!QFile::exists(program::DatabaseLock::lockPath(dir.path())));
        QCOMPARE(program::bookLocation().server, conninfo);
        if (what.isEmpty()) {
            QCOMPARE(dialogs.messages.size(), 0);
            QVERIFY(PageCommands::aboutText().endsWith("\n\nDatabase in use: " + program::describeServer(conninfo)));
            QVERIFY(PageCommands::aboutText().contains(" on this computer (socket folder "));
            return;
        }
        QCOMPARE(dialogs.messages.size(), 1);
        const QString text = dialogs.messages[0].text;
        QCOMPARE(dialogs.messages[0].icon, dialogs::Icon::Critical);
        if (kind == "empty") {
            QCOMPARE(text, "Calvora cannot open the appointment book on " + program::describeServer(conninfo)
                               + ".\n\nIt is not a Calvora database: it holds no appointment book (the table tbl_Setup "
                                 "is missing). An empty database is filled from a db.mdb with Restore on the back-up screen.");
        } else {
            QVERIFY2(text.startsWith("Calvora cannot open the appointment book on " + program::describeServer(conninfo)
                                     + ".\n\n" + what + "\n\n"), qPrintable(text));
        }
        // The menu stays usable: a screen that needs the book says it cannot open it, and the
        // menu is still there.
        screens::show(Screen::Menu);
        QVERIFY(!screens::show(Screen::Appt) || !screens::loaded(Screen::Appt));
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY(screens::loaded(Screen::Menu));
    }

    void failuresNotMadeHere_data()
    {
        QTest::addColumn<QString>("libpq");
        QTest::addColumn<QString>("what");
        QTest::newRow("access rules") << "connection to server at \"10.0.0.5\", port 5432 failed: FATAL:  no pg_hba.conf "
                                         "entry for host \"10.0.0.9\", user \"calvora\", database \"practice\", no encryption"
                                      << "The server does not let the user calvora in from this computer.";
        QTest::newRow("TLS") << "connection to server at \"10.0.0.5\", port 5432 failed: server does not support SSL, but SSL "
                                "was required" << "The secure connection (TLS) to the server failed.";
        QTest::newRow("certificate") << "connection to server at \"frontdesk\" (10.0.0.5), port 5432 failed: server "
                                        "certificate for \"backoffice\" does not match host name \"frontdesk\""
                                     << "The secure connection (TLS) to the server failed.";
        QTest::newRow("no rights") << "ERROR:  permission denied for table tbl_setup"
                                   << "The user calvora has no rights on the book's tables.";
        QTest::newRow("timeout") << "connection to server at \"10.0.0.5\", port 5432 failed: timeout expired"
                                 << "The server did not answer in time.";
    }

    // Failures the suite's own server cannot be made to give, read from libpq's words.
    void failuresNotMadeHere()
    {
        QFETCH(QString, libpq);
        QFETCH(QString, what);
        const QString server = QStringLiteral("host=10.0.0.5 dbname=practice user=calvora");
        QCOMPARE(program::serverFailureMessage(server, libpq),
                 "Calvora cannot open the appointment book on the database practice on 10.0.0.5, as the user calvora.\n\n"
                     + what + "\n\n" + libpq);
    }

    void passwords_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QStringList>("typed");  // answers to the password boxes; "cancel" cancels
        QTest::addColumn<QString>("what");       // what failed, as the message says; empty: it opens
        QTest::newRow("PGPASSWORD") << "PGPASSWORD" << QStringList{} << QString();
        QTest::newRow("~/.pgpass") << "pgpass" << QStringList{} << QString();
        QTest::newRow("typed into the box") << "box" << QStringList{kPassword} << QString();
        QTest::newRow("box cancelled") << "box" << QStringList{"cancel"}
                                       << "The server asks for the password of the user calvora_pw, and none was given.";
        QTest::newRow("wrong password typed") << "box" << QStringList{"rosebud", "cancel"}
                                              << "The password of the user calvora_pw was refused (wrong password).";
    }

    // libpq's own places give the password; else the program asks in a password box and keeps
    // what was typed for the rest of the run, in memory only.
    void passwords()
    {
        QFETCH(QString, way);
        QFETCH(QStringList, typed);
        QFETCH(QString, what);
        TestBook book(true);
        QVERIFY2(passwordRole(book.server()), "the suite's server did not take the password rule");
        PasswordPlaces places;
        if (way == "PGPASSWORD") {
            qputenv("PGPASSWORD", kPassword.toUtf8());
        } else if (way == "pgpass") {
            const QString pgpass = places.dir.filePath(QStringLiteral("pgpass"));
            writeFile(pgpass, "*:*:*:" + kPasswordRole.toUtf8() + ":rose bud's\n");
            qputenv("PGPASSFILE", pgpass.toLocal8Bit());
        }
        // A password typed is kept per server for the run: each row names its server afresh.
        const QString conninfo = QStringLiteral("dbname=%1 user=%2 application_name=%3")
                                     .arg(book.server().name(), kPasswordRole, QString(QTest::currentDataTag()).remove(' ').remove('~').remove('/').remove('.'));
        ScriptedDialogs dialogs;
        for (const QString& t : typed)
            dialogs.answerPassword(t == "cancel" ? std::nullopt : std::optional<QString>(t));
        QTemporaryDir dir;
        const startup::Begun begun = startup::begin({dir.path(), "/nonexistent/bin", "/nonexistent/user"},
                                                    commandline::Options::Book::Server, conninfo);
        QVERIFY(begun.run);
        QCOMPARE(dialogs.passwords.size(), typed.size());
        for (const auto& box : dialogs.passwords)
            QCOMPARE(box.prompt, "The server asks for a password for " + program::describeServer(conninfo)
                                     + ".\n\nPassword:");
        QCOMPARE(dialogs.messages.size(), what.isEmpty() ? 0 : 1);
        if (!what.isEmpty()) {
            QVERIFY2(dialogs.messages[0].text.contains("\n\n" + what + "\n\n"), qPrintable(dialogs.messages[0].text));
        } else {
            // The next screen reaches the server without asking again.
            QCOMPARE(storage::Database(program::bookLocation()).path(), storage::serverDisplayName(conninfo));
            QCOMPARE(dialogs.passwords.size(), typed.size());
        }
        // Nothing of it is written down.
        QVERIFY(!readAll(program::confPath(dir.path())).contains("rose"));
    }

    // A practice moves in: a desk pointed at an empty database restores its db.mdb there on the
    // backup screen, which says which rows of a date already taken it left out; BackUp then
    // writes a db.mdb from the server that opens on a single desk.
    void backupScreenOnServer()
    {
        TestFolder folder;
        ServerDatabase book;
        program::setServer(book.conninfo());
        QTemporaryDir disk;
        // A file of a single desk with two rows of one date: the newer one is the page.
        const QString source = disk.filePath("db.mdb");
        QVERIFY(QFile::copy(folder.databasePath(), source));
        QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner);
        fileSql(source, "INSERT INTO tbl_Appt (CalDate, Data, location, open, Close, timeslot, Listno, Sites, Names) "
                        "SELECT CalDate, 'older', location, open, Close, timeslot, Listno, Sites, Names FROM tbl_Appt "
                        "WHERE CalDate = '1998-08-08'");
        fileSql(source, "INSERT INTO tbl_Appt (CalDate, Data, location, open, Close, timeslot, Listno, Sites, Names) "
                        "SELECT CalDate, 'the newest' || char(9) || 'Smith', location, open, Close, timeslot, Listno, "
                        "Sites, Names FROM tbl_Appt WHERE CalDate = '1998-08-08' AND Data = 'older'");
        ScriptedDialogs dialogs;
        ExitAfterBackup = false;
        auto* form = static_cast<frmBackup*>(screens::show(Screen::Backup));
        dialogs.answerMessage(dialogs::Answer::Yes);
        form->txtRestore->setText(disk.path());
        form->CmdRestore->click();
        QCOMPARE(dialogs.messages.size(), 2);
        const int pages = book.value("SELECT count(*) FROM tbl_Appt").toInt();
        QCOMPARE(dialogs.messages[1].text,
                 QStringLiteral("%1 pages of %2 are on the server now. 2 older rows of a date that a newer row "
                                "already holds were left out: the server keeps one page per date, the newest, "
                                "as the program reads it.").arg(pages).arg(source));
        QVERIFY(form->lblRestoreComplete->isVisible());
        QCOMPARE(book.value("SELECT Data FROM tbl_Appt WHERE CalDate = '1998-08-08'").toString(),
                 QStringLiteral("the newest\tSmith"));

        QTemporaryDir stick;
        form = static_cast<frmBackup*>(screens::show(Screen::Backup));
        form->txtBackup->setText(stick.path());
        form->cmdBackup->click();
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY(form->lblBackupComplete->isVisible());
        // The backup opens on a single desk with the server's pages.
        storage::Database file(stick.filePath("db.mdb"));
        storage::PageTable rows(file);
        QCOMPARE(rows.find(QDate(1998, 8, 8))->data, QStringLiteral("the newest\tSmith"));
        closeAllScreens();
    }

    // --print-day from the desktop's cron: the book where calvora.conf says, on the server.
    void printDayFromTheServer()
    {
        TestBook book(true);
        book.exec("UPDATE tbl_Appt SET Data = 'Kept' || chr(9) || 'onTheServer' WHERE CalDate = '1998-08-08'");
        QTemporaryDir data;
        QCOMPARE(program::rememberBook(data.path(), book.server().conninfo()), QString());
        QProcess p;
        p.start(CALVORA_BUILD_DIR "/calvora", {"--data", data.path(), "--print-day", "1998-08-08", "--pdf",
                                               data.filePath("day.pdf")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(pdfPageCount(data.filePath("day.pdf")) > 0);
        if (const std::optional<QString> words = pdfWords(data.filePath("day.pdf")))
            QVERIFY2(words->contains("onTheServer"), qPrintable(*words));
        // Nothing but the printout is made in the data folder: no database, no lock.
        QCOMPARE(QDir(data.path()).entryList(QDir::Files), (QStringList{"calvora.conf", "day.pdf"}));
    }

private:
    // A role the server asks a password of (its access rules made so), with the rights of
    // the book in `book`; false where the rules cannot be changed (a server not the suite's).

    bool passwordRole(ServerDatabase& book)
    {
        QFile hba(book.asAdmin(QStringLiteral("SHOW hba_file")).toString());
        if (!hba.open(QIODevice::ReadWrite))
            return false;
        const QByteArray rules = hba.readAll();
        const QByteArray ours = "local all " + kPasswordRole.toUtf8() + " scram-sha-256\n";
        if (!rules.startsWith(ours)) {
            hba.resize(0);
            hba.write(ours + rules);
        }
        hba.close();
        book.asAdmin(QStringLiteral("DO $$BEGIN CREATE ROLE %1 LOGIN; EXCEPTION WHEN duplicate_object THEN NULL; END$$")
                         .arg(kPasswordRole));
        book.asAdmin(QStringLiteral("ALTER ROLE %1 PASSWORD 'rose bud''s'; ALTER ROLE %1 SET search_path = %2")
                         .arg(kPasswordRole, ServerDatabase::role()));
        book.asAdmin(QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2").arg(book.name(), kPasswordRole));
        // What the practice's role grants on its own tables.
        book.exec(QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2; GRANT ALL ON ALL TABLES IN SCHEMA %1 TO %2; "
                                 "GRANT ALL ON ALL SEQUENCES IN SCHEMA %1 TO %2").arg(ServerDatabase::role(), kPasswordRole));
        book.asAdmin(QStringLiteral("SELECT pg_reload_conf()"));
        // The server reads its rules again in its own time: until it asks this role for a password.
        for (int i = 0; i < 100; ++i) {
            QSqlDatabase probe = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("probe"));
            probe.setDatabaseName(book.name());
            probe.setUserName(kPasswordRole);
            const bool asks = !probe.open();
            probe = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("probe"));
            if (asks)
                return true;
            QTest::qWait(20);
        }
        return false;
    }
};

QTEST_MAIN(tst_serverdesk)
#include "tst_serverdesk.moc"
