// Changing the day from the calendar, the lists and Open Page, on the real day page.
#include "common/daypage.h"
#include "common/german.h"
#include "navigation/MonthCalendar.h"
#include "navigation/PageNavigation.h"
#include "navigation/typeddate.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/colours.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>

namespace {
const QDate kToday = DayPageFixture::Today;
const QString kTodayKey = DayPageFixture::key(kToday);
const QString kInvalid = QStringLiteral("Date entered is an invalid date or entered in the wrong format.");
}

static void turnWheel(QWidget* w, int delta)
{
    const QPointF at = QRectF(w->rect()).center();
    QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
    QCoreApplication::processEvents();
}

class tst_pagenavigation : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        SKIP_IF_GERMAN_LOCALE_MISSING();
        program::setToday(DayPageFixture::Today);
    }

    void typedDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QDate>("date");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale uk(QLocale::English, QLocale::UnitedKingdom);
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale ja(QLocale::Japanese, QLocale::Japan);
        for (const QLocale& l : {us, uk, de, ja, QLocale::c()}) {
            QTest::addRow("11/11/99 %s", qPrintable(l.name())) << "11/11/99" << l << QDate(1999, 11, 11);
            QTest::addRow("1-1-00 %s", qPrintable(l.name())) << "1-1-00" << l << QDate(2000, 1, 1);
            QTest::addRow("ISO %s", qPrintable(l.name())) << "2004-02-29" << l << QDate(2004, 2, 29);
        }
        QTest::newRow("month first") << "3/4/05" << us << QDate(2005, 3, 4);
        QTest::newRow("day first") << "3/4/05" << uk << QDate(2005, 4, 3);
        QTest::newRow("day first, dots") << "3.4.2005" << de << QDate(2005, 4, 3);
        // Today is pinned in 2030: two-digit years run from 1960 to 2059.
        QTest::newRow("year 30 is 2030") << "1/2/30" << us << QDate(2030, 1, 2);
        QTest::newRow("year 59 is 2059") << "1/2/59" << us << QDate(2059, 1, 2);
        QTest::newRow("year 60 is 1960") << "1/2/60" << us << QDate(1960, 1, 2);
        QTest::newRow("no such day") << "2/30/05" << us << QDate();
        QTest::newRow("a word") << "tomorrow" << us << QDate();
        QTest::newRow("numbers and words") << "11/11/99 noon" << us << QDate();
        QTest::newRow("empty") << "" << us << QDate();

        // The rule: the locale's own short and long forms are read back; month names and
        // abbreviations in any case; numbers alone in the order of day and month of the
        // locale's short format, whether that format writes the month as a number or a name.
        const QDate d(2030, 3, 5);
        struct Case {
            QLocale locale;
            const char* numbers;     // what "5-3-2030" means there
            const char* lowerName;   // a month name typed in small letters
            QDate numbersDate;
        };
        const Case cases[] = {
            {QLocale::c(), "5-3-2030", "5 march 2030", QDate(2030, 3, 5)},
            {us, "5-3-2030", "march 5 2030", QDate(2030, 5, 3)},
            {uk, "5-3-2030", "5 mar 2030", QDate(2030, 3, 5)},
            {de, "5-3-2030", "5. märz 2030", QDate(2030, 3, 5)},
        };
        for (const Case& c : cases) {
            const QByteArray locale = c.locale == QLocale::c() ? QByteArray("C") : c.locale.name().toLatin1();
            const char* name = locale.constData();
            const QString shortForm = c.locale.toString(d, QLocale::ShortFormat);
            const QString longForm = c.locale.toString(d, QLocale::LongFormat);
            QTest::addRow("%s short form %s", name, qPrintable(shortForm)) << shortForm << c.locale << d;
            QTest::addRow("%s long form %s", name, qPrintable(longForm)) << longForm << c.locale << d;
            QTest::addRow("%s long form in capitals", name) << longForm.toUpper() << c.locale << d;
            QTest::addRow("%s numbers %s", name, c.numbers) << QString(c.numbers) << c.locale << c.numbersDate;
            QTest::addRow("%s small letters", name) << QString::fromUtf8(c.lowerName) << c.locale << d;
            QTest::addRow("%s September abbreviated", name) << QStringLiteral("9 Sep 2031") << c.locale << QDate(2031, 9, 9);
            QTest::addRow("%s a name that is no month", name) << QStringLiteral("5 Marz 2030") << c.locale << QDate();
            QTest::addRow("%s two months", name) << QStringLiteral("March May 2030") << c.locale << QDate();
            QTest::addRow("%s no day", name) << QStringLiteral("March 2030") << c.locale << QDate();
        }
        QTest::newRow("C day first with a two-digit year") << "5/3/30" << QLocale::c() << QDate(2030, 3, 5);
        QTest::newRow("en_GB 'Sept' as the locale writes it") << "9 Sept 2031" << uk << QDate(2031, 9, 9);
        QTest::newRow("en_US no year: this year") << "Mar 5" << us << QDate(DayPageFixture::Today.year(), 3, 5);
        QTest::newRow("de_DE two-digit short form") << "05.03.30" << de << QDate(2030, 3, 5);
        QTest::newRow("en_US 'Ma' is too short for a month") << "Ma 5 2030" << us << QDate();
    }

    void typedDate()
    {
        QFETCH(QString, text);
        QFETCH(QLocale, locale);
        QFETCH(QDate, date);
        QCOMPARE(parseTypedDate(text, locale).value_or(QDate()), date);
    }

    void datesInTheDesktopsLanguage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("month");
        // The German runs: the desktop writes the day first, with points, and names in German.
        QTest::newRow("day, month and year with points") << "4.3.2030" << QDate(2030, 3, 4) << "Montag" << "04.03.30"
                                                         << "März";
        QTest::newRow("the short weekday and the month's name")
            << "Mo., 4. März 2030" << QDate(2030, 3, 4) << "Montag" << "04.03.30" << "März";
        QTest::newRow("the long form") << "Montag, 4. März 2030" << QDate(2030, 3, 4) << "Montag" << "04.03.30" << "März";
        QTest::newRow("a two-digit year") << "11.11.99" << QDate(1999, 11, 11) << "Donnerstag" << "11.11.99"
                                          << "November";
        QTest::newRow("day and month, this year") << "1.12." << QDate(2030, 12, 1) << "Sonntag" << "01.12.30"
                                                  << "Dezember";
    }

    void datesInTheDesktopsLanguage()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, shown);
        QFETCH(QString, day);
        QFETCH(QString, date);
        QFETCH(QString, month);
        if (QLocale::system().language() != QLocale::German)
            QSKIP("the German runs read and show these forms");
        DayPageFixture f;
        QVERIFY(f.open());
        f.dialogs.answerInput(typed);
        f.navigation->mnuPageOpen_Click();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(f.form->PageDate, shown);
        QCOMPARE(f.form->lblCalDay->text(), day);
        QCOMPARE(f.form->lblCalDate->text(), date);
        QCOMPARE(f.calendar->monthList->currentText(), month);
    }

    void wheelOverList_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<bool>("focused");
        QTest::newRow("status list, down") << 0 << false;
        QTest::newRow("month list, down") << 1 << false;
        QTest::newRow("year list, down") << 2 << false;
        QTest::newRow("status list focused, down") << 0 << true;
    }

    void wheelOverList()
    {
        // The wheel over a list without the focus does nothing; over the focused one it moves the
        // selection as the arrow keys do, and nothing is stored until Enter.
        QFETCH(int, list);
        QFETCH(bool, focused);
        DayPageFixture f;
        QVERIFY(f.open());
        QComboBox* combo = f.navigation->Combo(list);
        (focused ? static_cast<QWidget*>(combo) : f.form->Grid1)->setFocus();
        const int index = combo->currentIndex();
        const QDate selected = f.calendar->CalDates[f.calendar->selDay];
        const QString clinic = "SELECT Clinic FROM tbl_Appt WHERE CalDate = '" + kTodayKey + "'";
        turnWheel(combo, -120);
        QCOMPARE(combo->currentIndex(), focused ? index + 1 : index);
        QCOMPARE(f.navigation->ListBrowsing, focused);
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], selected);
        QVERIFY(!f.form->Check1->isChecked());
        QCOMPARE(f.value(clinic).toInt(), 0);
        QCOMPARE(f.form->Grid1->BackColor(), colours::Cream);
        QCOMPARE(f.form->PageDate, kToday);
        QCOMPARE(QApplication::focusWidget(), focused ? static_cast<QWidget*>(combo) : f.form->Grid1);
        if (focused) {
            typeKey(Qt::Key_Return);
            QVERIFY(f.form->Check1->isChecked());
            QCOMPARE(f.value(clinic).toInt(), 1);
            QCOMPARE(f.form->Grid1->BackColor(), colours::Desktop);
        }
    }

    void keysMoveWithoutSwitching()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        f.calendar->Picture2->setFocus();
        for (Qt::Key k : {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Up})
            typeKey(k);
        // Page Down four weeks, Page Up three: the selection ends one week later.
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], kToday.addDays(7));
        QCOMPARE(f.form->PageDate, kToday);
        QCOMPARE(f.form->CalDateShown, kToday);
        QCOMPARE(f.calendar->dayColour(f.calendar->selDay), colours::LightCyan);
    }

    void openingTheSelectedDay_data()
    {
        QTest::addColumn<QString>("way");
        for (const char* way : {"Enter", "Space", "Tab", "grid click", "label click"})
            QTest::newRow(way) << QString(way);
    }

    void openingTheSelectedDay()
    {
        QFETCH(QString, way);
        DayPageFixture f;
        QVERIFY(f.open());
        f.form->Grid1->setTextMatrix(3, 1, QStringLiteral("kept"));
        f.calendar->Picture2->setFocus();
        typeKey(Qt::Key_Right);
        typeKey(Qt::Key_Right);
        const QDate target = kToday.addDays(2);
        QCOMPARE(f.form->PageDate, kToday);
        if (way == "Enter")
            typeKey(Qt::Key_Return);
        else if (way == "Space")
            typeKey(Qt::Key_Space);
        else if (way == "Tab")
            typeKey(Qt::Key_Tab);
        else if (way == "grid click")
            QTest::mouseClick(f.form->Grid1->viewport(), Qt::LeftButton, {},
                              f.form->Grid1->cellRect(6, 2).center());
        else
            f.clickDay(target);
        f.settle();
        QCOMPARE(f.form->PageDate, target);
        QCOMPARE(f.form->CalDateShown, target);
        QCOMPARE(f.calendar->dayColour(f.calendar->selDay), colours::LightGrey);
        QCOMPARE(QApplication::focusWidget(), f.form->Grid1);
        QVERIFY(f.storedData(kToday).toString().startsWith(QStringLiteral("kept")));
        // Two more days opened with the mouse: only the day open now is marked.
        f.clickDay(kToday.addDays(3));
        f.clickDay(kToday);
        for (int i = 0; i < 42; ++i)
            QCOMPARE(f.calendar->dayColour(i), i == f.calendar->selDay ? colours::LightGrey : colours::Cream);
    }

    void shownDayReloadsNothing_data()
    {
        QTest::addColumn<bool>("today");
        QTest::newRow("a click on the day shown") << false;
        QTest::newRow("Today on today's page") << true;
    }

    void shownDayReloadsNothing()
    {
        QFETCH(bool, today);
        DayPageFixture f;
        QVERIFY(f.open());
        f.form->Grid1->setTextMatrix(3, 1, QStringLiteral("typed, not saved"));
        f.exec("UPDATE tbl_Appt SET Data = 'elsewhere' WHERE CalDate = '" + kTodayKey + "'");
        if (today)
            f.form->cmdToday_Click();
        else
            f.clickDay(kToday);
        QCOMPARE(f.form->Grid1->TextMatrix(3, 1), QStringLiteral("typed, not saved"));
        QCOMPARE(f.storedData(kToday).toString(), QStringLiteral("elsewhere"));
    }

    void monthListRollsOver()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        f.calendar->setDayColour(f.calendar->selDay, colours::Cream);
        f.calendar->DrawMonth(QDate(2027, 1, 31));
        f.calendar->monthList->setCurrentIndex(1);  // February, chosen with the mouse
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], QDate(2027, 3, 3));
        QCOMPARE(f.calendar->monthList->currentIndex(), 2);
        QCOMPARE(f.form->PageDate, kToday);  // no page is loaded

        f.calendar->setDayColour(f.calendar->selDay, colours::Cream);
        f.calendar->DrawMonth(QDate(2028, 1, 31));
        f.calendar->monthList->setCurrentIndex(1);
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], QDate(2028, 3, 2));  // a leap year
    }

    void browsingActsOnlyOnEnter()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        QComboBox* months = f.calendar->monthList;
        months->setFocus();
        const int month = months->currentIndex();
        typeKey(month < 11 ? Qt::Key_Down : Qt::Key_Up);
        const QDate before = f.calendar->CalDates[f.calendar->selDay];
        QVERIFY(f.navigation->ListBrowsing);
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], before);
        months->setCurrentIndex(month < 6 ? 8 : 2);  // a mouse choice while browsing does nothing
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], before);
        typeKey(Qt::Key_Return);
        QVERIFY(!f.navigation->ListBrowsing);
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay].month(), months->currentIndex() + 1);
        QCOMPARE(QApplication::focusWidget(), f.calendar->Picture2);

        // F9 opens the list; its Alt+Down arrives afterwards as a Down key, so the list browses.
        // In the open popup too, a key comes before the choice it makes.
        f.form->Grid1->setFocus();
        typeKey(Qt::Key_F9);
        f.settle();
        QTRY_VERIFY(months->view()->isVisible());
        QVERIFY(f.navigation->ListBrowsing);
        const QDate chosen = f.calendar->CalDates[f.calendar->selDay];
        QTest::keyClick(months->view(), months->currentIndex() < 11 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], chosen);
        QTest::keyClick(months->view(), Qt::Key_Return);
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay].month(), months->currentIndex() + 1);
        QVERIFY(f.calendar->CalDates[f.calendar->selDay] != chosen);
    }

    void statusListStoresFlag()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        const bool wasClosed = f.form->Check1->isChecked();
        f.form->statusList->setCurrentIndex(wasClosed ? 0 : 1);  // a mouse choice acts at once
        QCOMPARE(f.form->Check1->isChecked(), !wasClosed);
        QCOMPARE(f.form->Grid1->BackColor(), wasClosed ? colours::Cream : colours::Desktop);
        QCOMPARE(f.value("SELECT Clinic FROM tbl_Appt WHERE CalDate = '" + kTodayKey + "'").toBool(), !wasClosed);
        QCOMPARE(QApplication::focusWidget(), wasClosed ? static_cast<QWidget*>(f.form->Grid1) : f.calendar->Picture2);
    }

    void openPage_data()
    {
        QTest::addColumn<QStringList>("answers");  // "<cancel>" is Cancel
        QTest::addColumn<int>("messages");
        QTest::addColumn<QDate>("shown");
        QTest::newRow("a date") << QStringList{"1998-10-10"} << 0 << QDate(1998, 10, 10);
        QTest::newRow("a word, then a date") << QStringList{"tomorrow", "11/11/99"} << 1 << QDate(1999, 11, 11);
        QTest::newRow("before the calendar, then Cancel") << QStringList{"12/31/1997", "<cancel>"} << 1 << kToday;
        QTest::newRow("after the calendar, then empty") << QStringList{"1/1/2039", ""} << 1 << kToday;
        QTest::newRow("Cancel") << QStringList{"<cancel>"} << 0 << kToday;
    }

    void openPage()
    {
        QFETCH(QStringList, answers);
        QFETCH(int, messages);
        QFETCH(QDate, shown);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        DayPageFixture f;
        QVERIFY(f.open());
        const int pages = f.pageCount();
        for (const QString& a : answers)
            f.dialogs.answerInput(a == "<cancel>" ? std::nullopt : std::optional<QString>(a));
        f.navigation->mnuPageOpen_Click();
        QCOMPARE(f.dialogs.inputs.size(), answers.size());
        QCOMPARE(f.dialogs.inputs[0].prompt,
                 QStringLiteral("Please enter Date of Page to open in shortdate format: (e.g. 11/11/99, 1-1-00)"));
        QCOMPARE(f.dialogs.messages.size(), messages);
        for (const dialogs::Prompt& p : f.dialogs.messages)
            QCOMPARE(p.text, kInvalid);
        QCOMPARE(f.form->PageDate, shown);
        QCOMPARE(f.calendar->CalDates[f.calendar->selDay], shown);
        QCOMPARE(f.calendar->yearList->currentText(), QString::number(shown.year()));
        if (shown == kToday)
            QCOMPARE(f.pageCount(), pages);
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_MAIN(tst_pagenavigation)
#include "tst_pagenavigation.moc"
