#pragma once

#include "components/Result.h"
#include "storage/HistoryFile.h"
#include "storage/ProjectFile.h"

#include <QDate>
#include <QLocale>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;

// The printed form of a project. Page one is the dashboard: the main goal in the centre of
// a 3 x 3 grid and each sub-goal in its panel's cell with its counts, due date and status
// in words. With a history, a page of progress over time follows. Then one section per sub-goal
// lists its tasks, completed ones ticked and struck through.
class ProjectPrinter
{
public:
    // Letter where it is the usual paper (the Americas that use it, the Philippines), A4
    // everywhere else.
    static QPageSize::PageSizeId pageSizeFor(const QLocale& locale);

    // Draws on a device already set up, such as a QPrinter from the print window. False
    // when the device could not be painted on.
    static bool paint(QPagedPaintDevice* device, const ProjectData& project, QDate today,
                      const QLocale& locale = QLocale(), const QList<HistoryRow>& history = {});

    // Writes a PDF on the locale's paper with the fonts embedded. All or nothing: a failed
    // export leaves no file behind and an older file of that name untouched.
    static Result exportPdf(const QString& path, const ProjectData& project, QDate today,
                            const QLocale& locale = QLocale(),
                            const QList<HistoryRow>& history = {});
};
