#pragma once

#include <system_error>

#include <QFileDevice>

#include "platform/database.h"

// The kinds of failure of a file the user can be told about in the interface language: the system's own text is
// English and names no remedy, so it goes to the log only.
namespace platform {

enum class FileFailure {
    Missing, // no such file or folder
    Unreadable, // there, but it cannot be opened or read
    Unwritable, // the disk is full, or the file or its folder is not the user's to write
    Busy, // another program holds it
    Damaged, // it opens but is not what it should be
};

// A QFile's failure; exists tells a missing file from one that would not open.
FileFailure fileFailure(QFileDevice::FileError error, bool exists, bool writing);
// A system call's failure (errno, or std::filesystem's error code).
FileFailure fileFailure(const std::error_code& error, bool writing);
FileFailure fileFailure(DbFailure failure);

}
