#include <QTest>
class Teststorage : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_MAIN(Teststorage)
#include "tst_storage.moc"
