// The wake-up call from a later start to the running Stampkeep: one byte on a local socket private to the user.
#pragma once

#include <QObject>

class QLocalServer;

class HandOffChannel : public QObject
{
    Q_OBJECT

public:
    explicit HandOffChannel(QObject* parent = nullptr);

    // Starts listening, replacing a socket left by a dead instance; false with `error` when it cannot.
    bool listen(QString& error);
    // Wakes the running instance; false when none answers.
    static bool notify();

signals:
    // A later start has written its command line into the hand-off block.
    void messageArrived();

private:
    static QString socketPath();

    QLocalServer* server;
};
