// The life of a page on the real day page: finding or adding the row, the weekday template,
// past layouts and the page lock, saving at each switch, Today, and the purge on leaving.
#include "app/screens.h"
#include "common/daypage.h"
#include "navigation/MonthCalendar.h"
#include "navigation/PageNavigation.h"
#include "program.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/colours.h"
#include "storage/celltext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QDate kToday = QDate::currentDate();

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
    void openingAddsOneTemplatedRow();
    void statusListTexts();
    void switchSavesThePageLeft();
    void shorterStoredTextEmptiesTheRest();
    void existingRowNeverTakesTemplate();
    void pastPagesShowOwnLayoutLocked();
    void todayOnTodayPageSavesNothing();
    void nullFlagShowsOpen();
    void purge_data();
    void purge();
    void widerStoredPageKeepsHiddenCells();
    void exitFromMenuSavesPage();
    void missingLayoutRefusesToOpen_data();
    void missingLayoutRefusesToOpen();
    void damagedFileRefusesToOpen();
    void failedSwitchLeavesPage();
};

void tst_daypage::openingAddsOneTemplatedRow()
{
    DayPageFixture f;
    f.exec("DELETE FROM tbl_Appt WHERE CalDate = date('now', 'localtime')");
    const int before = f.pageCount();
    QVERIFY(f.open());
    QCOMPARE(f.pageCount(), before + 1);
    QCOMPARE(f.storedData(kToday).toString(), f.settingsTemplate(kToday));
    const bool closed = f.value(QStringLiteral("SELECT chk%1 FROM tbl_Setup").arg(kToday.dayOfWeek() % 7 + 1)).toBool();
    QCOMPARE(f.value("SELECT Clinic FROM tbl_Appt WHERE CalDate = date('now', 'localtime')").toBool(), closed);
    QCOMPARE(f.form->Check1->isChecked(), closed);
    QCOMPARE(f.form->Grid1->BackColor(), closed ? colours::Desktop : colours::Cream);
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Appointments"));
    QCOMPARE(f.form->PageDate, kToday);
    QCOMPARE(f.form->lblCalDate->text(), QLocale::system().toString(kToday, QLocale::ShortFormat));
    QVERIFY(!f.form->Check2->isChecked());

    f.close();
    QVERIFY(f.open());
    QCOMPARE(f.pageCount(), before + 1);
}

void tst_daypage::statusListTexts()
{
    DayPageFixture f;
    QVERIFY(f.open());
    QCOMPARE(f.form->statusList->count(), 2);
    QCOMPARE(f.form->statusList->itemText(0), QStringLiteral(" Office Open"));
    QCOMPARE(f.form->statusList->itemText(1), QStringLiteral(" Office Closed"));
}

void tst_daypage::switchSavesThePageLeft()
{
    DayPageFixture f;
    QVERIFY(f.open());
    const QDate a = kToday;
    const QDate b = a.day() < 15 ? a.addDays(1) : a.addDays(-1);
    f.form->Grid1->setTextMatrix(5, 2, QStringLiteral("Ada Lovelace"));
    f.form->TxtMemo->setPlainText(QStringLiteral("call the lab"));
    f.clickDay(b);
    QCOMPARE(f.form->PageDate, b);
    QVERIFY(f.form->Grid1->TextMatrix(5, 2) != QLatin1String("Ada Lovelace"));
    QCOMPARE(f.form->TxtMemo->toPlainText(), QString());
    f.clickDay(a);
    QCOMPARE(f.form->Grid1->TextMatrix(5, 2), QStringLiteral("Ada Lovelace"));
    QCOMPARE(f.form->TxtMemo->toPlainText(), QStringLiteral("call the lab"));
    QVERIFY(f.storedData(a).toString().contains("Ada Lovelace"));
}

void tst_daypage::shorterStoredTextEmptiesTheRest()
{
    DayPageFixture f;
    const QDate b = futureDay(3);
    f.addPage(b, QStringLiteral("x\ty\rz"));
    QVERIFY(f.open());
    FlexGrid* g = f.form->Grid1;
    for (int r = 3; r <= f.form->LastRow; ++r)
        for (int c = 1; c <= f.form->LastCol; ++c)
            g->setTextMatrix(r, c, QStringLiteral("old"));
    f.openDate(b);
    QCOMPARE(f.form->PageDate, b);
    QCOMPARE(g->TextMatrix(3, 1), QStringLiteral("x"));
    QCOMPARE(g->TextMatrix(3, 2), QStringLiteral("y"));
    QCOMPARE(g->TextMatrix(4, 1), QStringLiteral("z"));
    for (int r = 3; r <= f.form->LastRow; ++r)
        for (int c = 1; c <= f.form->LastCol; ++c)
            QVERIFY2(g->TextMatrix(r, c) != QLatin1String("old"), qPrintable(QString("%1,%2").arg(r).arg(c)));
}

void tst_daypage::existingRowNeverTakesTemplate()
{
    DayPageFixture f;
    const QDate monday = futureDay(1);
    f.addPage(monday, QString(""), 0);
    QVERIFY(f.open());
    f.openDate(monday);
    QCOMPARE(f.form->PageDate, monday);
    QCOMPARE(f.form->Grid1->TextMatrix(12, 1), QString());  // the template blocks the lunch hour here
    f.form->cmdToday_Click();
    QVERIFY(!f.settingsTemplate(monday).isEmpty());
    QVERIFY(!f.storedData(monday).toString().contains(QLatin1String("****")));
}

void tst_daypage::pastPagesShowOwnLayoutLocked()
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
    QCOMPARE(f.form->Check2->palette().color(QPalette::Window), colours::LightRed);
    QCOMPARE(f.calendar->monthList->currentIndex(), 10);
    QCOMPARE(f.calendar->yearList->currentText(), QStringLiteral("1998"));

    // 8 August 1998: two providers, closed.
    f.openDate(QDate(1998, 8, 8));
    QCOMPARE(g->Cols(), 3);
    QCOMPARE(g->ColWidth(1), 3900);
    QVERIFY(f.form->Check1->isChecked());
    QCOMPARE(f.form->statusList->currentIndex(), 1);
    QCOMPARE(g->BackColor(), colours::Desktop);

    // Back to today: the settings' layout, the lock off.
    f.form->cmdToday_Click();
    QCOMPARE(f.form->PageDate, kToday);
    QCOMPARE(g->Cols(), 5);
    QCOMPARE(g->TextMatrix(4, 0), QStringLiteral("08:00 AM "));
    QVERIFY(!f.form->Check2->isChecked());
    QCOMPARE(f.form->Check2->palette().color(QPalette::Window), colours::LegendGrey);
    QCOMPARE(QApplication::focusWidget(), f.calendar->Picture2);
}

void tst_daypage::todayOnTodayPageSavesNothing()
{
    DayPageFixture f;
    QVERIFY(f.open());
    f.form->Grid1->setTextMatrix(6, 1, QStringLiteral("typed"));
    f.exec("UPDATE tbl_Appt SET Data = 'changed elsewhere' WHERE CalDate = date('now', 'localtime')");
    f.form->cmdToday_Click();
    QCOMPARE(f.storedData(kToday).toString(), QStringLiteral("changed elsewhere"));
    QCOMPARE(f.form->Grid1->TextMatrix(6, 1), QStringLiteral("typed"));
    QVERIFY(!f.calendar->Updating());
}

void tst_daypage::nullFlagShowsOpen()
{
    DayPageFixture f;
    const QDate day = futureDay(2);
    f.addPage(day, QStringLiteral("a\tb"), QVariant());
    QVERIFY(f.open());
    f.openDate(day);
    QVERIFY(!f.form->Check1->isChecked());
    QCOMPARE(f.form->statusList->currentIndex(), 0);
    QCOMPARE(f.form->Grid1->TextMatrix(3, 2), QStringLiteral("b"));
}

void tst_daypage::purge_data()
{
    QTest::addColumn<int>("weekday");
    QTest::addColumn<QString>("data");  // "template", "changed" or "null"
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<bool>("kept");
    QTest::newRow("open, as its template") << 3 << "template" << false << "" << false;
    QTest::newRow("closed, as its template, weekday") << 3 << "template" << true << "" << true;
    QTest::newRow("closed, as its template, Sunday") << 7 << "template" << true << "" << false;
    QTest::newRow("open, with a memo") << 3 << "template" << false << "see me" << true;
    QTest::newRow("open, one cell differs") << 3 << "changed" << false << "" << true;
    QTest::newRow("never written") << 3 << "null" << false << "" << true;
}

void tst_daypage::purge()
{
    QFETCH(int, weekday);
    QFETCH(QString, data);
    QFETCH(bool, closed);
    QFETCH(QString, memo);
    QFETCH(bool, kept);
    DayPageFixture f;
    const QDate day = futureDay(weekday);
    QString text = f.settingsTemplate(day);
    if (data == "changed")
        text.replace(0, 0, QStringLiteral("Mrs Finch"));
    f.addPage(day, data == "null" ? QVariant() : QVariant(text), closed ? 1 : 0, memo);
    QVERIFY(f.open());
    f.form->LeavePageScreen();
    f.form = nullptr;
    f.settle();
    QCOMPARE(f.storedData(day).toString() != QLatin1String("<no row>"), kept);
    QVERIFY(screens::loaded(Screen::Menu));
    screens::unload(Screen::Menu);
    f.settle();
}

void tst_daypage::widerStoredPageKeepsHiddenCells()
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
    f.exec("DELETE FROM tbl_Appt WHERE CalDate = date('now', 'localtime')");
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

void tst_daypage::exitFromMenuSavesPage()
{
    DayPageFixture f;
    screens::setFactory(Screen::Appt, createDayPage);
    auto* form = static_cast<frmAppt*>(screens::show(Screen::Appt));
    QVERIFY(form);
    form->Grid1->setTextMatrix(4, 3, QStringLiteral("Left behind the menu"));
    screens::unload(Screen::Appt);
    f.settle();
    QVERIFY(f.storedData(kToday).toString().contains("Left behind the menu"));
    screens::setFactory(Screen::Appt, nullptr);
}

void tst_daypage::missingLayoutRefusesToOpen_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("slot never written") << "timeslot = NULL" << QStringList{"complete the Setup Page first", "timeslot"};
    QTest::newRow("names never written") << "Names = NULL" << QStringList{"complete the Setup Page first", "Names"};
    QTest::newRow("garbled opening time") << "open = 'noonish'" << QStringList{"open", "noonish"};
    QTest::newRow("empty closing time") << "Close = ''" << QStringList{"Close"};
}

void tst_daypage::missingLayoutRefusesToOpen()
{
    QFETCH(QString, change);
    QFETCH(QStringList, said);
    DayPageFixture f;
    f.exec("UPDATE tbl_Setup SET " + change);
    const int before = f.pageCount();
    QVERIFY(!f.open());
    QCOMPARE(f.dialogs.messages.size(), 1);
    for (const QString& s : said)
        QVERIFY2(f.dialogs.messages[0].text.contains(s), qPrintable(f.dialogs.messages[0].text));
    QCOMPARE(f.pageCount(), before);
}

void tst_daypage::damagedFileRefusesToOpen()
{
    DayPageFixture f;
    f.exec("DROP TABLE tbl_Order");
    QVERIFY(!f.open());
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].text.contains(f.folder.databasePath()));
    QVERIFY(f.dialogs.messages[0].text.contains("tbl_Order is missing"));
}

void tst_daypage::failedSwitchLeavesPage()
{
    DayPageFixture f;
    QVERIFY(f.open());
    f.form->Grid1->setTextMatrix(7, 2, QStringLiteral("still here"));
    f.exec("CREATE TRIGGER refuse BEFORE INSERT ON tbl_Appt BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const QDate target = futureDay(4, 10);
    f.openDate(target);
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].text.contains("disk full"));
    QCOMPARE(f.form->PageDate, kToday);
    QCOMPARE(f.form->CalDateShown, kToday);
    QCOMPARE(f.form->Grid1->TextMatrix(7, 2), QStringLiteral("still here"));
    QCOMPARE(f.calendar->CalDates[f.calendar->selDay], kToday);
    QCOMPARE(f.storedData(target).toString(), QStringLiteral("<no row>"));
}

QTEST_MAIN(tst_daypage)
#include "tst_daypage.moc"
