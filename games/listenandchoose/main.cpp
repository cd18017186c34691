#include "games/listenandchoose/choosetexts.h"
#include "games/listenandchoose/choosewindow.h"

int main(int argc, char** argv)
{
    return games::runGame(argc, argv, games::choose::activity(),
        [](const games::GameContext& context) { return new games::ChooseWindow(context); });
}
