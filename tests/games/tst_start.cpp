#include <QFile>
#include <QtTest>

#include "gamefixture.h"
#include "games/common/gamestart.h"
#include "games/dictation/dictationtexts.h"
#include "games/flashcards/flashcardstexts.h"
#include "games/listenandchoose/choosetexts.h"
#include "games/pairs/pairstexts.h"
#include "games/speak/speaktexts.h"

using namespace games;

namespace {
QStringList commandLine(const QString& file) { return { QStringLiteral("Game.exe"), file }; }
}

class TestStart : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The scores are filed under the names the main program shows on the activity buttons.
    void activityNamesMatchTheButtons()
    {
        QFile list(QStringLiteral(PARLANTA_SOURCE_DIR "/content/activities/activities.tsv"));
        QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
        QMap<QString, QStringList> buttons;
        bool header = true;
        while (!list.atEnd()) {
            const QString line = QString::fromUtf8(list.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QStringList f = line.split('\t');
            if (!std::exchange(header, false))
                buttons.insert(f.value(0), { f.value(3), f.value(4) });
        }
        const QList<std::pair<QString, ActivityInfo>> games { { "Flashcards", flashcards::activity() },
            { "ListenAndChoose", choose::activity() }, { "Dictation", dictation::activity() },
            { "Pairs", pairs::activity() }, { "Speak", speak::activity() } };
        for (const auto& [program, info] : games) {
            QVERIFY2(buttons.contains(program), qPrintable(program));
            QCOMPARE(say(Language::English, info.name), buttons[program].value(0));
            QCOMPARE(say(Language::Spanish, info.name), buttons[program].value(1));
        }
    }

    void aGoodLaunchStarts()
    {
        gametest::Launch launch;
        const QString file = launch.writeFile(launch.exchange(3, Language::Spanish));
        const GameStart start = prepareGame(commandLine(file), choose::activity());
        QVERIFY2(start.ok, qPrintable(start.message));
        QCOMPARE(start.language, Language::Spanish);
        QCOMPARE(start.context.exchange.phrases.size(), 3);
        QCOMPARE(start.context.exchangePath, file);
    }

    void tooFewPhrasesAreExplainedInTheFilesLanguage()
    {
        gametest::Launch launch;
        struct Case
        {
            ActivityInfo info;
            int phrases;
            bool starts;
        };
        const Case cases[] = { { flashcards::activity(), 1, true }, { dictation::activity(), 1, true },
            { pairs::activity(), 1, false }, { pairs::activity(), 2, true }, { choose::activity(), 1, false },
            { choose::activity(), 2, false }, { choose::activity(), 3, true }, { flashcards::activity(), 0, false } };
        for (const Case& c : cases) {
            const QString file = launch.writeFile(launch.exchange(c.phrases, Language::Spanish));
            const GameStart start = prepareGame(commandLine(file), c.info);
            const QString name = say(Language::Spanish, c.info.name);
            QVERIFY2(start.ok == c.starts, qPrintable(name + ": " + start.message));
            if (!c.starts) {
                QVERIFY2(start.message.contains(name) && start.message.contains("necesita al menos"),
                    qPrintable(start.message));
                QVERIFY(start.message.contains("no se ha guardado ninguna puntuación"));
            }
        }
    }

    void phrasesThatReadAlikeCountOnce()
    {
        gametest::Launch launch;
        Exchange x = launch.exchange(3);
        x.phrases[2].tTranslation = QStringLiteral("  sentence 1 ");
        const QString file = launch.writeFile(x);
        const GameStart chooseStart = prepareGame(commandLine(file), choose::activity());
        QVERIFY(!chooseStart.ok);
        QVERIFY(chooseStart.message.contains("needs at least 3 different phrases, but this subject has 2"));
        QVERIFY(prepareGame(commandLine(file), pairs::activity()).ok);
        x.phrases[1].tTranslation = QStringLiteral("Sentence 1");
        const QString worse = launch.writeFile(x, "~prl2.txt");
        QVERIFY(!prepareGame(commandLine(worse), pairs::activity()).ok);
    }

    void badFilesAndDatabasesStopTheGame()
    {
        gametest::Launch launch;
        // No file, no language line: the product's own interface language speaks.
        const GameStart none = prepareGame({ QStringLiteral("Game.exe") }, flashcards::activity());
        QVERIFY(!none.ok);
        QCOMPARE(none.language, productLanguage());
        QVERIFY(!none.message.isEmpty());

        const GameStart missing = prepareGame(commandLine(launch.path("~prl404.txt")), flashcards::activity());
        QVERIFY(!missing.ok);
        QVERIFY(missing.message.contains("~prl404.txt"));

        QByteArray cut = platform::exchange::bytes(launch.exchange(4, Language::Spanish));
        cut.truncate(cut.indexOf("\"Sentence 3\""));
        QFile f(launch.path("~prlcut.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(cut);
        f.close();
        const GameStart truncated = prepareGame(commandLine(f.fileName()), flashcards::activity());
        QVERIFY(!truncated.ok);
        QCOMPARE(truncated.language, Language::Spanish);
        QVERIFY2(truncated.message.contains("incompleta"), qPrintable(truncated.message));

        Exchange noDatabase = launch.exchange(4);
        noDatabase.usersDatabase = launch.path("gone/Users.dat");
        const GameStart db = prepareGame(commandLine(launch.writeFile(noDatabase)), flashcards::activity());
        QVERIFY(!db.ok);
        QVERIFY2(db.message.contains("student database") && db.message.contains("gone"), qPrintable(db.message));
        QVERIFY(!QFile::exists(launch.path("gone/Users.dat")));
    }
};

QTEST_MAIN(TestStart)
#include "tst_start.moc"
