#include "doors.h"

#include "control/controlport.h"
#include "net/credentials.h"
#include "net/identity.h"
#include "net/passwordcheck.h"
#include "panel/panel.h"
#include "station/station.h"
#include "web/webserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include <algorithm>
#include <cstdio>

Doors::Doors(Station &station, const Asked &asked, QObject *parent)
    : QObject(parent)
    , m_station(station)
    , m_asked(asked)
    , m_passwords(new PasswordCheck(this))
    , m_bus(std::make_unique<StationBus>(station, asked.mqttProgram))
{}

// The doors close before the password checker goes, which their clients may still be using.
Doors::~Doors()
{
    m_bus.reset();
    m_web.reset();
    m_control.reset();
}

void Doors::open()
{
    openControlPort();
    if (const QString web = addressOf(m_asked.web, QStringLiteral("web/address"), 0);
        !web.isEmpty())
        openWeb(web);
    openBus(StationBus::chosen(m_asked.bus, m_asked.settings));
}

void Doors::openBus(const StationBus::Choice &choice)
{
    QString error;
    if (!m_bus->start(choice, QDir(m_asked.dataDir).filePath(QStringLiteral("mqtt-password")),
                      &error))
        return closedDoor(tr("MQTT не подключён: %1").arg(error));
    if (m_bus->running())
        sayServing("MQTT", m_bus->client()->address(), false, {});
}

QString Doors::addressOf(const QString &given, const QString &key, quint16 headlessPort) const
{
    QString text = given;
    if (text.isEmpty() && m_asked.settings)
        text = m_asked.settings->value(key).toString();
    if (text.isEmpty() && m_asked.headless && headlessPort)
        text = QString::number(headlessPort);
    text = text.trimmed();
    return text == QLatin1String("off") ? QString() : text;
}

std::optional<QSslConfiguration> Doors::tlsFor(const HostPort &where, const QString &passwordRecord,
                                               QString *fingerprint) const
{
    // Only beyond loopback, and only with a password to go with it: without one the service
    // does not start there, and no certificate need be made for it.
    QString error;
    const QList<QHostAddress> addresses = where.resolve(&error);
    const bool beyond = std::any_of(addresses.begin(), addresses.end(),
                                    [](const QHostAddress &a) { return !a.isLoopback(); });
    Identity identity;
    if (!beyond || passwordRecord.isEmpty() || !identity.loadOrCreate(m_asked.dataDir, &error))
        return std::nullopt;
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(identity.certificate());
    tls.setPrivateKey(identity.key());
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    *fingerprint = identity.fingerprint();
    return tls;
}

void Doors::closedDoor(const QString &what)
{
    std::fprintf(stderr, "orvane: %s\n", qPrintable(what));
    m_station.panel().say(what, Panel::Tone::Warning);
    m_closed << what;
}

void Doors::sayServing(const char *what, const QString &address, bool secure,
                       const QString &fingerprint)
{
    std::fprintf(stderr, "orvane: %s on %s%s\n", what, qPrintable(address),
                 secure ? qPrintable(QStringLiteral(", TLS, SHA-256 fingerprint ") + fingerprint)
                        : "");
}

QString Doors::passwordRecord(const QString &key) const
{
    return m_asked.settings ? Credentials::stored(*m_asked.settings, key) : QString();
}

void Doors::openControlPort()
{
    const QString text =
        addressOf(m_asked.control, QStringLiteral("control/address"), ControlPort::DefaultPort);
    if (text.isEmpty())
        return;
    const std::optional<HostPort> where = ControlPort::parseAddress(text);
    if (!where)
        return closedDoor(tr("Порт управления: «%1» — не адрес").arg(text));
    ControlPort::Security security;
    security.passwordRecord = passwordRecord(QStringLiteral("control/password"));
    security.passwords = m_passwords;
    QString fingerprint;
    security.tls = tlsFor(*where, security.passwordRecord, &fingerprint);
    auto port = std::make_unique<ControlPort>(m_station);
    QString error;
    if (!port->start(*where, security, &error))
        return closedDoor(tr("Порт управления не открыт: %1").arg(error));
    sayServing("control port", port->address().text(), port->secure(), fingerprint);
    m_control = std::move(port);
}

bool Doors::openWeb(const QString &text)
{
    const std::optional<HostPort> where = WebServer::parseAddress(text);
    if (!where) {
        closedDoor(tr("Веб-страница: «%1» — не адрес").arg(text));
        return false;
    }
    WebServer::Security security;
    security.operatorRecord = passwordRecord(QStringLiteral("control/password"));
    security.passwords = m_passwords;
    security.viewerRecord = passwordRecord(QStringLiteral("web/viewer_password"));
    if (m_asked.settings)
        security.hosts = m_asked.settings->value(QStringLiteral("web/hosts")).toStringList();
    QString fingerprint;
    security.tls = tlsFor(*where, security.operatorRecord, &fingerprint);
    auto web = std::make_unique<WebServer>(m_station);
    QString error;
    if (!web->start(*where, security, &error)) {
        closedDoor(tr("Веб-страница не открыта: %1").arg(error));
        return false;
    }
    sayServing("web page", web->url(), web->secure(), fingerprint);
    m_web = std::move(web);
    return true;
}
