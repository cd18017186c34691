#include "updates.h"
#include "common/buildinfo.h"

#include <QFile>
#include <QLocale>
#include <QStringList>

#include "common/apppath.h"
#include "common/captions.h"
#include "common/online.h"
#include "common/registry.h"
#include "common/session.h"
#include "platform/services.h"

namespace {
const QString DateCheckedValue = QStringLiteral("DateChecked");

// The downloaded file is only ever read as text, never opened or run; it was cut off at UpdateInfoMaxBytes.
QByteArray readDownloaded(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(UpdateInfoMaxBytes);
}
}

QString Update_Info_Url()
{
    const BuildVersion version = Built_Version();
    return Site_Page(
        QStringLiteral("updates/Ver_%1_%2_%3.txt").arg(version.major).arg(version.minor).arg(version.revision));
}

QString Update_Download_Name(const QDateTime& when)
{
    return QLatin1Char('~') + when.toString(QStringLiteral("MMddyyyyHHmmss")) + QStringLiteral(".tmp");
}

QString Last_Line(const QByteArray& text)
{
    QString all = QString::fromLocal8Bit(text);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (all.endsWith(QLatin1Char('\n')))
        all.chop(1);
    return all.mid(all.lastIndexOf(QLatin1Char('\n')) + 1);
}

UpdateLine Parse_Update_Line(const QString& line)
{
    const QStringList fields = line.split(QLatin1Char(','));
    if (fields.size() < 2)
        return {};
    return { true, fields[0].trimmed().toUpper(), fields[1].trimmed() };
}

bool Check_Updates(const Session& session)
{
    try {
        platform::Services& s = platform::services();
        const QString file = Get_Temp_Path() + Update_Download_Name(s.clock->now());
        if (!Download_File(Update_Info_Url(), file, UpdateInfoMaxBytes)) {
            QFile::remove(file);
            return false;
        }
        const QByteArray text = readDownloaded(file);
        QFile::remove(file);
        const UpdateLine line = Parse_Update_Line(Last_Line(text));
        if (!line.valid)
            return false;
        const QString updatePage = Site_Page(Caption(67));
        if (s.dialogs->askYesNo(line.message + QStringLiteral("\r\n\r\n") + Caption(18), Caption(98),
                platform::Icon::None, platform::Answer::Yes))
            Open_With_System(session, updatePage);
        else
            s.dialogs->message(Caption(68) + QLatin1Char(' ') + updatePage, Caption(98), platform::Icon::None);
        return line.closeFlag == QStringLiteral("YES");
    } catch (...) {
        return false;
    }
}

QString Date_Checked_Text(const QDate& date) { return date.toString(Qt::ISODate); }

QDate Read_Date_Checked(const QString& text)
{
    const QString stored = text.trimmed();
    if (stored.isEmpty())
        return {};
    QDate date = QDate::fromString(stored, Qt::ISODate);
    if (date.isValid())
        return date;
    // Written by an earlier version in the short date format, whose two-digit year Qt reads in the 1900s.
    const QLocale locale; // the system's, unless the program chose another
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    date = locale.toDate(stored, format);
    if (date.isValid() && !format.contains(QStringLiteral("yyyy")) && date.year() < 2000)
        date = date.addYears(100);
    return date;
}

bool Weekly_Update_Check(const Session& session)
{
    const QString key = Program_Key(session.ProgramCode);
    const QDate today = platform::services().clock->now().date();
    QDate checked = Read_Date_Checked(Get_Reg_String(key, DateCheckedValue, QString()));
    if (!checked.isValid()) {
        // Empty, or a text no date can be read from: the week starts today.
        Save_Reg_String(key, DateCheckedValue, Date_Checked_Text(today));
        checked = today;
    }
    if (checked.daysTo(today) < 7 || !Is_Online())
        return false;
    // Moved first, so that a failing check is not tried again before next week.
    Save_Reg_String(key, DateCheckedValue, Date_Checked_Text(today));
    return Check_Updates(session);
}
