#pragma once

#include "net/hostport.h"
#include "rigcontrol.h"

#include <QByteArray>
#include <QElapsedTimer>
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
    // What a daemon may send: no reply runs longer, and nothing more is held unread.
    static constexpr int MaxReplyLines = 64;
    static constexpr qint64 MaxBuffered = 64 * 1024;

    explicit RigctldClient(QObject *parent = nullptr);
    ~RigctldClient() override;

    // "host", "host:port", "[::1]:4532"; none when it is no address.
    static std::optional<HostPort> parseAddress(const QString &text)
    {
        return HostPort::parse(text, DefaultPort);
    }

    void setAddress(const HostPort &address) { m_server = address; }
    const HostPort &server() const { return m_server; }
    // Clamped to 100–5000 ms.
    void setPollInterval(int ms);
    int pollInterval() const { return m_pollMs; }

    void start();
    void stop();

    // One command of the extended protocol ("\\set_freq 7074000", "\\get_mode"), sent in
    // turn with the polls: its RPRT code, and its values in order ("AM", "6000"). A command
    // that is never answered (the daemon is lost) answers with code -6 (RIG_EIO).
    using Reply = std::function<void(int code, const QStringList &values)>;
    // urgent: sent next, ahead of what waits (unkeying).
    void command(const QByteArray &line, Reply reply, bool urgent = false);

    State state() const override { return m_state; }
    QString address() const override;
    std::optional<qint64> frequency() const override { return m_frequency; }
    Ptt ptt() const override { return m_ptt; }
    bool pttReliable() const override { return m_pttReliable; }
    bool reportsSwr() const override { return m_reportsSwr; }
    void probe() override;

private:
    using Answer = std::function<void(std::optional<QString> value)>;
    struct Request
    {
        QByteArray command;
        Answer answer;
        Reply reply; // instead of answer, for command()
    };

    void connectNow();
    void dropQueue();
    void dropSocket();
    void setState(State state);
    void fail();
    void poll();
    void ask(const QByteArray &command, Answer answer);
    void sendNext();
    void readReplies();
    static Ptt pttOf(const std::optional<QString> &value);

    HostPort m_server;
    int m_pollMs = DefaultPollMs;
    State m_state = State::Off;
    QPointer<QTcpSocket> m_socket;
    QQueue<Request> m_queue;
    bool m_waiting = false;
    QStringList m_lines;
    QTimer m_pollTimer;
    QElapsedTimer m_pollStarted;
    QTimer m_replyTimer;
    QTimer m_retryTimer;
    int m_retryMs = FirstRetryMs;
    std::optional<qint64> m_frequency;
    Ptt m_ptt = Ptt::Unknown;
    bool m_probing = false;
    bool m_reportsSwr = false;
    bool m_pttReliable = true;
};
