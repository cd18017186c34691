#include "gamestart.h"

#include <QApplication>
#include <QWidget>

#include "games/common/gamestyle.h"
#include "games/common/gametexts.h"
#include "games/common/phrasesound.h"
#include "games/common/scorewriter.h"
#include "platform/services.h"
#include "platform/translations.h"

namespace games {

GameStart prepareGame(const QStringList& arguments, const ActivityInfo& info)
{
    GameStart start;
    start.language = productLanguage();
    const QString path = exchangeFilePath(arguments.value(1));
    const ExchangeResult read = readExchangeFile(path);
    if (read.languageKnown)
        start.language = read.language;
    auto fail = [&start](const QString& why) {
        start.message = why + QStringLiteral("\n\n") + say(start.language, texts::ClosesNow);
        return start;
    };
    if (!read.ok())
        return fail(texts::explainExchange(read, path, start.language));

    const Exchange& x = read.contents;
    const int usable = info.usablePhrases ? info.usablePhrases(x.phrases) : static_cast<int>(x.phrases.size());
    if (usable < info.minimumPhrases) {
        return fail(say(start.language, texts::TooFewPhrases)
                        .arg(say(start.language, info.name))
                        .arg(info.minimumPhrases)
                        .arg(usable));
    }

    const SaveResult database = ScoreWriter(x.usersDatabase).check();
    if (!database.saved())
        return fail(texts::explainSave(database, x.usersDatabase, start.language));

    start.ok = true;
    start.context = { info, x, start.language, path };
    return start;
}

int runGame(
    int argc, char** argv, const ActivityInfo& info, const std::function<QWidget*(const GameContext&)>& makeWindow)
{
    QApplication app(argc, argv);
    platform::installQtServices();
    applyGameStyle(app, info.accent);
    const GameStart start = prepareGame(app.arguments(), info);
    platform::installToolkitTranslations(
        app, start.language == Language::Spanish ? QStringLiteral("es") : QStringLiteral("en"));
    if (!start.ok) {
        platform::services().dialogs->message(start.message, say(start.language, info.name), platform::Icon::Warning);
        return 1;
    }
    GameContext context = start.context;
    context.soundOutput = soundOutputPresent();
    QWidget* window = makeWindow(context);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return app.exec();
}

}
