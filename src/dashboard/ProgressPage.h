#pragma once

#include "model/ProjectData.h"
#include "storage/HistoryFile.h"

#include <QDate>
#include <QLocale>

class QPagedPaintDevice;
class QPainter;

// The report's "Progress over time" page: the whole goal's chart and forecast, then one
// forecast line for each sub-goal with a due date.
namespace ProgressPage {

void draw(QPainter& painter, QPagedPaintDevice* device, const ProjectData& project,
          const QList<HistoryRow>& history, QDate today, const QLocale& locale);

} // namespace ProgressPage
