#include "platform/lessons/ankipackage.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>

#include "ankipackage.pb.h"
#include "platform/database.h"
#include "platform/lessons/ankimedia.h"
#include "platform/lessons/ziparchive.h"
#include "platform/lessons/zstdstream.h"

namespace lessons {

namespace {

    // A table or a trigger of a collection from outside could be made to run forever; a real read of 100,000 notes
    // takes a few million steps.
    constexpr int CollectionSteps = 500'000'000;

    struct NoteType
    {
        QString name;
        QStringList fields;
    };

    // The newer schema separates a deck's levels by 0x1F where the older one and Anki's own screens write "::".
    QString deckName(const QString& stored) { return QString(stored).replace(QChar(0x1F), QLatin1String("::")); }

    QJsonObject colObject(const platform::Database& db, const QString& column)
    {
        const platform::Recordset rows
            = db.query(QStringLiteral("SELECT %1 FROM col").arg(platform::quotedName(column)));
        return rows.isEmpty() ? QJsonObject() : QJsonDocument::fromJson(rows.text(0, 0).toUtf8()).object();
    }

    QHash<qint64, NoteType> noteTypes(const platform::Database& db)
    {
        QHash<qint64, NoteType> types;
        if (db.hasTable(QStringLiteral("notetypes")) && db.hasTable(QStringLiteral("fields"))) {
            const auto names = db.query(QStringLiteral("SELECT id, name FROM notetypes"));
            for (int row = 0; row < names.count(); ++row) {
                types[names.value(row, 0).toLongLong()].name = names.text(row, 1);
            }
            const auto fields = db.query(QStringLiteral("SELECT ntid, name FROM fields ORDER BY ntid, ord"));
            for (int row = 0; row < fields.count(); ++row) {
                types[fields.value(row, 0).toLongLong()].fields << fields.text(row, 1);
            }
            return types;
        }
        const QJsonObject models = colObject(db, QStringLiteral("models"));
        for (auto it = models.begin(); it != models.end(); ++it) {
            const QJsonObject model = it.value().toObject();
            QMap<int, QString> byOrder;
            for (const auto field : model.value(QLatin1String("flds")).toArray()) {
                const QJsonObject object = field.toObject();
                byOrder.insert(
                    object.value(QLatin1String("ord")).toInt(), object.value(QLatin1String("name")).toString());
            }
            types.insert(
                it.key().toLongLong(), NoteType { model.value(QLatin1String("name")).toString(), byOrder.values() });
        }
        return types;
    }

    QHash<qint64, QString> deckNames(const platform::Database& db)
    {
        QHash<qint64, QString> names;
        if (db.hasTable(QStringLiteral("decks"))) {
            const auto rows = db.query(QStringLiteral("SELECT id, name FROM decks"));
            for (int row = 0; row < rows.count(); ++row) {
                names.insert(rows.value(row, 0).toLongLong(), deckName(rows.text(row, 1)));
            }
            return names;
        }
        const QJsonObject decks = colObject(db, QStringLiteral("decks"));
        for (auto it = decks.begin(); it != decks.end(); ++it) {
            names.insert(it.key().toLongLong(), it.value().toObject().value(QLatin1String("name")).toString());
        }
        return names;
    }

    // The deck of each note's first card.
    QHash<qint64, qint64> noteDecks(const platform::Database& db)
    {
        QHash<qint64, qint64> decks;
        db.forEachRow(
            { QStringLiteral("SELECT nid, did FROM cards ORDER BY ord, id"), {} }, [&](const platform::RowView& row) {
                const qint64 note = row.integer(0).value_or(0);
                if (!decks.contains(note)) {
                    decks.insert(note, row.integer(1).value_or(0));
                }
            });
        return decks;
    }

    // The key that most often comes up, the smallest on a tie so the choice never depends on a hash's order.
    template <typename Key> Key mostCommon(const QHash<Key, int>& counts)
    {
        Key best {};
        int most = 0;
        for (auto it = counts.begin(); it != counts.end(); ++it) {
            if (it.value() > most || (it.value() == most && it.key() < best)) {
                best = it.key();
                most = it.value();
            }
        }
        return best;
    }

    void readNotes(const platform::Database& db, const AnkiLimits& limits, Deck* deck)
    {
        const QString& path = deck->path;
        const qint64 count = db.query(QStringLiteral("SELECT count(*) FROM notes")).value(0, 0).toLongLong();
        if (count > limits.notes) {
            deck->outcome.errors << located(path, 0,
                QStringLiteral("holds %1 notes, more than the %2 that can be imported at once")
                    .arg(count)
                    .arg(limits.notes));
            return;
        }
        const QHash<qint64, NoteType> types = noteTypes(db);
        const QHash<qint64, QString> decks = deckNames(db);
        const QHash<qint64, qint64> noteDeck = noteDecks(db);

        QHash<qint64, int> typeUse;
        QHash<qint64, int> deckUse;
        QList<qint64> noteTypeIds;
        db.forEachRow(
            { QStringLiteral("SELECT id, mid, flds FROM notes ORDER BY id"), {} }, [&](const platform::RowView& row) {
                const qint64 id = row.integer(0).value_or(0);
                const qint64 type = row.integer(1).value_or(0);
                if (!types.contains(type)) {
                    deck->outcome.warnings
                        << located(path, 0, QStringLiteral("note %1: unknown note type %2").arg(id).arg(type));
                    return;
                }
                ++typeUse[type];
                const qint64 did = noteDeck.value(id, 0);
                if (decks.contains(did)) {
                    ++deckUse[did];
                }
                const QByteArrayView fields = row.text(2);
                deck->notes << DeckNote { QString::fromUtf8(fields).split(QChar(0x1F)), decks.value(did),
                    QStringLiteral("note %1").arg(id) };
                noteTypeIds << type;
            });
        if (deck->notes.isEmpty()) {
            deck->outcome.errors << located(path, 0, QStringLiteral("holds no notes that can be read"));
            return;
        }
        const qint64 main = mostCommon(typeUse);
        deck->fieldNames = types.value(main).fields;
        for (auto it = typeUse.begin(); it != typeUse.end(); ++it) {
            if (it.key() != main) {
                deck->outcome.warnings << located(path, 0,
                    QStringLiteral("%1 notes of the note type \"%2\" keep their fields by position under %3's fields")
                        .arg(it.value())
                        .arg(types.value(it.key()).name, types.value(main).name));
            }
        }
        for (qsizetype i = 0; i < deck->notes.size(); ++i) {
            if (noteTypeIds[i] == main) {
                deck->notes[i].fields.resize(deck->fieldNames.size());
            }
        }
        if (!deckUse.isEmpty()) {
            deck->name = decks.value(mostCommon(deckUse)).split(QLatin1String("::")).last();
        }
    }

    struct Layout
    {
        QString collection;
        bool newer = false;
    };

    Layout layoutOf(const ZipArchive& zip)
    {
        QString problem;
        if (zip.contains(QStringLiteral("meta"))) {
            anki::PackageMetadata meta;
            const auto bytes = zip.read(QStringLiteral("meta"), 1 << 20, &problem);
            if (bytes && meta.ParseFromArray(bytes->constData(), static_cast<int>(bytes->size()))
                && meta.version() == anki::PackageMetadata::VERSION_LATEST) {
                return { QStringLiteral("collection.anki21b"), true };
            }
        }
        for (const char* name : { "collection.anki21", "collection.anki2" }) {
            if (zip.contains(QLatin1String(name))) {
                return { QLatin1String(name), false };
            }
        }
        return {};
    }

    // Copies the collection out of the zip (unpacking it in the newer layout) into temp, a private file that goes with
    // it.
    bool copyCollection(
        const ZipArchive& zip, const Layout& layout, qint64 limit, QTemporaryFile* temp, QString* problem)
    {
        if (!temp->open()) {
            *problem = QStringLiteral("no temporary file for its collection: %1").arg(temp->errorString());
            return false;
        }
        const auto write = [&](QByteArrayView piece) {
            if (temp->write(piece.data(), piece.size()) == piece.size()) {
                return true;
            }
            *problem = QStringLiteral("its collection cannot be copied: %1").arg(temp->errorString());
            return false;
        };
        if (!layout.newer) {
            return zip.stream(layout.collection, limit, write, problem) && temp->flush();
        }
        ZstdStream zstd(limit, write);
        const bool read = zip.stream(
            layout.collection, limit, [&](QByteArrayView piece) { return zstd.feed(piece); }, problem);
        if (read && zstd.finish()) {
            return temp->flush();
        }
        if (problem->isEmpty()) {
            *problem = QStringLiteral("%1 %2").arg(layout.collection, zstd.problem());
        }
        return false;
    }

}

Deck readAnkiPackage(const QString& path, const AnkiLimits& limits)
{
    Deck deck;
    deck.path = path;
    deck.name = QFileInfo(path).completeBaseName();
    QString problem;
    std::shared_ptr<const ZipArchive> zip = ZipArchive::open(path, &problem);
    if (!zip) {
        deck.media = ankiMedia(path, nullptr, false, limits.mediumBytes, &deck.outcome);
        deck.outcome.errors << located(path, 0, problem);
        return deck;
    }
    const Layout layout = layoutOf(*zip);
    deck.media = ankiMedia(path, zip, layout.newer, limits.mediumBytes, &deck.outcome);
    if (layout.collection.isEmpty()) {
        deck.outcome.errors << located(path, 0, QStringLiteral("not an Anki package: it holds no collection"));
        return deck;
    }
    QTemporaryFile temp;
    if (!copyCollection(*zip, layout, limits.collectionBytes, &temp, &problem)) {
        deck.outcome.errors << located(path, 0, problem);
        return deck;
    }
    temp.seek(0);
    if (temp.read(16) != QByteArrayView("SQLite format 3\0", 16)) {
        deck.outcome.errors << located(
            path, 0, QStringLiteral("its %1 is not an SQLite database").arg(layout.collection));
        return deck;
    }
    try {
        const platform::Database db = platform::Database::openFile(temp.fileName());
        db.limitSteps(CollectionSteps);
        readNotes(db, limits, &deck);
    } catch (const platform::DbError& error) {
        deck.notes.clear();
        deck.outcome.errors << located(
            path, 0, QStringLiteral("its %1 cannot be read: %2").arg(layout.collection, error.description()));
    }
    return deck;
}

}
