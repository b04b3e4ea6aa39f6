// WebServer where the build has the page: its module is loaded the first time it is asked
// for, and does the work.
#include "webbackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

// Beside the program (a program folder, the build), where the package puts it, or where the
// environment says (the tests).
QStringList moduleFolders()
{
    const QString here = QCoreApplication::applicationDirPath();
    QStringList folders =
        qEnvironmentVariable("ORVANE_MODULE_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    folders << here << QDir(here).filePath(QStringLiteral(ORVANE_MODULE_DIR));
    return folders;
}

CreateWebBackend loadModule(QString *error)
{
    QStringList tried;
    for (const QString &folder : moduleFolders()) {
        QLibrary module(QDir(folder).filePath(QStringLiteral("orvane-web")));
        if (auto create = reinterpret_cast<CreateWebBackend>(module.resolve(CreateWebBackendName)))
            return create; // the module stays loaded for as long as the console runs
        tried << module.errorString();
    }
    if (error)
        *error = QCoreApplication::translate("WebServer", "модуль веб-страницы не загружен: %1")
                     .arg(tried.join(QStringLiteral("; ")));
    return nullptr;
}

} // namespace

WebServer::WebServer(Station &station, QObject *parent)
    : QObject(parent)
    , m_station(station)
{}

WebServer::~WebServer() = default;

bool WebServer::available()
{
    return true;
}

bool WebServer::start(const HostPort &where, const Security &security, QString *error)
{
    if (!m_service) {
        const CreateWebBackend create = loadModule(error);
        if (!create)
            return false;
        m_service.reset(create(m_station));
    }
    return m_service->start(where, security, error);
}

HostPort WebServer::address() const
{
    return m_service ? m_service->address() : HostPort();
}

bool WebServer::secure() const
{
    return m_service && m_service->secure();
}
