// The wake-up call from a later start to the running Stampkeep: one byte on a local socket private to the user.
#include "window/handoffchannel.h"

#include "core/tfuncs2.h"
#include "platform/sharedblock.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int kConnectTimeoutMs = 1000;

} // namespace

HandOffChannel::HandOffChannel(QObject* parent) : QObject(parent), server(new QLocalServer(this))
{
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                socket->readAll();
                emit messageArrived();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString HandOffChannel::socketPath()
{
    // The runtime folder belongs to the user alone; the name follows the hand-off block's.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/" +
           QString::fromStdString(SharedBlock::systemName(kHandOffBlockName).substr(1)) + ".socket";
}

bool HandOffChannel::listen(QString& error)
{
    // Only the owner of the hand-off block listens, so a socket found here was left by a dead instance.
    QLocalServer::removeServer(socketPath());
    if (server->listen(socketPath()))
        return true;
    error = server->errorString();
    return false;
}

bool HandOffChannel::notify()
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write("\x01", 1);
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}
