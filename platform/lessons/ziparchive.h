#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct zip;

namespace lessons {

// A zip file read entry by entry into memory or into the caller's hands. Nothing is ever extracted to disk under an
// entry's own name, so a name such as "../x" or "/etc/x" stays a name. Not safe to share between threads.
class ZipArchive
{
public:
    // Nothing, with *problem set ("not a zip archive", "no such file"...), when path cannot be opened as a zip.
    static std::unique_ptr<ZipArchive> open(const QString& path, QString* problem);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    QStringList names() const;
    bool contains(const QString& name) const;
    // Hands the entry's bytes as they are uncompressed, a piece at a time; false with *problem set when the entry is
    // missing or damaged, when it holds more than limit bytes (a small zip may unpack to gigabytes) or when
    // take refuses a piece (take sets *problem then).
    bool stream(
        const QString& name, qint64 limit, const std::function<bool(QByteArrayView)>& take, QString* problem) const;
    std::optional<QByteArray> read(const QString& name, qint64 limit, QString* problem) const;

private:
    explicit ZipArchive(zip* archive);
    zip* m_zip;
};

// Writes a zip of these entries (name, bytes) at path. libzip writes it under a temporary name beside path and
// renames it into place when it is complete, so a failure leaves nothing at path and no temporary file behind.
// False with *problem set on failure.
bool writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries, QString* problem);

}
