#pragma once

#include "components/TextFile.h"

#include <QString>
#include <QStringList>

// Counts of one task list: a line is a task unless it is empty or only blanks, and a
// task containing "--" anywhere is completed.
struct TaskCounts
{
    int total = 0;
    int completed = 0;

    int pending() const { return total - completed; }
    // Green when every task is done and there is at least one.
    bool allDone() const { return completed > 0 && pending() == 0; }

    bool operator==(const TaskCounts&) const = default;

    // "Tasks: 3", "Completed: 1", "Pending: 2": as the panel, the report and the export say it.
    QStringList captions() const
    {
        return {QStringLiteral("Tasks: ") + QString::number(total),
                QStringLiteral("Completed: ") + QString::number(completed),
                QStringLiteral("Pending: ") + QString::number(pending())};
    }

    static TaskCounts of(QStringView text)
    {
        TaskCounts counts;
        TextFile::forEachLine(text, [&counts](QStringView line) { counts.add(line); });
        return counts;
    }
    // The counts of a text after one change, from these counts of the text before it: only
    // the lines the change touches are counted again (a key release on a long list, bench
    // type_key row). removed characters at position gave way to inserted ones.
    TaskCounts changed(QStringView before, QStringView after, qsizetype position, qsizetype removed,
                       qsizetype inserted) const;
    // The same for lines already split, as a project file holds them.
    static TaskCounts ofLines(const QStringList& lines)
    {
        TaskCounts counts;
        for (const QString& line : lines)
            counts.add(line);
        return counts;
    }

    // The rule for one line; everything that shows a line as done asks here, so that what
    // is drawn as done is exactly what is counted.
    static bool isTask(QStringView line);
    static bool isCompleted(QStringView line) { return line.contains(u"--"); }

    // Mark Done over some lines: while any task among them is pending, each pending one gets
    // " --" at its end; when all are done, each loses every "--" and the blanks around it.
    static QStringList toggledDone(QStringList lines);

private:
    void add(QStringView line)
    {
        if (isTask(line)) {
            ++total;
            completed += isCompleted(line);
        }
    }
};
