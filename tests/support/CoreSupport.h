#pragma once

#include "components/Clock.h"
#include "components/RandomSource.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// An application folder of its own for each test, with the status pictures beside it.
class TempAppFolder
{
public:
    TempAppFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
};

class FakeRandom : public RandomSource
{
public:
    QList<quint32> draws;  // handed out in turn, then counting upwards
    QList<quint32> bounds; // every bound asked for
    quint32 bounded(quint32 bound) override;

private:
    int m_next = 0;
    quint32 m_counter = 0;
};

// A day that a test sets.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDate date) : m_date(date) {}
    QDate today() const override { return m_date; }
    void set(QDate date) { m_date = date; }

private:
    QDate m_date;
};

// A file's bytes, or "<missing>".
QByteArray fileBytes(const QString& path);
// Writes a file whole, making its folder when needed.
void writeFile(const QString& path, const QByteArray& bytes);
// A tool's standard output, or "" when it failed.
QString runTool(const QString& program, const QStringList& arguments);
