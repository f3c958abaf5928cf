// A desk pointed at a practice server: the choice remembered in calvora.conf, and the start on
// a server.
#include "app/commandline.h"
#include "app/startup.h"
#include "common/scripteddialogs.h"
#include "platform/bookconf.h"
#include "platform/databaselock.h"
#include "platform/programfolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kPractice = QStringLiteral("postgresql://calvora@frontdesk/practice");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class tst_serverdesk : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        program::setServer({});
        program::setFolder({});
    }
    void bookChoice_data();
    void bookChoice();
};

void tst_serverdesk::bookChoice_data()
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
           "database practice on frontdesk (user calvora)." << false;
    QTest::newRow("--file on the file: nothing to say, no file made")
        << QStringList{"--file"} << QByteArray() << QString() << QByteArray() << QString() << false;
    QTest::newRow("no conf: the file") << QStringList{} << QByteArray() << QString() << QByteArray() << QString()
                                       << false;
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
void tst_serverdesk::bookChoice()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, confBefore);
    QFETCH(QString, server);
    QFETCH(QByteArray, confAfter);
    QFETCH(QString, note);
    QFETCH(bool, error);
    QTemporaryDir dir;
    const QString conf = program::confPath(dir.path());
    if (!confBefore.isEmpty()) {
        QFile f(conf);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(confBefore);
    }
    const commandline::Result parsed = commandline::parse(QStringList{"calvora"} + arguments);
    QVERIFY2(!parsed.ends(), qPrintable(parsed.text));
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

QTEST_MAIN(tst_serverdesk)
#include "tst_serverdesk.moc"
