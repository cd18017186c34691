#pragma once

#include <QByteArray>

namespace mkres {

// The short click of buttons: the whole file is exactly clickFileSize bytes.
constexpr int clickFileSize = 582;
QByteArray clickSound();

}
