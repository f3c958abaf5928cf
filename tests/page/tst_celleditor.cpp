// The shared overlay cell editor on a bare grid: what opens it and with which text, what it
// writes into the cell, how it closes; and stretching the grid's selection, which copying a
// block of cells needs.
#include "page/CellEditor.h"
#include "page/FlexGrid.h"
#include "common/testfolder.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

namespace {

// A page-shaped grid (three heading rows, a time column, three providers) in a window, with
// the editor over it and a box beside it.
struct EditedGrid {
    QWidget window;
    FlexGrid* grid = new FlexGrid(&window);
    QLineEdit* next = new QLineEdit(&window);
    CellEditor* editor = new CellEditor(grid);
    QList<int> keys;  // what reached the grid's KeyPress

    EditedGrid()
    {
        grid->setGeometry(10, 10, 400, 220);
        next->move(10, 240);
        grid->setFixedRows(3);
        grid->setFixedCols(1);
        grid->setRows(30);
        grid->setCols(4);
        for (int c = 0; c < 4; ++c)
            grid->setColWidth(c, 1400);
        grid->setTextMatrix(0, 2, QStringLiteral("2"));
        grid->setTextMatrix(2, 2, QStringLiteral("Dr. Moreau"));
        grid->setTextMatrix(5, 0, QStringLiteral("08:30 AM"));
        QObject::connect(grid, &FlexGrid::KeyPress, grid, [this](int& keyAscii) {
            keys << keyAscii;
            if (keyAscii != 9)
                editor->open(keyAscii);
        });
        window.resize(440, 280);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("window not active");
        grid->setFocus();
    }
    void select(int row, int col)
    {
        grid->setFocus();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(row, col).center());
    }
    QLineEdit* edit() const { return editor->txtEdit(); }
};

}  // namespace

class tst_CellEditor : public QObject {
    Q_OBJECT

private slots:
    void firstKeyOpens_data();
    void firstKeyOpens();
    void coversItsCell();
    void enterCloses();
    void tabActsAsOnTheGrid();
    void scrollingHides();
    void readOnly();
    void shiftArrowsStretchTheSelection();
    void draggingStretchesTheSelection();
};

void tst_CellEditor::firstKeyOpens_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::newRow("letter on empty") << "" << int(Qt::Key_M) << "M" << "M";
    QTest::newRow("letter adds at the end") << "Jon" << int(Qt::Key_E) << "e" << "Jone";
    QTest::newRow("Enter opens only") << "Reyes" << int(Qt::Key_Return) << "\r" << "Reyes";
    QTest::newRow("Backspace deletes") << "Reyes" << int(Qt::Key_Backspace) << "" << "Reye";
    QTest::newRow("emoji whole") << "" << int(Qt::Key_unknown) << "\U0001F600" << "\U0001F600";
    QTest::newRow("combining accent whole") << "" << int(Qt::Key_unknown) << "e\u0301" << "e\u0301";
}

void tst_CellEditor::firstKeyOpens()
{
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, after);
    EditedGrid g;
    g.grid->setTextMatrix(6, 2, before);
    g.select(6, 2);
    QTest::sendKeyEvent(QTest::Click, g.grid, Qt::Key(key), text, Qt::NoModifier);
    QCoreApplication::processEvents();
    QVERIFY(g.edit()->isVisible());
    QCOMPARE(QApplication::focusWidget(), g.edit());
    QCOMPARE(g.edit()->text(), after);
    QCOMPARE(g.grid->TextMatrix(6, 2), after);
    QCOMPARE(g.editor->EditRow, 6);
    QCOMPARE(g.editor->EditCol, 2);
}

void tst_CellEditor::coversItsCell()
{
    EditedGrid g;
    g.select(5, 2);
    typeText("x");
    const QRect cell = g.grid->cellRect(5, 2);
    const QRect onWindow(g.grid->viewport()->mapTo(&g.window, cell.topLeft()), cell.size());
    QVERIFY(qAbs(g.edit()->x() - onWindow.x()) <= 1 && qAbs(g.edit()->y() - onWindow.y()) <= 1);
    QVERIFY(qAbs(g.edit()->width() - onWindow.width()) <= 1 && qAbs(g.edit()->height() - onWindow.height()) <= 1);
    // A screen reader hears the cell's headings.
    QCOMPARE(g.edit()->accessibleName(), QStringLiteral("2, Dr. Moreau, 08:30 AM"));
    // The grid moved: the editor follows.
    g.grid->move(30, 20);
    QCOMPARE(g.edit()->pos(), g.grid->viewport()->mapTo(&g.window, g.grid->cellRect(5, 2).topLeft()));
}

void tst_CellEditor::enterCloses()
{
    EditedGrid g;
    g.select(7, 1);
    typeText("Ng");
    typeKey(Qt::Key_Return);
    QVERIFY(!g.edit()->isVisible());
    QCOMPARE(QApplication::focusWidget(), g.grid);
    QCOMPARE(g.grid->TextMatrix(7, 1), QStringLiteral("Ng"));
    QCOMPARE(g.grid->Row(), 7);
}

void tst_CellEditor::tabActsAsOnTheGrid()
{
    EditedGrid g;
    g.select(7, 1);
    typeText("Ng");
    typeKey(Qt::Key_Tab);
    QVERIFY(!g.edit()->isVisible());
    // The grid's own handler saw the Tab and left it to the grid, which passed the focus on.
    QCOMPARE(g.keys.last(), 9);
    QCOMPARE(QApplication::focusWidget(), g.next);
    QCOMPARE(g.grid->TextMatrix(7, 1), QStringLiteral("Ng"));
}

void tst_CellEditor::scrollingHides()
{
    EditedGrid g;
    g.select(5, 1);
    typeText("Li");
    g.grid->verticalScrollBar()->setValue(g.grid->verticalScrollBar()->value() + 2);
    QVERIFY(!g.edit()->isVisible());
    QCOMPARE(g.grid->TextMatrix(5, 1), QStringLiteral("Li"));
}

void tst_CellEditor::readOnly()
{
    EditedGrid g;
    g.grid->setTextMatrix(6, 1, QStringLiteral("Byrne"));
    g.editor->setReadOnly(true);
    g.select(6, 1);
    typeText("zz");
    QVERIFY(g.edit()->isVisible());
    typeKey(Qt::Key_Backspace);
    QCOMPARE(g.grid->TextMatrix(6, 1), QStringLiteral("Byrne"));
}

void tst_CellEditor::shiftArrowsStretchTheSelection()
{
    EditedGrid g;
    g.select(5, 1);
    typeKey(Qt::Key_Right, Qt::ShiftModifier);
    typeKey(Qt::Key_Down, Qt::ShiftModifier);
    typeKey(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(g.grid->Row(), 5);
    QCOMPARE(g.grid->Col(), 1);
    QCOMPARE(g.grid->RowSel(), 7);
    QCOMPARE(g.grid->ColSel(), 2);
    // Never onto the headings.
    for (int i = 0; i < 6; ++i)
        typeKey(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(g.grid->RowSel(), 3);
    // An arrow alone collapses it onto the moved current cell.
    typeKey(Qt::Key_Down);
    QCOMPARE(g.grid->Row(), 6);
    QCOMPARE(g.grid->RowSel(), 6);
    QCOMPARE(g.grid->ColSel(), 1);
}

void tst_CellEditor::draggingStretchesTheSelection()
{
    EditedGrid g;
    QWidget* view = g.grid->viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, g.grid->cellRect(4, 1).center());
    QMouseEvent move(QEvent::MouseMove, g.grid->cellRect(6, 3).center(), view->mapToGlobal(g.grid->cellRect(6, 3).center()),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, g.grid->cellRect(6, 3).center());
    QCOMPARE(g.grid->Row(), 4);
    QCOMPARE(g.grid->Col(), 1);
    QCOMPARE(g.grid->RowSel(), 6);
    QCOMPARE(g.grid->ColSel(), 3);
    // A move with no button held selects nothing.
    QMouseEvent hover(QEvent::MouseMove, g.grid->cellRect(8, 2).center(), view->mapToGlobal(g.grid->cellRect(8, 2).center()),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &hover);
    QCOMPARE(g.grid->RowSel(), 6);
}

QTEST_MAIN(tst_CellEditor)
#include "tst_celleditor.moc"
