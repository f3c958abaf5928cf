// Cut, Copy, Paste and Delete on the real day page: on whichever text box has the focus,
// through the clipboard, and never past the page lock.
#include "common/daypage.h"
#include "navigation/MemoPanel.h"
#include "navigation/MonthCalendar.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {
const QDate kToday(2024, 6, 12);

QClipboard* clipboard()
{
    return QGuiApplication::clipboard();
}
}  // namespace

class tst_editcommands : public QObject {
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
        f->addPage(kToday, QString(""));
        QVERIFY(f->open());
        clipboard()->setText(QStringLiteral("left over"));
    }

    void cleanup()
    {
        f.reset();
    }

    void copyWithoutTextBoxEmptiesClipboard_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("way");
        for (const char* way : {"menu", "key"}) {
            QTest::addRow("calendar %s", way) << "calendar" << way;
            QTest::addRow("grid %s", way) << "grid" << way;
        }
    }

    void copyWithoutTextBoxEmptiesClipboard()
    {
        QFETCH(QString, focus);
        QFETCH(QString, way);
        f->form->Grid1->setTextMatrix(5, 1, QStringLiteral("Ann Lee"));
        QWidget* target = focus == "calendar" ? static_cast<QWidget*>(f->calendar->Picture2) : f->form->Grid1;
        target->setFocus();
        run(way, "mnuEditCopy", Qt::Key_C);
        QCOMPARE(clipboard()->text(), QString());
        // Paste there changes nothing either.
        clipboard()->setText(QStringLiteral("pasted"));
        run(way, "mnuEditPaste", Qt::Key_V);
        QCOMPARE(QApplication::focusWidget(), target);
        QCOMPARE(f->form->Grid1->TextMatrix(5, 1), QStringLiteral("Ann Lee"));
        QVERIFY(!f->form->txtEdit->isVisible());
    }

    void copyOfNothingSelected()
    {
        QLineEdit* editor = editCell(6, 2, QStringLiteral("Ann Lee"));
        editor->deselect();
        run("key", "mnuEditCopy", Qt::Key_C);
        QCOMPARE(clipboard()->text(), QString());
        editor->setSelection(0, 3);
        run("key", "mnuEditCopy", Qt::Key_C);
        QCOMPARE(clipboard()->text(), QStringLiteral("Ann"));
        QCOMPARE(f->form->Grid1->TextMatrix(6, 2), QStringLiteral("Ann Lee"));
    }

    void cutInDailyMemo_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("menu") << "menu";
        QTest::newRow("Ctrl+X") << "key";
    }

    void cutInDailyMemo()
    {
        QFETCH(QString, way);
        QPlainTextEdit* memo = f->form->TxtMemo;
        memo->setFocus();
        memo->setPlainText(QStringLiteral("Bring the X-rays\nCall the lab"));
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(6);
        cursor.setPosition(21, QTextCursor::KeepAnchor);  // "the X-rays\nCall"
        memo->setTextCursor(cursor);
        run(way, "mnuEditCut", Qt::Key_X);
        QCOMPARE(clipboard()->text(), QStringLiteral("the X-rays\nCall"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("Bring  the lab"));
        // Pasted back where it came from, line break and all.
        run(way, "mnuEditPaste", Qt::Key_V);
        QCOMPARE(memo->toPlainText(), QStringLiteral("Bring the X-rays\nCall the lab"));
    }

    void pasteIntoCellEditorAtCaret_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("cell");
        QTest::newRow("plain") << "B. " << "Ann B. Lee";
        // Separators would shift every later cell of the stored page.
        QTest::newRow("TAB, CR and LF") << "B.\tx\r\n" << "Ann B. x  Lee";
        // The server holds no NUL in a text: it stands as U+FFFD, the same on both engines.
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b ") << QStringLiteral("Ann a\uFFFDb Lee");
    }

    void pasteIntoCellEditorAtCaret()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, cell);
        QLineEdit* editor = editCell(7, 3, QStringLiteral("Ann Lee"));
        editor->setCursorPosition(4);
        clipboard()->setText(pasted);
        run("menu", "mnuEditPaste", Qt::Key_V);
        QCOMPARE(editor->text(), cell);
        QCOMPARE(f->form->Grid1->TextMatrix(7, 3), cell);
        QVERIFY(editor->isVisible());
        // And so it is stored.
        QVERIFY(f->form->switchPage(kToday.addDays(1)));
        QVERIFY(f->storedData(kToday).toString().contains(cell));
    }

    void lockedEditorIsOnlyCopied()
    {
        f->form->Check2->click();  // the page lock
        QVERIFY(f->form->Check2->isChecked());
        QLineEdit* editor = editCell(8, 1, QStringLiteral("Ann Lee"));
        QVERIFY(editor->isReadOnly());
        editor->selectAll();
        run("key", "mnuEditCut", Qt::Key_X);
        QCOMPARE(clipboard()->text(), QStringLiteral("Ann Lee"));
        clipboard()->setText(QStringLiteral("Bob"));
        run("key", "mnuEditPaste", Qt::Key_V);
        run("menu", "mnuEditDelete", Qt::Key_unknown);
        QCOMPARE(editor->text(), QStringLiteral("Ann Lee"));
        QCOMPARE(f->form->Grid1->TextMatrix(8, 1), QStringLiteral("Ann Lee"));
    }

    void deleteInBookNumber()
    {
        QLineEdit* book = f->memos->txtBook;
        book->setFocus();
        book->setText(QStringLiteral("A-114"));
        book->setSelection(1, 4);
        run("menu", "mnuEditDelete", Qt::Key_unknown);
        QCOMPARE(book->text(), QStringLiteral("A"));
        // Delete leaves the clipboard alone.
        QCOMPARE(clipboard()->text(), QStringLiteral("left over"));
    }

private:
    // Opens the editor over a cell holding a text, as Enter on the grid does.

    QLineEdit* editCell(int row, int col, const QString& text)
    {
        FlexGrid* grid = f->form->Grid1;
        grid->setTextMatrix(row, col, text);
        grid->setFocus();
        grid->setRow(row);
        grid->setCol(col);
        typeKey(Qt::Key_Return);
        f->settle();
        QLineEdit* editor = f->form->txtEdit;
        if (!editor->isVisible() || QApplication::focusWidget() != editor)
            qWarning("the cell editor did not open");
        return editor;
    }

    // Runs a command by its menu item or by its shortcut.
    void run(const QString& way, const char* action, Qt::Key key)
    {
        if (way == QLatin1String("menu"))
            f->form->findChild<QAction*>(QString::fromLatin1(action))->trigger();
        else
            typeKey(key, Qt::ControlModifier);
        f->settle();
    }

    std::unique_ptr<DayPageFixture> f;
};

QTEST_MAIN(tst_editcommands)
#include "tst_editcommands.moc"
