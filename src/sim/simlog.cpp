#include "simlog.h"

#include <QJsonArray>
#include <QJsonDocument>

bool SimLog::open(const QString &path, QString *error)
{
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    *error = path + QStringLiteral(": ") + m_file.errorString();
    return false;
}

namespace {

QByteArray quoted(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace

QByteArray SimLog::line(const QDateTime &time, const Packet::Decoded &d, const RelayState &state)
{
    // Written by hand to keep the fields in reading order: time first.
    QByteArray out = "{\"t\": " + quoted(time.toUTC().toString(Qt::ISODateWithMs)) +
                     ", \"hex\": \"" + d.bytes.toHex().toUpper() + '"';
    if (d.isPacket) {
        out += ", \"command\": " + quoted(Packet::commandName(d.command)) +
               ", \"value\": " + QByteArray::number(d.value) +
               ", \"flag\": " + QByteArray::number(d.flag) +
               ", \"relays\": {\"C\": " + QByteArray::number(state.codeC) +
               ", \"L\": " + QByteArray::number(state.codeL) +
               ", \"side\": " + QByteArray::number(state.side) +
               ", \"flag\": " + QByteArray::number(state.flag) + '}';
    } else {
        out += ", \"error\": " + quoted(d.error);
        if (d.dropped > 0)
            out += ", \"dropped\": " + QByteArray::number(d.dropped);
    }
    return out + "}\n";
}

void SimLog::writeRadio(const QDateTime &time, const QString &command)
{
    if (m_file.isOpen())
        m_file.write("{\"t\": " + quoted(time.toUTC().toString(Qt::ISODateWithMs)) +
                     ", \"radio\": " + quoted(command) + "}\n");
}

void SimLog::write(const QDateTime &time, const Packet::Decoded &decoded, const RelayState &state)
{
    if (m_file.isOpen())
        m_file.write(line(time, decoded, state));
}
