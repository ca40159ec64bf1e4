#include <QTest>
class Testdashboard : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_MAIN(Testdashboard)
#include "tst_dashboard.moc"
