#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// The console's own TLS identity: a self-signed certificate and its key, made once in the
// user's data folder, and the SHA-256 fingerprint a client checks it by.
class Identity
{
public:
    // Loads the identity from folder, making it first when there is none (with the openssl
    // command). False with the reason when neither works.
    bool loadOrCreate(const QString &folder, QString *error);

    const QSslCertificate &certificate() const { return m_certificate; }
    const QSslKey &key() const { return m_key; }
    // "AB:CD:…", 32 bytes.
    QString fingerprint() const { return fingerprintOf(m_certificate); }
    static QString fingerprintOf(const QSslCertificate &certificate);

private:
    QSslCertificate m_certificate;
    QSslKey m_key;
};
