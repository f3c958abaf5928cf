// The history on the day page: a cell's earlier texts, put back by the keyboard alone and
// remembered in turn, read as a screen reader reads them; the changes of the day.
#include "common/daypage.h"
#include "navigation/CellHistory.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "storage/history.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

const QDate kToday = DayPageFixture::Today;
constexpr int Row = 5, Col = 1;  // a cell of the grid: the page's cell text row 2, column 0

// What a screen reader reads of a list: each row's cells in order, row after row.
QStringList readAloud(QWidget* list)
{
    QStringList read;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list);
    if (!table || !table->tableInterface())
        return {QStringLiteral("no accessible table")};
    read << table->text(QAccessible::Name);
    QAccessibleTableInterface* t = table->tableInterface();
    QStringList headings;
    for (int c = 0; c < t->columnCount(); ++c)
        headings << t->columnDescription(c);
    read << headings.join(QStringLiteral(" | "));
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c)
            if (QAccessibleInterface* cell = t->cellAt(r, c))
                cells << cell->text(QAccessible::Name);
        read << cells.join(QStringLiteral(" | "));
    }
    return read;
}

}  // namespace

class tst_cellhistory : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        storage::setDeskName(QStringLiteral("front/anna"));
        f = std::make_unique<DayPageFixture>();
        QVERIFY(f->open());
    }

    void cleanup()
    {
        f.reset();
        storage::setDeskName(QString());
    }

    void putBackByKeyboard_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Ctrl+H") << "key";
        QTest::newRow("Edit menu") << "menu";
    }

    void putBackByKeyboard()
    {
        QFETCH(QString, way);
        const QString before = f->form->Grid1->TextMatrix(Row, Col);
        storeCell(QStringLiteral("Ann Lee"));
        storeCell(QStringLiteral("Bob Ray"));
        f->form->Grid1->setRow(Row);
        f->form->Grid1->setCol(Col);
        f->form->Grid1->setFocus();
        if (way == "key")
            typeKey(Qt::Key_H, Qt::ControlModifier);
        else
            f->form->findChild<QAction*>(QStringLiteral("mnuEditHistory"))->trigger();
        f->settle();
        auto* dialog = qobject_cast<frmCellHistory*>(history()->dialog());
        QVERIFY(dialog);
        QCOMPARE(QApplication::focusWidget(), dialog->lstHistory);
        const QString cell = QStringLiteral("%1, %2").arg(f->form->Grid1->TextMatrix(Row, 0).trimmed(),
                                                          f->form->Grid1->TextMatrix(2, Col).trimmed());
        const QStringList read = readAloud(dialog->lstHistory);
        QCOMPARE(read.size(), 5);  // the name, the heading row, three texts
        QCOMPARE(read[0], QStringLiteral("Earlier texts of the cell %1").arg(cell));
        QCOMPARE(read[1], QStringLiteral("Text | Stored | Desk"));
        QVERIFY2(read[2].startsWith(QStringLiteral("Bob Ray | ")) && read[2].endsWith(" | front/anna"), qPrintable(read[2]));
        QVERIFY2(read[3].startsWith(QStringLiteral("Ann Lee | ")), qPrintable(read[3]));
        QVERIFY2(read[4].startsWith(CellHistory::shown(before) + QStringLiteral(" | before ")), qPrintable(read[4]));

        // Down to the older text, Enter puts it back: an ordinary edit, stored with the page.
        QTest::keyClick(dialog->lstHistory, Qt::Key_Down);
        QTest::keyClick(dialog->lstHistory, Qt::Key_Return);
        f->settle();
        QVERIFY(!history()->dialog());
        QCOMPARE(f->form->Grid1->TextMatrix(Row, Col), QStringLiteral("Ann Lee"));
        storePage();
        QCOMPARE(f->form->Grid1->TextMatrix(Row, Col), QStringLiteral("Ann Lee"));
        const std::vector<storage::Change> cellHistory = storage::History(f->form->database()).cell(kToday, Row - 3, Col - 1);
        QCOMPARE(cellHistory.size(), size_t(3));
        QCOMPARE(cellHistory[0].oldText, QStringLiteral("Bob Ray"));
        QCOMPARE(cellHistory[0].newText, QStringLiteral("Ann Lee"));

        // Under the page lock nothing is put back.
        f->form->Check2->setChecked(true);
        f->form->Check2_Click();
        history()->showCell(Row - 3, Col - 1);
        dialog = qobject_cast<frmCellHistory*>(history()->dialog());
        QVERIFY(!dialog->cmdPutBack->isEnabled());
        QVERIFY(dialog->lblWhyNot && dialog->lblWhyNot->text().startsWith("The page is locked"));
        dialog->reject();

        // A cell the page no longer lays out (a provider fewer since its text was stored): its
        // texts are listed, and the dialog says why none can be put back.
        f->form->Check2->setChecked(false);
        f->form->Check2_Click();
        const int lastCol = f->form->LastCol;
        f->form->Grid1->setTextMatrix(Row, lastCol, QStringLiteral("Cy Dee"));
        storePage();
        storage::Settings s = storage::readSettings(f->form->database());
        s.layout.listno = lastCol - 1;
        storage::storeSetup(f->form->database(), s.layout, kToday, s.version);
        f->form->reshowPage();
        QCOMPARE(f->form->LastCol, lastCol - 1);
        history()->showCell(Row - 3, lastCol - 1);
        dialog = qobject_cast<frmCellHistory*>(history()->dialog());
        QVERIFY(dialog->lstHistory->topLevelItemCount() > 0);
        QVERIFY(!dialog->cmdPutBack->isEnabled());
        QVERIFY(dialog->lblWhyNot && dialog->lblWhyNot->text().startsWith("The cell lies outside the page"));
        dialog->reject();
    }

    void dayChangesListEveryKind()
    {
        const QString before = CellHistory::shown(f->form->Grid1->TextMatrix(Row, Col));
        f->form->Grid1->setTextMatrix(Row, Col, QStringLiteral("Cy Moss"));
        f->form->TxtMemo->setPlainText(QStringLiteral("call the lab"));
        f->form->setClosed(true);
        storePage();
        f->form->findChild<QAction*>(QStringLiteral("mnuEditDayChanges"))->trigger();
        f->settle();
        auto* dialog = qobject_cast<frmDayChanges*>(history()->dialog());
        QVERIFY(dialog);
        const QStringList read = readAloud(dialog->lstChanges);
        QCOMPARE(read.size(), 5);
        QCOMPARE(read[1], QStringLiteral("Stored | Desk | Cell | Old text | New text"));
        const QString cell = QStringLiteral("%1, %2").arg(f->form->Grid1->TextMatrix(Row, 0).trimmed(),
                                                          f->form->Grid1->TextMatrix(2, Col).trimmed());
        QStringList rest = read.mid(2);
        for (QString& line : rest)
            line = line.section(QStringLiteral(" | "), 1);
        rest.sort();
        QStringList expected{QStringLiteral("front/anna | Closed flag | open | closed"),
                             QStringLiteral("front/anna | Memo | (empty) | call the lab"),
                             QStringLiteral("front/anna | %1 | %2 | Cy Moss").arg(cell, before)};
        expected.sort();
        QCOMPARE(rest, expected);
        dialog->reject();
    }

private:
    // Types a text into the cell and stores the page by going to the next day and back.

    void storeCell(const QString& text)
    {
        f->form->Grid1->setTextMatrix(Row, Col, text);
        storePage();
    }
    // Stores the page by going to the next day and back.

    void storePage()
    {
        QVERIFY(f->form->switchPage(kToday.addDays(1)));
        QVERIFY(f->form->switchPage(kToday));
    }
    CellHistory* history() const { return f->form->findChild<CellHistory*>(); }
    std::unique_ptr<DayPageFixture> f;
};

QTEST_MAIN(tst_cellhistory)
#include "tst_cellhistory.moc"
