// The local connection from a later start of Stampkeep to the running one, in the user's runtime folder: a wake-up
// byte, then the later start's whole message, which the running instance confirms once it has read it.
#pragma once

#include "core/handoffmessage.h"

#include <QObject>

#include <memory>

class QLocalServer;
class QThread;

class HandOffChannel : public QObject
{
    Q_OBJECT

public:
    explicit HandOffChannel(QObject* parent = nullptr);
    ~HandOffChannel() override;

    // Starts listening, replacing a socket left by a dead instance; false with `error` when it cannot.
    bool listen(QString& error);
    // Hands the message over and waits for the running instance to confirm it; false with `error` when it could not
    // be delivered, so that the later start can go on by itself.
    static bool deliver(const HandOffMessage& message, QString& error);

signals:
    // A later start's whole message has arrived and been confirmed; told in this object's thread.
    void messageArrived(const HandOffMessage& message);

private:
    // Later starts are read and confirmed in a thread of their own, so a window busy with a long run still answers.
    std::unique_ptr<QThread> receiver;
    QLocalServer* server; // lives in the receiving thread, and goes when it ends
};
