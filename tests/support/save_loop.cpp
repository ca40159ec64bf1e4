// Saves a project file and a task file over and over, alternating two versions, until
// it is killed. Used to prove that a kill never leaves a torn file.
#include "components/TextFile.h"
#include "storage/ProjectFile.h"

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
    std::puts("ready");
    std::fflush(stdout);
    for (unsigned i = 0;; ++i) {
        if (!ProjectFile::save(project, projects[i % 2]).ok() ||
            !TextFile::saveBytes(tasks, versions[i % 2]).ok())
            return 1;
    }
}
