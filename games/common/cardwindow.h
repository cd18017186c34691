#pragma once

#include <QBoxLayout>
#include <QMargins>

#include "games/common/gamewindow.h"

class QLabel;
class QPushButton;

namespace games {

// How a game's card sits on its page.
struct CardLayout
{
    int pageSpacing = 14; // between the progress line, the card and what comes under it
    QMargins cardMargins;
    int cardSpacing = 16;
    QBoxLayout::Direction cardDirection = QBoxLayout::TopToBottom;
    bool cardTakesTheRoom = true; // false: the card keeps its own height and the game's widgets take the rest
};

// The frame of the games that show one phrase at a time: a progress line over a white card, a button that plays
// the phrase again, and the buttons under the card that move the round on.
class CardWindow : public GameWindow
{
    Q_OBJECT
public:
    CardWindow(const GameContext& context, const CardLayout& layout, QWidget* parent);

protected:
    // The phrase in play, whose sound the listen button plays; -1 when there is none.
    virtual int currentPhrase() const = 0;
    // Plays the phrase in play; false when there is none or it cannot be heard, and then the listen button
    // stays off until a phrase can be heard again.
    bool listen();

    // The card, for the game to fill, and the page's column, for what goes under the card.
    QBoxLayout* card() const { return m_card; }
    QVBoxLayout* column() const { return m_column; }
    // Plays the phrase again; key is the key named on it.
    QPushButton* listenButton(const QString& key);
    // A button under the card: wide, and never taking the keyboard from the game.
    QPushButton* actionButton(const QString& text = {});
    // The text of the button that moves on to the next phrase, or to the result after the last one.
    QString nextText(bool last) const;

    // The two ends of the progress line: how far the round is, and how well it goes.
    void setProgress(const QString& text);
    void setTally(const QString& text);

private:
    QVBoxLayout* m_column = nullptr;
    QBoxLayout* m_card = nullptr;
    QLabel* m_progress = nullptr;
    QLabel* m_tally = nullptr;
    QPushButton* m_listen = nullptr;
};

}
