#pragma once

#include <QString>

// What the relay block is set to: the two bank codes and the network side (1: capacitors on
// the transmitter side; any other byte, as a slot may hold, means the antenna side).
struct RelaySetting
{
    quint8 codeC = 0;
    quint8 codeL = 0;
    quint8 side = 0;
    friend bool operator==(const RelaySetting &, const RelaySetting &) = default;
};

// "Tx" for 1, "Ant" for 0, and any other side byte as its number.
inline QString sideText(quint8 side)
{
    return side == 1   ? QStringLiteral("Tx")
           : side == 0 ? QStringLiteral("Ant")
                       : QString::number(side);
}
