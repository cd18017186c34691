#pragma once

#include <QString>
#include <QTemporaryDir>

#include "platform/pgconnection.h"

namespace fixtures {

// A real PostgreSQL server of the test's own: a cluster made by initdb in a temporary folder, listening only on a
// Unix socket in that folder, with one empty database. The server refuses to run as root, so under root (as CI runs)
// it runs as the postgres user the Debian package makes. Stopped and removed with the fixture.
class PgServer
{
public:
    PgServer();
    ~PgServer();
    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    bool isRunning() const { return m_running; }
    // What failed while making or starting the server; "" when it runs.
    QString failure() const { return m_failure; }
    // The school's database, signed in to as the cluster's owner.
    platform::ServerAddress address() const;
    // A second empty database of the same cluster.
    platform::ServerAddress createDatabase(const QString& name) const;
    // Stops the server at once, as a power cut would, and starts it again on the same files.
    void stop();
    bool start();

private:
    bool run(const QString& program, const QStringList& arguments);
    QTemporaryDir m_dir;
    QString m_bin;
    bool m_running = false;
    QString m_failure;
};

}
