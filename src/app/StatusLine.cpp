#include "app/StatusLine.h"

#include "components/DayWatcher.h"
#include "model/ProgressSummary.h"
#include "model/Project.h"

#include <QLabel>
#include <QStatusBar>

StatusLine::StatusLine(const Project& project, const DayWatcher& day, QStatusBar* bar)
    : QObject(bar)
{
    const auto label = [bar](const char* name) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        label->setContentsMargins(6, 0, 6, 0);
        return label;
    };
    QLabel* unsaved = label("statusUnsaved");
    bar->addWidget(unsaved);
    connect(&project, &Project::modifiedChanged, unsaved, [unsaved](bool modified) {
        unsaved->setText(modified ? QStringLiteral("Unsaved changes") : QString());
    });
    QLabel* summary = label("statusSummary");
    // Permanent, on the right, so that a passing message on the left does not hide it.
    bar->addPermanentWidget(summary);
    const auto update = [&project, &day, summary] {
        summary->setText(ProgressSummary::of(project, day.today()).text());
    };
    for (auto changed : {&Project::goalAdded, &Project::goalRemoved, &Project::goalChanged})
        connect(&project, changed, summary, update);
    connect(&project, &Project::goalsReset, summary, update);
    connect(&day, &DayWatcher::dayChanged, summary, update);
    update();
}
