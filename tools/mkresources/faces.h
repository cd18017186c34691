#pragma once

#include <QImage>
#include <QList>

#include "facespec.h"

namespace mkres {

// The forty students' faces, in the order of their picture numbers.
QList<FaceSpec> faceSpecs();

// One face, size x size pixels, on a soft round backdrop with a transparent surround.
QImage drawFace(const FaceSpec& spec, int size);

}
