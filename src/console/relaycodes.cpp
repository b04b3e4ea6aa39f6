#include "relaycodes.h"

#include <QAbstractButton>

quint8 composeCode(const RelayBank &bank)
{
    int code = 0;
    for (int n = 0; n < 8; ++n) {
        if (bank.toggles[n]->isChecked())
            code += 1 << n;
    }
    return static_cast<quint8>(code);
}

static void setBit(QAbstractButton *toggle, bool on)
{
    toggle->setChecked(on);
    toggle->setText(on ? QStringLiteral("1") : QStringLiteral("0"));
}

void putCode(const RelayBank &bank, quint8 code)
{
    int rest = code;
    for (int n = 7; n >= 1; --n) {
        const int weight = 1 << n;
        const bool on = rest >= weight;
        setBit(bank.toggles[n], on);
        if (on)
            rest -= weight;
    }
    setBit(bank.toggles[0], rest == 1);
}
