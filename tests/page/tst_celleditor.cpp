// The shared overlay cell editor on a bare grid: what opens it and with which text, what it
// writes into the cell, where it stands and how it closes.
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
        grid->setObjectName(QStringLiteral("grid"));
        next->setObjectName(QStringLiteral("next"));
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
    void firstKeyOpens_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("after");
        QTest::newRow("letter on empty") << "" << int(Qt::Key_M) << "M" << "M";
        QTest::newRow("letter adds at the end") << "Jon" << int(Qt::Key_E) << "e" << "Jone";
        QTest::newRow("Enter opens only") << "Reyes" << int(Qt::Key_Return) << "\r" << "Reyes";
        QTest::newRow("Backspace deletes") << "Reyes" << int(Qt::Key_Backspace) << "" << "Reye";
    }

    void firstKeyOpens()
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
    }

    void coversItsCell()
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

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("focus");  // empty: wherever it was
        QTest::newRow("Enter") << "Enter" << "grid";
        // The grid's own handler sees the Tab and leaves it to the grid, which passes the focus on.
        QTest::newRow("Tab") << "Tab" << "next";
        QTest::newRow("scrolling") << "scroll" << "";
    }

    void closing()
    {
        QFETCH(QString, how);
        QFETCH(QString, focus);
        EditedGrid g;
        g.select(7, 1);
        typeText("Ng");
        if (how == "Enter")
            typeKey(Qt::Key_Return);
        else if (how == "Tab")
            typeKey(Qt::Key_Tab);
        else
            g.grid->verticalScrollBar()->setValue(g.grid->verticalScrollBar()->value() + 2);
        QVERIFY(!g.edit()->isVisible());
        QCOMPARE(g.grid->TextMatrix(7, 1), QStringLiteral("Ng"));
        QCOMPARE(g.grid->Row(), 7);
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }
};

QTEST_MAIN(tst_CellEditor)
#include "tst_celleditor.moc"
