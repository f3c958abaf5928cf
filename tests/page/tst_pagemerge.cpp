// The three-way merge of a page stored on two desks: cell by cell, the memo and the flag.
#include "page/pagemerge.h"
#include "storage/celltext.h"

#include <QTest>

using storage::PageRow;

class tst_pagemerge : public QObject {
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void memoAndFlag_data();
    void memoAndFlag();
};

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

void tst_pagemerge::cells_data()
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

void tst_pagemerge::cells()
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

void tst_pagemerge::memoAndFlag_data()
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

void tst_pagemerge::memoAndFlag()
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

QTEST_MAIN(tst_pagemerge)
#include "tst_pagemerge.moc"
