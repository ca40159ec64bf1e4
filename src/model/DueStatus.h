#pragma once

#include "model/TaskCounts.h"

#include <QDate>
#include <QLocale>
#include <QString>

enum class DueState
{
    None,      // no due date
    OnTrack,   // dated, but not yet due soon, or nothing left to do
    DueSoon,   // pending tasks and at most DueSoonDays before the date
    Overdue,   // pending tasks and the date has passed
    Unreadable // a due text that is not a date: shown as stored
};

// How a sub-goal stands against its due date on a given day.
namespace DueStatus {

inline constexpr int DueSoonDays = 3;

// Only a sub-goal with pending tasks can be due soon or overdue. The text is read as
// DueDateText reads it.
DueState of(const QString& dueText, const TaskCounts& counts, QDate today,
            const QLocale& locale = QLocale());

// "overdue" or "due soon"; empty for every other state.
QString words(DueState state);

// What a panel or a report says about a sub-goal's state in words: "all tasks completed",
// "overdue", "due soon", or nothing.
QString statusWords(const TaskCounts& counts, DueState state);

} // namespace DueStatus
