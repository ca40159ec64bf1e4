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

void TaskCounts::add(QStringView line)
{
    if (isTask(line)) {
        ++total;
        completed += isCompleted(line);
    }
}

TaskCounts TaskCounts::of(QStringView text)
{
    TaskCounts counts;
    TextFile::forEachLine(text, [&counts](QStringView line) { counts.add(line); });
    return counts;
}

TaskCounts TaskCounts::ofLines(const QStringList& lines)
{
    TaskCounts counts;
    for (const QString& line : lines)
        counts.add(line);
    return counts;
}
