// The local connection from a later start of Stampkeep to the running one, in the user's runtime folder: a wake-up
// byte, then the later start's whole message, which the running instance confirms once it has read it.
#include "window/handoffchannel.h"

#include "core/handoffblock.h"
#include "platform/runtimefolder.h"
#include "platform/sharedblock.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

namespace {

// A running instance that has just taken the block may not listen yet.
constexpr int kConnectWithinMs = 3000;
// A peer that stops sending in the middle of its message is given up.
constexpr int kSilentPeerMs = 5000;
// The running instance confirms from a thread of its own, however busy its window is.
constexpr int kConfirmWithinMs = 5000;

// The socket's path, named after the hand-off block; empty with `error` when there is no private folder for it.
QString socketPath(QString& error)
{
    std::string why;
    const std::optional<std::string> folder = runtimeFolder(why);
    if (!folder) {
        error = QString::fromStdString(why);
        return {};
    }
    return QString::fromStdString(*folder + "/" + SharedBlock::systemName(kHandOffBlockName).substr(1) + ".socket");
}

// Reads one later start's message as it comes, in the receiving thread.
class Arrival : public QObject
{
public:
    Arrival(QLocalSocket* socket, HandOffChannel& channel) : QObject(socket), socket_(socket), channel_(channel)
    {
        connect(socket, &QLocalSocket::readyRead, this, &Arrival::read);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kSilentPeerMs, socket, [socket] { socket->abort(); });
    }

private:
    void read()
    {
        received_ += socket_->readAll().toStdString();
        if (received_.empty() || done_)
            return;
        const std::optional<std::size_t> body = handOffBodyLength(std::string_view(received_).substr(1));
        if (received_[0] != kHandOffWakeUp || (body && *body > kMaxHandOffBody)) {
            socket_->abort();
            return;
        }
        if (!body || received_.size() < 1 + kHandOffLengthSize + *body)
            return;
        done_ = true;
        const std::optional<HandOffMessage> message =
            decodeHandOffBody(std::string_view(received_).substr(1 + kHandOffLengthSize));
        if (!message) {
            socket_->abort();
            return;
        }
        socket_->write(&kHandOffReceived, 1);
        socket_->flush();
        // Taken in the window's thread, which a long run keeps from its events until it ends.
        QMetaObject::invokeMethod(
            &channel_, [channel = &channel_, message = *message] { emit channel->messageArrived(message); },
            Qt::QueuedConnection);
    }

    QLocalSocket* socket_;
    HandOffChannel& channel_;
    std::string received_;
    bool done_ = false;
};

bool connectWithin(QLocalSocket& socket, const QString& path, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(milliseconds))
            return true;
        if (clock.elapsed() >= milliseconds)
            return false;
        QThread::msleep(100);
    }
}

bool writeAll(QLocalSocket& socket, const std::string& bytes)
{
    socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kConfirmWithinMs))
            return false;
    }
    return true;
}

} // namespace

HandOffChannel::HandOffChannel(QObject* parent)
    : QObject(parent), receiver(std::make_unique<QThread>()), server(new QLocalServer)
{
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, server, [this] {
        while (QLocalSocket* socket = server->nextPendingConnection())
            new Arrival(socket, *this); // owned by the socket
    });
    server->moveToThread(receiver.get());
    connect(receiver.get(), &QThread::finished, server, &QObject::deleteLater);
    receiver->setObjectName("hand-off receiver");
    receiver->start();
}

HandOffChannel::~HandOffChannel()
{
    receiver->quit();
    receiver->wait();
}

bool HandOffChannel::listen(QString& error)
{
    const QString path = socketPath(error);
    if (path.isEmpty())
        return false;
    bool listening = false;
    QMetaObject::invokeMethod(
        server,
        [&] {
            // Only the owner of the hand-off block listens, so a socket found here was left by a dead instance.
            QLocalServer::removeServer(path);
            listening = server->listen(path);
            if (!listening)
                error = server->errorString();
        },
        Qt::BlockingQueuedConnection);
    return listening;
}

bool HandOffChannel::deliver(const HandOffMessage& message, QString& error)
{
    const QString path = socketPath(error);
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    if (!connectWithin(socket, path, kConnectWithinMs)) {
        error = socket.errorString();
        return false;
    }
    const bool sent = writeAll(socket, std::string(1, kHandOffWakeUp) + encodeHandOff(message));
    char answer = 0;
    if (!sent || !socket.waitForReadyRead(kConfirmWithinMs) || socket.read(&answer, 1) != 1 ||
        answer != kHandOffReceived) {
        error = sent ? QString("the running Stampkeep did not confirm the hand-off") : socket.errorString();
        return false;
    }
    socket.disconnectFromServer();
    return true;
}
