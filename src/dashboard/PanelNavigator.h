#pragma once

#include "model/ProjectData.h"
#include "widgets/KeyHelp.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>

class GoalPanel;
class QFrame;
class Project;
class QWidget;

// Makes the centre box and the panels reachable from the keyboard: they take the focus
// and show a mark, Enter or Space selects, the arrow keys move across the grid and
// Delete asks to delete a panel.
//
// It also tells screen readers about the dashboard: the centre box and each panel are one
// button named after its goal, whose value is the tasks completed out of all; a panel's
// red "X" is a button of its own; a clickable label is a link or button that can be
// pressed, read with the heading that names it. Panels tell when their state changes.
class PanelNavigator : public QObject
{
    Q_OBJECT

public:
    // Registers the screen-reader interfaces with Qt; once is enough. Qt may make a label's
    // interface as soon as its text is set, so this comes before the first clickable label.
    static void installAccessibility();

    PanelNavigator(const Project& project, QWidget* centre,
                   const std::array<GoalPanel*, ProjectData::MaxGoals>& panels, QObject* parent);

    // Makes a panel reachable when the dashboard makes it.
    void watch(QWidget* item);
    // The centre box (0) or a panel (1..8); null for a panel not made yet.
    QWidget* item(int index) const;
    // The centre box and the filled panels, in panel order.
    QList<QWidget*> items() const;
    // Focuses the selected panel, or the centre box when none is.
    void focusDashboard();
    // The keys handled here, for the Keyboard Shortcuts window.
    static QList<KeyHelp> help();

signals:
    void activated(int index);
    void deleteRequested(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOf(QObject* item) const;
    bool handleKey(int index, int key);
    void focusItem(int index) { item(index)->setFocus(Qt::OtherFocusReason); }
    void placeMark(QWidget* item);
    void announceChanges();

    const Project& m_project;
    QWidget* m_centre;
    // The dashboard's own list, which fills as panels are made.
    const std::array<GoalPanel*, ProjectData::MaxGoals>& m_panels;
    QFrame* m_mark;
    // What each panel last told a screen reader about itself.
    QHash<const QWidget*, QString> m_told;
};
