#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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

// Where the file named on the command line lives: a bare name or a relative path is taken from the working folder;
// an absolute path (a teacher's trial) as it stands.
QString exchangeFilePath(const QString& argument);

ExchangeResult parseExchange(const QByteArray& bytes);
ExchangeResult readExchangeFile(const QString& path);

// What a learner reads of a phrase besides the text taught: its translation into the interface language. The
// second translation is in the other interface language, or the pronunciation where that one is taught, so that
// no game shows it.
const QString& translationOf(const Phrase& phrase);
QStringList translationsOf(const QList<Phrase>& phrases);
// The texts in the language taught, in the order of the phrases.
QStringList taughtTextsOf(const QList<Phrase>& phrases);

}
