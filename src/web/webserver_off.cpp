// WebServer in a build without Qt HttpServer and Qt WebSockets (ORVANE_WEB off): there is no
// page, and asking for one says so instead of failing quietly.
#include "webserver.h"

#include "control/news.h"

#include <QCoreApplication>

class WebBackend : public QObject
{};

WebServer::WebServer(Station &station, QObject *parent)
    : QObject(parent)
    , m_station(station)
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
