#include "rigrescue.h"

#include "net/linereader.h"

#include <QEventLoop>
#include <QTcpSocket>

#include <algorithm>

namespace {

constexpr QByteArrayView Unkey = "\\set_ptt 0";
constexpr QByteArrayView AskPtt = "\\get_ptt";

} // namespace

QList<QByteArray> RadioSnapshot::commands() const
{
    return {"\\set_freq " + QByteArray::number(hz), "\\set_mode " + mode + ' ' + passband,
            "\\set_level RFPOWER " + power};
}

QByteArray RadioSnapshot::text() const
{
    return QByteArray::number(hz) + ' ' + mode + ' ' + passband + ' ' + power;
}

std::optional<RadioSnapshot> RadioSnapshot::parse(const QByteArray &text)
{
    const QList<QByteArray> words = text.simplified().split(' ');
    if (words.size() != 4)
        return std::nullopt;
    RadioSnapshot out;
    bool okHz = false;
    bool okPower = false;
    out.hz = words[0].toLongLong(&okHz);
    out.mode = words[1];
    out.passband = words[2];
    out.power = words[3];
    const double power = out.power.toDouble(&okPower);
    // Only what a radio could have answered goes back to it: no command rides along.
    const auto plain = [](const QByteArray &word) {
        return std::all_of(word.begin(), word.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   c == '.' || c == '-';
        });
    };
    if (!okHz || out.hz <= 0 || !okPower || !(power >= 0 && power <= 1) || !plain(out.mode) ||
        !plain(out.passband))
        return std::nullopt;
    return out;
}

RigRescue::RigRescue(const HostPort &rig, std::optional<RadioSnapshot> putBack, bool unkey,
                     QObject *parent)
    : QObject(parent)
    , m_rig(rig)
    , m_unkey(unkey)
{
    if (unkey)
        m_commands << Unkey.toByteArray();
    if (putBack)
        m_commands << putBack->commands();
    if (unkey)
        m_commands << AskPtt.toByteArray();
    m_deadline.setSingleShot(true);
    m_pace.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this,
            [this] { failed(tr("трансивер не ответил за %1 с").arg(AttemptMs / 1000.0)); });
    connect(&m_pace, &QTimer::timeout, this, &RigRescue::attempt);
}

RigRescue::~RigRescue()
{
    if (m_socket)
        m_socket->abort();
}

void RigRescue::start()
{
    if (m_running)
        return;
    m_running = true;
    m_next = m_unkey ? 1 : 0;
    if (m_commands.isEmpty()) {
        m_running = false;
        emit finished();
        return;
    }
    attempt();
}

bool RigRescue::runFor(int ms)
{
    QEventLoop loop;
    connect(this, &RigRescue::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    start();
    if (m_running)
        loop.exec();
    return !m_running;
}

void RigRescue::attempt()
{
    if (m_socket)
        m_socket->abort();
    ++m_attempts;
    m_lines.clear();
    auto *socket = new QTcpSocket(this);
    m_socket = socket;
    socket->setReadBufferSize(64 * 1024);
    connect(socket, &QTcpSocket::readyRead, this, &RigRescue::readReplies);
    connect(socket, &QTcpSocket::errorOccurred, this,
            [this, socket] { failed(socket->errorString()); });
    connect(socket, &QTcpSocket::connected, this, [this] {
        // Every attempt unkeys first, whatever the last one reached.
        m_cursor = m_unkey ? 0 : m_next;
        sendNext();
    });
    m_deadline.start(AttemptMs);
    socket->connectToHost(m_rig.host, m_rig.port);
}

void RigRescue::sendNext()
{
    m_lines.clear();
    m_socket->write('+' + m_commands.at(m_cursor) + '\n');
    m_deadline.start(AttemptMs);
}

void RigRescue::readReplies()
{
    QByteArray bytes;
    while (m_socket) {
        const LineReader::Status status = LineReader::next(*m_socket, &bytes);
        if (status == LineReader::Status::NoLine)
            return;
        if (status == LineReader::Status::TooLong || m_lines.size() > 64)
            return failed(tr("ответ не похож на rigctld"));
        const QByteArray line = bytes.trimmed();
        if (!line.startsWith("RPRT ")) {
            m_lines << line;
            continue;
        }
        bool ok = false;
        const int code = line.mid(5).trimmed().toInt(&ok);
        const QByteArray command = m_commands.at(m_cursor);
        if (m_cursor == 0 && m_unkey) {
            // Nothing else matters until the carrier is off.
            if (!ok || code != 0)
                return failed(tr("трансивер отказал в «%1» (RPRT %2)")
                                  .arg(QString::fromLatin1(command), QString::fromLatin1(line)));
            if (!m_unkeyed) {
                m_unkeyed = true;
                emit unkeyedNow();
            }
            m_cursor = m_next;
        } else if (m_cursor == m_commands.size() - 1 && m_unkey) {
            // The last word: the radio reads as not transmitting ("PTT: 0", or a bare 0).
            const QByteArray value = m_lines.isEmpty() ? QByteArray() : m_lines.last();
            const QByteArray ptt = value.mid(value.lastIndexOf(':') + 1).trimmed();
            if (!ok || code != 0 || ptt != "0")
                return failed(tr("трансивер всё ещё передаёт"));
            return done();
        } else {
            // A radio that refuses part of its old state will refuse it every time: that part
            // stays as it is rather than holding the rescue.
            if (!ok || code != 0)
                emit attemptFailed(
                    m_attempts, tr("трансивер отказал в «%1» (RPRT %2)")
                                    .arg(QString::fromLatin1(command), QString::fromLatin1(line)));
            m_next = ++m_cursor;
            if (m_cursor == m_commands.size())
                return done();
        }
        sendNext();
    }
}

void RigRescue::done()
{
    m_deadline.stop();
    m_running = false;
    m_socket->disconnect(this);
    m_socket->disconnectFromHost();
    m_socket->deleteLater();
    m_socket = nullptr;
    emit finished();
}

void RigRescue::failed(const QString &why)
{
    if (!m_running || m_pace.isActive())
        return;
    m_deadline.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    emit attemptFailed(m_attempts, why);
    m_pace.start(PaceMs);
}
