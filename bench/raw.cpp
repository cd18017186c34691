#include "raw.h"

#include <stdexcept>

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace bench::raw {

namespace {
    class Connection
    {
    public:
        Connection(const QString& path, bool write)
        {
            const int flags = write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
            if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK)
                fail(path);
            sqlite3_busy_timeout(m_db, 5000);
        }
        ~Connection() { sqlite3_close(m_db); }
        Connection(const Connection&) = delete;
        Connection& operator=(const Connection&) = delete;

        // Steps the statement through, every column read; the rows it gave.
        int run(const QByteArray& sql, const QVariantList& values)
        {
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
                fail(QString::fromUtf8(sql));
            for (int i = 0; i < values.size(); ++i)
                bind(stmt, i + 1, values[i]);
            int rows = 0;
            int rc = SQLITE_ROW;
            qint64 bytes = 0;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                ++rows;
                for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                    if (sqlite3_column_type(stmt, c) == SQLITE_BLOB)
                        sqlite3_column_blob(stmt, c);
                    else
                        sqlite3_column_text(stmt, c);
                    bytes += sqlite3_column_bytes(stmt, c);
                }
            }
            sqlite3_finalize(stmt);
            if (rc != SQLITE_DONE)
                fail(QString::fromUtf8(sql));
            // Kept, so that reading the columns cannot be optimised away.
            static volatile qint64 sink = 0;
            sink = sink + bytes;
            return rows;
        }

    private:
        static void bind(sqlite3_stmt* stmt, int i, const QVariant& v)
        {
            if (v.isNull()) {
                sqlite3_bind_null(stmt, i);
            } else if (v.typeId() == QMetaType::QByteArray) {
                const QByteArray b = v.toByteArray();
                sqlite3_bind_blob(stmt, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
            } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
                sqlite3_bind_int64(stmt, i, v.toLongLong());
            } else if (v.typeId() == QMetaType::Double) {
                sqlite3_bind_double(stmt, i, v.toDouble());
            } else {
                const QByteArray t = v.toString().toUtf8();
                sqlite3_bind_text(stmt, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
            }
        }
        void fail(const QString& what) const
        {
            throw std::runtime_error(
                QStringLiteral("raw sqlite3: %1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(m_db))).toStdString());
        }
        sqlite3* m_db = nullptr;
    };
}

int select(const QString& path, const QList<QByteArray>& statements, const QVariantList& values)
{
    Connection db(path, false);
    int rows = 0;
    for (const QByteArray& sql : statements)
        rows += db.run(sql, values);
    return rows;
}

void execute(
    const QString& path, const QList<QByteArray>& statements, const QList<QVariantList>& values, bool transaction)
{
    Connection db(path, true);
    if (transaction)
        db.run("BEGIN", {});
    for (int i = 0; i < statements.size(); ++i)
        db.run(statements[i], values.value(i));
    if (transaction)
        db.run("COMMIT", {});
}

QStringList list(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({ pattern }, QDir::Files, QDir::Name);
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error(QStringLiteral("cannot write %1").arg(path).toStdString());
}

}
