#include "dashboard/PanelNavigator.h"

#include "dashboard/GoalPanel.h"
#include "model/DashboardLayout.h"
#include "model/Project.h"
#include "widgets/ClickableLabel.h"
#include "widgets/Fonts.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QKeyEvent>

namespace {

constexpr const char* CompletedProperty = "aimwellCompleted";
constexpr const char* TotalProperty = "aimwellTotal";
const QString CentreName = QStringLiteral("Picture2");

// A focusable box that acts as one button: its inner labels are not read one by one.
// The value is the number of tasks completed, out of all tasks.
class ItemAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    ItemAccessible(QWidget* item, ClickableLabel* name, ClickableLabel* remove)
        : QAccessibleWidget(item, QAccessible::Button), m_name(name), m_remove(remove)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        // Only panels count tasks; the centre box has no value.
        if (type == QAccessible::ValueInterface && widget()->property(TotalProperty).isValid())
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty() && m_name)
            return m_name->text();
        if (t == QAccessible::Description)
            return widget()->accessibleDescription();
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return m_remove ? 1 : 0; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 && m_remove ? QAccessible::queryAccessibleInterface(m_remove) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return m_remove && child && child->object() == m_remove ? 0 : -1;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && m_name)
            m_name->click();
        else
            QAccessibleWidget::doAction(action);
    }

    QVariant currentValue() const override { return widget()->property(CompletedProperty); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return widget()->property(TotalProperty); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    ClickableLabel* m_name;
    ClickableLabel* m_remove;
};

// A clickable label: a link or a button that presses like a click. A heading that names
// it (its buddy) comes before its own text, so the file link reads with its heading.
class LabelAccessible : public ItemAccessible
{
public:
    explicit LabelAccessible(ClickableLabel* label) : ItemAccessible(label, label, nullptr) {}

    // Asked each time: Qt may make the interface while the label is still being set up.
    QAccessible::Role role() const override
    {
        return static_cast<ClickableLabel*>(widget())->accessibleRole();
    }

    QString text(QAccessible::Text t) const override
    {
        auto* label = static_cast<ClickableLabel*>(widget());
        if (t != QAccessible::Name || !label->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        for (const QLabel* heading :
             label->parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (heading->buddy() == label)
                return heading->text() + u' ' + label->text();
        }
        return label->text();
    }
};

QAccessibleInterface* makeInterface(const QString&, QObject* object)
{
    if (auto* panel = qobject_cast<GoalPanel*>(object))
        return new ItemAccessible(panel, panel->nameLink(), panel->deleteLink());
    if (auto* label = qobject_cast<ClickableLabel*>(object))
        return new LabelAccessible(label);
    // The centre box, named by its label.
    auto* box = qobject_cast<QWidget*>(object);
    if (box && box->objectName() == CentreName)
        return new ItemAccessible(box, box->findChild<ClickableLabel*>(), nullptr);
    return nullptr;
}

// The width of the focus mark, a frame drawn just outside the focused item.
constexpr int MarkWidth = 3;

} // namespace

void PanelNavigator::installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

PanelNavigator::PanelNavigator(const Project& project, QWidget* centre,
                               const std::array<GoalPanel*, ProjectData::MaxGoals>& panels,
                               QObject* parent)
    : QObject(parent), m_project(project), m_centre(centre), m_panels(panels),
      m_mark(new QFrame(centre->parentWidget()))
{
    m_mark->setObjectName(QStringLiteral("focusMark"));
    m_mark->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_mark->setLineWidth(MarkWidth);
    Fonts::setTextColour(m_mark, m_mark->palette().color(QPalette::Highlight));
    m_mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_mark->hide();
    watch(centre);
    // Connected after the dashboard's own drawing, so the panels are drawn by now.
    connect(&project, &Project::goalAdded, this, &PanelNavigator::announceChanges);
    connect(&project, &Project::goalRemoved, this, &PanelNavigator::announceChanges);
    connect(&project, &Project::goalChanged, this, &PanelNavigator::announceChanges);
    connect(&project, &Project::goalsReset, this, &PanelNavigator::announceChanges);
}

void PanelNavigator::watch(QWidget* item)
{
    item->setFocusPolicy(Qt::StrongFocus);
    item->installEventFilter(this);
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
    // Qt numbers the arrow keys Left, Up, Right, Down.
    if (key >= Qt::Key_Left && key <= Qt::Key_Down) {
        const auto step = std::array{DashboardLayout::Step::Left, DashboardLayout::Step::Up,
                                     DashboardLayout::Step::Right,
                                     DashboardLayout::Step::Down}[key - Qt::Key_Left];
        focusItem(DashboardLayout::neighbour(index, step, m_project.goalCount()));
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
    const int w = MarkWidth;
    m_mark->setProperty("item", QVariant::fromValue<QObject*>(item));
    m_mark->setGeometry(item->geometry().adjusted(-w, -w, w, w));
    m_mark->raise();
    m_mark->show();
}

void PanelNavigator::announceChanges()
{
    for (int i = 1; i <= ProjectData::MaxGoals; ++i) {
        QWidget* panel = item(i);
        if (!panel)
            continue;
        if (i <= m_project.goalCount()) {
            panel->setProperty(CompletedProperty, m_project.counts(i).completed);
            panel->setProperty(TotalProperty, m_project.counts(i).total);
        }
        const QString told = panel->accessibleDescription();
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
