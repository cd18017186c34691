#include "wholefile.h"

#include <QSaveFile>

namespace platform {

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    // Unbuffered, a full disk shows at the write itself. Buffered, a small file reaches the disk only inside
    // commit(), and QSaveFile does not count a failure there: the cut file would replace the old one.
    const bool written
        = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

}
