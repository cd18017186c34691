#include "speakround.h"

#include <algorithm>
#include <numeric>

namespace games {

SpeakRound::SpeakRound(int phrases)
    : m_best(std::max(phrases, 0), -1)
{
}

void SpeakRound::addTry(int score)
{
    if (!canTry())
        return;
    ++m_tries;
    m_best[m_current] = std::max(m_best[m_current], std::clamp(score, 0, 100));
}

void SpeakRound::next()
{
    if (finished())
        return;
    ++m_current;
    m_tries = 0;
}

int SpeakRound::meanScore() const
{
    if (m_best.isEmpty())
        return 0;
    const int sum = std::accumulate(m_best.begin(), m_best.end(), 0, [](int s, int b) { return s + std::max(b, 0); });
    return (sum + int(m_best.size()) / 2) / int(m_best.size());
}

Rating SpeakRound::rating(int phrase) const
{
    const int best = m_best[phrase];
    if (best < 0)
        return Rating::NotRated;
    if (best >= WellSaid)
        return Rating::Easy;
    if (best >= 65)
        return Rating::Good;
    if (best >= 40)
        return Rating::Hard;
    return Rating::Again;
}

QVector<PhraseWord> phraseWords(const QString& phrase)
{
    QVector<PhraseWord> words;
    int start = -1;
    for (int i = 0; i <= phrase.size(); ++i) {
        const bool letter = i < phrase.size() && (phrase[i].isLetterOrNumber() || phrase[i] == QLatin1Char('\''));
        if (letter && start < 0)
            start = i;
        if (!letter && start >= 0) {
            words.push_back({ start, i - start });
            start = -1;
        }
    }
    return words;
}

int wordAt(const QString& phrase, qint64 ms, qint64 speechFromMs, qint64 speechToMs)
{
    const QVector<PhraseWord> words = phraseWords(phrase);
    if (words.isEmpty())
        return -1;
    const int letters
        = std::accumulate(words.begin(), words.end(), 0, [](int sum, const PhraseWord& w) { return sum + w.length; });
    const double span = double(std::max<qint64>(1, speechToMs - speechFromMs));
    const double at = std::clamp(double(ms - speechFromMs) / span, 0.0, 1.0) * letters;
    int counted = 0;
    for (int w = 0; w < words.size(); ++w) {
        counted += words[w].length;
        if (at < counted)
            return w;
    }
    return int(words.size()) - 1;
}

int markedWord(const QString& phrase, const SpeechComparison& comparison, const SpeechFeatures& model)
{
    return wordAt(phrase, (comparison.worstFromMs + comparison.worstToMs) / 2, model.frameMs(0),
        model.frameMs(model.frames()));
}

}
