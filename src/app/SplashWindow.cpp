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

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 28, 20);
    const auto label = [this, layout](const char* name, const QString& text, const QFont& font,
                                      const QColor& colour) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(font);
        Fonts::setTextColour(label, colour);
        layout->addWidget(label);
    };
    label("lblAppName", AppInfo::productName(), Fonts::trebuchet(24, true), Qt::white);
    layout->addStretch();
    label("Label1", QStringLiteral("Please Wait ..."), Fonts::verdana(11.25),
          QColor(0xFF, 0xFF, 0xC0));
    label("Label2", QStringLiteral("Aimwell planner, free software for Linux desktops"),
          Fonts::verdana(8), QColor(0xC0, 0xC0, 0xC0));

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
