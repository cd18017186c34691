#include "pgconnection.h"

#include <vector>

#include <libpq-fe.h>

namespace platform {

ServerError::ServerError(const QString& description, bool unreachable)
    : std::runtime_error(description.toStdString())
    , m_unreachable(unreachable)
{
}

QString ServerError::description() const { return QString::fromStdString(what()); }

namespace {

    // libpq's type numbers of the columns read as numbers or truth values; every other type reads as text.
    enum : Oid { BoolOid = 16, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23, Float4Oid = 700, Float8Oid = 701 };

    QString quotedValue(const QString& value)
    {
        QString quoted = value;
        quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
        return QLatin1Char('\'') + quoted + QLatin1Char('\'');
    }

    QString messageOf(const PGconn* conn) { return QString::fromUtf8(PQerrorMessage(conn)).trimmed(); }

    QByteArray textOf(const QVariant& value)
    {
        switch (value.typeId()) {
        case QMetaType::Bool:
            return value.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
        case QMetaType::Double:
        case QMetaType::Float:
            return QByteArray::number(value.toDouble(), 'g', 17);
        default:
            return value.toString().toUtf8();
        }
    }

    QVariant valueOf(const PGresult* result, int row, int column)
    {
        if (PQgetisnull(result, row, column))
            return QVariant();
        const char* text = PQgetvalue(result, row, column);
        switch (PQftype(result, column)) {
        case BoolOid:
            return QVariant(text[0] == 't');
        case Int2Oid:
        case Int4Oid:
        case Int8Oid:
            return QVariant(QByteArray(text).toLongLong());
        case Float4Oid:
        case Float8Oid:
            return QVariant(QByteArray(text).toDouble());
        default:
            return QVariant(QString::fromUtf8(text));
        }
    }

    // Owns a result so that every way out of a call frees it.
    class Result
    {
    public:
        explicit Result(PGresult* result)
            : m_result(result)
        {
        }
        ~Result() { PQclear(m_result); }
        Result(const Result&) = delete;
        Result& operator=(const Result&) = delete;
        PGresult* get() const { return m_result; }

    private:
        PGresult* m_result;
    };

    // Whether the way to the server failed rather than the statement: the connection broke, or the server said it
    // is shutting down or starting (class 08 and 57P01-57P03), and a later attempt may succeed.
    bool connectionLost(PGconn* conn, const PGresult* result)
    {
        if (PQstatus(conn) != CONNECTION_OK || !result)
            return true;
        const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
        if (!state)
            return true;
        const QByteArray code(state);
        return code.startsWith("08") || code == "57P01" || code == "57P02" || code == "57P03";
    }

    void check(PGconn* conn, const Result& result)
    {
        const ExecStatusType status = result.get() ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            return;
        const QString message
            = result.get() ? QString::fromUtf8(PQresultErrorMessage(result.get())).trimmed() : messageOf(conn);
        throw ServerError(message.isEmpty() ? messageOf(conn) : message, connectionLost(conn, result.get()));
    }

}

QString connectionText(const ServerAddress& address)
{
    QStringList parts;
    const auto add = [&parts](const char* key, const QString& value) {
        if (!value.isEmpty())
            parts << QLatin1String(key) + QLatin1Char('=') + quotedValue(value);
    };
    add("host", address.host);
    add("port", QString::number(address.port));
    add("dbname", address.database);
    add("user", address.user);
    add("password", address.password);
    add("sslmode", address.sslMode);
    add("sslrootcert", address.sslRootCert);
    add("connect_timeout", QString::number(PgConnection::ConnectTimeoutSeconds));
    add("application_name", QStringLiteral("Parlanta"));
    add("options",
        QStringLiteral("-c statement_timeout=%1 -c client_min_messages=warning").arg(PgConnection::StatementTimeoutMs));
    // A server that vanishes in the middle of an exchange is noticed within seconds, not at the system's default of
    // hours.
    add("keepalives_idle", QStringLiteral("5"));
    add("keepalives_interval", QStringLiteral("2"));
    add("keepalives_count", QStringLiteral("3"));
    add("tcp_user_timeout", QStringLiteral("10000"));
    return parts.join(QLatin1Char(' '));
}

PgConnection PgConnection::connect(const ServerAddress& address)
{
    PGconn* conn = PQconnectdb(connectionText(address).toUtf8().constData());
    if (!conn)
        throw ServerError(QStringLiteral("out of memory"), true);
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString message = messageOf(conn);
        PQfinish(conn);
        throw ServerError(message, true);
    }
    PgConnection connection(conn);
    connection.executeScript(QStringLiteral("SET client_encoding = 'UTF8'; SET TIME ZONE 'UTC';"));
    return connection;
}

PgConnection::PgConnection(PGconn* conn)
    : m_conn(conn)
{
}

PgConnection::PgConnection(PgConnection&& other) noexcept
    : m_conn(other.m_conn)
{
    other.m_conn = nullptr;
}

PgConnection& PgConnection::operator=(PgConnection&& other) noexcept
{
    std::swap(m_conn, other.m_conn);
    return *this;
}

PgConnection::~PgConnection()
{
    if (m_conn)
        PQfinish(m_conn);
}

namespace {

    PGresult* run(PGconn* conn, const QString& sql, const QVariantList& values)
    {
        std::vector<QByteArray> texts;
        std::vector<const char*> pointers;
        texts.reserve(static_cast<size_t>(values.size()));
        for (const QVariant& value : values) {
            texts.push_back(value.isNull() ? QByteArray() : textOf(value));
            pointers.push_back(value.isNull() ? nullptr : texts.back().constData());
        }
        return PQexecParams(conn, sql.toUtf8().constData(), static_cast<int>(values.size()), nullptr, pointers.data(),
            nullptr, nullptr, 0);
    }

}

Recordset PgConnection::query(const QString& sql, const QVariantList& values) const
{
    const Result result(run(m_conn, sql, values));
    check(m_conn, result);
    Recordset rs;
    const int columns = PQnfields(result.get());
    for (int c = 0; c < columns; ++c)
        rs.addColumn(QString::fromUtf8(PQfname(result.get(), c)));
    const int rows = PQntuples(result.get());
    for (int r = 0; r < rows; ++r) {
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c)
            row.push_back(valueOf(result.get(), r, c));
        rs.addRow(std::move(row));
    }
    return rs;
}

int PgConnection::execute(const QString& sql, const QVariantList& values) const
{
    const Result result(run(m_conn, sql, values));
    check(m_conn, result);
    return QByteArray(PQcmdTuples(result.get())).toInt();
}

void PgConnection::executeScript(const QString& sql) const
{
    const Result result(PQexec(m_conn, sql.toUtf8().constData()));
    check(m_conn, result);
}

int PgConnection::serverVersion() const { return PQserverVersion(m_conn); }

}
