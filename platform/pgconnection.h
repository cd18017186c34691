#pragma once

#include <stdexcept>

#include <QString>
#include <QVariant>

#include "database.h"

typedef struct pg_conn PGconn;

namespace platform {

// Where a school's PostgreSQL server is and how this computer signs in. The password is held here only while a
// connection is made; it is stored in the owner-only settings file, never in the registry.
struct ServerAddress
{
    QString host; // a name, an address, or a Unix socket folder (starts with "/")
    int port = 5432;
    QString database;
    QString user;
    QString password;
    QString sslMode = QStringLiteral("prefer"); // disable, allow, prefer, require, verify-ca, verify-full
    QString sslRootCert; // the school's certificate authority, for verify-ca and verify-full; "" for the default
    bool isSet() const { return !host.isEmpty() && !database.isEmpty(); }
    bool operator==(const ServerAddress& other) const = default;
};

// A failure of the server or of the way to it; its what() is libpq's own words. unreachable tells a server that
// could not be reached at all (no route, refused, timed out, down) from one that answered with an error.
class ServerError : public std::runtime_error
{
public:
    ServerError(const QString& description, bool unreachable);
    QString description() const;
    bool unreachable() const { return m_unreachable; }

private:
    bool m_unreachable;
};

// One connection to the server, closed when it goes out of scope. Values go in as bound parameters ($1, $2, ...)
// in text form; a null QVariant is SQL NULL. Results read whole, as the SQLite layer's: whole numbers come as
// qint64, floating numbers as double, booleans as bool, everything else as text.
class PgConnection
{
public:
    // No window may wait longer than this on a server that does not answer.
    static constexpr int ConnectTimeoutSeconds = 2;
    // A statement that takes longer is stopped by the server: a stuck exchange must end, to be tried again.
    static constexpr int StatementTimeoutMs = 60000;

    // Throws ServerError.
    static PgConnection connect(const ServerAddress& address);

    PgConnection(PgConnection&& other) noexcept;
    PgConnection& operator=(PgConnection&& other) noexcept;
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;
    ~PgConnection();

    Recordset query(const QString& sql, const QVariantList& values = {}) const;
    // The number of rows the statement changed.
    int execute(const QString& sql, const QVariantList& values = {}) const;
    // Several statements without bound values, in one round trip (schema building).
    void executeScript(const QString& sql) const;
    // The server's own version number, e.g. 150018.
    int serverVersion() const;
    // Runs work between begin (a BEGIN statement) and COMMIT; a failure takes the transaction back and goes on to the
    // caller.
    template <typename Work> void inTransaction(const QString& begin, Work work) const
    {
        executeScript(begin);
        try {
            work();
            executeScript(QStringLiteral("COMMIT"));
        } catch (...) {
            try {
                executeScript(QStringLiteral("ROLLBACK"));
            } catch (const ServerError&) {
                // The connection is gone; the server takes the transaction back itself.
            }
            throw;
        }
    }

private:
    explicit PgConnection(PGconn* conn);
    PGconn* m_conn = nullptr;
};

// The connection text libpq takes for an address, each value quoted as libpq asks.
QString connectionText(const ServerAddress& address);

}
