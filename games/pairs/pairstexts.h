#pragma once

#include "games/common/gamestart.h"
#include "games/pairs/texts.h"

namespace games::pairs {

// With a single pair the first turn always finds it.
inline constexpr int MinimumPairs = 2;

// The score as stored and shown: "12 turns".
QString turnsText(Language language, int turns);
// Columns of the board for a number of cards, so that no row is much shorter than the others.
int boardColumns(int cards);

ActivityInfo activity();

}
