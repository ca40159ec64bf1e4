#include "model/DueStatus.h"

#include "model/DueDateText.h"

namespace DueStatus {

DueState of(const QString& dueText, const TaskCounts& counts, QDate today, const QLocale& locale)
{
    if (dueText.isEmpty())
        return DueState::None;
    const std::optional<QDate> due = DueDateText::parse(dueText, locale);
    if (!due)
        return DueState::Unreadable;
    if (counts.pending() <= 0)
        return DueState::OnTrack;
    if (*due < today)
        return DueState::Overdue;
    if (today >= due->addDays(-DueSoonDays))
        return DueState::DueSoon;
    return DueState::OnTrack;
}

QString words(DueState state)
{
    switch (state) {
    case DueState::Overdue:
        return QStringLiteral("overdue");
    case DueState::DueSoon:
        return QStringLiteral("due soon");
    default:
        return {};
    }
}

QString statusWords(const TaskCounts& counts, DueState state)
{
    if (counts.allDone())
        return QStringLiteral("all tasks completed");
    return words(state);
}

} // namespace DueStatus
