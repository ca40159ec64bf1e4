#include "dashboard/DashboardView.h"

#include "components/DayWatcher.h"
#include "dashboard/DueBand.h"
#include "dashboard/GoalPanel.h"
#include "dashboard/PanelNavigator.h"
#include "model/DashboardLayout.h"
#include "model/GoalDescription.h"
#include "model/Project.h"
#include "storage/Workspace.h"
#include "widgets/ClickableLabel.h"
#include "widgets/Fonts.h"

#include <QEvent>

using DashboardLayout::toPixels;

DashboardView::DashboardView(const Project& project, const Workspace& workspace,
                             const DayWatcher& day, QWidget* parent)
    : QWidget(parent), m_project(project), m_workspace(workspace), m_day(day)
{
    // Qt may make a label's screen-reader interface as soon as its text is set: ours must
    // be known before the first clickable label, here or in the sidebar, is made.
    PanelNavigator::installAccessibility();
    setObjectName(QStringLiteral("picContainer"));
    setGeometry(toPixels(QRect(5310, 45, 13425, 9960)));
    Fonts::setBackground(this, Qt::white);
    m_canvas = new QWidget(this);
    m_canvas->setObjectName(QStringLiteral("Picture1"));
    m_canvas->setGeometry(
        toPixels(QRect(315, 90, DashboardLayout::CanvasWidth, DashboardLayout::CanvasHeight)));
    // A move over the canvas, off every panel, hides the panels' "X".
    m_canvas->setMouseTracking(true);
    m_canvas->installEventFilter(this);

    auto* centre = new QLabel(m_canvas);
    centre->setObjectName(QStringLiteral("Picture2"));
    centre->setPixmap(QPixmap(QStringLiteral(":/artwork/centre.png")));
    centre->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Fonts::setBackground(centre, Qt::white);
    centre->setGeometry(toPixels(QRect(4545, 4050, 3615, 1590)));
    m_mainGoal = new ClickableLabel(QString(), centre);
    m_mainGoal->setObjectName(QStringLiteral("lblGoal_0"));
    // The whole box inside its border, so that a main goal of 40 characters wraps uncut.
    m_mainGoal->setGeometry(toPixels(QRect(150, 120, 3315, 1350)));
    m_mainGoal->setAlignment(Qt::AlignCenter);
    m_mainGoal->setWordWrap(true);
    Fonts::setTextColour(m_mainGoal, QColor(0x00, 0x00, 0x80));
    drawMainGoal(project.name());
    connect(m_mainGoal, &ClickableLabel::clicked, this, [this] { emit goalClicked(0); });

    connect(&project, &Project::nameChanged, this, &DashboardView::drawMainGoal);
    connect(&project, &Project::goalAdded, this, &DashboardView::drawFrom);
    connect(&project, &Project::goalRemoved, this, &DashboardView::drawFrom);
    connect(&project, &Project::goalsReset, this, [this] { drawFrom(1); });
    connect(&project, &Project::goalChanged, this, &DashboardView::drawGoal);
    connect(&project, &Project::selectionChanged, this, &DashboardView::drawSelection);
    connect(&day, &DayWatcher::dayChanged, this, &DashboardView::redraw);
    m_navigator = new PanelNavigator(project, centre, m_panels, this);
    connect(m_navigator, &PanelNavigator::activated, this, &DashboardView::goalClicked);
    connect(m_navigator, &PanelNavigator::deleteRequested, this, &DashboardView::deleteClicked);
}

GoalPanel* DashboardView::panel(int index)
{
    // Made when first used: most plans fill a few panels, and a new window shows none.
    GoalPanel*& p = m_panels.at(index - 1);
    if (!p) {
        if (m_panelBackground.isNull())
            m_panelBackground.load(QStringLiteral(":/artwork/panel.png"));
        p = new GoalPanel(index, m_panelBackground, m_canvas);
        p->hide();
        connect(p, &GoalPanel::nameClicked, this, &DashboardView::goalClicked);
        connect(p, &GoalPanel::deleteClicked, this, &DashboardView::deleteClicked);
        m_navigator->watch(p);
    }
    return p;
}

bool DashboardView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        for (GoalPanel* p : m_panels) {
            if (p)
                p->setDeleteLinkVisible(false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DashboardView::drawMainGoal(const QString& name)
{
    m_mainGoal->setText(name);
    // Smaller type only for words too wide for the box.
    QFont font = Fonts::trebuchet(11.25, true, true);
    const QRect box = m_mainGoal->contentsRect();
    const auto fits = [&] {
        const int flags = Qt::AlignCenter | Qt::TextWordWrap;
        return box.contains(QFontMetrics(font).boundingRect(box, flags, name));
    };
    while (font.pointSizeF() > 7 && !fits())
        font.setPointSizeF(font.pointSizeF() - 0.75);
    m_mainGoal->setFont(font);
}

void DashboardView::drawFrom(int index)
{
    for (int i = index; i <= ProjectData::MaxGoals; ++i)
        drawGoal(i);
    drawSelection(m_project.selected());
}

void DashboardView::drawGoal(int index)
{
    if (index > m_project.goalCount()) {
        GoalPanel* p = m_panels.at(index - 1);
        if (!p)
            return;
        p->clear();
        Fonts::setPlainToolTip(p, QString());
        p->setAccessibleDescription(QString());
        return;
    }
    GoalPanel* p = panel(index);
    const SubGoalRecord& goal = m_project.goal(index);
    const TaskCounts& counts = m_project.counts(index);
    p->showGoal(goal.name, goal.due, counts);
    const DueState state = DueStatus::of(goal.due, counts, m_day.today());
    const DueBand::Colours colours = DueBand::colours(state);
    p->setDueColours(colours.background, colours.text);
    const QString description = GoalDescription::of(goal.name, goal.due, counts, state);
    Fonts::setPlainToolTip(p, description);
    p->setAccessibleDescription(description);
    // Read from disk each time; a missing picture leaves the last one in place.
    const QPixmap picture(m_workspace.imagePath(
        counts.allDone() ? QStringLiteral("greencircle.gif") : QStringLiteral("bluecircle.gif")));
    if (!picture.isNull())
        p->setPicture(picture);
}

void DashboardView::drawSelection(int index)
{
    for (GoalPanel* p : m_panels) {
        if (p)
            p->setSelected(p->index() == index);
    }
}

void DashboardView::applyResizeRule(int outerWidthPixels)
{
    const int outerTwips = outerWidthPixels * DashboardLayout::TwipsPerPixel;
    m_containerWidthTwips =
        qMax(DashboardLayout::containerWidth(outerTwips).value_or(0), DashboardLayout::PanelsWidth);
    resize(toPixels(m_containerWidthTwips), height());
    m_canvas->move(toPixels(DashboardLayout::canvasLeft(m_containerWidthTwips)), m_canvas->y());
}
