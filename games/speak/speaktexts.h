#pragma once

#include "games/common/gamestart.h"
#include "games/speak/texts.h"

namespace games::speak {

ActivityInfo activity();

}
