#pragma once

#include <QList>
#include <QString>

#include "platform/lessons/deck.h"

namespace lessons {

// A KVTML 2 file as KDE's Parley and KWordQuiz write it. The fields are one text per language (named after the
// language), then one sound per language ("German sound"), then one pronunciation per language that has any
// ("German pronunciation"). A note's lesson is the innermost lesson listing the entry; its sounds are file names
// for deck.media, which reads them relative to the file's folder. Sounds on the web are left out with a warning.
// A document type declaration that declares entities is refused unread: expanding them is the classic way to make
// a small file fill all memory.
Deck readKvtml(const QString& path);

// Writes lessons as one KVTML 2 file, each lesson a lesson of its own, with the sounds as WAVE files in a folder
// soundFolderName beside it, named by lesson, phrase and text, so that Parley and KWordQuiz open it. When learner2
// is empty the second translations are taught's pronunciations. Everything is written under temporary names and
// put in place at the end, so a failure leaves nothing behind; a sound folder that already exists is refused,
// never merged into or replaced.
Outcome writeKvtml(const QList<Lesson>& lessons, const LessonLanguages& languages, const QString& title,
    const QString& path, const QString& soundFolderName);

}
