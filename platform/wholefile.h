#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Writes bytes to path as one whole: a reader finds the old file (or none) or the new one, never a part of it. On a
// full disk, or any other failure, the old file stays and the result is false with the reason in error.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}
