#include "navigation/MonthCalendar.h"
#include "platform/colours.h"
#include "platform/keys.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <memory>

using Keys = QList<int>;

class tst_MonthCalendar : public QObject {
    Q_OBJECT
    std::unique_ptr<MonthCalendar> cal;
    const QDate may17{2005, 5, 17};  // drawn with 1 May at label 7, 17 May at label 23

private slots:
    void init()
    {
        cal = std::make_unique<MonthCalendar>();
        cal->DrawMonth(may17);
    }

    void drawMonth_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QLocale::Language>("language");
        QTest::newRow("May 2005 on Sunday") << may17 << may17 << 7 << "2005" << QLocale::English;
        QTest::newRow("German locale") << may17 << may17 << 7 << "2005" << QLocale::German;
        QTest::newRow("leap February on Sunday") << QDate(2004, 2, 29) << QDate(2004, 2, 29) << 7 << "2004" << QLocale::English;
        QTest::newRow("August 2005 on Monday") << QDate(2005, 8, 1) << QDate(2005, 8, 1) << 1 << "2005" << QLocale::English;
        QTest::newRow("January 2000 on Saturday") << QDate(2000, 1, 31) << QDate(2000, 1, 31) << 6 << "2000" << QLocale::English;
        QTest::newRow("1 Jan 1998") << QDate(1998, 1, 1) << QDate(1998, 1, 1) << 4 << "1998" << QLocale::English;
        QTest::newRow("2039 keeps the year") << QDate(2039, 1, 10) << QDate(2039, 1, 10) << 6 << "2005" << QLocale::English;
        QTest::newRow("1997 changes nothing") << QDate(1997, 12, 31) << may17 << 7 << "2005" << QLocale::English;
        QTest::newRow("no date changes nothing") << QDate() << may17 << 7 << "2005" << QLocale::English;
    }
    void drawMonth()
    {
        QFETCH(QDate, date);
        QFETCH(QDate, shown);
        QFETCH(int, start);
        QFETCH(QString, year);
        QFETCH(QLocale::Language, language);
        cal->setDayColour(cal->selDay, colours::Cream);
        QLocale::setDefault(QLocale(language));
        cal->DrawMonth(date);
        QLocale::setDefault(QLocale::c());

        const QDate first(shown.year(), shown.month(), 1);
        for (int i = 0; i < 42; ++i) {
            QCOMPARE(cal->CalDates[i], first.addDays(i - start));
            QCOMPARE(cal->LblDay[i]->text(), QString::number(cal->CalDates[i].day()));
        }
        QCOMPARE(cal->CalDates[cal->SelDay()], shown);
        QCOMPARE(cal->dayColour(cal->SelDay()), date == shown ? colours::LightCyan : colours::Cream);
        QCOMPARE(cal->monthList->currentIndex(), shown.month() - 1);
        QCOMPARE(cal->yearList->currentText(), year);
    }

    void moveSelection_data()
    {
        QTest::addColumn<QDate>("first");  // of the window, then label selected
        QTest::addColumn<int>("label");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QDate>("newFirst");
        QTest::addColumn<int>("newLabel");
        QTest::addColumn<QString>("year");
        const QDate apr24(2005, 4, 24), apr17(2005, 4, 17), may1(2005, 5, 1);
        QTest::newRow("Right") << apr24 << 23 << Keys{keys::Right} << apr24 << 24 << "2005";
        QTest::newRow("Left on 0") << apr24 << 0 << Keys{keys::Left} << apr17 << 6 << "2005";
        QTest::newRow("Up in first row") << apr24 << 3 << Keys{keys::Up} << apr17 << 3 << "2005";
        QTest::newRow("Right on 41") << apr24 << 41 << Keys{keys::Right} << may1 << 35 << "2005";
        QTest::newRow("Down in last row") << apr24 << 38 << Keys{keys::Down} << may1 << 38 << "2005";
        QTest::newRow("other keys") << apr24 << 23 << Keys{keys::Home, keys::KeyA} << apr24 << 23 << "2005";
        QTest::newRow("Left on 11 Nov 1997") << QDate(1997, 11, 11) << 0 << Keys{keys::Left} << QDate(1997, 11, 4) << 6 << "1997";
        QTest::newRow("not back from 10 Nov 1997") << QDate(1997, 11, 10) << 0 << Keys{keys::Left, keys::Up, keys::PageUp}
                                                   << QDate(1997, 11, 10) << 0 << "1997";
        QTest::newRow("Page Down on 1 Jan 2039") << QDate(2038, 12, 31) << 1 << Keys{keys::PageDown} << QDate(2039, 1, 28) << 1 << "2005";
        QTest::newRow("not on from 2 Jan 2039") << QDate(2039, 1, 2) << 0 << Keys{keys::Right, keys::Down, keys::PageDown}
                                                << QDate(2039, 1, 2) << 0 << "2005";
    }
    void moveSelection()
    {
        QFETCH(QDate, first);
        QFETCH(int, label);
        QFETCH(Keys, keys);
        QFETCH(QDate, newFirst);
        QFETCH(int, newLabel);
        QFETCH(QString, year);
        cal->setDayColour(cal->selDay, colours::Cream);
        cal->Reanchor(0, first);
        cal->selDay = label;
        cal->setDayColour(label, colours::LightCyan);
        cal->ShowMonthYear(first.addDays(label));
        for (int code : keys)
            cal->MoveSelection(code, cal->selDay);
        QCOMPARE(cal->selDay, newLabel);
        QCOMPARE(cal->CalDates[0], newFirst);
        QCOMPARE(cal->LblDay[newLabel]->text(), QString::number(newFirst.addDays(newLabel).day()));
        for (int i = 0; i < 42; ++i)
            QCOMPARE(cal->dayColour(i), i == newLabel ? colours::LightCyan : colours::Cream);
        QCOMPARE(cal->monthList->currentIndex(), newFirst.addDays(newLabel).month() - 1);
        QCOMPARE(cal->yearList->currentText(), year);
    }
};

QTEST_MAIN(tst_MonthCalendar)
#include "tst_monthcalendar.moc"
