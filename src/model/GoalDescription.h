#pragma once

#include "model/DueStatus.h"
#include "model/TaskCounts.h"

#include <QString>

// A sub-goal in one sentence, for its panel's tooltip and for screen readers, which do not
// see the colours: "Paint: 3 of 5 tasks completed, 2 pending, due 15 Mar 2027, overdue".
namespace GoalDescription {

// The due text is said as stored, with a note when it is no date that can be read; an
// undated sub-goal has no due part.
inline QString of(const QString& name, const QString& dueText, const TaskCounts& counts,
                  DueState state)
{
    QString text = name + QStringLiteral(": ");
    if (counts.total == 0) {
        text += QStringLiteral("no tasks");
    } else {
        text += QStringLiteral("%1 of %2 %3 completed")
                    .arg(counts.completed)
                    .arg(counts.total)
                    .arg(counts.total == 1 ? QStringLiteral("task") : QStringLiteral("tasks"));
        text += counts.allDone() ? QStringLiteral(", all tasks completed")
                                 : QStringLiteral(", %1 pending").arg(counts.pending());
    }
    if (!dueText.isEmpty())
        text += QStringLiteral(", due ") + dueText;
    if (state == DueState::Unreadable)
        text += QStringLiteral(" (the date could not be read)");
    const QString said = DueStatus::words(state);
    if (!said.isEmpty())
        text += QStringLiteral(", ") + said;
    return text;
}

} // namespace GoalDescription
