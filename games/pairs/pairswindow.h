#pragma once

#include <memory>
#include <vector>

#include <QList>

#include "games/common/gamewindow.h"
#include "games/pairs/pairsboard.h"

class QGridLayout;
class QLabel;
class QPushButton;
class QTimer;

namespace games {

class PairsWindow : public GameWindow
{
    Q_OBJECT
public:
    explicit PairsWindow(const GameContext& context, QWidget* parent = nullptr);

    const PairsBoard& board() const { return *m_board; }
    // The phrase a card stands for.
    int phraseOf(int position) const;
    int cursor() const { return m_cursor; }

protected:
    void startRound() override;
    bool playKey(QKeyEvent* event) override;

private:
    void flip(int position);
    void moveCursor(int dx, int dy);
    void paintCards();

    std::unique_ptr<PairsBoard> m_board;
    std::vector<int> m_phraseOfPair;
    QList<QPushButton*> m_cards;
    QGridLayout* m_grid = nullptr;
    QWidget* m_gridHolder = nullptr;
    QLabel* m_turns = nullptr;
    QLabel* m_found = nullptr;
    QTimer* m_hideTimer = nullptr;
    int m_columns = 1;
    int m_cursor = 0;
};

}
