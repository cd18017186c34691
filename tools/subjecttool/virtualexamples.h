#pragma once

#include <QString>

#include "booknames.h"
#include "platform/lessons/outcome.h"
#include "platform/lessons/products.h"

namespace subjecttool {

using namespace lessons;

// Makes a virtual subject file from a copy of the empty template: one virtual subject per line of examplesPath, a
// tab-separated UTF-8 file with a header naming the columns en, es (the subject's name in each interface language)
// and phrases (space-separated references stem:number, stem a phrasebook file's name without .tsv). Each reference
// points at the installed subject names gives that phrasebook file in the product's language, in subjectsDir; the
// phrases' texts are copied from there, as the custom subject editor would copy them.
Outcome makeExampleFile(const QString& examplesPath, const ProductInfo& product, const QString& templatePath,
    const QString& subjectsDir, const BookNames& names, const QString& outputPath);

}
