// Several desks on one server at the same time, in one process with a connection each: a
// store over another desk's store, the purge, the set-up's version, and what one desk hears
// of the others.
#include "common/testbook.h"
#include "storage/bookevents.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/server.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace storage;

class tst_desks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void staleStoreCarriesTheStoredPage_data();
    void staleStoreCarriesTheStoredPage();
    void purgeKeepsAPageStoredMeanwhile();
    void setupVersion_data();
    void setupVersion();
    void desksHearEachOther();
    void lostConnectionIsReportedAsMissed();
};

namespace {

const QDate kDay(1998, 8, 8);

void terminateDesks(TestBook& book)
{
    book.server().exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                      "WHERE datname = '%1' AND application_name = 'calvora'")
                           .arg(book.server().name()));
}

}  // namespace

void tst_desks::initTestCase()
{
    QVERIFY2(testserver::reach(), "no PostgreSQL server for the tests");
}

void tst_desks::staleStoreCarriesTheStoredPage_data()
{
    QTest::addColumn<bool>("removed");
    QTest::newRow("stored on the other desk") << false;
    QTest::newRow("removed on the other desk") << true;
}

void tst_desks::staleStoreCarriesTheStoredPage()
{
    // Desk 2 stores (or purges) the page desk 1 has read: desk 1's store is refused, nothing
    // of it is written, and the refusal carries the page as it is stored now.
    QFETCH(bool, removed);
    TestBook book;
    Database desk1(book.location());
    Database desk2(book.location());
    PageTable pages1(desk1);
    PageTable pages2(desk2);
    PageRow mine = *pages1.find(kDay);
    PageRow theirs = *pages2.find(kDay);
    if (removed) {
        pages2.removeUnchanged({theirs});
    } else {
        theirs.data = "stored on desk 2";
        theirs.memo = "their memo";
        pages2.update(theirs);
    }
    mine.data = "typed on desk 1";
    try {
        pages1.update(mine);
        QFAIL("a store over another desk's store was taken");
    } catch (const StaleVersion& e) {
        QCOMPARE(e.stored().has_value(), !removed);
        if (!removed) {
            QCOMPARE(e.stored()->data, QStringLiteral("stored on desk 2"));
            QCOMPARE(e.stored()->memo, QStringLiteral("their memo"));
            QCOMPARE(e.stored()->version, theirs.version);
        }
        QVERIFY2(e.message().contains(removed ? "The page of 1998-08-08 was removed on another desk"
                                              : "The page of 1998-08-08 was stored on another desk"),
                 qPrintable(e.message()));
    }
    QCOMPARE(book.server().value("SELECT count(*) FROM tbl_Appt WHERE Data = 'typed on desk 1'").toInt(), 0);
    // Stored again over the version the refusal carried, it is taken.
    if (!removed) {
        mine.id = theirs.id;
        mine.version = theirs.version;
        pages1.update(mine);
        QCOMPARE(pages2.find(kDay)->data, QStringLiteral("typed on desk 1"));
    }
}

void tst_desks::purgeKeepsAPageStoredMeanwhile()
{
    // Desk 1's purge read two empty pages; desk 2 types on one of them before the purge
    // deletes: that one stays, with its text.
    TestBook book;
    Database desk1(book.location());
    Database desk2(book.location());
    const Layout layout = readSettings(desk1).layout;
    PageTable pages1(desk1);
    PageTable pages2(desk2);
    const PageRow a = pages1.add(QDate(2033, 1, 3), layout, "", false);
    const PageRow b = pages1.add(QDate(2033, 1, 4), layout, "", false);
    PageRow typed = *pages2.find(b.calDate);
    typed.data = "typed on desk 2";
    pages2.update(typed);
    pages1.removeUnchanged({a, b});
    QVERIFY(!pages2.find(a.calDate));
    QCOMPARE(pages2.find(b.calDate)->data, QStringLiteral("typed on desk 2"));
}

void tst_desks::setupVersion_data()
{
    QTest::addColumn<QString>("other");   // what desk 2 stores first
    QTest::addColumn<QString>("store");   // what desk 1 then stores over its old version
    QTest::newRow("a template over a template") << "template" << "template";
    QTest::newRow("a template over the set-up") << "setup" << "template";
    QTest::newRow("the set-up over a template") << "template" << "setup";
    QTest::newRow("a template over the fixed memo") << "memo" << "template";
}

void tst_desks::setupVersion()
{
    // Two desks edit the set-up: a store over a set-up stored since it was read is refused
    // with a message and changes nothing; the fixed memo is not the set-up.
    QFETCH(QString, other);
    QFETCH(QString, store);
    TestBook book;
    Database desk1(book.location());
    Database desk2(book.location());
    const Settings read1 = readSettings(desk1);
    const Settings read2 = readSettings(desk2);
    QCOMPARE(read1.version, read2.version);
    const QDate today(2030, 3, 5);
    if (other == "template")
        storeTemplate(desk2, 2, "their Tuesday", false, read2.version);
    else if (other == "setup")
        storeSetup(desk2, read2.layout, today, read2.version);
    else
        writeMemoAndBook(desk2, "their memo", "9");
    const QString before = book.server().value("SELECT Mon || '|' || Tue || '|' || timeslot FROM tbl_Setup").toString();
    auto storeMine = [&] {
        if (store == "template")
            return storeTemplate(desk1, 1, "my Monday", true, read1.version);
        Layout l = read1.layout;
        l.timeslot = 20;
        return storeSetup(desk1, l, today, read1.version);
    };
    if (other == "memo") {
        QCOMPARE(storeMine(), read1.version + 1);
        QCOMPARE(readSettings(desk2).templates[0], QStringLiteral("my Monday"));
        return;
    }
    try {
        storeMine();
        QFAIL("a store over a newer set-up was taken");
    } catch (const StaleSettings& e) {
        QVERIFY2(e.message().contains("The set-up was stored on another desk after this desk read it"),
                 qPrintable(e.message()));
    }
    QCOMPARE(book.server().value("SELECT Mon || '|' || Tue || '|' || timeslot FROM tbl_Setup").toString(), before);
    // Read again, it stores.
    const Settings again = readSettings(desk1);
    QCOMPARE(again.version, read1.version + 1);
    storeTemplate(desk1, 1, "my Monday", true, again.version);
    QCOMPARE(readSettings(desk2).templates[0], QStringLiteral("my Monday"));
}

void tst_desks::desksHearEachOther()
{
    // Desk 1 listens; desk 2's stores reach it as signals after their commit. Its own stores
    // and a failed store say nothing.
    TestBook book;
    Database desk1(book.location());
    Database desk2(book.location());
    BookEvents& heard = desk1.events();
    QSignalSpy pages(&heard, &BookEvents::pageChanged);
    QSignalSpy settings(&heard, &BookEvents::settingsChanged);
    QSignalSpy replaced(&heard, &BookEvents::bookReplaced);

    PageTable pages2(desk2);
    PageRow theirs = *pages2.find(kDay);
    theirs.data = "stored on desk 2";
    pages2.update(theirs);
    QVERIFY(pages.wait(5000));
    QCOMPARE(pages.takeFirst().at(0).toDate(), kDay);
    pages2.add(QDate(2033, 2, 2), readSettings(desk2).layout, "new", false);
    QVERIFY(pages.wait(5000));
    QCOMPARE(pages.takeFirst().at(0).toDate(), QDate(2033, 2, 2));

    storeTemplate(desk2, 3, "Wednesday", false);
    QVERIFY(settings.wait(5000));

    QTemporaryDir out;
    backupServer(book.server().conninfo(), out.filePath("db.mdb"));
    restoreServer(out.filePath("db.mdb"), book.server().conninfo());
    QVERIFY(replaced.wait(5000));

    // Its own store, and a refused one of desk 2, are not heard.
    PageTable pages1(desk1);
    PageRow mine = *pages1.find(kDay);
    mine.data = "mine";
    pages1.update(mine);
    PageRow stale = *pages2.find(kDay);
    --stale.version;
    QVERIFY_THROWS_EXCEPTION(StaleVersion, pages2.update(stale));
    QTest::qWait(300);
    QCOMPARE(pages.size(), 0);
    QCOMPARE(settings.size(), 1);
}

void tst_desks::lostConnectionIsReportedAsMissed()
{
    // The server ends an idle desk's connection: the watchdog opens it again, says that
    // something may have been missed, and the desk hears the others again.
    TestBook book;
    Database desk1(book.location());
    Database desk2(book.location());
    BookEvents& heard = desk1.events();
    QSignalSpy missed(&heard, &BookEvents::missed);
    QSignalSpy pages(&heard, &BookEvents::pageChanged);
    terminateDesks(book);
    QVERIFY(missed.wait(5000));
    PageTable pages2(desk2);  // desk 2 was ended too: it opens again on its store
    PageRow theirs = *pages2.find(kDay);
    theirs.data = "after the reconnect";
    pages2.update(theirs);
    QVERIFY(pages.wait(5000));
    QCOMPARE(pages.takeFirst().at(0).toDate(), kDay);
}

QTEST_MAIN(tst_desks)
#include "tst_desks.moc"
