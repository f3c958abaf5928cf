// The grid control as the screens and a stored page see it: cell text through Clip, size
// changes, the current cell under keys and mouse, its events and geometry.
#include "page/FlexGrid.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {
// A page-shaped grid (three heading rows, the time column, two providers) in a window, with
// a box beside it for Tab to go to.
struct PageGrid {
    QWidget window;
    FlexGrid* grid = new FlexGrid(&window);
    QLineEdit* next = new QLineEdit(&window);

    explicit PageGrid(int rows = 6, int height = 400)
    {
        grid->setGeometry(10, 10, 380, height);
        next->move(10, height + 15);
        grid->setFixedRows(3);
        grid->setFixedCols(1);
        grid->setRows(rows);
        grid->setCols(3);
        for (int c = 0; c < 3; ++c)
            grid->setColWidth(c, 1500);
        window.show();
        window.activateWindow();
        grid->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    // The data area as "a,b;,;c," (row 3 first, then columns 1 and 2).
    void fill(const QString& cells)
    {
        const QStringList rows = cells.split(u';');
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 2; ++c)
                grid->setTextMatrix(3 + r, 1 + c, rows[r].split(u',')[c]);
    }
    QString dataArea() const
    {
        QStringList rows;
        for (int r = 3; r < grid->Rows(); ++r)
            rows << grid->TextMatrix(r, 1) + u',' + grid->TextMatrix(r, 2);
        return rows.join(u';');
    }
    void select(int row, int col, int rowSel, int colSel)
    {
        grid->setRow(row);
        grid->setCol(col);
        grid->setRowSel(rowSel);
        grid->setColSel(colSel);
    }
    QPoint centre(int row, int col) const { return grid->cellRect(row, col).center(); }
};
}  // namespace

class tst_FlexGrid : public QObject {
    Q_OBJECT
private slots:
    void clip_data()
    {
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QRect>("selection");  // Col, Row, ColSel, RowSel
        QTest::addColumn<QString>("written");  // null: nothing written
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("after");
        const QString xs = QStringLiteral("x,x;x,x;x,x");
        QTest::newRow("two by two") << "a,b;c,;y,y" << QRect(1, 3, 2, 4) << QString() << "a\tb\rc\t" << "a,b;c,;y,y";
        QTest::newRow("corners backwards") << "a,b;c,;y,y" << QRect(2, 4, 1, 3) << QString() << "a\tb\rc\t" << "a,b;c,;y,y";
        QTest::newRow("page, empty row") << "a,b;,;c," << QRect(1, 3, 2, 5) << QString() << "a\tb\r\t\rc\t" << "a,b;,;c,";
        QTest::newRow("shorter write") << xs << QRect(1, 3, 2, 5) << "a\tb\rc" << "a\tb\rc\tx\rx\tx" << "a,b;c,x;x,x";
        QTest::newRow("longer write") << xs << QRect(1, 3, 1, 4) << "a\tb\rc\td\re" << "a\rc" << "a,x;c,x;x,x";
        QTest::newRow("page round trip") << xs << QRect(1, 3, 2, 5) << "a\tb\r\t\rc\t" << "a\tb\r\t\rc\t" << "a,b;,;c,";
    }
    void clip()
    {
        QFETCH(QString, cells);
        QFETCH(QRect, selection);
        QFETCH(QString, written);
        PageGrid page;
        page.fill(cells);
        page.select(selection.y(), selection.x(), selection.height(), selection.width());
        if (!written.isNull())
            page.grid->setClip(written);
        QTEST(page.grid->Clip(), "clip");
        QTEST(page.dataArea(), "after");
    }

    void resizingKeepsCells_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::newRow("fewer rows") << 4 << 3;
        QTest::newRow("more rows") << 9 << 3;
        QTest::newRow("more rows, fewer columns") << 8 << 2;
        QTest::newRow("more columns") << 6 << 5;
    }
    void resizingKeepsCells()
    {
        QFETCH(int, rows);
        QFETCH(int, cols);
        PageGrid page;
        const auto text = [](int r, int c) { return QStringLiteral("%1,%2").arg(r).arg(c); };
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c)
                page.grid->setTextMatrix(r, c, text(r, c));
        page.select(5, 2, 5, 2);
        page.grid->setRows(rows);
        page.grid->setCols(cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                QCOMPARE(page.grid->TextMatrix(r, c), r < 6 && c < 3 ? text(r, c) : QString());
        QVERIFY(page.grid->Row() < rows && page.grid->Col() < cols);
    }

    void currentCell_data()
    {
        // Keys by name; "r:c" a click on a cell, "r:c-r:c" a drag from one cell to another,
        // "~r:c" the mouse moved there with no button held.
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QPoint>("current");  // Col, Row
        QTest::addColumn<QPoint>("selEnd");   // ColSel, RowSel
        QTest::addColumn<int>("clicks");
        QTest::newRow("up stops below the headings") << "Up Up" << QPoint(1, 3) << QPoint(1, 3) << 0;
        QTest::newRow("left stops beside the times") << "Left" << QPoint(1, 3) << QPoint(1, 3) << 0;
        // A click on a heading or a time moves nothing, but it is a click on the grid.
        QTest::newRow("heading click") << "1:1" << QPoint(1, 3) << QPoint(1, 3) << 1;
        QTest::newRow("time click") << "4:0" << QPoint(1, 3) << QPoint(1, 3) << 1;
        QTest::newRow("data click") << "4:2" << QPoint(2, 4) << QPoint(2, 4) << 1;
        QTest::newRow("down right") << "Down Right Right" << QPoint(2, 4) << QPoint(2, 4) << 0;
        QTest::newRow("end of the page") << "Ctrl+End Down Right" << QPoint(2, 29) << QPoint(2, 29) << 0;
        QTest::newRow("home of the page") << "4:2 Ctrl+Home" << QPoint(1, 3) << QPoint(1, 3) << 1;
        // Copying a block of cells needs the selection stretched, by keys or by the mouse.
        QTest::newRow("shift arrows stretch") << "4:1 Shift+Right Shift+Down Shift+Down" << QPoint(1, 4) << QPoint(2, 6) << 1;
        QTest::newRow("never onto the headings") << "4:1 Shift+Up Shift+Up Shift+Up" << QPoint(1, 4) << QPoint(1, 3) << 1;
        QTest::newRow("an arrow alone collapses it") << "4:1 Shift+Down Down" << QPoint(1, 5) << QPoint(1, 5) << 1;
        QTest::newRow("drag stretches") << "4:1-6:2 ~8:2" << QPoint(1, 4) << QPoint(2, 6) << 1;
    }
    void currentCell()
    {
        QFETCH(QString, actions);
        PageGrid page(30);
        page.select(3, 1, 3, 1);
        QSignalSpy clicks(page.grid, &FlexGrid::Click);
        QWidget* view = page.grid->viewport();
        const auto at = [&](const QString& cell) { return page.centre(cell.section(u':', 0, 0).toInt(), cell.section(u':', 1).toInt()); };
        const auto move = [&](QPoint p, Qt::MouseButtons held) {
            QMouseEvent e(QEvent::MouseMove, p, view->mapToGlobal(p), Qt::NoButton, held, Qt::NoModifier);
            QApplication::sendEvent(view, &e);
        };
        for (const QString& action : actions.split(u' ')) {
            if (action.startsWith(u'~')) {
                move(at(action.mid(1)), Qt::NoButton);
            } else if (action.contains(u'-')) {
                QTest::mousePress(view, Qt::LeftButton, {}, at(action.section(u'-', 0, 0)));
                move(at(action.section(u'-', 1)), Qt::LeftButton);
                QTest::mouseRelease(view, Qt::LeftButton, {}, at(action.section(u'-', 1)));
            } else if (action.contains(u':')) {
                QTest::mouseClick(view, Qt::LeftButton, {}, at(action));
            } else {
                QTest::keySequence(page.grid, QKeySequence(action));
            }
        }
        QTEST(QPoint(page.grid->Col(), page.grid->Row()), "current");
        QTEST(QPoint(page.grid->ColSel(), page.grid->RowSel()), "selEnd");
        QTEST(int(clicks.count()), "clicks");
    }

    void keyPress_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("discard");
        QTest::addColumn<int>("code");  // 0: no KeyPress at all
        QTest::addColumn<bool>("gridKeepsFocus");
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << false << 97 << true;
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << true << 13 << true;
        QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b" << false << 27 << true;
        QTest::newRow("tab left alone moves on") << int(Qt::Key_Tab) << "\t" << false << 9 << false;
        QTest::newRow("tab discarded stays") << int(Qt::Key_Tab) << "\t" << true << 9 << true;
        QTest::newRow("arrow") << int(Qt::Key_Down) << "" << false << 0 << true;
    }
    void keyPress()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, discard);
        QFETCH(int, code);
        PageGrid page;
        QList<int> codes;
        connect(page.grid, &FlexGrid::KeyPress, page.grid, [&](int& ascii) {
            codes << ascii;
            if (discard)
                ascii = 0;
        }, Qt::DirectConnection);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(page.grid, &press);
        QCOMPARE(codes, code ? QList<int>{code} : QList<int>{});
        QTEST(page.grid->hasFocus(), "gridKeepsFocus");
    }

    void scrolling_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("scrolls");  // -1: one for every row scrolled
        QTest::newRow("arrow within view") << "Down" << 0;
        QTest::newRow("page down") << "PgDown" << 1;
        QTest::newRow("arrows past the bottom") << "Down*30" << -1;
        QTest::newRow("scroll bar") << "bar" << 1;
    }
    void scrolling()
    {
        QFETCH(QString, how);
        QFETCH(int, scrolls);
        PageGrid page(60, 200);
        page.select(3, 1, 3, 1);
        QSignalSpy spy(page.grid, &FlexGrid::Scroll);
        const int top = page.grid->TopRow();
        if (how == "bar") {
            page.grid->verticalScrollBar()->setValue(5);
            QCOMPARE(page.grid->TopRow(), 8);
        } else {
            for (int i = 0; i < (how == "Down*30" ? 30 : 1); ++i)
                QTest::keySequence(page.grid, QKeySequence(how.section(u'*', 0, 0)));
            // Keys keep the current cell in view.
            QVERIFY(page.grid->viewport()->rect().contains(page.grid->cellRect(page.grid->Row(), 1)));
        }
        QCOMPARE(page.grid->TopRow() != top, scrolls != 0);
        QCOMPARE(int(spy.count()), scrolls < 0 ? page.grid->TopRow() - top : scrolls);
    }
};

QTEST_MAIN(tst_FlexGrid)
#include "tst_flexgrid.moc"
