#pragma once

#include "games/common/gamestart.h"
#include "games/listenandchoose/texts.h"

namespace games::choose {

// A question needs the answer and two others to choose from.
inline constexpr int MinimumPhrases = 3;

ActivityInfo activity();

}
