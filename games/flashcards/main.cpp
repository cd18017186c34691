#include "games/flashcards/flashcardstexts.h"
#include "games/flashcards/flashcardswindow.h"

int main(int argc, char** argv)
{
    return games::runGame(argc, argv, games::flashcards::activity(),
        [](const games::GameContext& context) { return new games::FlashcardsWindow(context); });
}
