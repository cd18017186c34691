#pragma once

#include <QString>

namespace platform {

// Copies the folder source with everything in it to destination, which it makes when missing; files already there
// are replaced. The copies belong to the user who copies: a shipped folder is read-only where it is installed, but
// the user's own copy must take changes, so every folder and file made is writable by its owner.
bool copyFolderTree(const QString& source, const QString& destination, QString* error = nullptr);

}
