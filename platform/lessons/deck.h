#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/lessons/outcome.h"

namespace lessons {

// Where a deck's sounds come from: the package's own media, or files beside a text or XML file.
class MediaSource
{
public:
    virtual ~MediaSource() = default;
    // The bytes of the medium a note refers to by name; nullopt with *problem set when it is missing or unreadable.
    virtual std::optional<QByteArray> read(const QString& name, QString* problem) const = 0;
};

struct DeckNote
{
    QStringList fields; // in the order of Deck::fieldNames; texts as stored, markup and all
    QString lesson; // the lesson or sub-deck it belongs to, which names its subjects; empty: the deck's name
    QString where; // how a message names it: "note 1234567", "line 4", "entry 3"
};

// Another program's lessons as read, before they become subjects.
struct Deck
{
    QString path; // the file read, for messages
    QString name; // the deck's own name, or the file's base name when it has none
    QStringList fieldNames;
    QList<DeckNote> notes; // in the order the file gives them
    std::shared_ptr<const MediaSource> media; // never null once read
    Outcome outcome; // errors: nothing usable was read; warnings: what was skipped and why
};

// Subjects on their way out to another program's format.
struct LessonPhrase
{
    QString phrase; // in the language taught
    QString translation; // in the learner's language
    QString translation2; // may be empty
    QByteArray sound; // a RIFF/WAVE file; empty when the phrase has none
};

struct Lesson
{
    QString title; // as the subject tree shows it: "Animals At The Zoo"
    QList<LessonPhrase> phrases;
};

// ISO 639-1 codes of the texts, so the other program labels its columns: "de", "en", "es"...
struct LessonLanguages
{
    QString taught;
    QString learner;
    QString learner2; // the second translation's language; empty when it is a pronunciation
};

}
