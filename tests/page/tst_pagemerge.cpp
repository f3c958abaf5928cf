// The three-way merge of a page stored on two desks: cell by cell, the memo and the flag.
#include "page/pagelayout.h"
#include "page/pagemerge.h"
#include "storage/celltext.h"

#include <QTest>

using storage::PageRow;

namespace {

PageRow page(const QString& cells, const QString& memo = QString(), std::optional<bool> closed = false)
{
    PageRow row;
    row.data = QString(cells).replace(u'|', u'\t').replace(u'/', u'\r');
    row.dataNull = false;
    row.memo = memo;
    row.clinic = closed;
    return row;
}

}  // namespace

class tst_pagemerge : public QObject {
    Q_OBJECT

private slots:
    void cells_data()
    {
        // Cells written a|b/c|d: '|' between cells, '/' between rows.
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("merged");  // with every conflict kept as theirs
        QTest::addColumn<QStringList>("conflicts");  // "row,col:theirs>mine"
        QTest::addColumn<QString>("keepingMine");

        QTest::newRow("only mine changed") << "a|b/c|d" << "a|B/c|d" << "a|b/c|d" << "a|B/c|d" << QStringList() << "a|B/c|d";
        QTest::newRow("only theirs changed") << "a|b/c|d" << "a|b/c|d" << "a|b/C|d" << "a|b/C|d" << QStringList() << "a|b/C|d";
        QTest::newRow("each a cell of its own") << "a|b/c|d" << "A|b/c|d" << "a|b/c|D" << "A|b/c|D" << QStringList() << "A|b/c|D";
        QTest::newRow("both the same") << "a|b/c|d" << "a|X/c|d" << "a|X/c|D" << "a|X/c|D" << QStringList() << "a|X/c|D";
        QTest::newRow("both different") << "a|b/c|d" << "a|mine/c|d" << "a|theirs/C|d" << "a|theirs/C|d"
                                        << QStringList{"0,1:theirs>mine"} << "a|mine/C|d";
        QTest::newRow("a cell emptied on one side") << "a|b/c|d" << "a||c|d" << "a|b/c|d" << "a||c|d" << QStringList() << "a||c|d";
        QTest::newRow("a cell emptied against typed") << "a|b/c|d" << "a|/c|d" << "a|B/c|x" << "a|B/c|x"
                                                     << QStringList{"0,1:B>"} << "a|/c|x";
        QTest::newRow("mine wider than theirs") << "a/c" << "a|new/c" << "A/c" << "A|new/c" << QStringList() << "A|new/c";
    }

    void cells()
    {
        QFETCH(QString, base);
        QFETCH(QString, mine);
        QFETCH(QString, theirs);
        QFETCH(QString, merged);
        QFETCH(QStringList, conflicts);
        QFETCH(QString, keepingMine);
        PageRow stored = page(theirs);
        stored.id = 7;
        stored.version = 3;
        PageMerge merge(page(base), page(mine), stored);
        QStringList found;
        for (const PageConflict& c : merge.conflicts)
            found << QStringLiteral("%1,%2:%3>%4").arg(c.row).arg(c.col).arg(c.theirs, c.mine);
        QCOMPARE(found, conflicts);
        QCOMPARE(merge.result().data, page(merged).data);
        // Stored over the row as the other desk left it.
        QCOMPARE(merge.result().id, 7);
        QCOMPARE(merge.result().version, 3);
        for (PageConflict& c : merge.conflicts)
            c.keepMine = true;
        QCOMPARE(merge.result().data, page(keepingMine).data);
    }

    void memoAndFlag_data()
    {
        QTest::addColumn<QString>("memos");   // base, mine, theirs
        QTest::addColumn<QString>("flags");   // base, mine, theirs: o open, c closed, n never stored
        QTest::addColumn<QString>("merged");  // memo|flag, conflicts as theirs
        QTest::addColumn<int>("conflicts");

        QTest::newRow("memo mine") << "m,M,m" << "o,o,o" << "M|o" << 0;
        QTest::newRow("memo theirs") << "m,m,T" << "o,o,o" << "T|o" << 0;
        QTest::newRow("memo both the same") << "m,X,X" << "o,o,o" << "X|o" << 0;
        QTest::newRow("memo both different") << "m,M,T" << "o,o,o" << "T|o" << 1;
        QTest::newRow("flag mine") << "m,m,m" << "o,c,o" << "m|c" << 0;
        QTest::newRow("flag theirs") << "m,m,m" << "o,o,c" << "m|c" << 0;
        QTest::newRow("flag never stored reads open") << "m,m,m" << "n,o,n" << "m|n" << 0;
        QTest::newRow("flag closed on both") << "m,m,m" << "n,c,c" << "m|c" << 0;
        QTest::newRow("memo and flag at once") << "m,M,T" << "c,o,n" << "T|n" << 1;
    }

    void memoAndFlag()
    {
        QFETCH(QString, memos);
        QFETCH(QString, flags);
        QFETCH(QString, merged);
        QFETCH(int, conflicts);
        const QStringList m = memos.split(u',');
        const QStringList f = flags.split(u',');
        auto flag = [](const QString& s) {
            return s == "n" ? std::optional<bool>() : std::optional<bool>(s == "c");
        };
        PageMerge merge(page("a", m[0], flag(f[0])), page("a", m[1], flag(f[1])), page("a", m[2], flag(f[2])));
        QCOMPARE(merge.conflicts.size(), conflicts);
        const PageRow result = merge.result();
        const QString flagShown = !result.clinic ? "n" : *result.clinic ? "c" : "o";
        QCOMPARE(result.memo + "|" + flagShown, merged);
        // Keeping mine everywhere gives this desk's memo and flag.
        for (PageConflict& c : merge.conflicts)
            c.keepMine = true;
        if (conflicts > 0)
            QCOMPARE(merge.result().memo, m[1]);
    }

    void carriedOver_data()
    {
        // Cells typed in the first column of an empty page laid out from 08:00 AM to 10:00 AM by
        // 30 minutes (row 0 empty, rows 1 to 5 the times, two empty rows), carried over to the
        // rows of another set-up; "row:text".
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("close");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("carried");

        QTest::newRow("the same times") << "08:00 AM" << "10:00 AM" << 30 << QStringList{"3:nine"} << QStringList{"3:nine"};
        QTest::newRow("a longer slot") << "08:00 AM" << "10:00 AM" << 60 << QStringList{"3:nine", "5:ten"}
                                       << QStringList{"2:nine", "3:ten"};
        QTest::newRow("inside a slot, joined") << "08:00 AM" << "10:00 AM" << 60 << QStringList{"1:eight", "2:half past"}
                                               << QStringList{"1:eight / half past"};
        QTest::newRow("before the first time") << "09:00 AM" << "10:00 AM" << 30 << QStringList{"1:eight", "3:nine"}
                                               << QStringList{"0:eight", "1:nine"};
        QTest::newRow("after the last slot") << "08:00 AM" << "09:00 AM" << 30 << QStringList{"5:ten", "3:nine"}
                                             << QStringList{"3:nine", "4:ten"};
        QTest::newRow("the empty rows keep their place") << "08:00 AM" << "09:00 AM" << 30
                                                         << QStringList{"0:first", "7:last"} << QStringList{"0:first", "5:last"};
    }

    void carriedOver()
    {
        QFETCH(QString, open);
        QFETCH(QString, close);
        QFETCH(int, slot);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, carried);
        storage::Layout from{"Office", "08:00 AM", "10:00 AM", 30, 1, "a%", "b%", {}};
        storage::Layout to{"Office", open, close, slot, 1, "a%", "b%", {}};
        QList<QStringList> cells(cellRowTimes(from).size(), QStringList{QString()});
        for (const QString& t : typed)
            cells[t.section(u':', 0, 0).toInt()][0] = t.section(u':', 1);
        PageRow base = page(QStringLiteral("/").repeated(int(cells.size()) - 1));
        PageRow mine = base;
        mine.data = celltext::join(cells);
        const PageRow theirs = page(QStringLiteral("/").repeated(int(cellRowTimes(to).size()) - 1));
        carryOver(base, mine, theirs, cellRowTimes(from), cellRowTimes(to));
        QStringList found;
        const QList<QStringList> out = celltext::split(mine.data);
        for (int r = 0; r < out.size(); ++r)
            if (!out[r].value(0).isEmpty())
                found << QStringLiteral("%1:%2").arg(r).arg(out[r].value(0));
        QCOMPARE(found, carried);
        // Merged into their page, what was typed stands where it was carried to.
        QCOMPARE(PageMerge(base, mine, theirs).result().data, mine.data);
    }
};

QTEST_MAIN(tst_pagemerge)
#include "tst_pagemerge.moc"
