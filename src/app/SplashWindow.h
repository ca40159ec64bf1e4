#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

class Workspace;

// The start-up window. Its one-shot timer prepares tmp and then hands over to the main
// window through the callback.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DefaultInterval = 2000;

    SplashWindow(const Workspace& workspace, std::function<void()> openMainWindow,
                 int intervalMs = DefaultInterval, QWidget* parent = nullptr);

    QTimer& timer() { return m_timer; }
    void tmrLoad_Timer();

private:
    const Workspace& m_workspace;
    std::function<void()> m_openMainWindow;
    QTimer m_timer;
    bool m_done = false;
};
