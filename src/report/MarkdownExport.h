#pragma once

#include "components/Result.h"
#include "storage/ProjectFile.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>

// A project as a Markdown document (UTF-8, "\n" line ends): the main goal as the heading,
// each sub-goal as a sub-heading with its counts and due date, and its tasks as a task
// list. Blank lines are not tasks and are left out, as the counts leave them out.
class MarkdownExport
{
public:
    static QByteArray toMarkdown(const ProjectData& project, QDate today,
                                 const QLocale& locale = QLocale());
    // All or nothing, like saving a project: a failed write leaves no file behind and the
    // old one, if any, untouched.
    static Result save(const QString& path, const ProjectData& project, QDate today,
                       const QLocale& locale = QLocale());
};
