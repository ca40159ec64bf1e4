#pragma once

#include "model/DueStatus.h"
#include "model/TaskCounts.h"

#include <QString>

// A sub-goal in one sentence, for its panel's tooltip and for screen readers, which do not
// see the colours: "Paint: 3 of 5 tasks completed, 2 pending, due 15 Mar 2027, overdue".
namespace GoalDescription {

// The due text is said as stored, with a note when it is no date that can be read; an
// undated sub-goal has no due part.
QString of(const QString& name, const QString& dueText, const TaskCounts& counts, DueState state);

} // namespace GoalDescription
