#include <QTest>
class Testapp : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_MAIN(Testapp)
#include "tst_app.moc"
