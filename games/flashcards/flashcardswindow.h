#pragma once

#include <memory>

#include "games/common/cardwindow.h"
#include "games/flashcards/flashcarddeck.h"

class QLabel;
class QPushButton;

namespace games {

class FlashcardsWindow : public CardWindow
{
    Q_OBJECT
public:
    explicit FlashcardsWindow(const GameContext& context, QWidget* parent = nullptr);

    const FlashcardDeck& deck() const { return *m_deck; }

protected:
    void startRound() override;
    bool playKey(QKeyEvent* event) override;
    int currentPhrase() const override;

private:
    void showCard();
    void reveal();
    void mark(bool known);

    std::unique_ptr<FlashcardDeck> m_deck;
    QLabel* m_again = nullptr;
    QLabel* m_phrase = nullptr;
    QLabel* m_translation = nullptr;
    QPushButton* m_reveal = nullptr;
    QPushButton* m_knew = nullptr;
    QPushButton* m_notYet = nullptr;
};

}
