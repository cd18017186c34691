#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

struct Session;

// The update information is one short line; a longer reply is cut off and taken as no update information, so a
// site that sends something else cannot fill the memory or the disk.
constexpr qint64 UpdateInfoMaxBytes = 64 * 1024;

// The address of the update information for this program's version, under the site's "updates/" folder.
QString Update_Info_Url();
// "~" + month, day, four-digit year + hours, minutes, seconds + ".tmp".
QString Update_Download_Name(const QDateTime& when);
// The last line of a text: a line end after it belongs to it; "" for an empty text.
QString Last_Line(const QByteArray& text);

struct UpdateLine
{
    bool valid = false; // false for a line without a comma
    QString closeFlag; // field 1, blanks trimmed, upper case
    QString message; // field 2, blanks trimmed
};
UpdateLine Parse_Update_Line(const QString& line);

// Downloads the update information and tells the user about it; true when it asks the program to close.
// Every failure gives false without a message.
bool Check_Updates(const Session& session);

// "DateChecked" as written (ISO 8601) and as read (ISO 8601, or a short date of the system's format with
// a two-digit year taken in this century). Invalid for an empty or unreadable text.
QString Date_Checked_Text(const QDate& date);
QDate Read_Date_Checked(const QString& text);

// The weekly schedule of start-up: true when the update check asks the program to close.
bool Weekly_Update_Check(const Session& session);
