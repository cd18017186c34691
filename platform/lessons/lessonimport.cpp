#include "platform/lessons/lessonimport.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include "platform/lessons/ankipackage.h"
#include "platform/lessons/audiodecode.h"
#include "platform/lessons/delimitedtext.h"
#include "platform/lessons/fieldtext.h"
#include "platform/lessons/kvtml.h"
#include "platform/lessons/lessonexport.h"
#include "platform/lessons/products.h"
#include "platform/lessons/subjectfile.h"

namespace lessons {

namespace {

    // How decks name the languages a field holds: its code, its English, own and Spanish names.
    QStringList languageNames(const QString& code)
    {
        static const QHash<QString, QStringList> names {
            { QStringLiteral("de"), { QStringLiteral("german"), QStringLiteral("deutsch"), QStringLiteral("alemán") } },
            { QStringLiteral("fr"),
                { QStringLiteral("french"), QStringLiteral("français"), QStringLiteral("francés") } },
            { QStringLiteral("it"), { QStringLiteral("italian"), QStringLiteral("italiano") } },
            { QStringLiteral("es"), { QStringLiteral("spanish"), QStringLiteral("español") } },
            { QStringLiteral("en"), { QStringLiteral("english"), QStringLiteral("inglés") } },
        };
        return code.isEmpty() ? QStringList() : QStringList { code } + names.value(code);
    }

    int findField(const QStringList& names, const QStringList& wanted, const QList<int>& taken)
    {
        for (int i = 0; i < names.size(); ++i) {
            if (!taken.contains(i) && wanted.contains(names[i].trimmed().toLower()))
                return i;
        }
        return -1;
    }

    QString fieldOf(const DeckNote& note, int index) { return index >= 0 ? note.fields.value(index) : QString(); }

    // The sound files a note names: in its sound field, or in any field when none is mapped.
    QStringList soundsOf(const DeckNote& note, const FieldMapping& mapping)
    {
        if (mapping.sound >= 0)
            return soundReferences(fieldOf(note, mapping.sound));
        QStringList all;
        for (const QString& field : note.fields)
            all += soundReferences(field);
        return all;
    }

    // The program's tree tags separate their fields with "*", so a text holding one would shift every field after
    // it. Refusing the note would lose a whole phrase for a footnote mark or a multiplication; the asterisk operator
    // U+2217 looks the same to a learner and is no separator.
    QString withoutSeparator(const QString& text, const DeckNote& note, const Deck& deck, Outcome& outcome)
    {
        if (!text.contains(TagSeparator))
            return text;
        outcome.warnings << located(deck.path, 0,
            QStringLiteral("%1: \"%2\" contains \"*\", which the subject tree uses as its field separator; it "
                           "becomes \"\u2217\"")
                .arg(note.where, text));
        QString replaced = text;
        return replaced.replace(TagSeparator, QChar(0x2217));
    }

    ImportedPhrase cleaned(const DeckNote& note, const FieldMapping& mapping)
    {
        ImportedPhrase phrase;
        phrase.phrase = plainText(fieldOf(note, mapping.phrase));
        phrase.translation = plainText(fieldOf(note, mapping.translation));
        phrase.translation2 = plainText(fieldOf(note, mapping.translation2));
        phrase.where = note.where;
        return phrase;
    }

    // The note's first sound as a subject's WAVE, or empty with a warning naming the note and the file.
    QByteArray deckSound(const Deck& deck, const DeckNote& note, const FieldMapping& mapping, Outcome& outcome)
    {
        const QStringList names = soundsOf(note, mapping);
        if (names.isEmpty())
            return {};
        QString problem;
        const std::optional<QByteArray> bytes
            = deck.media ? deck.media->read(names.first(), &problem) : std::optional<QByteArray>();
        QByteArray wave;
        if (bytes)
            wave = decodeToWave(*bytes, &problem);
        else if (problem.isEmpty())
            problem = QStringLiteral("not found");
        if (wave.isEmpty())
            outcome.warnings << located(
                deck.path, 0, QStringLiteral("%1: sound %2: %3").arg(note.where, names.first(), problem));
        return wave;
    }

    class Voice
    {
    public:
        Voice(const ImportOptions& options, const ProductInfo& product)
            : m_speaker(options.speaker)
            , m_voice(product.voice)
        {
        }

        QByteArray say(const QString& text, QString* problem)
        {
            // espeak-ng writes to a file; a folder of the import's own (private to this user) keeps it from
            // anyone else's files.
            if (!m_folder.isValid()) {
                *problem = QStringLiteral("no temporary folder for the spoken sounds");
                return {};
            }
            const QString path = m_folder.filePath(QStringLiteral("spoken.wav"));
            *problem = speak(m_speaker, m_voice, text, path);
            QFile file(path);
            QByteArray wave = problem->isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            file.remove();
            return wave;
        }

    private:
        Speaker m_speaker;
        QString m_voice;
        QTemporaryDir m_folder;
    };

    QString numbered(const QString& title, int number) { return QStringLiteral("%1 %2").arg(title).arg(number); }

}

FieldMapping guessMapping(const Deck& deck, const QString& programCode)
{
    const QStringList& names = deck.fieldNames;
    const ProductInfo* product = findProduct(programCode);
    FieldMapping m;
    QList<int> taken;
    auto pick = [&](int& slot, QStringList wanted) {
        slot = findField(names, wanted, taken);
        if (slot >= 0)
            taken << slot;
    };
    pick(m.phrase,
        QStringList { QStringLiteral("phrase"), QStringLiteral("front"), QStringLiteral("word"),
            QStringLiteral("expression"), QStringLiteral("frase") }
            + (product ? languageNames(product->taughtLanguage) : QStringList()));
    pick(m.translation,
        QStringList { QStringLiteral("translation"), QStringLiteral("back"), QStringLiteral("meaning"),
            QStringLiteral("traducción") }
            + (product ? languageNames(product->interfaceLanguage) : QStringList()));
    pick(m.translation2,
        QStringList {
            QStringLiteral("translation 2"), QStringLiteral("translation2"), QStringLiteral("second translation") }
            + (product ? languageNames(languagesOf(*product).learner2) : QStringList()));
    QStringList soundNames { QStringLiteral("sound"), QStringLiteral("audio"), QStringLiteral("sonido") };
    // KVTML names a sound field after its language; the taught language's is the one spoken.
    for (const QString& language : product ? languageNames(product->taughtLanguage) : QStringList())
        soundNames << language + QStringLiteral(" sound");
    pick(m.sound, soundNames);

    // Nothing named for its role: the first free fields, as a two-sided card holds them.
    for (int* slot : { &m.phrase, &m.translation }) {
        for (int i = 0; *slot < 0 && i < names.size(); ++i) {
            if (!taken.contains(i)) {
                *slot = i;
                taken << i;
            }
        }
    }
    for (int i = 0; m.sound < 0 && i < names.size(); ++i) {
        if (taken.contains(i))
            continue;
        for (const DeckNote& note : deck.notes) {
            if (!soundReferences(note.fields.value(i)).isEmpty()) {
                m.sound = i;
                break;
            }
        }
    }
    return m;
}

Deck readDeck(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    // A collection package (.colpkg) is laid out as a deck package is.
    if (suffix == QLatin1String("apkg") || suffix == QLatin1String("colpkg"))
        return readAnkiPackage(path);
    if (suffix == QLatin1String("kvtml"))
        return readKvtml(path);
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("tsv") || suffix == QLatin1String("txt"))
        return readDelimitedText(path);
    Deck deck;
    deck.path = path;
    deck.outcome.errors << located(path, 0,
        QStringLiteral("not a lesson file that can be imported: Anki packages (.apkg, .colpkg), KVTML (.kvtml) and "
                       "text (.csv, .tsv, .txt) are"));
    return deck;
}

QList<ImportedPhrase> previewPhrases(const Deck& deck, const FieldMapping& mapping, int count)
{
    QList<ImportedPhrase> phrases;
    for (const DeckNote& note : deck.notes) {
        if (phrases.size() >= count)
            break;
        ImportedPhrase phrase = cleaned(note, mapping);
        if (phrase.phrase.isEmpty())
            continue;
        phrase.origin
            = soundsOf(note, mapping).isEmpty() ? ImportedPhrase::Sound::Spoken : ImportedPhrase::Sound::FromDeck;
        phrases << phrase;
    }
    return phrases;
}

QString lessonOf(const DeckNote& note, const Deck& deck)
{
    const QString lesson = note.lesson.trimmed();
    return lesson.isEmpty() ? deck.name : lesson;
}

ImportPlan planImport(const Deck& deck, const ImportOptions& options, const ImportProgress& progress)
{
    ImportPlan plan;
    plan.programCode = options.programCode;
    Outcome& outcome = plan.outcome;
    const ProductInfo* product = findProduct(options.programCode);
    if (!product) {
        outcome.errors << located(deck.path, 0, QStringLiteral("unknown program code \"%1\"").arg(options.programCode));
        return plan;
    }
    if (options.mapping.phrase < 0 || options.mapping.phrase >= deck.fieldNames.size()) {
        outcome.errors << located(deck.path, 0, QStringLiteral("no field is chosen for the phrase"));
        return plan;
    }

    Voice voice(options, *product);
    QStringList lessonOrder;
    QHash<QString, QList<ImportedPhrase>> lessons;
    int soundless = 0;
    const int total = int(deck.notes.size());
    for (int n = 0; n < total; ++n) {
        if (progress && !progress(n, total)) {
            outcome.errors << located(deck.path, 0, QStringLiteral("the import was cancelled"));
            return plan;
        }
        const DeckNote& note = deck.notes[n];
        ImportedPhrase phrase = cleaned(note, options.mapping);
        if (phrase.phrase.isEmpty()) {
            outcome.warnings << located(
                deck.path, 0, QStringLiteral("%1: the phrase is empty; the note is left out").arg(note.where));
            continue;
        }
        // The teacher learns what the cleaning took out of a text the learner will see.
        for (int field : { options.mapping.phrase, options.mapping.translation, options.mapping.translation2 }) {
            const CleanText clean = cleanField(fieldOf(note, field));
            if (clean.hadImage || clean.hadCloze)
                outcome.warnings << located(deck.path, 0,
                    QStringLiteral("%1: field \"%2\": %3").arg(note.where, deck.fieldNames.value(field),
                        clean.hadCloze ? QStringLiteral("cloze markup kept its answer only")
                                       : QStringLiteral("a picture was left out")));
        }
        phrase.phrase = withoutSeparator(phrase.phrase, note, deck, outcome);
        phrase.translation = withoutSeparator(phrase.translation, note, deck, outcome);
        phrase.translation2 = withoutSeparator(phrase.translation2, note, deck, outcome);

        phrase.sound = deckSound(deck, note, options.mapping, outcome);
        phrase.origin = ImportedPhrase::Sound::FromDeck;
        if (phrase.sound.isEmpty() && options.speakMissing) {
            QString problem;
            phrase.sound = voice.say(phrase.phrase, &problem);
            phrase.origin = ImportedPhrase::Sound::Spoken;
            if (!problem.isEmpty())
                outcome.warnings << located(
                    deck.path, 0, QStringLiteral("%1: the phrase could not be spoken: %2").arg(note.where, problem));
        }
        if (phrase.sound.isEmpty()) {
            phrase.origin = ImportedPhrase::Sound::None;
            ++soundless;
        }

        const QString lesson = lessonOf(note, deck);
        if (!lessons.contains(lesson))
            lessonOrder << lesson;
        lessons[lesson] << phrase;
    }
    if (progress && !progress(total, total)) {
        outcome.errors << located(deck.path, 0, QStringLiteral("the import was cancelled"));
        return plan;
    }

    // Once for the deck: a deck of texts alone imported without speech would otherwise say it for every note.
    if (soundless > 0)
        outcome.warnings << located(deck.path, 0,
            QStringLiteral("%1 phrase(s) have no sound; the activities that play a phrase stay silent on them")
                .arg(soundless));

    // An Anki sub-deck "Deutsch::Tiere" is titled by its own name, "Tiere", unless two sub-decks share it.
    QHash<QString, int> leaves;
    const auto leafOf = [](const QString& lesson) { return lesson.split(QStringLiteral("::")).last().trimmed(); };
    for (const QString& lesson : lessonOrder)
        ++leaves[leafOf(lesson)];
    for (const QString& lesson : lessonOrder) {
        const QList<ImportedPhrase>& phrases = lessons[lesson];
        const bool split = phrases.size() > MaxPhrases;
        const QString leaf = leafOf(lesson);
        const QString title = !leaf.isEmpty() && leaves[leaf] == 1 ? leaf : QString(lesson).replace("::", " ");
        for (int from = 0; from < phrases.size(); from += MaxPhrases) {
            PlannedSubject subject;
            subject.title = split ? numbered(title, from / MaxPhrases + 1) : title;
            subject.fileName = subjectFileName(subject.title, product->extension);
            subject.phrases = phrases.mid(from, MaxPhrases);
            plan.subjects << subject;
        }
    }
    if (plan.subjects.isEmpty())
        outcome.errors << located(deck.path, 0, QStringLiteral("no note has a phrase to import"));
    return plan;
}

}
