// Where db.mdb is found: beside the executable, in the user's data folder (filled once from the
// shipped database), or in a folder named on the command line.
#include "common/files.h"
#include "platform/datafolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A temporary disk: an installed program's folders and a user's data folder.
struct Places {
    QTemporaryDir root;
    QString bin() const { return root.filePath("usr/bin"); }
    QString share() const { return root.filePath("usr/share/calvora"); }
    QString user() const { return root.filePath("home/.local/share/Calvora"); }
    QString other() const { return root.filePath("stick"); }
    QString folder(const QString& name) const
    {
        return name == "bin" ? bin() : name == "user" ? user() : name == "other" ? other() : QString();
    }
};

}  // namespace

class tst_datafolder : public QObject {
    Q_OBJECT

private slots:
    void choice_data()
    {
        // Which files exist before the start, and what the start must leave.
        QTest::addColumn<bool>("besideProgram");
        QTest::addColumn<bool>("userCopy");
        QTest::addColumn<bool>("shipped");
        QTest::addColumn<bool>("requested");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QByteArray>("userBytes");  // db.mdb in the user's folder afterwards; "" none
        QTest::addColumn<bool>("copied");

        QTest::newRow("a build: db.mdb beside the program")
            << true << false << true << false << "bin" << QByteArray() << false;
        QTest::newRow("installed, first start: the shipped copy")
            << false << false << true << false << "user" << QByteArray("shipped") << true;
        QTest::newRow("installed, later start: the user's own")
            << false << true << true << false << "user" << QByteArray("user's") << false;
        QTest::newRow("installed, shipped file missing: nothing made")
            << false << false << false << false << "user" << QByteArray() << false;
        QTest::newRow("--data wins over the program's folder")
            << true << true << true << true << "other" << QByteArray("user's") << false;
        QTest::newRow("--data on an empty folder: nothing made anywhere")
            << false << false << true << true << "other" << QByteArray() << false;
    }

    void choice()
    {
        QFETCH(bool, besideProgram);
        QFETCH(bool, userCopy);
        QFETCH(bool, shipped);
        QFETCH(bool, requested);
        QFETCH(QString, chosen);
        QFETCH(QByteArray, userBytes);
        QFETCH(bool, copied);

        Places p;
        QDir().mkpath(p.bin());
        // A practice folder shared on purpose.
        QDir().mkpath(p.other());
        QFile::setPermissions(p.other(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                             QFile::WriteGroup | QFile::ExeGroup);
        if (besideProgram)
            writeFile(p.bin() + "/db.mdb", "build");
        if (userCopy)
            writeFile(p.user() + "/db.mdb", "user's");
        if (shipped) {
            writeFile(p.share() + "/db.mdb", "shipped");
            QFile::setPermissions(p.share() + "/db.mdb", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        }

        const program::DataFolder result =
            program::chooseDataFolder({requested ? p.other() : QString(), p.bin(), p.user()});
        QCOMPARE(result.folder, p.folder(chosen));
        QCOMPARE(result.copied, copied);
        QCOMPARE(result.error, QString());
        QCOMPARE(readAll(p.user() + "/db.mdb"), userBytes);
        // The program's own folder and a named folder never get a database made in them.
        QCOMPARE(QFile::exists(p.bin() + "/db.mdb"), besideProgram);
        QVERIFY(!QFile::exists(p.other() + "/db.mdb"));
        QVERIFY(!QFile::exists(p.user() + "/db.mdb.part"));
        // The book holds clients' names: a folder made for the user and the copy in it are the
        // user's alone (and the copy is the user's to change, though the shipped file is read-only).
        if (!userCopy && chosen == "user")
            QCOMPARE(fileMode(p.user()), 0700);
        if (copied)
            QCOMPARE(fileMode(p.user() + "/db.mdb"), 0600);
        QCOMPARE(fileMode(p.other()), 0770);
    }
};

QTEST_GUILESS_MAIN(tst_datafolder)
#include "tst_datafolder.moc"
