#pragma once

#include "games/pairs/pairsboard.h"

namespace gametest {

// The position of the card that makes a pair with the one at position; -1 when there is none.
inline int partner(const games::PairsBoard& board, int position)
{
    for (int i = 0; i < board.cardCount(); ++i) {
        if (i != position && board.card(i).pair == board.card(position).pair)
            return i;
    }
    return -1;
}

}
