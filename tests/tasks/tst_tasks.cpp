#include <QTest>
class Testtasks : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_MAIN(Testtasks)
#include "tst_tasks.moc"
