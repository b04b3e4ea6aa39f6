#include "identity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QProcess>

namespace {

constexpr int MakeMs = 30000;

bool readAll(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

} // namespace

QString Identity::fingerprintOf(const QSslCertificate &certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

bool Identity::loadOrCreate(const QString &folder, QString *error)
{
    const QDir dir(folder);
    const QString certPath = dir.filePath(QStringLiteral("orvane-cert.pem"));
    const QString keyPath = dir.filePath(QStringLiteral("orvane-key.pem"));
    if (!QFileInfo::exists(certPath) || !QFileInfo::exists(keyPath)) {
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("%1: cannot create the folder").arg(folder);
            return false;
        }
        // An EC key and ten years: the console is its own authority, checked by fingerprint.
        // It names this computer and its addresses now, so that a browser that is told to
        // trust it takes it for this computer.
        const QString host = QHostInfo::localHostName();
        QStringList names{QStringLiteral("DNS:localhost"), QStringLiteral("DNS:") + host,
                          QStringLiteral("DNS:") + host + QStringLiteral(".local")};
        for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
            if (!address.isLinkLocal())
                names << QStringLiteral("IP:") + address.toString().section(QLatin1Char('%'), 0, 0);
        }
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                       QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                       QStringLiteral("-days"), QStringLiteral("3650"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=Orvane on %1").arg(host), QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=") + names.join(QLatin1Char(',')),
                       QStringLiteral("-keyout"), keyPath, QStringLiteral("-out"), certPath});
        if (!openssl.waitForFinished(MakeMs) || openssl.exitCode() != 0) {
            *error = QStringLiteral("cannot make a certificate with openssl: %1")
                         .arg(QString::fromLocal8Bit(openssl.readAllStandardError()).trimmed() +
                              openssl.errorString());
            return false;
        }
        QFile::setPermissions(keyPath, QFile::ReadOwner | QFile::WriteOwner);
    }
    QByteArray cert;
    QByteArray key;
    if (!readAll(certPath, &cert) || !readAll(keyPath, &key)) {
        *error = QStringLiteral("cannot read %1 or %2").arg(certPath, keyPath);
        return false;
    }
    m_certificate = QSslCertificate(cert, QSsl::Pem);
    m_key = QSslKey(key, QSsl::Ec, QSsl::Pem);
    if (m_certificate.isNull() || m_key.isNull()) {
        *error = QStringLiteral("%1 or %2 is damaged").arg(certPath, keyPath);
        return false;
    }
    return true;
}
