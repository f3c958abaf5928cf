// Laying out a page grid from a layout: the time rows, the provider columns and their
// headings, and the layouts that cannot be laid out.
#include "page/FlexGrid.h"
#include "page/pagelayout.h"

#include <QTest>

namespace {
struct Page {
    FlexGrid grid;
    PageGridLayout layout;
    explicit Page(const PageGridLayout::Style& style = PageGridLayout::DayPage) : layout(grid, style)
    {
        grid.setFixedRows(3);
        grid.setFixedCols(1);
    }
};
}  // namespace

class tst_PageLayout : public QObject {
    Q_OBJECT
private slots:
    void layout_data()
    {
        QTest::addColumn<bool>("editor");  // the template editor's style
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("close");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("providers");
        QTest::addColumn<int>("labels");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("lastRow");
        QTest::addColumn<int>("width");  // of each provider column
        QTest::newRow("day by 30") << false << "08:00 AM" << "05:00 PM" << 30 << 4 << 19 << "08:00 AM " << "05:00 PM " << 25 << 24 << 1950;
        QTest::newRow("by 40") << false << "08:00 AM" << "05:00 PM" << 40 << 1 << 15 << "08:00 AM " << "05:20 PM " << 21 << 20 << 7800;
        QTest::newRow("open after close") << false << "05:00 PM" << "08:00 AM" << 30 << 16 << 1 << "05:00 PM " << "05:00 PM " << 7 << 6 << 1950;
        QTest::newRow("open is close") << false << "09:00 AM" << "09:00 AM" << 15 << 2 << 2 << "09:00 AM " << "09:15 AM " << 8 << 7 << 3900;
        QTest::newRow("close off slot") << false << "08:00 AM" << "10:10 AM" << 30 << 3 << 6 << "08:00 AM " << "10:30 AM " << 12 << 11 << 2600;
        QTest::newRow("close 12:00 AM") << false << "08:00 AM" << "12:00 AM" << 30 << 4 << 1 << "08:00 AM " << "08:00 AM " << 7 << 6 << 1950;
        QTest::newRow("whole day") << false << "12:00 AM" << "11:50 PM" << 10 << 16 << 144 << "12:00 AM " << "11:50 PM " << 150 << 149 << 1950;
        QTest::newRow("past midnight") << false << "11:50 PM" << "11:55 PM" << 30 << 1 << 2 << "11:50 PM " << "12:20 AM " << 8 << 7 << 7800;
        QTest::newRow("no providers") << false << "08:00 AM" << "09:00 AM" << 60 << 0 << 2 << "08:00 AM " << "09:00 AM " << 8 << 7 << 0;
        QTest::newRow("editor") << true << "08:00 AM" << "05:00 PM" << 30 << 3 << 19 << "08:00 AM" << "05:00 PM" << 25 << 24 << 2400;
        QTest::newRow("editor, 9") << true << "01:00 PM" << "02:00 PM" << 20 << 9 << 4 << "01:00 PM" << "02:00 PM" << 10 << 9 << 1800;
    }
    void layout()
    {
        QFETCH(bool, editor);
        QFETCH(QString, open);
        QFETCH(QString, close);
        QFETCH(int, slot);
        QFETCH(int, providers);
        QFETCH(int, labels);
        QFETCH(int, width);
        Page page(editor ? PageGridLayout::TemplateEditor : PageGridLayout::DayPage);
        page.grid.setRows(200);  // a longer page laid out before
        page.grid.setTextMatrix(150, 0, QStringLiteral("stale"));
        int rowsWhenDone = -1;
        page.layout.afterTimeRows = [&] { rowsWhenDone = page.grid.Rows(); };
        page.layout.BuildProviderColumns(providers + 1, {}, {});
        page.layout.BuildTimeRows(open, close, slot);

        QTEST(page.grid.Rows(), "rows");
        QCOMPARE(rowsWhenDone, page.grid.Rows());
        QTEST(page.layout.LastRow, "lastRow");
        QCOMPARE(page.layout.LastCol, providers);
        QCOMPARE(page.grid.Cols(), providers + 1);
        QCOMPARE(page.grid.ColWidth(0), editor ? 800 : 840);
        for (int c = 1; c <= providers; ++c)
            QCOMPARE(page.grid.ColWidth(c), width);
        // One empty row above the times, two below.
        QStringList times;
        for (int r = 3; r < page.grid.Rows(); ++r)
            times << page.grid.TextMatrix(r, 0);
        QCOMPARE(times.count(QString()), 3);
        QVERIFY(times.first().isEmpty() && times.at(labels + 1).isEmpty());
        QTEST(times.at(1), "first");
        QTEST(times.at(labels), "last");
        QCOMPARE(open, times.at(labels).trimmed());  // the caller's opening time holds the last time
    }

    void unreadableLayout_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("close");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("garbled open") << "8 o'clock" << "05:00 PM" << 30 << "open" << "8 o'clock";
        QTest::newRow("empty close") << "08:00 AM" << "" << 30 << "Close" << "";
        QTest::newRow("no slot") << "08:00 AM" << "05:00 PM" << 0 << "timeslot" << "0";
        QTest::newRow("slot over a day") << "08:00 AM" << "05:00 PM" << 1441 << "timeslot" << "1441";
    }
    void unreadableLayout()
    {
        QFETCH(QString, open);
        QFETCH(QString, close);
        QFETCH(int, slot);
        Page page;
        page.layout.BuildProviderColumns(3, {}, {});
        QString opening = QStringLiteral("08:00 AM");
        page.layout.BuildTimeRows(opening, QStringLiteral("09:00 AM"), 30);
        page.grid.setTextMatrix(4, 1, QStringLiteral("Smith"));
        bool templated = false;
        page.layout.afterTimeRows = [&] { templated = true; };
        try {
            page.layout.BuildTimeRows(open, close, slot);
            QFAIL("laid out");
        } catch (const LayoutError& error) {
            QTEST(error.field(), "field");
            QTEST(error.value(), "value");
            QVERIFY(error.message().contains(error.field()));
        }
        // The page on screen stays as it was.
        QCOMPARE(page.grid.Rows(), 9);
        QCOMPARE(page.grid.TextMatrix(4, 1), QStringLiteral("Smith"));
        QVERIFY(!templated);
    }

    void headings()
    {
        Page page;
        page.grid.setRows(10);
        page.grid.setCols(3);
        page.grid.setTextMatrix(5, 2, QStringLiteral("Smith"));
        // Element 0 belongs to no column; the lists are shorter than the providers.
        page.layout.BuildProviderColumns(5, {"x", "Main", "North"}, {"x", "Ames"});
        QStringList rows;
        for (int r = 0; r < 3; ++r) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << page.grid.TextMatrix(r, c);
            rows << cells.join(u',');
        }
        QCOMPARE(rows, QStringList({",1,2,3,4", ",Main,North,,", ",Ames,,,"}));
        QCOMPARE(page.grid.TextMatrix(5, 2), QStringLiteral("Smith"));  // data cells stay
    }
};

QTEST_MAIN(tst_PageLayout)
#include "tst_pagelayout.moc"
