#include "app/ProgressStatus.h"

#include "components/DayWatcher.h"
#include "model/ProgressSummary.h"
#include "model/Project.h"

#include <QLabel>
#include <QStatusBar>

ProgressStatus::ProgressStatus(const Project& project, const DayWatcher& day, QStatusBar* bar)
    : QObject(bar), m_project(project), m_day(day), m_label(new QLabel(bar))
{
    m_label->setObjectName(QStringLiteral("statusSummary"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setContentsMargins(6, 0, 6, 0);
    // Permanent, on the right, so that a passing message on the left does not hide it.
    bar->addPermanentWidget(m_label);
    auto* unsaved = new QLabel(bar);
    unsaved->setObjectName(QStringLiteral("statusUnsaved"));
    unsaved->setContentsMargins(6, 0, 6, 0);
    bar->addWidget(unsaved);
    connect(&project, &Project::modifiedChanged, unsaved, [unsaved](bool modified) {
        unsaved->setText(modified ? QStringLiteral("Unsaved changes") : QString());
    });
    connect(&project, &Project::goalAdded, this, &ProgressStatus::update);
    connect(&project, &Project::goalRemoved, this, &ProgressStatus::update);
    connect(&project, &Project::goalChanged, this, &ProgressStatus::update);
    connect(&project, &Project::goalsReset, this, &ProgressStatus::update);
    connect(&day, &DayWatcher::dayChanged, this, &ProgressStatus::update);
    update();
}

void ProgressStatus::update()
{
    // The counts the panels show, not the files: no disk read on every key.
    ProgressSummary summary;
    const QDate today = m_day.today();
    for (int i = 1; i <= m_project.goalCount(); ++i) {
        const TaskCounts& counts = m_project.counts(i);
        summary.add(counts, DueStatus::of(m_project.goal(i).due, counts, today));
    }
    m_label->setText(summary.text());
}
