#pragma once

#include <memory>

#include <QString>
#include <QTemporaryDir>

#include "platform/pgconnection.h"

namespace fixtures {

class CertificateAuthority;

// A real PostgreSQL server of the test's own: a cluster made by initdb in a temporary folder, listening on a Unix
// socket in that folder, with one empty database. The server refuses to run as root, so under root (as CI runs)
// it runs as the postgres user the Debian package makes. Stopped and removed with the fixture.
class PgServer
{
public:
    // With Tls::OnLoopback the server also listens on 127.0.0.1, on a free port, and takes only encrypted
    // connections there: its certificate, for the name "localhost" alone, is signed by an authority of its own.
    enum class Tls { Off, OnLoopback };

    explicit PgServer(Tls tls = Tls::Off);
    ~PgServer();
    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    bool isRunning() const { return m_running; }
    // What failed while making or starting the server; "" when it runs.
    QString failure() const { return m_failure; }
    // The school's database, signed in to as the cluster's owner.
    platform::ServerAddress address() const;
    // With Tls::OnLoopback: the school's database by TCP to "localhost", the server's certificate checked in full
    // (verify-full) against the server's own authority.
    platform::ServerAddress tlsAddress() const;
    // A second empty database of the same cluster.
    platform::ServerAddress createDatabase(const QString& name) const;
    // Stops the server at once, as a power cut would, and starts it again on the same files.
    void stop();
    bool start();

private:
    bool run(const QString& program, const QStringList& arguments);
    bool makeTls();
    QTemporaryDir m_dir;
    QString m_bin;
    std::unique_ptr<CertificateAuthority> m_authority; // with Tls::OnLoopback only
    int m_port = 5432;
    bool m_running = false;
    QString m_failure;
};

}
