// Edits a project in a loop the way a person would (sub-goals added, renamed and deleted,
// due dates set and cleared, tasks typed a character at a time) until it is killed. The
// edits go through the project model, and the recovery file is fed from the model's
// signals, as in the main window. Each state it reaches is logged before control goes
// back to the event loop, where the writer runs, so the crash test can check that the
// recovery file holds exactly one of them, and how old it is.
//
// Arguments: recovery file, log file, seed, writer interval in ms. The task files go to
// "tmp" beside the log. It starts from the recovery file when there is one, as a restored
// project would.
#include "components/RandomSource.h"
#include "model/Project.h"
#include "model/RecoveryFeed.h"
#include "storage/RecoveryFile.h"
#include "storage/TaskStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

class SeededRandom : public RandomSource
{
public:
    explicit SeededRandom(quint32 seed) : m_random(seed) {}
    quint32 bounded(quint32 bound) override
    {
        return bound == std::numeric_limits<quint32>::max() ? m_random.generate()
                                                            : m_random.bounded(bound + 1);
    }

private:
    QRandomGenerator m_random;
};

// The edits a user makes, as the window's handlers make them on the model.
class Editor
{
public:
    Editor(Project& project, quint32 seed) : m_project(project), m_random(seed) {}

    void edit()
    {
        Project& p = m_project;
        // Every key press marks the project modified before the edit lands.
        p.markEdited();
        const int pick = int(m_random.bounded(100));
        const int count = p.goalCount();
        const int any = count > 0 ? 1 + int(m_random.bounded(count)) : 0;
        if (count == 0 || (pick < 4 && !p.isFull())) {
            const int index = p.addGoal(u"Goal = %1 ü"_s.arg(m_random.bounded(1000)));
            p.setTasks(index, QString());
        } else if (pick < 6 && count > 1) {
            p.removeGoal(any);
        } else if (pick < 12) {
            p.renameGoal(any, p.goal(any).name + QChar(u'a' + char16_t(m_random.bounded(26))));
        } else if (pick < 16) {
            p.setDue(any, p.goal(any).due.isEmpty() ? u"12/%1/2026"_s.arg(1 + m_random.bounded(28))
                                                    : QString());
        } else if (pick < 18) {
            p.setName(p.name() + u'x');
        } else {
            typeKey(count);
        }
    }

private:
    // One key in the last sub-goal's list: a character, Enter, "--" or Backspace.
    void typeKey(int index)
    {
        QString text = m_project.tasks(index);
        const int key = int(m_random.bounded(40));
        if (key == 0)
            text += u'\n';
        else if (key == 1)
            text.chop(1);
        else if (key == 2)
            text += "--"_L1;
        else
            text += QChar(u'a' + char16_t(key % 26));
        m_project.setTasks(index, text);
    }

    Project& m_project;
    QRandomGenerator m_random;
};

ProjectData startingProject()
{
    ProjectData start{u"Kill test"_s, {}};
    for (int g = 1; g <= 3; ++g)
        start.goals.append({u"%1-start"_s.arg(g), u"Goal %1"_s.arg(g), {}, {u"one --"_s}});
    return start;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 5)
        return 2;
    const QString recoveryPath = QFile::decodeName(argv[1]);
    QFile log(QFile::decodeName(argv[2]));
    const quint32 seed = quint32(QByteArray(argv[3]).toUInt());
    const int intervalMs = QByteArray(argv[4]).toInt();
    // Unbuffered: a line is in the file once write() returns, whatever kills us after.
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return 2;
    const QString tasks = QFileInfo(log).dir().filePath(u"tmp"_s);
    if (!QDir(tasks).removeRecursively() || !QDir().mkpath(tasks))
        return 2;

    TaskStore store(tasks);
    SeededRandom keys(seed);
    Project project(store, keys);
    RecoverySnapshot start{startingProject(), u"/home/someone/My plans/Kill = test ✓.gpj"_s};
    const bool restored = QFile::exists(recoveryPath);
    if (restored) {
        auto recovered = RecoveryFile::read(recoveryPath);
        if (!recovered.ok())
            return 3;
        start = std::move(recovered.value);
    }
    project.load(start.projectFile, std::move(start.project));
    if (restored)
        project.markEdited();

    const ProjectFileWatcher noFile; // the project's file is not there to know
    RecoveryFeed feed(project, noFile, recoveryPath);
    feed.writer().setTiming(std::chrono::milliseconds(intervalMs),
                            std::chrono::milliseconds(intervalMs));
    QObject::connect(&feed.writer(), &RecoveryWriter::writeFailed, [](const QString& error) {
        std::fprintf(stderr, "recovery write failed: %s\n", qPrintable(error));
        QCoreApplication::exit(1);
    });
    Editor editor(project, seed);

    qint64 state = 0;
    QElapsedTimer clock;
    clock.start();
    // "state monotonic-ms hash-of-the-recovery-file-bytes"
    const auto record = [&] {
        const auto data = project.toProjectData();
        if (!data.ok())
            return false;
        const QByteArray hash =
            QCryptographicHash::hash(RecoveryFile::serialize({data.value, project.file()}),
                                     QCryptographicHash::Md5)
                .toHex();
        const QByteArray line = QByteArray::number(state) + ' ' +
                                QByteArray::number(clock.msecsSinceReference() + clock.elapsed()) +
                                ' ' + hash + '\n';
        return log.write(line) == line.size();
    };
    if (!record())
        return 2;
    std::printf("ready\n");
    std::fflush(stdout);

    QRandomGenerator gaps(seed ^ 0x5eedu);
    QTimer next;
    next.setSingleShot(true);
    next.setTimerType(Qt::PreciseTimer);
    QObject::connect(&next, &QTimer::timeout, [&] {
        editor.edit();
        ++state;
        if (!record())
            QCoreApplication::exit(2);
        // Bursts of typing with short and longer pauses between them.
        const int kind = int(gaps.bounded(100));
        next.start(kind < 70   ? int(gaps.bounded(15))
                   : kind < 95 ? 20 + int(gaps.bounded(60))
                               : 100 + int(gaps.bounded(200)));
    });
    next.start(0);
    return app.exec();
}
