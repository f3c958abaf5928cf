// Typing into the day page: the overlay editor over the current cell, what closes it, the
// page lock, and what reaches the stored page.
#include "common/daypage.h"
#include "navigation/MonthCalendar.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/twips.h"
#include "storage/celltext.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFrame>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

namespace {
const QDate kToday = DayPageFixture::Today;
const QString kTodayKey = DayPageFixture::key(kToday);
const QDate kTomorrow = kToday.addDays(1);
}

class tst_celledit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void letterOpensEditorOverCell();
    void letterAddsToFilledCell();
    void enterOpensAndCloses();
    void tabGoesToCalendar();
    void gridFocusHidesSearchPanel();
    void scrollingHidesEditor();
    void switchWithEditorOpenStoresText();
    void lockedPageRefusesTyping();
    void separatorsBecomeBlanks_data();
    void separatorsBecomeBlanks();
    void megabyteCell();
    void firstKeyTypesWholeText_data();
    void firstKeyTypesWholeText();
    void quickTypistKeepsOrder();
    void clickOutsideCells_data();
    void clickOutsideCells();

private:
    void selectCell(int row, int col);
    std::unique_ptr<DayPageFixture> f;
};

void tst_celledit::init()
{
    f = std::make_unique<DayPageFixture>();
    // Today's page as a plain open page, whatever the weekday's template says.
    f->exec("DELETE FROM tbl_Appt WHERE CalDate = '" + kTodayKey + "'");
    f->addPage(kToday, QStringLiteral(""), 0);
    QVERIFY(f->open());
}

void tst_celledit::cleanup()
{
    f.reset();
}

void tst_celledit::selectCell(int row, int col)
{
    FlexGrid* g = f->form->Grid1;
    g->setFocus();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(row, col).center());
    f->settle();
    QCOMPARE(g->Row(), row);
    QCOMPARE(g->Col(), col);
}

void tst_celledit::letterOpensEditorOverCell()
{
    selectCell(6, 2);
    typeText("M");
    frmAppt* form = f->form;
    QVERIFY(form->txtEdit->isVisible());
    QCOMPARE(QApplication::focusWidget(), form->txtEdit);
    QCOMPARE(form->txtEdit->text(), QStringLiteral("M"));
    QCOMPARE(form->Grid1->TextMatrix(6, 2), QStringLiteral("M"));
    typeText("oss");
    QCOMPARE(form->Grid1->TextMatrix(6, 2), QStringLiteral("Moss"));
    // The editor covers its cell exactly.
    const QRect cell = form->Grid1->cellRect(6, 2);
    const QRect onForm(form->Grid1->viewport()->mapTo(form->txtEdit->parentWidget(), cell.topLeft()), cell.size());
    QVERIFY2(qAbs(form->txtEdit->geometry().left() - onForm.left()) <= 1
                 && qAbs(form->txtEdit->geometry().top() - onForm.top()) <= 1
                 && qAbs(form->txtEdit->width() - onForm.width()) <= 1
                 && qAbs(form->txtEdit->height() - onForm.height()) <= 1,
             qPrintable(QStringLiteral("editor %1,%2 %3x%4, cell %5,%6 %7x%8")
                            .arg(form->txtEdit->x()).arg(form->txtEdit->y())
                            .arg(form->txtEdit->width()).arg(form->txtEdit->height())
                            .arg(onForm.x()).arg(onForm.y()).arg(onForm.width()).arg(onForm.height())));
}

void tst_celledit::letterAddsToFilledCell()
{
    f->form->Grid1->setTextMatrix(5, 1, QStringLiteral("Jon"));
    selectCell(5, 1);
    typeText("es");
    QCOMPARE(f->form->Grid1->TextMatrix(5, 1), QStringLiteral("Jones"));
}

void tst_celledit::enterOpensAndCloses()
{
    f->form->Grid1->setTextMatrix(7, 3, QStringLiteral("Reyes"));
    selectCell(7, 3);
    typeKey(Qt::Key_Return);
    QVERIFY(f->form->txtEdit->isVisible());
    QCOMPARE(f->form->txtEdit->text(), QStringLiteral("Reyes"));
    typeText("!");
    typeKey(Qt::Key_Return);
    QVERIFY(!f->form->txtEdit->isVisible());
    QCOMPARE(QApplication::focusWidget(), f->form->Grid1);
    QCOMPARE(f->form->Grid1->TextMatrix(7, 3), QStringLiteral("Reyes!"));
    QCOMPARE(f->form->Grid1->Row(), 7);
}

void tst_celledit::tabGoesToCalendar()
{
    selectCell(4, 1);
    typeKey(Qt::Key_Tab);
    QVERIFY(!f->form->txtEdit->isVisible());
    QCOMPARE(QApplication::focusWidget(), f->calendar->Picture2);
    // Tab in the open editor does the same.
    selectCell(4, 1);
    typeText("x");
    typeKey(Qt::Key_Tab);
    QVERIFY(!f->form->txtEdit->isVisible());
    QCOMPARE(QApplication::focusWidget(), f->calendar->Picture2);
    QCOMPARE(f->form->Grid1->TextMatrix(4, 1), QStringLiteral("x"));
}

void tst_celledit::gridFocusHidesSearchPanel()
{
    f->calendar->Picture2->setFocus();
    f->form->Frame2->show();
    f->form->Grid1->setFocus();
    QVERIFY(!f->form->Frame2->isVisible());
}

void tst_celledit::scrollingHidesEditor()
{
    f->form->resize(f->form->width(), 300);
    f->settle();
    selectCell(5, 1);
    typeText("Ng");
    QVERIFY(f->form->txtEdit->isVisible());
    QScrollBar* bar = f->form->Grid1->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->value() + 3);
    QVERIFY(!f->form->txtEdit->isVisible());
    QCOMPARE(f->form->Grid1->TextMatrix(5, 1), QStringLiteral("Ng"));
}

void tst_celledit::switchWithEditorOpenStoresText()
{
    selectCell(8, 4);
    typeText("Okafor");
    QVERIFY(f->form->txtEdit->isVisible());
    f->clickDay(kTomorrow);
    QCOMPARE(f->form->PageDate, kTomorrow);
    QVERIFY(!f->form->txtEdit->isVisible());
    QCOMPARE(celltext::split(f->storedData(kToday).toString())[5][3], QStringLiteral("Okafor"));
    f->clickDay(kToday);
    QCOMPARE(f->form->Grid1->TextMatrix(8, 4), QStringLiteral("Okafor"));
}

void tst_celledit::lockedPageRefusesTyping()
{
    f->form->Grid1->setTextMatrix(6, 1, QStringLiteral("Byrne"));
    f->form->Check2->click();  // the page lock
    QVERIFY(f->form->Check2->isChecked());
    selectCell(6, 1);
    typeText("zz");
    QVERIFY(f->form->txtEdit->isVisible());
    QVERIFY(f->form->txtEdit->isReadOnly());
    typeKey(Qt::Key_Backspace);
    QCOMPARE(f->form->Grid1->TextMatrix(6, 1), QStringLiteral("Byrne"));
    typeKey(Qt::Key_Return);
    f->form->Check2->click();
    selectCell(6, 1);
    typeText("s");
    QCOMPARE(f->form->Grid1->TextMatrix(6, 1), QStringLiteral("Byrnes"));
}

void tst_celledit::separatorsBecomeBlanks_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("cell");
    QTest::newRow("tab") << "Ann\tLee" << "Ann Lee";
    QTest::newRow("carriage return") << "Ann\rLee" << "Ann Lee";
    QTest::newRow("line feed") << "Ann\nLee" << "Ann Lee";
    QTest::newRow("all three") << "a\tb\r\nc" << "a b  c";
}

void tst_celledit::separatorsBecomeBlanks()
{
    QFETCH(QString, pasted);
    QFETCH(QString, cell);
    FlexGrid* g = f->form->Grid1;
    g->setTextMatrix(9, 3, QStringLiteral("after"));
    g->setTextMatrix(10, 1, QStringLiteral("below"));
    selectCell(9, 2);
    typeKey(Qt::Key_Return);
    // A paste puts the clipboard's text in as it is; the editor takes it through its change.
    f->form->txtEdit->insert(pasted);
    QCOMPARE(g->TextMatrix(9, 2), cell);
    f->clickDay(kTomorrow);
    f->clickDay(kToday);
    QCOMPARE(g->TextMatrix(9, 2), cell);
    QCOMPARE(g->TextMatrix(9, 3), QStringLiteral("after"));
    QCOMPARE(g->TextMatrix(10, 1), QStringLiteral("below"));
}

void tst_celledit::megabyteCell()
{
    const QString big = QString(1 << 20, u'x');
    selectCell(4, 2);
    typeKey(Qt::Key_Return);
    QElapsedTimer timer;
    timer.start();
    f->form->txtEdit->insert(big);
    typeKey(Qt::Key_Return);
    f->clickDay(kTomorrow);
    f->clickDay(kToday);
    f->form->Grid1->repaint();
    QCOMPARE(f->form->Grid1->TextMatrix(4, 2).size(), big.size());
    QCOMPARE(celltext::split(f->storedData(kToday).toString())[1][1].size(), big.size());
    qInfo("a megabyte cell stored and shown back in %lld ms", timer.elapsed());
}

void tst_celledit::firstKeyTypesWholeText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("an emoji") << QStringLiteral("\U0001F600");
    QTest::newRow("e with a combining acute") << QStringLiteral("e\u0301");
    QTest::newRow("a letter of a script beyond Latin") << QStringLiteral("\u05D0");
}

void tst_celledit::firstKeyTypesWholeText()
{
    QFETCH(QString, typed);
    selectCell(6, 3);
    // One key whose text is more than one UTF-16 unit, as an input method delivers it.
    QTest::sendKeyEvent(QTest::Press, f->form->Grid1, Qt::Key_unknown, typed, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, f->form->Grid1, Qt::Key_unknown, typed, Qt::NoModifier);
    f->settle();
    QVERIFY(f->form->txtEdit->isVisible());
    QCOMPARE(f->form->txtEdit->text(), typed);
    QCOMPARE(f->form->Grid1->TextMatrix(6, 3), typed);
    typeText("x");
    f->clickDay(kTomorrow);
    QCOMPARE(celltext::split(f->storedData(kToday).toString())[3][2], typed + "x");
}

void tst_celledit::quickTypistKeepsOrder()
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

void tst_celledit::clickOutsideCells_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("heading row") << "heading row";
    QTest::newRow("time column") << "time column";
    QTest::newRow("grey area") << "grey area";
}

void tst_celledit::clickOutsideCells()
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
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, point());
    f->settle();
    QVERIFY(!f->form->txtEdit->isVisible());
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

QTEST_MAIN(tst_celledit)
#include "tst_celledit.moc"
