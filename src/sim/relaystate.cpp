#include "relaystate.h"

#include "settings/conflayout.h"

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
    const ConfLayout::Image image(file.read(ConfLayout::Size));
    RelaySteps steps;
    steps.stepC = image.stepC();
    steps.stepL = image.stepL();
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

QString packetMeaning(const Packet::Decoded &d)
{
    if (d.isPacket)
        return Packet::meaning(d.command, d.value, d.flag);
    if (d.dropped > 0)
        return QCoreApplication::translate("Sim", "%1 (и ещё %2 байт отброшено)")
            .arg(d.error)
            .arg(d.dropped);
    return d.error;
}
