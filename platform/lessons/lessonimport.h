#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/lessons/deck.h"
#include "platform/lessons/outcome.h"
#include "platform/lessons/speaker.h"

namespace lessons {

// Which of a deck's fields (indices into Deck::fieldNames) fill a phrase; -1 for none.
struct FieldMapping
{
    int phrase = -1;
    int translation = -1;
    int translation2 = -1;
    int sound = -1;
};

// The mapping a teacher most likely means: fields named for their role (Front, Back, Phrase, Translation, Sound,
// Audio...) or for the languages of programCode's product (German, Deutsch, de...), otherwise the first two fields
// and the first field whose texts name sound files.
FieldMapping guessMapping(const Deck& deck, const QString& programCode = {});

// Reads an Anki package (.apkg, .colpkg), a KVTML file (.kvtml) or a delimited text file (.csv, .tsv, .txt),
// chosen by the file's extension.
Deck readDeck(const QString& path);

// The lesson a note is imported into: its own lesson (an Anki deck, a KVTML lesson), or the deck's name when it has
// none.
QString lessonOf(const DeckNote& note, const Deck& deck);

struct ImportedPhrase
{
    enum class Sound {
        FromDeck,
        Spoken, // by espeak-ng in the product's voice, the deck having no usable sound for it
        None,
    };
    QString phrase;
    QString translation;
    QString translation2;
    QByteArray sound; // a WAVE file; empty in a preview, or when origin is None
    Sound origin = Sound::None;
    QString where; // the note it came from, as the deck names it
};

struct PlannedSubject
{
    QString title; // as the subject tree will show it
    QString fileName; // "animals_at_the_zoo.ale", without a folder
    QList<ImportedPhrase> phrases; // 1 to MaxPhrases
};

struct ImportPlan
{
    QString programCode;
    QList<PlannedSubject> subjects;
    Outcome outcome; // errors: nothing is to be written; warnings: notes left out or changed, and why
};

struct ImportOptions
{
    FieldMapping mapping;
    QString programCode;
    bool speakMissing = true;
    Speaker speaker;
};

// Called after each note with how many are done of how many; returning false cancels the import.
using ImportProgress = std::function<bool(int done, int total)>;

// The first count phrases as they would be imported, for a window to show while the teacher picks the fields:
// texts cleaned, nothing decoded or spoken, origin Spoken wherever the deck has no sound for the phrase.
QList<ImportedPhrase> previewPhrases(const Deck& deck, const FieldMapping& mapping, int count);

// Every note of the deck made into a phrase with its sound, grouped into subjects of at most MaxPhrases by the
// note's lesson in the order the lessons first appear. Long: it decodes and speaks sounds, so a window runs it
// away from its own thread.
ImportPlan planImport(const Deck& deck, const ImportOptions& options, const ImportProgress& progress = {});

// The file name of a subject titled title: its words lower-cased and joined by "_", only letters, digits, "_" and
// "-" kept, shortened to fit fileNameProblem's limit with suffix ("_2") after it, "lesson" when nothing is left.
QString subjectFileName(const QString& title, const QString& extension, const QString& suffix = {});

// Writes every subject of the plan into folder, or none of them. A file name already in folder or among
// takenNames (subjects the program lists from elsewhere) is numbered: "tiere_2.ale", titled "Tiere 2".
// writtenNames receives the file names written, in the plan's order.
Outcome writeImport(
    const ImportPlan& plan, const QString& folder, const QStringList& takenNames, QStringList* writtenNames);

}
