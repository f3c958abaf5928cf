// The database file, the settings row, page rows and the two text formats.
#include "common/readonlyfiles.h"
#include "common/testbook.h"
#include "common/testfolder.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <sqlite3.h>

using namespace storage;

class tst_storage : public QObject {
    Q_OBJECT

private slots:
    void splitList_data();
    void splitList();
    void cellText_data();
    void cellText();

    void damagedFile_data();
    void damagedFile();
    void nullFieldsReadEmpty();
    void newRowCopiesSettings();
    void failedWriteLeavesRows_data();
    void failedWriteLeavesRows();
    void lookupInsideWalk();
    void readOnlyFile_data();
    void readOnlyFile();

private:
    // Runs SQL on the test's database through a connection of its own.
    static void sql(const QString& path, const QString& statement);
};

void tst_storage::sql(const QString& path, const QString& statement)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY2(q.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

void tst_storage::splitList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");  // elements 1..k
    const QString longItem(40000, u'x');
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("one percent") << "%" << QStringList{"", ""};
    QTest::newRow("empty item inside") << "X%%Y%" << QStringList{"X", "", "Y", ""};
    QTest::newRow("no percent") << "X" << QStringList{"X"};
    QTest::newRow("as the set-up page writes") << "A%B%C%" << QStringList{"A", "B", "C", ""};
    QTest::newRow("no percent at the end") << "A%B" << QStringList{"A", "B"};
    // Separators past position 32,767 split like any other.
    QTest::newRow("long items") << longItem + "%" + longItem + "%tail" << QStringList{longItem, longItem, "tail"};
}

void tst_storage::splitList()
{
    if (testserver::engineIsServer())
        QSKIP("not a matter of the engine, or the file's alone");
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    // Element 0 belongs to the caller; what stood beyond it goes.
    QStringList list{"zero", "a", "b", "c", "d", "e"};
    SplitList(text, list);
    QCOMPARE(list, QStringList{"zero"} + items);
}

void tst_storage::cellText_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QString>("text");
    QTest::newRow("two providers, three rows") << QList<QStringList>{{"a", "b"}, {"", ""}, {"c", ""}}
                                               << QStringLiteral("a\tb\r\t\rc\t");
    QTest::newRow("two by two") << QList<QStringList>{{"a", "b"}, {"c", ""}} << QStringLiteral("a\tb\rc\t");
    QTest::newRow("one cell") << QList<QStringList>{{"Smith"}} << QStringLiteral("Smith");
}

void tst_storage::cellText()
{
    if (testserver::engineIsServer())
        QSKIP("not a matter of the engine, or the file's alone");
    QFETCH(QList<QStringList>, rows);
    QFETCH(QString, text);
    QCOMPARE(celltext::join(rows), text);
    QCOMPARE(celltext::split(text), rows);
}

void tst_storage::damagedFile_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("problem");
    QTest::newRow("missing") << "remove" << "does not exist";
    QTest::newRow("not a database") << "garbage" << "not a database";
    QTest::newRow("table missing") << "DROP TABLE tbl_Order" << "tbl_Order is missing";
    QTest::newRow("field missing") << "ALTER TABLE tbl_Appt DROP COLUMN Memo" << "Memo";
    QTest::newRow("no settings row") << "DELETE FROM tbl_Setup" << "no settings row";
}

void tst_storage::damagedFile()
{
    if (testserver::engineIsServer())
        QSKIP("not a matter of the engine, or the file's alone");
    QFETCH(QString, damage);
    QFETCH(QString, problem);
    TestFolder folder;
    const QString path = folder.databasePath();
    if (damage == "remove") {
        QFile::remove(path);
    } else if (damage == "garbage") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(4096, 'z'));
    } else {
        sql(path, damage);
    }
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    try {
        Database db(path);
        QFAIL("a damaged file was opened");
    } catch (const StorageError& e) {
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        QVERIFY2(e.message().contains(problem), qPrintable(e.message()));
    }
    // Nothing was created or repaired.
    QFile after(path);
    if (damage == "remove") {
        QVERIFY(!after.exists());
    } else {
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }
}

void tst_storage::nullFieldsReadEmpty()
{
    TestBook book;
    book.exec("UPDATE tbl_Setup SET Mon = NULL, FixedMemo = NULL, open = NULL, Listno = NULL");
    book.exec("INSERT INTO tbl_Appt (CalDate) VALUES ('2030-01-02')");
    Database db(book.location());
    const Settings s = readSettings(db);
    QCOMPARE(s.templates[0], QString());
    QCOMPARE(s.fixedMemo, QString());
    QCOMPARE(s.layout.missing, (QStringList{"open", "Listno"}));
    PageTable pages(db);
    const PageRow read = *pages.find(QDate(2030, 1, 2));
    QVERIFY(read.dataNull);
    QCOMPARE(read.data, QString());
    QCOMPARE(read.memo, QString());
    QVERIFY(!read.clinic.has_value());
}

void tst_storage::newRowCopiesSettings()
{
    TestBook book;
    Database db(book.location());
    PageTable pages(db);
    Settings s = readSettings(db);
    const PageRow row = pages.add(QDate(2027, 5, 6), s.layout, s.templates[3], false);
    // Later changes to the settings leave the row's own layout alone once its day is past.
    s.layout.listno = 2;
    s.layout.names = QStringLiteral("X%Y%");
    storeSetup(db, s.layout, QDate(2027, 5, 7));
    const PageRow read = *pages.find(QDate(2027, 5, 6));
    QCOMPARE(read.id, row.id);
    QCOMPARE(read.layout.listno, 4);
    QVERIFY(read.layout.names.startsWith(QStringLiteral("Dr. Ilse Marwick%")));
}

void tst_storage::failedWriteLeavesRows_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("locked by another program") << "lock";
    QTest::newRow("write refused half way") << "trigger";
}

void tst_storage::failedWriteLeavesRows()
{
    if (testserver::engineIsServer())
        QSKIP("not a matter of the engine, or the file's alone");
    QFETCH(QString, failure);
    TestFolder folder;
    const QString path = folder.databasePath();
    if (failure == "trigger")
        sql(path, "CREATE TRIGGER refuse BEFORE DELETE ON tbl_Appt WHEN old.CalDate = '1998-08-08' "
                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    Database db(path);
    PageTable pages(db);
    const int before = pages.count();
    QList<qint64> ids;
    pages.walk([&](const PageRow& r) { ids << r.id; return true; });

    QSqlDatabase other;
    if (failure == "lock") {
        other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec("BEGIN EXCLUSIVE"));
    }
    try {
        pages.remove(ids);
        QFAIL("the write did not fail");
    } catch (const StorageError& e) {
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        QVERIFY2(e.message().contains("deleting"), qPrintable(e.message()));
    }
    if (failure == "lock") {
        QVERIFY(QSqlQuery(other).exec("ROLLBACK"));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }
    // One transaction: not one of the rows went.
    QCOMPARE(pages.count(), before);
}

void tst_storage::lookupInsideWalk()
{
    // The search looks rows up while it walks: each use of a kept statement stands alone,
    // and none holds the file once it is done.
    TestBook book;
    Database db(book.location());
    PageTable pages(db);
    QList<QDate> found;
    pages.walk([&](const PageRow& r) {
        pages.walk([&](const PageRow&) { return false; });
        if (const std::optional<PageRow> again = pages.find(r.calDate))
            found << again->calDate;
        return true;
    });
    QCOMPARE(found.size(), 4);
    // Another program can write at once.
    book.exec("UPDATE tbl_Appt SET Memo = 'written elsewhere'");
    QCOMPARE(pages.find(QDate(1998, 8, 8))->memo, QStringLiteral("written elsewhere"));
}

namespace {

// Leaves beside the file an unfinished change, as a program stopped in the middle of a
// transaction does: a copy of the file taken then, with its journal.
void leaveUnfinishedChange(const QString& path)
{
    const QString scratch = path + QStringLiteral(".scratch");
    QVERIFY(QFile::copy(path, scratch));
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(scratch.toUtf8().constData(), &db), SQLITE_OK);
    // A small cache makes the engine write the change into the file before the commit.
    QCOMPARE(sqlite3_exec(db, "PRAGMA cache_size = 4; BEGIN; "
                              "UPDATE tbl_Setup SET Readme = Readme || printf('%.100000c', 'x'), location = 'Half'; "
                              "UPDATE tbl_Appt SET Data = printf('%.20000c', 'y');",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    QVERIFY(QFileInfo(scratch + QStringLiteral("-journal")).size() > 0);
    QFile::remove(path);
    QVERIFY(QFile::copy(scratch, path));
    QVERIFY(QFile::copy(scratch + QStringLiteral("-journal"), path + QStringLiteral("-journal")));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QFile::remove(scratch);
}

}  // namespace

void tst_storage::readOnlyFile_data()
{
    QTest::addColumn<bool>("unfinished");
    QTest::addColumn<bool>("writable");
    QTest::newRow("read-only") << false << false;
    QTest::newRow("read-only, with an unfinished change") << true << false;
    QTest::newRow("writable, with an unfinished change") << true << true;
}

void tst_storage::readOnlyFile()
{
    if (testserver::engineIsServer())
        QSKIP("not a matter of the engine, or the file's alone");
    QFETCH(bool, unfinished);
    QFETCH(bool, writable);
    ReadOnlyFiles readOnly;
    TestFolder folder;
    const QString path = folder.databasePath();
    if (unfinished)
        leaveUnfinishedChange(path);
    if (QTest::currentTestFailed())
        return;
    if (!writable)
        readOnly.add(path);
    if (unfinished && !writable) {
        try {
            Database db(path);
            QFAIL("the file was read");
        } catch (const StorageError& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("The database file %1 cannot be read: it is read-only and holds an "
                                    "unfinished change that only a writable copy can undo (the journal "
                                    "%1-journal beside it keeps that change). Make the file writable, or "
                                    "copy it together with its journal to a writable folder, and open it again.")
                         .arg(path));
        }
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
    if (writable) {
        pages.update(row);
        return;
    }
    try {
        pages.update(row);
        QFAIL("a read-only file was written");
    } catch (const StorageError& e) {
        QCOMPARE(e.message(), QStringLiteral("The database file %1 failed while storing the page of 1998-08-08:\n"
                                             "The file is read-only: nothing can be stored in it.")
                                  .arg(path));
    }
}

QTEST_MAIN(tst_storage)
#include "tst_storage.moc"
