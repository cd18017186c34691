#include "platform/lessons/ziparchive.h"

#include <QFile>

#include <zip.h>

namespace lessons {

namespace {

    QString openProblem(int code)
    {
        switch (code) {
        case ZIP_ER_NOZIP:
            return QStringLiteral("not a zip archive");
        case ZIP_ER_NOENT:
            return QStringLiteral("no such file");
        case ZIP_ER_OPEN:
            return QStringLiteral("cannot be opened");
        case ZIP_ER_INCONS:
            return QStringLiteral("a damaged zip archive");
        default:
            zip_error_t error;
            zip_error_init_with_code(&error, code);
            const QString text = QString::fromUtf8(zip_error_strerror(&error));
            zip_error_fini(&error);
            return text;
        }
    }

    QString zipProblem(zip_t* archive) { return QString::fromUtf8(zip_strerror(archive)); }

}

std::unique_ptr<ZipArchive> ZipArchive::open(const QString& path, QString* problem)
{
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (archive == nullptr) {
        *problem = openProblem(code);
        return nullptr;
    }
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive));
}

ZipArchive::ZipArchive(zip* archive)
    : m_zip(archive)
{
}

ZipArchive::~ZipArchive() { zip_discard(m_zip); }

QStringList ZipArchive::names() const
{
    QStringList result;
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(m_zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS)) {
            result << QString::fromUtf8(name);
        }
    }
    return result;
}

bool ZipArchive::contains(const QString& name) const
{
    return zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_ENC_GUESS) >= 0;
}

bool ZipArchive::stream(
    const QString& name, qint64 limit, const std::function<bool(QByteArrayView)>& take, QString* problem) const
{
    const QByteArray encoded = name.toUtf8();
    zip_stat_t stat;
    if (zip_stat(m_zip, encoded.constData(), ZIP_FL_ENC_GUESS, &stat) != 0) {
        *problem = QStringLiteral("the package has no entry \"%1\"").arg(name);
        return false;
    }
    const auto tooLarge = [&](qint64 size) {
        *problem = QStringLiteral("entry \"%1\" unpacks to %2 bytes, more than the %3 allowed")
                       .arg(name)
                       .arg(size)
                       .arg(limit);
        return false;
    };
    // The size the directory declares refuses a bomb before any work; the count below catches a directory that lies.
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > static_cast<zip_uint64_t>(limit)) {
        return tooLarge(static_cast<qint64>(stat.size));
    }
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen_index(m_zip, stat.index, 0), zip_fclose);
    if (!file) {
        *problem = QStringLiteral("entry \"%1\" cannot be read: %2").arg(name, zipProblem(m_zip));
        return false;
    }
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffer.data(), static_cast<zip_uint64_t>(buffer.size()));
        if (got < 0) {
            *problem = QStringLiteral("entry \"%1\" is damaged: %2")
                           .arg(name, QString::fromUtf8(zip_file_strerror(file.get())));
            return false;
        }
        if (got == 0) {
            return true;
        }
        total += got;
        if (total > limit) {
            return tooLarge(total);
        }
        if (!take(QByteArrayView(buffer.constData(), static_cast<qsizetype>(got)))) {
            return false;
        }
    }
}

std::optional<QByteArray> ZipArchive::read(const QString& name, qint64 limit, QString* problem) const
{
    QByteArray bytes;
    if (!stream(
            name, limit,
            [&](QByteArrayView piece) {
                bytes.append(piece);
                return true;
            },
            problem)) {
        return std::nullopt;
    }
    return bytes;
}

bool writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries, QString* problem)
{
    if (entries.isEmpty()) {
        // libzip removes the file of an archive with no entries instead of writing one.
        *problem = QStringLiteral("nothing to write");
        return false;
    }
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        *problem = openProblem(code);
        return false;
    }
    for (const auto& [name, bytes] : entries) {
        // The sources point into entries' own bytes, which outlive zip_close below: nothing is copied.
        zip_source_t* source
            = zip_source_buffer(archive, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        if (source == nullptr
            || zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            *problem = zipProblem(archive);
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    if (zip_close(archive) != 0) {
        *problem = zipProblem(archive);
        zip_discard(archive);
        return false;
    }
    return true;
}

}
