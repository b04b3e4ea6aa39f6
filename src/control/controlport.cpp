#include "controlport.h"

#include "net/linereader.h"
#include "net/passwordcheck.h"
#include "station/station.h"
#include "tune/tuning.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

QByteArray rprt(int code)
{
    return "RPRT " + QByteArray::number(code) + '\n';
}

} // namespace

struct ControlPort::Client
{
    quint64 id = 0;
    QTcpSocket *socket = nullptr;
    QString from;
    // Beyond loopback the password was given; on loopback there is none to give.
    bool authenticated = false;
    bool seated = false;
    bool subscribed = false;
    // It started the sweep under way: told its points though not subscribed.
    bool watchesSweep = false;
    // An answer is being worked out; the next line waits.
    bool busy = false;
    // Lines are being read from it just now.
    bool reading = false;
    // A long answer goes out as the client reads it: what is not written yet, and what is to
    // be told after it (pushed lines, a subscription's first state).
    QByteArray answerRest;
    QByteArray afterAnswer;
    QElapsedTimer since;
    QElapsedTimer heard;
    QTimer *deadline = nullptr;

    // The socket may outlive its client while it says goodbye; the deadline must not.
    ~Client() { delete deadline; }
};

ControlPort::ControlPort(Station &station, QObject *parent)
    : QObject(parent)
    , m_panel(station.panel())
    , m_commands(station)
    , m_news(station)
{
    connect(&m_listener, &Listener::connected, this, &ControlPort::accept);
    connect(&m_news, &StationNews::told, this,
            [this](StationNews::Kind kind, const QByteArray &line) { push(kind, line); });
}

ControlPort::~ControlPort()
{
    while (!m_clients.isEmpty())
        drop(m_clients.first());
}

std::optional<HostPort> ControlPort::parseAddress(const QString &text)
{
    return ServiceGate::parseAddress(text, DefaultPort);
}

bool ControlPort::start(const HostPort &where, const Security &security, QString *error)
{
    const std::optional<bool> beyond = ServiceGate::reach(where, !security.passwordRecord.isEmpty(),
                                                          security.tls.has_value(), error);
    if (!beyond)
        return false;
    m_secure = *beyond;
    m_passwordRecord = security.passwordRecord;
    m_passwords = security.passwords ? security.passwords : new PasswordCheck(this);
    if (m_secure)
        m_listener.useTls(*security.tls);
    // Connections at once: the places, those waiting for one, and those being sent away.
    Listener::Limits limits;
    limits.maxPeers = 4 * (MaxClients + MaxWaiting);
    m_listener.limitPeers(limits);
    return m_listener.listen(where, error);
}

int ControlPort::clientCount() const
{
    return int(std::count_if(m_clients.cbegin(), m_clients.cend(),
                             [](const Client *client) { return client->seated; }));
}

void ControlPort::accept(QTcpSocket *socket)
{
    socket->setParent(this);
    const QString from = socket->peerAddress().toString();
    if (m_lockout.locked(from)) {
        socket->write(rprt(ControlCommands::Refused));
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(FirstWordMs, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        return;
    }
    // Too many waiting: the one waiting longest, from this address if it has one, goes.
    const QList<Client *> waiting = [this] {
        QList<Client *> out;
        for (Client *client : std::as_const(m_clients)) {
            if (!client->seated && !client->busy)
                out << client;
        }
        return out;
    }();
    if (waiting.size() >= MaxWaiting) {
        const auto older = [](const Client *a, const Client *b) {
            return a->since.elapsed() < b->since.elapsed();
        };
        QList<Client *> same;
        std::copy_if(waiting.cbegin(), waiting.cend(), std::back_inserter(same),
                     [&](const Client *client) { return client->from == from; });
        const QList<Client *> &pool = same.isEmpty() ? waiting : same;
        drop(*std::max_element(pool.cbegin(), pool.cend(), older));
    }
    auto *client = new Client;
    client->id = ++m_lastId;
    client->socket = socket;
    client->from = from;
    client->authenticated = !m_secure;
    client->since.start();
    client->heard.start();
    m_clients << client;
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, int(MaxBacklog));
    socket->setReadBufferSize(MaxBacklog);
    connect(socket, &QIODevice::readyRead, this, [this, client] { read(client); });
    connect(socket, &QIODevice::bytesWritten, this, [this, client] { feed(client); });
    connect(socket, &QAbstractSocket::disconnected, this, [this, client] { drop(client); });
    client->deadline = new QTimer(socket);
    client->deadline->setSingleShot(true);
    connect(client->deadline, &QTimer::timeout, this, [this, client] {
        if (!client->seated && !client->busy)
            drop(client);
    });
    client->deadline->start(FirstWordMs);
}

void ControlPort::read(Client *client)
{
    if (client->reading)
        return;
    client->reading = true;
    QByteArray line;
    qsizetype size = 0;
    while (m_clients.contains(client) && !client->busy) {
        const LineReader::Status status = LineReader::peek(*client->socket, &line, &size, MaxLine);
        if (status == LineReader::Status::NoLine) {
            // Answers go out before a client's end of input can be read.
            client->socket->flush();
            break;
        }
        // A line over the cap, or a browser's request carrying a page's lines: the
        // connection goes, and nothing of it runs.
        if (status == LineReader::Status::TooLong || LineReader::isHttp(line)) {
            drop(client);
            return;
        }
        client->heard.restart();
        handle(client, line, size);
    }
    if (m_clients.contains(client))
        client->reading = false;
}

void ControlPort::handle(Client *client, const QByteArray &line, qsizetype size)
{
    const QByteArray trimmed = line.trimmed();
    const QByteArray command = trimmed.startsWith('+') ? trimmed.mid(1) : trimmed;
    const bool auth = command.startsWith("\\auth ");
    if (!client->authenticated) {
        if (auth)
            return authenticate(client, command, size);
        client->socket->skip(size);
        return send(client, rprt(ControlCommands::Security));
    }
    if (!client->seated && !seat(client)) {
        client->socket->skip(size);
        send(client, rprt(ControlCommands::Refused));
        return close(client);
    }
    // A password sent to a port that needs none is taken without a word about it.
    if (auth) {
        client->socket->skip(size);
        return send(client, rprt(ControlCommands::Ok));
    }
    hold(client, true);
    const quint64 id = client->id;
    m_commands.run(
        line, [this, id, size](const ControlCommands::Reply &reply) { answered(id, size, reply); });
}

void ControlPort::authenticate(Client *client, const QByteArray &command, qsizetype size)
{
    // Checked one at a time on the checker's thread; so many at once, and the rest are
    // turned away to try again.
    if (!m_passwords->hasRoom(client->from)) {
        client->socket->skip(size);
        return send(client, rprt(ControlCommands::Refused));
    }
    if (!m_lockout.admit(client->from)) {
        client->socket->skip(size);
        send(client, rprt(ControlCommands::Security));
        return close(client);
    }
    const quint64 id = client->id;
    hold(client, true);
    m_passwords->submit(QString::fromUtf8(command.mid(6)), {m_passwordRecord}, client->from, this,
                        [this, id, size](int matched) { checked(id, size, matched == 0); });
}

void ControlPort::checked(quint64 id, qsizetype size, bool matched)
{
    Client *client = find(id);
    if (!client)
        return;
    hold(client, false);
    client->socket->skip(size);
    if (!matched) {
        send(client, rprt(ControlCommands::Security));
        if (m_lockout.locked(client->from))
            return close(client);
    } else {
        client->authenticated = true;
        m_lockout.passed(client->from);
        if (!seat(client)) {
            send(client, rprt(ControlCommands::Refused));
            return close(client);
        }
        send(client, rprt(ControlCommands::Ok));
    }
    client->socket->flush();
    read(client);
}

void ControlPort::answered(quint64 id, qsizetype size, const ControlCommands::Reply &reply)
{
    Client *client = find(id);
    if (!client)
        return;
    hold(client, false);
    client->socket->skip(size);
    sendAnswer(client, reply.text);
    if (!m_clients.contains(client))
        return;
    switch (reply.effect) {
    case ControlCommands::Reply::Effect::Subscribe:
        client->subscribed = true;
        send(client, ControlCommands::stateLine(m_panel.state()));
        break;
    case ControlCommands::Reply::Effect::Unsubscribe:
        client->subscribed = false;
        break;
    case ControlCommands::Reply::Effect::WatchSweep:
        client->watchesSweep = true;
        break;
    case ControlCommands::Reply::Effect::Quit:
        return close(client);
    case ControlCommands::Reply::Effect::None:
        break;
    }
    // An answer that came later takes up the lines that waited for it; one still going out
    // does so once it has.
    if (m_clients.contains(client) && !client->answerRest.isEmpty())
        return hold(client, true);
    if (m_clients.contains(client) && !client->reading) {
        client->socket->flush();
        read(client);
    }
}

bool ControlPort::seat(Client *client)
{
    if (clientCount() >= MaxClients) {
        Client *silent = nullptr;
        for (Client *other : std::as_const(m_clients)) {
            if (!other->seated || other->subscribed || other->busy ||
                other->heard.elapsed() <= SilentMs)
                continue;
            if (!silent || other->heard.elapsed() > silent->heard.elapsed())
                silent = other;
        }
        if (!silent)
            return false;
        close(silent);
    }
    client->seated = true;
    return true;
}

void ControlPort::hold(Client *client, bool held)
{
    client->busy = held;
    // The line being answered stays in the buffer, which is then full: nothing more is read,
    // not even the end of input, until the answer is out.
    client->socket->setReadBufferSize(held ? 1 : MaxBacklog);
}

ControlPort::Client *ControlPort::find(quint64 id) const
{
    for (Client *client : m_clients) {
        if (client->id == id)
            return client;
    }
    return nullptr;
}

void ControlPort::sendAnswer(Client *client, const QByteArray &text)
{
    if (text.size() > MaxAnswer)
        return send(client, rprt(ControlCommands::NotAvailable));
    const qint64 room = MaxBacklog - client->socket->bytesToWrite();
    if (text.size() <= room)
        return send(client, text);
    // Longer than the client may leave unread: it goes as the client reads.
    client->socket->write(text.left(std::max<qint64>(room, 0)));
    client->answerRest = text.mid(std::max<qint64>(room, 0));
}

void ControlPort::feed(Client *client)
{
    if (!m_clients.contains(client) || client->answerRest.isEmpty())
        return;
    const qint64 room = MaxBacklog - client->socket->bytesToWrite();
    if (room < MaxBacklog / 4)
        return;
    client->socket->write(client->answerRest.left(room));
    client->answerRest.remove(0, room);
    if (!client->answerRest.isEmpty())
        return;
    const QByteArray after = std::exchange(client->afterAnswer, QByteArray());
    send(client, after);
    if (!m_clients.contains(client))
        return;
    hold(client, false);
    read(client);
}

void ControlPort::send(Client *client, const QByteArray &bytes)
{
    if (bytes.isEmpty() || !m_clients.contains(client))
        return;
    // Nothing goes into the middle of a long answer: it waits, bounded as the backlog is.
    if (!client->answerRest.isEmpty()) {
        if (client->afterAnswer.size() + bytes.size() > MaxBacklog)
            return drop(client);
        client->afterAnswer += bytes;
        return;
    }
    // A client that does not read is dropped before it holds the console's memory.
    if (client->socket->bytesToWrite() + bytes.size() > MaxBacklog)
        return drop(client);
    client->socket->write(bytes);
}

void ControlPort::drop(Client *client)
{
    if (!m_clients.removeOne(client))
        return;
    QTcpSocket *socket = client->socket;
    delete client;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void ControlPort::close(Client *client)
{
    if (!m_clients.removeOne(client))
        return;
    QTcpSocket *socket = client->socket;
    delete client;
    socket->disconnect(this);
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(FirstWordMs, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
}

void ControlPort::push(StationNews::Kind kind, const QByteArray &line)
{
    const bool sweep = kind == StationNews::Kind::Sweep;
    const bool sweepEnds = sweep && !line.startsWith("!sweep F=");
    const QList<Client *> clients = m_clients;
    for (Client *client : clients) {
        const bool tell = (client->subscribed || (sweep && client->watchesSweep)) && client->seated;
        if (sweepEnds)
            client->watchesSweep = false;
        if (tell)
            send(client, line); // may drop the client
    }
}
