#pragma once

#include "platform/lessons/deck.h"

namespace lessons {

// The sounds of a KVTML or spreadsheet file: files named relative to the folder the file is in. Names may also
// be absolute or climb out with "..", as teachers keep their recordings where they like; only reading is ever
// done, and only of regular files.
class FileMedia : public MediaSource
{
public:
    // Larger than any sound a phrase could need, yet small enough that a wrong name (a film, a disk image) costs
    // no more than a moment and some memory.
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

    explicit FileMedia(QString folder);
    std::optional<QByteArray> read(const QString& name, QString* problem) const override;

private:
    QString m_folder;
};

}
