#include "model/GoalDescription.h"

namespace GoalDescription {

QString of(const QString& name, const QString& dueText, const TaskCounts& counts, DueState state)
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
