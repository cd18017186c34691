#pragma once

#include <QByteArray>

namespace mkres {

// A RIFF/WAVE file of unsigned 8-bit mono samples.
QByteArray wave8(const QByteArray& samples, int sampleRate);

// The short click of buttons: the whole file is exactly clickFileSize bytes.
constexpr int clickFileSize = 582;
QByteArray clickSound();

}
