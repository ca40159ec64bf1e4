#include "app/ClientArea.h"

#include "dashboard/DashboardView.h"
#include "dashboard/PanelNavigator.h"
#include "model/DashboardLayout.h"
#include "sidebar/Sidebar.h"
#include "sidebar/TaskEditor.h"
#include "widgets/ClickableLabel.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>

using DashboardLayout::toPixels;

namespace {

// Where the dashboard's container sits in the client area.
const QPoint ContainerOrigin(toPixels(DashboardLayout::ContainerLeft), toPixels(45));
// How far below the calendar the sidebar's scrolling reaches.
constexpr int SidebarBottomTwips = 7020 + 2040 + 225;
constexpr int MinimumDashboardStrip = 120;
constexpr int MinimumHeight = 280;

QScrollArea* scrollArea(const char* name, QWidget* parent)
{
    auto* area = new QScrollArea(parent);
    area->setObjectName(QString::fromLatin1(name));
    area->setFrameShape(QFrame::NoFrame);
    // The area itself is no stop for Tab: its content is.
    area->setFocusPolicy(Qt::NoFocus);
    area->viewport()->setAutoFillBackground(false);
    return area;
}

bool takesTab(const QWidget* w)
{
    const QWidget* target = w->focusProxy() ? w->focusProxy() : w;
    return w->isVisible() && w->isEnabled() && (target->focusPolicy() & Qt::TabFocus);
}

} // namespace

ClientArea::ClientArea(Sidebar* sidebar, DashboardView* dashboard, QWidget* parent)
    : QWidget(parent), m_sidebar(sidebar), m_dashboard(dashboard)
{
    setObjectName(QStringLiteral("Form1Client"));
    m_sidebarArea = scrollArea("sidebarArea", this);
    m_sidebarArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_dashboardArea = scrollArea("dashboardArea", this);
    sidebar->setMinimumHeight(toPixels(SidebarBottomTwips));
    // Laid out for the window's first size (as wide as this, no frame yet) before the content
    // goes in, so that the areas do not show scroll bars for a moment at the first show.
    resize(toPixels(DashboardLayout::ClientWidth), toPixels(DashboardLayout::ClientHeight));
    layOut(width());
    m_sidebarArea->setWidget(sidebar);
    m_dashboardArea->setWidget(dashboard);
    // Small enough for any screen; large enough that the sidebar's tallest control, the
    // task editor, shows whole beside a strip of the dashboard.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setMinimumSize(ContainerOrigin.x() + bar + MinimumDashboardStrip, MinimumHeight);
    // The file link comes first in the Tab order; typing starts in the goal's name.
    sidebar->projectNameBox()->setFocus();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { bringIntoView(now); });

    const auto shortcut = [this](QKeySequence keys, auto run) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, run);
    };
    shortcut(QKeySequence(Qt::Key_F10), [this] { openMenu(); });
    // A task list has no use for tab characters.
    sidebar->tasks()->setTabChangesFocus(true);
    for (QWidget* box :
         {static_cast<QWidget*>(sidebar->projectNameBox()),
          static_cast<QWidget*>(sidebar->subGoalBox()), static_cast<QWidget*>(sidebar->tasks())})
        box->installEventFilter(this);
    // Esc that no control in the sidebar took, as from the calendar, goes back too.
    sidebar->installEventFilter(this);
}

void ClientArea::openMenu()
{
    auto* window = qobject_cast<QMainWindow*>(this->window());
    if (window && !window->menuBar()->actions().isEmpty())
        window->menuBar()->setActiveAction(window->menuBar()->actions().first());
}

QList<KeyHelp> ClientArea::help()
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

bool ClientArea::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
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
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
        (mods & Qt::ControlModifier)) {
        const bool back = key->key() == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
        QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                      back ? Qt::ShiftModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &tab);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ClientArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QWidget* window = this->window();
    const int frame = window->frameGeometry().width() - window->geometry().width();
    layOut(window->width() + qMax(0, frame));
}

void ClientArea::layOut(int outerWidth)
{
    m_dashboard->applyResizeRule(outerWidth);

    // A window too short for the sidebar gives it a scroll bar beside it, not over it.
    const int sidebarHeight = qMax(height(), m_sidebar->minimumHeight());
    const int bar = sidebarHeight > height() ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    m_sidebar->resize(m_sidebar->width(), sidebarHeight);
    m_sidebarArea->setGeometry(0, 0, m_sidebar->width() + bar, height());
    const QPoint origin = ContainerOrigin + QPoint(bar, 0);
    m_dashboardArea->setGeometry(origin.x(), origin.y(), qMax(0, width() - origin.x()),
                                 qMax(0, height() - origin.y()));
}

QList<QWidget*> ClientArea::tabChain() const
{
    QList<QWidget*> chain{m_sidebar->filenameLink(), m_sidebar->projectNameBox(),
                          m_sidebar->subGoalBox(),   m_sidebar->deleteLink(),
                          m_sidebar->newGoalLink(),  m_sidebar->tasks(),
                          m_sidebar->dueDateBox()};
    // The calendar is made on first use.
    if (auto* calendar = m_sidebar->findChild<QCalendarWidget*>())
        chain.append(calendar);
    chain.append(m_dashboard->navigator()->items());
    chain.removeIf([](const QWidget* w) { return !takesTab(w); });
    return chain;
}

bool ClientArea::focusNextPrevChild(bool next)
{
    const QList<QWidget*> chain = tabChain();
    const QWidget* focus = QApplication::focusWidget();
    const auto at = std::find_if(chain.begin(), chain.end(), [focus](const QWidget* w) {
        return w == focus || w->isAncestorOf(focus);
    });
    if (at == chain.end())
        return QWidget::focusNextPrevChild(next);
    const qsizetype index = at - chain.begin();
    const qsizetype size = chain.size();
    chain.at((index + (next ? 1 : size - 1)) % size)
        ->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void ClientArea::bringIntoView(QWidget* widget)
{
    if (!widget)
        return;
    // The whole of a control whose inner part has the focus, as the calendar's days.
    while (widget->parentWidget() && widget->parentWidget()->focusProxy() == widget)
        widget = widget->parentWidget();
    for (QScrollArea* area : {m_sidebarArea, m_dashboardArea}) {
        if (area->widget()->isAncestorOf(widget)) {
            // A focused panel shows whole, with its focus mark.
            area->ensureWidgetVisible(widget, 8, 8);
            return;
        }
    }
}
