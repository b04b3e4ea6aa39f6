#include "controlport.h"

#include "net/credentials.h"
#include "net/linereader.h"
#include "tune/tuning.h"

#include <QTcpSocket>
#include <QTimer>

struct ControlPort::Client
{
    QTcpSocket *socket = nullptr;
    bool authenticated = false;
    bool subscribed = false;
    QTimer *deadline = nullptr;

    // The socket may outlive its client while it says goodbye; the deadline must not.
    ~Client() { delete deadline; }
};

ControlPort::ControlPort(Panel &panel, Tuning *tuning, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_tuning(tuning)
    , m_commands(panel, tuning)
{
    connect(&m_listener, &Listener::connected, this, &ControlPort::accept);
    connect(&m_panel, &Panel::changed, this,
            [this] { push(ControlCommands::stateLine(m_panel.state())); });
    connect(&m_panel.lineLog(), &LineLog::added, this,
            [this](const LineLog::Entry &entry) { push(ControlCommands::logLine(entry)); });
    if (m_tuning) {
        connect(m_tuning, &Tuning::begun, this, [this](TuneSession *session) {
            connect(session, &TuneSession::changed, this,
                    [this, session] { push(ControlCommands::tuneLine(*session)); });
        });
    }
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
    if (m_secure)
        m_listener.useTls(*security.tls);
    return m_listener.listen(where, error);
}

void ControlPort::accept(QTcpSocket *socket)
{
    socket->setParent(this);
    const QString from = socket->peerAddress().toString();
    const bool refused = m_clients.size() >= MaxClients || m_lockout.locked(from);
    if (refused) {
        socket->write(QByteArray("RPRT ") + QByteArray::number(ControlCommands::Refused) + '\n');
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(AuthMs, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        return;
    }
    auto *client = new Client{socket, !m_secure, false, nullptr};
    m_clients << client;
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, int(MaxBacklog));
    socket->setReadBufferSize(MaxBacklog);
    connect(socket, &QIODevice::readyRead, this, [this, client] { read(client); });
    connect(socket, &QAbstractSocket::disconnected, this, [this, client] { drop(client); });
    if (m_secure) {
        client->deadline = new QTimer(socket);
        client->deadline->setSingleShot(true);
        connect(client->deadline, &QTimer::timeout, this, [this, client] {
            if (!client->authenticated)
                drop(client);
        });
        client->deadline->start(AuthMs);
    }
}

void ControlPort::read(Client *client)
{
    QByteArray line;
    while (m_clients.contains(client)) {
        const LineReader::Status status = LineReader::next(*client->socket, &line, MaxLine);
        if (status == LineReader::Status::NoLine)
            return;
        if (status == LineReader::Status::TooLong)
            return drop(client);
        if (!client->authenticated) {
            if (!authenticate(client, line))
                return;
            continue;
        }
        // A password sent to a port that needs none is taken without a word about it.
        if (line.startsWith("\\auth ") || line.startsWith("+\\auth ")) {
            send(client, "RPRT 0\n");
            continue;
        }
        const ControlCommands::Reply reply = m_commands.run(line);
        send(client, reply.text);
        switch (reply.effect) {
        case ControlCommands::Reply::Effect::Subscribe:
            client->subscribed = true;
            send(client, ControlCommands::stateLine(m_panel.state()));
            break;
        case ControlCommands::Reply::Effect::Unsubscribe:
            client->subscribed = false;
            break;
        case ControlCommands::Reply::Effect::Quit:
            return close(client);
        case ControlCommands::Reply::Effect::None:
            break;
        }
    }
}

bool ControlPort::authenticate(Client *client, const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    const bool extended = trimmed.startsWith('+');
    const QByteArray command = extended ? trimmed.mid(1) : trimmed;
    const QByteArray security = "RPRT " + QByteArray::number(ControlCommands::Security) + '\n';
    if (!command.startsWith("\\auth ")) {
        send(client, security);
        return m_clients.contains(client);
    }
    const QString from = client->socket->peerAddress().toString();
    if (Credentials::matches(QString::fromUtf8(command.mid(6)), m_passwordRecord)) {
        client->authenticated = true;
        m_lockout.passed(from);
        send(client, "RPRT 0\n");
        return m_clients.contains(client);
    }
    const bool locked = m_lockout.failed(from);
    send(client, security);
    if (locked) {
        close(client);
        return false;
    }
    return m_clients.contains(client);
}

void ControlPort::send(Client *client, const QByteArray &bytes)
{
    if (bytes.isEmpty() || !m_clients.contains(client))
        return;
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
    QTimer::singleShot(AuthMs, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
}

void ControlPort::push(const QByteArray &line)
{
    const QList<Client *> clients = m_clients;
    for (Client *client : clients) {
        if (client->subscribed && client->authenticated)
            send(client, line);
    }
}
