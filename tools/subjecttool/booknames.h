#pragma once

#include <QHash>
#include <QString>

#include "platform/lessons/outcome.h"
#include "platform/lessons/products.h"

namespace subjecttool {

using namespace lessons;

// The file names of the installed subjects made from the phrasebook, in each interface language. The program shows
// a subject's file name as its title ("_" a blank, every word capitalised), so the learner reads the name in his or
// her own language.
struct BookNames
{
    QString path;
    QHash<QString, QHash<QString, QString>> names; // phrasebook file stem -> interface language -> name
    Outcome outcome;
};

// Reads the table: UTF-8, columns separated by tabs, lines starting with "#" skipped, a header naming the columns
// en and es. The en name is the phrasebook file's own stem. A name is lower-case words joined by "_", of the letters
// of its language, and no two subjects share a name.
BookNames readBookNames(const QString& path);

// The file name, with the product's extension, of the installed subject made from the phrasebook file bookStem;
// empty when the table names no such subject.
QString installedSubjectFile(const BookNames& table, const QString& bookStem, const ProductInfo& product);

}
