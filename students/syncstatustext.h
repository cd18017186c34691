#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include "students/syncstatus.h"

// The school server's status in a line for the teacher: "" when this computer has no server, otherwise whether it
// is connected or exchanging now, the last exchange (its time when it was today, else its date, in now's time zone),
// what waits to be sent and, when the server could not be reached, why in short.
QString School_Status_Text(const SyncStatus& s, const QDateTime& now, const QLocale& locale = QLocale());

// The first line of a server's or the system's failure, without the connection details libpq puts before the
// reason, and cut with an ellipsis past maxLength characters.
QString Short_Problem(const QString& problem, int maxLength = 80);

// The form of a "none|one|more" text that fits the number, with the number in its place; a text of one form is
// that form for any number.
QString Counted_Text(const QString& forms, qint64 number, const QLocale& locale);
