#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The controller's command packets: AA 55 01 command value flag 0D 0A, followed by one 00
// on the line. The console builds them; the virtual controller finds them in a byte stream.
namespace Packet {

enum Command : quint8 { Capacitance = 1, Inductance = 2, NetworkSide = 3 };
constexpr int Size = 9;

QByteArray build(quint8 command, quint8 value, quint8 flag);

// The command's short name: "C", "L" or "side".
QString commandName(quint8 command);
// What a packet says, for a log: "C = 37", "сторона = Ant", ", антенна 3" added for the flag.
QString meaning(quint8 command, quint8 value, quint8 flag);

// One thing found in the stream: a packet, or a run of bytes that is none.
struct Decoded
{
    bool isPacket = false;
    QByteArray bytes;
    quint8 command = 0;
    quint8 value = 0;
    quint8 flag = 0;
    QString error; // why the bytes are no packet
    // Of a run too long to keep: the bytes that followed those kept, counted only.
    qint64 dropped = 0;
};

// Finds packets the way the controller does: at a header, whole, with the right command and
// trailer. Bytes that are no packet are reported once per run, and decoding picks up again
// at the next header. The result does not depend on how the stream was cut into reads.
class Decoder
{
public:
    // Of a run of bytes that are no packet, this much is kept to be shown; the rest is only
    // counted, however long the run.
    static constexpr qsizetype MaxRejected = 4096;

    QList<Decoded> feed(const QByteArray &bytes);
    // The stream ended or went quiet: what is held back as a possible start is reported too.
    QList<Decoded> finish();

private:
    QList<Decoded> decode(bool finishing);
    void reject(qsizetype count, const QString &why);
    void flushRejected(QList<Decoded> &out);

    QByteArray m_buffer;
    QByteArray m_rejected;
    qint64 m_dropped = 0;
    QString m_why;
};

} // namespace Packet
