#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "components/Tools.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestComponents : public QObject
{
    Q_OBJECT

private slots:
    void splitToList_data();
    void splitToList();
    void fileExistsTellsFilesFromFolders();
    void randomNumberStaysWithinBound();
    void decodeReadsBothEncodingsAndLineEnds_data();
    void decodeReadsBothEncodingsAndLineEnds();
    void saveWritesUtf8WithCrLfAndLoadGivesTheTextBack();
    void loadLinesDropsOnlyTheFinalLineEnd();
    void failedSaveKeepsTheOldFile();
};

void TestComponents::splitToList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("pieces");
    const QString crlf = QStringLiteral("\r\n");
    QTest::newRow("empty text") << QString() << QString() << QStringList();
    QTest::newRow("final line end") << QStringLiteral("a\r\nb\r\n") << QString()
                                    << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("no final line end") << QStringLiteral("a\r\nb") << QString()
                                       << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("empty middle piece kept")
        << QStringLiteral("a\r\n\r\nb") << QString()
        << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("only a line end") << crlf << QString() << QStringList{QString()};
    QTest::newRow("filter") << QStringLiteral("x --\r\ny - z\r\n--\r\n") << QStringLiteral("--")
                            << QStringList{QStringLiteral("x --"), QStringLiteral("--")};
}

void TestComponents::splitToList()
{
    QFETCH(QString, text);
    QFETCH(QString, filter);
    QFETCH(QStringList, pieces);
    QCOMPARE(Tools::splitToList(text, QStringLiteral("\r\n"), filter), pieces);
    QCOMPARE(Tools::splitToList(QStringLiteral("name\u00A8key"), QStringLiteral("\u00A8")),
             (QStringList{QStringLiteral("name"), QStringLiteral("key")}));
}

void TestComponents::fileExistsTellsFilesFromFolders()
{
    TempAppFolder dir;
    QFile(dir.file(QStringLiteral("f.txt"))).open(QIODevice::WriteOnly);
    QVERIFY(Tools::fileExists(dir.file(QStringLiteral("f.txt")), false));
    QVERIFY(!Tools::fileExists(dir.file(QStringLiteral("f.txt")), true));
    QVERIFY(Tools::fileExists(dir.path() + QStringLiteral("/imgs/"), true));
    QVERIFY(!Tools::fileExists(dir.file(QStringLiteral("imgs")), false));
    QVERIFY(!Tools::fileExists(dir.file(QStringLiteral("missing")), false));
}

void TestComponents::randomNumberStaysWithinBound()
{
    SystemRandomSource random;
    bool sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        const int n = Tools::randomNumber(9, random);
        QVERIFY(n >= 0 && n <= 9);
        sawHigh = sawHigh || n == 9;
    }
    QVERIFY(sawHigh);
}

void TestComponents::decodeReadsBothEncodingsAndLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString accented = QStringLiteral("Caf\u00E9 \u20AC5\n\u00FCber");
    QTest::newRow("utf-8 crlf") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC"
                                              "5\r\n\xC3\xBC"
                                              "ber")
                                << accented;
    QTest::newRow("utf-8 lf") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC"
                                            "5\n\xC3\xBC"
                                            "ber")
                              << accented;
    QTest::newRow("windows-1252 crlf") << QByteArray("Caf\xE9 \x80"
                                                     "5\r\n\xFC"
                                                     "ber")
                                       << accented;
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBFx\r\ny") << QStringLiteral("x\ny");
    QTest::newRow("utf-16le bom") << QByteArray("\xFF\xFEx\0\r\0\n\0", 8) << QStringLiteral("x\n");
    QTest::newRow("lone cr kept") << QByteArray("a\rb") << QStringLiteral("a\rb");
}

void TestComponents::decodeReadsBothEncodingsAndLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextFile::decode(bytes), text);
}

void TestComponents::saveWritesUtf8WithCrLfAndLoadGivesTheTextBack()
{
    TempAppFolder dir;
    const QString path = dir.file(QStringLiteral("t.txt"));
    const QString text = QStringLiteral("eins --\n\nzw\u00F6lf\u00A0x\n");
    QVERIFY(TextFile::save(path, text).ok());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("eins --\r\n\r\nzw\xC3\xB6lf\xC2\xA0x\r\n"));
    QCOMPARE(TextFile::load(path).value, text);
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("t.txt")});
    QVERIFY(!TextFile::load(dir.file(QStringLiteral("missing"))).ok());
}

void TestComponents::loadLinesDropsOnlyTheFinalLineEnd()
{
    TempAppFolder dir;
    const QString path = dir.file(QStringLiteral("t.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("a\r\n\r\nb\nc\r\n");
    file.close();
    QCOMPARE(
        TextFile::loadLines(path).value,
        (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QStringLiteral("c")}));
    QCOMPARE(TextFile::splitLines(QStringLiteral("x\n\n")),
             (QStringList{QStringLiteral("x"), QString()}));
    QCOMPARE(TextFile::splitLines(QString()), QStringList());
}

void TestComponents::failedSaveKeepsTheOldFile()
{
    TempAppFolder dir;
    QDir().mkpath(dir.file(QStringLiteral("blocked.txt")));
    QVERIFY(!TextFile::save(dir.file(QStringLiteral("blocked.txt")), QStringLiteral("x")).ok());
    QVERIFY(
        !TextFile::save(dir.file(QStringLiteral("no/such/folder.txt")), QStringLiteral("x")).ok());

    // Writing through a link replaces the link, never the file it points at.
    const QString outside = dir.file(QStringLiteral("outside.txt"));
    QVERIFY(TextFile::save(outside, QStringLiteral("keep")).ok());
    QVERIFY(QFile::link(outside, dir.file(QStringLiteral("link.txt"))));
    QVERIFY(TextFile::save(dir.file(QStringLiteral("link.txt")), QStringLiteral("new")).ok());
    QCOMPARE(TextFile::load(outside).value, QStringLiteral("keep"));
    QCOMPARE(TextFile::load(dir.file(QStringLiteral("link.txt"))).value, QStringLiteral("new"));
}

QTEST_GUILESS_MAIN(TestComponents)
#include "tst_components.moc"
