#pragma once

#include <QtGlobal>

#include <array>

class QAbstractButton;
class QLineEdit;

// One bank's controls: the toggle of bit n at index n, and the entry box.
struct RelayBank
{
    std::array<QAbstractButton *, 8> toggles{};
    QLineEdit *entry = nullptr;
};

// The code the toggles show; only a checked toggle counts.
quint8 composeCode(const RelayBank &bank);

// Puts code on the toggles, bit 7 first, check state before caption, every toggle written.
// A check-state change raises the toggle's own handlers synchronously.
void putCode(const RelayBank &bank, quint8 code);
