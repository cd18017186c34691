#include "platform/lessons/deckfile.h"

#include <algorithm>

#include <QFile>

namespace lessons {

std::optional<QByteArray> readAtMost(QIODevice& device, qint64 limit)
{
    constexpr qint64 Chunk = 1 << 20;
    QByteArray bytes;
    // Room for the size the device gives and the byte that would show it has grown; more comes a chunk at a time.
    bytes.reserve(static_cast<qsizetype>(std::min(device.size(), limit) + 1));
    while (true) {
        const qsizetype at = bytes.size();
        const qint64 room = bytes.capacity() - at;
        const qint64 wanted = std::min(room > 0 ? room : Chunk, limit + 1 - at);
        if (wanted <= 0)
            return std::nullopt;
        bytes.resize(at + static_cast<qsizetype>(wanted));
        const qint64 got = device.read(bytes.data() + at, wanted);
        bytes.resize(at + static_cast<qsizetype>(std::max<qint64>(got, 0)));
        if (got <= 0)
            break;
    }
    if (bytes.capacity() - bytes.size() > 4096)
        bytes.squeeze();
    return bytes;
}

std::optional<QByteArray> readDeckFile(const QString& path, Outcome& outcome)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.errors << located(path, 0, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
        return std::nullopt;
    }
    // Not trusting the size alone: a pipe has none, and a file may grow meanwhile.
    std::optional<QByteArray> bytes
        = file.size() > MaxDeckFileBytes ? std::nullopt : readAtMost(file, MaxDeckFileBytes);
    if (!bytes) {
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
