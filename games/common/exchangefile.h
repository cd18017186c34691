#pragma once

#include <QByteArray>
#include <QString>

#include "games/common/language.h"
#include "platform/exchangefile.h"

namespace games {

using Phrase = platform::exchange::Phrase;
using Exchange = platform::exchange::Contents;
using ExchangeProblem = platform::exchange::Problem;

// The exchange file as a game takes it: the file's own checks, and line 4 as the language to speak. The language
// is known as soon as line 4 was read, so that even a faulty file is explained in the learner's language.
struct ExchangeResult : platform::exchange::Reading
{
    bool languageKnown = false;
    Language language = Language::English;
};

// Where the file named on the command line lives: a bare name is looked for in the program's private temporary
// folder; an absolute path (a teacher's trial) is taken as it stands.
QString exchangeFilePath(const QString& argument);

ExchangeResult parseExchange(const QByteArray& bytes);
ExchangeResult readExchangeFile(const QString& path);

}
