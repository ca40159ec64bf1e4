#include <QTest>
class Testdialogs : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_MAIN(Testdialogs)
#include "tst_dialogs.moc"
