#include "templatewriter.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "platform/database.h"
#include "platform/userschema.h"

namespace mktemplate {

namespace {

    // The readers take rows in stored order without ORDER BY; a rowid table without indexes is scanned in rowid
    // order, so every row is given its rowid explicitly.
    QString interfaceSchema()
    {
        QStringList tipColumns;
        for (const QString& code : ProgramCodes)
            tipColumns << QStringLiteral("%1 TEXT NOT NULL").arg(code);
        return QStringLiteral(
            "CREATE TABLE tblCaptions (English TEXT, Spanish TEXT);\n"
            "CREATE TABLE tblSystemMessages (English TEXT NOT NULL, Spanish TEXT NOT NULL, link TEXT NOT NULL);\n"
            "CREATE TABLE tblTips (%1);\n"
            "CREATE TABLE tblMenu (English TEXT NOT NULL, Spanish TEXT NOT NULL, link TEXT NOT NULL);\n")
            .arg(tipColumns.join(QStringLiteral(", ")));
    }

    void insertLinkedTexts(const platform::Database& db, const QString& table, const QList<LinkedText>& entries)
    {
        const QStringList columns
            = { QStringLiteral("rowid"), QStringLiteral("English"), QStringLiteral("Spanish"), QStringLiteral("link") };
        for (int i = 0; i < entries.size(); ++i)
            db.insertRow(table, columns, { i + 1, entries[i].english, entries[i].spanish, entries[i].link });
    }

    void fill(const platform::Database& db, const TemplateSources& sources)
    {
        db.executeScript(interfaceSchema());
        // The user database is a copy of the template, so the template also carries the empty student and score
        // tables and the two stored queries that the tracked-scores window reads.
        db.executeScript(platform::users::schemaScript());

        db.execute(QStringLiteral("BEGIN"));
        const QStringList captionColumns
            = { QStringLiteral("rowid"), QStringLiteral("English"), QStringLiteral("Spanish") };
        for (int i = 0; i < sources.captions.size(); ++i) {
            db.insertRow(QStringLiteral("tblCaptions"), captionColumns,
                { i + 1, sources.captions[i].english, sources.captions[i].spanish });
        }
        insertLinkedTexts(db, QStringLiteral("tblSystemMessages"), sources.systemMessages);
        insertLinkedTexts(db, QStringLiteral("tblMenu"), sources.menu);

        QStringList tipColumns = { QStringLiteral("rowid") };
        for (const QString& code : ProgramCodes)
            tipColumns << code;
        const qsizetype tipCount = sources.tips.value(ProgramCodes.front()).size();
        for (qsizetype row = 0; row < tipCount; ++row) {
            QVariantList values = { static_cast<qlonglong>(row + 1) };
            for (const QString& code : ProgramCodes)
                values << sources.tips.value(code).value(row);
            db.insertRow(QStringLiteral("tblTips"), tipColumns, values);
        }
        db.execute(QStringLiteral("COMMIT"));
    }

    void removePartial(const QString& partial)
    {
        QFile::remove(partial);
        QFile::remove(partial + QStringLiteral("-journal"));
    }

}

QString writeTemplate(const TemplateSources& sources, const QString& path)
{
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath()))
        return QStringLiteral("cannot create the folder %1").arg(target.absolutePath());

    QString partial;
    {
        // Reserve a unique name beside the target, so the final rename stays on one file system.
        QTemporaryFile reserve(target.absoluteFilePath() + QStringLiteral(".XXXXXX.partial"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            return QStringLiteral("cannot create a file in %1: %2").arg(target.absolutePath(), reserve.errorString());
        partial = reserve.fileName();
    }

    try {
        const platform::Database db = platform::Database::openFile(partial, true);
        fill(db, sources);
    } catch (const platform::DbError& e) {
        removePartial(partial);
        return QStringLiteral("cannot write the database: %1").arg(e.description());
    }

    // QTemporaryFile creates owner-only files, but the template is installed for every user of the computer.
    QFile::setPermissions(partial,
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup
            | QFile::ReadOther);

    std::error_code error;
    std::filesystem::rename(std::filesystem::path(partial.toStdU16String()),
        std::filesystem::path(target.absoluteFilePath().toStdU16String()), error);
    if (error) {
        removePartial(partial);
        return QStringLiteral("cannot replace %1: %2").arg(path, QString::fromStdString(error.message()));
    }
    return QString();
}

}
