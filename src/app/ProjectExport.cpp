#include "app/ProjectExport.h"

#include "dashboard/ProjectPrinter.h"
#include "dialogs/Prompt.h"
#include "report/MarkdownExport.h"
#include "storage/FileNameRules.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSettings>
#include <QWidget>

ProjectExport::ProjectExport(const Project& project, const AppServices& services,
                             QSettings& settings, std::function<void()> beforeReading,
                             QWidget* parent)
    : QObject(parent), m_project(project), m_services(services), m_settings(settings),
      m_beforeReading(std::move(beforeReading)), m_parent(parent)
{
}

void ProjectExport::exportPdf()
{
    exportTo(QStringLiteral("Export as PDF"), QStringLiteral(".pdf"),
             QStringLiteral("PDF files (*.pdf)"),
             [this](const QString& path, const ProjectData& p) {
                 return ProjectPrinter::exportPdf(path, p, m_services.clock->today(), QLocale(),
                                                  m_project.progress().rows());
             });
}

void ProjectExport::exportMarkdown()
{
    exportTo(QStringLiteral("Export as Markdown"), QStringLiteral(".md"),
             QStringLiteral("Markdown files (*.md)"),
             [this](const QString& path, const ProjectData& p) {
                 return MarkdownExport::save(path, p, m_services.clock->today());
             });
}

void ProjectExport::exportTo(const QString& caption, const QString& suffix, const QString& filter,
                             const Writer& write)
{
    // Each export starts where the last one went.
    const QString folder = m_settings.value(QStringLiteral("exports/folder")).toString();
    const QString name = FileNameRules::exportName(m_project.name()) + suffix;
    const auto path = m_services.prompt->chooseExportFile(
        m_parent, caption, folder.isEmpty() ? name : QDir(folder).filePath(name), filter);
    if (!path || path->isEmpty())
        return;
    const Expected<ProjectData> project = read();
    const QString failure = project.ok() ? write(*path, project.value).error : project.error;
    if (failure.isEmpty()) {
        m_settings.setValue(QStringLiteral("exports/folder"), QFileInfo(*path).absolutePath());
        m_settings.sync();
        emit exported(QStringLiteral("Exported to \"%1\".").arg(*path));
        return;
    }
    m_services.prompt->warn(
        m_parent,
        QStringLiteral("The project could not be exported to \"%1\": %2.").arg(*path, failure),
        QStringLiteral("Export Project"));
}

void ProjectExport::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(ProjectPrinter::pageSizeFor(QLocale())));
    printer.setDocName(m_project.name());
    if (!m_services.prompt->choosePrinter(m_parent, printer))
        return;
    const Expected<ProjectData> project = read();
    QString failure = project.error;
    if (project.ok() && !ProjectPrinter::paint(&printer, project.value, m_services.clock->today(),
                                               QLocale(), m_project.progress().rows()))
        failure = QStringLiteral("the printer could not be started");
    if (!failure.isEmpty())
        m_services.prompt->warn(
            m_parent, QStringLiteral("The project could not be printed: %1.").arg(failure),
            QStringLiteral("Print Project"));
}
