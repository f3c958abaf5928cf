// Paint locks, which the page switches nest inside one another.
#include "platform/paintlock.h"

#include <QTest>
#include <QWidget>

class tst_platform : public QObject {
    Q_OBJECT

private slots:
    void paintLockNests()
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
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
