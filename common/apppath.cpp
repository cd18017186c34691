#include "apppath.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/tempfolder.h"

QString With_Separator(const QString& folder)
{
    const QChar sep = QDir::separator();
    if (folder.endsWith(sep) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + sep;
}

QString Get_App_Path() { return With_Separator(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())); }

QString Get_Temp_Path() { return QDir::toNativeSeparators(platform::privateTempFolder()); }
