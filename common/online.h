#pragma once

#include <QString>

// A download never holds up start-up longer than this.
constexpr int DownloadTimeoutMs = 5000;

// The system reports an internet connection.
bool Is_Online();
// Downloads url into file; true exactly when the download succeeded within DownloadTimeoutMs and the reply
// was no longer than maxBytes.
bool Download_File(const QString& url, const QString& file, qint64 maxBytes);
// The site address (interface text 94) followed by page, with one separator where both bring one.
QString Site_Page(const QString& page);
// Tells the user that the site is being contacted and opens site + page, or the local page when offline.
void Open_Online_Page(const QString& page);
