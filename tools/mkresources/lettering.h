#pragma once

#include <QPainterPath>
#include <QString>

namespace mkres {

// The product word in a rounded letter shape of our own, so the logos look the same on every machine whatever
// fonts it has. Knows the letters of "Parlanta"; others are left out. The path is the filled outline, its
// baseline at y = 0 from x = 0, scaled so that a small letter is xHeight high.
QPainterPath letteredWord(const QString& word, double xHeight, double weight = 0.24);

}
