#include "model/Forecast.h"

#include "model/DueDateText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString days(qint64 n)
{
    return n == 1 ? u"1 day"_s : u"%1 days"_s.arg(n);
}

QString finishSentence(QDate finish, QDate due)
{
    QString text = u"At this pace: all tasks done by "_s + Forecast::dateText(finish);
    if (due.isValid()) {
        const qint64 late = due.daysTo(finish);
        if (late == 0)
            text += u", on the due date"_s;
        else
            text += u", %1 %2 the due date"_s.arg(days(std::abs(late)),
                                                  late > 0 ? u"after"_s : u"before"_s);
    }
    return text + u'.';
}

} // namespace

QList<ProgressPoint> Forecast::series(const QList<HistoryRow>& rows, const QString& key)
{
    QList<ProgressPoint> points;
    for (const HistoryRow& row : rows) {
        if (!key.isEmpty() && row.key != key)
            continue;
        // The rows come in date order.
        if (points.isEmpty() || points.last().date != row.date)
            points.append({row.date, 0, 0});
        points.last().total += row.total;
        points.last().completed += row.completed;
    }
    return points;
}

Forecast Forecast::of(const QList<ProgressPoint>& points, QDate today, QDate due)
{
    Forecast f;
    if (points.isEmpty()) {
        f.sentence = u"No history yet: each save records the day's counts."_s;
        return f;
    }
    f.from = points.last();
    if (points.size() == 1) {
        f.kind = Kind::OneDay;
        f.sentence = u"Only one day of history: save on another day for a forecast."_s;
        return f;
    }
    if (f.from.total == 0) {
        f.kind = Kind::NoTasks;
        f.sentence = u"No tasks yet: no forecast."_s;
        return f;
    }
    if (f.from.completed >= f.from.total) {
        f.kind = Kind::AllDone;
        f.sentence = u"All tasks done."_s;
        return f;
    }
    // The pace since the last point on or before the window's start, or since the first.
    const QDate start = today.addDays(-PaceDays);
    const auto after = std::find_if(points.begin(), points.end(),
                                    [start](const ProgressPoint& p) { return p.date > start; });
    const ProgressPoint base = after == points.begin() ? points.first() : *(after - 1);
    const qint64 span = base.date.daysTo(f.from.date);
    if (span <= 0 || f.from.completed <= base.completed) {
        f.kind = Kind::NoProgress;
        f.sentence = u"No tasks completed in the last %1 days: no forecast yet."_s.arg(PaceDays);
        return f;
    }
    f.pace = double(f.from.completed - base.completed) / double(span);
    f.scopePace = std::max(0.0, double(f.from.total - base.total) / double(span));
    if (f.pace <= f.scopePace) {
        f.kind = Kind::ScopeGrowing;
        f.sentence = u"Tasks are added as fast as they are completed or faster: at this pace "
                     u"they will not all be done."_s;
        return f;
    }
    const double left = double(f.from.total - f.from.completed) / (f.pace - f.scopePace);
    if (left > HorizonDays) {
        f.kind = Kind::TooFar;
        f.sentence = u"At this pace: all tasks done in more than ten years."_s;
        return f;
    }
    const qint64 finishDays = qint64(std::ceil(left - 1e-9));
    f.kind = Kind::Finish;
    f.finish = f.from.date.addDays(finishDays);
    f.finishTotal = f.from.total + f.scopePace * double(finishDays);
    f.sentence = finishSentence(f.finish, due);
    return f;
}

QString Forecast::dateText(QDate date)
{
    return QLocale::c().toString(date, u"d MMM yyyy"_s);
}

QDate Forecast::dueOf(const QList<SubGoalRecord>& goals, const QString& key, const QLocale& locale)
{
    QDate due;
    for (const SubGoalRecord& goal : goals) {
        if (key.isEmpty() || goal.key == key)
            due = std::max(due, DueDateText::parse(goal.due, locale).value_or(QDate()));
    }
    return due;
}
