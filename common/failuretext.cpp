#include "failuretext.h"

#include <QDebug>

#include "common/modmain.h"

namespace {
int caption(platform::FileFailure failure)
{
    switch (failure) {
    case platform::FileFailure::Missing:
        return 208;
    case platform::FileFailure::Unreadable:
        return 209;
    case platform::FileFailure::Unwritable:
        return 210;
    case platform::FileFailure::Busy:
        return 211;
    case platform::FileFailure::Damaged:
        break;
    }
    return 212;
}
}

QString Failure_Text(platform::FileFailure failure, const QString& path, const QString& detail)
{
    qWarning().noquote() << path + QStringLiteral(": ") + detail;
    return Caption(caption(failure)).arg(path);
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
    if (const auto* db = dynamic_cast<const platform::DbError*>(&e); db && !db->path().isEmpty())
        return Failure_Text(platform::fileFailure(db->failure()), db->path(), db->description());
    if (const auto* db = dynamic_cast<const platform::DbError*>(&e))
        return db->description();
    return QString::fromStdString(e.what());
}

QString Program_Failure_Text(const QString& program, const QString& detail)
{
    qWarning().noquote() << program + QStringLiteral(": ") + detail;
    return Caption(213).arg(program);
}
