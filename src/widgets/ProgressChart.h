#pragma once

#include "model/Forecast.h"

#include <QDate>
#include <QList>

class QChart;

// The burn-up chart of a history: total and completed tasks a day on a date axis, the due
// date as a vertical line, and the forecast as a dashed line to where the two meet. The
// window shows it and the report prints it.
namespace ProgressChart {

inline constexpr const char* Total = "Total tasks";
inline constexpr const char* Completed = "Completed";
inline constexpr const char* Due = "Due date";
inline constexpr const char* Ahead = "Forecast";
inline constexpr const char* AheadTotal = "Forecast total";

// A new chart the caller owns.
QChart* build(const QList<ProgressPoint>& points, const Forecast& forecast, QDate due);

} // namespace ProgressChart
