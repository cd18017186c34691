#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/apppath.h"
#include "platform/exchangefile.h"

bool File_Exists(const QString& path)
{
    const QFileInfo info(path);
    const QString pattern = info.fileName();
    if (pattern.isEmpty())
        return false;
    const QDir dir = info.dir();
    const QStringList found = dir.entryList({ pattern }, QDir::Files | QDir::NoDotAndDotDot);
    return !found.isEmpty();
}

QString Connection_String(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
        + QStringLiteral(";Jet OLEDB:Database Password=mervanto4816;");
}

QString Template_Connection_String(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
        + QStringLiteral(";Jet OLEDB:Database Password=kqv4816;");
}

QString Exchange_File_Name(qint64 number)
{
    return QStringLiteral("~prl") + QString::number(number) + QStringLiteral(".txt");
}

QString Exchange_Sound_File_Name(qint64 number, int i)
{
    return QStringLiteral("~prl") + QString::number(number) + QString::number(i) + QStringLiteral(".wav");
}

void Delete_Temp_Files(qint64 number)
{
    const QString temp = Get_Temp_Path();
    for (int i = 1; i <= MaxStudyPhrases; ++i)
        QFile::remove(temp + Exchange_Sound_File_Name(number, i));
    QFile::remove(temp + Exchange_File_Name(number));
    QFile::remove(temp + platform::exchange::recordingFileOf(Exchange_File_Name(number)));
}

void Forget_Sound_Notice() { QFile::remove(Get_Temp_Path() + QLatin1String(platform::exchange::SoundNoticeMarker)); }
