// The file's own ways: a damaged or read-only file, a write another program keeps out, a
// file from before the history, and rows whose dates no page can show.
#include "common/refusal.h"
#include "common/files.h"
#include "common/readonlyfiles.h"
#include "common/testbook.h"
#include "common/testfolder.h"
#include "storage/database.h"
#include "storage/file/databasefile.h"
#include "storage/history.h"
#include "storage/pagesearch.h"
#include "storage/pagetable.h"
#include "storage/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <sqlite3.h>

using namespace storage;

class tst_file : public QObject {
    Q_OBJECT

private slots:
    void damagedFile_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << "remove" << "does not exist";
        QTest::newRow("not a database") << "garbage" << "not a database";
        QTest::newRow("table missing") << "DROP TABLE tbl_Order" << "tbl_Order is missing";
        QTest::newRow("field missing") << "ALTER TABLE tbl_Appt DROP COLUMN Memo" << "Memo";
        QTest::newRow("no settings row") << "DELETE FROM tbl_Setup" << "no settings row";
    }

    void damagedFile()
    {
        QFETCH(QString, damage);
        QFETCH(QString, problem);
        TestFolder folder;
        const QString path = folder.databasePath();
        if (damage == "remove") {
            QFile::remove(path);
        } else if (damage == "garbage") {
            writeFile(path, QByteArray(4096, 'z'));
        } else {
            fileSql(path, damage);
        }
        const QByteArray before = readAll(path);
        const QString said = refusal<StorageError>([&] { Database db(path); });
        QVERIFY2(said.contains(path) && said.contains(problem), qPrintable(said));
        // Nothing was created or repaired.
        QCOMPARE(QFile::exists(path), damage != "remove");
        QCOMPARE(readAll(path), before);
    }

    void failedWriteLeavesRows_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("locked by another program") << "lock";
        QTest::newRow("write refused half way") << "trigger";
    }

    void failedWriteLeavesRows()
    {
        QFETCH(QString, failure);
        TestFolder folder;
        const QString path = folder.databasePath();
        if (failure == "trigger")
            fileSql(path, "CREATE TRIGGER refuse BEFORE DELETE ON tbl_Appt WHEN old.CalDate = '1998-08-08' "
                          "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        Database db(path);
        PageTable pages(db);
        const int before = pages.count();
        QList<qint64> ids;
        pages.walk([&](const PageRow& r) { ids << r.id; return true; });

        sqlite3* other = nullptr;  // another program's connection, holding the file
        if (failure == "lock") {
            QCOMPARE(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
            QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        }
        const QString said = refusal<StorageError>([&] { pages.remove(ids); });
        QVERIFY2(said.contains(path) && said.contains("deleting"), qPrintable(said));
        sqlite3_close(other);  // ends its transaction
        // One transaction: not one of the rows went.
        QCOMPARE(pages.count(), before);
    }

    void readOnlyFile_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::newRow("read-only, with an unfinished change") << false;
        QTest::newRow("writable, with an unfinished change") << true;
    }

    void readOnlyFile()
    {
        QFETCH(bool, writable);
        ReadOnlyFiles readOnly;
        TestFolder folder;
        const QString path = folder.databasePath();
        crashInTheMiddleOf(path, "UPDATE tbl_Setup SET Readme = Readme || printf('%.100000c', 'x'), location = 'Half'; "
                                 "UPDATE tbl_Appt SET Data = printf('%.20000c', 'y');");
        if (QTest::currentTestFailed())
            return;
        if (!writable) {
            readOnly.add(path);
            QCOMPARE(refusal<StorageError>([&] { Database db(path); }),
                     QStringLiteral("The database file %1 cannot be read: it is read-only and holds an "
                                        "unfinished change that only a writable copy can undo (the journal "
                                        "%1-journal beside it keeps that change). Make the file writable, or "
                                        "copy it together with its journal to a writable folder, and open it again.")
                         .arg(path));
            QVERIFY(QFile::exists(path + QStringLiteral("-journal")));
            return;
        }
        Database db(path);
        // A writable file undoes the unfinished change as it opens.
        QCOMPARE(readSettings(db).layout.location, QStringLiteral("Office"));
        PageTable pages(db);
        PageRow row = *pages.find(QDate(1998, 8, 8));
        QVERIFY(!row.data.startsWith(QStringLiteral("yyyy")));
        row.memo = QStringLiteral("new");
        pages.update(row);
    }

    void fileFromBeforeGetsTheTable_data()
    {
        QTest::addColumn<bool>("cellIndex");  // the history there already, indexed by cell
        QTest::newRow("no history") << false;
        QTest::newRow("history indexed by cell") << true;
    }

    void fileFromBeforeGetsTheTable()
    {
        QFETCH(bool, cellIndex);
        TestBook book;
        const QString path = book.folder.databasePath();
        const auto indexes = [&] {
            return book.value("SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master WHERE "
                              "tbl_name = 'tbl_History' ORDER BY name)").toString();
        };
        if (cellIndex) {
            fileSql(path, "CREATE TABLE tbl_History (id INTEGER PRIMARY KEY, CalDate TEXT, Field TEXT NOT NULL,"
                          " CellRow INTEGER, CellCol INTEGER, TimeLabel TEXT, Provider TEXT, OldText TEXT,"
                          " NewText TEXT, Moment TEXT NOT NULL, Desk TEXT NOT NULL)");
            fileSql(path, "CREATE INDEX idx_History_Cell ON tbl_History (CalDate, CellRow, CellCol)");
            fileSql(path, "INSERT INTO tbl_History (CalDate, Field, CellRow, CellCol, OldText, NewText, Moment, Desk)"
                          " VALUES ('1998-08-08', 'Data', 1, 1, '', 'Ann', '1998-08-07T10:00:00.000Z', 'old/desk')");
        }
        QVERIFY(cellIndex || !book.value("SELECT count(*) FROM sqlite_master WHERE name = 'tbl_History'").toBool());
        {
            Database db(book.location());
            PageTable pages(db);
            PageRow row = *pages.find(QDate(1998, 8, 8));
            // Reading the history of a file without the table finds none and makes nothing; a file
            // that has one is read through the index it has.
            QCOMPARE(History(db).cell(row.calDate, 1, 1).size(), size_t(cellIndex));
            QCOMPARE(indexes(), cellIndex ? QStringLiteral("idx_History_Cell tbl_History") : QString());
            row.memo += QStringLiteral(" and more");
            row.data = withCell(row.data, 1, 1, QStringLiteral("Bob"));
            pages.update(row);
            QCOMPARE(History(db).day(row.calDate).size(), size_t(cellIndex ? 3 : 2));
            QCOMPARE(History(db).cell(row.calDate, 1, 1).front().newText, QStringLiteral("Bob"));
            QCOMPARE(History(db).cell(row.calDate, 1, 1).size(), size_t(cellIndex ? 2 : 1));
            row.memo += QStringLiteral(" again");
            pages.update(row);
        }
        // The history is indexed by date alone, whatever the file had.
        QCOMPARE(indexes(), QStringLiteral("idx_History_Day tbl_History"));
        QCOMPARE(databaseProblem(path, Check::Full), QString());
        Database again(book.location());
    }

    void rowsThatCannotBeShownArePassed()
    {
        TestFolder folder;
        const QString path = folder.databasePath();
        fileSql(path, "DELETE FROM tbl_Appt");
        const auto add = [&](const char* date) {
            return fileSql(path, QStringLiteral("INSERT INTO tbl_Appt (CalDate, Data, location, open, Close, timeslot, "
                                                "Listno, Sites, Names) VALUES ('%1', 'Ann', 'Office', '08:00 AM', "
                                                "'05:00 PM', 30, 4, 'A%', 'B%') RETURNING id")
                                     .arg(QLatin1String(date)))
                .toLongLong();
        };
        // The page of a date shows its newest row; an older row of that date, or a row whose date
        // carries a time, is never on screen.
        add("2001-01-01");
        const qint64 good = add("2001-01-01");
        add("2002-02-02 10:00:00");
        add("");
        add("not a date");
        Database db(path);
        PageSearch search(db, QStringLiteral("ann"));
        const std::optional<PageMatch> hit = search.next(std::nullopt);
        QVERIFY(hit);
        QCOMPARE(hit->id, good);
        QVERIFY(!search.next(good));
        int listed = 0;
        search.allMatches([&](const PageMatch& m) {
            ++listed;
            QCOMPARE(m.id, good);
        });
        QCOMPARE(listed, 1);
    }
};

QTEST_MAIN(tst_file)
#include "tst_file.moc"
