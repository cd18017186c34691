#include "games/speak/speaktexts.h"
#include "games/speak/speakwindow.h"

int main(int argc, char** argv)
{
    return games::runGame(argc, argv, games::speak::activity(),
        [](const games::GameContext& context) { return new games::SpeakWindow(context); });
}
