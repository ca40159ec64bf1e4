#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalSocket;

// Lets a second start hand its project to the copy already running for the same data
// folder. The socket lives in the user's runtime folder and only the user may connect.
// A request is a UTF-8 path ended by a zero byte; an empty path only asks for the window.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit InstanceChannel(const QString& dataFolder, QObject* parent = nullptr);

    const QString& serverName() const { return m_name; }

    // Only the copy that holds the lock listens, so a socket left by a crash is removed.
    bool listen();
    QString errorString() const { return m_server.errorString(); }

    // Requests that came before a receiver wait and are handed over, in order, once one
    // is set.
    void setReceiver(std::function<void(const QString&)> receiver)
    {
        m_receiver = std::move(receiver);
        const QStringList waiting = std::exchange(m_waiting, {});
        for (const QString& path : waiting)
            deliver(path);
    }

    // True when the running copy confirmed the request.
    static bool send(const QString& serverName, const QString& path, int timeoutMs = 3000);
    static QString serverNameFor(const QString& dataFolder);

private:
    void accept();
    void readFrom(QLocalSocket* socket);
    void deliver(const QString& path);

    QString m_name;
    QLocalServer m_server;
    std::function<void(const QString&)> m_receiver;
    QStringList m_waiting;
};
