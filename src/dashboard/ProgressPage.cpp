#include "dashboard/ProgressPage.h"

#include "model/Forecast.h"
#include "widgets/Fonts.h"
#include "widgets/ProgressChart.h"

#include <QChart>
#include <QGraphicsScene>
#include <QPagedPaintDevice>
#include <QPainter>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Text from the top of rest down, word-wrapped; the rest of the page below it.
QRectF paragraph(QPainter& painter, const QRectF& rest, const QFont& font, const QString& text)
{
    painter.setFont(font);
    QRectF used;
    painter.drawText(rest, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, &used);
    return rest.adjusted(0, used.height(), 0, 0);
}

} // namespace

void ProgressPage::draw(QPainter& painter, QPagedPaintDevice* device, const ProjectData& project,
                        const QList<HistoryRow>& history, QDate today, const QLocale& locale)
{
    const qreal unit = device->logicalDpiY() / 72.0; // device units per point
    QRectF rest(0, 0, device->width(), device->height());
    painter.setPen(Qt::black);
    rest = paragraph(painter, rest, Fonts::trebuchet(14, true), u"Progress over time"_s);
    rest.adjust(0, 6 * unit, 0, 0);

    const QDate due = Forecast::dueOf(project.goals, {}, locale);
    const QList<ProgressPoint> points = Forecast::series(history);
    const Forecast whole = Forecast::of(points, today, due);
    // Laid out at a screen's size, so that its fonts and lines keep their proportions.
    const QSizeF size(720, 420);
    const QRectF target(rest.topLeft(),
                        QSizeF(rest.width(), rest.width() * size.height() / size.width()));
    {
        QGraphicsScene scene;
        QChart* chart = ProgressChart::build(points, whole, due);
        scene.addItem(chart);
        chart->setGeometry(QRectF(QPointF(0, 0), size));
        scene.render(&painter, target, QRectF(QPointF(0, 0), size));
    }
    rest.setTop(target.bottom() + 6 * unit);
    painter.setPen(Qt::black);
    const QFont body = Fonts::verdana(10);
    rest = paragraph(painter, rest, body, u"Whole goal: "_s + whole.sentence);
    for (const SubGoalRecord& goal : project.goals) {
        const QDate goalDue = Forecast::dueOf({goal}, goal.key, locale);
        if (!goalDue.isValid())
            continue;
        const Forecast f = Forecast::of(Forecast::series(history, goal.key), today, goalDue);
        rest.adjust(0, 3 * unit, 0, 0);
        rest = paragraph(painter, rest, body, goal.name + u": "_s + f.sentence);
    }
}
