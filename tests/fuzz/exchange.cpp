#include "games/common/exchangefile.h"
#include "tests/fuzz/fuzzbodies.h"

int fuzzExchange(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const games::ExchangeResult result = games::parseExchange(bytes);
    if (!result.ok()) {
        fuzzRequire(result.contents.phrases.isEmpty(), "a faulty file gives no phrases");
        fuzzRequire(result.line >= 1, "a faulty text names the first line at fault");
        return 0;
    }
    fuzzRequire(result.languageKnown, "a file read whole names the learner's language");
    fuzzRequire(result.contents.phrases.size() <= platform::exchange::MaxPhrases, "a study set holds ten phrases");
    fuzzRequire(games::translationsOf(result.contents.phrases).size() == result.contents.phrases.size()
            && games::taughtTextsOf(result.contents.phrases).size() == result.contents.phrases.size(),
        "every phrase has its texts");

    // What the main program writes from the contents a game read, the game reads back the same.
    const QByteArray written = platform::exchange::bytes(result.contents);
    const games::ExchangeResult again = games::parseExchange(written);
    fuzzRequire(
        again.ok() && platform::exchange::bytes(again.contents) == written, "the written contents read back unchanged");
    return 0;
}
