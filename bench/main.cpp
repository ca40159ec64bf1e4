#include "Benchmarks.h"
#include "HistoryBench.h"
#include "PeakMemory.h"
#include "Ratios.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/mman.h>

namespace {

// The offscreen platform warns about every window it cannot resize by hints; that and
// the runtime folder notice would bury the timings.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg || type == QtDebugMsg || type == QtInfoMsg) {
        if (message.contains(QLatin1String("propagateSizeHints")) ||
            message.contains(QLatin1String("XDG_RUNTIME_DIR")))
            return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Fresh memory is slow to fault in on some virtual machines, which weighs on every path
// that allocates large buffers; the figure is printed so runs on different machines can
// be told apart.
double pageFaultMicroseconds()
{
    constexpr std::size_t size = 16 << 20;
    QElapsedTimer timer;
    timer.start();
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return -1;
    for (std::size_t offset = 0; offset < size; offset += 4096)
        static_cast<volatile char*>(memory)[offset] = 1;
    const double elapsed = double(timer.nsecsElapsed()) / 1e3;
    munmap(memory, size);
    return elapsed / double(size / 4096);
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietMessages);
    // Windows are created and painted, but never on a real screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    if (argc == 3 &&
        std::strncmp(argv[1], PeakMemoryChildFlag, std::strlen(PeakMemoryChildFlag)) == 0) {
        int childArgc = 1;
        return runPeakMemoryChild(
            childArgc, argv, QString::fromLocal8Bit(argv[1] + std::strlen(PeakMemoryChildFlag)),
            QString::fromLocal8Bit(argv[2]));
    }

    QApplication app(argc, argv);
    // The repetitions of all rows run in a shuffled order, so that a row and its baseline meet
    // the same machine state: on a shared machine a slow spell of seconds would otherwise
    // fall on one of them only. A later flag on the command line still overrides it.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;

    Fixture fixture;
    if (!fixture.folder.isValid()) {
        std::fprintf(stderr, "aimwell_bench: %s\n", qPrintable(fixture.folder.error()));
        return 1;
    }
    std::printf("project file: %lld bytes (%d sub-goals x %d tasks); key release list %d lines\n",
                static_cast<long long>(fixture.projectBytes()), BenchSize::Goals,
                BenchSize::TasksPerGoal, BenchSize::KeyReleaseLines);
    std::printf("this machine: %.2f us to fault in one fresh 4 KiB page\n",
                pageFaultMicroseconds());
    std::fflush(stdout);

    registerBenchmarks(fixture);
    registerHistoryBenchmarks(fixture);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // A separate folder, so the children's task files do not meet the benchmarks' ones.
    AppFolder rssFolder;
    if (rssFolder.isValid())
        QFile::copy(fixture.projectPath, peakMemoryProjectPath(rssFolder.path()));
    const PeakMemory memory =
        rssFolder.isValid()
            ? measurePeakMemory(QCoreApplication::applicationFilePath(), rssFolder.path())
            : PeakMemory{-1, -1, rssFolder.error()};

    printRatioTable({reporter, memory, fixture.projectBytes(), fixture.mainWindowWidgets,
                     fixture.historyBytes, fixture.historySteps});
    printHistoryRatios(reporter);
    benchmark::Shutdown();
    // Misses are findings, not failures of the program.
    return 0;
}
