#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// What kind of failure it was, where the user can do something about it.
enum class DbFailure {
    Other,
    Busy, // another connection holds the lock past the busy timeout
    ReadOnly, // the file or its folder cannot be written
    Missing, // there is no such file
};

// A database failure; its what() is the description shown by the error report.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& description, DbFailure failure = DbFailure::Other, const QString& path = {});
    QString description() const;
    DbFailure failure() const { return m_failure; }
    // The database file at fault; "" when the failure is not the file's.
    QString path() const { return m_path; }

private:
    DbFailure m_failure;
    QString m_path;
};

// The rows of one SELECT, read whole, so the connection can close before the caller walks them.
class Recordset
{
public:
    int count() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const QStringList& columns() const { return m_columns; }
    int columnIndex(const QString& name) const; // -1 when there is no such column

    // Text of a field; NULL reads as "". Throws DbError for a row or column that does not exist.
    QString text(int row, int column) const;
    QString text(int row, const QString& column) const;
    QByteArray blob(int row, const QString& column) const;
    QVariant value(int row, int column) const;
    QVariant value(int row, const QString& column) const;
    bool isNull(int row, const QString& column) const;

    void addColumn(const QString& name) { m_columns << name; }
    void addRow(std::vector<QVariant> row) { m_rows.push_back(std::move(row)); }

private:
    const QVariant& field(int row, int column) const;
    QStringList m_columns;
    std::vector<std::vector<QVariant>> m_rows;
};

// A SELECT with the values bound to its "?" marks: the values never become part of the SQL text.
struct Query
{
    QString sql;
    QVariantList values;
    bool operator==(const Query& other) const = default;
};

// The row a statement stands on while Database::forEachRow hands it over; valid only during that call.
class RowView
{
public:
    // The field as SQLite gives it as text (UTF-8); NULL reads as an empty view.
    QByteArrayView text(int column) const;
    // The field when SQLite holds a whole number there; nothing for any other type.
    std::optional<qint64> integer(int column) const;

private:
    friend class Database;
    explicit RowView(sqlite3_stmt* stmt)
        : m_stmt(stmt)
    {
    }
    sqlite3_stmt* m_stmt;
};

// A table or column name as SQL text, quoted, so that a name read from a file stays one name whatever it holds.
inline QString quotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The longest file name, in bytes of UTF-8, that a database file may be given. The file systems take 255, but a change
// makes SQLite write a journal beside the file, named after it with "-journal" added: a longer name opens and reads,
// yet every change of the file fails.
constexpr int MaxDatabaseFileNameBytes = 255 - 8;

// Whether fileName (a name, not a path) leaves room for the journal beside it.
inline bool fitsDatabaseFileName(const QString& fileName)
{
    return fileName.toUtf8().size() <= MaxDatabaseFileNameBytes;
}

// One open database file; opened for one operation and closed when it goes out of scope.
class Database
{
public:
    static constexpr int BusyTimeoutMs = 5000;

    // Opens the file named by "Data Source=" in a connection text; the password part is accepted and ignored.
    static Database open(const QString& connectionText);
    static Database openFile(const QString& path, bool create = false);
    static QString dataSource(const QString& connectionText);

    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    Recordset query(const QString& sql, const QVariantList& values = {}) const;
    Recordset query(const Query& q) const { return query(q.sql, q.values); }
    // Hands the first value of the first row of q to use as SQLite holds it, so that a value of many megabytes is
    // never copied; NULL arrives as a null view. False, without calling use, when q has no row.
    bool useFirstValue(const Query& q, const std::function<void(QByteArrayView)>& use) const;
    // Hands every row of q to use as SQLite steps to it, none of them copied: for a reader that folds a hundred
    // thousand rows into a few figures and would spend more on holding them than on reading them.
    void forEachRow(const Query& q, const std::function<void(const RowView&)>& use) const;
    // Runs a statement that returns no rows; the result is the number of changed rows.
    int execute(const QString& sql, const QVariantList& values = {}) const;
    // Runs a script of several statements without bound values (schema building).
    void executeScript(const QString& sql) const;
    qint64 lastInsertId() const;
    bool hasTable(const QString& table) const;
    // Stops any one statement with a DbError once it has run this many steps of SQLite's virtual machine. A file
    // from outside may hold a view or a trigger that never ends; without a limit a read of it would never return.
    void limitSteps(int steps) const;

    // Convenience for add / update / delete of one row, values always bound.
    qint64 insertRow(const QString& table, const QStringList& columns, const QVariantList& values) const;

private:
    friend class Prepared;
    explicit Database(sqlite3* db);
    sqlite3* m_db = nullptr;
};

// One statement made once and run many times with new values, on a database that outlives it: for a loop that
// stores thousands of rows, where making the statement again for each would cost more than running it.
class Prepared
{
public:
    Prepared(const Database& db, const QString& sql);
    ~Prepared();
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    // Runs it with these values; the number of rows it changed.
    int execute(const QVariantList& values) const;
    // The first column of its first row with these values; null when it gives no row.
    QVariant firstValue(const QVariantList& values) const;

private:
    bool start(const QVariantList& values) const;
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};
}
