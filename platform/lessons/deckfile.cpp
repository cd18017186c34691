#include "platform/lessons/deckfile.h"

#include <QFile>

namespace lessons {

std::optional<QByteArray> readDeckFile(const QString& path, Outcome& outcome)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.errors << located(path, 0, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
        return std::nullopt;
    }
    // One byte past the cap, so that a pipe or a file growing meanwhile is caught as well as a large one.
    QByteArray bytes = file.size() > MaxDeckFileBytes ? QByteArray() : file.read(MaxDeckFileBytes + 1);
    if (file.size() > MaxDeckFileBytes || bytes.size() > MaxDeckFileBytes) {
        outcome.errors << located(path, 0,
            QStringLiteral("the file has more than %1 MB, more than any list of phrases needs")
                .arg(MaxDeckFileBytes >> 20));
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        outcome.errors << located(path, 0, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

}
