#include "components/TextFile.h"
#include "support/CoreSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestComponents : public QObject
{
    Q_OBJECT

private slots:
    void splitting_data();
    void splitting();
    void decoding_data();
    void decoding();
    void saveAndLoad();
    void failedSaveKeepsTheOldFile();
};

void TestComponents::splitting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("final line end") << u"a\r\nb\r\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("no final line end") << u"a\r\nb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty middle piece")
        << u"a\r\n\r\nb"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("only a line end") << u"\r\n"_s << QStringList{QString()};
}

void TestComponents::splitting()
{
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    // Lines end at CR LF or LF alike.
    QCOMPARE(TextFile::splitLines(text), pieces);
    QCOMPARE(TextFile::splitLines(QString(text).replace(u"\r\n"_s, u"\n"_s)), pieces);
}

void TestComponents::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString accented = u"Caf\u00E9 \u20AC5\n\u00FCber"_s;
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
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBFx\r\ny") << u"x\ny"_s;
    QTest::newRow("utf-16le bom") << QByteArray("\xFF\xFEx\0\r\0\n\0", 8) << u"x\n"_s;
    QTest::newRow("lone cr kept") << QByteArray("a\rb") << u"a\rb"_s;
}

void TestComponents::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextFile::decode(bytes), text);
}

void TestComponents::saveAndLoad()
{
    TempAppFolder dir;
    const QString path = dir.file(u"t.txt"_s);
    const QString text = u"eins --\n\nzw\u00F6lf\u00A0x\n"_s;
    QVERIFY(TextFile::save(path, text).ok());
    QCOMPARE(fileBytes(path), QByteArray("eins --\r\n\r\nzw\xC3\xB6lf\xC2\xA0x\r\n"));
    QCOMPARE(TextFile::load(path).value, text);
    QCOMPARE(TextFile::loadLines(path).value,
             (QStringList{u"eins --"_s, QString(), u"zw\u00F6lf\u00A0x"_s}));
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"t.txt"_s});
    QVERIFY(!TextFile::load(dir.file(u"missing"_s)).ok());
}

void TestComponents::failedSaveKeepsTheOldFile()
{
    TempAppFolder dir;
    QDir().mkpath(dir.file(u"blocked.txt"_s));
    QVERIFY(!TextFile::save(dir.file(u"blocked.txt"_s), u"x"_s).ok());
    QVERIFY(!TextFile::save(dir.file(u"no/such/folder.txt"_s), u"x"_s).ok());

    // Writing through a link replaces the link, never the file it points at.
    const QString outside = dir.file(u"outside.txt"_s);
    writeFile(outside, "keep");
    QVERIFY(QFile::link(outside, dir.file(u"link.txt"_s)));
    QVERIFY(TextFile::save(dir.file(u"link.txt"_s), u"new"_s).ok());
    QCOMPARE(fileBytes(outside), QByteArray("keep"));
    QCOMPARE(fileBytes(dir.file(u"link.txt"_s)), QByteArray("new"));
}

QTEST_GUILESS_MAIN(TestComponents)
#include "tst_components.moc"
