#include "app/KeyboardAccess.h"

#include "dashboard/DashboardView.h"
#include "dashboard/PanelNavigator.h"
#include "sidebar/Sidebar.h"
#include "sidebar/TaskEditor.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>

KeyboardAccess::KeyboardAccess(QMainWindow* window, Sidebar* sidebar, DashboardView* dashboard)
    : QObject(window), m_window(window), m_dashboard(dashboard)
{
    const auto shortcut = [window](QKeySequence keys, auto run) {
        QObject::connect(new QShortcut(keys, window), &QShortcut::activated, window, run);
    };
    shortcut(QKeySequence(Qt::Key_F10), [window] {
        QMenuBar* bar = window->menuBar();
        if (!bar->actions().isEmpty())
            bar->setActiveAction(bar->actions().first());
    });

    // A task list has no use for tab characters.
    sidebar->tasks()->setTabChangesFocus(true);
    for (QWidget* box :
         {static_cast<QWidget*>(sidebar->projectNameBox()),
          static_cast<QWidget*>(sidebar->subGoalBox()), static_cast<QWidget*>(sidebar->tasks())})
        box->installEventFilter(this);
    // Esc that no control in the sidebar took, as from the calendar, goes back too.
    sidebar->installEventFilter(this);
    m_sidebar = sidebar;
}

QList<KeyHelp> KeyboardAccess::help()
{
    using K = KeyHelp;
    return {{K::keysText({Qt::Key_F10}), QStringLiteral("Go to the menu bar")},
            {K::keysText({Qt::Key_Escape}),
             QStringLiteral("Go back to the dashboard from the sidebar")},
            {K::keysText({Qt::Key_Tab, Qt::SHIFT | Qt::Key_Tab}),
             QStringLiteral("Go to the next or the previous control")},
            {K::keysText({Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::SHIFT | Qt::Key_Tab}),
             QStringLiteral("Leave the task list")},
            {K::keysText({Qt::Key_Return}),
             QStringLiteral("In the sub-goal box: add a sub-goal, or rename the selected one")}};
}

bool KeyboardAccess::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        m_dashboard->navigator()->focusDashboard();
        return true;
    }
    if (watched == m_sidebar)
        return false;
    // Alt with a letter is a menu key here, never text; Ctrl+Alt types characters on some
    // keyboards and goes through.
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !key->text().isEmpty() &&
        key->text().front().isPrint())
        return true;
    // Ctrl+Tab leaves the task editor as Tab does.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        if (mods & Qt::ControlModifier) {
            auto* editor = static_cast<QWidget*>(watched);
            const bool back = key->key() == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
            QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                          back ? Qt::ShiftModifier : Qt::NoModifier);
            QCoreApplication::sendEvent(editor, &tab);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
