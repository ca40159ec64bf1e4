// Saves a project file and a task file over and over, alternating two versions, until
// it is killed. Used to prove that a kill never leaves a torn file.
#include "components/TextFile.h"
#include "storage/ProjectFile.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    const QString project = QFile::decodeName(argv[1]);
    const QString tasks = QFile::decodeName(argv[2]);
    QByteArray versions[2];
    ProjectData projects[2];
    for (int v = 0; v < 2; ++v) {
        QFile f(project + u".v"_s + QString::number(v));
        if (!f.open(QIODevice::ReadOnly))
            return 2;
        versions[v] = f.readAll();
        // Saved the way the program saves, streamed; the bytes must be what it writes.
        auto parsed = ProjectFile::parse(versions[v]);
        if (!parsed.ok() || ProjectFile::serialize(parsed.value) != versions[v])
            return 2;
        projects[v] = std::move(parsed.value);
    }
    // One save timed aside, so the test can spread its kills over a whole save however
    // slow this build is (sanitizers make it many times slower).
    QElapsedTimer timer;
    timer.start();
    if (!ProjectFile::save(project + u".probe"_s, projects[0]).ok())
        return 2;
    std::printf("ready %lld\n", static_cast<long long>(timer.elapsed()));
    std::fflush(stdout);
    // Start with the version not on disk, so that every finished save changes the file.
    QFile current(project);
    const unsigned first = current.open(QIODevice::ReadOnly) && current.readAll() == versions[0];
    current.close();
    for (unsigned i = first;; ++i) {
        if (!ProjectFile::save(project, projects[i % 2]).ok() ||
            !TextFile::saveBytes(tasks, versions[i % 2]).ok())
            return 1;
    }
}
