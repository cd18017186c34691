#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "common/apppath.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/failuretext.h"
#include "common/session.h"
#include "platform/privatefiles.h"
#include "platform/services.h"

bool Is_Folder_Read_Only(const QString& folder)
{
    const QString probe = folder + QStringLiteral("test.txt");
    QFile file(probe);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return true;
    QTextStream out(&file);
    out << "\"Test\"\n";
    out.flush();
    const bool written = out.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
    file.close();
    return !written || !QFile::remove(probe);
}

QString Get_Application_Data_Folder()
{
    const QString folder = platform::services().shell->localAppDataFolder();
    if (!folder.isEmpty())
        return folder;
    platform::services().dialogs->message(QStringLiteral("Please report the following message to ")
            + QLatin1String(SupportAddress) + QStringLiteral(":\r\n\r\n")
            + QStringLiteral("Error creating the APP DATA FOLDER. The App Data folder does not exist"),
        QString(), platform::Icon::None);
    return {};
}

bool Copy_Folder(const QString& source, const QString& destination)
{
    QString error;
    if (platform::services().shell->copyFolder(source, destination, &error))
        return true;
    Error_Report(QStringLiteral("Copy_Folder"),
        QFileInfo(source).isDir() ? Failure_Text(platform::FileFailure::Unwritable, destination, error)
                                  : Failure_Text(platform::FileFailure::Missing, source, error));
    return false;
}

void Set_Paths(Session& session, QString* activitiesDir)
{
    const QString programFolder = session.ProgramDir;
    const QChar sep = QDir::separator();
    if (!Is_Folder_Read_Only(programFolder)) {
        session.DataDir = programFolder;
    } else {
        const QString appData = Get_Application_Data_Folder();
        session.DataDir = appData.isEmpty() ? Get_Temp_Path() + session.ProductName + sep
                                            : appData + sep + session.ProductName + sep;
        if (!platform::makePrivateFolder(session.DataDir)) {
            Error_Report(QStringLiteral("Set_Paths"),
                Failure_Text(
                    platform::FileFailure::Unwritable, session.DataDir, QStringLiteral("cannot make the folder")));
            return;
        }
        // Only the first run copies: later changes of the user's virtual subjects must survive.
        if (!QFileInfo(session.DataDir + Caption(11)).isDir())
            Copy_Folder(programFolder + Caption(11), session.DataDir + Caption(11));
    }
    session.InstalledSubjectsDir = programFolder + Caption(10) + sep;
    session.ImportedSubjectsDir = session.DataDir + Caption(10) + sep;
    session.VirtualSubjectsDir = session.DataDir + Caption(11) + sep;
    if (activitiesDir)
        *activitiesDir = programFolder + QStringLiteral("Activities") + sep;
}
