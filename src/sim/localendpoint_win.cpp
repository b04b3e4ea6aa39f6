#include "endpoint.h"

std::unique_ptr<SimEndpoint> localEndpoint(const QString &device, const QString &link,
                                           QString *error)
{
    if (!device.isEmpty() || !link.isEmpty()) {
        *error = QStringLiteral("on Windows the virtual controller listens on TCP only: use "
                                "--listen HOST:PORT");
        return nullptr;
    }
    // Windows has no pseudo-terminals: a free port on this computer, which the console opens
    // as a network controller.
    return std::make_unique<TcpEndpoint>(HostPort{QStringLiteral("127.0.0.1"), 0});
}
