#pragma once

#include <vector>

#include <QList>
#include <QString>

class QRandomGenerator;

namespace games {

struct PairsCard
{
    int pair = -1; // which pair it belongs to
    bool translation = false; // the translation card of the pair, else the phrase card
    bool faceUp = false;
    bool matched = false;
};

// The memory game: a phrase card and its translation card make a pair. A turn is two cards turned over; a
// matching pair stays open, any other two are turned back before the next turn. The score is the number of turns.
class PairsBoard
{
public:
    enum class Flip {
        Ignored, // a matched card, the card already open, or a position off the board
        First, // the first card of a turn
        Match,
        Mismatch, // both stay open until hideMismatch() or the next flip
    };

    // The phrases whose texts and translations are all different, in order: two cards that read the same must
    // not belong to different pairs.
    static std::vector<int> distinctPairs(const QStringList& texts, const QStringList& translations);

    explicit PairsBoard(int pairCount, QRandomGenerator* shuffle = nullptr);

    int cardCount() const { return static_cast<int>(m_cards.size()); }
    int pairCount() const { return cardCount() / 2; }
    const PairsCard& card(int position) const { return m_cards.at(static_cast<size_t>(position)); }

    Flip flip(int position);
    bool mismatchShowing() const { return m_second >= 0; }
    void hideMismatch();

    int turns() const { return m_turns; }
    int pairsFound() const { return m_found; }
    // The mismatches one of the pair's cards was turned in: the mistakes its rating counts.
    int mismatches(int pair) const { return m_mismatches.at(static_cast<size_t>(pair)); }
    bool finished() const { return m_found == pairCount(); }

private:
    std::vector<PairsCard> m_cards;
    std::vector<int> m_mismatches; // by pair
    int m_first = -1; // the open card waiting for its partner
    int m_second = -1; // with m_first: the two open cards of a mismatch
    int m_turns = 0;
    int m_found = 0;
};

}
