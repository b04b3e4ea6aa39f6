#pragma once

#include "control/news.h"
#include "webserver.h"

// What stands behind WebServer: the page's service, built as a module of its own that is
// loaded only when the page is asked for, so that a console without it carries none of Qt
// HttpServer and Qt WebSockets.
class WebBackend : public QObject
{
public:
    using QObject::QObject;

    virtual bool start(const HostPort &where, const WebServer::Security &security,
                       QString *error) = 0;
    virtual HostPort address() const = 0;
    virtual bool secure() const = 0;
};

// The module's one entry point, found by name.
using CreateWebBackend = WebBackend *(*)(Station &station);
inline constexpr const char *CreateWebBackendName = "orvane_web_create";
