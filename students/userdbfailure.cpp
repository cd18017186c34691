#include "userdbfailure.h"

#include "common/captions.h"
#include "common/frmmsgbox.h"

using platform::DbFailure;

QString User_Database_Advice(DbFailure failure, const QString& path)
{
    switch (failure) {
    case DbFailure::Busy:
        return Caption(167).arg(path);
    case DbFailure::ReadOnly:
        return Caption(168).arg(path);
    case DbFailure::Missing:
        return Caption(169).arg(path);
    case DbFailure::Other:
        break;
    }
    return {};
}

QString User_Database_Failure(const std::exception& e, const QString& path)
{
    if (const auto* db = dynamic_cast<const platform::DbError*>(&e)) {
        const QString advice = User_Database_Advice(db->failure(), path);
        return advice.isEmpty() ? db->description() : advice;
    }
    return QString::fromUtf8(e.what());
}

void Show_User_Database_Failure(const QString& productName, const std::exception& e, const QString& path)
{
    frmMsgBox::Show_Notice(productName, User_Database_Failure(e, path));
}
