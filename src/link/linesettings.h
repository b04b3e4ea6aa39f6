#pragma once

#include <QString>

#include <optional>

// Baud rate, parity, data bits and stop bits, as in "9600,n,8,1".
struct LineSettings
{
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    qint32 baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    static std::optional<LineSettings> parse(const QString &text);
};
