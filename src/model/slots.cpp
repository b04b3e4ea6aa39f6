#include "slots.h"

#include "valuetext.h"

namespace Slots {

Selection selectionOf(qint16 base)
{
    const int slot = roundHalfEven(base / 3.0);
    Selection s;
    s.antenna = slot / 50;
    const int rest = slot - 50 * s.antenna;
    s.band = rest / 5;
    s.subBand = rest - 5 * s.band;
    return s;
}

} // namespace Slots
