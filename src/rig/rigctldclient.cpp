#include "rigctldclient.h"

#include "bandplan.h"
#include "net/linereader.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <cmath>

RigctldClient::RigctldClient(QObject *parent)
    : RigControl(parent)
{
    m_pollTimer.setSingleShot(true);
    m_replyTimer.setSingleShot(true);
    m_retryTimer.setSingleShot(true);
    connect(&m_pollTimer, &QTimer::timeout, this, &RigctldClient::poll);
    connect(&m_replyTimer, &QTimer::timeout, this, &RigctldClient::fail);
    connect(&m_retryTimer, &QTimer::timeout, this, &RigctldClient::connectNow);
}

RigctldClient::~RigctldClient()
{
    stop();
}

void RigctldClient::setPollInterval(int ms)
{
    m_pollMs = std::clamp(ms, 100, 5000);
}

QString RigctldClient::address() const
{
    return m_server.text();
}

void RigctldClient::start()
{
    stop();
    m_retryMs = FirstRetryMs;
    connectNow();
}

void RigctldClient::stop()
{
    m_pollTimer.stop();
    m_replyTimer.stop();
    m_retryTimer.stop();
    dropQueue();
    m_waiting = false;
    m_lines.clear();
    m_frequency.reset();
    m_ptt = Ptt::Unknown;
    m_probing = false;
    m_reportsSwr = false;
    dropSocket();
    setState(State::Off);
}

void RigctldClient::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged();
}

void RigctldClient::connectNow()
{
    // A fresh socket for every attempt: nothing of a broken connection is carried over.
    dropSocket();
    dropQueue();
    m_waiting = false;
    m_lines.clear();
    auto *socket = new QTcpSocket(this);
    m_socket = socket;
    connect(socket, &QTcpSocket::connected, this, [this] {
        m_pttReliable = true;
        // A radio without an SWR bridge answers the level with an error (RPRT -11).
        ask("+\\get_level SWR", [this](std::optional<QString> value) {
            m_reportsSwr = value.has_value();
            setState(State::Connected);
            poll();
        });
    });
    socket->setReadBufferSize(MaxBuffered);
    connect(socket, &QTcpSocket::readyRead, this, &RigctldClient::readReplies);
    connect(socket, &QTcpSocket::errorOccurred, this, &RigctldClient::fail);
    connect(socket, &QTcpSocket::disconnected, this, &RigctldClient::fail);
    setState(State::Connecting);
    // Connecting may take as long as a lost network does; the reply timer bounds it.
    m_replyTimer.start(ReplyTimeoutMs);
    socket->connectToHost(m_server.host, m_server.port);
}

void RigctldClient::dropSocket()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

void RigctldClient::fail()
{
    // An error and the disconnection that follows it are one failure.
    if (m_state == State::Off || m_state == State::Lost)
        return;
    m_pollTimer.stop();
    m_replyTimer.stop();
    dropSocket();
    dropQueue();
    m_waiting = false;
    m_frequency.reset();
    m_ptt = Ptt::Unknown;
    if (m_probing) {
        m_probing = false;
        emit probed(Ptt::Unknown, std::nullopt);
    }
    setState(State::Lost);
    // Retry for as long as following is on, a little later each time.
    m_retryTimer.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, LastRetryMs);
}

void RigctldClient::poll()
{
    m_pollStarted.start();
    auto frequency = std::make_shared<std::optional<qint64>>();
    ask("+\\get_freq", [this, frequency](std::optional<QString> value) {
        bool ok = false;
        const double hz = value ? value->toDouble(&ok) : 0;
        if (ok)
            *frequency = BandPlan::hertzOf(hz);
    });
    ask("+\\get_ptt", [this, frequency](std::optional<QString> value) {
        m_frequency = *frequency;
        m_ptt = pttOf(value);
        m_pttReliable = m_pttReliable && m_ptt != Ptt::Unknown;
        m_retryMs = FirstRetryMs; // the daemon answers: a later loss starts the backoff anew
        emit polled(*frequency, m_ptt);
        // Polls start a whole interval apart, however long the radio took to answer.
        m_pollTimer.start(int(std::max<qint64>(0, m_pollMs - m_pollStarted.elapsed())));
    });
}

void RigctldClient::probe()
{
    if (m_state != State::Connected) {
        emit probed(Ptt::Unknown, std::nullopt);
        return;
    }
    m_probing = true;
    auto ptt = std::make_shared<Ptt>(Ptt::Unknown);
    ask("+\\get_ptt", [this, ptt](std::optional<QString> value) { *ptt = m_ptt = pttOf(value); });
    ask("+\\get_level SWR", [this, ptt](std::optional<QString> value) {
        bool ok = false;
        const double swr = value ? value->toDouble(&ok) : 0;
        m_probing = false;
        // Below 1 is no reading: a radio without a bridge answers 0.
        emit probed(*ptt, ok && std::isfinite(swr) && swr >= 1.0 ? std::optional<double>(swr)
                                                                 : std::nullopt);
    });
}

RigControl::Ptt RigctldClient::pttOf(const std::optional<QString> &value)
{
    bool ok = false;
    const int ptt = value ? value->toInt(&ok) : 0;
    if (!ok)
        return Ptt::Unknown;
    return ptt != 0 ? Ptt::Transmitting : Ptt::Receiving;
}

void RigctldClient::ask(const QByteArray &command, Answer answer)
{
    m_queue.enqueue({command, std::move(answer), {}});
    sendNext();
}

void RigctldClient::dropQueue()
{
    // Whoever waits on a command hears that it went nowhere, once this call is over.
    for (const Request &request : std::as_const(m_queue)) {
        if (request.reply)
            QTimer::singleShot(0, this, [reply = request.reply] { reply(-6, {}); });
    }
    m_queue.clear();
}

void RigctldClient::command(const QByteArray &line, Reply reply, bool urgent)
{
    if (m_state != State::Connected) {
        QTimer::singleShot(0, this, [reply] { reply(-6, {}); });
        return;
    }
    const Request request{'+' + line, {}, std::move(reply)};
    // The head is in flight while an answer is awaited.
    if (urgent)
        m_queue.insert(m_waiting ? 1 : 0, request);
    else
        m_queue.enqueue(request);
    sendNext();
}

void RigctldClient::sendNext()
{
    if (m_waiting || m_queue.isEmpty() || !m_socket ||
        m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    m_waiting = true;
    m_lines.clear();
    m_socket->write(m_queue.head().command + '\n');
    m_replyTimer.start(ReplyTimeoutMs);
}

void RigctldClient::readReplies()
{
    QByteArray bytes;
    while (m_socket) {
        const LineReader::Status status = LineReader::next(*m_socket, &bytes);
        if (status == LineReader::Status::NoLine)
            return;
        // A line or a reply longer than any the daemon writes is no rigctld: drop it and
        // try again later, holding nothing of it.
        if (status == LineReader::Status::TooLong || m_lines.size() >= MaxReplyLines) {
            fail();
            return;
        }
        const QString line = QString::fromLatin1(bytes).trimmed();
        if (!m_waiting)
            continue; // nothing was asked: not ours to read
        if (!line.startsWith(QLatin1String("RPRT "))) {
            m_lines << line;
            continue;
        }
        // The value is the last line before RPRT that is not the echo of the command:
        // "Frequency: 7074000" gives 7074000, a bare "1.500000" gives itself.
        std::optional<QString> value;
        bool ok = false;
        const int code = line.mid(5).trimmed().toInt(&ok);
        if (ok && code == 0) {
            for (const QString &text : std::as_const(m_lines)) {
                if (text.isEmpty() || text.endsWith(QLatin1Char(':')) ||
                    text.startsWith(QLatin1String("get_")))
                    continue;
                const qsizetype colon = text.lastIndexOf(QLatin1String(": "));
                value = colon >= 0 ? text.mid(colon + 2).trimmed() : text;
            }
        }
        // Every line after the echo of the command, each without its key.
        QStringList values;
        const QByteArray name = m_queue.head().command.mid(2).split(' ').value(0);
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const QString &text = m_lines[i];
            if (i == 0 && text.startsWith(QString::fromLatin1(name) + QLatin1Char(':')))
                continue;
            const qsizetype colon = text.lastIndexOf(QLatin1String(": "));
            values << (colon >= 0 ? text.mid(colon + 2).trimmed() : text);
        }
        m_lines.clear();
        m_replyTimer.stop();
        m_waiting = false;
        const Request request = m_queue.dequeue();
        // A key-down or key-up the radio took is its transmit state now, before the next poll.
        if (ok && code == 0 && request.command.startsWith("+\\set_ptt "))
            m_ptt = request.command.endsWith(" 0") ? Ptt::Receiving : Ptt::Transmitting;
        if (request.reply)
            request.reply(ok ? code : -1, values);
        else
            request.answer(value);
        sendNext();
    }
}
