#pragma once

#include <QDateTime>

#include "subjects/reviewfolder.h"

struct Session;

// What the logged-in student has due at now (the program passes platform::currentUtc()), read from the user
// database; nothing before a log-in, or while the database cannot be read: the folder's count is a help, and the
// next round's own save reports the database's trouble.
DueReview Student_Due_Review(const Session& session, const QDateTime& now);
