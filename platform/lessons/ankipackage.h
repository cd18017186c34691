#pragma once

#include <QList>
#include <QString>

#include "platform/lessons/deck.h"

namespace lessons {

// How much of a package a reader takes on before it refuses it: a package comes from anywhere, and a few kilobytes
// of zip can unpack to gigabytes.
struct AnkiLimits
{
    int notes = 100'000;
    qint64 collectionBytes = qint64(1) << 30;
    qint64 mediumBytes = qint64(64) << 20;
};

// Reads an Anki package (.apkg), older layout (collection.anki2 / .anki21 with media listed in JSON) or newer
// (collection.anki21b and media compressed with zstd, media listed in a protocol buffer). The notes keep their
// fields as stored; their sounds are read from the package only when asked for.
Deck readAnkiPackage(const QString& path, const AnkiLimits& limits = {});

// Writes lessons as an Anki package in the older layout, which every Anki since 2.1 imports: a deck deckName with
// one sub-deck per lesson, one note per phrase of the note type "Parlanta" (Phrase, Translation, Translation 2,
// Sound), one card per note. Nothing is left at path when it fails.
Outcome writeAnkiPackage(
    const QList<Lesson>& lessons, const QString& deckName, const LessonLanguages& languages, const QString& path);

}
