#pragma once

#include <QtGlobal>

// Everything the console shares between its handlers. One instance lives with the window,
// so a new window always starts from a clean state.
struct ConsoleState
{
    // Capacitance of the least significant C relay, pF. Kept at most 128 so that
    // StepC × code fits 16 bits.
    quint8 StepC = 0;
    // Inductance of the least significant L relay, nH; the options command keeps it in 1…999.
    qint16 StepL = 0;
    // 1 after a recall of an antenna 3 slot; every packet carries it.
    quint8 Ant3Flag = 0;
    // How the console keeps its own changes from acting. Setting a toggle or an option from
    // code raises its Click exactly as the operator's click does; while this is 1 those Click
    // handlers do nothing (the network-side options only change the picture). A mouse press
    // on a toggle, a selector or a side option, and a key on a sub-band option, set it to 0,
    // so the Click that follows acts; start-up, a selector's own Click before its recall, the
    // step and entry commands and a bar release set it to 1 and leave it so. Nothing else
    // touches it, and the exact packet count of every action (three for a recall, whatever
    // it changes) rests on it: recall, Save, Refresh, Options and About leave it as they
    // find it, which is why Refresh may send a toggle's own packet ahead of its recall.
    quint8 SilentUpdate = 0;
    qint16 SlotBase = 0;
    // The code last picked on a bar or typed and applied.
    qint16 DragCodeC = 0;
    qint16 DragCodeL = 0;
};
