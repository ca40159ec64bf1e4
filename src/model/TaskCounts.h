#pragma once

#include <QString>

// Counts of one task list: a line is a task unless it is empty or only blanks, and a
// task containing "--" anywhere is completed.
struct TaskCounts
{
    int total = 0;
    int completed = 0;

    int pending() const { return total - completed; }
    // Green when every task is done and there is at least one.
    bool allDone() const { return completed > 0 && pending() == 0; }

    static TaskCounts of(QStringView text);
};
