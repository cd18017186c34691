#include "speaktexts.h"

namespace games::speak {

ActivityInfo activity() { return { Name, Keys, QColor(0xc2, 0x3b, 0x6e), 1, {} }; }

}
