#include "support/CoreSupport.h"

#include "support/TestPaths.h"

#include <QProcess>

TempAppFolder::TempAppFolder()
{
    for (const QString& name : {u"greencircle.gif"_s, u"bluecircle.gif"_s})
        writeFile(m_dir.filePath(u"imgs/"_s + name),
                  fileBytes(QStringLiteral(AIMWELL_SOURCE_DIR "/imgs/") + name));
}

quint32 FakeRandom::bounded(quint32 bound)
{
    bounds.append(bound);
    return m_next < draws.size() ? qMin(draws.at(m_next++), bound) : m_counter++ % (bound + 1);
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

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}
