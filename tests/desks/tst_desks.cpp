// Several desks on one server at the same time, in one process with a connection each: a
// store over another desk's store, the purge, the set-up's version, and what one desk hears
// of the others.
#include "common/conflictanswers.h"
#include "common/refusal.h"
#include "common/daypage.h"
#include "common/deskprocess.h"
#include "common/screenstest.h"
#include "common/testbook.h"
#include "navigation/CellHistory.h"
#include "navigation/MemoPanel.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "page/frmConflicts.h"
#include "program.h"
#include "setup/frmConfigure.h"
#include "setup/frmSetup.h"
#include "storage/celltext.h"
#include "storage/bookevents.h"
#include "storage/database.h"
#include "storage/history.h"
#include "storage/pagetable.h"
#include "storage/server/server.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace storage;

namespace {

const QDate kDay(1998, 8, 8);

// A desk in a process of its own: the program's day page on the book, typed on through its
// keys, its question answered through the accessibility tree.
}  // namespace

class tst_desks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(testserver::reach(), "no PostgreSQL server for the tests");
        // The program's connections carry the desk's name: the cases below find them by it.
        storage::setDeskName(QStringLiteral("calvora"));
    }

    void purgeKeepsAPageStoredMeanwhile()
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

    void setupVersion_data()
    {
        QTest::addColumn<QString>("other");   // what desk 2 stores first
        QTest::addColumn<QString>("store");   // what desk 1 then stores over its old version
        QTest::newRow("a template over the set-up") << "setup" << "template";
        QTest::newRow("the set-up over a template") << "template" << "setup";
        QTest::newRow("a template over the fixed memo") << "memo" << "template";
    }

    void setupVersion()
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
        const QString said = refusal<StaleSettings>(storeMine);
        QVERIFY2(said.contains("The set-up was stored on another desk after this desk read it"), qPrintable(said));
        QCOMPARE(book.server().value("SELECT Mon || '|' || Tue || '|' || timeslot FROM tbl_Setup").toString(), before);
        // Read again, it stores.
        const Settings again = readSettings(desk1);
        QCOMPARE(again.version, read1.version + 1);
        storeTemplate(desk1, 1, "my Monday", true, again.version);
        QCOMPARE(readSettings(desk2).templates[0], QStringLiteral("my Monday"));
    }

    void setupScreensStoreOverWhatTheyRead_data()
    {
        QTest::addColumn<bool>("templates");
        QTest::newRow("the set-up page's Okay") << false;
        QTest::newRow("the template editor's F7") << true;
    }

    void setupScreensStoreOverWhatTheyRead()
    {
        // The other desk stores a template while this desk's set-up screen is open: what the
        // screen then stores is refused, said once, and the set-up stays as the other desk left it.
        QFETCH(bool, templates);
        program::registerScreens();
        DayPageFixture f;
        Form* screen = screens::show(templates ? Screen::Configure : Screen::Setup);
        QVERIFY(screen);
        f.settle();
        f.dialogs.messages.clear();  // the template editor's note on how to fill it in
        Database desk2(f.book.location());
        storeTemplate(desk2, 3, "their Wednesday", false);
        const QString sql = QStringLiteral("SELECT location || '|' || Mon || '|' || Wed FROM tbl_Setup");
        const QString before = f.value(sql).toString();
        if (auto* c = qobject_cast<frmConfigure*>(screen)) {
            c->Grid1->setTextMatrix(4, 1, QStringLiteral("Staff meeting"));
            c->CmdFinish->click();
        } else {
            static_cast<frmSetup*>(screen)->Text1->setText(QStringLiteral("Clinic"));
            static_cast<frmSetup*>(screen)->CmdOkay->click();
        }
        f.settle();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages[0].text.contains("The set-up was stored on another desk after this desk read it"),
                 qPrintable(f.dialogs.messages[0].text));
        QCOMPARE(f.value(sql).toString(), before);
        closeAllScreens();
    }

    void desksHearEachOther()
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
        // A set-up that lays the pages from a day on out anew stores each of them anew.
        Settings s = readSettings(desk2);
        s.layout.timeslot = 20;
        const int version = pages2.find(QDate(2033, 2, 2))->version;
        storeSetup(desk2, s.layout, QDate(2033, 1, 1), s.version);
        QVERIFY(pages.wait(5000));
        QCOMPARE(pages.takeFirst().at(0).toDate(), QDate(2033, 2, 2));
        QCOMPARE(pages2.find(QDate(2033, 2, 2))->version, version + 1);

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
        QCOMPARE(settings.size(), 2);
    }

    void dayPageMerges_data()
    {
        // This desk types into cell (5, 2); the other desk stores the same cell first; then this
        // desk stores. The cell as stored and shown afterwards.
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("meanwhile");  // the other desk stores another cell while this desk asks
        QTest::newRow("keep mine") << QStringList{"cmdMine", "cmdStore"} << "mine" << false;
        QTest::newRow("keep theirs") << QStringList{"cmdStore"} << "theirs" << false;
        QTest::newRow("mine for all") << QStringList{"cmdAllMine", "cmdStore"} << "mine" << false;
        QTest::newRow("keys only") << QStringList{"m", "return"} << "mine" << false;
        // The answered page loses once more and is merged again, without asking again where
        // nothing new conflicts.
        QTest::newRow("keep mine, stored again while asked") << QStringList{"cmdMine", "cmdStore"} << "mine" << true;
    }

    void dayPageMerges()
    {
        QFETCH(QStringList, buttons);
        QFETCH(QString, expected);
        QFETCH(bool, meanwhile);
        DayPageFixture f;
        QVERIFY(f.open());
        storage::setDeskName(QStringLiteral("office/ben"));
        Database desk2(f.book.location());
        storage::setDeskName(QStringLiteral("calvora"));
        f.form->Grid1->setTextMatrix(5, 2, QStringLiteral("mine"));
        storeCell(desk2, DayPageFixture::Today, 5, 2, QStringLiteral("theirs"));
        {
            ConflictAnswers answers(buttons);
            if (meanwhile)
                answers.whenShown = [&] { storeCell(desk2, DayPageFixture::Today, 6, 1, QStringLiteral("stored while asked")); };
            f.form->SavePage();
            QCOMPARE(answers.shown, 1);
            // Its time, its provider, their text with the desk and the moment of its store as
            // the history has them, mine, and the choice.
            QString when;
            for (const storage::Change& c : storage::History(f.form->database()).cell(DayPageFixture::Today, 2, 1))
                if (c.desk == "office/ben" && when.isEmpty())
                    when = QLocale::system().toString(c.moment.toLocalTime(), QLocale::ShortFormat);
            QVERIFY(!when.isEmpty());
            QCOMPARE(answers.rows.value(0), f.form->Grid1->TextMatrix(5, 0).trimmed() + "|"
                                                 + f.form->Grid1->TextMatrix(2, 2).trimmed()
                                                 + "|theirs (by office/ben, " + when + ")|mine|Keep " + expected);
            QCOMPARE(answers.rows.size(), 1);
        }
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 5, 2), expected);
        QCOMPARE(f.form->Grid1->TextMatrix(5, 2), expected);
        if (meanwhile) {
            QCOMPARE(f.book.storedCell(DayPageFixture::Today, 6, 1), QStringLiteral("stored while asked"));
            QCOMPARE(f.form->Grid1->TextMatrix(6, 1), QStringLiteral("stored while asked"));
        }
        QCOMPARE(f.dialogs.messages.size(), 0);
        // Both desks' stores are in the history: theirs over what stood before, and this desk's
        // merged page where it differs from theirs. A text typed here and not kept is there too,
        // marked so, and can be put back from the cell's history.
        QStringList stores, notKept;
        for (const storage::Change& c : storage::History(f.form->database()).day(DayPageFixture::Today))
            (c.notKept() ? notKept : stores) << c.desk + ':' + c.newText;
        QVERIFY2(stores.contains("office/ben:theirs"), qPrintable(stores.join(", ")));
        QCOMPARE(stores.contains("calvora:mine"), expected == "mine");
        QCOMPARE(notKept, expected == "theirs" ? QStringList("calvora:mine") : QStringList());
        if (expected == "theirs") {
            CellHistory* history = f.form->findChild<CellHistory*>();
            history->showCell(5 - 3, 2 - 1);
            auto* dialog = qobject_cast<frmCellHistory*>(history->dialog());
            QVERIFY(dialog);
            QTreeWidgetItem* newest = dialog->lstHistory->topLevelItem(0);
            QCOMPARE(newest->text(0), QStringLiteral("mine"));
            QVERIFY2(newest->text(1).startsWith("not kept, "), qPrintable(newest->text(1)));
            dialog->cmdPutBack->click();
            f.settle();
            QCOMPARE(f.form->Grid1->TextMatrix(5, 2), QStringLiteral("mine"));
            f.form->SavePage();
            QCOMPARE(f.book.storedCell(DayPageFixture::Today, 5, 2), QStringLiteral("mine"));
        }

        // Cancelled, nothing is stored and the page stays on screen as typed, marked.
        f.form->Grid1->setTextMatrix(7, 3, QStringLiteral("mine again"));
        storeCell(desk2, DayPageFixture::Today, 7, 3, QStringLiteral("theirs again"));
        ConflictAnswers cancel({"cmdCancel"});
        f.openDate(QDate(1998, 8, 8));
        QCOMPARE(cancel.shown, 1);
        QCOMPARE(f.form->PageDate, DayPageFixture::Today);
        QCOMPARE(f.form->Grid1->TextMatrix(7, 3), QStringLiteral("mine again"));
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 7, 3), QStringLiteral("theirs again"));
        QVERIFY(f.form->lblOtherDesk->isVisibleTo(f.form));
        QCOMPARE(f.dialogs.messages.size(), 0);
    }

    void everyStorePathStoresThePageOnScreen_data()
    {
        // How the page is stored after this desk typed and the other desk stored another cell
        // of the same day.
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("stays");  // the page stays on screen
        QTest::newRow("status list") << "status list" << true;
        QTest::newRow("status by keys") << "status by keys" << true;
        QTest::newRow("another day") << "another day" << false;
        // The server ended this desk's connection while the user typed: nothing typed goes.
        QTest::newRow("another day, the connection ended meanwhile") << "another day, ended" << false;
        QTest::newRow("demo page (F2)") << "demo page" << false;
        QTest::newRow("leaving") << "leaving" << false;
        QTest::newRow("the restore's question") << "restore" << true;
        // The restored book lacks the day, and the other desk adds it while the question is open.
        QTest::newRow("the restore's question, the day added meanwhile") << "restore, added" << true;
    }

    void everyStorePathStoresThePageOnScreen()
    {
        // Whatever stores the page stores it as it is on screen, merged with the other desk's
        // store: the typed cell and memo and the other desk's cell are stored, and shown.
        QFETCH(QString, path);
        QFETCH(bool, stays);
        DayPageFixture f;
        QVERIFY(f.open());
        Database desk2(f.book.location());
        PageTable pages2(desk2);
        const QDate today = DayPageFixture::Today;
        QTemporaryDir out;
        const bool restore = path.startsWith("restore");
        const bool added = path == "restore, added";
        if (added) {
            pages2.remove(pages2.find(today)->id);
            backupServer(f.book.server().conninfo(), out.filePath("db.mdb"));
        }
        f.form->Grid1->setTextMatrix(5, 2, QStringLiteral("typed here"));
        f.form->TxtMemo->setPlainText(QStringLiteral("memo typed here"));
        if (added) {
            f.dialogs.whenAsked = [&](const dialogs::Prompt&) {
                pages2.add(today, readSettings(desk2).layout, f.settingsTemplate(today), false);
                storeCell(desk2, today, 6, 1, QStringLiteral("stored on desk 2"));
            };
        } else {
            if (path.endsWith("ended"))
                f.book.server().endDeskConnections();
            storeCell(desk2, today, 6, 1, QStringLiteral("stored on desk 2"));
            QTRY_VERIFY_WITH_TIMEOUT(f.form->lblOtherDesk->isVisibleTo(f.form), 4000);
        }
        QCOMPARE(f.form->Grid1->TextMatrix(5, 2), QStringLiteral("typed here"));

        if (path == "status list") {
            f.form->statusList->setCurrentIndex(1);  // a mouse choice acts at once
        } else if (path == "status by keys") {
            f.form->statusList->setFocus();
            QTest::keyClick(f.form->statusList, Qt::Key_Down);
            QTest::keyClick(f.form->statusList, Qt::Key_Return);
        } else if (path.startsWith("another day")) {
            f.openDate(QDate(1998, 8, 8));
        } else if (path == "demo page") {
            QTest::keyClick(f.form->Grid1, Qt::Key_F2);
        } else if (path == "leaving") {
            f.form->Unload();
        } else if (restore) {
            if (!added)
                backupServer(f.book.server().conninfo(), out.filePath("db.mdb"));
            f.dialogs.answerMessage(dialogs::Answer::Yes);
            restoreServer(out.filePath("db.mdb"), f.book.server().conninfo());
            QTRY_COMPARE_WITH_TIMEOUT(f.dialogs.messages.size(), 1, 2000);
            QVERIFY2(f.dialogs.messages[0].text.startsWith("The appointment book was replaced on another desk"),
                     qPrintable(f.dialogs.messages[0].text));
        }
        f.settle();
        QCOMPARE(f.dialogs.messages.size(), restore ? 1 : 0);
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 5, 2), QStringLiteral("typed here"));
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 6, 1), QStringLiteral("stored on desk 2"));
        QCOMPARE(f.value("SELECT Memo FROM tbl_Appt WHERE CalDate = '2030-03-05'").toString(), QStringLiteral("memo typed here"));
        if (path.startsWith("status"))
            QCOMPARE(f.value("SELECT Clinic FROM tbl_Appt WHERE CalDate = '2030-03-05'").toBool(), true);
        if (stays) {
            QCOMPARE(f.form->PageDate, today);
            QCOMPARE(f.form->Grid1->TextMatrix(5, 2), QStringLiteral("typed here"));
            QCOMPARE(f.form->Grid1->TextMatrix(6, 1), QStringLiteral("stored on desk 2"));
            QCOMPARE(f.form->TxtMemo->toPlainText(), QStringLiteral("memo typed here"));
        }
    }

    void otherDeskStoresWhileTheEditorIsOpen_data()
    {
        QTest::addColumn<bool>("typed");  // into the cell the other desk stores
        // Shown by itself where it was; the editor open on another cell stays as it was.
        QTest::newRow("nothing typed") << false;
        // The editor keeps what was typed, the page is marked, and the store asks which text the
        // cell keeps.
        QTest::newRow("typed into the cell") << true;
    }

    void otherDeskStoresWhileTheEditorIsOpen()
    {
        QFETCH(bool, typed);
        DayPageFixture f;
        QVERIFY(f.open());
        Database desk2(f.book.location());
        FlexGrid* grid = f.form->Grid1;
        f.form->resize(f.form->width(), 320);  // a window too short for the page: it scrolls
        f.settle();
        grid->setFocus();
        grid->setTopRow(6);
        QCOMPARE(grid->TopRow(), 6);
        grid->setRow(9);
        grid->setCol(3);
        const QString editing = grid->TextMatrix(9, 3) + (typed ? QStringLiteral("mine") : QString());
        if (typed) {
            QTest::keyClick(grid, Qt::Key_M);
            QTest::keyClicks(f.form->txtEdit, QStringLiteral("ine"));
        } else {
            QTest::keyClick(grid, Qt::Key_Return);  // the editor opens on the cell, nothing typed
        }
        QVERIFY(f.form->editorOpen());
        QCOMPARE(f.form->txtEdit->text(), editing);
        storeCell(desk2, DayPageFixture::Today, typed ? 9 : 6, typed ? 3 : 2, QStringLiteral("from desk 2"));
        if (typed)
            QTRY_VERIFY_WITH_TIMEOUT(f.form->lblOtherDesk->isVisibleTo(f.form), 2000);
        else
            QTRY_COMPARE_WITH_TIMEOUT(grid->TextMatrix(6, 2), QStringLiteral("from desk 2"), 2000);
        QCOMPARE(grid->Row(), 9);
        QCOMPARE(grid->Col(), 3);
        QCOMPARE(grid->TopRow(), 6);
        QVERIFY(f.form->editorOpen());
        QCOMPARE(f.form->txtEdit->text(), editing);
        QCOMPARE(grid->TextMatrix(9, 3), editing);
        if (typed) {
            QTest::keyClicks(f.form->txtEdit, QStringLiteral("!"));
            QTest::keyClick(f.form->txtEdit, Qt::Key_Return);
            ConflictAnswers answers({"cmdMine", "cmdStore"});
            f.form->SavePage();
            QCOMPARE(answers.shown, 1);
            QCOMPARE(f.book.storedCell(DayPageFixture::Today, 9, 3), editing + "!");
            QCOMPARE(grid->TextMatrix(9, 3), editing + "!");
            return;
        }
        QTest::keyClick(f.form->txtEdit, Qt::Key_Escape);
        QVERIFY(!f.form->lblOtherDesk->isVisibleTo(f.form));

        // The read of another desk's store fails: nothing typed is at stake, so the status line
        // says why, no box interrupts, and the next read that works clears the line.
        f.exec(QStringLiteral("REVOKE SELECT ON tbl_Appt FROM CURRENT_USER; SELECT pg_notify('calvora_page', '%1')")
                   .arg(DayPageFixture::key(DayPageFixture::Today)));
        QTRY_VERIFY_WITH_TIMEOUT(f.form->lblStatus->isVisibleTo(f.form), 2000);
        QVERIFY2(f.form->lblStatus->toolTip().contains(QStringLiteral("permission denied")),
                 qPrintable(f.form->lblStatus->toolTip()));
        QCOMPARE(f.dialogs.messages.size(), 0);
        f.exec(QStringLiteral("GRANT SELECT ON tbl_Appt TO CURRENT_USER"));
        storeCell(desk2, DayPageFixture::Today, 6, 2, QStringLiteral("from desk 2"));
        QTRY_VERIFY_WITH_TIMEOUT(!f.form->lblStatus->isVisibleTo(f.form), 2000);

        // One that has typed elsewhere keeps its text, says so, and merges when it stores.
        grid->setTextMatrix(8, 1, QStringLiteral("typed here"));
        storeCell(desk2, DayPageFixture::Today, 6, 2, QStringLiteral("desk 2 again"));
        QTRY_VERIFY_WITH_TIMEOUT(f.form->lblOtherDesk->isVisibleTo(f.form), 2000);
        QCOMPARE(grid->TextMatrix(8, 1), QStringLiteral("typed here"));
        QCOMPARE(grid->TextMatrix(6, 2), QStringLiteral("from desk 2"));
        f.form->SavePage();
        QCOMPARE(grid->TextMatrix(6, 2), QStringLiteral("desk 2 again"));
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 8, 1), QStringLiteral("typed here"));
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 6, 2), QStringLiteral("desk 2 again"));
        QVERIFY(!f.form->lblOtherDesk->isVisibleTo(f.form));
    }

    void purgedPageIsAddedAgainWhole()
    {
        // The other desk's purge removes the page this desk shows as empty; this desk types and
        // stores: the page is there again with what was typed.
        DayPageFixture f;
        QVERIFY(f.open());
        Database desk2(f.book.location());
        PageTable pages2(desk2);
        pages2.removeUnchanged({*pages2.find(DayPageFixture::Today)});
        QVERIFY(!pages2.find(DayPageFixture::Today));
        f.form->Grid1->setTextMatrix(4, 1, QStringLiteral("typed on a purged page"));
        f.openDate(QDate(1998, 8, 8));
        QCOMPARE(f.form->PageDate, QDate(1998, 8, 8));
        QCOMPARE(f.dialogs.messages.size(), 0);
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 4, 1), QStringLiteral("typed on a purged page"));
    }

    void setupChangedOnAnotherDesk_data()
    {
        // This desk types a cell; the other desk stores a set-up (from 08:00 AM by 30 minutes):
        // the typed entry is stored and shown at the time it was typed at under the new set-up,
        // whether this desk stores by itself before it heard of the set-up or on the notice.
        // A cell the other desk stored, which the set-up moved to the typed time, is asked about.
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("storeFirst");
        QTest::addColumn<int>("typedRow");
        QTest::addColumn<int>("typedCol");
        QTest::addColumn<int>("row");  // where it stands afterwards
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("theirs");  // stored at (row, col) by the other desk before
        QTest::newRow("fewer providers") << "providers" << false << 5 << 4 << 5 << 4 << "";
        QTest::newRow("longer slot") << "slot" << false << 8 << 2 << 6 << 2 << "";
        QTest::newRow("earlier first time") << "open" << false << 6 << 1 << 8 << 1 << "";
        QTest::newRow("longer slot, stored before the notice") << "slot" << true << 8 << 2 << 6 << 2 << "";
        QTest::newRow("longer slot, their entry moved there") << "slot" << false << 8 << 2 << 6 << 2 << "theirs at 09:00";
    }

    void setupChangedOnAnotherDesk()
    {
        QFETCH(QString, change);
        QFETCH(bool, storeFirst);
        QFETCH(int, typedRow);
        QFETCH(int, typedCol);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, theirs);
        DayPageFixture f;
        QVERIFY(f.open());
        QCOMPARE(f.form->LastCol, 4);
        Database desk2(f.book.location());
        const QString time = f.form->Grid1->TextMatrix(typedRow, 0);
        f.form->Grid1->setTextMatrix(typedRow, typedCol, QStringLiteral("typed here"));
        if (!theirs.isEmpty())
            storeCell(desk2, DayPageFixture::Today, row, col, theirs);
        Settings s = readSettings(desk2);
        if (change == "providers")
            s.layout.listno = 3;
        else if (change == "slot")
            s.layout.timeslot = 60;
        else
            s.layout.open = QStringLiteral("07:00 AM");
        ConflictAnswers answers({"cmdMine", "cmdStore"});
        storeSetup(desk2, s.layout, DayPageFixture::Today, s.version);
        if (storeFirst)
            f.form->SavePage();
        QTRY_COMPARE_WITH_TIMEOUT(f.dialogs.messages.size(), 1, 2000);
        QVERIFY2(f.dialogs.messages[0].text.startsWith("The set-up was changed on another desk."),
                 qPrintable(f.dialogs.messages[0].text));
        QCOMPARE(answers.shown, theirs.isEmpty() ? 0 : 1);
        QCOMPARE(f.form->LastCol, change == "providers" ? 3 : 4);
        QCOMPARE(f.form->Grid1->TextMatrix(row, 0), time);
        if (col <= f.form->LastCol)
            QCOMPARE(f.form->Grid1->TextMatrix(row, col), QStringLiteral("typed here"));
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, row, col), QStringLiteral("typed here"));
        QVERIFY(!f.form->typedSinceRead());
        QTest::qWait(300);
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

    void fixedMemoAndBook_data()
    {
        // This desk types the fixed memo or the book number and leaves the box; the other desk
        // stored one of them after this desk read them. Each keeps what was changed on its own
        // desk; the one changed on both is asked about (empty: as read).
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("memo");  // stored and shown afterwards
        QTest::addColumn<QString>("book");
        QTest::newRow("book there, memo here") << "memo" << "book" << QStringList() << "my memo" << "their book";
        QTest::newRow("memo there, book here") << "book" << "memo" << QStringList() << "their memo" << "my book";
        QTest::newRow("memo on both, keep mine") << "memo" << "memo" << QStringList{"cmdMine", "cmdStore"} << "my memo" << "";
        QTest::newRow("memo on both, keep theirs") << "memo" << "memo" << QStringList{"cmdStore"} << "their memo" << "";
        QTest::newRow("book on both, cancelled") << "book" << "book" << QStringList{"cmdCancel"} << "" << "their book";
    }

    void fixedMemoAndBook()
    {
        QFETCH(QString, mine);
        QFETCH(QString, theirs);
        QFETCH(QStringList, buttons);
        QFETCH(QString, memo);
        QFETCH(QString, book);
        DayPageFixture f;
        QVERIFY(f.open());
        Database desk2(f.book.location());
        const Settings read = readSettings(desk2);
        MemoAndBook stored{read.fixedMemo, read.bookno};
        (theirs == "memo" ? stored.fixedMemo : stored.bookno) = "their " + theirs;
        storeMemoAndBook(desk2, {read.fixedMemo, read.bookno}, stored);
        if (mine == "memo")
            f.memos->TxtFixedMemo->setPlainText("my memo");
        else
            f.memos->txtBook->setText("my book");
        ConflictAnswers answers(buttons);
        f.memos->store();
        QCOMPARE(answers.shown, buttons.isEmpty() ? 0 : 1);
        const Settings after = readSettings(desk2);
        QCOMPARE(after.fixedMemo, memo.isEmpty() ? read.fixedMemo : memo);
        QCOMPARE(after.bookno, book.isEmpty() ? read.bookno : book);
        // The boxes show what is stored; a cancelled one keeps what was typed.
        const bool cancelled = buttons.contains("cmdCancel");
        QCOMPARE(f.memos->TxtFixedMemo->toPlainText(), mine == "memo" && cancelled ? "my memo" : after.fixedMemo);
        QCOMPARE(f.memos->txtBook->text(), mine == "book" && cancelled ? "my book" : after.bookno);
        QCOMPARE(f.dialogs.messages.size(), 0);
    }

    void bookRestoredOnAnotherDesk_data()
    {
        QTest::addColumn<bool>("storeMine");
        QTest::addColumn<bool>("cutOff");  // this desk's connection ended: it hears of the restore when it reconnects
        QTest::newRow("the typed page stored over") << true << false;
        QTest::newRow("the restored page shown") << false << false;
        QTest::newRow("cut off during the restore, the typed page stored over") << true << true;
    }

    void bookRestoredOnAnotherDesk()
    {
        // A restore on the other desk: this desk asks before its typed page goes over the
        // restored book, and shows the book as restored.
        QFETCH(bool, storeMine);
        QFETCH(bool, cutOff);
        DayPageFixture f;
        QVERIFY(f.open());
        QTemporaryDir out;
        backupServer(f.book.server().conninfo(), out.filePath("db.mdb"));
        f.form->Grid1->setTextMatrix(5, 1, QStringLiteral("typed before the restore"));
        f.dialogs.answerMessage(storeMine ? dialogs::Answer::Yes : dialogs::Answer::No);
        if (cutOff)
            f.book.server().endDeskConnections();
        restoreServer(out.filePath("db.mdb"), f.book.server().conninfo());
        QTRY_COMPARE_WITH_TIMEOUT(f.dialogs.messages.size(), 1, 4000);
        QVERIFY2(f.dialogs.messages[0].text.startsWith("The appointment book was replaced on another desk"),
                 qPrintable(f.dialogs.messages[0].text));
        const QString expected = storeMine ? QStringLiteral("typed before the restore") : QString();
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 5, 1), expected);
        QCOMPARE(f.form->Grid1->TextMatrix(5, 1), expected);
        // The page stores on over the restored rows.
        f.form->Grid1->setTextMatrix(6, 1, QStringLiteral("after"));
        f.form->SavePage();
        QCOMPARE(f.book.storedCell(DayPageFixture::Today, 6, 1), QStringLiteral("after"));
    }

    void twoDeskProcesses()
    {
        // Two program processes type into the same day. Different cells: both texts are stored
        // and both desks show them. The same cell: the second store asks, and the answer given
        // is what is stored and shown.
        TestBook book;
        DeskProcess a(book);
        DeskProcess b(book);
        QVERIFY(a.ready);
        QVERIFY(b.ready);

        QCOMPARE(a.send("type 5 1 desk A"), QStringLiteral("ok"));
        QCOMPARE(b.send("type 6 2 desk B"), QStringLiteral("ok"));
        QCOMPARE(a.send("store"), QStringLiteral("asked 0"));
        QCOMPARE(b.send("store"), QStringLiteral("asked 0"));
        QCOMPARE(book.storedCell(DayPageFixture::Today, 5, 1), QStringLiteral("desk A"));
        QCOMPARE(book.storedCell(DayPageFixture::Today, 6, 2), QStringLiteral("desk B"));
        QCOMPARE(b.send("cell 5 1"), QStringLiteral("desk A"));
        QTRY_COMPARE_WITH_TIMEOUT(a.send("cell 6 2"), QStringLiteral("desk B"), 3000);

        QCOMPARE(a.send("type 7 1 from A"), QStringLiteral("ok"));
        QCOMPARE(b.send("type 7 1 from B"), QStringLiteral("ok"));
        QCOMPARE(a.send("store"), QStringLiteral("asked 0"));
        QCOMPARE(b.send("answer Keep_mine Store"), QStringLiteral("ok"));
        const QString asked = b.send("store");
        QVERIFY2(asked.startsWith("asked 1 ") && asked.contains("|from A (by ") && asked.endsWith(")|from B|Keep theirs"),
                 qPrintable(asked));
        QCOMPARE(book.storedCell(DayPageFixture::Today, 7, 1), QStringLiteral("from B"));
        QCOMPARE(b.send("cell 7 1"), QStringLiteral("from B"));
        QTRY_COMPARE_WITH_TIMEOUT(a.send("cell 7 1"), QStringLiteral("from B"), 3000);
        QCOMPARE(book.storedCell(DayPageFixture::Today, 5, 1), QStringLiteral("desk A"));
    }
};

QTEST_MAIN(tst_desks)
#include "tst_desks.moc"
