#pragma once

#include "app/AppServices.h"
#include "components/Result.h"
#include "model/Project.h"
#include "storage/ProjectFile.h"

#include <QObject>

#include <functional>

class QSettings;
class QWidget;

// The Project menu's ways of sharing a project: a PDF, a Markdown file and a printout.
// Each asks where to through the prompt, so nothing is written unless the user chose it.
class ProjectExport : public QObject
{
    Q_OBJECT

public:
    // beforeReading runs before the project is read, to write what is still being typed.
    ProjectExport(const Project& project, const AppServices& services, QSettings& settings,
                  std::function<void()> beforeReading, QWidget* parent);

    void exportPdf();
    void exportMarkdown();
    void print();

signals:
    // A written export, for a passing word where the user looks: a dialog after every
    // export would only be clicked away.
    void exported(const QString& message);

private:
    using Writer = std::function<Result(const QString& path, const ProjectData& project)>;
    void exportTo(const QString& caption, const QString& suffix, const QString& filter,
                  const Writer& write);
    Expected<ProjectData> read()
    {
        m_beforeReading();
        return m_project.toProjectData();
    }

    const Project& m_project;
    const AppServices& m_services;
    QSettings& m_settings;
    std::function<void()> m_beforeReading;
    QWidget* m_parent;
};
