// The life of a page on the real day page: finding or adding the row, the weekday template,
// past layouts and the page lock, saving at each switch, Today, and the purge on leaving.
#include "app/frmMenu.h"
#include "app/screens.h"
#include "platform/programfolder.h"
#include "common/daypage.h"
#include "navigation/MonthCalendar.h"
#include "navigation/PageNavigation.h"
#include "program.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/colours.h"
#include "common/readonlyfiles.h"
#include "platform/clock.h"
#include "platform/twips.h"
#include "storage/celltext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

namespace {

const QDate kToday = DayPageFixture::Today;
const QString kTodayKey = DayPageFixture::key(kToday);

// A date well after today on a given weekday (1 Monday ... 7 Sunday).
QDate futureDay(int weekday, int weeksOn = 3)
{
    QDate d = kToday.addDays(7 * weeksOn);
    while (d.dayOfWeek() != weekday)
        d = d.addDays(1);
    return d;
}

}  // namespace

class tst_daypage : public QObject {
    Q_OBJECT

private slots:
    void storedRowOpens_data()
    {
        QTest::addColumn<int>("weekday");
        QTest::addColumn<QVariant>("data");
        QTest::addColumn<QVariant>("clinic");
        QTest::addColumn<QString>("cells");  // r3c1|r3c2|r4c1 shown; empty: not checked
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("templated");  // stored with its weekday's template and flag
        QTest::newRow("shorter text empties the rest") << 3 << QVariant("x\ty\rz") << QVariant(0) << "x|y|z" << false << false;
        QTest::newRow("an empty page never takes its template") << 1 << QVariant("") << QVariant(0) << "||" << false << false;
        QTest::newRow("a Null flag shows open") << 2 << QVariant("a\tb") << QVariant() << "a|b|" << false << false;
        // Left without its Data and flag by a crash of an older version: a new page.
        QTest::newRow("a row without Data takes its template") << 6 << QVariant() << QVariant() << "" << true << true;
    }

    void storedRowOpens()
    {
        QFETCH(int, weekday);
        QFETCH(QVariant, data);
        QFETCH(QVariant, clinic);
        QFETCH(QString, cells);
        QFETCH(bool, closed);
        QFETCH(bool, templated);
        DayPageFixture f;
        const QDate day = futureDay(weekday);
        f.addPage(day, data, clinic, QStringLiteral("kept note"));
        QVERIFY(f.open());
        FlexGrid* g = f.form->Grid1;
        const auto eachCell = [&](const std::function<void(int, int)>& act) {
            for (int r = 3; r <= f.form->LastRow; ++r)
                for (int c = 1; c <= f.form->LastCol; ++c)
                    act(r, c);
        };
        eachCell([&](int r, int c) { g->setTextMatrix(r, c, QStringLiteral("old")); });
        const int pages = f.pageCount();
        f.openDate(day);
        QCOMPARE(f.form->PageDate, day);
        QCOMPARE(f.pageCount(), pages);
        eachCell([&](int r, int c) { QVERIFY2(g->TextMatrix(r, c) != QLatin1String("old"), qPrintable(QString("%1,%2").arg(r).arg(c))); });
        if (!cells.isEmpty())
            QCOMPARE(QStringList({g->TextMatrix(3, 1), g->TextMatrix(3, 2), g->TextMatrix(4, 1)}).join(u'|'), cells);
        QCOMPARE(f.form->Check1->isChecked(), closed);
        QCOMPARE(f.form->statusList->currentIndex(), closed ? 1 : 0);
        QCOMPARE(f.form->TxtMemo->toPlainText(), QStringLiteral("kept note"));
        f.form->cmdToday_Click();
        const QString stored = f.storedData(day).toString();
        if (templated) {
            QCOMPARE(stored, f.settingsTemplate(day));
            QCOMPARE(f.value("SELECT Clinic FROM tbl_Appt WHERE CalDate = '" + DayPageFixture::key(day) + "'"), QVariant(1));
        } else {
            QVERIFY(!stored.contains(QLatin1String("****")));  // the weekday templates block the lunch hour
        }
    }

    void pastPagesShowOwnLayoutLocked()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        FlexGrid* g = f.form->Grid1;
        // 11 November 1998 was made with three providers and 15-minute slots, 09:00 to 06:00.
        f.openDate(QDate(1998, 11, 11));
        QCOMPARE(f.form->PageDate, QDate(1998, 11, 11));
        QCOMPARE(g->Cols(), 4);
        QCOMPARE(g->TextMatrix(4, 0), QStringLiteral("09:00 AM "));
        QCOMPARE(g->TextMatrix(f.form->LastRow - 2, 0), QStringLiteral("06:00 PM "));
        QCOMPARE(g->TextMatrix(2, 3), QStringLiteral("Nurse Adaeze Okoro"));
        QVERIFY(f.form->Check2->isChecked());

        // 8 August 1998: two providers, closed.
        f.openDate(QDate(1998, 8, 8));
        QCOMPARE(g->Cols(), 3);
        QCOMPARE(f.form->statusList->currentIndex(), 1);
        QCOMPARE(g->BackColor(), colours::Desktop);

        // Back to today: the settings' layout, the lock off.
        f.form->cmdToday_Click();
        QCOMPARE(f.form->PageDate, kToday);
        QCOMPARE(g->Cols(), 5);
        QCOMPARE(g->TextMatrix(4, 0), QStringLiteral("08:00 AM "));
        QVERIFY(!f.form->Check2->isChecked());
        QCOMPARE(QApplication::focusWidget(), f.calendar->Picture2);
    }

    void purge_data()
    {
        QTest::addColumn<int>("weekday");
        QTest::addColumn<QString>("data");  // "template", "changed" or "null"
        QTest::addColumn<QVariant>("closed");  // 0, 1, or Null
        QTest::addColumn<QString>("memo");
        QTest::addColumn<bool>("kept");
        QTest::newRow("open, as its template") << 3 << "template" << QVariant(0) << "" << false;
        QTest::newRow("closed, as its template, weekday") << 3 << "template" << QVariant(1) << "" << true;
        QTest::newRow("closed, as its template, Sunday") << 7 << "template" << QVariant(1) << "" << false;
        QTest::newRow("open, with a memo") << 3 << "template" << QVariant(0) << "see me" << true;
        QTest::newRow("open, one cell differs") << 3 << "changed" << QVariant(0) << "" << true;
        QTest::newRow("never written") << 3 << "null" << QVariant(0) << "" << true;
        QTest::newRow("flag never written, weekday") << 3 << "template" << QVariant() << "" << true;
        QTest::newRow("flag never written, Sunday") << 7 << "template" << QVariant() << "" << false;
    }

    void purge()
    {
        QFETCH(int, weekday);
        QFETCH(QString, data);
        QFETCH(QVariant, closed);
        QFETCH(QString, memo);
        QFETCH(bool, kept);
        DayPageFixture f;
        const QDate day = futureDay(weekday);
        QString text = f.settingsTemplate(day);
        if (data == "changed")
            text.replace(0, 0, QStringLiteral("Mrs Finch"));
        f.addPage(day, data == "null" ? QVariant() : QVariant(text), closed, memo);
        QVERIFY(f.open());
        f.form->LeavePageScreen();
        f.form = nullptr;
        f.settle();
        QCOMPARE(f.storedData(day).toString() != QLatin1String("<no row>"), kept);
        QVERIFY(screens::loaded(Screen::Menu));
        screens::unload(Screen::Menu);
        f.settle();
    }

    void widerStoredPageKeepsHiddenCells()
    {
        DayPageFixture f;
        // Today's page, stored when there were six providers and more rows.
        QList<QStringList> rows;
        for (int r = 0; r < 30; ++r) {
            QStringList cells;
            for (int c = 0; c < 6; ++c)
                cells << QStringLiteral("r%1c%2").arg(r).arg(c);
            rows << cells;
        }
        f.exec("DELETE FROM tbl_Appt WHERE CalDate = '" + kTodayKey + "'");
        f.addPage(kToday, celltext::join(rows), 0);
        QVERIFY(f.open());
        QCOMPARE(f.form->LastCol, 4);
        QCOMPARE(f.form->Grid1->TextMatrix(3, 4), QStringLiteral("r0c3"));
        f.form->Grid1->setTextMatrix(3, 1, QStringLiteral("Dr. Who"));
        f.form->LeavePageScreen();
        f.form = nullptr;
        f.settle();
        const QList<QStringList> stored = celltext::split(f.storedData(kToday).toString());
        QCOMPARE(stored.size(), 30);
        QCOMPARE(stored[0][0], QStringLiteral("Dr. Who"));
        QCOMPARE(stored[0][5], QStringLiteral("r0c5"));
        QCOMPARE(stored[29][5], QStringLiteral("r29c5"));
        QCOMPARE(stored[10][2], QStringLiteral("r10c2"));
        screens::unload(Screen::Menu);
        f.settle();
    }

    // The menu's Exit with a page that cannot be stored: the user may stay on it, and then the
    // program goes on with the page and the menu as they were.
    void exitFromMenuKeepsUnstorablePage()
    {
        if (testserver::engineIsServer())
            QSKIP("a full disk under the file");
        DayPageFixture f;
        screens::setFactory(Screen::Appt, createDayPage);
        bool ended = false;
        program::setEndHandler([&] { ended = true; });
        auto* form = static_cast<frmAppt*>(screens::show(Screen::Appt));
        QVERIFY(form);
        f.exec("CREATE TRIGGER full_disk BEFORE UPDATE ON tbl_Appt BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END");
        form->Grid1->setTextMatrix(4, 3, QStringLiteral("Not yet stored"));
        auto* menu = static_cast<frmMenu*>(screens::show(Screen::Menu));
        f.dialogs.answerMessage(dialogs::Answer::No);      // no backup
        f.dialogs.answerMessage(dialogs::Answer::Cancel);  // stay on the page
        menu->Option6_KeyPress(13);
        f.settle();
        QVERIFY(!ended);
        QCOMPARE(screens::loaded(Screen::Appt), form);
        QVERIFY(screens::loaded(Screen::Menu));
        QCOMPARE(form->Grid1->TextMatrix(4, 3), QStringLiteral("Not yet stored"));

        // Once the page can be stored, Exit ends the program with it stored.
        f.exec("DROP TRIGGER full_disk");
        f.dialogs.answerMessage(dialogs::Answer::No);
        menu->Option6_KeyPress(13);
        f.settle();
        QVERIFY(ended);
        QVERIFY(f.storedData(kToday).toString().contains("Not yet stored"));
        program::setEndHandler(nullptr);
        screens::setFactory(Screen::Appt, nullptr);
    }

    void refusesToOpen_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("slot never written") << "UPDATE tbl_Setup SET timeslot = NULL" << QStringList{"complete the Setup Page first", "timeslot"};
        QTest::newRow("garbled opening time") << "UPDATE tbl_Setup SET open = 'noonish'" << QStringList{"open", "noonish"};
        QTest::newRow("a table missing") << "DROP TABLE tbl_Order" << QStringList{"db.mdb", "tbl_Order is missing"};
    }

    void refusesToOpen()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, said);
        DayPageFixture f;
        f.exec(change);
        if (f.book.onServer())
            said.removeAll("db.mdb");
        const int before = f.pageCount();
        QVERIFY(!f.open());
        QCOMPARE(f.dialogs.messages.size(), 1);
        for (const QString& s : said)
            QVERIFY2(f.dialogs.messages[0].text.contains(s), qPrintable(f.dialogs.messages[0].text));
        QCOMPARE(f.pageCount(), before);
    }

    // A new page the book refuses to add: the switch fails as a whole, and the page, its layout
    // and the calendar stay as they were.
    void newPageRefused()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        f.form->Grid1->setTextMatrix(7, 2, QStringLiteral("still here"));
        const QDate saturday = futureDay(6);
        const int before = f.pageCount();
        f.refuse("INSERT", saturday, "disk I/O error");
        f.openDate(saturday);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.contains("disk I/O error"));
        QCOMPARE(f.pageCount(), before);
        QCOMPARE(f.form->PageDate, kToday);
        QCOMPARE(f.form->Grid1->TextMatrix(7, 2), QStringLiteral("still here"));
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], kToday);
    }

    void leavingReadOnlyFile_data()
    {
        QTest::addColumn<QString>("way");     // F12 or the close box
        QTest::addColumn<int>("answer");      // dialogs::Answer
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("left");
        for (const char* way : {"F12", "close box"}) {
            QTest::addRow("%s, Retry once writable", way) << QString(way) << int(dialogs::Answer::Retry) << true << true;
            QTest::addRow("%s, Discard", way) << QString(way) << int(dialogs::Answer::Discard) << false << true;
            QTest::addRow("%s, Cancel", way) << QString(way) << int(dialogs::Answer::Cancel) << false << false;
        }
    }

    void leavingReadOnlyFile()
    {
        if (testserver::engineIsServer())
            QSKIP("a read-only file");
        QFETCH(QString, way);
        QFETCH(int, answer);
        QFETCH(bool, stored);
        QFETCH(bool, left);
        ReadOnlyFiles readOnly;
        DayPageFixture f;
        f.exec("DELETE FROM tbl_Appt WHERE CalDate = '" + kTodayKey + "'");
        f.addPage(kToday, QStringLiteral(""), 0);  // a read-only file can show a page it already has
        readOnly.add(f.folder.databasePath());
        QVERIFY2(f.open(), qPrintable(f.dialogs.messages.value(0).text));
        QCOMPARE(f.dialogs.messages.size(), 1);  // the note that the file is read-only
        f.dialogs.messages.clear();
        f.form->Grid1->setTextMatrix(5, 2, QStringLiteral("Mr Oduya"));

        f.dialogs.answerMessage(dialogs::Answer(answer));
        f.dialogs.whenAsked = [&](const dialogs::Prompt&) {
            // Meanwhile the user makes the file writable (it counts only for a Retry).
            if (dialogs::Answer(answer) == dialogs::Answer::Retry)
                readOnly.remove(f.folder.databasePath());
        };
        QPointer<frmAppt> form = f.form;
        if (way == "F12") {
            f.form->Grid1->setFocus();
            typeKey(Qt::Key_F12);
        } else {
            f.form->close();
        }
        f.settle();

        QCOMPARE(f.dialogs.messages.size(), 1);
        const dialogs::Prompt& p = f.dialogs.messages[0];
        QCOMPARE(p.text, QStringLiteral("The database file %1 failed while storing the page of 2030-03-05:\n"
                                        "The file is read-only: nothing can be stored in it.\n\n"
                                        "Retry stores the page again. Discard leaves without storing the page of "
                                        "5 Mar 2030. Cancel stays on the page.")
                             .arg(f.folder.databasePath()));
        QCOMPARE(p.title, QStringLiteral("Appointments"));
        QCOMPARE(p.buttons, dialogs::Buttons::RetryDiscardCancel);
        QCOMPARE(f.storedData(kToday).toString().contains("Mr Oduya"), stored);
        QCOMPARE(form.isNull(), left);
        QCOMPARE(bool(screens::loaded(Screen::Menu)), left);
        if (left) {
            f.form = nullptr;
            screens::unload(Screen::Menu);
            f.settle();
        } else {
            // Still on the page, with what was typed.
            QVERIFY(f.form->isVisible());
            QCOMPARE(f.form->Grid1->TextMatrix(5, 2), QStringLiteral("Mr Oduya"));
        }
    }

    // A file the user may not write opens all the same: its pages are read from day to day, a
    // day it has no page for shows its template, and nothing is stored until something is typed.
    void readOnlyFileIsRead()
    {
        if (testserver::engineIsServer())
            QSKIP("a read-only file");
        ReadOnlyFiles readOnly;
        DayPageFixture f;
        f.exec("DELETE FROM tbl_Appt WHERE CalDate >= '" + kTodayKey + "'");
        const int pages = f.pageCount();
        readOnly.add(f.folder.databasePath());
        QVERIFY(f.open());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("The database file %1 is read-only: the pages can be read, but nothing typed "
                                "on them can be stored.").arg(f.folder.databasePath()));
        f.dialogs.messages.clear();
        QCOMPARE(f.form->PageDate, kToday);

        // From page to page, stored ones and new ones, without a word.
        f.openDate(QDate(1998, 10, 10));
        f.openDate(kToday.addDays(2));
        f.openDate(kToday);
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.messages.value(0).text));
        QCOMPARE(f.form->PageDate, kToday);

        // What is typed cannot be stored: moving on asks, and Cancel stays with it.
        f.form->Grid1->setTextMatrix(5, 1, QStringLiteral("Ms Varga"));
        f.dialogs.answerMessage(dialogs::Answer::Cancel);
        f.openDate(kToday.addDays(1));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].buttons, dialogs::Buttons::RetryDiscardCancel);
        QCOMPARE(f.form->PageDate, kToday);
        QCOMPARE(f.form->Grid1->TextMatrix(5, 1), QStringLiteral("Ms Varga"));
        // Discard goes on without it.
        f.dialogs.answerMessage(dialogs::Answer::Discard);
        f.openDate(kToday.addDays(1));
        QCOMPARE(f.form->PageDate, kToday.addDays(1));
        QCOMPARE(f.pageCount(), pages);
    }

    void pinnedToday_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::newRow("the fixture's Tuesday") << DayPageFixture::Today;
        QTest::newRow("leap day") << QDate(2028, 2, 29);
        QTest::newRow("last day of the year") << QDate(2030, 12, 31);
        QTest::newRow("a Sunday") << QDate(2031, 6, 1);
    }

    void pinnedToday()
    {
        QFETCH(QDate, today);
        DayPageFixture f;
        program::setToday(today);
        const int before = f.pageCount();
        QVERIFY(f.open());
        // Opening adds the day's row once, with its weekday's template and closed flag.
        f.close();
        QVERIFY(f.open());
        QCOMPARE(f.pageCount(), before + 1);
        QCOMPARE(f.form->PageDate, today);
        QCOMPARE(f.storedData(today).toString(), f.settingsTemplate(today));
        const bool closed = today.dayOfWeek() >= 6;
        QCOMPARE(f.value("SELECT Clinic FROM tbl_Appt WHERE CalDate = '" + DayPageFixture::key(today) + "'").toBool(), closed);
        QCOMPARE(f.form->Check1->isChecked(), closed);
        QCOMPARE(f.form->Grid1->BackColor(), closed ? colours::Desktop : colours::Cream);
        QCOMPARE(f.form->lblCalDate->text(), QLocale::system().toString(today, QLocale::ShortFormat));
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], today);
        QCOMPARE(f.calendar->monthList->currentIndex(), today.month() - 1);
        QCOMPARE(f.calendar->yearList->currentText(), QString::number(today.year()));
        QVERIFY(!f.form->Check2->isChecked());

        // The day after (into March, or into the next year) and back: yesterday is a past page.
        const QDate tomorrow = today.addDays(1);
        f.openDate(tomorrow);
        QCOMPARE(f.form->PageDate, tomorrow);
        QCOMPARE(f.calendar->monthList->currentIndex(), tomorrow.month() - 1);
        QCOMPARE(f.calendar->yearList->currentText(), QString::number(tomorrow.year()));
        f.openDate(today.addDays(-1));
        QVERIFY(f.form->Check2->isChecked());
        f.form->cmdToday_Click();
        QCOMPARE(f.form->PageDate, today);
        QVERIFY(!f.form->Check2->isChecked());
    }

    void windowFitsWorkArea()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        f.settle();
        const QRect work = f.form->screen()->availableGeometry();
        const QRect outer = f.form->frameGeometry();
        QCOMPARE(outer.topLeft(), QPoint(0, 0));
        QCOMPARE(outer.height(), work.height() - twips::toPixels(280));
    }
};

QTEST_MAIN(tst_daypage)
#include "tst_daypage.moc"
