// The template editor through the real screen: the grid it lays out, the walk from Monday to
// Sunday with what each step stores, the closed flag, the review question, its keys, copy and
// paste of cells, when it starts again at Monday, and what a new day page takes from it.
#include "app/screens.h"
#include "common/daypage.h"
#include "common/screenstest.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/colours.h"
#include "platform/programfolder.h"
#include "program.h"
#include "setup/frmConfigure.h"
#include "storage/celltext.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

const QDate kToday(2031, 4, 9);  // a Wednesday
const char* const kFields[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const QString kActivation = QStringLiteral(
    "Please block out the time slots where the person is unavailable for appointments. You can use "
    "the right mouse button to perform copy and paste function to save on keystrokes. Remember to "
    "press ENTER after each entry!");

}  // namespace

class tst_configure : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        program::setToday(kToday);
        program::registerScreens();
        program::setEndHandler([] {});
    }
    void cleanupTestCase()
    {
        program::setToday(QDate());
        program::setEndHandler(nullptr);
    }
    void init() { f = std::make_unique<DayPageFixture>(); }
    void cleanup()
    {
        closeAllScreens();
        c = nullptr;
        f.reset();
    }

    void opensOnMonday()
    {
        QVERIFY(open());
        QCOMPARE(f->dialogs.messages.size(), 1);
        QCOMPARE(f->dialogs.messages[0].text, kActivation);
        QCOMPARE(c->lblCalDay->text(), QStringLiteral("Monday"));
        QCOMPARE(dataArea(), field("Mon"));
        QCOMPARE(QApplication::focusWidget(), c->Grid1);
        // The page grid: three heading rows, times without a blank after them.
        QCOMPARE(c->Grid1->TextMatrix(1, 3), QStringLiteral("Lab"));
        QCOMPARE(c->Grid1->TextMatrix(4, 0), QStringLiteral("08:00 AM"));
        QCOMPARE(c->Grid1->TextMatrix(22, 0), QStringLiteral("05:00 PM"));
        // F1 shows and hides the help; F8 goes to the list, which does not also act on the key.
        typeKey(Qt::Key_F1);
        QVERIFY(c->lblHelp->text().startsWith(QStringLiteral("You can use any print character to block out")));
        QVERIFY(c->lblHelp->isVisible());
        typeKey(Qt::Key_F1);
        QVERIFY(!c->lblHelp->isVisible());
        typeKey(Qt::Key_F8);
        QCOMPARE(QApplication::focusWidget(), c->statusList);
        QCOMPARE(c->statusList->currentIndex(), 0);
    }

    void reviewQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << int(dialogs::Answer::Yes);
        QTest::newRow("No") << int(dialogs::Answer::No);
    }

    void reviewQuestion()
    {
        QFETCH(int, answer);
        f->exec("UPDATE tbl_Setup SET chk2 = 1");
        QVERIFY(open());
        QVERIFY(c->Check1->isChecked());  // Monday is closed
        // F7 and the button walk day by day; each day shows its stored template and flag.
        for (int day = 1; day < 7; ++day) {
            if (day % 2)
                typeKey(Qt::Key_F7);
            else
                c->CmdFinish->click();
            QCOMPARE(c->lblCalDay->text(), QLocale(QLocale::English).dayName(day + 1));
            QCOMPARE(c->CmdFinish->text(), day < 6 ? QString::fromLatin1(kFields[day + 1]) : QStringLiteral("Finish"));
            QCOMPARE(dataArea(), field(kFields[day]));
            QCOMPARE(c->Check1->isChecked(), f->value(QStringLiteral("SELECT chk%1 FROM tbl_Setup").arg((day + 1) % 7 + 1)).toBool());
            QCOMPARE(QApplication::focusWidget(), c->Grid1);
        }
        typeIntoCell(5, 4, "Sunday shift");
        f->dialogs.answerMessage(dialogs::Answer(answer));
        typeKey(Qt::Key_F7);
        DayPageFixture::settle();
        QCOMPARE(f->dialogs.messages.size(), 2);
        QCOMPARE(f->dialogs.messages[1].text, QStringLiteral("Do you wish to review your templates?"));
        QCOMPARE(f->dialogs.messages[1].buttons, dialogs::Buttons::YesNo);
        QCOMPARE(celltext::split(field("Sun"))[2][3], QStringLiteral("Sunday shift"));
        if (answer == int(dialogs::Answer::Yes)) {
            QCOMPARE(c->lblCalDay->text(), QStringLiteral("Monday"));
            QCOMPARE(dataArea(), field("Mon"));
            QVERIFY(c->Check1->isChecked());
        } else {
            QVERIFY(!screens::loaded(Screen::Configure));
            QVERIFY(screens::loaded(Screen::Appt) && screens::loaded(Screen::Appt)->isVisible());
            QVERIFY(!screens::loaded(Screen::Menu));
        }
    }

    void shorterTemplateLeavesTheRestEmpty()
    {
        f->exec("UPDATE tbl_Setup SET Tue = 'X'");
        QVERIFY(open());
        QVERIFY(!field("Mon").isEmpty());
        typeKey(Qt::Key_F7);
        QList<QStringList> expected(22, QStringList(4));
        expected[0][0] = QStringLiteral("X");
        QCOMPARE(dataArea(), celltext::join(expected));
    }

    void closingStoresNothingOfTheDay()
    {
        const char* const all = "Mon || Tue || Wed || Thu || Fri || Sat || Sun || chk1 || chk2 || chk3 || chk4 || "
                                "chk5 || chk6 || chk7";
        const QString before = field(all);
        QVERIFY(open());
        typeKey(Qt::Key_F7);
        typeIntoCell(8, 1, "Zed");
        c->statusList->setFocus();
        typeKey(Qt::Key_Down);
        c->close();
        DayPageFixture::settle();
        QCOMPARE(field(all), before);
        QVERIFY(!screens::loaded(Screen::Configure));
        QVERIFY(screens::loaded(Screen::Menu) && screens::loaded(Screen::Menu)->isVisible());
    }

    void activationFromAnotherScreenOnly()
    {
        QVERIFY(open());
        typeKey(Qt::Key_F7);
        QCOMPARE(c->lblCalDay->text(), QStringLiteral("Tuesday"));

        // A window that is no screen of the program (a message box) comes and goes.
        {
            QWidget box;
            box.show();
            box.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&box));
        }
        c->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(c));
        DayPageFixture::settle();
        QCOMPARE(c->lblCalDay->text(), QStringLiteral("Tuesday"));
        QCOMPARE(f->dialogs.messages.size(), 1);

        // Another screen: coming back starts the walk again.
        Form* menu = screens::show(Screen::Menu);
        QVERIFY(QTest::qWaitForWindowActive(menu));
        c->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(c));
        DayPageFixture::settle();
        QCOMPARE(c->lblCalDay->text(), QStringLiteral("Monday"));
        QCOMPARE(f->dialogs.messages.size(), 2);
        QCOMPARE(f->dialogs.messages[1].text, kActivation);
    }

    void separatorsBecomeBlanks()
    {
        // A tab, a line break and a carriage return pasted into the editor: each a blank.
        const QString pasted = QStringLiteral("a\tb\r\nc"), cell = QStringLiteral("a b  c");
        f->exec("UPDATE tbl_Setup SET Mon = ''");
        QVERIFY(open());
        clickCell(9, 2);
        typeKey(Qt::Key_Return);
        c->txtEdit->insert(pasted);
        typeKey(Qt::Key_Return);
        QCOMPARE(c->Grid1->TextMatrix(9, 2), cell);
        typeKey(Qt::Key_F7);
        QList<QStringList> stored(22, QStringList(4));
        stored[6][1] = cell;
        QCOMPARE(field("Mon"), celltext::join(stored));
    }

    void copyAndPasteABlock()
    {
        f->exec("UPDATE tbl_Setup SET Mon = '', Tue = ''");
        QVERIFY(open());
        typeIntoCell(4, 1, "a");
        typeIntoCell(4, 2, "b");
        typeIntoCell(5, 1, "c");
        clickCell(4, 1);
        typeKey(Qt::Key_Right, Qt::ShiftModifier);
        typeKey(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(c->Grid1->RowSel(), 5);
        QCOMPARE(c->Grid1->ColSel(), 2);
        c->mnuGridCopy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb\rc\t"));

        typeKey(Qt::Key_F7);
        QCOMPARE(c->lblCalDay->text(), QStringLiteral("Tuesday"));
        // The right mouse button offers the menu over the cell it was pressed on.
        clickCell(12, 1);
        const QPoint at = c->Grid1->cellRect(10, 3).center();
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, c->Grid1->viewport()->mapToGlobal(at));
        QApplication::sendEvent(c->Grid1->viewport(), &menuEvent);
        QVERIFY(c->gridMenu->isVisible());
        QCOMPARE(c->Grid1->Row(), 10);
        QCOMPARE(c->Grid1->Col(), 3);
        c->gridMenu->hide();
        c->mnuGridPaste->trigger();
        typeKey(Qt::Key_F7);
        QList<QStringList> tuesday(22, QStringList(4));
        tuesday[7][2] = QStringLiteral("a");
        tuesday[7][3] = QStringLiteral("b");
        tuesday[8][2] = QStringLiteral("c");
        QCOMPARE(field("Tue"), celltext::join(tuesday));
    }

    void pasteFromElsewhere()
    {
        f->exec("UPDATE tbl_Setup SET Mon = ''");
        QVERIFY(open());
        // Rows broken with line feeds and a break at the end, wider than the area.
        QGuiApplication::clipboard()->setText(QStringLiteral("**\t**\t**\n==\r\n"));
        clickCell(24, 3);
        c->mnuGridPaste->trigger();
        QCOMPARE(c->Grid1->Rows(), 25);
        QCOMPARE(c->Grid1->Cols(), 5);
        typeKey(Qt::Key_F7);
        const QList<QStringList> monday = celltext::split(field("Mon"));
        QCOMPARE(monday.size(), 22);
        QCOMPARE(monday[21], (QStringList{"", "", "**", "**"}));
    }

    void wheelOverUnfocusedListDoesNothing()
    {
        f->exec("UPDATE tbl_Setup SET chk2 = 0");
        QVERIFY(open());
        QCOMPARE(QApplication::focusWidget(), c->Grid1);
        const QPoint at = c->statusList->rect().center();
        QWheelEvent wheel(at, c->statusList->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(c->statusList, &wheel);
        QCOMPARE(c->statusList->currentIndex(), 0);
        QVERIFY(!c->Check1->isChecked());
        typeKey(Qt::Key_F7);
        QCOMPARE(f->value("SELECT chk2 FROM tbl_Setup").toInt(), 0);
    }

    void newPagesTakeTheTemplates()
    {
        // A lunch hour blocked on Wednesday, and Wednesday marked closed, as a new user would.
        f->exec("DELETE FROM tbl_Appt");
        f->exec("UPDATE tbl_Setup SET chk4 = 0, Wed = ''");
        QVERIFY(open());
        typeKey(Qt::Key_F7);
        typeKey(Qt::Key_F7);
        typeIntoCell(12, 1, "Lunch");
        typeIntoCell(12, 2, "Lunch");
        typeKey(Qt::Key_F8);
        QCOMPARE(QApplication::focusWidget(), c->statusList);
        typeKey(Qt::Key_Down);
        QVERIFY(c->Check1->isChecked());
        QCOMPARE(c->Grid1->BackColor(), colours::Desktop);
        QCOMPARE(QApplication::focusWidget(), c->Grid1);
        typeKey(Qt::Key_F7);
        QCOMPARE(f->value("SELECT chk4 FROM tbl_Setup").toInt(), 1);
        QCOMPARE(celltext::split(field("Wed"))[9][1], QStringLiteral("Lunch"));
        QCOMPARE(c->Grid1->BackColor(), colours::Cream);  // Thursday is open
        f->dialogs.answerMessage(dialogs::Answer::No);
        for (int i = 0; i < 4; ++i)
            typeKey(Qt::Key_F7);
        DayPageFixture::settle();

        // The day page opened on today, a Wednesday without a page, shows the block and is closed.
        auto* page = qobject_cast<frmAppt*>(screens::loaded(Screen::Appt));
        QVERIFY(page);
        QCOMPARE(page->PageDate, kToday);
        QCOMPARE(page->Grid1->TextMatrix(12, 2), QStringLiteral("Lunch"));
        QVERIFY(page->Check1->isChecked());
        QCOMPARE(f->storedData(kToday).toString(), field("Wed"));
        QCOMPARE(f->value("SELECT Clinic FROM tbl_Appt WHERE CalDate = '" + f->key(kToday) + "'").toInt(), 1);
    }

    void templatesGoByName()
    {
        // A file whose fields stand in another order: the closed flags and Readme where the
        // templates stood. Each day is shown from its own field and stored into it.
        f->exec("DELETE FROM tbl_Appt");
        f->exec("UPDATE tbl_Setup SET Wed = 'Wednesday shown', chk4 = 0");
        f->reorderSetupColumns();
        const char* const others = "chk1 || chk2 || chk3 || chk4 || chk5 || chk6 || chk7 || Readme || Licence";
        const QString before = field(others);
        QVERIFY(open());
        for (int day = 0; day < 7; ++day) {
            QVERIFY(dataArea().startsWith(field(kFields[day])));
            c->Grid1->setRow(5);
            c->Grid1->setCol(1 + day % 4);
            typeText(QString::fromLatin1(kFields[day]) + QStringLiteral(" off"));
            typeKey(Qt::Key_Return);
            if (day == 6)
                f->dialogs.answerMessage(dialogs::Answer::No);
            typeKey(Qt::Key_F7);
        }
        DayPageFixture::settle();
        QCOMPARE(field(others), before);
        for (int day = 0; day < 7; ++day)
            QCOMPARE(celltext::split(field(kFields[day]))[2][day % 4], QString::fromLatin1(kFields[day]) + " off");
        QCOMPARE(celltext::split(field("Wed"))[0][0], QStringLiteral("Wednesday shown"));
        // A new page takes its weekday's template by name too: today is a Wednesday.
        auto* page = qobject_cast<frmAppt*>(screens::loaded(Screen::Appt));
        QVERIFY(page);
        QCOMPARE(page->Grid1->TextMatrix(5, 3), QStringLiteral("Wed off"));
        QCOMPARE(f->storedData(kToday).toString(), field("Wed"));
    }

private:
    frmConfigure* open() { return c = showScreen<frmConfigure>(Screen::Configure); }

    void clickCell(int row, int col)
    {
        FlexGrid* g = c->Grid1;
        g->setFocus();
        g->setTopRow(row);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(row, col).center());
        QCOMPARE(g->Row(), row);
        QCOMPARE(g->Col(), col);
    }

    void typeIntoCell(int row, int col, const QString& text)
    {
        clickCell(row, col);
        typeText(text);
        typeKey(Qt::Key_Return);
    }

    QString field(const char* name) const
    {
        return f->value(QStringLiteral("SELECT %1 FROM tbl_Setup").arg(QLatin1String(name))).toString();
    }

    QString dataArea() const
    {
        QList<QStringList> rows;
        for (int r = 3; r <= c->LastRow; ++r) {
            QStringList cells;
            for (int col = 1; col <= c->LastCol; ++col)
                cells << c->Grid1->TextMatrix(r, col);
            rows << cells;
        }
        return celltext::join(rows);
    }

    std::unique_ptr<DayPageFixture> f;
    frmConfigure* c = nullptr;
};

QTEST_MAIN(tst_configure)
#include "tst_configure.moc"
