#pragma once

#include <QFileDevice>
#include <QString>

namespace platform {

// Makes the folder, or takes the one there, as this user's alone (owner-only on Unix): what lies in it, the
// students' password hashes and results among them, is nobody else's to read. False when it cannot be had.
bool makePrivateFolder(const QString& folder);

// The permissions of a file that only those who may write its folder may read: its owner always, the folder's
// group or everybody else only where they may write the folder too. A program folder that a class shares thus
// keeps its students' file shared, and one that only its owner writes keeps it private.
QFileDevice::Permissions writersOnlyPermissions(const QString& folder);

// Takes from a file of this user's the rights the permissions above do not give; someone else's file is left as
// it is.
void restrictToWriters(const QString& file);

}
