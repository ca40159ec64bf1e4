#include "support/CoreSupport.h"

#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTest>

TempAppFolder::TempAppFolder()
{
    QDir().mkpath(m_dir.filePath(u"imgs"_s));
    for (const char* name : {"greencircle.gif", "bluecircle.gif"}) {
        const QString file = QString::fromLatin1(name);
        QFile::copy(QStringLiteral(AIMWELL_SOURCE_DIR "/imgs/") + file,
                    m_dir.filePath(u"imgs/"_s + file));
    }
}

quint32 FakeRandom::bounded(quint32 bound)
{
    bounds.append(bound);
    if (m_next < draws.size())
        return qMin(draws.at(m_next++), bound);
    return (m_counter++) % (bound + 1);
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}
