#include "platform/lessons/ankimedia.h"

#include <mutex>

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include "ankipackage.pb.h"
#include "platform/lessons/ziparchive.h"
#include "platform/lessons/zstdstream.h"

namespace lessons {

namespace {

    // The media list is small beside the media; a list of a million names is still well under this.
    constexpr qint64 MediaListBytes = 64 << 20;

    class AnkiMedia : public MediaSource
    {
    public:
        AnkiMedia(QString path, std::shared_ptr<const ZipArchive> zip, QHash<QString, QString> entries, bool zstd,
            qint64 limit)
            : m_path(std::move(path))
            , m_zip(std::move(zip))
            , m_entries(std::move(entries))
            , m_zstd(zstd)
            , m_limit(limit)
        {
        }

        std::optional<QByteArray> read(const QString& name, QString* problem) const override
        {
            const auto entry = m_entries.constFind(name);
            if (entry == m_entries.cend()) {
                *problem = located(m_path, 0, QStringLiteral("the package has no medium named \"%1\"").arg(name));
                return std::nullopt;
            }
            QString why;
            std::optional<QByteArray> bytes;
            {
                // libzip's archive is not safe to share between threads; an import may read sounds from several.
                const std::lock_guard lock(m_mutex);
                bytes = m_zstd ? unpacked(*entry, &why) : m_zip->read(*entry, m_limit, &why);
            }
            if (!bytes) {
                *problem = located(m_path, 0, QStringLiteral("medium \"%1\": %2").arg(name, why));
            }
            return bytes;
        }

    private:
        std::optional<QByteArray> unpacked(const QString& entry, QString* problem) const
        {
            QByteArray bytes;
            ZstdStream zstd(m_limit, [&](QByteArrayView piece) {
                bytes.append(piece);
                return true;
            });
            const bool read = m_zip->stream(
                entry, m_limit, [&](QByteArrayView piece) { return zstd.feed(piece); }, problem);
            if (read && zstd.finish()) {
                return bytes;
            }
            if (read || problem->isEmpty()) {
                *problem = QStringLiteral("entry \"%1\" is %2").arg(entry, zstd.problem());
            }
            return std::nullopt;
        }

        QString m_path;
        std::shared_ptr<const ZipArchive> m_zip;
        QHash<QString, QString> m_entries; // medium's name -> zip entry
        bool m_zstd;
        qint64 m_limit;
        mutable std::mutex m_mutex;
    };

    QHash<QString, QString> olderList(const QByteArray& json, QString* problem)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json, &error);
        if (!document.isObject()) {
            *problem = QStringLiteral("its media list is not JSON (%1)").arg(error.errorString());
            return {};
        }
        QHash<QString, QString> entries;
        const QJsonObject list = document.object();
        for (auto it = list.begin(); it != list.end(); ++it) {
            entries.insert(it.value().toString(), it.key());
        }
        return entries;
    }

    QHash<QString, QString> newerList(const QByteArray& packed, QString* problem)
    {
        QByteArray bytes;
        ZstdStream zstd(MediaListBytes, [&](QByteArrayView piece) {
            bytes.append(piece);
            return true;
        });
        anki::MediaEntries list;
        if (!zstd.feed(packed) || !zstd.finish()) {
            *problem = QStringLiteral("its media list is %1").arg(zstd.problem());
            return {};
        }
        if (!list.ParseFromArray(bytes.constData(), static_cast<int>(bytes.size()))) {
            *problem = QStringLiteral("its media list cannot be read");
            return {};
        }
        QHash<QString, QString> entries;
        for (int i = 0; i < list.entries_size(); ++i) {
            const auto& entry = list.entries(i);
            const uint number = entry.has_legacy_zip_filename() ? entry.legacy_zip_filename() : uint(i);
            entries.insert(QString::fromStdString(entry.name()), QString::number(number));
        }
        return entries;
    }

}

std::shared_ptr<const MediaSource> ankiMedia(
    const QString& path, std::shared_ptr<const ZipArchive> zip, bool newer, qint64 mediumBytes, Outcome* outcome)
{
    QHash<QString, QString> entries;
    QString problem;
    if (zip && zip->contains(QStringLiteral("media"))) {
        if (const auto list = zip->read(QStringLiteral("media"), MediaListBytes, &problem)) {
            entries = newer ? newerList(*list, &problem) : olderList(*list, &problem);
        }
    }
    if (!problem.isEmpty()) {
        outcome->warnings << located(path, 0, QStringLiteral("no sounds are read: %1").arg(problem));
    }
    return std::make_shared<AnkiMedia>(path, std::move(zip), std::move(entries), newer, mediumBytes);
}

}
