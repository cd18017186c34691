#pragma once

#include <vector>

#include <QList>
#include <QString>

namespace games {

// How one character of a shown text fared in the comparison.
enum class Mark {
    Neutral, // punctuation, or a blank beyond the first: not compared
    Right,
    Wrong, // in the answer: a wrong or an extra character; in the phrase: a character typed wrong or left out
};

// The comparison of a typed answer with the phrase heard. Case, blanks around the text, runs of blanks and
// punctuation do not count; every other character does, blanks between words included. The characters are lined
// up with the fewest changes; "right" are those that line up with the same character. "ss" typed for "ß" is one
// character wrong.
struct DictationCheck
{
    QString expected; // the phrase as shown (composed form)
    QString typed; // the answer as shown
    std::vector<Mark> expectedMarks; // one per character of expected
    std::vector<Mark> typedMarks; // one per character of typed
    int right = 0;
    int compared = 0; // the characters the percentage is of: the length of the lined-up texts

    int percent() const;
    bool perfect() const { return right == compared; }
};

// The text as it is compared: composed, case-folded, without punctuation, one blank between words.
QString dictationKey(const QString& text);
DictationCheck checkDictation(const QString& expected, const QString& typed);
// The mistakes a phrase's rating counts: 0 when every letter was right, 1 when only marks on letters (accents, a
// tilde, an umlaut) were wrong or missing, 2 for any other mistake.
int dictationMistakes(const DictationCheck& check);

// A dictation round: the phrases in the order heard, one answer each, the percentage over all characters.
class DictationRound
{
public:
    explicit DictationRound(std::vector<int> order)
        : m_order(std::move(order))
    {
    }

    int total() const { return static_cast<int>(m_order.size()); }
    int number() const { return static_cast<int>(m_checks.size()) + (m_checked ? 0 : 1); }
    bool finished() const { return m_checks.size() == m_order.size() && !m_checked; }
    int current() const; // the phrase to type, -1 when finished
    bool checked() const { return m_checked; } // the current phrase has its answer, shown until next()

    // Records the answer of the current phrase; an answer that is only blanks and punctuation is not taken.
    bool answer(const QString& expected, const QString& typed);
    const DictationCheck& lastCheck() const { return m_checks.back(); }
    bool next();

    // dictationMistakes() of the phrase's answer; -1 before it has one.
    int mistakes(int phrase) const;

    int right() const;
    int compared() const;
    int percent() const;

private:
    std::vector<int> m_order;
    std::vector<DictationCheck> m_checks;
    bool m_checked = false;
};

}
