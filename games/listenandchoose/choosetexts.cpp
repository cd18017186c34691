#include "choosetexts.h"

#include "games/listenandchoose/choosequiz.h"

namespace games::choose {

ActivityInfo activity()
{
    // Phrases sharing a translation count once: they cannot be told apart among the options.
    return { Name, Keys, QColor(0x1f, 0x9a, 0x6b), MinimumPhrases,
        [](const QList<Phrase>& phrases) { return ChooseQuiz::distinctTranslations(translationsOf(phrases)); } };
}

}
