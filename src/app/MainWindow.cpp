#include "app/MainWindow.h"

#include "app/HelpMenu.h"
#include "components/AppInfo.h"
#include "components/TextFile.h"
#include "components/Tools.h"
#include "dashboard/ClickableLabel.h"
#include "dashboard/Fonts.h"
#include "dashboard/GoalPanel.h"
#include "dashboard/PictureBox.h"
#include "dialogs/FolderOpener.h"
#include "dialogs/Prompt.h"
#include "model/DashboardLayout.h"
#include "model/DueDateText.h"
#include "model/TaskCounts.h"
#include "sidebar/TaskEditor.h"
#include "storage/GoalKey.h"
#include "storage/ProjectFile.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

using DashboardLayout::toPixels;

namespace {

const QColor SidebarColour(0x40, 0x40, 0x40);
const QColor LightGrey(0xC0, 0xC0, 0xC0);
const QColor LightYellow(0xFF, 0xFF, 0xC0);
const QColor Navy(0x00, 0x00, 0x80);

template <typename W> W* place(W* widget, const QString& name, QRect twips)
{
    widget->setObjectName(name);
    widget->setGeometry(toPixels(twips));
    return widget;
}

QLabel* sidebarLabel(QWidget* parent, const QString& name, const QString& text, QRect twips,
                     const QFont& font, const QColor& colour)
{
    auto* label = place(new QLabel(text, parent), name, twips);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    Fonts::setTextColour(label, colour);
    return label;
}

ClickableLabel* sidebarLink(QWidget* parent, const QString& name, const QString& text, QRect twips)
{
    auto* link = place(new ClickableLabel(text, parent), name, twips);
    link->setFont(Fonts::verdana(9, false, true));
    Fonts::setTextColour(link, Qt::white);
    link->hide();
    return link;
}

QFont smallFont()
{
    QFont font = Fonts::verdana(7.5);
    return font;
}

// A name is one line whatever was pasted into its box.
QString singleLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

MainWindow::MainWindow(AppServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)),
      m_panelBackground(QStringLiteral(":/artwork/panel.png"))
{
    setObjectName(QStringLiteral("Form1"));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Form1Client"));
    setCentralWidget(client);
    buildMenu();
    buildDashboard(client);
    buildSidebar(client);
    resize(toPixels(DashboardLayout::ClientWidth),
           toPixels(DashboardLayout::ClientHeight) + menuBar()->sizeHint().height());

    SetGoalLabel(true);
    SetTextMargins(10, 20, m_subGoal);
    SetTextMargins(10, 20, m_projectName);
    SetTextMargins(10, 20, m_tasks);
    setWindowTitle(AppInfo::windowTitle());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenu()
{
    QMenu* project = menuBar()->addMenu(QStringLiteral("Project"));
    project->setObjectName(QStringLiteral("mnuProject"));
    const auto item = [&](const char* name, const QString& caption, QKeySequence shortcut,
                          auto slot) {
        QAction* action = project->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        // Keys held for the shortcut are released after the command ran; not an edit.
        connect(action, &QAction::triggered, this, [this] {
            m_projectNameKeys.reset();
            m_tasks->forgetPressedKeys();
        });
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    item("mnuNew", QStringLiteral("New"), QKeySequence(Qt::CTRL | Qt::Key_N),
         [this] { mnuNew_Click(); });
    item("mnuOpen", QStringLiteral("Open"), QKeySequence(Qt::CTRL | Qt::Key_O),
         [this] { mnuOpen_Click(); });
    item("mnuSave", QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
         [this] { mnuSave_Click(); });
    item("mnuSaveAs", QStringLiteral("Save As..."), QKeySequence(), [this] { mnuSaveAs_Click(); });
    project->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    item("mnuExit", QStringLiteral("Exit"), QKeySequence(), [this] { mnuExit_Click(); });
    addHelpMenu(menuBar(), this, m_services.workspace, m_services.prompt,
                [this] { lblFilename_Click(); });
}

void MainWindow::buildSidebar(QWidget* client)
{
    m_sidebar = place(new QWidget(client), QStringLiteral("picSidebar"),
                      {0, 0, 5190, DashboardLayout::ClientHeight});
    Fonts::setBackground(m_sidebar, SidebarColour);
    QWidget* s = m_sidebar;

    sidebarLabel(s, QStringLiteral("Label8"), QStringLiteral("Project Filename:"),
                 {225, 180, 2490, 420}, Fonts::verdana(12, true), Qt::white);
    m_filename = place(new ClickableLabel(QStringLiteral("New Project (No Filename)"), s),
                       QStringLiteral("lblFilename"), {225, 540, 4785, 375});
    m_filename->setFont(Fonts::verdana(9.75));
    Fonts::setTextColour(m_filename, LightGrey);
    connect(m_filename, &ClickableLabel::clicked, this, &MainWindow::lblFilename_Click);

    m_goalHeading = sidebarLabel(s, QStringLiteral("Label14"), QStringLiteral("Goal Name:"),
                                 {225, 945, 2490, 420}, Fonts::verdana(12, true), Qt::white);
    m_projectName = place(new QLineEdit(QStringLiteral("My Goal"), s),
                          QStringLiteral("txtProjectName"), {225, 1350, 2760, 420});
    m_projectName->setMaxLength(40);
    m_projectName->setFont(Fonts::trebuchet(12, true));
    m_projectName->installEventFilter(this);
    // A mouse paste or a drop changes the name without a key.
    connect(m_projectName, &QLineEdit::textEdited, this, [this] { txtProjectName_KeyUp(); });

    m_goalNameHeading =
        sidebarLabel(s, QStringLiteral("lblGoalName"), QStringLiteral("Add New Sub-Goal:"),
                     {225, 1935, 4200, 420}, Fonts::verdana(12, true), Qt::white);
    m_subGoal = place(new QLineEdit(s), QStringLiteral("txtSubGoal"), {225, 2295, 2445, 420});
    m_subGoal->setMaxLength(16);
    m_subGoal->setFont(Fonts::trebuchet(11.25, true));
    m_subGoal->installEventFilter(this);
    connect(m_subGoal, &QLineEdit::textChanged, this, &MainWindow::UpdateCharsLeft);

    m_delete = sidebarLink(s, QStringLiteral("lblDelete"), QStringLiteral("Delete"),
                           {2835, 2385, 1140, 285});
    connect(m_delete, &ClickableLabel::clicked, this, &MainWindow::lblDelete_Click);
    m_newGoal = sidebarLink(s, QStringLiteral("lblNewGoal"), QStringLiteral("Add New"),
                            {3645, 2385, 1005, 285});
    connect(m_newGoal, &ClickableLabel::clicked, this, [this] { lblGoal_Click(0); });

    m_charsLeft = sidebarLabel(s, QStringLiteral("lblSubgoalscharsleft"),
                               QStringLiteral("Characters Left: 16"), {225, 2790, 5100, 195},
                               smallFont(), Qt::white);
    sidebarLabel(s, QStringLiteral("Label7"),
                 QStringLiteral("Press Enter to add the Sub-Goal to the dashboard."),
                 {225, 3015, 5100, 195}, smallFont(), LightGrey);

    m_tasksHeading =
        sidebarLabel(s, QStringLiteral("lblGoalTasks"), QStringLiteral("Project Tasks:"),
                     {225, 3420, 2490, 420}, Fonts::verdana(12, true), Qt::white);
    m_tasks = place(new TaskEditor(s), QStringLiteral("txtGoalTasks"), {225, 3780, 4740, 2130});
    m_tasks->setFont(Fonts::trebuchet(11.25));
    connect(m_tasks, &TaskEditor::characterKeyPressed, this, &MainWindow::txtGoalTasks_KeyPress);
    connect(m_tasks, &TaskEditor::keyReleased, this, &MainWindow::RefreshTaskCounts);
    connect(m_tasks, &TaskEditor::changedWithoutKey, this, [this] {
        m_projectModified = true;
        RefreshTaskCounts();
    });
    m_taskInstructions = sidebarLabel(
        s, QStringLiteral("lblTaskInstructions"),
        QStringLiteral("Enter 1 Task Per Line. Each Task Must Have at least 2 chararcters."),
        {225, 6030, 5100, 195}, smallFont(), Qt::white);

    m_dueDateHeading = sidebarLabel(s, QStringLiteral("lblDueDate"), QStringLiteral("Due Date:"),
                                    {315, 6435, 1545, 420}, Fonts::verdana(12, true), Qt::white);
    m_dueDate = place(new QCheckBox(QStringLiteral("Enable \"Due Date\""), s),
                      QStringLiteral("chkDueDate"), {1890, 6390, 2895, 420});
    m_dueDate->setFont(Fonts::verdana(12));
    Fonts::setTextColour(m_dueDate, LightYellow);
    QPalette tick = m_dueDate->palette();
    tick.setColor(QPalette::Text, Qt::black);
    tick.setColor(QPalette::Base, Qt::white);
    m_dueDate->setPalette(tick);
    connect(m_dueDate, &QCheckBox::toggled, this, [this] {
        if (!m_syncingDueDate)
            chkDueDate_Click();
    });

    for (QWidget* w : std::initializer_list<QWidget*>{m_tasksHeading, m_tasks, m_taskInstructions,
                                                      m_dueDateHeading, m_dueDate})
        w->hide();
}

// The calendar is the costliest control and stays hidden until a sub-goal is selected,
// so it is made then; it starts on today, as a new project's would.
QCalendarWidget* MainWindow::calendar()
{
    if (m_calendar)
        return m_calendar;
    m_calendar =
        place(new QCalendarWidget(m_sidebar), QStringLiteral("Calendar1"), {765, 7020, 3390, 2040});
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setFont(Fonts::verdana(7.5));
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, [this] {
        if (!m_syncingDueDate)
            Calendar1_DateChange(m_calendar->selectedDate());
    });
    return m_calendar;
}

void MainWindow::buildDashboard(QWidget* client)
{
    m_container =
        place(new QWidget(client), QStringLiteral("picContainer"), {5310, 45, 13425, 9960});
    Fonts::setBackground(m_container, Qt::white);
    m_canvas = place(new PictureBox(Qt::white, QPixmap(), m_container), QStringLiteral("Picture1"),
                     {315, 90, DashboardLayout::CanvasWidth, DashboardLayout::CanvasHeight});
    m_canvas->setMouseTracking(true);
    connect(m_canvas, &PictureBox::mouseMoved, this, [this] {
        for (GoalPanel* p : m_panels)
            p->setDeleteLinkVisible(false);
    });

    auto* centre =
        place(new PictureBox(Qt::white, QPixmap(QStringLiteral(":/artwork/centre.png")), m_canvas),
              QStringLiteral("Picture2"), {4545, 4050, 3615, 1590});
    m_mainGoal = place(new ClickableLabel(QStringLiteral("My Goal"), centre),
                       QStringLiteral("lblGoal_0"), {450, 450, 2670, 645});
    m_mainGoal->setAlignment(Qt::AlignCenter);
    m_mainGoal->setWordWrap(true);
    m_mainGoal->setFont(Fonts::trebuchet(11.25, true, true));
    Fonts::setTextColour(m_mainGoal, Navy);
    connect(m_mainGoal, &ClickableLabel::clicked, this, [this] { lblGoal_Click(0); });

    for (int i = 1; i <= 8; ++i) {
        auto* p = new GoalPanel(i, m_panelBackground, m_canvas);
        p->hide();
        connect(p, &GoalPanel::nameClicked, this, &MainWindow::lblGoal_Click);
        connect(p, &GoalPanel::deleteClicked, this, &MainWindow::lblDeleteOnMouseOver_Click);
        m_panels[i - 1] = p;
    }
}

void MainWindow::SetTextMargins(int left, int right, QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setTextMargins(left, 0, right, 0);
    else if (auto* editor = qobject_cast<TaskEditor*>(box))
        editor->setTextMargins(left, right);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    applyResizeRule();
}

void MainWindow::applyResizeRule()
{
    const int frame = frameGeometry().width() - geometry().width();
    const int outerTwips = (width() + qMax(0, frame)) * DashboardLayout::TwipsPerPixel;
    if (const auto width = DashboardLayout::containerWidth(outerTwips)) {
        m_containerWidthTwips = *width;
        m_container->resize(toPixels(*width), m_container->height());
    }
    m_canvas->move(toPixels(DashboardLayout::canvasLeft(m_containerWidthTwips)), m_canvas->y());
    m_sidebar->resize(m_sidebar->width(), centralWidget()->height());
}

void MainWindow::SetGoalLabel(bool mainGoal)
{
    m_goalHeading->setText(mainGoal ? QStringLiteral("Main Goal:") : QStringLiteral("Sub Goal:"));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_subGoal && event->type() == QEvent::KeyPress) {
        bool consumed = false;
        txtSubGoal_KeyPress(static_cast<QKeyEvent*>(event), consumed);
        return consumed;
    }
    if (watched == m_projectName) {
        if (event->type() == QEvent::KeyPress)
            m_projectNameKeys.pressed(static_cast<QKeyEvent*>(event));
        else if (event->type() == QEvent::KeyRelease &&
                 m_projectNameKeys.released(static_cast<QKeyEvent*>(event)))
            txtProjectName_KeyUp();
        else if (event->type() == QEvent::FocusOut)
            m_projectNameKeys.reset();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Selecting, adding and renaming -------------------------------------------------

void MainWindow::lblGoal_Click(int index)
{
    for (GoalPanel* p : m_panels)
        p->setSelected(p->index() == index);
    m_projectName->setText(m_mainGoal->text());
    m_selectedGoalIndex = index;

    if (index != 0) {
        GoalPanel* selected = panel(index);
        SetGoalLabel(false);
        m_goalNameHeading->setText(QStringLiteral("Edit Sub-Goal Name:"));
        m_delete->show();
        m_newGoal->show();
        m_editingSubGoal = true;
        // A longer name from a file stays whole; only typing is held to 16 characters.
        m_subGoal->setMaxLength(qMax(16, int(selected->name().size())));
        m_subGoal->setText(selected->name());
        for (QWidget* w :
             std::initializer_list<QWidget*>{m_tasksHeading, m_tasks, m_taskInstructions,
                                             m_dueDateHeading, calendar(), m_dueDate})
            w->show();
        writeUnwrittenTasks();
        m_selectedGoalKey = selected->key();
        LoadTaskFile(m_selectedGoalKey);
        if (!m_projectLoading) {
            syncDueDateEditor(index);
            m_tasks->setFocus();
        }
        return;
    }
    SetGoalLabel(true);
    m_goalNameHeading->setText(QStringLiteral("Add New Sub-Goal:"));
    m_subGoal->clear();
    m_subGoal->setMaxLength(16);
    m_editingSubGoal = false;
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_delete, m_newGoal, m_tasksHeading, m_tasks,
                                         m_taskInstructions, m_dueDateHeading, m_dueDate})
        w->hide();
    if (m_calendar)
        m_calendar->hide();
}

// Brings the check box and calendar into line with the panel. The panel itself is left
// alone, so its stored date text survives whatever the locale makes of it.
void MainWindow::syncDueDateEditor(int index)
{
    const QString tag = panel(index)->dueTag();
    m_syncingDueDate = true;
    if (tag.isEmpty()) {
        calendar()->setSelectedDate(m_services.clock->today());
        m_dueDate->setChecked(false);
    } else {
        calendar()->setSelectedDate(DueDateText::parse(tag).value_or(m_services.clock->today()));
        m_dueDate->setChecked(true);
    }
    m_syncingDueDate = false;
}

void MainWindow::setCalendarToday()
{
    if (!m_calendar)
        return;
    m_syncingDueDate = true;
    m_calendar->setSelectedDate(m_services.clock->today());
    m_syncingDueDate = false;
}

void MainWindow::UpdateCharsLeft()
{
    // A longer name read from a file is kept whole; the counter stops at 0 until it is shortened.
    m_charsLeft->setText(QStringLiteral("Characters Left: ") +
                         QString::number(qMax(0, 16 - int(m_subGoal->text().size()))));
}

void MainWindow::txtSubGoal_KeyPress(QKeyEvent* event, bool& consumed)
{
    if (!KeyPressTracker::producesCharacter(event) && !isEnter(event))
        return;
    m_projectModified = true;
    if (!isEnter(event))
        return;
    consumed = true;
    if (m_subGoal->text().isEmpty())
        return;
    if (m_editingSubGoal) {
        RenameSubGoal();
    } else if (panel(8)->isFilled()) {
        m_services.prompt->inform(this,
                                  QStringLiteral("Ooops! You can create up to 8 sub-goals per goal "
                                                 "so you can keep an eye on everything "
                                                 "(sometimes less is more)."),
                                  QStringLiteral("Ooops"));
    } else {
        AddSubGoal();
    }
}

void MainWindow::txtProjectName_KeyUp()
{
    m_projectModified = true;
    m_mainGoal->setText(m_projectName->text());
}

void MainWindow::AddSubGoal()
{
    m_subGoals.append(singleLine(m_subGoal->text()));
    m_subGoal->clear();
    RefreshPanels();
    m_subGoal->setFocus();
}

void MainWindow::RenameSubGoal()
{
    if (m_selectedGoalIndex < 1 || m_selectedGoalIndex > m_subGoals.size())
        return;
    const QString name = singleLine(m_subGoal->text());
    m_subGoals[m_selectedGoalIndex - 1] = name;
    panel(m_selectedGoalIndex)->setName(name);
}

void MainWindow::RefreshPanels()
{
    for (int j = 0; j < m_subGoals.size() && j < 8; ++j) {
        GoalPanel* p = m_panels[j];
        QString key = p->key();
        if (key.isEmpty()) {
            key = newGoalKey();
            // A new sub-goal has no tasks, whatever picture the panel's last occupant left.
            showCounts(p, {});
        }
        p->setName(m_subGoals.at(j));
        p->setKey(key);
        p->show();
    }
}

// Drawn again while it matches a key on the dashboard or a task file already in tmp, so
// two sub-goals never share a file and a new one never inherits old tasks.
QString MainWindow::newGoalKey(const QStringList& alsoTaken) const
{
    return GoalKey::make(*m_services.random, [&](const QString& key) {
        if (alsoTaken.contains(key))
            return true;
        for (const GoalPanel* p : m_panels) {
            if (p->key() == key)
                return true;
        }
        return m_unwrittenTasks.contains(key) ||
               QFileInfo::exists(m_services.workspace.taskFilePath(key));
    });
}

// ---- Deleting -------------------------------------------------------------------------

void MainWindow::lblDeleteOnMouseOver_Click(int index)
{
    lblGoal_Click(index);
    lblDelete_Click();
}

void MainWindow::lblDelete_Click()
{
    const int s = m_selectedGoalIndex;
    if (s < 1 || !panel(s)->isFilled())
        return;
    const Answer answer =
        m_services.prompt->ask(this, {QStringLiteral("Delete Sub Goal?"), QStringLiteral("Confirm"),
                                      Message::Icon::Question, Message::Buttons::YesNo});
    if (answer != Answer::Yes)
        return;

    m_projectModified = true;
    m_projectLoading = true;
    beginBatch();
    Workspace::ensureFolder(m_services.workspace.tmpFolder());
    // A file already gone is no error; anything else left behind is emptied at the next start.
    QFile::remove(m_services.workspace.taskFilePath(m_selectedGoalKey));
    m_unwrittenTasks.remove(m_selectedGoalKey);
    m_reportedKeys.remove(m_selectedGoalKey);
    m_selectedGoalKey.clear();

    QList<SubGoalRecord> kept;
    for (const GoalPanel* p : m_panels) {
        if (!p->isFilled())
            break;
        kept.append({p->key(), p->name(), p->dueTag(), {}});
    }
    kept.removeAt(s - 1);
    refillPanels(kept, {});
}

// Fills panels 1..n in order and counts each one, then ends in adding mode. Counts come
// with the goals when they are known; otherwise each task list is read from its file.
void MainWindow::refillPanels(const QList<SubGoalRecord>& goals, const QList<TaskCounts>& counts)
{
    m_subGoals.clear();
    for (GoalPanel* p : m_panels)
        p->clear();
    for (int k = 0; k < goals.size() && k < 8; ++k) {
        GoalPanel* p = m_panels[k];
        m_subGoals.append(goals[k].name);
        p->setName(goals[k].name);
        p->setKey(goals[k].key);
        p->show();
        p->setDueDate(goals[k].due);
        showCounts(p, k < counts.size() ? counts[k]
                                        : TaskCounts::of(taskText(goals[k].key, goals[k].name)));
    }
    m_projectLoading = false;
    m_selectedGoalKey.clear();
    m_tasks->setTasksText(QString());
    lblGoal_Click(0);
    setCalendarToday();
    endBatch();
}

// ---- Tasks ----------------------------------------------------------------------------

void MainWindow::LoadTaskFile(const QString& key)
{
    m_tasks->setTasksText(taskText(key, panel(m_selectedGoalIndex)->name()));
}

// A sub-goal's tasks: the text kept when its file could not be written, else the file,
// which is created empty when missing.
QString MainWindow::taskText(const QString& key, const QString& name)
{
    const Workspace& ws = m_services.workspace;
    Workspace::ensureFolder(ws.tmpFolder());
    const auto unwritten = m_unwrittenTasks.constFind(key);
    if (unwritten != m_unwrittenTasks.cend())
        return *unwritten;
    const QString path = ws.taskFilePath(key);
    if (Tools::fileExists(path, false)) {
        const auto text = TextFile::load(path);
        if (!text.ok())
            reportTaskFileFailure(key, name, path, text.error);
        return text.value;
    }
    storeTasks(key, name, path, QString());
    return {};
}

void MainWindow::RefreshTaskCounts()
{
    if (m_selectedGoalKey.isEmpty() || m_selectedGoalIndex < 1)
        return;
    GoalPanel* p = panel(m_selectedGoalIndex);
    const QString text = m_tasks->tasksText();
    storeTasks(m_selectedGoalKey, p->name(), m_services.workspace.taskFilePath(m_selectedGoalKey),
               text);
    m_tasks->setUnwritten(false);

    showCounts(p, TaskCounts::of(text));
}

// A key still held when the user clicks elsewhere has typed into the editor, but its
// release will not come while this sub-goal is shown.
void MainWindow::writeUnwrittenTasks()
{
    if (m_tasks->isUnwritten())
        RefreshTaskCounts();
}

void MainWindow::showCounts(GoalPanel* p, const TaskCounts& counts)
{
    p->setCounts(counts);
    const QPixmap picture(m_services.workspace.imagePath(
        counts.allDone() ? QStringLiteral("greencircle.gif") : QStringLiteral("bluecircle.gif")));
    if (!picture.isNull())
        p->setPicture(picture);
}

void MainWindow::storeTasks(const QString& key, const QString& name, const QString& path,
                            const QString& text)
{
    const Result written = TextFile::save(path, text);
    if (written.ok()) {
        m_unwrittenTasks.remove(key);
        m_reportedKeys.remove(key);
        return;
    }
    m_unwrittenTasks.insert(key, text);
    reportTaskFileFailure(key, name, path, written.error);
}

void MainWindow::reportTaskFileFailure(const QString& key, const QString& name, const QString& path,
                                       const QString& why)
{
    if (m_reportedKeys.contains(key))
        return;
    m_reportedKeys.insert(key);
    const QString line =
        QStringLiteral("The tasks of \"%1\" could not be written to the file \"%2\": %3.")
            .arg(name, path, why);
    if (m_batching) {
        m_batchedFailures.append(line);
        return;
    }
    m_services.prompt->warn(
        this,
        line + QStringLiteral("\n\nYour tasks are kept while the program runs and are "
                              "stored in the project when you save it."),
        QStringLiteral("Task File"));
}

void MainWindow::beginBatch()
{
    m_batching = true;
    m_batchedFailures.clear();
}

void MainWindow::endBatch()
{
    m_batching = false;
    if (m_batchedFailures.isEmpty())
        return;
    const QString text =
        m_batchedFailures.join(u'\n') +
        QStringLiteral(
            "\n\nThese tasks are kept while the program runs and are stored in the project "
            "when you save it.");
    m_batchedFailures.clear();
    m_services.prompt->warn(this, text, QStringLiteral("Task File"));
}

void MainWindow::txtGoalTasks_KeyPress()
{
    m_projectModified = true;
}

// ---- Due date -------------------------------------------------------------------------

void MainWindow::chkDueDate_Click()
{
    m_projectModified = true;
    UpdateDueDateDisplay();
}

void MainWindow::UpdateDueDateDisplay()
{
    if (m_projectLoading || m_selectedGoalIndex < 1)
        return;
    GoalPanel* p = panel(m_selectedGoalIndex);
    const bool ticked = m_dueDate->isChecked();
    p->setDueVisible(ticked);
    if (ticked) {
        const QString text = DueDateText::format(calendar()->selectedDate());
        p->setDueCaption(QStringLiteral("Due Date: ") + text);
        p->setDueTag(text);
    } else {
        p->setDueTag(QString());
    }
}

void MainWindow::Calendar1_DateChange(QDate date)
{
    m_projectModified = true;
    if (m_projectLoading || m_selectedGoalIndex < 1 || !m_dueDate->isChecked())
        return;
    GoalPanel* p = panel(m_selectedGoalIndex);
    const QString text = DueDateText::format(date);
    p->setDueCaption(QStringLiteral("Due Date: ") + text);
    p->setDueTag(text);
}

// ---- Project menu ---------------------------------------------------------------------

bool MainWindow::saveChangesFirst()
{
    if (!m_projectModified)
        return true;
    const Answer answer = m_services.prompt->ask(
        this, {QStringLiteral("Want to save changes before?"), QStringLiteral("Save Changes"),
               Message::Icon::Question, Message::Buttons::YesNoCancel});
    if (answer == Answer::Yes)
        return mnuSave_Click();
    return answer == Answer::No;
}

void MainWindow::mnuNew_Click()
{
    if (m_projectModified) {
        const Answer answer = m_services.prompt->ask(
            this, {QStringLiteral("Want to save changes before?"), QStringLiteral("Save Changes"),
                   Message::Icon::Question, Message::Buttons::YesNo});
        if (answer == Answer::Cancel)
            return;
        if (answer == Answer::Yes) {
            const bool hadFile = !m_currentProjectFile.isEmpty();
            // A save that was tried and failed must not be followed by dropping the work.
            if (!mnuSave_Click() && (hadFile || !m_currentProjectFile.isEmpty()))
                return;
        }
    }
    m_currentProjectFile.clear();
    NewProject();
}

void MainWindow::mnuOpen_Click()
{
    const auto chosen = m_services.prompt->chooseProjectToOpen(this, m_services.workspace);
    if (!chosen || chosen->isEmpty())
        return;
    openProjectFile(*chosen);
}

void MainWindow::openProjectFile(const QString& path)
{
    if (!saveChangesFirst())
        return;
    Expected<ProjectData> project = ProjectFile::read(path);
    if (!project.ok()) {
        m_services.prompt->warn(
            this,
            QStringLiteral("The project file \"%1\" could not be opened: %2.\n\n"
                           "The open project is unchanged.")
                .arg(path, project.error),
            QStringLiteral("Open Project"));
        return;
    }
    NewProject();
    m_currentProjectFile = path;
    m_filename->setText(path);
    Fonts::setPlainToolTip(m_filename, path);
    LoadProject(path, std::move(project.value));
    m_projectModified = false;
}

bool MainWindow::mnuSave_Click()
{
    if (!m_currentProjectFile.isEmpty())
        return SaveProject();
    return mnuSaveAs_Click();
}

bool MainWindow::mnuSaveAs_Click()
{
    const auto chosen = m_services.prompt->chooseProjectToSave(this, m_services.workspace);
    if (chosen) {
        m_currentProjectFile = *chosen;
        m_filename->setText(*chosen);
        Fonts::setPlainToolTip(m_filename, *chosen);
    }
    if (m_currentProjectFile.isEmpty())
        return false;
    return SaveProject();
}

void MainWindow::mnuExit_Click()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (saveChangesFirst())
        event->accept();
    else
        event->ignore();
}

Expected<QStringList> MainWindow::tasksOf(const GoalPanel& p) const
{
    const auto unwritten = m_unwrittenTasks.constFind(p.key());
    if (unwritten != m_unwrittenTasks.cend())
        return {TextFile::splitLines(*unwritten), {}};
    const QString path = m_services.workspace.taskFilePath(p.key());
    // Only a file that is not there at all means no tasks; anything else in its place
    // must not turn into an empty list.
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return {};
    auto lines = TextFile::loadLines(path);
    if (!lines.ok())
        lines.error = QStringLiteral("the tasks of \"%1\" could not be read from \"%2\": %3")
                          .arg(p.name(), path, lines.error);
    return lines;
}

bool MainWindow::SaveProject()
{
    writeUnwrittenTasks();
    const QString path = m_currentProjectFile;
    Workspace::ensureFolder(m_services.workspace.tmpFolder());

    ProjectData project;
    project.name = m_projectName->text();
    QString failure;
    for (const GoalPanel* p : m_panels) {
        if (!p->isFilled())
            continue;
        auto tasks = tasksOf(*p);
        if (!tasks.ok()) {
            failure = tasks.error;
            break;
        }
        project.goals.append({p->key(), p->name(), p->dueTag(), std::move(tasks.value)});
    }
    if (failure.isEmpty()) {
        const Result folder = Workspace::ensureFolder(QFileInfo(path).absolutePath());
        const Result written = folder.ok() ? ProjectFile::save(path, project) : folder;
        failure = written.error;
    }
    if (!failure.isEmpty()) {
        m_services.prompt->warn(
            this,
            QStringLiteral("The project could not be saved to \"%1\": %2.").arg(path, failure),
            QStringLiteral("Save Project"));
        return false;
    }
    m_projectModified = false;
    m_services.prompt->inform(this, QStringLiteral("Ready! Project saved."),
                              QStringLiteral("Done"));
    return true;
}

void MainWindow::NewProject()
{
    m_projectModified = false;
    m_mainGoal->setText(QStringLiteral("My Goal"));
    m_projectName->setMaxLength(40);
    m_projectName->setText(m_mainGoal->text());
    m_filename->setText(QStringLiteral("New Project (No Filename)"));
    Fonts::setPlainToolTip(m_filename, QString());
    m_subGoals.clear();
    m_tasks->setTasksText(QString());
    m_unwrittenTasks.clear();
    m_reportedKeys.clear();
    for (GoalPanel* p : m_panels)
        p->clear();
    lblGoal_Click(0);
}

void MainWindow::LoadProject(const QString& path, ProjectData project)
{
    m_projectLoading = true;
    m_iniFileName = path;
    m_selectedGoalKey.clear();
    beginBatch();
    m_projectName->setMaxLength(qMax(40, int(project.name.size())));
    m_projectName->setText(project.name);
    m_mainGoal->setText(project.name);

    const Workspace& ws = m_services.workspace;
    Workspace::ensureFolder(ws.tmpFolder());
    QStringList keys;
    for (const SubGoalRecord& goal : project.goals)
        keys.append(goal.key);
    QList<TaskCounts> counts;
    for (qsizetype k = 0; k < project.goals.size(); ++k) {
        SubGoalRecord& goal = project.goals[k];
        // Two sub-goals of one file must not share a task file.
        if (keys.indexOf(goal.key) < k) {
            goal.key = newGoalKey(keys);
            keys[k] = goal.key;
        }
        QString text;
        for (const QString& line : std::as_const(goal.tasks)) {
            text += line;
            text += u'\n';
        }
        // Each task list is written and counted once, then let go: a long project never
        // sits in memory twice.
        goal.tasks = {};
        storeTasks(goal.key, goal.name, ws.taskFilePath(goal.key), text);
        counts.append(TaskCounts::of(text));
    }
    refillPanels(project.goals, counts);
}

// Read from the file each time: nothing is kept of a project once it is on the dashboard.
QString MainWindow::GetIni(const QString& section, const QString& key) const
{
    return ProjectFile::readIni(m_iniFileName).value.value(section, key);
}

// ---- Folder browsing ------------------------------------------------------------------

void MainWindow::lblFilename_Click()
{
    const QString folder = m_services.workspace.projectsFolder();
    const Result made = Workspace::ensureFolder(folder);
    if (!made.ok()) {
        m_services.prompt->warn(
            this,
            QStringLiteral("The projects folder \"%1\" could not be created: %2.")
                .arg(folder, made.error),
            QStringLiteral("Projects Folder"));
        return;
    }
    if (!m_services.folderOpener->open(folder)) {
        m_services.prompt->warn(
            this,
            QStringLiteral(
                "The projects folder \"%1\" could not be shown: no file browser answered.")
                .arg(folder),
            QStringLiteral("Projects Folder"));
    }
}
