#include "app/InstanceChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

namespace {

constexpr char Terminator = '\0';
constexpr char Accepted = '+';
// A path is never this long; anything longer is not one of ours.
constexpr qsizetype MaxRequest = 64 * 1024;

} // namespace

InstanceChannel::InstanceChannel(const QString& dataFolder, QObject* parent)
    : QObject(parent), m_name(serverNameFor(dataFolder))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &InstanceChannel::accept);
}

QString InstanceChannel::serverNameFor(const QString& dataFolder)
{
    // One channel per data folder, short enough for a socket path.
    const QByteArray hash =
        QCryptographicHash::hash(QDir::cleanPath(dataFolder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString name = QStringLiteral("aimwell-") + QString::fromLatin1(hash);
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? name : runtime + u'/' + name;
}

bool InstanceChannel::listen()
{
    if (m_server.listen(m_name))
        return true;
    if (m_server.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalServer::removeServer(m_name);
    return m_server.listen(m_name);
}

void InstanceChannel::accept()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        readFrom(socket);
    }
}

void InstanceChannel::readFrom(QLocalSocket* socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    const qsizetype end = request.indexOf(Terminator);
    if (end < 0) {
        if (request.size() > MaxRequest)
            socket->abort();
        else
            socket->setProperty("request", request);
        return;
    }
    socket->setProperty("request", QByteArray());
    socket->write(QByteArray(1, Accepted));
    socket->flush();
    socket->disconnectFromServer();
    deliver(QString::fromUtf8(request.left(end)));
}

void InstanceChannel::deliver(const QString& path)
{
    if (!m_receiver) {
        m_waiting.append(path);
        return;
    }
    // Later, not inside the socket's signal: opening a project may ask a question and
    // run an event loop of its own.
    QTimer::singleShot(0, this, [this, path] { m_receiver(path); });
}

bool InstanceChannel::send(const QString& serverName, const QString& path, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(path.toUtf8() + Terminator);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char reply = 0;
    return socket.getChar(&reply) && reply == Accepted;
}
