#include "app/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString DesktopId = QStringLiteral("io.github.aimwell.Aimwell");

} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent) {}

void DesktopNotifier::notify(const QString& summary, const QStringList& lines,
                             const QString& target, std::function<void(bool)> done)
{
    if (!done)
        done = [](bool) {};
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QTimer::singleShot(0, this, [done] { done(false); });
        return;
    }
    // Only once there is something to tell: a window that never tells uses no bus.
    if (!m_listening) {
        bus.connect(Service, Path, Service, QStringLiteral("ActionInvoked"), this,
                    SLOT(actionInvoked(uint, QString)));
        bus.connect(Service, Path, Service, QStringLiteral("NotificationClosed"), this,
                    SLOT(notificationClosed(uint, uint)));
        m_listening = true;
    }
    // Most services read the body as markup: a sub-goal named "R&D" stays as typed.
    QStringList body;
    for (const QString& line : lines)
        body.append(line.toHtmlEscaped());
    QStringList actions;
    if (!target.isEmpty())
        actions = {QStringLiteral("default"), QStringLiteral("Show")};
    const QVariantMap hints{{QStringLiteral("desktop-entry"), DesktopId}};
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("Notify"));
    call << QStringLiteral("Aimwell") << uint(0) << DesktopId << summary << body.join(u'\n')
         << actions << hints << int(-1);
    // Never blocking: a hung service must not freeze the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, target, done](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<uint> reply = *finished;
                if (!reply.isError() && !target.isEmpty())
                    m_targets.insert(reply.value(), target);
                done(!reply.isError());
            });
}

void DesktopNotifier::actionInvoked(uint id, const QString& action)
{
    const auto found = m_targets.constFind(id);
    if (found != m_targets.cend() && action == u"default")
        emit activated(*found);
}

void DesktopNotifier::notificationClosed(uint id, uint)
{
    m_targets.remove(id);
}
