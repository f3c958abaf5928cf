#include <QTest>
class tst_placeholder : public QObject { Q_OBJECT private slots: void t() {} };
QTEST_MAIN(tst_placeholder)
#include "tst_placeholder.moc"
