#pragma once

#include <QString>

namespace platform {

// The folder where the program and its activity programs exchange files: a folder of this user's own inside
// the system temporary folder (the system folder is shared by all users and the file names are predictable),
// created owner-only, ending with a separator. A folder of that name that is a link, not a folder, or someone
// else's is passed over for the next free name; when all of them are taken, a fresh name is made that nobody can
// have taken. "/" when the system names no temporary folder or none can be made in it.
QString privateTempFolder();
QString privateTempFolderIn(const QString& systemTemp);

}
