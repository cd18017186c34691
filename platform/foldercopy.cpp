#include "foldercopy.h"

#include <filesystem>

namespace platform {

bool copyFolderTree(const QString& source, const QString& destination, QString* error)
{
    namespace fs = std::filesystem;
    const fs::path from(source.toStdString());
    const fs::path to(destination.toStdString());
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    std::error_code ec;
    if (!fs::is_directory(from, ec))
        return fail(QStringLiteral("Cannot find the folder '%1'.").arg(source));
    // Folders are made afresh rather than copied, so they get the user's usual permissions, not the source's.
    fs::create_directories(to, ec);
    if (ec)
        return fail(
            QStringLiteral("Cannot make the folder '%1': %2").arg(destination, QString::fromStdString(ec.message())));
    for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path target = to / fs::relative(it->path(), from, ec);
        if (ec)
            break;
        if (it->is_directory(ec)) {
            fs::create_directories(target, ec);
        } else if (it->is_regular_file(ec)) {
            fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec);
            if (!ec)
                fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
        }
    }
    if (ec)
        return fail(QString::fromStdString(ec.message()));
    return true;
}

}
