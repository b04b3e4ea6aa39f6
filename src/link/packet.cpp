#include "packet.h"

#include "model/relaysetting.h"

#include <QCoreApplication>

#include <cstring>

namespace Packet {

namespace {

const QByteArray &header()
{
    static const QByteArray bytes = QByteArray::fromHex("AA5501");
    return bytes;
}

// Where a header, or the start of one at the very end, begins from position from on.
qsizetype nextStart(const QByteArray &buffer, qsizetype from)
{
    const char *bytes = buffer.constData();
    const qsizetype size = buffer.size();
    for (qsizetype i = from; i < size; ++i) {
        if (bytes[i] != header().at(0))
            continue;
        const qsizetype n = std::min<qsizetype>(header().size(), size - i);
        if (std::memcmp(bytes + i, header().constData(), static_cast<size_t>(n)) == 0)
            return i;
    }
    return size;
}

// Why a packet that starts with a header is not a good one, judging only the bytes present;
// empty while it may still become one.
QString fault(const QByteArray &buffer)
{
    const auto at = [&](int i) {
        return static_cast<quint8>(buffer.at(i));
    };
    if (buffer.size() > 3 && (at(3) < Capacitance || at(3) > NetworkSide))
        return QCoreApplication::translate("Packet", "неизвестная команда %1").arg(at(3));
    if ((buffer.size() > 6 && at(6) != 0x0D) || (buffer.size() > 7 && at(7) != 0x0A) ||
        (buffer.size() > 8 && at(8) != 0x00))
        return QCoreApplication::translate("Packet", "неверное окончание пакета");
    return {};
}

} // namespace

QByteArray build(quint8 command, quint8 value, quint8 flag)
{
    QByteArray packet(Size, '\0');
    packet[0] = static_cast<char>(0xAA);
    packet[1] = static_cast<char>(0x55);
    packet[2] = static_cast<char>(0x01);
    packet[3] = static_cast<char>(command);
    packet[4] = static_cast<char>(value);
    packet[5] = static_cast<char>(flag);
    packet[6] = static_cast<char>(0x0D);
    packet[7] = static_cast<char>(0x0A);
    return packet;
}

QString commandName(quint8 command)
{
    switch (command) {
    case Capacitance:
        return QStringLiteral("C");
    case Inductance:
        return QStringLiteral("L");
    default:
        return QStringLiteral("side");
    }
}

QString meaning(quint8 command, quint8 value, quint8 flag)
{
    const QString antenna3 =
        flag ? QCoreApplication::translate("Packet", ", антенна 3") : QString();
    if (command == NetworkSide)
        return QCoreApplication::translate("Packet", "сторона = %1").arg(sideText(value)) +
               antenna3;
    return commandName(command) + QStringLiteral(" = ") + QString::number(value) + antenna3;
}

void Decoder::reject(qsizetype count, const QString &why)
{
    if (m_rejected.isEmpty() && m_dropped == 0)
        m_why = why;
    const qsizetype kept = std::min(count, MaxRejected - m_rejected.size());
    m_rejected += m_buffer.left(kept);
    m_dropped += count - kept;
    m_buffer.remove(0, count);
}

void Decoder::flushRejected(QList<Decoded> &out)
{
    if (m_rejected.isEmpty())
        return;
    Decoded d;
    d.bytes = m_rejected;
    d.error = m_why;
    d.dropped = m_dropped;
    out << d;
    m_rejected.clear();
    m_dropped = 0;
    m_why.clear();
}

QList<Decoded> Decoder::feed(const QByteArray &bytes)
{
    m_buffer += bytes;
    return decode(false);
}

QList<Decoded> Decoder::finish()
{
    return decode(true);
}

QList<Decoded> Decoder::decode(bool finishing)
{
    QList<Decoded> out;
    while (!m_buffer.isEmpty()) {
        const qsizetype start = nextStart(m_buffer, 0);
        if (start > 0) {
            reject(start, QCoreApplication::translate("Packet", "нет заголовка AA 55 01"));
            continue;
        }
        if (m_buffer.size() >= Size && fault(m_buffer).isEmpty()) {
            flushRejected(out);
            Decoded d;
            d.isPacket = true;
            d.bytes = m_buffer.left(Size);
            d.command = static_cast<quint8>(m_buffer.at(3));
            d.value = static_cast<quint8>(m_buffer.at(4));
            d.flag = static_cast<quint8>(m_buffer.at(5));
            out << d;
            m_buffer.remove(0, Size);
            continue;
        }
        // A bad packet is judged only once the bytes after it show whether a new header cut
        // it short, so that the verdict does not depend on how the stream was read.
        const QString why = fault(m_buffer);
        const bool judged = finishing || m_buffer.size() >= Size + header().size() - 1;
        if (!judged || (why.isEmpty() && !finishing))
            break;
        const qsizetype next = m_buffer.indexOf(header(), 1);
        const bool cutShort = why.isEmpty() || (next > 0 && next < Size);
        reject(nextStart(m_buffer, 1),
               cutShort ? QCoreApplication::translate("Packet", "пакет оборван") : why);
    }
    if (finishing)
        flushRejected(out);
    return out;
}

} // namespace Packet
