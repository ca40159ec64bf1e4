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
    for (int v = 0; v < 2; ++v) {
        QFile f(project + u".v"_s + QString::number(v));
        if (!f.open(QIODevice::ReadOnly))
            return 2;
        versions[v] = f.readAll();
    }
    std::puts("ready");
    std::fflush(stdout);
    for (unsigned i = 0;; ++i) {
        const QByteArray& bytes = versions[i % 2];
        if (!ProjectFile::write(project, bytes).ok() || !TextFile::saveBytes(tasks, bytes).ok())
            return 1;
    }
}
