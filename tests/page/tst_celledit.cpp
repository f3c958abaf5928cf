// Typing into the day page's cells: what is kept of the first key and of a huge cell, what
// the page's own Tab and clicks do to the open editor, and what reaches the stored page. The
// editor itself is tried on a bare grid in tst_celleditor.
#include "common/daypage.h"
#include "navigation/MonthCalendar.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "storage/celltext.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QTest>

namespace {
const QDate kToday = DayPageFixture::Today;
const QString kTodayKey = DayPageFixture::key(kToday);
const QDate kTomorrow = kToday.addDays(1);
}

class tst_celledit : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        f = std::make_unique<DayPageFixture>();
        // Today's page as a plain open page, whatever the weekday's template says.
        f->exec("DELETE FROM tbl_Appt WHERE CalDate = '" + kTodayKey + "'");
        f->addPage(kToday, QStringLiteral(""), 0);
        QVERIFY(f->open());
    }

    void cleanup()
    {
        f.reset();
    }

    void tabGoesToCalendar()
    {
        selectCell(4, 1);
        typeText("x");
        typeKey(Qt::Key_Tab);
        QVERIFY(!f->form->txtEdit->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->calendar->Picture2);
        QCOMPARE(f->form->Grid1->TextMatrix(4, 1), QStringLiteral("x"));
    }

    void typedTextIsStored_data()
    {
        QTest::addColumn<QString>("way");  // typed, pasted into the editor, or one key as an input method gives it
        QTest::addColumn<QString>("text");
        QTest::newRow("typed") << "typed" << "Okafor";
        QTest::newRow("a megabyte pasted") << "pasted" << QString(1 << 20, u'x');
        // One key whose text is more than one UTF-16 unit, and a key after it.
        QTest::newRow("an emoji") << "one key" << QStringLiteral("\U0001F600");
        QTest::newRow("e with a combining acute") << "one key" << QStringLiteral("e\u0301");
    }

    void typedTextIsStored()
    {
        // The editor is still open when another day is clicked: its text is stored whole, and
        // shown again with the page.
        QFETCH(QString, way);
        QFETCH(QString, text);
        selectCell(8, 4);
        if (way == "typed") {
            typeText(text);
        } else if (way == "pasted") {
            typeKey(Qt::Key_Return);
            f->form->txtEdit->insert(text);
        } else {
            QTest::sendKeyEvent(QTest::Press, f->form->Grid1, Qt::Key_unknown, text, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, f->form->Grid1, Qt::Key_unknown, text, Qt::NoModifier);
            f->settle();
            QCOMPARE(f->form->txtEdit->text(), text);
            typeText("x");
            text += u'x';
        }
        QVERIFY(f->form->txtEdit->isVisible());
        QVERIFY(f->form->Grid1->TextMatrix(8, 4) == text);
        f->clickDay(kTomorrow);
        QCOMPARE(f->form->PageDate, kTomorrow);
        QVERIFY(!f->form->txtEdit->isVisible());
        QVERIFY(celltext::split(f->storedData(kToday).toString())[5][3] == text);
        f->clickDay(kToday);
        f->form->Grid1->repaint();
        QVERIFY(f->form->Grid1->TextMatrix(8, 4) == text);
    }

    void quickTypistKeepsOrder()
    {
        // Keys already waiting when the first one opens the editor come after it, in order.
        selectCell(7, 1);
        frmAppt* form = f->form;
        QTest::sendKeyEvent(QTest::Press, form->Grid1, Qt::Key_M, QStringLiteral("M"), Qt::NoModifier);
        for (const char* c : {"r", "s"})
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(QChar::fromLatin1(*c).toUpper().unicode()),
                                QString::fromLatin1(c), Qt::NoModifier);
        f->settle();
        QCOMPARE(form->Grid1->TextMatrix(7, 1), QStringLiteral("Mrs"));
    }

    void clickOutsideCells_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("heading row") << "heading row";
        QTest::newRow("time column") << "time column";
        QTest::newRow("grey area") << "grey area";
    }

    void clickOutsideCells()
    {
        QFETCH(QString, where);
        FlexGrid* g = f->form->Grid1;
        auto point = [&] {
            if (where == "heading row")
                return g->cellRect(1, 2).center();
            if (where == "time column")
                return g->cellRect(6, 0).center();
            // Below the last row.
            const QRect last = g->cellRect(f->form->LastRow, f->form->LastCol);
            return QPoint(last.center().x(), last.bottom() + 10);
        };
        if (where == "grey area")
            QVERIFY2(!g->cellRect(f->form->LastRow, f->form->LastCol).isEmpty()
                         && point().x() < g->viewport()->width() && point().y() < g->viewport()->height(),
                     "the page leaves no grey area in the window");
        selectCell(5, 2);
        typeText("Lin");
        QVERIFY(f->form->txtEdit->isVisible());
        f->form->Frame2->show();  // the search panel goes when the grid takes the focus
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, point());
        f->settle();
        QVERIFY(!f->form->txtEdit->isVisible());
        QVERIFY(!f->form->Frame2->isVisible());
        QCOMPARE(QApplication::focusWidget(), g);
        QCOMPARE(g->Row(), 5);
        QCOMPARE(g->Col(), 2);
        QCOMPARE(g->TextMatrix(5, 2), QStringLiteral("Lin"));

        // The click opens the day chosen in the calendar, as a click on a cell does.
        f->calendar->Picture2->setFocus();
        typeKey(Qt::Key_Right);
        QCOMPARE(f->form->PageDate, kToday);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, point());
        f->settle();
        QCOMPARE(f->form->PageDate, kTomorrow);
        QCOMPARE(QApplication::focusWidget(), g);
    }

private:
    void selectCell(int row, int col)
    {
        FlexGrid* g = f->form->Grid1;
        g->setFocus();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(row, col).center());
        f->settle();
        QCOMPARE(g->Row(), row);
        QCOMPARE(g->Col(), col);
    }
    std::unique_ptr<DayPageFixture> f;
};

QTEST_MAIN(tst_celledit)
#include "tst_celledit.moc"
