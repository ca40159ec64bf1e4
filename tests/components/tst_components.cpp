#include "components/TextFile.h"
#include "support/CoreSupport.h"

class TestComponents : public QObject
{
    Q_OBJECT

private slots:
    // Lines end at CR LF or LF alike; old files are Windows-1252 unless marked otherwise.
    void readingLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QByteArray() << QStringList();
        QTest::newRow("final line end") << "a\r\nb\r\n"_ba << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("lf, empty middle") << "a\n\nb"_ba << QStringList{u"a"_s, {}, u"b"_s};
        QTest::newRow("only a line end") << "\r\n"_ba << QStringList{QString()};
        QTest::newRow("windows-1252") << "Caf\xE9 \x80\x35\r\n\xFC\x62\x65r"_ba
                                      << QStringList{u"Caf\u00E9 \u20AC5"_s, u"\u00FCber"_s};
        QTest::newRow("utf-8 bom") << "\xEF\xBB\xBFx\r\ny"_ba << QStringList{u"x"_s, u"y"_s};
        QTest::newRow("utf-16le bom")
            << QByteArray("\xFF\xFEx\0\r\0\n\0", 8) << QStringList{u"x"_s};
        QTest::newRow("lone cr kept") << "a\rb"_ba << QStringList{u"a\rb"_s};
    }
    void readingLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(TextFile::splitLines(TextFile::decode(bytes)), lines);
    }

    void saveAndLoad()
    {
        TempAppFolder dir;
        const QString path = dir.file(u"t.txt"_s), text = u"eins --\n\nzw\u00F6lf\u00A0x\n"_s;
        QVERIFY(TextFile::save(path, text).ok());
        QCOMPARE(fileBytes(path), "eins --\r\n\r\nzw\xC3\xB6lf\xC2\xA0x\r\n"_ba);
        QCOMPARE(TextFile::load(path).value, text);
        QVERIFY(!TextFile::load(dir.file(u"missing"_s)).ok());
        // Writing through a link replaces the link, never the file it points at.
        writeFile(dir.file(u"outside.txt"_s), "keep");
        QVERIFY(QFile::link(dir.file(u"outside.txt"_s), dir.file(u"link.txt"_s)));
        QVERIFY(TextFile::save(dir.file(u"link.txt"_s), u"new"_s).ok());
        QCOMPARE(fileBytes(dir.file(u"outside.txt"_s)), "keep"_ba);
        QCOMPARE(fileBytes(dir.file(u"link.txt"_s)), "new"_ba);
        // A failed save leaves nothing behind, and no temporary file is left beside the saved.
        QDir().mkpath(dir.file(u"blocked.txt"_s));
        QVERIFY(!TextFile::save(dir.file(u"blocked.txt"_s), u"x"_s).ok());
        QVERIFY(!TextFile::save(dir.file(u"no/such/folder.txt"_s), u"x"_s).ok());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{u"blocked.txt"_s, u"imgs"_s, u"link.txt"_s, u"outside.txt"_s,
                              u"t.txt"_s}));
    }
};

QTEST_GUILESS_MAIN(TestComponents)
#include "tst_components.moc"
