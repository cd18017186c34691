#include "flashcardstexts.h"

namespace games::flashcards {

ActivityInfo activity() { return { Name, Keys, QColor(0x2f, 0x7f, 0xd1), 1, {} }; }

}
