#pragma once

#include "rigcontrol.h"

#include <QByteArray>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QTimer>

#include <functional>

class QTcpSocket;

// Hamlib's network rig daemon, spoken with its extended response protocol: every command
// goes with a "+" and every reply ends with an "RPRT n" line. One connection is kept, one
// request is in flight, and the next poll is armed only from an answer.
class RigctldClient : public RigControl
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 4532;
    static constexpr int DefaultPollMs = 500;
    // An answer later than this means the daemon is stuck: the connection is dropped.
    static constexpr int ReplyTimeoutMs = 3000;
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LastRetryMs = 10000;

    explicit RigctldClient(QObject *parent = nullptr);
    ~RigctldClient() override;

    // "host", "host:port", "[::1]:4532"; false when it is none.
    static bool parseAddress(const QString &text, QString *host, quint16 *port);

    void setAddress(const QString &host, quint16 port);
    // Clamped to 100–5000 ms.
    void setPollInterval(int ms);
    int pollInterval() const { return m_pollMs; }

    void start();
    void stop();

    State state() const override { return m_state; }
    QString address() const override;
    std::optional<qint64> frequency() const override { return m_frequency; }
    Ptt ptt() const override { return m_ptt; }
    bool reportsSwr() const override { return m_reportsSwr; }
    void probe() override;

private:
    using Answer = std::function<void(std::optional<QString> value)>;
    struct Request
    {
        QByteArray command;
        Answer answer;
    };

    void connectNow();
    void dropSocket();
    void setState(State state);
    void fail();
    void poll();
    void ask(const QByteArray &command, Answer answer);
    void sendNext();
    void readReplies();
    static Ptt pttOf(const std::optional<QString> &value);

    QString m_host;
    quint16 m_port = DefaultPort;
    int m_pollMs = DefaultPollMs;
    State m_state = State::Off;
    QPointer<QTcpSocket> m_socket;
    QQueue<Request> m_queue;
    bool m_waiting = false;
    QStringList m_lines;
    QTimer m_pollTimer;
    QTimer m_replyTimer;
    QTimer m_retryTimer;
    int m_retryMs = FirstRetryMs;
    std::optional<qint64> m_frequency;
    Ptt m_ptt = Ptt::Unknown;
    bool m_probing = false;
    bool m_reportsSwr = false;
};
