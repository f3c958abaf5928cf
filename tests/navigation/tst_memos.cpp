// The daily and fixed memos and the book number on the real day page.
#include "common/daypage.h"
#include "navigation/MemoPanel.h"
#include "navigation/MonthCalendar.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/colours.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {
const QDate kToday = DayPageFixture::Today;
const QDate kTomorrow = kToday.addDays(1);

QColor base(QWidget* w)
{
    return w->palette().color(QPalette::Base);
}
}  // namespace

class tst_memos : public QObject {
    Q_OBJECT

private slots:
    void switchingMemos_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("F6") << "F6";
        QTest::newRow("button") << "button";
        QTest::newRow("menu") << "menu";
    }

    void switchingMemos()
    {
        QFETCH(QString, way);
        DayPageFixture f;
        QVERIFY(f.open());
        MemoPanel* m = f.memos;
        auto press = [&] {
            if (way == "F6")
                typeKey(Qt::Key_F6);
            else if (way == "button")
                m->cmdMemo->click();
            else
                f.form->findChild<QAction*>("mnuNaviMemo")->trigger();
        };
        QCOMPARE(m->cmdMemo->text(), QStringLiteral("Fixed Memo"));
        QVERIFY(f.form->TxtMemo->isVisibleTo(f.form));
        QVERIFY(!m->TxtFixedMemo->isVisibleTo(f.form));
        press();
        QCOMPARE(m->cmdMemo->text(), QStringLiteral("Daily Memo"));
        QVERIFY(m->TxtFixedMemo->isVisibleTo(f.form));
        QVERIFY(!f.form->TxtMemo->isVisibleTo(f.form));
        QCOMPARE(QApplication::focusWidget(), m->TxtFixedMemo);
        press();
        QCOMPARE(m->cmdMemo->text(), QStringLiteral("Fixed Memo"));
        QVERIFY(!m->TxtFixedMemo->isVisibleTo(f.form));
        QCOMPARE(QApplication::focusWidget(), f.form->TxtMemo);
    }

    void keysLeaveABox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::newRow("Tab in the daily memo") << "TxtMemo" << int(Qt::Key_Tab);
        QTest::newRow("Tab in the fixed memo") << "TxtFixedMemo" << int(Qt::Key_Tab);
        QTest::newRow("Enter in the book number") << "txtBook" << int(Qt::Key_Return);
        QTest::newRow("Tab in the book number") << "txtBook" << int(Qt::Key_Tab);
    }

    void keysLeaveABox()
    {
        // The box keeps what was typed, a memo takes no tab, and the book number is stored at once.
        QFETCH(QString, box);
        QFETCH(int, key);
        DayPageFixture f;
        QVERIFY(f.open());
        const bool book = box == QLatin1String("txtBook");
        if (box != QLatin1String("TxtMemo"))
            typeKey(book ? Qt::Key_F7 : Qt::Key_F6);
        auto* memo = f.form->findChild<QPlainTextEdit*>(box);
        const QString text = book ? QStringLiteral("77") : QStringLiteral("Bring the X-rays");
        if (book) {
            f.memos->txtBook->setText(text);
        } else {
            memo->setFocus();
            memo->setPlainText(text);
        }
        typeKey(Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), book ? static_cast<QWidget*>(f.form->Grid1) : f.calendar->Picture2);
        QCOMPARE(book ? f.memos->txtBook->text() : memo->toPlainText(), text);
        if (book)
            QCOMPARE(f.value("SELECT bookno FROM tbl_Setup").toString(), text);
    }

    void memoColours()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        QPlainTextEdit* memo = f.form->TxtMemo;
        QCOMPARE(base(memo), colours::PanelGrey);
        memo->setFocus();
        QCOMPARE(base(memo), colours::Cream);
        f.form->Grid1->setFocus();
        QCOMPARE(base(memo), colours::LightGrey);

        QLineEdit* book = f.memos->txtBook;
        QCOMPARE(base(book), colours::DarkGrey);
        typeKey(Qt::Key_F7);
        QCOMPARE(QApplication::focusWidget(), book);
        QCOMPARE(base(book), colours::Black);
        QCOMPARE(book->palette().color(QPalette::Text), colours::Cyan);
        f.form->Grid1->setFocus();
        QCOMPARE(base(book), colours::DarkGrey);
    }

    void dailyMemoBelongsToItsDay()
    {
        DayPageFixture f;
        QVERIFY(f.open());
        const QString fixedMemo = f.memos->TxtFixedMemo->toPlainText();
        QVERIFY(!fixedMemo.isEmpty());
        f.form->TxtMemo->setPlainText(QStringLiteral("today's note"));
        f.clickDay(kTomorrow);
        QCOMPARE(f.form->TxtMemo->toPlainText(), QString());
        QCOMPARE(f.memos->TxtFixedMemo->toPlainText(), fixedMemo);
        f.form->TxtMemo->setPlainText(QStringLiteral("tomorrow's note"));
        f.clickDay(kToday);
        QCOMPARE(f.form->TxtMemo->toPlainText(), QStringLiteral("today's note"));
        QCOMPARE(f.memos->TxtFixedMemo->toPlainText(), fixedMemo);
        QCOMPARE(f.value("SELECT Memo FROM tbl_Appt WHERE CalDate = '" + DayPageFixture::key(kTomorrow) + "'").toString(),
                 QStringLiteral("tomorrow's note"));
    }

    void closingWithFixedMemoFocused()
    {
        // The screen is destroyed while the fixed memo has the focus and holds a change.
        DayPageFixture f;
        QVERIFY(f.open());
        typeKey(Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), f.memos->TxtFixedMemo);
        f.memos->TxtFixedMemo->setPlainText(QStringLiteral("typed last"));
        f.close();
        QCOMPARE(f.value("SELECT FixedMemo FROM tbl_Setup").toString(), QStringLiteral("typed last"));
        QVERIFY(f.open());
        QCOMPARE(f.memos->TxtFixedMemo->toPlainText(), QStringLiteral("typed last"));
    }

    void leavingWhenTheFixedMemoCannotBeStored()
    {
        // Leaving stores the fixed memo with the page: where that fails the user is asked, and
        // Cancel keeps the screen with the memo as typed.
        DayPageFixture f;
        QVERIFY(f.open());
        typeKey(Qt::Key_F6);
        f.memos->TxtFixedMemo->setPlainText(QStringLiteral("typed last"));
        f.exec(f.book.onServer() ? "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
                                   "EXCEPTION 'disk full'; END $$; CREATE TRIGGER refuse BEFORE UPDATE ON tbl_Setup "
                                   "FOR EACH ROW EXECUTE FUNCTION refuse()"
                                 : "CREATE TRIGGER refuse BEFORE UPDATE ON tbl_Setup BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        f.dialogs.answerMessage(dialogs::Answer::Cancel);
        f.form->Unload();
        f.settle();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].buttons, dialogs::Buttons::RetryDiscardCancel);
        QVERIFY(f.form && f.form->isVisible());
        QCOMPARE(f.memos->TxtFixedMemo->toPlainText(), QStringLiteral("typed last"));
    }
};

QTEST_MAIN(tst_memos)
#include "tst_memos.moc"
