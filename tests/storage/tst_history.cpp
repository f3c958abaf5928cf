// The history of the book: what each store records, in its own transaction, on either engine.
#include "common/files.h"
#include "common/refusal.h"
#include "common/testbook.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/file/databasefile.h"
#include "storage/history.h"
#include "storage/pagesearch.h"
#include "storage/pagetable.h"
#include "storage/server/server.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

using namespace storage;

namespace {

const QDate Day(2030, 3, 5);

// A change as a line: field, cell, old and new text.
QString line(const Change& c)
{
    return QStringLiteral("%1 %2,%3 %4 [%5] -> [%6]")
        .arg(c.field).arg(c.row).arg(c.col).arg(c.timeLabel + QLatin1Char('/') + c.provider, c.oldText, c.newText);
}

QStringList lines(const std::vector<Change>& changes)
{
    QStringList all;
    for (const Change& c : changes)
        all << line(c);
    return all;
}

const CellLabels Labels{{"", "08:00 AM", "08:15 AM", "08:30 AM"}, {"Dr. A", "Dr. B"}};

}  // namespace

class tst_history : public QObject {
    Q_OBJECT

private slots:
    void init() { setDeskName(QStringLiteral("front/anna")); }
    void cleanup() { setDeskName(QString()); }

    void storeRecordsChangedCells_data()
    {
        QTest::addColumn<QStringList>("edits");  // row,col,text; "cut,N" keeps N rows; "|" stores
        QTest::addColumn<QStringList>("expected");  // newest first
        QTest::newRow("nothing changed") << QStringList{} << QStringList{};
        QTest::newRow("one cell typed") << QStringList{"1,0,Jones"}
                                        << QStringList{"Data 1,0 08:00 AM/Dr. A [] -> [Jones]"};
        QTest::newRow("a cell overwritten and one beyond the labels")
            << QStringList{"2,1,Smith", "7,3,far"}
            << QStringList{"Data 7,3 / [] -> [far]", "Data 2,1 08:15 AM/Dr. B [] -> [Smith]"};
        QTest::newRow("the same text again") << QStringList{"1,0,Jones", "1,0,"} << QStringList{};
        // A text with fewer rows or cells than the stored one: the cells gone were emptied.
        QTest::newRow("a stored page cut short")
            << QStringList{"1,0,Jones", "3,1,Lee", "|", "cut,2", "1,1,Kim"}
            << QStringList{"Data 3,1 08:30 AM/Dr. B [Lee] -> []", "Data 1,1 08:00 AM/Dr. B [] -> [Kim]",
                           "Data 3,1 08:30 AM/Dr. B [] -> [Lee]", "Data 1,0 08:00 AM/Dr. A [] -> [Jones]"};
    }

    void storeRecordsChangedCells()
    {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, expected);
        TestBook book;
        Database db(book.location());
        PageTable pages(db);
        pages.setCellLabels(Labels);
        storeTemplate(db, Day.dayOfWeek(), QString(), false);
        const Settings s = readSettings(db);
        // A new page holding its template records nothing.
        PageRow row = pages.add(Day, s.layout, s.templateFor(Day), s.closedOn(Day));
        QCOMPARE(History(db).day(Day).size(), size_t(0));
        row.clinic = false;
        pages.update(row);
        for (const QString& edit : edits) {
            const QStringList p = edit.split(',');
            if (edit == QLatin1String("|"))
                pages.update(row);
            else if (p[0] == QLatin1String("cut"))
                row.data = row.data.section(celltext::RowSeparator, 0, p[1].toInt() - 1);
            else
                row.data = withCell(row.data, p[0].toInt(), p[1].toInt(), p[2]);
        }
        pages.update(row);
        const std::vector<Change> changes = History(db).day(Day);
        QCOMPARE(lines(changes), expected);
        for (const Change& c : changes) {
            QCOMPARE(c.desk, QStringLiteral("front/anna"));
            QVERIFY(c.moment.isValid());
            QCOMPARE(c.moment.timeSpec(), Qt::UTC);
        }
        // Another store changing nothing adds nothing; the cell's own list is newest first.
        pages.update(row);
        QCOMPARE(History(db).day(Day).size(), changes.size());
        row.data = withCell(row.data, 1, 0, "Brown");
        pages.update(row);
        const std::vector<Change> cell = History(db).cell(Day, 1, 0);
        QVERIFY(!cell.empty());
        QCOMPARE(cell.front().newText, QStringLiteral("Brown"));
    }

    void settingsRecordTheirFields()
    {
        TestBook book;
        Database db(book.location());
        Settings s = readSettings(db);
        s.layout.location = QStringLiteral("Elm Street");
        storeSetup(db, s.layout, Day);
        storeTemplate(db, 2, QStringLiteral("lunch"), !s.closed[2]);
        const int rows = book.value("SELECT count(*) FROM tbl_History WHERE CalDate IS NULL").toInt();
        writeMemoAndBook(db, s.fixedMemo, s.bookno);  // unchanged: nothing
        // A weekday that is none is refused on either engine, and nothing is stored.
        const QString said = refusal<StorageError>([&] { storeTemplate(db, 8, QStringLiteral("x"), false); });
        QVERIFY2(said.endsWith(QStringLiteral("There is no weekday 8.")), qPrintable(said));
        QCOMPARE(book.value("SELECT count(*) FROM tbl_History WHERE CalDate IS NULL").toInt(), rows);
        QCOMPARE(book.value("SELECT NewText FROM tbl_History WHERE Field = 'location'").toString(),
                 QStringLiteral("Elm Street"));
        QCOMPARE(book.value("SELECT NewText FROM tbl_History WHERE Field = 'Tue'").toString(), QStringLiteral("lunch"));
        QCOMPARE(book.value("SELECT NewText FROM tbl_History WHERE Field = 'chk3'").toString(),
                 s.closed[2] ? QStringLiteral("0") : QStringLiteral("1"));
    }

    void failedStoreRecordsNothing()
    {
        TestBook book;
        Database db(book.location());
        PageTable pages(db);
        storeTemplate(db, Day.dayOfWeek(), QString(), false);
        const Settings s = readSettings(db);
        PageRow row = pages.add(Day, s.layout, withCell(s.templateFor(Day), 1, 0, "typed"), false);
        const int first = book.value("SELECT count(*) FROM tbl_History").toInt();
        QCOMPARE(book.value("SELECT count(*) FROM tbl_History WHERE CalDate IS NOT NULL").toInt(), 1);
        // The second cell's history row is refused: the page and the first row go back with it.
        if (book.onServer())
            book.exec("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                      "IF new.CellRow = 2 THEN RAISE EXCEPTION 'disk full'; END IF; RETURN new; END $$; "
                      "CREATE TRIGGER refuse BEFORE INSERT ON tbl_History FOR EACH ROW EXECUTE FUNCTION refuse()");
        else
            book.exec("CREATE TRIGGER refuse BEFORE INSERT ON tbl_History WHEN new.CellRow = 2 "
                      "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        PageRow changed = row;
        changed.data = withCell(withCell(row.data, 1, 0, "over"), 2, 0, "more");
        QVERIFY_THROWS_EXCEPTION(StorageError, pages.update(changed));
        QCOMPARE(book.value("SELECT count(*) FROM tbl_History").toInt(), first);
        QCOMPARE(pages.find(Day)->data, row.data);
    }

    void backupAndRestoreCarryIt()
    {
        TestBook book;
        const QString live = book.folder.databasePath(), server = book.location().server;
        QTemporaryDir dir;
        const QString backup = dir.filePath("db.mdb");
        const auto backUpAndRestore = [&](bool clear) {
            book.onServer() ? backupServer(server, backup) : backupDatabase(live, backup);
            if (clear)
                book.exec("DELETE FROM tbl_History");
            else
                fileSql(backup, "DROP TABLE tbl_History");  // a backup from before the history
            if (book.onServer())
                restoreServer(backup, server);
            else
                restoreDatabase(backup, live);
        };
        qint64 stored = 0;
        {
            Database db(book.location());
            db.prepareSearch();
            PageTable pages(db);
            PageRow row = *pages.find(QDate(1998, 8, 8));
            row.data = withCell(row.data, 1, 1, "kept in the backup");
            pages.update(row);
            stored = row.id;
        }
        backUpAndRestore(true);
        {
            Database db(book.location());
            // The file's index of the pages' text comes back with it, as it was.
            if (!book.onServer())
                QCOMPARE(fileSql(live, "SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name = 'tbl_Appt'").toInt(), 3);
            QCOMPARE(PageSearch(db, QStringLiteral("in the backup")).next(std::nullopt)->id, stored);
            const std::vector<Change> cell = History(db).cell(QDate(1998, 8, 8), 1, 1);
            QCOMPARE(cell.size(), size_t(1));
            QCOMPARE(cell[0].newText, QStringLiteral("kept in the backup"));
            QCOMPARE(cell[0].desk, QStringLiteral("front/anna"));
            // New rows follow the restored ones.
            PageTable pages(db);
            PageRow row = *pages.find(QDate(1998, 8, 8));
            row.memo = QStringLiteral("after the restore");
            pages.update(row);
            QCOMPARE(History(db).day(row.calDate).size(), size_t(2));
        }
        // A backup from before the history restores with none.
        backUpAndRestore(false);
        Database db(book.location());
        QCOMPARE(History(db).day(QDate(1998, 8, 8)).size(), size_t(0));
    }

    void deskNameNeverEmpty()
    {
        if (testserver::engineIsServer())
            QSKIP("not a matter of the engine");
        setDeskName(QString());
        const QByteArray user = qgetenv("USER"), logname = qgetenv("LOGNAME"), username = qgetenv("USERNAME");
        qputenv("USER", "carla");
        QVERIFY(deskName().endsWith(QStringLiteral("/carla")));
        qunsetenv("USER");
        qunsetenv("LOGNAME");
        qunsetenv("USERNAME");
        // Without them the account database names the login.
        const passwd* account = getpwuid(geteuid());
        QVERIFY(account);
        QVERIFY(deskName().endsWith(QLatin1Char('/') + QString::fromLocal8Bit(account->pw_name)));
        qputenv("USER", user);
        qputenv("LOGNAME", logname);
        qputenv("USERNAME", username);
    }
};

QTEST_GUILESS_MAIN(tst_history)
#include "tst_history.moc"
