#include "failuretext.h"

#include <QDebug>

#include "common/captions.h"

namespace {
int caption(platform::FileFailure failure)
{
    switch (failure) {
    case platform::FileFailure::Missing:
        return 186;
    case platform::FileFailure::Unreadable:
        return 187;
    case platform::FileFailure::Unwritable:
        return 188;
    case platform::FileFailure::Busy:
        return 189;
    case platform::FileFailure::Damaged:
        break;
    }
    return 190;
}
}

namespace {
// Before the interface texts are read (the template itself may be what failed) only the system's words are there.
QString told(int text, const QString& path, const QString& detail)
{
    qWarning().noquote() << path + QStringLiteral(": ") + detail;
    const QString words = Caption(text);
    return words.isEmpty() ? path + QStringLiteral(": ") + detail : words.arg(path);
}
}

QString Failure_Text(platform::FileFailure failure, const QString& path, const QString& detail)
{
    return told(caption(failure), path, detail);
}

QString Failure_Text(const QFile& file, bool writing)
{
    return Failure_Text(
        platform::fileFailure(file.error(), file.exists(), writing), file.fileName(), file.errorString());
}

QString Copy_Failure_Text(const QFile& source, const QString& target)
{
    if (!source.exists())
        return Failure_Text(source, false);
    return Failure_Text(platform::FileFailure::Unwritable, target, source.errorString());
}

QString Failure_Text(const std::exception& e)
{
    const auto* db = dynamic_cast<const platform::DbError*>(&e);
    if (!db)
        return QString::fromStdString(e.what());
    return db->path().isEmpty() ? db->description()
                                : Failure_Text(platform::fileFailure(db->failure()), db->path(), db->description());
}

QString Program_Failure_Text(const QString& program, const QString& detail)
{
    return told(191, program, detail);
}
