#include "model/TaskCounts.h"

#include "components/TextFile.h"

bool TaskCounts::isTask(QStringView line)
{
    for (const QChar c : line) {
        if (c != u' ' && c != u'\t' && c != u'\r')
            return true;
    }
    return false;
}

bool TaskCounts::isCompleted(QStringView line)
{
    // This runs over every line on each key release. Qt's search for one character is
    // vectorised, and most lines hold no hyphen at all.
    for (qsizetype i = line.indexOf(u'-'); i >= 0 && i + 1 < line.size();
         i = line.indexOf(u'-', i + 2)) {
        if (line[i + 1] == u'-')
            return true;
    }
    return false;
}

TaskCounts TaskCounts::of(QStringView text)
{
    TaskCounts counts;
    TextFile::forEachLine(text, [&](QStringView line) {
        if (!isTask(line))
            return;
        ++counts.total;
        counts.completed += isCompleted(line);
    });
    return counts;
}

TaskCounts TaskCounts::ofLines(const QStringList& lines)
{
    TaskCounts counts;
    for (const QString& line : lines) {
        if (!isTask(line))
            continue;
        ++counts.total;
        counts.completed += isCompleted(line);
    }
    return counts;
}
