// The print panel on the real day page: the printout line by line, the column box, the
// keys, the Retry question, Close and the preview.
#include "common/daypage.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "printing/PrintPanel.h"
#include "printing/RecordingTarget.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const QDate kToday(2024, 3, 6);  // a Wednesday
const QString kNoPrinter = QStringLiteral("No printer is installed on this system");

QString sp(int n)
{
    return QString(n, u' ');
}

// A click on an option's button, where the option takes clicks.
void click(QRadioButton* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

// Hands the panel a target that writes into the test's recording, which outlives it.
class Forward final : public PrintTarget {
public:
    explicit Forward(RecordingTarget& r) : r_(r) {}
    void setFont(int size, bool bold) override { r_.setFont(size, bold); }
    void printLine(const QString& text) override { r_.printLine(text); }
    void newPage() override { r_.newPage(); }
    void endDoc() override { r_.endDoc(); }
    void abort() override { r_.abort(); }

private:
    RecordingTarget& r_;
};

// The day page with three providers and every cell of today's page filled, "c2r7" being
// column 2 of grid row 7.
struct PrintFixture : DayPageFixture {
    PrintPanel* panel = nullptr;
    RecordingTarget printed;
    int targetsMade = 0;
    bool noPrinter = false;

    bool open()
    {
        exec(QStringLiteral("UPDATE tbl_Setup SET Listno = 3, Names = 'Ann Ames%Bo Brandt%Cy Cole%', "
                            "Sites = 'Room A%Room B%Room C%'"));
        QStringList rows;
        for (int r = 3; r <= 24; ++r)
            rows << QStringLiteral("c1r%1\tc2r%1\tc3r%1").arg(r);
        addPage(kToday, rows.join(u'\r'));
        if (!DayPageFixture::open())
            return false;
        panel = form->findChild<PrintPanel*>();
        panel->setTargetFactory([this]() -> std::unique_ptr<PrintTarget> {
            ++targetsMade;
            if (noPrinter)
                throw PrintError(kNoPrinter);
            return std::make_unique<Forward>(printed);
        });
        return true;
    }
    void press(Qt::Key key)
    {
        typeKey(key);
        settle();
    }
    // The panel shown with "Print Column" chosen and the column box focused.
    void columnBox()
    {
        press(Qt::Key_F11);
        click(panel->Option2);
        panel->txtPrint->setFocus();
    }
};

}  // namespace

class tst_printpanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { program::setToday(kToday); }
    void cleanupTestCase() { program::setToday(QDate()); }

    void printAll()
    {
        PrintFixture f;
        QVERIFY(f.open());
        QVERIFY(f.panel->Frame3->isHidden());
        f.press(Qt::Key_F11);
        QVERIFY(f.panel->Frame3->isVisible());
        QCOMPARE(f.targetsMade, 0);
        f.press(Qt::Key_F11);

        const RecordingTarget& t = f.printed;
        QVERIFY(t.ended);
        QCOMPARE(t.pages, 3);
        const QString heading = sp(9) + QStringLiteral("Appointment Schedule:   Wednesday,  ") + f.form->lblCalDate->text();
        const QStringList names{"Ann Ames", "Bo Brandt", "Cy Cole"};
        const QStringList sites{"Room A", "Room B", "Room C"};
        for (int page = 1; page <= 3; ++page) {
            const QList<RecordingTarget::Line> lines = t.page(page);
            // Eight blank lines, the heading, the column number, site and "Time" line, then each
            // row after a blank line: time rows with the cell 30 blanks in, after the time.
            QStringList expected(8);
            expected << heading << "" << sp(26) + QString::number(page) << "" << sp(22) + sites[page - 1] << ""
                     << sp(10) + "Time" + sp(5) + names[page - 1] << "" << sp(30) + QStringLiteral("c%1r3").arg(page);
            for (int r = 4; r <= 24; ++r) {
                const QString time = r <= 22 ? sp(14) + f.form->Grid1->TextMatrix(r, 0) + sp(7) : sp(30);
                expected << "" << time + QStringLiteral("c%1r%2").arg(page).arg(r);
            }
            QStringList printed;
            for (const RecordingTarget::Line& l : lines)
                printed << l.text;
            QCOMPARE(printed, expected);
            QCOMPARE(lines[18].text.mid(14, 9), QStringLiteral("08:00 AM "));
            QCOMPARE(lines[54].text.mid(14, 9), QStringLiteral("05:00 PM "));
            // The heading 14 point bold, the column lines 12 point, the rows 9 point bold.
            QVERIFY(lines[8].pointSize == 14 && lines[8].bold);
            QVERIFY(lines[10].pointSize == 12 && lines[14].pointSize == 12);
            QVERIFY(lines[16].pointSize == 9 && lines[16].bold);
        }
        // The last cell printed is the grid's current cell.
        QCOMPARE(f.form->Grid1->Row(), 24);
        QCOMPARE(f.form->Grid1->Col(), 3);

        // The panel stays: F11 prints again.
        f.press(Qt::Key_F11);
        QCOMPARE(f.targetsMade, 2);
        QCOMPARE(f.printed.pages, 5);
    }

    void oneColumn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("boxAfter");
        QTest::newRow("2") << "2" << 2 << "2";
        // F11 while the number is still in the box: it is brought into range first.
        QTest::newRow("above N") << "7" << 3 << "3";
        QTest::newRow("0") << "0" << 1 << "1";
        QTest::newRow("leading zeros") << "002" << 2 << "002";
    }

    void oneColumn()
    {
        QFETCH(QString, typed);
        QFETCH(int, column);
        QFETCH(QString, boxAfter);
        PrintFixture f;
        QVERIFY(f.open());
        f.columnBox();
        typeText(typed);
        f.press(Qt::Key_F11);

        QCOMPARE(f.printed.pages, 1);
        const QList<RecordingTarget::Line> lines = f.printed.page(1);
        QCOMPARE(lines.size(), 59);
        QCOMPARE(lines[10].text, sp(26) + QString::number(column));
        QCOMPARE(lines[18].text.mid(30), QStringLiteral("c%1r4").arg(column));
        QCOMPARE(f.panel->txtPrint->text(), boxAfter);
        QVERIFY(f.panel->Option2->isChecked());
    }

    void columnBox_data()
    {
        QTest::addColumn<QString>("typed");  // "\b" is Backspace
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("key");        // the key that leaves the box, or not
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("afterLeaving");
        QTest::newRow("letters and punctuation dropped") << "a1-b,2" << "12" << int(Qt::Key_Tab) << "cmdClosePrint" << "3";
        QTest::newRow("0 becomes 1") << "0" << "0" << int(Qt::Key_Down) << "cmdClosePrint" << "1";
        QTest::newRow("in range, Up") << "2" << "2" << int(Qt::Key_Up) << "Option2" << "2";
        QTest::newRow("backspace") << "45\b\b1" << "1" << int(Qt::Key_Return) << "cmdClosePrint" << "1";
        QTest::newRow("too long for a number") << "12345678901234567890123" << "12345678901234567890123"
                                               << int(Qt::Key_Tab) << "cmdClosePrint" << "3";
        QTest::newRow("Enter in the empty box") << "x" << "" << int(Qt::Key_Return) << "txtPrint" << "";
    }

    void columnBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, key);
        QFETCH(QString, focus);
        QFETCH(QString, afterLeaving);
        PrintFixture f;
        QVERIFY(f.open());
        f.columnBox();
        for (QChar c : typed) {
            if (c == u'\b')
                typeKey(Qt::Key_Backspace);
            else
                typeText(QString(c));
        }
        QCOMPARE(f.panel->txtPrint->text(), shown);
        f.press(Qt::Key(key));
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(f.panel->txtPrint->text(), afterLeaving);
        QCOMPARE(f.targetsMade, 0);
    }

    void options()
    {
        PrintFixture f;
        QVERIFY(f.open());
        // The menu's Print only opens the panel, however often it is chosen.
        QAction* print = f.form->findChild<QAction*>(QStringLiteral("mnuPagePrint"));
        print->trigger();
        print->trigger();
        QVERIFY(f.panel->Frame3->isVisible());
        QCOMPARE(f.targetsMade, 0);
        QCOMPARE(f.panel->Option2->text(), QStringLiteral("Print Column No. ( 1 to 3 )"));
        QCOMPARE(QApplication::focusWidget(), f.panel->Option1);
        QVERIFY(f.panel->Option1->isChecked());
        // "Print All" keeps the box empty and locked.
        f.panel->txtPrint->setFocus();
        typeText(QStringLiteral("2"));
        QCOMPARE(f.panel->txtPrint->text(), QString());

        // Enter on an option flips it.
        f.panel->Option2->setFocus();
        f.press(Qt::Key_Return);
        QVERIFY(f.panel->Option2->isChecked());
        f.panel->txtPrint->setFocus();
        typeText(QStringLiteral("2"));

        // Hidden and shown again, the panel keeps its choice and number.
        QTest::mouseClick(f.panel->cmdClosePrint, Qt::LeftButton);
        f.press(Qt::Key_F11);
        QVERIFY(f.panel->Option2->isChecked());
        QCOMPARE(f.panel->txtPrint->text(), QStringLiteral("2"));

        // Choosing "Print All" empties the box.
        click(f.panel->Option1);
        QCOMPARE(f.panel->txtPrint->text(), QString());

        // "Print Column" with an empty box prints nothing and asks for the number.
        click(f.panel->Option2);
        f.press(Qt::Key_F11);
        QCOMPARE(f.targetsMade, 0);
        QCOMPARE(QApplication::focusWidget(), f.panel->txtPrint);
    }

    void retryQuestion_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("retry");
        QTest::addColumn<QString>("question");
        QTest::newRow("no printer, Yes") << "no printer" << true << kNoPrinter + ". Retry?";
        QTest::newRow("fault half-way, Yes") << "half-way" << true << "The printer is out of paper. Retry?";
        QTest::newRow("fault half-way, No") << "half-way" << false << "The printer is out of paper. Retry?";
        // Every line went out; the job is still cancelled, or Retry would print the day twice.
        QTest::newRow("fault at the end, Yes") << "at the end" << true << "The printer is out of paper. Retry?";
    }

    void retryQuestion()
    {
        QFETCH(QString, fault);
        QFETCH(bool, retry);
        QFETCH(QString, question);
        PrintFixture f;
        QVERIFY(f.open());
        const bool noPrinter = fault == "no printer";
        f.noPrinter = noPrinter;
        if (fault == "at the end")
            f.printed.failAtEnd = true;
        else
            f.printed.failAtLine = 20;
        f.press(Qt::Key_F11);
        QTest::mouseClick(f.panel->cmdClosePrint, Qt::LeftButton);
        f.press(Qt::Key_F11);
        f.form->Grid1->setFocus();

        // The document is abandoned before the question is asked.
        bool abortedBefore = false;
        f.dialogs.whenAsked = [&](const dialogs::Prompt&) { abortedBefore = f.printed.aborted; };
        f.dialogs.answerMessage(retry ? dialogs::Answer::Yes : dialogs::Answer::No);
        f.panel->StartPrint();

        QCOMPARE(f.dialogs.messages.size(), 1);
        const dialogs::Prompt& p = f.dialogs.messages[0];
        QCOMPARE(p.text, question);
        QCOMPARE(p.buttons, dialogs::Buttons::YesNo);
        QVERIFY(!f.printed.ended);
        QCOMPARE(abortedBefore, !noPrinter);
        if (fault != "at the end")
            QCOMPARE(f.printed.lines.size(), noPrinter ? 0 : 20);
        // Yes: the panel again, ready for F11.
        QCOMPARE(QApplication::focusWidget() == f.panel->Option1, retry);
        QVERIFY(f.panel->Frame3->isVisible());
    }

    void closeReturnsToEditedCell()
    {
        PrintFixture f;
        QVERIFY(f.open());
        FlexGrid* grid = f.form->Grid1;
        // Before any cell was edited, Close leaves a data cell current, never a heading.
        f.press(Qt::Key_F11);
        QTest::mouseClick(f.panel->cmdClosePrint, Qt::LeftButton);
        QVERIFY(grid->Row() >= 3);
        QVERIFY(grid->Col() >= 1);
        QCOMPARE(QApplication::focusWidget(), grid);

        grid->setFocus();
        grid->setRow(7);
        grid->setCol(2);
        typeText(QStringLiteral("x"));
        f.press(Qt::Key_Return);
        QCOMPARE(grid->TextMatrix(7, 2), QStringLiteral("c2r7x"));
        grid->setRow(12);
        grid->setCol(1);
        f.press(Qt::Key_F11);
        f.press(Qt::Key_F11);
        QCOMPARE(grid->Row(), 24);
        QTest::mouseClick(f.panel->cmdClosePrint, Qt::LeftButton);
        QVERIFY(f.panel->Frame3->isHidden());
        QCOMPARE(grid->Row(), 7);
        QCOMPARE(grid->Col(), 2);
        QCOMPARE(QApplication::focusWidget(), grid);
    }

    void previewShowsTheSheets()
    {
        PrintFixture f;
        QVERIFY(f.open());
        f.press(Qt::Key_F11);
        int pages = -1;
        QString title;
        std::function<void()> look = [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                QTimer::singleShot(10, look);
                return;
            }
            title = dialog->windowTitle();
            pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
            dialog->reject();
        };
        QTimer::singleShot(0, look);
        // Its letter, which no other control or menu of the page claims.
        typeKey(Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(title, QStringLiteral("Print Preview"));
        QCOMPARE(pages, 3);
        QCOMPARE(f.targetsMade, 0);  // nothing went to the printer
    }
};

QTEST_MAIN(tst_printpanel)
#include "tst_printpanel.moc"
