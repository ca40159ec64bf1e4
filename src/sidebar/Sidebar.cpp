#include "sidebar/Sidebar.h"

#include "components/Clock.h"
#include "model/DashboardLayout.h"
#include "model/DueDateText.h"
#include "model/Project.h"
#include "sidebar/TaskHighlighter.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCheckBox>

using DashboardLayout::toPixels;

namespace {

const QColor LightGrey(0xC0, 0xC0, 0xC0);
const QColor LightYellow(0xFF, 0xFF, 0xC0);

template <typename W> W* place(W* widget, const char* name, QRect twips)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(toPixels(twips));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect twips,
              const QFont& font, const QColor& colour)
{
    auto* label = place(new QLabel(text, parent), name, twips);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    Fonts::setTextColour(label, colour);
    return label;
}

QLabel* heading(QWidget* parent, const char* name, const QString& text, QRect twips)
{
    return label(parent, name, text, twips, Fonts::verdana(12, true), Qt::white);
}

ClickableLabel* link(QWidget* parent, const char* name, const QString& text, QRect twips)
{
    auto* link = place(new ClickableLabel(text, parent), name, twips);
    link->setFont(Fonts::verdana(9, false, true));
    Fonts::setTextColour(link, Qt::white);
    link->setAccessibleRole(QAccessible::Button);
    link->setFocusPolicy(Qt::StrongFocus);
    link->hide();
    return link;
}

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

Sidebar::Sidebar(const Project& project, const Clock& clock, QWidget* parent)
    : QWidget(parent), m_project(project), m_clock(clock)
{
    setObjectName(QStringLiteral("picSidebar"));
    setGeometry(toPixels(QRect(0, 0, 5190, DashboardLayout::ClientHeight)));
    Fonts::setBackground(this, QColor(0x40, 0x40, 0x40));

    QLabel* fileHeading = label(this, "Label8", QStringLiteral("Project Filename:"),
                                {225, 180, 2490, 420}, Fonts::verdana(12, true), Qt::white);
    m_filename = place(new ClickableLabel(QStringLiteral("New Project (No Filename)"), this),
                       "lblFilename", {225, 540, 4785, 375});
    m_filename->setFocusPolicy(Qt::StrongFocus);
    // Screen readers name each control after the heading above it.
    fileHeading->setBuddy(m_filename);
    m_filename->setFont(Fonts::verdana(9.75));
    // The file's own name is the part worth seeing; the tooltip has the whole path.
    m_filename->setElideMode(Qt::ElideMiddle);
    Fonts::setTextColour(m_filename, LightGrey);

    m_goalHeading = heading(this, "Label14", QStringLiteral("Goal Name:"), {225, 945, 2490, 420});
    m_projectName = place(new QLineEdit(QStringLiteral("My Goal"), this), "txtProjectName",
                          {225, 1350, 2760, 420});
    m_projectName->setMaxLength(ProjectData::MaxProjectName);
    m_goalHeading->setBuddy(m_projectName);
    m_projectName->setFont(Fonts::trebuchet(12, true));
    m_projectName->installEventFilter(this);
    // A mouse paste or a drop changes the name without a key.
    connect(m_projectName, &QLineEdit::textEdited, this, &Sidebar::projectNameChangedWithoutKey);

    m_goalNameHeading =
        heading(this, "lblGoalName", QStringLiteral("Add New Sub-Goal:"), {225, 1935, 4200, 420});
    m_subGoal = place(new QLineEdit(this), "txtSubGoal", {225, 2295, 2445, 420});
    m_goalNameHeading->setBuddy(m_subGoal);
    m_subGoal->setFont(Fonts::trebuchet(11.25, true));
    m_subGoal->installEventFilter(this);
    connect(m_subGoal, &QLineEdit::textChanged, this, &Sidebar::UpdateCharsLeft);

    m_delete = link(this, "lblDelete", QStringLiteral("Delete"), {2835, 2385, 1140, 285});
    m_newGoal = link(this, "lblNewGoal", QStringLiteral("Add New"), {3645, 2385, 1005, 285});
    m_charsLeft = label(this, "lblSubgoalscharsleft", QString(), {225, 2790, 5100, 195},
                        Fonts::verdana(7.5), Qt::white);
    label(this, "Label7", QStringLiteral("Press Enter to add the Sub-Goal to the dashboard."),
          {225, 3015, 5100, 195}, Fonts::verdana(7.5), LightGrey);

    m_tasksHeading =
        heading(this, "lblGoalTasks", QStringLiteral("Project Tasks:"), {225, 3420, 2490, 420});
    m_tasks = place(new TaskEditor(this), "txtGoalTasks", {225, 3780, 4740, 2130});
    m_tasks->setFont(Fonts::trebuchet(11.25));
    TaskHighlighter::attach(m_tasks);
    // The done rule is nowhere else on screen.
    const QString rule = QStringLiteral("One task per line. A line with \"--\" in it counts as "
                                        "done; Edit, Mark Done adds or removes it.");
    m_tasks->setToolTip(rule);
    m_tasks->setAccessibleDescription(rule);
    m_tasksHeading->setBuddy(m_tasks);
    m_taskInstructions =
        label(this, "lblTaskInstructions",
              QStringLiteral("Enter 1 Task Per Line. Each Task Must Have at least 2 chararcters."),
              {225, 6030, 5100, 195}, Fonts::verdana(7.5), Qt::white);

    m_dueDateHeading =
        heading(this, "lblDueDate", QStringLiteral("Due Date:"), {315, 6435, 1545, 420});
    m_dueDate = place(new QCheckBox(QStringLiteral("Enable \"Due Date\""), this), "chkDueDate",
                      {1890, 6390, 2895, 420});
    m_dueDate->setFont(Fonts::verdana(12));
    Fonts::setTextColour(m_dueDate, LightYellow);
    // The caption keeps its colour; the tick is drawn dark on its white box.
    QPalette tick = m_dueDate->palette();
    tick.setColor(QPalette::Text, Qt::black);
    tick.setColor(QPalette::Base, Qt::white);
    m_dueDate->setPalette(tick);
    connect(m_dueDate, &QCheckBox::toggled, this, [this] {
        if (!m_syncing)
            emit dueDateToggled();
    });

    showAddingMode();
    UpdateCharsLeft();
    // Inner blank space left and right of the text in the three boxes.
    m_projectName->setTextMargins(10, 0, 20, 0);
    m_subGoal->setTextMargins(10, 0, 20, 0);
    m_tasks->setTextMargins(10, 20);

    connect(&project, &Project::nameChanged, this, &Sidebar::setProjectName);
    connect(&project, &Project::fileChanged, this, &Sidebar::setFilename);
    connect(&project, &Project::selectionChanged, this, &Sidebar::showSelection);
    // A new project or a sub-goal gone: the calendar starts again from today.
    const auto today = [this] { setCalendarDate(m_clock.today()); };
    connect(&project, &Project::goalsReset, this, today);
    connect(&project, &Project::goalRemoved, this, today);
}

void Sidebar::showSelection(int index)
{
    setProjectName(m_project.name());
    if (index == 0) {
        showAddingMode();
        return;
    }
    const SubGoalRecord& goal = m_project.goal(index);
    showEditingMode(goal.name);
    m_tasks->setTasksText(m_project.selectedTasks());
    showDueDate(goal.due);
}

QString Sidebar::subGoalName() const
{
    QString text = m_subGoal->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QCalendarWidget* Sidebar::calendar()
{
    if (m_calendar)
        return m_calendar;
    m_calendar = place(new QCalendarWidget(this), "Calendar1", {765, 7020, 3390, 2040});
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setFont(Fonts::verdana(7.5));
    m_dueDateHeading->setBuddy(m_calendar);
    // The day grid is what takes the focus; Tab leaves it instead of walking the days.
    if (auto* days = m_calendar->findChild<QAbstractItemView*>()) {
        days->setAccessibleName(m_dueDateHeading->text());
        days->setTabKeyNavigation(false);
    }
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, [this] {
        if (!m_syncing)
            emit calendarDateChanged(m_calendar->selectedDate());
    });
    return m_calendar;
}

void Sidebar::showAddingMode()
{
    SetGoalLabel(true);
    m_goalNameHeading->setText(QStringLiteral("Add New Sub-Goal:"));
    m_subGoal->clear();
    m_subGoal->setMaxLength(ProjectData::MaxGoalName);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_delete, m_newGoal, m_tasksHeading, m_tasks,
                                         m_taskInstructions, m_dueDateHeading, m_dueDate})
        w->hide();
    if (m_calendar)
        m_calendar->hide();
}

void Sidebar::showEditingMode(const QString& name)
{
    SetGoalLabel(false);
    m_goalNameHeading->setText(QStringLiteral("Edit Sub-Goal Name:"));
    m_delete->show();
    m_newGoal->show();
    m_subGoal->setMaxLength(qMax(ProjectData::MaxGoalName, int(name.size())));
    m_subGoal->setText(name);
    for (QWidget* w : std::initializer_list<QWidget*>{m_tasksHeading, m_tasks, m_taskInstructions,
                                                      m_dueDateHeading, calendar(), m_dueDate})
        w->show();
}

void Sidebar::showDueDate(const QString& due)
{
    const QDate today = m_clock.today();
    m_syncing = true;
    calendar()->setSelectedDate(due.isEmpty() ? today : DueDateText::parse(due).value_or(today));
    m_dueDate->setChecked(!due.isEmpty());
    m_syncing = false;
}

void Sidebar::setCalendarDate(QDate date)
{
    if (!m_calendar)
        return;
    m_syncing = true;
    m_calendar->setSelectedDate(date);
    m_syncing = false;
}

bool Sidebar::eventFilter(QObject* watched, QEvent* event)
{
    // Undo and redo belong to the whole project, not to the box's own text.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            return true;
    }
    if (watched == m_subGoal && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!KeyPressTracker::producesCharacter(key) && !isEnter(key))
            return false;
        emit subGoalCharacterTyped();
        if (!isEnter(key))
            return false;
        // Enter is consumed: it adds or renames and never reaches the box.
        emit subGoalEntered();
        return true;
    }
    if (watched == m_projectName) {
        if (event->type() == QEvent::KeyPress)
            m_projectNameKeys.pressed(static_cast<QKeyEvent*>(event));
        else if (event->type() == QEvent::KeyRelease &&
                 m_projectNameKeys.released(static_cast<QKeyEvent*>(event)))
            emit projectNameKeyReleased();
        else if (event->type() == QEvent::FocusOut)
            m_projectNameKeys.reset();
    }
    return QWidget::eventFilter(watched, event);
}
