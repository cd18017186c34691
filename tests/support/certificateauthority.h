#pragma once

#include <QStringList>
#include <QTemporaryDir>

namespace fixtures {

// A throwaway certificate authority, as a school's own would be, made with the openssl command line in a temporary
// folder of its own and removed with the fixture. Keys are on the P-256 curve: made in milliseconds, unlike RSA.
class CertificateAuthority
{
public:
    CertificateAuthority();
    CertificateAuthority(const CertificateAuthority&) = delete;
    CertificateAuthority& operator=(const CertificateAuthority&) = delete;

    bool isValid() const { return m_failure.isEmpty(); }
    // What failed while making the authority or a certificate; "" when all went well.
    QString failure() const { return m_failure; }
    // The authority's own certificate, the file a client is told to trust.
    QString certificate() const;
    // Signs a server's certificate for commonName, valid also for the subjectAltName entries given (such as
    // "DNS:localhost" or "IP:127.0.0.1"), and writes it and its unencrypted key to the files named.
    bool issue(const QString& commonName, const QStringList& alternativeNames, const QString& certificateFile,
        const QString& keyFile);

private:
    bool openssl(const QStringList& arguments);
    QTemporaryDir m_dir;
    QString m_failure;
};

}
