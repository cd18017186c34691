#pragma once

#include <QString>
#include <QStringList>

struct Session;

// The folders whose subjects the tree lists as installed: the program's own and, on an installation the user
// cannot write, the one in the data folder that holds his imported lessons.
QStringList Installed_Subject_Folders(const Session& session);
// The path of an installed subject by its file name: from the program's folder when it is there, otherwise from the
// imported lessons' folder. A name in both is the program's, as the tree lists it once.
QString Installed_Subject_Path(const Session& session, const QString& file);
