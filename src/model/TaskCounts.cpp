#include "model/TaskCounts.h"

#include "components/TextFile.h"

QStringList TaskCounts::captions() const
{
    return {QStringLiteral("Tasks: ") + QString::number(total),
            QStringLiteral("Completed: ") + QString::number(completed),
            QStringLiteral("Pending: ") + QString::number(pending())};
}

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
    return line.contains(u"--");
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
