#pragma once

#include "link/packet.h"
#include "relaystate.h"

#include <QDateTime>
#include <QFile>

// One JSON object per line for every packet and every rejected run of bytes, flushed as
// written, so that a script can follow the file while the controller runs:
//   {"t": "2026-12-07T10:15:02.120Z", "hex": "AA55010182000D0A00", "command": "C",
//    "value": 130, "flag": 0, "relays": {"C": 130, "L": 5, "side": 1, "flag": 0}}
//   {"t": "...", "hex": "1234", "error": "нет заголовка AA 55 01"}
// A run of bytes longer than the decoder keeps adds "dropped": the count of bytes not shown.
class SimLog
{
public:
    bool open(const QString &path, QString *error);
    bool isOpen() const { return m_file.isOpen(); }
    void write(const QDateTime &time, const Packet::Decoded &decoded, const RelayState &state);
    // A command the simulated radio took: {"t": "...", "radio": "T 1"}.
    void writeRadio(const QDateTime &time, const QString &command);

    static QByteArray line(const QDateTime &time, const Packet::Decoded &decoded,
                           const RelayState &state);

private:
    QFile m_file;
};
