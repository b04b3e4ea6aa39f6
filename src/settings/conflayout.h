#pragma once

#include "model/relaysetting.h"
#include "model/slots.h"

#include <QByteArray>

// conf.cfg byte by byte: the one description of the file. Positions count from 1; two-byte
// values are signed 16-bit little-endian. There is no header or length: a file that holds
// every value is Size bytes, and a shorter one reads as zeros past its end.
namespace ConfLayout {

// The 150 slots come first, three bytes each, at positions base + 1 to base + 3.
constexpr int SlotSize = 3;
constexpr int CodeCAt = 1; // after the slot's base
constexpr int CodeLAt = 2;
constexpr int SideAt = 3;
// The base of the slot saved last (2 bytes), then two bytes that nothing reads or writes.
constexpr int LastSavedBase = 451;
constexpr int Unused = 453;
constexpr int PortNumber = 455; // 1 byte, 1–16
constexpr int StepC = 456;      // 1 byte, pF
constexpr int StepL = 457;      // 2 bytes, nH
constexpr int Size = 458;

// A slot's base: SlotSize times its number, 0 to 447.
constexpr qint16 baseOf(const Slots::Selection &s)
{
    return static_cast<qint16>(SlotSize * Slots::numberOf(s));
}
constexpr int LastBase = SlotSize * (Slots::Count - 1);
// Antenna 3's slots begin here; their packets carry the flag 1.
constexpr int Antenna3Base = baseOf({Slots::Antennas - 1, 0, 0});

// True for the 150 bases the console itself writes: 0, 3, …, 447.
constexpr bool isStoredBase(int base)
{
    return base >= 0 && base <= LastBase && base % SlotSize == 0;
}

// The antenna, band and sub-band of a base (slot = base / 3, rounded half to even). A base
// that no selection writes gives values outside the groups, for the caller to bound.
Slots::Selection selectionOf(qint16 base);

// A settings file's bytes, read and changed by meaning.
class Image
{
public:
    Image() = default;
    explicit Image(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {}

    const QByteArray &bytes() const { return m_bytes; }

    // Past the end everything reads 0; a write there first fills the gap with zeros.
    int byte(int position) const;
    qint16 word(int position) const;
    Image &setByte(int position, int value);
    Image &setWord(int position, int value);

    RelaySetting slot(const Slots::Selection &s) const;
    Image &setSlot(const Slots::Selection &s, const RelaySetting &setting);
    quint8 stepC() const { return static_cast<quint8>(byte(StepC)); }
    qint16 stepL() const { return word(StepL); }
    Image &setSteps(int stepC, int stepL) { return setByte(StepC, stepC).setWord(StepL, stepL); }
    int portNumber() const { return byte(PortNumber); }
    Image &setPortNumber(int port) { return setByte(PortNumber, port); }
    qint16 lastSavedBase() const { return word(LastSavedBase); }
    Image &setLastSaved(const Slots::Selection &s) { return setWord(LastSavedBase, baseOf(s)); }

private:
    QByteArray m_bytes;
};

} // namespace ConfLayout
