// The help viewer and the readme viewer with its two pages, opened as the program opens them.
#include "app/frmMenu.h"
#include "app/screens.h"
#include "common/daypage.h"
#include "common/screenstest.h"
#include "maintenance/frmHelp.h"
#include "maintenance/frmReadme.h"
#include "platform/programfolder.h"
#include "program.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class tst_viewers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { program::registerScreens(); }
    void init()
    {
        ends_ = 0;
        program::setEndHandler([this] { ++ends_; });
    }
    void cleanup()
    {
        closeAllScreens();
        program::setEndHandler(nullptr);
    }

    void help_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("text") << QVariant(QStringLiteral("F1 Help\nF2 Demo")) << "F1 Help\nF2 Demo";
        QTest::newRow("never written") << QVariant() << "";
        // The database is gone: said once, and no viewer opens.
        QTest::newRow("no database") << QVariant() << "<none>";
    }

    void help()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        DayPageFixture f;
        f.exec(stored.isValid() ? QStringLiteral("UPDATE tbl_Order SET Help = '%1'").arg(stored.toString())
                                : QStringLiteral("UPDATE tbl_Order SET Help = NULL"));
        if (shown == "<none>") {
            QVERIFY(QFile::remove(f.folder.databasePath()));
            QVERIFY(!screens::show(Screen::Help));
            QCOMPARE(f.dialogs.messages.size(), 1);
            QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("The database file %1 failed while opening it:\n"
                                                                "The file does not exist.").arg(f.folder.databasePath()));
            return;
        }
        auto* help = qobject_cast<frmHelp*>(screens::show(Screen::Help));
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowActive(help));
        QCOMPARE(QApplication::focusWidget(), help->cmdExit);
        QCOMPARE(help->Text1->toPlainText(), shown);

        // Typing changes nothing, on screen or in the file.
        help->Text1->setFocus();
        typeText(QStringLiteral("xy"));
        typeKey(Qt::Key_Backspace);
        QCOMPARE(help->Text1->toPlainText(), shown);
        const QVariant after = f.value(QStringLiteral("SELECT Help FROM tbl_Order"));
        QVERIFY(after.isNull() == stored.isNull() && after.toString() == stored.toString());
        QVERIFY(f.dialogs.messages.isEmpty());

        QTest::mouseClick(help->cmdExit, Qt::LeftButton);
        DayPageFixture::settle();
        QVERIFY(!screens::loaded(Screen::Help));
        // Leaving help does not bring the menu: the user is back where they were.
        QVERIFY(!screens::loaded(Screen::Menu));
    }

    void readmePages()
    {
        DayPageFixture f;
        const QString readme = f.value(QStringLiteral("SELECT Readme FROM tbl_Setup")).toString();
        QVERIFY(readme.startsWith(QStringLiteral("CALVORA")));
        frmReadme* viewer = openReadmeFromMenu();
        QVERIFY(viewer);
        QVERIFY(!screens::loaded(Screen::Menu));
        QCOMPARE(viewer->Text1->toPlainText(), readme);

        // The licence is read when the page turns.
        f.exec(QStringLiteral("UPDATE tbl_Setup SET Licence = 'Licence text, changed'"));
        viewer->Command1->setFocus();
        typeKey(Qt::Key_Return);
        viewer->Text1->setFocus();
        typeText(QStringLiteral("xy"));
        QCOMPARE(viewer->Text1->toPlainText(), QStringLiteral("Licence text, changed"));
        viewer->Command1->setFocus();
        typeKey(Qt::Key_Return);
        DayPageFixture::settle();
        QVERIFY(!screens::loaded(Screen::Readme));
        QVERIFY(screens::loaded(Screen::Menu) && screens::loaded(Screen::Menu)->isVisible());

        // Opened again, it starts on the readme page; its close box also leads back to the menu.
        viewer = openReadmeFromMenu();
        QVERIFY(viewer);
        QCOMPARE(viewer->Text1->toPlainText(), readme);
        viewer->close();
        DayPageFixture::settle();
        QVERIFY(!screens::loaded(Screen::Readme));
        QVERIFY(screens::loaded(Screen::Menu) && screens::loaded(Screen::Menu)->isVisible());
        QCOMPARE(ends_, 0);
        QCOMPARE(f.value(QStringLiteral("SELECT Readme FROM tbl_Setup")).toString(), readme);
    }

    void readmeCannotOpen()
    {
        // The menu stays, so the user can go on.
        DayPageFixture f;
        QVERIFY(QFile::remove(f.folder.databasePath()));
        QVERIFY(!openReadmeFromMenu());
        QVERIFY(screens::loaded(Screen::Menu));
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

private:
    static frmReadme* openReadmeFromMenu()
    {
        auto* menu = static_cast<frmMenu*>(screens::show(Screen::Menu));
        QTest::mouseClick(menu->Command1, Qt::LeftButton);
        DayPageFixture::settle();
        return qobject_cast<frmReadme*>(screens::loaded(Screen::Readme));
    }
    int ends_ = 0;
};

QTEST_MAIN(tst_viewers)
#include "tst_viewers.moc"
