#include "games/pairs/pairstexts.h"
#include "games/pairs/pairswindow.h"

int main(int argc, char** argv)
{
    return games::runGame(argc, argv, games::pairs::activity(),
        [](const games::GameContext& context) { return new games::PairsWindow(context); });
}
