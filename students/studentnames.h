#pragma once

#include <QString>

// A typed name as it is stored: without blanks at its ends, in Unicode normal form C, so "José" typed with a
// combining accent and "José" typed with one key are one name.
QString Stored_Name(const QString& typed);

// What two display names are compared by: their stored forms with letter case folded.
QString Name_Key(const QString& displayName);

// True when the name holds a character nobody can see or that only steers the text (controls, zero-width and
// direction marks, spaces other than the plain blank): with it two names that look alike would be two students.
bool Has_Hidden_Characters(const QString& name);
