#pragma once

#include "rigcontrol.h"

#include <QByteArray>
#include <QString>

#include <optional>

// One datagram a program at the station sent about its radio, read.
struct Announcement
{
    enum class Kind {
        // The frequency (and the transmit state, where the format carries it).
        Reading,
        // The sender is there but says nothing of the radio (a heartbeat).
        Alive,
        // The sender says it is going away.
        Gone,
        // Well formed, but about another radio or program, or of no interest.
        Ignored,
        // Not the format, cut short, or of a version not known yet.
        Malformed,
    };
    Kind kind = Kind::Malformed;
    std::optional<qint64> hz;
    RigControl::Ptt ptt = RigControl::Ptt::Unknown;
    // Which radio or program it came from, as the operator would name it.
    QString who;

    // A logger's <RadioInfo> (N1MM Logger+, DXLab, Logger32, Log4OM…): frequencies in tens
    // of Hz. radio 0 takes the active radio's, 1 or 2 that radio's.
    static Announcement radioInfo(const QByteArray &datagram, int radio);
    // WSJT-X's messages (and its forks'): program, when not empty, the id to follow.
    static Announcement wsjtx(const QByteArray &datagram, const QString &program);
    // Hamlib's multicast snapshot (JSON).
    static Announcement hamlib(const QByteArray &datagram);
    // A radio's state another program publishes as JSON: the frequency in Hz as "freq" or
    // "frequency", the transmit state, where given, as "tx", "ptt" or "transmitting".
    static Announcement published(const QByteArray &json);
};
