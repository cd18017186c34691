#pragma once

#include <QString>

struct Session;

// A download never holds up start-up longer than this.
constexpr int DownloadTimeoutMs = 5000;

// The system reports an internet connection.
bool Is_Online();
// Downloads url into file; true exactly when the download succeeded within DownloadTimeoutMs and the reply
// was no longer than maxBytes.
bool Download_File(const QString& url, const QString& file, qint64 maxBytes);
// The site address (interface text 94) followed by page, with one separator where both bring one.
QString Site_Page(const QString& page);
// Tells the user that the site is being contacted and opens site + page, or the session's local page when
// offline.
void Open_Online_Page(const Session& session, const QString& page);
// Opens a web address, or the local page when offline, without the notice.
void Open_Web_Address(const Session& session, const QString& address);
// Opens a page or a folder with the system's program for it; false after telling the user, naming the target,
// when there is no such program or it refused.
bool Open_With_System(const Session& session, const QString& target);
