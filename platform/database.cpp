#include "database.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace platform {

DbError::DbError(const QString& description, DbFailure failure, const QString& path)
    : std::runtime_error(description.toStdString())
    , m_failure(failure)
    , m_path(path)
{
}

QString DbError::description() const { return QString::fromStdString(what()); }

int Recordset::columnIndex(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const QVariant& Recordset::field(int row, int column) const
{
    if (row < 0 || row >= count())
        throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    if (column < 0 || column >= columnCount())
        throw DbError(
            QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
    return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

QVariant Recordset::value(int row, int column) const { return field(row, column); }

QVariant Recordset::value(int row, const QString& column) const { return field(row, columnIndex(column)); }

QString Recordset::text(int row, int column) const
{
    const QVariant& v = field(row, column);
    return v.isNull() ? QString() : v.toString();
}

QString Recordset::text(int row, const QString& column) const { return text(row, columnIndex(column)); }

QByteArray Recordset::blob(int row, const QString& column) const
{
    const QVariant& v = field(row, columnIndex(column));
    return v.isNull() ? QByteArray() : v.toByteArray();
}

bool Recordset::isNull(int row, const QString& column) const { return field(row, columnIndex(column)).isNull(); }

namespace {

    QString lastError(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

    DbError lastFailure(sqlite3* db)
    {
        const QString path = QString::fromUtf8(sqlite3_db_filename(db, "main"));
        switch (sqlite3_errcode(db) & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DbError(lastError(db), DbFailure::Busy, path);
        case SQLITE_READONLY:
            return DbError(lastError(db), DbFailure::ReadOnly, path);
        default:
            return DbError(lastError(db), DbFailure::Other, path);
        }
    }

    void bindValue(sqlite3* db, sqlite3_stmt* stmt, int index, const QVariant& v)
    {
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, index);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::Short:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(stmt, index, v.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(stmt, index, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob64(
                    stmt, index, b.constData(), static_cast<sqlite3_uint64>(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                rc = sqlite3_bind_text64(
                    stmt, index, t.constData(), static_cast<sqlite3_uint64>(t.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
            }
            }
        }
        if (rc != SQLITE_OK)
            throw DbError(lastError(db));
    }

    class Statement
    {
    public:
        Statement(sqlite3* db, const QString& sql, const QVariantList& values)
            : m_db(db)
        {
            const QByteArray text = sql.toUtf8();
            if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &m_stmt, nullptr) != SQLITE_OK)
                throw lastFailure(db);
            for (int i = 0; i < values.size(); ++i)
                bind(i + 1, values[i]);
        }
        ~Statement() { sqlite3_finalize(m_stmt); }
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;

        bool step()
        {
            const int rc = sqlite3_step(m_stmt);
            if (rc == SQLITE_ROW)
                return true;
            if (rc == SQLITE_DONE)
                return false;
            if (rc == SQLITE_INTERRUPT)
                throw DbError(QStringLiteral("The query was stopped: it needs far more work than the file can need"));
            throw lastFailure(m_db);
        }

        sqlite3_stmt* get() const { return m_stmt; }

    private:
        void bind(int index, const QVariant& v) { bindValue(m_db, m_stmt, index, v); }

        sqlite3* m_db;
        sqlite3_stmt* m_stmt = nullptr;
    };

    QVariant columnValue(sqlite3_stmt* stmt, int i)
    {
        switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_NULL:
            return QVariant();
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt, i));
        case SQLITE_BLOB: {
            const void* data = sqlite3_column_blob(stmt, i);
            const int size = sqlite3_column_bytes(stmt, i);
            return QVariant(QByteArray(static_cast<const char*>(data), size));
        }
        default: {
            const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            const int size = sqlite3_column_bytes(stmt, i);
            return QVariant(QString::fromUtf8(data, size));
        }
        }
    }

}

QString Database::dataSource(const QString& connectionText)
{
    static const QRegularExpression source(
        QStringLiteral("Data Source=([^;]*)"), QRegularExpression::CaseInsensitiveOption);
    const auto match = source.match(connectionText);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

Database Database::open(const QString& connectionText)
{
    const QString path = dataSource(connectionText);
    if (path.isEmpty())
        throw DbError(QStringLiteral("The connection text names no data source."));
    return openFile(path);
}

Database Database::openFile(const QString& path, bool create)
{
    if (!create && !QFileInfo(path).isFile())
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(path), DbFailure::Missing, path);
    sqlite3* db = nullptr;
    // A connection is opened for one operation and used by one thread at a time: SQLite need not lock it on
    // every call, which a read of a hundred thousand rows makes a million times.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc == SQLITE_READONLY || rc == SQLITE_CANTOPEN) {
        sqlite3_close(db);
        db = nullptr;
        rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    if (rc != SQLITE_OK) {
        const QString message = db ? lastError(db) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw DbError(QStringLiteral("Cannot open '%1': %2").arg(path, message), DbFailure::Other, path);
    }
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    Database result(db);
    // A file that is not a database opens without complaint; the first read tells.
    result.query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    return result;
}

Database::Database(sqlite3* db)
    : m_db(db)
{
}

Database::Database(Database&& other) noexcept
    : m_db(other.m_db)
{
    other.m_db = nullptr;
}

Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        sqlite3_close(m_db);
        m_db = other.m_db;
        other.m_db = nullptr;
    }
    return *this;
}

Database::~Database() { sqlite3_close(m_db); }

Recordset Database::query(const QString& sql, const QVariantList& values) const
{
    Statement stmt(m_db, sql, values);
    Recordset rs;
    const int n = sqlite3_column_count(stmt.get());
    for (int i = 0; i < n; ++i)
        rs.addColumn(QString::fromUtf8(sqlite3_column_name(stmt.get(), i)));
    while (stmt.step()) {
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            row.push_back(columnValue(stmt.get(), i));
        rs.addRow(std::move(row));
    }
    return rs;
}

bool Database::useFirstValue(const Query& q, const std::function<void(QByteArrayView)>& use) const
{
    Statement stmt(m_db, q.sql, q.values);
    if (sqlite3_column_count(stmt.get()) < 1 || !stmt.step())
        return false;
    if (sqlite3_column_type(stmt.get(), 0) == SQLITE_NULL) {
        use(QByteArrayView());
        return true;
    }
    // SQLite gives no pointer for an empty value; an empty view that is not null keeps it apart from NULL.
    const void* data = sqlite3_column_blob(stmt.get(), 0);
    use(QByteArrayView(data ? static_cast<const char*>(data) : "", sqlite3_column_bytes(stmt.get(), 0)));
    return true;
}

void Database::forEachRow(const Query& q, const std::function<void(const RowView&)>& use) const
{
    Statement stmt(m_db, q.sql, q.values);
    const RowView row(stmt.get());
    while (stmt.step())
        use(row);
}

QByteArrayView RowView::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}

std::optional<qint64> RowView::integer(int column) const
{
    if (sqlite3_column_type(m_stmt, column) != SQLITE_INTEGER)
        return {};
    return sqlite3_column_int64(m_stmt, column);
}

int Database::execute(const QString& sql, const QVariantList& values) const
{
    Statement stmt(m_db, sql, values);
    while (stmt.step()) { }
    return sqlite3_changes(m_db);
}

void Database::executeScript(const QString& sql) const
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown failure");
        sqlite3_free(error);
        const DbError failure = lastFailure(m_db);
        throw DbError(message, failure.failure(), failure.path());
    }
}

void Database::limitSteps(int steps) const
{
    // SQLite calls the handler after every "steps" steps of one statement; any answer but 0 interrupts it.
    sqlite3_progress_handler(
        m_db, steps, [](void*) { return 1; }, nullptr);
}

qint64 Database::lastInsertId() const { return sqlite3_last_insert_rowid(m_db); }

bool Database::hasTable(const QString& table) const
{
    const Recordset rs = query(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') AND "
                                              "lower(name) = lower(?)"),
        { table });
    return !rs.isEmpty();
}

qint64 Database::insertRow(const QString& table, const QStringList& columns, const QVariantList& values) const
{
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(','), marks.join(',')), values);
    return lastInsertId();
}

Prepared::Prepared(const Database& db, const QString& sql)
    : m_db(db.m_db)
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v3(
            m_db, text.constData(), static_cast<int>(text.size()), SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr)
        != SQLITE_OK)
        throw lastFailure(m_db);
}

Prepared::~Prepared() { sqlite3_finalize(m_stmt); }

bool Prepared::start(const QVariantList& values) const
{
    sqlite3_reset(m_stmt);
    for (int i = 0; i < values.size(); ++i)
        bindValue(m_db, m_stmt, i + 1, values[i]);
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        throw lastFailure(m_db);
    return false;
}

int Prepared::execute(const QVariantList& values) const
{
    while (start(values) && sqlite3_step(m_stmt) == SQLITE_ROW) { }
    return sqlite3_changes(m_db);
}

QVariant Prepared::firstValue(const QVariantList& values) const
{
    return start(values) ? columnValue(m_stmt, 0) : QVariant();
}
}
