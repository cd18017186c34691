#pragma once

#include "games/common/gamestart.h"
#include "games/flashcards/texts.h"

namespace games::flashcards {

ActivityInfo activity();

}
