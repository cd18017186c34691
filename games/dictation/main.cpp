#include "games/dictation/dictationtexts.h"
#include "games/dictation/dictationwindow.h"

int main(int argc, char** argv)
{
    return games::runGame(argc, argv, games::dictation::activity(),
        [](const games::GameContext& context) { return new games::DictationWindow(context); });
}
