#pragma once

#include <functional>

#include <QColor>
#include <QStringList>

#include "games/common/exchangefile.h"
#include "games/common/language.h"

class QWidget;

namespace games {

// What a game tells the shared start-up about itself.
struct ActivityInfo
{
    Text name; // window title and tActivity, as on the activity's button
    Text keys; // the keys of the game's page, for the footer
    QColor accent; // the colour of its button picture
    int minimumPhrases = 1;
    // How many of the phrases the game can tell apart; all of them when not given.
    std::function<int(const QList<Phrase>&)> usablePhrases;
};

struct GameContext
{
    ActivityInfo info;
    Exchange exchange;
    Language language = Language::English;
    QString exchangePath;
    // Whether this computer can play sound at all; without it every phrase is read instead of heard.
    bool soundOutput = true;
};

struct GameStart
{
    bool ok = false;
    Language language = Language::English;
    QString message; // for the learner, in the interface language, when not ok
    GameContext context;
};

// Everything that must hold before a round can be played: a complete exchange file, enough phrases, and a user
// database that can take the score. arguments are the program's command line, the program itself first.
GameStart prepareGame(const QStringList& arguments, const ActivityInfo& info);

// The whole life of a game program: checks, the message and a clean exit when they fail, the window otherwise.
int runGame(
    int argc, char** argv, const ActivityInfo& info, const std::function<QWidget*(const GameContext&)>& makeWindow);

}
