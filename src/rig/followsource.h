#pragma once

#include "net/hostport.h"

#include <QString>

#include <optional>

// Where the radio's frequency comes from: rigctld, asked by the console, or what another
// program at the station announces over UDP (a logger's RadioInfo, WSJT-X, Hamlib).
struct FollowSource
{
    enum class Kind { Rigctld, RadioInfo, Wsjtx, HamlibMulticast, Mqtt };

    static constexpr quint16 RadioInfoPort = 12060;
    static constexpr quint16 WsjtxPort = 2237;
    static constexpr quint16 HamlibPort = 4532;
    // What rigctld's --multicast-addr recommends.
    static constexpr const char *HamlibGroup = "224.0.1.1";

    Kind kind = Kind::Rigctld;
    // rigctld's address; for an announcement, the group or address listened on (empty: this
    // computer's loopback) and the port.
    HostPort where;
    // What another program publishes about its radio on the station's broker.
    QString topic;

    // "HOST[:PORT]" or "rigctld:HOST[:PORT]"; "udp-radioinfo[:[GROUP:]PORT]",
    // "wsjtx[:[GROUP:]PORT]", "hamlib-multicast[:GROUP:PORT]", "mqtt:TOPIC" (a topic of the broker
    // the console is on); GROUP may also be an address of this computer, 0.0.0.0 for all. None when
    // it is none of these.
    static std::optional<FollowSource> parse(const QString &text);
    QString text() const;
    // "rigctld", "RadioInfo", "WSJT-X", "Hamlib", "MQTT".
    QString name() const;
    bool announced() const { return kind != Kind::Rigctld; }
};
