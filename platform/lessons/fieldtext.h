#pragma once

#include <QString>
#include <QStringList>

namespace lessons {

// One field of another program's note as a phrase needs it: a single line of plain text, with what was left out
// reported so the import can tell the teacher.
struct CleanText
{
    QString text;
    bool hadImage = false; // an <img> was dropped
    bool hadCloze = false; // Anki's cloze markup was reduced to its answers
    bool hadSound = false; // a [sound:...] reference was removed from the text
};

// Decks store fields as HTML fragments, often pasted from web pages: tags go, line and block breaks become a blank
// (a phrase is one line), entities are decoded, scripts, styles and images are dropped, "{{c1::Hund::hint}}"
// becomes "Hund", [sound:...] references go, and runs of white space become one blank.
CleanText cleanField(const QString& field);
QString plainText(const QString& field);

// The sound files a field names, in order: the names inside [sound:NAME], or else the whole field when it is
// nothing but a file name or path ending in a sound extension, as KVTML and spreadsheet sound fields hold them.
QStringList soundReferences(const QString& field);

}
