// The day page's own commands on the real screen: F1, F2 with the demo ring, F3, F5, Esc,
// the Help menu with About, and the toolbar.
#include "app/screens.h"
#include "common/daypage.h"
#include "maintenance/frmHelp.h"
#include "navigation/PageCommands.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/colours.h"
#include "platform/programfolder.h"
#include "platform/serveraddress.h"
#include "program.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

namespace {

const QDate kToday(2024, 3, 6);

struct CommandsFixture : DayPageFixture {
    PageCommands* commands = nullptr;
    bool open()
    {
        if (!DayPageFixture::open())
            return false;
        commands = form->findChild<PageCommands*>();
        return commands != nullptr;
    }
    // Types text into a cell of the grid through the cell editor.
    void typeInto(int row, int col, const QString& text)
    {
        form->Grid1->setFocus();
        form->Grid1->setRow(row);
        form->Grid1->setCol(col);
        typeText(text);
        typeKey(Qt::Key_Return);
        settle();
    }
    QString shortDate(QDate d) const { return QLocale::system().toString(d, QLocale::ShortFormat); }
};

QList<frmHelp*> helpWindows()
{
    QList<frmHelp*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<frmHelp*>(w); help && help->isVisible())
            shown << help;
    return shown;
}

}  // namespace

class tst_pagecommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        program::setToday(kToday);
        program::registerScreens();
    }
    void cleanupTestCase() { program::setToday(QDate()); }
    void cleanup()
    {
        screens::unload(Screen::Help);
        DayPageFixture::settle();
    }

    void f5ChangesNothing()
    {
        CommandsFixture f;
        QVERIFY(f.open());
        f.typeInto(5, 2, QStringLiteral("Ann"));
        const QString cells = f.form->Grid1->Clip();
        const int pages = f.pageCount();
        typeKey(Qt::Key_F5);
        QCOMPARE(f.form->Grid1->Clip(), cells);
        QCOMPARE(f.form->PageDate, kToday);
        QCOMPARE(f.pageCount(), pages);
        QVERIFY(!f.form->txtEdit->isVisible());
        QCOMPARE(QApplication::focusWidget(), f.form->Grid1);
    }

    void pageLock_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("F3") << true;
        QTest::newRow("mouse") << false;
    }

    void pageLock()
    {
        QFETCH(bool, byKey);
        CommandsFixture f;
        QVERIFY(f.open());
        QCheckBox* lock = f.form->Check2;
        QVERIFY(!lock->isChecked());
        const auto flip = [&] {
            if (byKey) {
                f.form->Grid1->setFocus();
                typeKey(Qt::Key_F3);
            } else {
                QTest::mouseClick(lock, Qt::LeftButton, {}, QPoint(6, lock->height() / 2));
            }
            f.settle();
        };

        flip();
        QVERIFY(lock->isChecked());
        QCOMPARE(lock->palette().color(QPalette::Window), colours::LightRed);
        QCOMPARE(QApplication::focusWidget(), f.form->Grid1);
        const QString before = f.form->Grid1->TextMatrix(5, 1);
        f.typeInto(5, 1, QStringLiteral("Ann"));
        QCOMPARE(f.form->Grid1->TextMatrix(5, 1), before);

        flip();
        QVERIFY(!lock->isChecked());
        QCOMPARE(lock->palette().color(QPalette::Window), colours::LegendGrey);
        f.typeInto(5, 1, QStringLiteral("Ann"));
        QCOMPARE(f.form->Grid1->TextMatrix(5, 1), before + QStringLiteral("Ann"));
    }

    void demoRing()
    {
        CommandsFixture f;
        QVERIFY(f.open());
        QCOMPARE(f.commands->cmdDemo->text(), QStringLiteral("Demo 1"));
        f.typeInto(5, 1, QStringLiteral("Zed"));
        const QVariant demoStored = f.storedData(QDate(1998, 10, 10));

        struct Step {
            QDate date;
            const char* caption;
        };
        const Step ring[] = {{QDate(1998, 10, 10), "Demo 2"},
                             {QDate(1998, 11, 11), "Demo 3"},
                             {QDate(1998, 9, 9), "Demo 4"},
                             {QDate(1998, 8, 8), "Demo 1"}};
        bool first = true;
        for (const Step& step : ring) {
            if (first) {
                f.form->Grid1->setFocus();
                typeKey(Qt::Key_F2);
            } else {
                QTest::mouseClick(f.commands->cmdDemo, Qt::LeftButton);
            }
            f.settle();
            QCOMPARE(f.form->PageDate, step.date);
            QCOMPARE(f.form->lblCalDate->text(), f.shortDate(step.date));
            QCOMPARE(f.commands->cmdDemo->text(), QString::fromLatin1(step.caption));
            // Demo pages are past pages: locked.
            QVERIFY(f.form->Check2->isChecked());
            QCOMPARE(QApplication::focusWidget(), f.form->Grid1);
            if (first) {
                // The step away from the user's own page stored it; a demo page typed into
                // (after unlocking it) is not stored by the next step.
                QVERIFY(f.storedData(kToday).toString().contains(QStringLiteral("Zed")));
                f.form->Grid1->setFocus();
                typeKey(Qt::Key_F3);
                f.typeInto(6, 2, QStringLiteral("typed on the demo"));
                first = false;
            }
        }
        QCOMPARE(f.storedData(QDate(1998, 10, 10)), demoStored);
        QVERIFY(f.dialogs.messages.isEmpty());

        // Esc is Today. Typed on today's page, the next demo press saves it, whatever the
        // button says.
        typeKey(Qt::Key_Escape);
        f.settle();
        QCOMPARE(f.form->PageDate, kToday);
        QVERIFY(!f.form->Check2->isChecked());
        f.typeInto(7, 2, QStringLiteral("Kim"));
        typeKey(Qt::Key_F2);
        f.settle();
        QCOMPARE(f.form->PageDate, QDate(1998, 10, 10));
        QVERIFY(f.storedData(kToday).toString().contains(QStringLiteral("Kim")));
    }

    void helpOnce()
    {
        CommandsFixture f;
        QVERIFY(f.open());
        for (int i = 0; i < 2; ++i) {
            // Back on the day page, as a user clicking it would be.
            f.form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(f.form));
            f.form->Grid1->setFocus();
            typeKey(Qt::Key_F1);
            f.settle();
            QCOMPARE(helpWindows().size(), 1);
        }
        frmHelp* help = helpWindows().constFirst();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QCOMPARE(QApplication::focusWidget(), help->cmdExit);
        // The day page stays open beside it.
        QVERIFY(f.form->isVisible());
    }

    void toolbar()
    {
        // Each button, in order, gives its menu command once.
        CommandsFixture f;
        QVERIFY(f.open());
        QToolBar* bar = f.form->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QVERIFY(bar);
        const QStringList commands{"mnuPageOpen",   "mnuPagePrint",  "mnuEditCut",      "mnuEditCopy",
                                   "mnuEditPaste",  "mnuEditDelete", "mnuSearchClient", "mnuHelpContent"};
        QStringList triggered;
        for (const QString& command : commands)
            connect(f.form->findChild<QAction*>(command), &QAction::triggered, this, [&triggered, command] { triggered << command; });
        for (QAction* button : bar->actions())
            if (button->property("Key").isValid()) {
                QVERIFY(!button->icon().isNull());
                QTest::mouseClick(bar->widgetForAction(button), Qt::LeftButton);
                f.settle();
                if (button->property("Key") == QLatin1String("Print"))
                    QVERIFY(f.form->findChild<QFrame*>(QStringLiteral("Frame3"))->isVisible());
            }
        QCOMPARE(triggered, commands);
    }

    void about()
    {
        CommandsFixture f;
        QVERIFY(f.open());
        f.form->findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        const dialogs::Prompt& p = f.dialogs.messages.constFirst();
        const QString version = QStringLiteral("%1.%2.%3").arg(CALVORA_VERSION_MAJOR).arg(CALVORA_VERSION_MINOR).arg(CALVORA_VERSION_PATCH);
        QCOMPARE(p.text, QStringLiteral("Calvora Version ") + version
                             + QStringLiteral(".  Please visit Norlyn Software's Homepage at  https://calvora.example.org  to "
                                              "find out about the latest software updates and bug fixes.\n\n")
                             + QStringLiteral("Language: English\n\n")
                             + (program::bookLocation().onServer()
                                    ? "Database in use: " + program::describeServer(program::bookLocation().server)
                                          + "\nConnected to: " + qEnvironmentVariable("PGHOST") + ", port 5432"
                                    : "Database file in use: " + QDir::toNativeSeparators(f.folder.databasePath())));
    }
};

QTEST_MAIN(tst_pagecommands)
#include "tst_pagecommands.moc"
