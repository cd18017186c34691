#include "exchangefile.h"

#include <QFileInfo>

namespace games {

namespace {

    // The games speak English or Spanish only; any other line 4 is as much a fault as a missing line, and the
    // first fault of the file is the one reported.
    ExchangeResult withLanguage(platform::exchange::Reading reading)
    {
        ExchangeResult result;
        static_cast<platform::exchange::Reading&>(result) = std::move(reading);
        constexpr int LanguageLine = 4;
        if (!result.ok() && result.line <= LanguageLine)
            return result;
        if (parseLanguage(result.contents.interfaceLanguage, &result.language)) {
            result.languageKnown = true;
            return result;
        }
        result.problem = ExchangeProblem::BadLine;
        result.line = LanguageLine;
        result.detail = QStringLiteral("line 4 is not English or Spanish");
        result.contents.phrases.clear();
        return result;
    }

}

QString exchangeFilePath(const QString& argument)
{
    if (argument.isEmpty())
        return {};
    // The program starts a game in the folder that holds the file, so a bare name is found where any program
    // keeping to the activity contract would look for it.
    return QFileInfo(argument).absoluteFilePath();
}

ExchangeResult parseExchange(const QByteArray& bytes) { return withLanguage(platform::exchange::parse(bytes)); }

ExchangeResult readExchangeFile(const QString& path) { return withLanguage(platform::exchange::read(path)); }

const QString& translationOf(const Phrase& phrase) { return phrase.tTranslation; }

QStringList translationsOf(const QList<Phrase>& phrases)
{
    QStringList out;
    for (const Phrase& p : phrases)
        out << translationOf(p);
    return out;
}

QStringList taughtTextsOf(const QList<Phrase>& phrases)
{
    QStringList out;
    for (const Phrase& p : phrases)
        out << p.tPhrase;
    return out;
}

}
