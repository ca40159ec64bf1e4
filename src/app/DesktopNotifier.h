#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// Desktop notifications through the freedesktop notification service on the session bus.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    explicit DesktopNotifier(QObject* parent = nullptr);

    // Sends one notification with a line of body text each. done(true) once the service
    // took it, done(false) when there is no service; always later, never from within.
    // With a target, clicking the notification hands it back through activated.
    void notify(const QString& summary, const QStringList& lines, const QString& target,
                std::function<void(bool shown)> done = {});

signals:
    void activated(const QString& target);

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    bool m_listening = false;
    // Notification ids of ours that have a target, until the service closes them.
    QHash<uint, QString> m_targets;
};
