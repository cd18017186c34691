#pragma once

#include <deque>
#include <vector>

class QRandomGenerator;

namespace games {

// The flashcard rules: every card is shown, turned over, and marked; a card marked "not yet" goes to the back of
// the deck and comes back until it is known. The score counts the cards known the first time they were shown.
class FlashcardDeck
{
public:
    // Cards are the phrase numbers 0 .. count-1, shuffled when a generator is given.
    explicit FlashcardDeck(int count, QRandomGenerator* shuffle = nullptr);

    bool finished() const { return m_queue.empty(); }
    int current() const { return finished() ? -1 : m_queue.front(); }
    // The current card has been shown before and marked "not yet".
    bool currentIsRepeat() const;

    bool revealed() const { return m_revealed; }
    void reveal();
    // Marking needs a turned card: false, and nothing changes, before reveal() or after the end.
    bool markKnown();
    bool markNotYet();

    int total() const { return static_cast<int>(m_firstTry.size()); }
    int known() const { return m_known; }
    int knownAtFirstSight() const { return m_knownFirst; }
    int cardsLeft() const { return static_cast<int>(m_queue.size()); }
    int shown() const { return m_shown; } // cards marked so far, repeats included
    // How often the card was marked "not yet": the mistakes its rating counts.
    int notYets(int card) const { return m_notYets.at(static_cast<size_t>(card)); }

private:
    enum class FirstTry { Unseen, Known, Missed };
    std::deque<int> m_queue;
    std::vector<FirstTry> m_firstTry;
    std::vector<int> m_notYets;
    bool m_revealed = false;
    int m_known = 0;
    int m_knownFirst = 0;
    int m_shown = 0;
};

}
