// WebServer in a build without Qt HttpServer and Qt WebSockets (ORVANE_WEB off): there is no
// page, and asking for one says so instead of failing quietly.
#include "webserver.h"

#include "control/news.h"

#include <QCoreApplication>

class WebBackend : public QObject
{};

WebServer::WebServer(Panel &panel, const Services &services, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_services(std::make_unique<Services>(services))
{}

WebServer::~WebServer() = default;

bool WebServer::available()
{
    return false;
}

bool WebServer::start(const HostPort &, const Security &, QString *error)
{
    if (error)
        *error = QCoreApplication::translate("WebServer", "в этой сборке нет веб-страницы");
    return false;
}

HostPort WebServer::address() const
{
    return {};
}

bool WebServer::secure() const
{
    return false;
}
