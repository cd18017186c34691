#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "games/common/language.h"

namespace games {

struct Phrase
{
    QString text; // in the language taught
    QString translation; // in the learner's language
    QString translation2;
    QString soundPath; // full path of the phrase's WAVE file
};

// What the main program hands to an activity: the fifteen header lines and four lines per phrase.
struct Exchange
{
    static constexpr int HeaderLines = 15;
    static constexpr int LinesPerPhrase = 4;
    static constexpr int MaxPhrases = 10;

    QString processId; // line 1
    QString programCode; // line 2
    QString productName; // line 3
    Language language = Language::English; // line 4
    QString taughtLanguage; // line 5
    QString student; // line 6
    QString subject; // line 7, kept exactly (a random subject's title starts with a blank)
    int phraseCount = 0; // line 8
    QString userDatabase; // line 9
    QStringList reserved; // lines 10 to 14
    int printValue = 0; // line 15
    QList<Phrase> phrases;
};

enum class ExchangeProblem {
    None,
    NoArgument, // the game was started without the file's name
    Missing,
    Unreadable,
    TooLarge,
    Truncated, // a line the header or the phrase count promises is absent
    BadLine, // a line that cannot be what its position says
    ExtraLines, // text after the last phrase
};

struct ExchangeResult
{
    ExchangeProblem problem = ExchangeProblem::None;
    int line = 0; // the first line at fault, 1-based; 0 when the problem is the file as a whole
    QString detail; // what was expected there, in English, for logs and tests
    bool languageKnown = false; // line 4 was read, so even a faulty file says how to speak to the learner
    Exchange exchange;

    bool ok() const { return problem == ExchangeProblem::None; }
};

// Where the file named on the command line lives: a bare name is looked for in the program's private temporary
// folder; an absolute path (a teacher's trial) is taken as it stands.
QString exchangeFilePath(const QString& argument);

ExchangeResult parseExchange(const QByteArray& bytes);
ExchangeResult readExchangeFile(const QString& path);

// The exact text the main program writes for an exchange, CR LF line ends, for trials and tests.
QByteArray writeExchange(const Exchange& exchange);

}
