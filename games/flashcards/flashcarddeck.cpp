#include "flashcarddeck.h"

#include <algorithm>

#include <QRandomGenerator>

namespace games {

FlashcardDeck::FlashcardDeck(int count, QRandomGenerator* shuffle)
    : m_firstTry(static_cast<size_t>(std::max(count, 0)), FirstTry::Unseen)
    , m_notYets(m_firstTry.size(), 0)
{
    std::vector<int> order;
    for (int i = 0; i < count; ++i)
        order.push_back(i);
    if (shuffle)
        std::shuffle(order.begin(), order.end(), *shuffle);
    m_queue.assign(order.begin(), order.end());
}

bool FlashcardDeck::currentIsRepeat() const
{
    return !finished() && m_firstTry[static_cast<size_t>(current())] != FirstTry::Unseen;
}

void FlashcardDeck::reveal()
{
    if (!finished())
        m_revealed = true;
}

bool FlashcardDeck::markKnown()
{
    if (finished() || !m_revealed)
        return false;
    FirstTry& first = m_firstTry[static_cast<size_t>(current())];
    if (first == FirstTry::Unseen) {
        first = FirstTry::Known;
        ++m_knownFirst;
    }
    ++m_known;
    ++m_shown;
    m_queue.pop_front();
    m_revealed = false;
    return true;
}

bool FlashcardDeck::markNotYet()
{
    if (finished() || !m_revealed)
        return false;
    const int card = current();
    FirstTry& first = m_firstTry[static_cast<size_t>(card)];
    if (first == FirstTry::Unseen)
        first = FirstTry::Missed;
    ++m_notYets[static_cast<size_t>(card)];
    ++m_shown;
    m_queue.pop_front();
    m_queue.push_back(card);
    m_revealed = false;
    return true;
}

}
