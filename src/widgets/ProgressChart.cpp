#include "widgets/ProgressChart.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QColor TotalColour(0x00, 0x60, 0xC0);
const QColor CompletedColour(0x00, 0x90, 0x00);
const QColor DueColour(0xC0, 0x00, 0x00);

qreal at(QDate date)
{
    return qreal(date.startOfDay().toMSecsSinceEpoch());
}

QLineSeries* line(QChart* chart, const char* name, const QColor& colour, Qt::PenStyle style)
{
    auto* series = new QLineSeries(chart);
    series->setName(QString::fromLatin1(name));
    QPen pen(colour, 2, style);
    series->setPen(pen);
    chart->addSeries(series);
    return series;
}

} // namespace

QChart* ProgressChart::build(const QList<ProgressPoint>& points, const Forecast& forecast,
                             QDate due)
{
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QLineSeries* total = line(chart, Total, TotalColour, Qt::SolidLine);
    QLineSeries* completed = line(chart, Completed, CompletedColour, Qt::SolidLine);
    QList<QPointF> totals, done;
    double top = 0;
    QDate first = points.isEmpty() ? QDate::currentDate() : points.first().date;
    QDate last = points.isEmpty() ? first : points.last().date;
    for (const ProgressPoint& p : points) {
        totals.append({at(p.date), qreal(p.total)});
        done.append({at(p.date), qreal(p.completed)});
        top = std::max(top, double(p.total));
    }
    total->replace(totals);
    completed->replace(done);
    // A single day would otherwise draw nothing.
    total->setPointsVisible(points.size() < 2);
    completed->setPointsVisible(points.size() < 2);

    if (forecast.kind == Forecast::Kind::Finish) {
        QLineSeries* ahead = line(chart, Ahead, CompletedColour, Qt::DashLine);
        ahead->append(at(forecast.from.date), forecast.from.completed);
        ahead->append(at(forecast.finish), forecast.finishTotal);
        if (forecast.scopePace > 0) {
            QLineSeries* scope = line(chart, AheadTotal, TotalColour, Qt::DashLine);
            scope->append(at(forecast.from.date), forecast.from.total);
            scope->append(at(forecast.finish), forecast.finishTotal);
            chart->legend()->markers(scope).first()->setVisible(false);
        }
        last = std::max(last, forecast.finish);
        top = std::max(top, forecast.finishTotal);
    }
    if (due.isValid()) {
        first = std::min(first, due);
        last = std::max(last, due);
    }
    // Whole numbers on the ticks (1, 2, 5, 10, 20... apart), at most about six steps, with
    // room above the highest point: labels of 3.25 tasks would read as 3.
    int scale = 1, step = 1;
    while (top > 6 * step) {
        if (step == scale)
            step = 2 * scale;
        else if (step == 2 * scale)
            step = 5 * scale;
        else
            step = scale *= 10;
    }
    const int ceiling = step * (int(top / step) + 1);
    if (due.isValid()) {
        QLineSeries* mark = line(chart, Due, DueColour, Qt::DotLine);
        mark->append(at(due), 0);
        mark->append(at(due), ceiling);
    }

    auto* x = new QDateTimeAxis(chart);
    x->setFormat(u"d MMM yyyy"_s);
    x->setTitleText(u"Date"_s);
    // A day of room either side, so that the first and the last point are not on the frame.
    x->setRange(first.addDays(-1).startOfDay(), last.addDays(1).startOfDay());
    x->setTickCount(std::clamp(int(first.daysTo(last)) + 3, 2, 7));
    auto* y = new QValueAxis(chart);
    y->setTitleText(u"Tasks"_s);
    y->setLabelFormat(u"%d"_s);
    y->setRange(0, ceiling);
    y->setTickCount(ceiling / step + 1);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    return chart;
}
