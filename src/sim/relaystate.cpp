#include "relaystate.h"

#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

std::optional<RelaySteps> RelaySteps::parse(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    bool okC = false;
    bool okL = false;
    RelaySteps steps;
    if (parts.size() == 2) {
        steps.stepC = parts[0].trimmed().toInt(&okC);
        steps.stepL = parts[1].trimmed().toInt(&okL);
    }
    if (!okC || !okL || steps.stepC < 0 || steps.stepC > 255 || steps.stepL < 1 ||
        steps.stepL > 32767)
        return std::nullopt;
    return steps;
}

std::optional<RelaySteps> RelaySteps::readFrom(const QString &confPath)
{
    QFile file(confPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const auto byteAt = [&](int position) {
        return position <= bytes.size() ? static_cast<quint8>(bytes.at(position - 1)) : 0;
    };
    RelaySteps steps;
    steps.stepC = byteAt(SettingsFile::StepC);
    steps.stepL =
        static_cast<qint16>(byteAt(SettingsFile::StepL) | (byteAt(SettingsFile::StepL + 1) << 8));
    return steps;
}

void RelayState::apply(const Packet::Decoded &decoded)
{
    if (!decoded.isPacket) {
        ++errors;
        return;
    }
    ++packets;
    flag = decoded.flag;
    switch (decoded.command) {
    case Packet::Capacitance:
        codeC = decoded.value;
        break;
    case Packet::Inductance:
        codeL = decoded.value;
        break;
    case Packet::NetworkSide:
        side = decoded.value;
        break;
    }
}

QString commandName(quint8 command)
{
    switch (command) {
    case Packet::Capacitance:
        return QStringLiteral("C");
    case Packet::Inductance:
        return QStringLiteral("L");
    default:
        return QStringLiteral("side");
    }
}

QString packetMeaning(const Packet::Decoded &d)
{
    if (!d.isPacket)
        return d.error;
    const QString antenna3 = d.flag ? QCoreApplication::translate("Sim", ", антенна 3") : QString();
    if (d.command == Packet::NetworkSide) {
        const QString side = d.value == 1   ? QStringLiteral("Tx")
                             : d.value == 0 ? QStringLiteral("Ant")
                                            : QString::number(d.value);
        return QCoreApplication::translate("Sim", "сторона = %1").arg(side) + antenna3;
    }
    return commandName(d.command) + QStringLiteral(" = ") + QString::number(d.value) + antenna3;
}
