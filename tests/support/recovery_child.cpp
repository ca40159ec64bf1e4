// Edits a project in a loop the way a person would (sub-goals added, renamed and deleted,
// due dates set and cleared, tasks typed a character at a time) until it is killed. Each
// state it reaches is logged before the recovery writer is told, so the crash test can
// check that the recovery file holds exactly one of them, and how old it is.
//
// Arguments: recovery file, log file, seed, writer interval in ms.
// It starts from the recovery file when there is one, as a restored project would.
#include "storage/RecoveryFile.h"
#include "storage/RecoveryWriter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The edits a user makes, on plain project data; what the window's model would do.
class Editor
{
public:
    Editor(RecoverySnapshot start, quint32 seed) : m_snapshot(std::move(start)), m_random(seed) {}

    const RecoverySnapshot& snapshot() const { return m_snapshot; }

    void edit()
    {
        QList<SubGoalRecord>& goals = m_snapshot.project.goals;
        const int pick = int(m_random.bounded(100));
        if (goals.isEmpty() || (pick < 4 && goals.size() < ProjectFile::MaxGoals)) {
            goals.append({u"k%1-%2"_s.arg(m_random.generate()).arg(goals.size()),
                          u"Goal = %1 ü"_s.arg(m_random.bounded(1000)),
                          {},
                          {}});
        } else if (pick < 6 && goals.size() > 1) {
            goals.removeAt(m_random.bounded(int(goals.size())));
        } else if (pick < 12) {
            SubGoalRecord& goal = goals[m_random.bounded(int(goals.size()))];
            goal.name += QChar(u'a' + char16_t(m_random.bounded(26)));
        } else if (pick < 16) {
            SubGoalRecord& goal = goals[m_random.bounded(int(goals.size()))];
            goal.due =
                goal.due.isEmpty() ? u"12/%1/2026"_s.arg(1 + m_random.bounded(28)) : QString();
        } else if (pick < 18) {
            m_snapshot.project.name += u'x';
        } else {
            typeKey(goals.last());
        }
    }

private:
    // One key: a character, Enter for a new line, or Backspace.
    void typeKey(SubGoalRecord& goal)
    {
        const int key = int(m_random.bounded(40));
        if (goal.tasks.isEmpty() || key == 0) {
            goal.tasks.append(QString());
        } else if (key == 1) {
            QString& last = goal.tasks.last();
            if (last.isEmpty())
                goal.tasks.removeLast();
            else
                last.chop(1);
        } else if (key == 2) {
            goal.tasks.last() += "--"_L1;
        } else {
            goal.tasks.last() += QChar(u'a' + char16_t(key % 26));
        }
    }

    RecoverySnapshot m_snapshot;
    QRandomGenerator m_random;
};

RecoverySnapshot startingProject()
{
    RecoverySnapshot start{{u"Kill test"_s, {}}, u"/home/someone/My plans/Kill = test ✓.gpj"_s};
    for (int g = 1; g <= 3; ++g)
        start.project.goals.append({u"%1-start"_s.arg(g), u"Goal %1"_s.arg(g), {}, {u"one --"_s}});
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

    RecoverySnapshot start = startingProject();
    bool modified = false;
    if (QFile::exists(recoveryPath)) {
        auto recovered = RecoveryFile::read(recoveryPath);
        if (!recovered.ok())
            return 3;
        start = std::move(recovered.value);
        modified = true;
    }
    Editor editor(std::move(start), seed);
    RecoveryWriter writer(recoveryPath, [&]() -> std::optional<RecoverySnapshot> {
        if (!modified)
            return std::nullopt;
        return editor.snapshot();
    });
    writer.setTiming(std::chrono::milliseconds(intervalMs), std::chrono::milliseconds(intervalMs));
    QObject::connect(&writer, &RecoveryWriter::writeFailed, [](const QString& error) {
        std::fprintf(stderr, "recovery write failed: %s\n", qPrintable(error));
        QCoreApplication::exit(1);
    });

    qint64 state = 0;
    QElapsedTimer clock;
    clock.start();
    // "state monotonic-ms hash-of-the-recovery-file-bytes"
    const auto record = [&] {
        const QByteArray hash = QCryptographicHash::hash(RecoveryFile::serialize(editor.snapshot()),
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
        modified = true;
        ++state;
        if (!record())
            QCoreApplication::exit(2);
        writer.touch();
        // Bursts of typing with short and longer pauses between them.
        const int kind = int(gaps.bounded(100));
        next.start(kind < 70   ? int(gaps.bounded(15))
                   : kind < 95 ? 20 + int(gaps.bounded(60))
                               : 100 + int(gaps.bounded(200)));
    });
    next.start(0);
    return app.exec();
}
