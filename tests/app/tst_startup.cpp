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
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class tst_startup : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ends_ = 0;
        program::setEndHandler([this] { ++ends_; });
        ExitAfterBackup = false;
    }

    void cleanup()
    {
        closeAllScreens();
        program::setEndHandler(nullptr);
    }

    void splash_data()
    {
        QTest::addColumn<int>("key");  // 0: a right click on a label, which reaches the frame beneath it
        QTest::addColumn<bool>("dismisses");
        QTest::newRow("letter") << int(Qt::Key_A) << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << true;
        QTest::newRow("arrow") << int(Qt::Key_Left) << false;
        QTest::newRow("function key") << int(Qt::Key_F1) << false;
        QTest::newRow("Shift alone") << int(Qt::Key_Shift) << false;
        QTest::newRow("right click on a label") << 0 << true;
    }

    void splash()
    {
        QFETCH(int, key);
        QFETCH(bool, dismisses);
        auto* splash = static_cast<frmSplash*>(screens::show(Screen::Splash));
        QVERIFY(QTest::qWaitForWindowActive(splash));
        // The menu is made by the splash but not shown.
        QVERIFY(screens::loaded(Screen::Menu));
        QVERIFY(!screens::loaded(Screen::Menu)->isVisible());
        if (key)
            typeKey(Qt::Key(key));
        else
            QTest::mousePress(splash->lblVersion, Qt::RightButton);
        settle();
        QCOMPARE(screens::loaded(Screen::Splash) == nullptr, dismisses);
        auto* menu = static_cast<frmMenu*>(screens::loaded(Screen::Menu));
        QCOMPARE(menu->isVisible(), dismisses);
        if (dismisses) {
            QVERIFY(QTest::qWaitForWindowActive(menu));
            QCOMPARE(QApplication::focusWidget(), menu->Option1);
        }
    }

    void menuEntries_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("screen");
        QTest::addColumn<bool>("menuStays");
        QTest::addColumn<bool>("exitAfterBackup");  // set by the menu's Exit before; entry 4 clears it but by digit
        QTest::newRow("1 by mouse") << 1 << "mouse" << int(Screen::Appt) << false << true;
        QTest::newRow("2 by right mouse") << 2 << "right mouse" << int(Screen::Setup) << false << true;
        QTest::newRow("3 by Enter") << 3 << "Enter" << int(Screen::Configure) << false << true;
        QTest::newRow("4 by Space") << 4 << "Space" << int(Screen::Backup) << false << false;
        QTest::newRow("1 by digit") << 1 << "digit" << int(Screen::Appt) << true << true;
        QTest::newRow("4 by digit") << 4 << "digit" << int(Screen::Backup) << true << true;
        QTest::newRow("2 by digit, the menu not active") << 2 << "digit, inactive" << int(Screen::Setup) << true << true;
        for (int entry : {1, 2, 3, 4, 6})
            QTest::addRow("%d on the keypad", entry) << entry << "keypad" << -1 << true << true;
        // Exit asks whether to back up first, with the day page open behind the menu: Yes leads
        // to the backup screen, No ends the program.
        QTest::newRow("Exit by mouse, Yes") << 6 << "mouse" << int(Screen::Backup) << false << true;
        QTest::newRow("Exit by Enter, No") << 6 << "Enter" << -1 << false << false;
        QTest::newRow("Exit by digit, Yes") << 6 << "digit" << int(Screen::Backup) << false << true;
        QTest::newRow("Exit by the close box, Yes") << 6 << "close box" << int(Screen::Backup) << false << true;
    }

    void menuEntries()
    {
        QFETCH(int, entry);
        QFETCH(QString, way);
        QFETCH(int, screen);
        QFETCH(bool, menuStays);
        QFETCH(bool, exitAfterBackup);
        const bool exit = entry == 6 && way != "keypad";
        ScriptedDialogs dialogs;
        dialogs.answerMessage(screen >= 0 ? dialogs::Answer::Yes : dialogs::Answer::No);
        ExitAfterBackup = !exit;  // as the menu's Exit left it before
        frmMenu* menu = showScreen<frmMenu>(Screen::Menu);
        if (exit) {
            screens::show(Screen::Appt);  // a day page left open behind the menu by digit key 1
            menu->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(menu));
        }
        const QList<QRadioButton*> options{menu->Option1, menu->Option2, menu->Option3, menu->Option4,
                                           menu->Option6, menu->Option6};
        choose(menu, options[entry - 1], way, Qt::Key(Qt::Key_0 + entry));
        for (Screen other : {Screen::Appt, Screen::Setup, Screen::Configure, Screen::Backup})
            QCOMPARE(screens::loaded(other) && screens::loaded(other)->isVisible(), int(other) == screen);
        QVERIFY(!exit || !screens::loaded(Screen::Appt));
        QCOMPARE(screens::loaded(Screen::Menu) != nullptr, menuStays);
        QCOMPARE(ExitAfterBackup, exitAfterBackup);
        QCOMPARE(ends_, exit && screen < 0 ? 1 : 0);
        QCOMPARE(dialogs.messages.size(), exit ? 1 : 0);
        if (exit) {
            QCOMPARE(dialogs.messages[0].text, QStringLiteral("Would you like to back-up your files now? Regular files "
                                                              "back-up will minimize loss of data in case your hard disk "
                                                              "crashes."));
            QCOMPARE(dialogs.messages[0].buttons, dialogs::Buttons::YesNo);
        }
    }

private:
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Chooses a menu entry as a user may: "mouse", "right mouse", "Enter", "Space", "digit" or,
    // for Exit, "close box". A digit on the keypad is no choice. After a dialog closes, the window
    // system may hand keys to a window Qt does not count as active ("digit, inactive"): the form
    // still sees them first.
    static void choose(frmMenu* menu, QRadioButton* option, const QString& way, Qt::Key digit)
    {
        if (way == "mouse" || way == "right mouse") {
            QTest::mousePress(option, way == "mouse" ? Qt::LeftButton : Qt::RightButton);
        } else if (way == "digit") {
            typeKey(digit);
        } else if (way == "keypad") {
            typeKey(digit, Qt::KeypadModifier);
        } else if (way == "digit, inactive") {
            QWidget other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            QVERIFY(QApplication::focusWidget() != menu->focusWidget());
            QTest::keyClick(menu->focusWidget(), digit);
        } else if (way == "close box") {
            menu->close();
        } else {
            option->setFocus();
            typeKey(way == "Enter" ? Qt::Key_Return : Qt::Key_Space);
        }
        settle();
    }

    int ends_ = 0;
};

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
