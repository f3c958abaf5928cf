// Finding a name in the stored pages: the same answer from the stored bytes as from the
// text on screen, on either engine, and the name never taken for SQL.
#include "common/files.h"
#include "common/readonlyfiles.h"
#include "common/testbook.h"
#include "storage/database.h"
#include "storage/pagesearch.h"
#include "storage/pagetable.h"

#include <QFile>
#include <map>
#include <memory>

#include <QTest>

using namespace storage;

namespace {

bool holdsIndex(const QString& path)
{
    return fileSql(path, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name LIKE 'tbl_ApptSearch%'")).toInt() > 0;
}

// The row's verdict from both searches of a book, each as the caller sees it.
bool found(Database& db, const QString& name, qint64 id)
{
    PageSearch search(db, name);
    const std::optional<PageMatch> hit = search.next(id + 1);
    bool listed = false;
    search.allMatches([&](const PageMatch& match) { listed = listed || match.id == id; });
    if ((hit && hit->id == id) != listed)
        qFatal("the next match and the list disagree for %s", qPrintable(name));
    return listed;
}

}  // namespace

class tst_pagesearch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        book_ = std::make_unique<TestBook>();
        if (!book_->onServer()) {
            before_ = book_->folder.databasePath() + QStringLiteral(".before");
            QVERIFY(QFile::copy(book_->location().file, before_));
            beforeDb_ = std::make_unique<Database>(before_);
        }
        db_ = std::make_unique<Database>(book_->location());
        db_->prepareSearch();
        QCOMPARE(holdsIndex(db_->path()), !book_->onServer());
    }

    void cleanupTestCase()
    {
        beforeDb_.reset();
        db_.reset();
        book_.reset();
    }

    void matcher_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("holds");
        QTest::newRow("digits and signs") << "10:30 - ok" << "x 10:30 - OK" << true;
        QTest::newRow("at the end") << "lee" << "Ann Lee" << true;
        QTest::newRow("one letter short") << "lees" << "Ann Lee" << false;
        QTest::newRow("not across the end") << "ee x" << "Ann Lee" << false;
        QTest::newRow("ASCII name among other letters") << "muller" << "Jörg Müller, Anna Muller" << true;
        QTest::newRow("umlaut is not its base letter") << "muller" << "Jörg MÜLLER" << false;
        QTest::newRow("Cyrillic") << "иван" << "ИВАН Петров" << true;
        QTest::newRow("Kelvin sign is a k") << "kirk" << "\u212Airk" << true;
        QTest::newRow("long s is an s") << "bass" << "BA\u017FS" << true;
        QTest::newRow("Kelvin sign elsewhere") << "kirk" << "\u212Aelvin Kirx" << false;
        QTest::newRow("sharp s is not ss") << "strasse" << "STRAßE" << false;
        QTest::newRow("byte that looks like A") << "a" << "\u00C1" << false;
        QTest::newRow("separators inside") << "a\tb" << "xa\tbx" << true;
        QTest::newRow("SQL wildcards") << "%_" << "100%_done" << true;
        QTest::newRow("SQL wildcards are letters") << "%_" << "100% done" << false;
        QTest::newRow("underscore is a letter") << "a_b" << "axb a-b" << false;
        QTest::newRow("quotes") << "o'neil \"jr\"" << "Tom O'NEIL \"JR\"" << true;
        QTest::newRow("backslash") << "a\\b" << "A\\B" << true;
        // NUL is looked for as the pages store it; the other control characters are stored as
        // they are, on both engines.
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << "xA\uFFFDBx" << true;
        QTest::newRow("control characters") << "a\x01\x1B" "b" << "XA\x01\x1B" "BX" << true;
        QTest::newRow("sharp s") << "straße" << "STRAßE" << true;
        QTest::newRow("umlaut with ASCII around") << "grün" << "Herr GRÜNWALD" << true;
        QTest::newRow("only letters beyond ASCII") << "öß" << "GRÖß" << true;
        QTest::newRow("empty text") << "ann" << "" << false;
        // Every letter folds both ways: typed small and stored capital, and the reverse.
        for (const auto& [small, capital] : {std::pair{u"a", u"A"}, {u"\u00e4", u"\u00c4"}, {u"\u00f6", u"\u00d6"},
                                             {u"\u00fc", u"\u00dc"}, {u"\u00df", u"\u1e9e"}}) {
            for (char16_t c = 0; c < (small[0] == u'a' ? 26 : 1); ++c) {
                const QString lower(QChar(char16_t(small[0] + c))), upper(QChar(char16_t(capital[0] + c)));
                QTest::addRow("letter %s typed small", qPrintable(upper)) << "1" + lower + "2" << "01" + upper + "2" << true;
                QTest::addRow("letter %s typed capital", qPrintable(upper)) << "1" + upper + "2" << "01" + lower + "2" << true;
            }
        }
        // Long pages are folded sixteen bytes at a time.
        QTest::newRow("across a block edge") << "ann lee" << QString(13, 'x') + "ANN LEE" + QString(30, 'y') << true;
        QTest::newRow("in the tail") << "lee" << QString(32, '.') + "LEE" << true;
        QTest::newRow("Kelvin sign far in") << "kirk" << QString(40, '.') + "\u212Airk" << true;
        QTest::newRow("Kelvin sign in the tail") << "kirk" << QString(32, '.') + "\u212Air" << false;
    }

    void matcher()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, holds);
        const NameMatcher m(name);
        QCOMPARE(m.matches(text), holds);
        const QByteArray bytes = text.toUtf8();
        QCOMPARE(m.matchesUtf8(bytes.constData(), bytes.size()), holds);
        // A longer text first, so that a reused buffer holds old bytes behind the new ones.
        const QByteArray longer = QByteArray(200, 'x');
        m.matchesUtf8(longer.constData(), longer.size());
        QCOMPARE(m.matchesUtf8(bytes.constData(), bytes.size()), holds);
        QVERIFY(!m.matchesUtf8(nullptr, 0));

        // The search over the stored pages gives the same answer on either engine (the server
        // narrows the rows it sends by its own folding, the file by its index; the matcher
        // decides).
        PageTable pages(*db_);
        const PageRow row = pages.add(nextDay_, readSettings(*db_).layout, text, false);
        QCOMPARE(found(*db_, name, row.id), holds);
        rows_[QTest::currentDataTag()] = row.id;
        if (beforeDb_) {
            // Stored empty first: the index built later must take the text the page has now.
            PageTable before(*beforeDb_);
            PageRow page = before.add(nextDay_, readSettings(*beforeDb_).layout, QString(), false);
            page.data = text;
            before.update(page);
            beforeRows_[QTest::currentDataTag()] = page.id;
            QCOMPARE(found(*beforeDb_, name, page.id), holds);
            // Read-only, it is searched by walking and stays as it is.
            ReadOnlyFiles readOnly;
            readOnly.add(before_);
            Database db(before_);
            QVERIFY(db.readOnly());
            db.prepareSearch();
            QVERIFY(!holdsIndex(before_));
            QCOMPARE(found(db, name, page.id), holds);
        }
        nextDay_ = nextDay_.addDays(1);
    }
    void laterStoresKeepTheIndex_data() { matcher_data(); }

    void laterStoresKeepTheIndex()
    {
        // A file from before gets its index on the first opening that may write, from the rows
        // it holds. On either engine, a page stored over and back is found as before.
        QFETCH(QString, name);
        QFETCH(bool, holds);
        Database* db = db_.get();
        qint64 id = rows_.at(QTest::currentDataTag());
        if (beforeDb_) {
            if (!holdsIndex(before_)) {
                qint64 lastDone = -1, lastTotal = -1;
                beforeDb_->prepareSearch([&](qint64 done, qint64 total) { lastDone = done, lastTotal = total; });
                QVERIFY(holdsIndex(before_));
                QCOMPARE(lastDone, fileSql(before_, QStringLiteral("SELECT count(*) FROM tbl_Appt")).toLongLong());
                QCOMPARE(lastTotal, lastDone);
            }
            db = beforeDb_.get();
            id = beforeRows_.at(QTest::currentDataTag());
        }
        QCOMPARE(found(*db, name, id), holds);
        PageTable pages(*db);
        PageRow page;
        pages.walk([&](const PageRow& r) { page = r; return false; }, id);
        const QString kept = page.data;
        page.data = QStringLiteral("x");
        pages.update(page);
        page.data = kept;
        pages.update(page);
        QCOMPARE(found(*db, name, id), holds);
    }

private:
    // One book for the matcher's table, each text stored on a page of its own; on the file,
    // with the index of the pages' text from the start.
    std::unique_ptr<TestBook> book_;
    std::unique_ptr<Database> db_;
    QDate nextDay_{2040, 1, 1};
    std::map<QByteArray, qint64> rows_;  // the page of each row of the table
    // On the file, a copy of the book from before the index, with the same texts: searched
    // by walking, then read-only, then given its index.
    QString before_;
    std::unique_ptr<Database> beforeDb_;
    std::map<QByteArray, qint64> beforeRows_;
};

QTEST_MAIN(tst_pagesearch)
#include "tst_pagesearch.moc"
