#include "filefailure.h"

namespace platform {

FileFailure fileFailure(QFileDevice::FileError error, bool exists, bool writing)
{
    if (!exists && !writing)
        return FileFailure::Missing;
    switch (error) {
    case QFileDevice::ReadError:
        return FileFailure::Unreadable;
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return writing ? FileFailure::Unwritable : FileFailure::Unreadable;
    default:
        return writing ? FileFailure::Unwritable : FileFailure::Damaged;
    }
}

FileFailure fileFailure(const std::error_code& error, bool writing)
{
    const std::error_condition condition = error.default_error_condition();
    if (condition == std::errc::no_such_file_or_directory || condition == std::errc::not_a_directory)
        return FileFailure::Missing;
    if (condition == std::errc::device_or_resource_busy || condition == std::errc::text_file_busy)
        return FileFailure::Busy;
    if (condition == std::errc::no_space_on_device || condition == std::errc::read_only_file_system)
        return FileFailure::Unwritable;
    return writing ? FileFailure::Unwritable : FileFailure::Unreadable;
}

FileFailure fileFailure(DbFailure failure)
{
    switch (failure) {
    case DbFailure::Missing:
        return FileFailure::Missing;
    case DbFailure::ReadOnly:
        return FileFailure::Unwritable;
    case DbFailure::Busy:
        return FileFailure::Busy;
    case DbFailure::Other:
        break;
    }
    return FileFailure::Damaged;
}

}
