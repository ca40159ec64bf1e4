#pragma once

#include "storage/ProjectFile.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace BenchData {

// Task lines like the ones people type: 20 to 50 characters, about one in three marked
// done with "--", some with commas. The same seed gives the same lines.
QStringList tasks(int count, quint32 seed);
ProjectData project(int goals, int tasksPerGoal);

} // namespace BenchData

// A throwaway application folder with imgs/ copied from the source tree and a projects/
// folder for generated files.
class AppFolder
{
public:
    AppFolder();

    bool isValid() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    QString path() const { return m_dir.path(); }
    // Writes projects/fileName through the project's own serializer; returns its path.
    QString addProject(const QString& fileName, const ProjectData& project);

private:
    QTemporaryDir m_dir;
    QString m_error;
};
