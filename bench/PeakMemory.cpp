#include "PeakMemory.h"

#include "Fakes.h"

#include "app/MainWindow.h"
#include "dashboard/GoalPanel.h"

#include <QApplication>
#include <QFile>
#include <QProcess>

#include <cstdio>

namespace {

qint64 highWaterMarkKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

qint64 childPeak(const QString& program, const QString& mode, const QString& appDir, QString& error)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QString::fromLatin1(PeakMemoryChildFlag) + mode, appDir});
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        error = QStringLiteral("the %1 child failed (exit %2)").arg(mode).arg(child.exitCode());
        return -1;
    }
    const QByteArray out = child.readAllStandardOutput().trimmed();
    if (!out.startsWith("VmHWM ")) {
        error = QStringLiteral("the %1 child printed no peak").arg(mode);
        return -1;
    }
    return out.mid(6).toLongLong();
}

} // namespace

QString peakMemoryProjectPath(const QString& appDir)
{
    return appDir + QStringLiteral("/projects/rss.gpj");
}

PeakMemory measurePeakMemory(const QString& program, const QString& appDir)
{
    PeakMemory result;
    result.emptyKb = childPeak(program, QStringLiteral("empty"), appDir, result.error);
    if (result.error.isEmpty())
        result.fullKb = childPeak(program, QStringLiteral("full"), appDir, result.error);
    return result;
}

int runPeakMemoryChild(int argc, char** argv, const QString& mode, const QString& appDir)
{
    QApplication app(argc, argv);
    BenchPrompt prompt;
    BenchFolderOpener opener;
    CountingRandom random;
    MainWindow window(AppServices{Workspace(appDir), &prompt, &opener, &random});
    window.show();
    QCoreApplication::processEvents();
    if (mode == QLatin1String("full")) {
        prompt.projectToOpen = peakMemoryProjectPath(appDir);
        window.mnuOpen_Click();
        QCoreApplication::processEvents();
        if (!prompt.warnings.isEmpty() || window.subGoalNames().isEmpty()) {
            std::fprintf(stderr, "the project did not open: %s\n",
                         qPrintable(prompt.warnings.value(0)));
            return 1;
        }
    } else if (mode != QLatin1String("empty")) {
        std::fprintf(stderr, "unknown child mode %s\n", qPrintable(mode));
        return 2;
    }
    std::printf("VmHWM %lld\n", static_cast<long long>(highWaterMarkKb()));
    return 0;
}
