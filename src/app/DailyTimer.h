#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QSettings;

// "Remind Me Daily, Even When Closed": the systemd user timer that runs aimwell --remind.
// The item shows what systemctl says each time its menu opens.
class DailyTimer : public QObject
{
    Q_OBJECT

public:
    DailyTimer(QSettings& settings, QMenu* menu, QAction* before);

    QAction* action() const { return m_action; }

signals:
    void failed(const QString& message);

private:
    void refresh();
    void turn(bool on);
    // exitCode -1: systemctl could not be started.
    void systemctl(const QStringList& arguments,
                   std::function<void(int exitCode, const QString& output)> done);

    QSettings& m_settings;
    QAction* m_action;
};
