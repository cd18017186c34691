#pragma once

// A round of Speak: each phrase is said up to three times, and its best try counts. The round's score is the mean
// of the phrases' best scores; a phrase is rated by its best score.

#include <QString>
#include <QVector>

#include "games/common/rating.h"
#include "games/speak/speechcompare.h"

namespace games {

class SpeakRound
{
public:
    static constexpr int Tries = 3;
    // A try this good ends the phrase's tries: there is nothing left to correct.
    static constexpr int WellSaid = 85;

    explicit SpeakRound(int phrases);

    int phrases() const { return int(m_best.size()); }
    int current() const { return m_current; }
    bool finished() const { return m_current >= phrases(); }
    int triesMade() const { return m_tries; }
    // Whether the learner may say the current phrase again.
    bool canTry() const { return !finished() && m_tries < Tries && m_best[m_current] < WellSaid; }
    // -1 while the current phrase has no try.
    int best(int phrase) const { return m_best[phrase]; }

    // The score of a try of the current phrase (0 when nothing was said).
    void addTry(int score);
    // On to the next phrase; one without a try keeps a score of 0.
    void next();

    int meanScore() const;
    Rating rating(int phrase) const;

private:
    QVector<int> m_best;
    int m_current = 0;
    int m_tries = 0;
};

// The word of the phrase said at a moment of its sound, by the place of its letters between the start and the end
// of the speech: espeak-ng and people alike give a long word more time. -1 for a phrase without words.
int wordAt(const QString& phrase, qint64 ms, qint64 speechFromMs, qint64 speechToMs);
// The word of the phrase to practise after a comparison: the one said at the middle of the stretch said least alike,
// between the start and the end of the model's speech. -1 for a phrase without words.
int markedWord(const QString& phrase, const SpeechComparison& comparison, const SpeechFeatures& model);
// The words of a phrase with their places in it, as wordAt counts them.
struct PhraseWord
{
    int from = 0;
    int length = 0;
};
QVector<PhraseWord> phraseWords(const QString& phrase);

}
