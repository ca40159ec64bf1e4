#include "app/SplashWindow.h"

#include "components/AppInfo.h"
#include "storage/Workspace.h"
#include "widgets/Fonts.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

SplashWindow::SplashWindow(const Workspace& workspace, std::function<void()> openMainWindow,
                           int intervalMs, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint), m_workspace(workspace),
      m_openMainWindow(std::move(openMainWindow))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(AppInfo::windowTitle());
    Fonts::setBackground(this, QColor(0x40, 0x40, 0x40));
    setFixedSize(420, 200);

    auto* name = new QLabel(AppInfo::productName(), this);
    name->setObjectName(QStringLiteral("lblAppName"));
    name->setFont(Fonts::trebuchet(24, true));
    Fonts::setTextColour(name, Qt::white);
    auto* wait = new QLabel(QStringLiteral("Please Wait ..."), this);
    wait->setObjectName(QStringLiteral("Label1"));
    wait->setFont(Fonts::verdana(11.25));
    Fonts::setTextColour(wait, QColor(0xFF, 0xFF, 0xC0));
    auto* credit =
        new QLabel(QStringLiteral("Aimwell planner, free software for Linux desktops"), this);
    credit->setObjectName(QStringLiteral("Label2"));
    credit->setFont(Fonts::verdana(8));
    Fonts::setTextColour(credit, QColor(0xC0, 0xC0, 0xC0));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 28, 20);
    layout->addWidget(name);
    layout->addStretch();
    layout->addWidget(wait);
    layout->addWidget(credit);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_timer.setObjectName(QStringLiteral("tmrLoad"));
    m_timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the main window must not come sooner.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::tmrLoad_Timer);
    m_timer.start();
}

void SplashWindow::tmrLoad_Timer()
{
    m_timer.stop();
    if (m_done)
        return;
    m_done = true;
    m_workspace.prepareTmp();
    if (m_openMainWindow)
        m_openMainWindow();
    close();
}
