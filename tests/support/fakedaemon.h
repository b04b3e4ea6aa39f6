#pragma once

#include <QByteArray>
#include <QTcpServer>

#include <functional>

// A small rigctld of the test's own on loopback, for what a real daemon does not do: errors,
// noise, replies in pieces, silence. Each command line gets what answer() returns.
class FakeDaemon
{
public:
    FakeDaemon();

    quint16 port() const { return server.serverPort(); }

    QTcpServer server;
    int connections = 0;
    // Replies written in two halves, 30 ms apart.
    bool split = false;
    // No answer at all while unset.
    std::function<QByteArray(const QByteArray &line)> answer;
};
