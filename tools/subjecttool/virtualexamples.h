#pragma once

#include <QString>

#include "outcome.h"
#include "products.h"

namespace subjecttool {

// Makes a virtual subject file from a copy of the empty template: one virtual subject per line of examplesPath, a
// tab-separated UTF-8 file with a header naming the columns en, es (the subject's name in each interface language)
// and phrases (space-separated references stem:number to phrases of installed subjects). The phrases' texts are
// copied from the installed subjects in subjectsDir, as the custom subject editor would copy them.
Outcome makeExampleFile(const QString& examplesPath, const ProductInfo& product, const QString& templatePath,
    const QString& subjectsDir, const QString& outputPath);

}
