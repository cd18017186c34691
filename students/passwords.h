#pragma once

#include <QString>

// Passwords are kept as salted hashes of their upper-case form, because the log-in ignores letter case.
QString Hash_Password(const QString& password);
bool Is_Password_Hash(const QString& stored);
// The log-in check: an empty stored value is matched by an empty box; a value that is not a hash is a
// password of an older file, compared in plain text without regard to case.
bool Password_Matches(const QString& stored, const QString& typed);
