#include "conflayout.h"

#include "model/valuetext.h"

namespace ConfLayout {

Slots::Selection selectionOf(qint16 base)
{
    const int slot = roundHalfEven(base / double(SlotSize));
    constexpr int perAntenna = Slots::Bands * Slots::SubBands;
    Slots::Selection s;
    s.antenna = slot / perAntenna;
    const int rest = slot - perAntenna * s.antenna;
    s.band = rest / Slots::SubBands;
    s.subBand = rest - Slots::SubBands * s.band;
    return s;
}

int Image::byte(int position) const
{
    return position >= 1 && position <= m_bytes.size()
               ? static_cast<quint8>(m_bytes.at(position - 1))
               : 0;
}

qint16 Image::word(int position) const
{
    return static_cast<qint16>(byte(position) | (byte(position + 1) << 8));
}

Image &Image::setByte(int position, int value)
{
    if (m_bytes.size() < position)
        m_bytes.resize(position, '\0');
    m_bytes[position - 1] = static_cast<char>(value);
    return *this;
}

Image &Image::setWord(int position, int value)
{
    return setByte(position, value & 0xFF).setByte(position + 1, (value >> 8) & 0xFF);
}

RelaySetting Image::slot(const Slots::Selection &s) const
{
    const int base = baseOf(s);
    return {static_cast<quint8>(byte(base + CodeCAt)), static_cast<quint8>(byte(base + CodeLAt)),
            static_cast<quint8>(byte(base + SideAt))};
}

Image &Image::setSlot(const Slots::Selection &s, const RelaySetting &setting)
{
    const int base = baseOf(s);
    return setByte(base + CodeCAt, setting.codeC)
        .setByte(base + CodeLAt, setting.codeL)
        .setByte(base + SideAt, setting.side);
}

} // namespace ConfLayout
