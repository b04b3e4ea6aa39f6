#include "linetarget.h"

LineTarget LineTarget::parse(const QString &text)
{
    LineTarget target;
    target.server = HostPort::parse(text);
    if (!target.server)
        target.device = text;
    return target;
}
