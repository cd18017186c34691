#include "platform/lessons/databasefile.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace lessons {

QString fileNameProblem(const QString& outputPath)
{
    const QString name = QFileInfo(outputPath).fileName();
    if (platform::fitsDatabaseFileName(name))
        return {};
    return QStringLiteral("the file name is too long: %1 bytes in UTF-8, where at most %2 leave room for the journal "
                          "file that SQLite writes beside it whenever the file is changed")
        .arg(name.toUtf8().size())
        .arg(platform::MaxDatabaseFileNameBytes);
}

Outcome writeDatabaseFile(
    const QString& outputPath, const std::function<void(const platform::Database&)>& fill, const QString& templatePath)
{
    Outcome outcome;
    if (const QString problem = fileNameProblem(outputPath); !problem.isEmpty()) {
        outcome.errors << located(outputPath, 0, problem);
        return outcome;
    }
    const QFileInfo target(outputPath);
    if (!QDir().mkpath(target.absolutePath())) {
        outcome.errors << located(
            outputPath, 0, QStringLiteral("cannot create the folder %1").arg(target.absolutePath()));
        return outcome;
    }

    // Same folder as the target, so the final rename never crosses file systems; a short name of its own, so that
    // SQLite's journal beside it fits whatever the target is called.
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.parlanta-XXXXXX"));
    if (!temp.open()) {
        outcome.errors << located(outputPath, 0, QStringLiteral("cannot write here: %1").arg(temp.errorString()));
        return outcome;
    }
    if (!templatePath.isEmpty()) {
        QFile source(templatePath);
        if (!source.open(QIODevice::ReadOnly)) {
            outcome.errors << located(
                templatePath, 0, QStringLiteral("cannot read the template: %1").arg(source.errorString()));
            return outcome;
        }
        const QByteArray bytes = source.readAll();
        if (temp.write(bytes) != bytes.size()) {
            outcome.errors << located(outputPath, 0, QStringLiteral("cannot write: %1").arg(temp.errorString()));
            return outcome;
        }
    }
    temp.close();

    try {
        const platform::Database db = platform::Database::openFile(temp.fileName(), true);
        fill(db);
    } catch (const platform::DbError& e) {
        outcome.errors << located(outputPath, 0, e.description());
        return outcome;
    }

    // QTemporaryFile keeps its files private; the program folder must be readable by every user.
    QFile::setPermissions(temp.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temp.fileName().toStdU16String()),
        std::filesystem::path(target.absoluteFilePath().toStdU16String()), error);
    if (error)
        outcome.errors << located(
            outputPath, 0, QStringLiteral("cannot replace the file: %1").arg(QString::fromStdString(error.message())));
    return outcome;
}

}
