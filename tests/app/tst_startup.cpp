// The splash screen, the main menu and the end of the program, driven offscreen.
#include "app/form.h"
#include "app/frmMenu.h"
#include "app/frmSplash.h"
#include "app/layoutvars.h"
#include "app/screens.h"
#include "common/screenstest.h"
#include "common/scripteddialogs.h"
#include "common/testfolder.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class tst_startup : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void splashKeys_data();
    void splashKeys();
    void splashMouse();
    void menuCaptions();
    void menuEntries_data();
    void menuEntries();
    void keypadDigitsDoNothing();
    void previewWithoutActiveWindow();
    void leftScreenShowsMenu();
    void exitQuestion_data();
    void exitQuestion();
    void exitAfterBackupByEntry4_data();
    void exitAfterBackupByEntry4();
    void readmeButton();

private:
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static frmMenu* showMenu();
    static QString visibleCaptions();

    int ends_ = 0;
};

void tst_startup::init()
{
    ends_ = 0;
    program::setEndHandler([this] { ++ends_; });
    ExitAfterBackup = false;
}

void tst_startup::cleanup()
{
    closeAllScreens();
    program::setEndHandler(nullptr);
}

frmMenu* tst_startup::showMenu()
{
    auto* menu = static_cast<frmMenu*>(screens::show(Screen::Menu));
    if (!QTest::qWaitForWindowActive(menu))
        qWarning("menu not active");
    return menu;
}

QString tst_startup::visibleCaptions()
{
    QStringList captions;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<Form*>(w))
            captions << w->windowTitle();
    captions.sort();
    return captions.join('|');
}

void tst_startup::splashKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("dismisses");
    QTest::newRow("letter") << int(Qt::Key_A) << true;
    QTest::newRow("digit") << int(Qt::Key_7) << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << true;
    QTest::newRow("arrow") << int(Qt::Key_Left) << false;
    QTest::newRow("function key") << int(Qt::Key_F1) << false;
    QTest::newRow("Shift alone") << int(Qt::Key_Shift) << false;
}

void tst_startup::splashKeys()
{
    QFETCH(int, key);
    QFETCH(bool, dismisses);
    Form* splash = screens::show(Screen::Splash);
    QVERIFY(QTest::qWaitForWindowActive(splash));
    // The menu is made by the splash but not shown.
    QVERIFY(screens::loaded(Screen::Menu));
    QVERIFY(!screens::loaded(Screen::Menu)->isVisible());

    typeKey(Qt::Key(key));
    settle();
    QCOMPARE(screens::loaded(Screen::Splash) == nullptr, dismisses);
    QCOMPARE(screens::loaded(Screen::Menu)->isVisible(), dismisses);
}

void tst_startup::splashMouse()
{
    auto* splash = static_cast<frmSplash*>(screens::show(Screen::Splash));
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    // A press on a label reaches the frame beneath it, as on the frame itself.
    QTest::mousePress(splash->lblVersion, Qt::RightButton);
    settle();
    QVERIFY(!screens::loaded(Screen::Splash));
    auto* menu = static_cast<frmMenu*>(screens::loaded(Screen::Menu));
    QVERIFY(QTest::qWaitForWindowActive(menu));
    QCOMPARE(QApplication::focusWidget(), menu->Option1);
}

void tst_startup::menuCaptions()
{
    frmMenu* menu = showMenu();
    QCOMPARE(menu->windowTitle(), QStringLiteral("Main Menu"));
    QCOMPARE(menu->Option1->text().trimmed(), QStringLiteral("1.   Appointments"));
    QCOMPARE(menu->Option2->text().trimmed(), QStringLiteral("2.   Setup Page"));
    QCOMPARE(menu->Option3->text().trimmed(), QStringLiteral("3.   Customize Templates"));
    QCOMPARE(menu->Option4->text().trimmed(), QStringLiteral("4.   Back-up / Restore Files"));
    QCOMPARE(menu->Option6->text().trimmed(), QStringLiteral("6.   Exit"));
    QVERIFY(menu->Option1->text().startsWith(QStringLiteral("     1.")));
    QCOMPARE(menu->Command1->text(), QStringLiteral("&Readme / License Agreement"));
    QCOMPARE(QApplication::focusWidget(), menu->Option1);
}

void tst_startup::menuEntries_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("menuStays");
    const QStringList captions{"Appointments", "Set-up Page", "Configure Page Templates",
                               "Back-up /Restore Files"};
    for (int entry = 1; entry <= 4; ++entry) {
        const QString caption = captions[entry - 1];
        for (const char* way : {"mouse", "right mouse", "Enter", "Space"})
            QTest::addRow("%d by %s", entry, way) << entry << QString(way) << caption << false;
        QTest::addRow("%d by digit", entry) << entry << QString("digit") << caption << true;
    }
}

void tst_startup::menuEntries()
{
    QFETCH(int, entry);
    QFETCH(QString, way);
    QFETCH(QString, caption);
    QFETCH(bool, menuStays);
    frmMenu* menu = showMenu();
    QRadioButton* option = QList<QRadioButton*>{menu->Option1, menu->Option2, menu->Option3,
                                                menu->Option4}[entry - 1];
    if (way == "mouse") {
        QTest::mousePress(option, Qt::LeftButton);
    } else if (way == "right mouse") {
        QTest::mousePress(option, Qt::RightButton);
    } else if (way == "digit") {
        typeKey(Qt::Key(Qt::Key_0 + entry));
    } else {
        option->setFocus();
        typeKey(way == "Enter" ? Qt::Key_Return : Qt::Key_Space);
    }
    settle();
    Form* shown = screens::loaded(entry == 1 ? Screen::Appt : entry == 2 ? Screen::Setup
                                  : entry == 3 ? Screen::Configure : Screen::Backup);
    QVERIFY(shown && shown->isVisible());
    QCOMPARE(shown->windowTitle(), caption);
    QCOMPARE(screens::loaded(Screen::Menu) != nullptr, menuStays);
    QCOMPARE(ends_, 0);
}

void tst_startup::keypadDigitsDoNothing()
{
    showMenu();
    for (Qt::Key k : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_6})
        typeKey(k, Qt::KeypadModifier);
    settle();
    QCOMPARE(visibleCaptions(), QStringLiteral("Main Menu"));
    QCOMPARE(ends_, 0);
}

void tst_startup::previewWithoutActiveWindow()
{
    // After a dialog closes, the window system may hand keys to a window Qt does not count
    // as active: the form still sees them first.
    frmMenu* menu = showMenu();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(QApplication::focusWidget() != menu->focusWidget());
    QTest::keyClick(menu->focusWidget(), Qt::Key_2);
    settle();
    QVERIFY(screens::loaded(Screen::Setup));
}

void tst_startup::leftScreenShowsMenu()
{
    frmMenu* menu = showMenu();
    QTest::mousePress(menu->Option2, Qt::LeftButton);
    settle();
    QVERIFY(!screens::loaded(Screen::Menu));
    screens::loaded(Screen::Setup)->close();
    settle();
    QCOMPARE(visibleCaptions(), QStringLiteral("Main Menu"));
}

void tst_startup::exitQuestion_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("yes");
    for (const char* way : {"mouse", "Enter", "digit", "close box"}) {
        QTest::addRow("%s, Yes", way) << QString(way) << true;
        QTest::addRow("%s, No", way) << QString(way) << false;
    }
}

void tst_startup::exitQuestion()
{
    QFETCH(QString, way);
    QFETCH(bool, yes);
    ScriptedDialogs dialogs;
    dialogs.answerMessage(yes ? dialogs::Answer::Yes : dialogs::Answer::No);
    frmMenu* menu = showMenu();
    screens::show(Screen::Appt);  // a day page left open behind the menu by digit key 1
    menu->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(menu));

    if (way == "mouse") {
        QTest::mousePress(menu->Option6, Qt::LeftButton);
    } else if (way == "Enter") {
        menu->Option6->setFocus();
        typeKey(Qt::Key_Return);
    } else if (way == "digit") {
        typeKey(Qt::Key_6);
    } else {
        menu->close();
    }
    settle();

    QCOMPARE(dialogs.messages.size(), 1);
    const dialogs::Prompt& p = dialogs.messages.first();
    QCOMPARE(p.text, QStringLiteral("Would you like to back-up your files now? Regular files back-up "
                                    "will minimize loss of data in case your hard disk crashes."));
    QCOMPARE(p.title, QStringLiteral("Back-up Files"));
    QCOMPARE(p.buttons, dialogs::Buttons::YesNo);
    QCOMPARE(p.icon, dialogs::Icon::Question);

    QVERIFY(!screens::loaded(Screen::Menu));
    QVERIFY(!screens::loaded(Screen::Appt));
    QCOMPARE(ExitAfterBackup, yes);
    QCOMPARE(ends_, yes ? 0 : 1);
    QCOMPARE(screens::loaded(Screen::Backup) != nullptr, yes);
}

void tst_startup::exitAfterBackupByEntry4_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("after");
    QTest::newRow("mouse clears it") << "mouse" << false;
    QTest::newRow("Enter clears it") << "Enter" << false;
    QTest::newRow("digit keeps it") << "digit" << true;
}

void tst_startup::exitAfterBackupByEntry4()
{
    QFETCH(QString, way);
    QFETCH(bool, after);
    ExitAfterBackup = true;
    frmMenu* menu = showMenu();
    if (way == "mouse") {
        QTest::mousePress(menu->Option4, Qt::LeftButton);
    } else if (way == "Enter") {
        menu->Option4->setFocus();
        typeKey(Qt::Key_Return);
    } else {
        typeKey(Qt::Key_4);
    }
    settle();
    QVERIFY(screens::loaded(Screen::Backup));
    QCOMPARE(ExitAfterBackup, after);
}

void tst_startup::readmeButton()
{
    frmMenu* menu = showMenu();
    QTest::mouseClick(menu->Command1, Qt::LeftButton);
    settle();
    QVERIFY(screens::loaded(Screen::Readme));
    QVERIFY(!screens::loaded(Screen::Menu));
}

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
