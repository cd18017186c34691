#pragma once

#include <QString>

namespace lessons {

// The title the subject tree shows for an installed subject's file name: a blank before it and one for every "_",
// the dot and three-letter extension dropped, every word capitalised and the rest of it in lower case
// ("animals_at_the_zoo.ale" gives " Animals At The Zoo"). Empty for a name shorter than its extension.
QString subjectTitle(const QString& fileName);

}
