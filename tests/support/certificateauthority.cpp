#include "certificateauthority.h"

#include <QProcess>
#include <QStandardPaths>

namespace fixtures {

namespace {

    QStringList newKeyAndSubject(const QString& commonName, const QString& keyFile)
    {
        return { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-new"), QStringLiteral("-newkey"),
            QStringLiteral("ec"), QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"),
            QStringLiteral("-nodes"), QStringLiteral("-keyout"), keyFile, QStringLiteral("-days"), QStringLiteral("2"),
            QStringLiteral("-subj"), QStringLiteral("/CN=") + commonName };
    }

}

CertificateAuthority::CertificateAuthority()
{
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty()) {
        m_failure = QStringLiteral("the openssl command is not installed");
        return;
    }
    // The extensions are given here rather than left to the system's openssl.cnf, which may not mark a CA at all.
    openssl(newKeyAndSubject(QStringLiteral("Parlanta test authority"), m_dir.filePath(QStringLiteral("ca.key")))
        + QStringList { QStringLiteral("-out"), certificate(), QStringLiteral("-addext"),
            QStringLiteral("basicConstraints=critical,CA:TRUE"), QStringLiteral("-addext"),
            QStringLiteral("keyUsage=critical,keyCertSign") });
}

QString CertificateAuthority::certificate() const { return m_dir.filePath(QStringLiteral("ca.crt")); }

bool CertificateAuthority::issue(const QString& commonName, const QStringList& alternativeNames,
    const QString& certificateFile, const QString& keyFile)
{
    return isValid()
        && openssl(newKeyAndSubject(commonName, keyFile)
            + QStringList { QStringLiteral("-out"), certificateFile, QStringLiteral("-CA"), certificate(),
                QStringLiteral("-CAkey"), m_dir.filePath(QStringLiteral("ca.key")), QStringLiteral("-addext"),
                QStringLiteral("basicConstraints=critical,CA:FALSE"), QStringLiteral("-addext"),
                QStringLiteral("subjectAltName=") + alternativeNames.join(QLatin1Char(',')) });
}

bool CertificateAuthority::openssl(const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_failure = QStringLiteral("openssl ") + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ")
            + QString::fromLocal8Bit(process.readAll());
        return false;
    }
    return true;
}

}
