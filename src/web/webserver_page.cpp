// WebServer where the build has Qt HttpServer: the service does the work.
#include "webserver.h"
#include "webservice.h"

WebServer::WebServer(Panel &panel, Tuning *tuning, QObject *parent)
    : QObject(parent)
    , m_service(std::make_unique<WebService>(panel, tuning))
{}

WebServer::~WebServer() = default;

bool WebServer::available()
{
    return true;
}

bool WebServer::start(const HostPort &where, const Security &security, QString *error)
{
    return m_service->start(where, security, error);
}

HostPort WebServer::address() const
{
    return m_service->address();
}

bool WebServer::secure() const
{
    return m_service->secure();
}
