// The help viewer and the readme viewer with its two pages, opened as the program opens them.
#include "app/frmMenu.h"
#include "app/screens.h"
#include "common/daypage.h"
#include "common/screenstest.h"
#include "maintenance/frmHelp.h"
#include "maintenance/frmReadme.h"
#include "platform/colours.h"
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

    void help_data();
    void help();
    void readmePages();
    void readmeClosedByUser_data();
    void readmeClosedByUser();
    void viewerCannotOpen_data();
    void viewerCannotOpen();

private:
    static frmReadme* openReadmeFromMenu();
    int ends_ = 0;
};

frmReadme* tst_viewers::openReadmeFromMenu()
{
    auto* menu = static_cast<frmMenu*>(screens::show(Screen::Menu));
    QTest::mouseClick(menu->Command1, Qt::LeftButton);
    DayPageFixture::settle();
    return qobject_cast<frmReadme*>(screens::loaded(Screen::Readme));
}

void tst_viewers::help_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("text") << QVariant(QStringLiteral("F1 Help\nF2 Demo")) << "F1 Help\nF2 Demo";
    QTest::newRow("never written") << QVariant() << "";
}

void tst_viewers::help()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    DayPageFixture f;
    f.exec(stored.isValid() ? QStringLiteral("UPDATE tbl_Order SET Help = '%1'").arg(stored.toString())
                            : QStringLiteral("UPDATE tbl_Order SET Help = NULL"));
    auto* help = qobject_cast<frmHelp*>(screens::show(Screen::Help));
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowActive(help));
    QCOMPARE(help->windowTitle(), QStringLiteral("Help File"));
    QCOMPARE(help->cmdExit->text(), QStringLiteral("Exit"));
    QCOMPARE(QApplication::focusWidget(), help->cmdExit);
    QCOMPARE(help->Text1->toPlainText(), shown);
    QCOMPARE(help->Text1->palette().color(QPalette::Base), colours::Cream);

    // Typing changes nothing, on screen or in the file.
    help->Text1->setFocus();
    typeText(QStringLiteral("xy"));
    typeKey(Qt::Key_Backspace);
    QCOMPARE(help->Text1->toPlainText(), shown);
    const QVariant after = f.value(QStringLiteral("SELECT Help FROM tbl_Order"));
    QCOMPARE(after.isNull(), stored.isNull());
    QCOMPARE(after.toString(), stored.toString());
    QVERIFY(f.dialogs.messages.isEmpty());

    QTest::mouseClick(help->cmdExit, Qt::LeftButton);
    DayPageFixture::settle();
    QVERIFY(!screens::loaded(Screen::Help));
    // Leaving help does not bring the menu: the user is back where they were.
    QVERIFY(!screens::loaded(Screen::Menu));
}

void tst_viewers::readmePages()
{
    DayPageFixture f;
    const QString readme = f.value(QStringLiteral("SELECT Readme FROM tbl_Setup")).toString();
    QVERIFY(readme.startsWith(QStringLiteral("CALVORA")));
    frmReadme* viewer = openReadmeFromMenu();
    QVERIFY(viewer);
    QVERIFY(!screens::loaded(Screen::Menu));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Readme"));
    QCOMPARE(viewer->Command1->text(), QStringLiteral("License Agreement"));
    QCOMPARE(viewer->Text1->toPlainText(), readme);
    QCOMPARE(viewer->Text1->palette().color(QPalette::Base), colours::Black);
    QVERIFY(viewer->Text1->font().fixedPitch());

    // The licence is read when the page turns.
    f.exec(QStringLiteral("UPDATE tbl_Setup SET Licence = 'Licence text, changed'"));
    viewer->Command1->setFocus();
    typeKey(Qt::Key_Return);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("License"));
    QCOMPARE(viewer->Command1->text(), QStringLiteral("Main Menu"));
    QCOMPARE(viewer->Text1->toPlainText(), QStringLiteral("Licence text, changed"));
    viewer->Text1->setFocus();
    typeText(QStringLiteral("xy"));
    QCOMPARE(viewer->Text1->toPlainText(), QStringLiteral("Licence text, changed"));

    viewer->Command1->setFocus();
    typeKey(Qt::Key_Return);
    DayPageFixture::settle();
    QVERIFY(!screens::loaded(Screen::Readme));
    QVERIFY(screens::loaded(Screen::Menu));
    QVERIFY(screens::loaded(Screen::Menu)->isVisible());

    // Opened again, it starts on the readme page.
    viewer = openReadmeFromMenu();
    QVERIFY(viewer);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Readme"));
    QCOMPARE(viewer->Text1->toPlainText(), readme);
    QCOMPARE(f.value(QStringLiteral("SELECT Readme FROM tbl_Setup")).toString(), readme);
}

void tst_viewers::readmeClosedByUser_data()
{
    QTest::addColumn<bool>("secondPage");
    QTest::newRow("readme page") << false;
    QTest::newRow("licence page") << true;
}

void tst_viewers::readmeClosedByUser()
{
    QFETCH(bool, secondPage);
    DayPageFixture f;
    frmReadme* viewer = openReadmeFromMenu();
    QVERIFY(viewer);
    if (secondPage)
        QTest::mouseClick(viewer->Command1, Qt::LeftButton);
    // The close box leads back to the menu from either page; the program goes on.
    viewer->close();
    DayPageFixture::settle();
    QVERIFY(!screens::loaded(Screen::Readme));
    QVERIFY(screens::loaded(Screen::Menu));
    QVERIFY(screens::loaded(Screen::Menu)->isVisible());
    QCOMPARE(ends_, 0);
}

void tst_viewers::viewerCannotOpen_data()
{
    QTest::addColumn<bool>("readme");
    QTest::newRow("help") << false;
    QTest::newRow("readme") << true;
}

void tst_viewers::viewerCannotOpen()
{
    QFETCH(bool, readme);
    DayPageFixture f;
    QVERIFY(QFile::remove(f.folder.databasePath()));
    if (readme) {
        QVERIFY(!openReadmeFromMenu());
        // The menu stays, so the user can go on.
        QVERIFY(screens::loaded(Screen::Menu));
    } else {
        QVERIFY(!screens::show(Screen::Help));
    }
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages[0].text,
             QStringLiteral("The database file %1 failed while opening it:\nThe file does not exist.")
                 .arg(f.folder.databasePath()));
}

QTEST_MAIN(tst_viewers)
#include "tst_viewers.moc"
