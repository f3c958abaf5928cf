// The settings row and the page rows on either engine, and the two text formats.
#include "common/testbook.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QTest>

using namespace storage;

class tst_storage : public QObject {
    Q_OBJECT

private slots:
    void splitList_data()
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

    void splitList()
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

    void cellText_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QString>("text");
        QTest::newRow("two providers, three rows") << QList<QStringList>{{"a", "b"}, {"", ""}, {"c", ""}}
                                                   << QStringLiteral("a\tb\r\t\rc\t");
        QTest::newRow("two by two") << QList<QStringList>{{"a", "b"}, {"c", ""}} << QStringLiteral("a\tb\rc\t");
        QTest::newRow("one cell") << QList<QStringList>{{"Smith"}} << QStringLiteral("Smith");
    }

    void cellText()
    {
        if (testserver::engineIsServer())
            QSKIP("not a matter of the engine, or the file's alone");
        QFETCH(QList<QStringList>, rows);
        QFETCH(QString, text);
        QCOMPARE(celltext::join(rows), text);
        QCOMPARE(celltext::split(text), rows);
    }

    void nullFieldsReadEmpty()
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

    void controlCharactersStored()
    {
        // A NUL is stored as its stand-in and every other control character as it is, by an
        // update as by an add, on either engine.
        TestBook book;
        Database db(book.location());
        PageTable pages(db);
        const QString nul(QChar(0)), standIn(celltext::NulStandIn);
        PageRow row = pages.add(QDate(2027, 5, 8), readSettings(db).layout, "a" + nul + "b\x01", false);
        QCOMPARE(pages.find(row.calDate)->data, "a" + standIn + "b\x01");
        row.data = "c" + nul + "d\x1B";
        row.memo = nul + "m";
        pages.update(row);
        const PageRow read = *pages.find(row.calDate);
        QCOMPARE(read.data, "c" + standIn + "d\x1B");
        QCOMPARE(read.memo, standIn + "m");
    }

    void newRowCopiesSettings()
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

    void lookupInsideWalk()
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
};

QTEST_MAIN(tst_storage)
#include "tst_storage.moc"
