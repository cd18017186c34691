#include "pgserver.h"

#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QTcpServer>

#include "certificateauthority.h"

namespace fixtures {

namespace {

    constexpr char Owner[] = "parlanta";
    constexpr char School[] = "school";

    // The newest server Debian installed.
    QString serverBinaries()
    {
        const QDir versions(QStringLiteral("/usr/lib/postgresql"));
        const QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (auto it = found.crbegin(); it != found.crend(); ++it) {
            const QString bin = versions.filePath(*it + QStringLiteral("/bin"));
            if (QFile::exists(bin + QStringLiteral("/pg_ctl")))
                return bin;
        }
        return QString();
    }

}

PgServer::PgServer(Tls tls)
    // A Unix socket's path may not pass 107 bytes, so the folder is made near the root, not under TMPDIR.
    : m_dir(QStringLiteral("/tmp/parlanta-pg.XXXXXX"))
    , m_bin(serverBinaries())
{
    if (m_bin.isEmpty()) {
        m_failure = QStringLiteral("no PostgreSQL server under /usr/lib/postgresql");
        return;
    }
    if (geteuid() == 0 && !run(QStringLiteral("chown"), { QStringLiteral("postgres:"), m_dir.path() }))
        return;
    const QString data = m_dir.filePath(QStringLiteral("data"));
    if (!run(m_bin + QStringLiteral("/initdb"),
            { QStringLiteral("-D"), data, QStringLiteral("-U"), QLatin1String(Owner), QStringLiteral("-A"),
                QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-sync"),
                QStringLiteral("--no-instructions") })
        || (tls == Tls::OnLoopback && !makeTls()) || !start())
        return;
    platform::ServerAddress postgres = address();
    postgres.database = QStringLiteral("postgres");
    try {
        platform::PgConnection::connect(postgres).executeScript(
            QStringLiteral("CREATE DATABASE %1").arg(QLatin1String(School)));
    } catch (const platform::ServerError& e) {
        m_failure = e.description();
        m_running = false;
    }
}

PgServer::~PgServer() { stop(); }

bool PgServer::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (geteuid() == 0 && program != QStringLiteral("chown"))
        process.start(QStringLiteral("runuser"),
            QStringList { QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program }
                + arguments);
    else
        process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_failure = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll());
        return false;
    }
    return true;
}

bool PgServer::makeTls()
{
    // The certificate names "localhost" alone, so a client that checks names refuses the bare address 127.0.0.1.
    m_authority = std::make_unique<CertificateAuthority>();
    const QString key = m_dir.filePath(QStringLiteral("server.key"));
    if (!m_authority->issue(QStringLiteral("localhost"), { QStringLiteral("DNS:localhost") },
            m_dir.filePath(QStringLiteral("server.crt")), key)) {
        m_failure = m_authority->failure();
        return false;
    }
    // The server refuses a key that is not its own and private to it.
    if (geteuid() == 0 && !run(QStringLiteral("chown"), { QStringLiteral("postgres:"), key }))
        return false;
    QFile::setPermissions(key, QFile::ReadOwner | QFile::WriteOwner);
    // No plain "host" line: over TCP only an encrypted connection gets in.
    QFile hba(m_dir.filePath(QStringLiteral("data/pg_hba.conf")));
    if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || hba.write("local all all trust\nhostssl all all 127.0.0.1/32 trust\n") < 0) {
        m_failure = hba.fileName() + QStringLiteral(": ") + hba.errorString();
        return false;
    }
    // Tests run in parallel: the system hands out a port nobody holds, free again once the probe closes.
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost)) {
        m_failure = probe.errorString();
        return false;
    }
    m_port = probe.serverPort();
    return true;
}

bool PgServer::start()
{
    const QString listen = m_authority
        ? QStringLiteral("-c listen_addresses=127.0.0.1 -c ssl=on -c ssl_cert_file=%1 -c ssl_key_file=%2")
              .arg(m_dir.filePath(QStringLiteral("server.crt")), m_dir.filePath(QStringLiteral("server.key")))
        : QStringLiteral("-c listen_addresses=''");
    // Durability is the server's business, not the test's: without fsync a test's server starts and writes faster.
    const QString options = QStringLiteral("-k %1 -p %2 %3 -c fsync=off -c full_page_writes=off "
                                           "-c max_connections=120")
                                .arg(m_dir.path(), QString::number(m_port), listen);
    m_running = run(m_bin + QStringLiteral("/pg_ctl"),
        { QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-l"),
            m_dir.filePath(QStringLiteral("log")), QStringLiteral("-o"), options, QStringLiteral("-w"),
            QStringLiteral("start") });
    return m_running;
}

void PgServer::stop()
{
    if (!m_running)
        return;
    run(m_bin + QStringLiteral("/pg_ctl"),
        { QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-m"),
            QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop") });
    m_running = false;
}

platform::ServerAddress PgServer::address() const
{
    platform::ServerAddress a;
    a.host = m_dir.path();
    a.database = QLatin1String(School);
    a.user = QLatin1String(Owner);
    a.port = m_port;
    a.sslMode = QStringLiteral("disable");
    return a;
}

platform::ServerAddress PgServer::tlsAddress() const
{
    platform::ServerAddress a = address();
    a.host = QStringLiteral("localhost");
    a.sslMode = QStringLiteral("verify-full");
    if (m_authority)
        a.sslRootCert = m_authority->certificate();
    return a;
}

platform::ServerAddress PgServer::createDatabase(const QString& name) const
{
    platform::ServerAddress postgres = address();
    postgres.database = QStringLiteral("postgres");
    platform::PgConnection::connect(postgres).executeScript(QStringLiteral("CREATE DATABASE %1").arg(name));
    platform::ServerAddress a = address();
    a.database = name;
    return a;
}

}
