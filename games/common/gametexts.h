#pragma once

#include "games/common/exchangefile.h"
#include "games/common/language.h"
#include "games/common/scorewriter.h"
#include "games/common/texts.h"

// The texts every game shares are in texts.tsv beside this file; each game keeps a table of its own.
namespace games::texts {

// What the learner is told about an exchange file the game cannot use.
QString explainExchange(const ExchangeResult& result, const QString& path, Language language);
// What the learner is told about a user database that cannot take the score.
QString explainSave(const SaveResult& result, const QString& path, Language language);

}
