// The client search on the real day page: which page and cell each stop shows, the panel's
// questions, what is stored on the way, and the list of every found cell.
#include "common/daypage.h"
#include "navigation/CellHistory.h"
#include "navigation/ClientSearch.h"
#include "navigation/MonthCalendar.h"
#include "navigation/frmHits.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/colours.h"
#include "storage/celltext.h"
#include "storage/database.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

namespace {

const QDate kToday(2024, 6, 12);
const QString kPrompt = QStringLiteral("Please enter Name to search:");
const QString kFound = QStringLiteral("Search successful. Continue search?");
const QString kComplete = QStringLiteral("Search complete. Do another search?");
const QString kUnsuccessful = QStringLiteral("Search unsuccessful!  Search again with different Name spelling?");

struct Cell {
    int row;  // grid row, 3 and on
    int col;  // grid column, 1 and on
    QString text;
};

// The stored cell text of a page holding these cells.
QString pageText(const QList<Cell>& cells)
{
    QString text;
    for (const Cell& c : cells)
        text = withCell(text, c.row - 3, c.col - 1, c.text);
    return text;
}

}  // namespace

Q_DECLARE_METATYPE(Cell)

class tst_clientsearch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        program::setToday(kToday);
    }

    void init()
    {
        f = std::make_unique<DayPageFixture>();
        f->exec("DELETE FROM tbl_Appt");
    }

    void cleanup()
    {
        f.reset();
    }

    void findsCellIgnoringCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("found");
        QTest::newRow("umlaut in capitals") << "müller" << "Hans MÜLLER" << true;
        QTest::newRow("quote that would end SQL") << "x'; DROP TABLE tbl_Appt; --" << "Anna" << false;
    }

    void findsCellIgnoringCase()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(bool, found);
        const QDate page(2023, 3, 1);
        openWith({{page, pageText({{7, 2, stored}})}});
        f->form->Grid1->setTextMatrix(8, 3, QStringLiteral("typed before the search"));
        search(name, !found);
        QVERIFY(f->form->Frame2->isVisible());
        QCOMPARE(message(), found ? kFound : kUnsuccessful);
        QCOMPARE(f->form->CalDateShown, found ? page : kToday);
        QCOMPARE(f->form->txtEdit->isVisible(), found);
        // The page on screen was stored when the search began; the table is whole whatever was typed.
        QVERIFY(f->storedData(kToday).toString().contains(QStringLiteral("typed before the search")));
        QCOMPARE(f->pageCount(), 2);
        if (found) {
            QCOMPARE(f->form->EditRow, 7);
            QCOMPARE(f->form->EditCol, 2);
            QCOMPARE(f->form->txtEdit->text(), stored);
            return;
        }
        // Nothing found: the page stays as it was, and Yes asks for another name.
        QVERIFY(!s()->cmdAll->isEnabled());
        QCOMPARE(f->form->Grid1->TextMatrix(8, 3), QStringLiteral("typed before the search"));
        f->dialogs.answerInput(QStringLiteral("ann"));
        answerYes();
        QCOMPARE(f->dialogs.inputs.size(), 2);
        QCOMPARE(f->dialogs.inputs.last().prompt, kPrompt);
        QCOMPARE(message(), kFound);
        QCOMPARE(f->form->CalDateShown, page);
    }

    void stepsNewestRowFirstThenCompletes()
    {
        // Rows in the order added; the walk goes from the last added to the first.
        const QDate older(2021, 5, 3), newer(2023, 9, 4), middle(2022, 1, 10);
        openWith({{newer, pageText({{9, 1, "Ann Lee"}})},
                  {middle, pageText({{12, 3, "ann lee"}, {6, 3, "Ann Lee 2nd"}, {20, 2, "Ann Lee"}, {4, 4, "ANN LEE"}})},
                  {older, pageText({{5, 1, "Tom"}, {15, 4, "Dr. Ann Leeds"}})}});
        search("ann lee");
        struct Stop {
            QDate date;
            int row, col;
        };
        // The last row added first; within a page the leftmost column, then the earliest row;
        // one stop per page however many cells hold the name.
        const QList<Stop> stops{{older, 15, 4}, {middle, 20, 2}, {newer, 9, 1}};
        for (const Stop& stop : stops) {
            QCOMPARE(message(), kFound);
            QCOMPARE(f->form->CalDateShown, stop.date);
            QVERIFY(f->form->txtEdit->isVisible());
            QCOMPARE(f->form->EditRow, stop.row);
            QCOMPARE(f->form->EditCol, stop.col);
            answerYes();
        }
        QCOMPARE(message(), kComplete);
        QCOMPARE(f->form->CalDateShown, newer);
        QCOMPARE(f->calendar->dayColour(f->calendar->selDay), colours::LightGrey);
        QCOMPARE(f->form->Frame2->palette().color(QPalette::Window), colours::PanelGrey);
    }

    void emptyNameOrCancelSearchesNothing_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("empty") << false;
        QTest::newRow("cancel") << true;
    }

    void emptyNameOrCancelSearchesNothing()
    {
        QFETCH(bool, cancel);
        openWith({{QDate(2023, 1, 2), pageText({{5, 1, "Ann Lee"}})}});
        f->form->TxtMemo->setFocus();
        f->dialogs.answerInput(cancel ? std::nullopt : std::optional<QString>(QString()));
        typeKey(Qt::Key_F4);
        QCOMPARE(f->dialogs.inputs.size(), 1);
        QVERIFY(!f->form->Frame2->isVisible());
        QCOMPARE(f->form->CalDateShown, kToday);
        QCOMPARE(QApplication::focusWidget(), f->form->Grid1);
    }

    void pagesWithoutVisibleHitArePassed_data()
    {
        QTest::addColumn<QVariant>("passed");
        QTest::addColumn<QString>("ownLayout");  // what the passed page's own layout copy holds
        QTest::newRow("Null page") << QVariant() << QString();
        QTest::newRow("empty page") << QVariant(QStringLiteral("")) << QString();
        // Six columns stored, four providers laid out: the page is shown, but the name lies
        // beyond the last provider on screen.
        QTest::newRow("name beyond the layout") << QVariant(pageText({{5, 6, "Ann Lee"}})) << QString();
        // The name on a page that cannot be laid out: said once, and the older page still found.
        QTest::newRow("page that cannot be laid out")
            << QVariant(pageText({{5, 1, "Ann Lee"}})) << QStringLiteral("open = '25:00 PM'");
        QTest::newRow("layout never written") << QVariant(pageText({{5, 1, "Ann Lee"}}))
                                              << QStringLiteral("timeslot = NULL");
    }

    void pagesWithoutVisibleHitArePassed()
    {
        QFETCH(QVariant, passed);
        QFETCH(QString, ownLayout);
        const QDate hit(2020, 2, 3), other(2022, 8, 9);
        f->addPage(hit, pageText({{10, 2, "ann lee"}}));
        f->addPage(other, passed);
        if (!ownLayout.isEmpty())
            f->exec(QStringLiteral("UPDATE tbl_Appt SET %1 WHERE CalDate = '%2'").arg(ownLayout, f->key(other)));
        openWith({});
        // Twice: a new search meets the page again and again passes it.
        for (int round = 1; round <= 2; ++round) {
            search("Ann Lee");
            QCOMPARE(message(), kFound);
            QCOMPARE(f->form->CalDateShown, hit);
            QCOMPARE(f->form->EditRow, 10);
            QCOMPARE(f->dialogs.messages.size(), ownLayout.isEmpty() ? 0 : round);
            if (!ownLayout.isEmpty()) {
                const QString said = f->dialogs.messages.last().text;
                QVERIFY2(said.startsWith(QStringLiteral("The page of %1 holds \"Ann Lee\" but cannot be shown. The page "
                                                        "cannot be laid out: the setting ")
                                             .arg(QLocale::system().toString(other, QLocale::ShortFormat))),
                         qPrintable(said));
                QVERIFY(said.endsWith(QStringLiteral("The search goes on with the pages stored before it.")));
            }
            // A page passed over keeps what it stored, including cells the layout does not show.
            const QVariant stored = f->storedData(other);
            QCOMPARE(stored.isNull(), passed.isNull());
            QCOMPARE(stored.toString().contains(QStringLiteral("Ann Lee")),
                     passed.toString().contains(QStringLiteral("Ann Lee")));
            answerYes();
            QCOMPARE(message(), kComplete);
            QCOMPARE(f->form->CalDateShown, hit);
            QCOMPARE(f->dialogs.messages.size(), ownLayout.isEmpty() ? 0 : round);
            f->dialogs.answerInput(QString());
            answerYes();
        }
    }

    void editAtHitKeptAfterContinue()
    {
        // Pages of today and later are not locked, so the found cell can be changed at once.
        const QDate first(2024, 7, 1), second(2024, 6, 20);
        openWith({{second, pageText({{11, 1, "Ann Lee"}})}, {first, pageText({{6, 2, "Ann Lee"}})}});
        search("ann lee");
        QCOMPARE(f->form->CalDateShown, first);
        QLineEdit* editor = f->form->txtEdit;
        QVERIFY(editor->isVisible());
        QVERIFY(!editor->isReadOnly());
        editor->setFocus();
        editor->end(false);
        typeText(" confirmed");
        QCOMPARE(f->form->Grid1->TextMatrix(6, 2), QStringLiteral("Ann Lee confirmed"));
        QVERIFY(f->form->Frame2->isVisible());
        s()->cmdYes->click();
        f->settle();
        QCOMPARE(f->form->CalDateShown, second);
        QCOMPARE(celltext::split(f->storedData(first).toString()).value(3).value(1), QStringLiteral("Ann Lee confirmed"));
    }

    void hitFarDownScrolledIntoView()
    {
        // A past page keeps its own layout: sixteen providers, ten-minute slots all day.
        const QDate page(2019, 11, 4);
        QList<Cell> cells{{76, 16, "Ann Lee"}};
        f->addPage(page, pageText(cells));
        f->exec("UPDATE tbl_Appt SET open = '07:00 AM', Close = '07:00 PM', timeslot = 10, Listno = 16");
        QVERIFY(f->open());
        f->form->Grid1->setFocus();
        search("Ann Lee");
        FlexGrid* grid = f->form->Grid1;
        QCOMPARE(message(), kFound);
        QCOMPARE(grid->Row(), 76);
        QCOMPARE(grid->Col(), 16);
        const QRect cell = grid->cellRect(76, 16);
        QVERIFY(!cell.isEmpty() && grid->viewport()->rect().contains(cell));
        // The editor stands over the cell where it is now shown.
        const QPoint onForm = grid->viewport()->mapTo(f->form->txtEdit->parentWidget(), cell.topLeft());
        QVERIFY(qAbs(f->form->txtEdit->x() - onForm.x()) <= 1);
        QVERIFY(qAbs(f->form->txtEdit->y() - onForm.y()) <= 1);
        QVERIFY(f->form->txtEdit->isVisible());
    }

    void allListsEveryCellByDate()
    {
        const QDate past(2021, 3, 8), later(2024, 9, 2), soon(2024, 6, 14);
        const QDate damaged(2020, 1, 6);
        f->addPage(damaged, pageText({{4, 1, "Ann Lee"}}));
        f->exec(QStringLiteral("UPDATE tbl_Appt SET Close = 'noon' WHERE CalDate = '%1'").arg(f->key(damaged)));
        openWith({{later, pageText({{4, 1, "Ann Lee"}})},
                  {past, pageText({{9, 3, "ann lee (late)"}, {5, 4, "ANN LEE"}, {9, 2, "Bob"}})},
                  {soon, pageText({{20, 2, "Ann Lee"}})}});
        search("ann lee");
        // Typed at the hit and not yet stored: the list reads the page as it stands on screen.
        QCOMPARE(f->form->CalDateShown, soon);
        f->form->txtEdit->setFocus();
        f->form->txtEdit->end(false);
        typeText(" confirmed");
        s()->cmdAll->click();
        frmHits* window = s()->hits();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Search Results"));
        // The count says what it leaves out.
        QCOMPARE(window->lblHits->text(),
                 QStringLiteral("\"ann lee\" stands in 4 cells on 3 pages. 1 more page holds it but cannot be laid out, "
                                "so its cells are not listed: %1. \u25BA marks today and later. Enter or a double "
                                "click opens the page.")
                     .arg(QLocale::system().toString(damaged, QLocale::ShortFormat)));
        auto* list = window->findChild<QTreeView*>(QStringLiteral("lstHits"));
        QVERIFY(list);
        QAbstractItemModel* rows = list->model();
        const QLocale locale = QLocale::system();
        const QStringList expected{
            // mark | date | time | provider | text
            QStringLiteral("|%1|08:30 AM|Reception|ANN LEE").arg(locale.toString(past, QLocale::ShortFormat)),
            QStringLiteral("|%1|10:30 AM|Nurse Adaeze Okoro|ann lee (late)").arg(locale.toString(past, QLocale::ShortFormat)),
            QStringLiteral("\u25BA|%1|04:00 PM|Dr. Tomas Ferrante|Ann Lee confirmed").arg(locale.toString(soon, QLocale::ShortFormat)),
            QStringLiteral("\u25BA|%1|08:00 AM|Dr. Ilse Marwick|Ann Lee").arg(locale.toString(later, QLocale::ShortFormat)),
        };
        auto cell = [&](int row, int col) { return rows->index(row, col).data().toString(); };
        QStringList shown;
        for (int i = 0; i < rows->rowCount(); ++i)
            shown << QStringList{cell(i, 0), cell(i, 1), cell(i, 3), cell(i, 4), cell(i, 5)}.join('|');
        QCOMPARE(shown, expected);
        QCOMPARE(cell(0, 2), locale.dayName(past.dayOfWeek(), QLocale::ShortFormat));
        QVERIFY(rows->index(2, 5).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!rows->index(1, 5).data(Qt::FontRole).value<QFont>().bold());
        // The next appointment is the one selected.
        QCOMPARE(list->currentIndex().row(), 2);

        // Enter opens the page at the cell, as the search does.
        list->setFocus();
        list->setCurrentIndex(rows->index(1, 1));
        QTest::keyClick(list, Qt::Key_Return);
        f->settle();
        QCOMPARE(f->form->CalDateShown, past);
        QCOMPARE(f->form->EditRow, 9);
        QCOMPARE(f->form->EditCol, 3);
        QVERIFY(f->form->txtEdit->isVisible());
    }

    void allListsEachCellOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<Cell>>("cells");
        QTest::addColumn<QStringList>("found");  // row,col of each listed cell
        const QList<Cell> page{{4, 1, "Ann Lee, Ann Lee"}, {4, 2, "ann"}, {4, 3, ""}, {6, 4, "Joanna"}, {7, 1, "x"}};
        QTest::newRow("each cell once, row by row") << "ann" << page << QStringList{"4,1", "4,2", "6,4"};
        QTest::newRow("at the very end") << "x" << page << QStringList{"7,1"};
        QTest::newRow("not across cells") << "Lee ann" << page << QStringList();
        QTest::newRow("a separator in the name") << "Lee\tann" << page << QStringList();
        // Cells beyond the four providers or the last time row are not on the page.
        QTest::newRow("beyond the layout") << "Zed" << QList<Cell>{{5, 5, "Zed"}, {30, 1, "Zed"}, {24, 4, "Zed"}}
                                           << QStringList{"24,4"};
    }

    void allListsEachCellOnce()
    {
        QFETCH(QString, name);
        QFETCH(QList<Cell>, cells);
        QFETCH(QStringList, found);
        f->addPage(QDate(2022, 5, 5), pageText(cells));
        storage::Database db(program::bookLocation());
        QStringList listed;
        for (const Hit& h : collectHits(db, name))
            listed << QStringLiteral("%1,%2").arg(h.row).arg(h.col);
        QCOMPARE(listed, found);
    }

    void allListsRemovedTexts()
    {
        storage::setDeskName(QStringLiteral("front/anna"));
        const QDate soon(2024, 6, 14);
        openWith({{soon, pageText({{4, 1, "Ann Lee"}, {6, 2, "Ann Lee (new)"}, {8, 1, "Ann Lee"}})}});
        QVERIFY(f->form->switchPage(soon));
        // One cleared, one overwritten, one cleared and typed again: the last still holds her.
        FlexGrid* grid = f->form->Grid1;
        grid->setTextMatrix(4, 1, QString());
        grid->setTextMatrix(6, 2, QStringLiteral("Bob Ray"));
        grid->setTextMatrix(8, 1, QString());
        QVERIFY(f->form->switchPage(kToday));
        QVERIFY(f->form->switchPage(soon));
        grid->setTextMatrix(8, 1, QStringLiteral("Ann Lee again"));
        QVERIFY(f->form->switchPage(kToday));
        search("ann lee");
        s()->cmdAll->click();
        frmHits* window = s()->hits();
        QVERIFY(window && window->isVisible());
        QVERIFY2(window->lblHits->text().startsWith(QStringLiteral("\"ann lee\" stands in 1 cell on 1 page.")),
                 qPrintable(window->lblHits->text()));
        QVERIFY(window->lblHits->text().contains(QStringLiteral("\u00D7 marks 2 texts removed from their cells since.")));
        QAbstractItemModel* rows = window->lstHits->model();
        QCOMPARE(rows->rowCount(), 3);
        const QString removedBy = QStringLiteral(" by front/anna)");
        QCOMPARE(rows->index(0, 0).data().toString(), QStringLiteral("\u00D7"));
        QCOMPARE(rows->index(0, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("removed"));
        QVERIFY(rows->index(0, 5).data().toString().startsWith(QStringLiteral("Ann Lee (removed ")));
        QVERIFY(rows->index(0, 5).data().toString().endsWith(removedBy));
        QVERIFY(rows->index(1, 5).data().toString().startsWith(QStringLiteral("Ann Lee (new) (removed ")));
        QCOMPARE(rows->index(2, 5).data().toString(), QStringLiteral("Ann Lee again"));

        // Opening a removed one shows its page with the history of its cell.
        window->lstHits->setFocus();
        window->lstHits->setCurrentIndex(rows->index(1, 1));
        QTest::keyClick(window->lstHits, Qt::Key_Return);
        f->settle();
        QCOMPARE(f->form->CalDateShown, soon);
        auto* history = qobject_cast<frmCellHistory*>(f->form->findChild<CellHistory*>()->dialog());
        QVERIFY(history);
        QCOMPARE(history->lstHistory->topLevelItemCount(), 2);
        QCOMPARE(history->lstHistory->topLevelItem(0)->text(0), QStringLiteral("Bob Ray"));
        QCOMPARE(history->lstHistory->topLevelItem(1)->text(0), QStringLiteral("Ann Lee (new)"));
        history->reject();
        storage::setDeskName(QString());
    }

    void panelKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        QTest::newRow("Alt+Y continues") << int(Qt::Key_Y) << kComplete;
        QTest::newRow("Alt+N ends") << int(Qt::Key_N) << "hidden";
        QTest::newRow("Alt+A lists") << int(Qt::Key_A) << "list";
    }

    void panelKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, after);
        openWith({{QDate(2023, 4, 5), pageText({{5, 1, "Ann Lee"}})}});
        search("ann");
        typeKey(Qt::Key(key), Qt::AltModifier);
        // A button's letter presses it as a click would, after a moment.
        QTest::qWait(300);
        if (after == "hidden") {
            // No ends the search where it stands, back on the grid.
            QVERIFY(!f->form->Frame2->isVisible());
            QCOMPARE(QApplication::focusWidget(), f->form->Grid1);
            QCOMPARE(f->form->CalDateShown, QDate(2023, 4, 5));
        } else if (after == "list")
            QVERIFY(s()->hits() && s()->hits()->isVisible());
        else
            QCOMPARE(message(), after);
    }

private:
    // Opens the day page on an empty page table (today's page is added by the opening).

    void openWith(const QList<std::pair<QDate, QVariant>>& pages)
    {
        for (const auto& [date, data] : pages)
            f->addPage(date, data);
        QVERIFY(f->open());
        f->form->Grid1->setFocus();
    }
    // Asks for a name by F4, or by the Search menu.

    void search(const QString& name, bool byMenu = false)
    {
        f->dialogs.answerInput(name);
        if (byMenu)
            f->form->findChild<QAction*>(QStringLiteral("mnuSearchClient"))->trigger();
        else
            typeKey(Qt::Key_F4);
        f->settle();
        QVERIFY(!f->dialogs.inputs.isEmpty());
        QCOMPARE(f->dialogs.inputs.last().prompt, kPrompt);
        QCOMPARE(f->dialogs.inputs.last().title, QStringLiteral("Search"));
    }

    void answerYes()
    {
        QCOMPARE(QApplication::focusWidget(), s()->cmdYes);
        typeKey(Qt::Key_Return);
        f->settle();
    }
    ClientSearch* s() const { return f->form->findChild<ClientSearch*>(); }
    QString message() const { return s()->lblMessage->text(); }

    std::unique_ptr<DayPageFixture> f;
};

QTEST_MAIN(tst_clientsearch)
#include "tst_clientsearch.moc"
