#pragma once

#include "model/ProjectData.h"

#include <QPixmap>
#include <QWidget>

#include <array>

class ClickableLabel;
class DayWatcher;
class GoalPanel;
class PanelNavigator;
class Project;
class Workspace;

// The dashboard: the white container, the canvas with the centre box and up to eight panels.
// It draws the project from its signals and reports clicks on names and on the "X" links.
// The due bands are coloured against the watcher's day and follow it past midnight.
class DashboardView : public QWidget
{
    Q_OBJECT

public:
    DashboardView(const Project& project, const Workspace& workspace, const DayWatcher& day,
                  QWidget* parent);

    // Panel 1..8, made on first use.
    GoalPanel* panel(int index);
    ClickableLabel* mainGoal() const { return m_mainGoal; }
    PanelNavigator* navigator() const { return m_navigator; }
    // The resize rule: the container follows the window's outer width and the canvas is
    // centred in it. It never gets narrower than the panels need; the window scrolls then.
    void applyResizeRule(int outerWidthPixels);
    // Draws every panel again from the project.
    void redraw() { drawFrom(1); }

signals:
    void goalClicked(int index);
    void deleteClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawMainGoal(const QString& name);
    void drawFrom(int index);
    void drawGoal(int index);
    void drawSelection(int index);

    const Project& m_project;
    const Workspace& m_workspace;
    const DayWatcher& m_day;
    QWidget* m_canvas;
    ClickableLabel* m_mainGoal;
    std::array<GoalPanel*, ProjectData::MaxGoals> m_panels{};
    QPixmap m_panelBackground;
    PanelNavigator* m_navigator;
    int m_containerWidthTwips = 13425;
};
