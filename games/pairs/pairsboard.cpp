#include "pairsboard.h"

#include <algorithm>

#include <QRandomGenerator>
#include <QSet>

namespace games {

std::vector<int> PairsBoard::distinctPairs(const QStringList& texts, const QStringList& translations)
{
    std::vector<int> kept;
    QSet<QString> seen;
    auto key = [](const QString& t) { return t.simplified().toCaseFolded(); };
    for (int i = 0; i < texts.size() && i < translations.size(); ++i) {
        const QString a = key(texts[i]);
        const QString b = key(translations[i]);
        if (a.isEmpty() || b.isEmpty() || seen.contains(a) || seen.contains(b))
            continue;
        seen.insert(a);
        seen.insert(b);
        kept.push_back(i);
    }
    return kept;
}

PairsBoard::PairsBoard(int pairCount, QRandomGenerator* shuffle)
    : m_mismatches(static_cast<size_t>(std::max(pairCount, 0)), 0)
{
    for (int i = 0; i < pairCount; ++i) {
        m_cards.push_back({ i, false });
        m_cards.push_back({ i, true });
    }
    if (shuffle)
        std::shuffle(m_cards.begin(), m_cards.end(), *shuffle);
}

void PairsBoard::hideMismatch()
{
    if (!mismatchShowing())
        return;
    m_cards[static_cast<size_t>(m_first)].faceUp = false;
    m_cards[static_cast<size_t>(m_second)].faceUp = false;
    m_first = -1;
    m_second = -1;
}

PairsBoard::Flip PairsBoard::flip(int position)
{
    if (position < 0 || position >= cardCount())
        return Flip::Ignored;
    // Turning a new card ends a mismatch on show; the new card starts the next turn.
    hideMismatch();
    PairsCard& c = m_cards[static_cast<size_t>(position)];
    if (c.matched || c.faceUp)
        return Flip::Ignored;
    c.faceUp = true;
    if (m_first < 0) {
        m_first = position;
        return Flip::First;
    }
    ++m_turns;
    PairsCard& other = m_cards[static_cast<size_t>(m_first)];
    if (other.pair == c.pair) {
        other.matched = true;
        c.matched = true;
        ++m_found;
        m_first = -1;
        return Flip::Match;
    }
    m_second = position;
    ++m_mismatches[static_cast<size_t>(c.pair)];
    ++m_mismatches[static_cast<size_t>(other.pair)];
    return Flip::Mismatch;
}

}
