// The platform stand-ins the screens rely on: paint locks and key codes.
#include "platform/keys.h"
#include "platform/paintlock.h"

#include <QKeyEvent>
#include <QTest>
#include <QWidget>

class tst_platform : public QObject {
    Q_OBJECT

private slots:
    void paintLockNests();
    void keyCodes_data();
    void keyCodes();
};

void tst_platform::paintLockNests()
{
    QWidget window;
    auto* child = new QWidget(&window);
    {
        PaintLock outer(&window);
        {
            PaintLock inner(child);
            PaintLock again(&window);
            QVERIFY(!child->updatesEnabled());
        }
        // The child waits for its window.
        QVERIFY(!window.updatesEnabled());
        QVERIFY(!child->updatesEnabled());
    }
    QVERIFY(window.updatesEnabled());
    QVERIFY(child->updatesEnabled());
    {
        PaintLock alone(child);
        QVERIFY(!child->updatesEnabled());
    }
    QVERIFY(child->updatesEnabled());
}

void tst_platform::keyCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("ascii");
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << 65 << int('a');
    QTest::newRow("capital") << int(Qt::Key_A) << int(Qt::ShiftModifier) << "A" << 65 << int('A');
    QTest::newRow("main-row 1") << int(Qt::Key_1) << 0 << "1" << 49 << int('1');
    QTest::newRow("keypad 1") << int(Qt::Key_1) << int(Qt::KeypadModifier) << "1" << 97 << int('1');
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << 13 << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13 << 13;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << "\t" << 9 << 9;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << "" << 27 << 27;
    QTest::newRow("Left") << int(Qt::Key_Left) << 0 << "" << 37 << 0;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 0 << "" << 34 << 0;
    QTest::newRow("F12") << int(Qt::Key_F12) << 0 << "" << 123 << 0;
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << "\x0f" << 79 << 0;
    QTest::newRow("accented") << int(Qt::Key_Eacute) << 0 << "\u00e9" << 0 << 0xe9;
}

void tst_platform::keyCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    QFETCH(int, ascii);
    const QKeyEvent e(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QCOMPARE(keys::keyCode(&e), code);
    QCOMPARE(keys::keyAscii(&e), ascii);
}

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
