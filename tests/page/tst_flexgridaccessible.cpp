// What a screen reader is told about the grid: a table of the grid's own rows and columns,
// each cell named by its text, headings as headers, the current cell as focus, cells where
// they stand on screen; and a name for every control of the day page a user can reach.
#include "common/daypage.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"

#include <QAccessible>
#include <QTest>

namespace {

QAccessibleTableInterface* tableOf(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->tableInterface() : nullptr;
}

QString name(QAccessibleInterface* iface)
{
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

QStringList names(const QList<QAccessibleInterface*>& list)
{
    QStringList result;
    for (QAccessibleInterface* i : list)
        result << name(i);
    return result;
}

// A small grid as the day page lays one out: two heading rows, a time column.
std::unique_ptr<FlexGrid> sampleGrid()
{
    auto grid = std::make_unique<FlexGrid>();
    grid->setFixedRows(2);
    grid->setFixedCols(1);
    grid->setRows(12);
    grid->setCols(4);
    for (int c = 1; c < 4; ++c) {
        grid->setTextMatrix(0, c, QString::number(c));
        grid->setTextMatrix(1, c, QStringLiteral("Dr. %1").arg(QChar('A' + c - 1)));
    }
    for (int r = 2; r < 12; ++r)
        grid->setTextMatrix(r, 0, QStringLiteral("%1:00 ").arg(r + 6));
    grid->setTextMatrix(3, 2, QStringLiteral("Ann Lee"));
    grid->resize(300, 120);
    grid->show();
    return grid;
}

}  // namespace

class tst_flexgridaccessible : public QObject {
    Q_OBJECT

private slots:
    void tableOfTheGridsOwnCells()
    {
        auto grid = sampleGrid();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid.get());
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Table);
        QAccessibleTableInterface* table = iface->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 12);
        QCOMPARE(table->columnCount(), 4);
        QCOMPARE(iface->childCount(), 48);
        QCOMPARE(name(table->cellAt(3, 2)), QStringLiteral("Ann Lee"));
        QCOMPARE(name(table->cellAt(1, 3)), QStringLiteral("Dr. C"));
        // Child i is cell (i / columns, i % columns), and back again.
        QAccessibleInterface* cell = iface->child(3 * 4 + 2);
        QCOMPARE(cell, table->cellAt(3, 2));
        QCOMPARE(iface->indexOfChild(cell), 14);
        // A data cell's headers: the provider's number and name, and the time.
        QCOMPARE(table->rowDescription(3), QStringLiteral("9:00"));
        QCOMPARE(table->columnDescription(2), QStringLiteral("2 Dr. B"));
        QCOMPARE(names(cell->tableCellInterface()->columnHeaderCells()), QStringList({"2", "Dr. B"}));
        QCOMPARE(names(cell->tableCellInterface()->rowHeaderCells()), QStringList({"9:00"}));
        QCOMPARE(cell->role(), QAccessible::Cell);
        QCOMPARE(table->cellAt(0, 2)->role(), QAccessible::ColumnHeader);
        QCOMPARE(table->cellAt(1, 0)->role(), QAccessible::ColumnHeader);
        QCOMPARE(table->cellAt(5, 0)->role(), QAccessible::RowHeader);
        // Headings cannot be made current, so they offer no actions.
        QVERIFY(table->cellAt(5, 0)->actionInterface()->actionNames().isEmpty());
        QVERIFY(!cell->actionInterface()->actionNames().isEmpty());
        // What a cell says follows the grid.
        grid->setTextMatrix(3, 2, QStringLiteral("Ann Lee-Park"));
        QCOMPARE(name(cell), QStringLiteral("Ann Lee-Park"));
        QVERIFY(!table->cellAt(12, 0));
        QVERIFY(!table->cellAt(0, 4));
    }

    void currentCellIsFocusAndSelection()
    {
        auto grid = sampleGrid();
        grid->activateWindow();
        grid->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(grid.get()));
        grid->setRow(4);
        grid->setCol(3);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid.get());
        QAccessibleInterface* current = tableOf(grid.get())->cellAt(4, 3);
        QCOMPARE(iface->focusChild(), current);
        QVERIFY(current->state().focused);
        QCOMPARE(tableOf(grid.get())->selectedCells(), QList<QAccessibleInterface*>{current});
        // The arrow keys move both.
        QTest::keyClick(grid.get(), Qt::Key_Up);
        QCOMPARE(iface->focusChild(), tableOf(grid.get())->cellAt(3, 3));
    }

    void cellsKnowWhereTheyStand()
    {
        auto grid = sampleGrid();
        QAccessibleTableInterface* table = tableOf(grid.get());
        const QRect inViewport = grid->cellRect(3, 2);
        QCOMPARE(table->cellAt(3, 2)->rect(),
                 QRect(grid->viewport()->mapToGlobal(inViewport.topLeft()), inViewport.size()));
        // A row scrolled out of view stands nowhere on screen.
        QVERIFY(table->cellAt(11, 2)->rect().isEmpty());
        QVERIFY(table->cellAt(11, 2)->state().offscreen);
    }

    void actionsMakeDataCellsCurrent_data()
    {
        QTest::addColumn<bool>("press");
        QTest::newRow("focus") << false;
        QTest::newRow("press") << true;
    }

    void actionsMakeDataCellsCurrent()
    {
        QFETCH(bool, press);
        auto grid = sampleGrid();
        int clicks = 0;
        connect(grid.get(), &FlexGrid::Click, this, [&] { ++clicks; });
        QAccessibleActionInterface* actions = tableOf(grid.get())->cellAt(11, 3)->actionInterface();
        actions->doAction(press ? QAccessibleActionInterface::pressAction()
                                : QAccessibleActionInterface::setFocusAction());
        QCOMPARE(grid->Row(), 11);
        QCOMPARE(grid->Col(), 3);
        QCOMPARE(clicks, press ? 1 : 0);
        // Brought into view on the way.
        QVERIFY(!grid->cellRect(11, 3).isEmpty());
    }

    void followsTheGridsSize()
    {
        auto grid = sampleGrid();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid.get());
        QAccessibleInterface* far = tableOf(grid.get())->cellAt(10, 3);
        QVERIFY(far->isValid());
        grid->setRows(6);
        grid->setCols(3);
        // A cell a screen reader still holds is gone, not read past the grid's end.
        QCOMPARE(iface->childCount(), 18);
        QVERIFY(!far->isValid());
        QVERIFY(!tableOf(grid.get())->cellAt(10, 3));
    }

    void dayPageReadsOut()
    {
        program::setToday(QDate(2024, 6, 12));
        DayPageFixture f;
        f.exec("DELETE FROM tbl_Appt");
        QVERIFY(f.open());
        FlexGrid* grid = f.form->Grid1;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid);
        QCOMPARE(name(iface), QStringLiteral("Appointments"));
        QAccessibleTableInterface* table = iface->tableInterface();
        QCOMPARE(table->rowCount(), grid->Rows());
        QCOMPARE(table->columnCount(), grid->Cols());
        QCOMPARE(name(table->cellAt(2, 1)), QStringLiteral("Dr. Ilse Marwick"));
        QCOMPARE(name(table->cellAt(4, 0)), QStringLiteral("08:00 AM"));

        // Every control a user can reach says what it is.
        QStringList unnamed;
        for (QWidget* w : f.form->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->focusPolicy() == Qt::NoFocus || w->focusProxy())
                continue;
            if (name(QAccessible::queryAccessibleInterface(w)).trimmed().isEmpty())
                unnamed << w->objectName() + '(' + w->metaObject()->className() + ')';
        }
        QCOMPARE(unnamed, QStringList());
    }
};

QTEST_MAIN(tst_flexgridaccessible)
#include "tst_flexgridaccessible.moc"
