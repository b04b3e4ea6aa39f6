#pragma once

#include "link/packet.h"
#include "model/steps.h"

#include <QString>

#include <optional>

// The two relay steps that turn codes into values: picofarads per C step, nanohenries per L
// step.
struct RelaySteps
{
    int stepC = DefaultSteps::CapacitancePf;
    int stepL = DefaultSteps::InductanceNh;

    // "10,500" as given with --steps.
    static std::optional<RelaySteps> parse(const QString &text);
    // The steps a console keeps in its settings file.
    static std::optional<RelaySteps> readFrom(const QString &confPath);

    friend bool operator==(const RelaySteps &, const RelaySteps &) = default;
};

// The relay block as the controller sets it from the packets it receives.
struct RelayState
{
    quint8 codeC = 0;
    quint8 codeL = 0;
    quint8 side = 0; // 1: capacitors on the transmitter side
    quint8 flag = 0; // the antenna-3 flag of the last packet
    quint64 packets = 0;
    quint64 errors = 0;

    void apply(const Packet::Decoded &decoded);

    double capacitancePf(const RelaySteps &steps) const { return double(steps.stepC) * codeC; }
    double inductanceUh(const RelaySteps &steps) const { return steps.stepL / 1000.0 * codeL; }
};

// "C = 130", "сторона = Tx" and the like for a packet, the reason for bytes that are none.
QString packetMeaning(const Packet::Decoded &decoded);
