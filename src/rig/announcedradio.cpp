#include "announcedradio.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>

AnnouncedRadio::AnnouncedRadio(const FollowSource &source, QObject *parent)
    : RigControl(parent)
    , m_source(source)
{
    m_silence.setSingleShot(true);
    m_silence.setInterval(SilenceMs);
    connect(&m_silence, &QTimer::timeout, this, [this] {
        m_frequency.reset();
        m_ptt = Ptt::Unknown;
        // A program that went without a word is gone all the same: the next one heard is
        // followed, unless the operator named one.
        if (m_program.isEmpty())
            m_who.clear();
        setState(State::Lost);
    });
    connect(&m_socket, &QUdpSocket::readyRead, this, &AnnouncedRadio::readSome);
}

QString AnnouncedRadio::address() const
{
    return m_source.text();
}

void AnnouncedRadio::start()
{
    stop();
    m_problem.clear();
    if (m_source.kind == FollowSource::Kind::Mqtt) {
        setState(State::Connecting);
        return;
    }
    // A port that other programs share (loggers' broadcasts have many listeners), on
    // loopback unless the operator named a group. A group's socket is bound to the group
    // itself, so nothing sent to this computer's own addresses arrives on it; Windows takes
    // a group only on a socket bound to every address. Either way only senders on this
    // computer are heard (readSome): an announcement carries no password.
    const QHostAddress named(m_source.where.host);
    const bool group = named.isMulticast();
#ifdef Q_OS_WIN
    const QHostAddress groupBound(QHostAddress::AnyIPv4);
#else
    const QHostAddress groupBound = named;
#endif
    const QHostAddress bound = m_source.where.host.isEmpty() ? QHostAddress(QHostAddress::LocalHost)
                               : group                       ? groupBound
                                                             : named;
    m_own = group ? QNetworkInterface::allAddresses() : QList<QHostAddress>();
    if (!m_socket.bind(bound, m_source.where.port,
                       QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        m_problem = m_socket.errorString();
        setState(State::Lost);
        return;
    }
    if (group) {
        // Every interface that carries multicast, this computer's own among them.
        bool joined = false;
        for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
            if (interface.flags().testFlag(QNetworkInterface::IsUp) &&
                (interface.flags().testFlag(QNetworkInterface::CanMulticast) ||
                 interface.flags().testFlag(QNetworkInterface::IsLoopBack)))
                joined = m_socket.joinMulticastGroup(named, interface) || joined;
        }
        if (!joined && !m_socket.joinMulticastGroup(named)) {
            m_problem = m_socket.errorString();
            m_socket.close();
            setState(State::Lost);
            return;
        }
    }
    m_silence.start();
    setState(State::Connecting);
}

void AnnouncedRadio::stop()
{
    m_socket.close();
    m_silence.stop();
    m_frequency.reset();
    m_ptt = Ptt::Unknown;
    m_who.clear();
    setState(State::Off);
}

void AnnouncedRadio::probe()
{
    // Nothing can be asked: what was announced last is the answer.
    QTimer::singleShot(0, this, [this] { emit probed(m_ptt, std::nullopt); });
}

void AnnouncedRadio::readSome()
{
    // A flood is read a burst at a time: what is left makes the socket ready again at the
    // next turn of the event loop, after the window's own events. Only this handler reads:
    // Qt listens for more only once readyRead's handler has read.
    for (int n = 0; n < Burst && m_socket.hasPendingDatagrams(); ++n) {
        if (m_socket.pendingDatagramSize() > MaxDatagram) {
            m_socket.readDatagram(nullptr, 0); // discards it
            ++m_counts.dropped;
            continue;
        }
        const QNetworkDatagram datagram = m_socket.receiveDatagram(MaxDatagram);
        const QHostAddress sender = datagram.senderAddress();
        if (!sender.isLoopback() && !m_own.contains(sender)) {
            ++m_counts.dropped; // from beyond this computer
            continue;
        }
        take(datagram.data());
    }
}

void AnnouncedRadio::hear(const QByteArray &payload)
{
    if (m_source.kind != FollowSource::Kind::Mqtt || m_state == State::Off)
        return;
    if (payload.size() > MaxDatagram) {
        ++m_counts.dropped;
        return;
    }
    take(payload);
}

void AnnouncedRadio::take(const QByteArray &datagram)
{
    Announcement heard;
    switch (m_source.kind) {
    case FollowSource::Kind::RadioInfo:
        heard = Announcement::radioInfo(datagram, m_radio);
        break;
    case FollowSource::Kind::Wsjtx:
        heard = Announcement::wsjtx(datagram, m_program.isEmpty() ? m_who : m_program);
        break;
    case FollowSource::Kind::HamlibMulticast:
        heard = Announcement::hamlib(datagram);
        break;
    case FollowSource::Kind::Mqtt:
        heard = Announcement::published(datagram);
        break;
    case FollowSource::Kind::Rigctld:
        return;
    }
    switch (heard.kind) {
    case Announcement::Kind::Malformed:
        ++m_counts.dropped;
        return;
    case Announcement::Kind::Ignored:
        ++m_counts.ignored;
        return;
    case Announcement::Kind::Gone:
        ++m_counts.taken;
        // Following the first program heard: the next one heard is followed now.
        if (m_program.isEmpty())
            m_who.clear();
        m_silence.stop();
        m_frequency.reset();
        m_ptt = Ptt::Unknown;
        setState(State::Lost);
        return;
    case Announcement::Kind::Alive:
    case Announcement::Kind::Reading:
        break;
    }
    ++m_counts.taken;
    m_who = heard.who;
    if (m_source.kind != FollowSource::Kind::Mqtt)
        m_silence.start();
    setState(State::Connected);
    if (heard.kind == Announcement::Kind::Reading) {
        m_frequency = heard.hz;
        // A reading that does not mention transmitting leaves the last word on it standing:
        // only a stated "receiving", or silence, ends a hold.
        if (heard.ptt != Ptt::Unknown)
            m_ptt = heard.ptt;
        // A topic keeps its last message; one that said "transmitting" and then fell silent
        // holds the relays no longer than a silent announcer would.
        if (m_source.kind == FollowSource::Kind::Mqtt) {
            if (m_ptt == Ptt::Transmitting)
                m_silence.start();
            else
                m_silence.stop();
        }
        emit polled(m_frequency, m_ptt);
    }
}

void AnnouncedRadio::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}
