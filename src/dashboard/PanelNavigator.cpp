#include "dashboard/PanelNavigator.h"

#include "dashboard/DashboardAccessible.h"
#include "dashboard/GoalPanel.h"
#include "model/DashboardLayout.h"
#include "model/Project.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

namespace {

// The focus mark: a frame drawn just outside the focused item, on the canvas.
class FocusMark : public QWidget
{
public:
    explicit FocusMark(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("focusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), Width));
        painter.drawRect(rect().adjusted(Width / 2, Width / 2, -Width / 2 - 1, -Width / 2 - 1));
    }

public:
    static constexpr int Width = 3;
};

std::optional<DashboardLayout::Step> arrowStep(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return DashboardLayout::Step::Left;
    case Qt::Key_Right:
        return DashboardLayout::Step::Right;
    case Qt::Key_Up:
        return DashboardLayout::Step::Up;
    case Qt::Key_Down:
        return DashboardLayout::Step::Down;
    default:
        return std::nullopt;
    }
}

} // namespace

PanelNavigator::PanelNavigator(const Project& project, QWidget* centre,
                               const std::array<GoalPanel*, ProjectData::MaxGoals>& panels,
                               QObject* parent)
    : QObject(parent), m_project(project), m_centre(centre), m_panels(panels),
      m_mark(new FocusMark(centre->parentWidget()))
{
    DashboardAccessible::install();
    for (int i = 0; i <= ProjectData::MaxGoals; ++i) {
        item(i)->setFocusPolicy(Qt::StrongFocus);
        item(i)->installEventFilter(this);
    }
    // Connected after the dashboard's own drawing, so the panels are drawn by now.
    connect(&project, &Project::goalAdded, this, &PanelNavigator::announceChanges);
    connect(&project, &Project::goalRemoved, this, &PanelNavigator::announceChanges);
    connect(&project, &Project::goalChanged, this, &PanelNavigator::announceChanges);
    connect(&project, &Project::goalsReset, this, &PanelNavigator::announceChanges);
}

QWidget* PanelNavigator::item(int index) const
{
    if (index == 0)
        return m_centre;
    return m_panels.at(index - 1);
}

QList<QWidget*> PanelNavigator::items() const
{
    QList<QWidget*> list{m_centre};
    for (int i = 1; i <= m_project.goalCount(); ++i)
        list.append(item(i));
    return list;
}

void PanelNavigator::focusDashboard()
{
    focusItem(m_project.selected());
}

int PanelNavigator::indexOf(QObject* object) const
{
    for (int i = 0; i <= ProjectData::MaxGoals; ++i) {
        if (item(i) == object)
            return i;
    }
    return -1;
}

void PanelNavigator::focusItem(int index)
{
    item(index)->setFocus(Qt::OtherFocusReason);
}

bool PanelNavigator::eventFilter(QObject* watched, QEvent* event)
{
    const int index = indexOf(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        placeMark(item(index));
        break;
    case QEvent::FocusOut:
    case QEvent::Hide:
        if (m_mark->property("item").value<QObject*>() == watched)
            m_mark->hide();
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            return handleKey(index, key->key());
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

QList<KeyHelp> PanelNavigator::help()
{
    using K = KeyHelp;
    return {{K::keysText({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}),
             QStringLiteral("On the dashboard: move between the main goal and the panels")},
            {K::keysText({Qt::Key_Return, Qt::Key_Space}),
             QStringLiteral("On the dashboard: select the main goal or the panel")},
            {K::keysText({Qt::Key_Delete}),
             QStringLiteral("On the dashboard: delete the panel's sub-goal")}};
}

bool PanelNavigator::handleKey(int index, int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        emit activated(index);
        return true;
    }
    if (const auto step = arrowStep(key)) {
        focusItem(DashboardLayout::neighbour(index, *step, m_project.goalCount()));
        return true;
    }
    if (key == Qt::Key_Delete && index > 0) {
        emit deleteRequested(index);
        // The question and the editor took the focus; it comes back to the panel now in
        // this place, or to the last one when the deleted panel was the last.
        focusItem(qMin(index, m_project.goalCount()));
        return true;
    }
    return false;
}

void PanelNavigator::placeMark(QWidget* item)
{
    const int w = FocusMark::Width;
    m_mark->setProperty("item", QVariant::fromValue<QObject*>(item));
    m_mark->setGeometry(item->geometry().adjusted(-w, -w, w, w));
    m_mark->raise();
    m_mark->show();
}

void PanelNavigator::announceChanges()
{
    for (int i = 1; i <= ProjectData::MaxGoals; ++i) {
        QWidget* panel = item(i);
        if (i <= m_project.goalCount()) {
            const TaskCounts& counts = m_project.counts(i);
            DashboardAccessible::setCounts(panel, counts.completed, counts.total);
        }
        const QString told = DashboardAccessible::description(panel);
        QString& last = m_told[panel];
        if (told == last)
            continue;
        last = told;
        if (!QAccessible::isActive())
            continue;
        QAccessibleEvent changed(panel, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
        if (panel->hasFocus()) {
            QAccessibleValueChangeEvent value(panel, told);
            QAccessible::updateAccessibility(&value);
        }
    }
}
