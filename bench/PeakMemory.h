#pragma once

#include <QString>

// Peak resident memory of this program run again in a child process, once with an empty
// project and once with a project opened, so that neither sees the other's heap.
struct PeakMemory
{
    qint64 emptyKb = -1;
    qint64 fullKb = -1;
    QString error;
};

inline constexpr const char* PeakMemoryChildFlag = "--rss-child=";

// appDir holds imgs/ and projects/rss.gpj.
PeakMemory measurePeakMemory(const QString& program, const QString& appDir);
// The child: mode is "empty" or "full"; prints "VmHWM <kB>" and returns 0 on success.
int runPeakMemoryChild(int argc, char** argv, const QString& mode, const QString& appDir);
QString peakMemoryProjectPath(const QString& appDir);
