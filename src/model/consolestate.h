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
    // 1 while the program itself changes toggles and options, so their Click handlers stay quiet.
    quint8 SilentUpdate = 0;
    qint16 SlotBase = 0;
    // The code last picked on a bar or typed and applied.
    qint16 DragCodeC = 0;
    qint16 DragCodeL = 0;
};
