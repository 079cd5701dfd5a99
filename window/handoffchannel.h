// The local connection from a later start of Stampkeep to the running one, in the user's runtime folder: a wake-up
// byte, then the later start's whole message, which the running instance confirms once it has read it.
#pragma once

#include "core/handoffmessage.h"

#include <QObject>

class QLocalServer;

class HandOffChannel : public QObject
{
    Q_OBJECT

public:
    explicit HandOffChannel(QObject* parent = nullptr);

    // Starts listening, replacing a socket left by a dead instance; false with `error` when it cannot.
    bool listen(QString& error);
    // Hands the message over and waits for the running instance to confirm it; false with `error` when it could not
    // be delivered, so that the later start can go on by itself.
    static bool deliver(const HandOffMessage& message, QString& error);

signals:
    // A later start's whole message has arrived and been confirmed.
    void messageArrived(const HandOffMessage& message);

private:
    QLocalServer* server;
};
