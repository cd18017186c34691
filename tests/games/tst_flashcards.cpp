#include <QRandomGenerator>
#include <QtTest>

#include "gamefixture.h"
#include "games/flashcards/flashcarddeck.h"
#include "games/flashcards/flashcardstexts.h"
#include "games/flashcards/flashcardswindow.h"
#include "platform/exchangefile.h"

using namespace games;

class TestFlashcards : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyCardOnceWhenAllAreKnown()
    {
        QRandomGenerator random(7);
        FlashcardDeck deck(10, &random);
        QSet<int> seen;
        while (!deck.finished()) {
            QVERIFY(!deck.currentIsRepeat());
            seen.insert(deck.current());
            deck.reveal();
            QVERIFY(deck.markKnown());
        }
        QCOMPARE(seen.size(), 10);
        QCOMPARE(*std::min_element(seen.begin(), seen.end()), 0);
        QCOMPARE(*std::max_element(seen.begin(), seen.end()), 9);
        QCOMPARE(deck.knownAtFirstSight(), 10);
        QCOMPARE(deck.shown(), 10);
        QCOMPARE(deck.current(), -1);
    }

    void cardsNotYetKnownComeBackAfterTheOthers()
    {
        FlashcardDeck deck(4);
        QList<int> order;
        auto turn = [&](bool known) {
            order << deck.current();
            deck.reveal();
            QVERIFY(known ? deck.markKnown() : deck.markNotYet());
        };
        turn(false); // 0 goes to the back
        turn(true); // 1
        turn(false); // 2 goes to the back
        turn(true); // 3
        QVERIFY(deck.currentIsRepeat());
        turn(false); // 0 again, still not known
        turn(true); // 2, known the second time
        QCOMPARE(deck.cardsLeft(), 1);
        turn(false); // 0 is the only card left and comes straight back
        turn(true);
        QVERIFY(deck.finished());
        QCOMPARE(order, (QList<int> { 0, 1, 2, 3, 0, 2, 0, 0 }));
        QCOMPARE(deck.knownAtFirstSight(), 2); // only 1 and 3: a card known later does not count
        QCOMPARE(deck.known(), 4);
        QCOMPARE(deck.shown(), 8);
    }

    void markingNeedsATurnedCard()
    {
        FlashcardDeck deck(2);
        QVERIFY(!deck.markKnown());
        QVERIFY(!deck.markNotYet());
        QCOMPARE(deck.current(), 0);
        QCOMPARE(deck.shown(), 0);
        deck.reveal();
        QVERIFY(deck.revealed());
        QVERIFY(deck.markKnown());
        QVERIFY(!deck.revealed()); // the next card starts face down
        QVERIFY(!deck.markKnown());

        FlashcardDeck empty(0);
        QVERIFY(empty.finished());
        empty.reveal();
        QVERIFY(!empty.markKnown());
        QCOMPARE(empty.total(), 0);
    }

    void aRoundPlayedWithTheKeyboardStoresItsScore()
    {
        gametest::Launch launch;
        const Exchange x = launch.exchange(3);
        FlashcardsWindow window(launch.context(flashcards::activity(), x));
        gametest::showWindow(&window);
        QCOMPARE(launch.sound.played.size(), 1); // the first card speaks at once
        QCOMPARE(launch.sound.lastFlags, int(platform::SndAsync));

        const int first = window.deck().current();
        gametest::sendKey(&window, Qt::Key_1); // not turned yet: ignored
        QCOMPARE(window.deck().current(), first);
        gametest::sendKey(&window, Qt::Key_Space);
        gametest::sendKey(&window, Qt::Key_2); // not yet: comes back
        gametest::sendKey(&window, Qt::Key_R);
        QCOMPARE(launch.sound.played.size(), 3);
        for (int i = 0; i < 3; ++i) {
            gametest::sendKey(&window, Qt::Key_Space);
            gametest::sendKey(&window, Qt::Key_1);
        }
        QVERIFY(window.showingResult());
        QCOMPARE(window.resultHeadline(), QStringLiteral("2 / 3"));
        QVERIFY(gametest::waitForSave(window));
        QVERIFY(window.lastSave().saved());
        QCOMPARE(launch.rows(), QStringList { "Ana O'Brien \"Nana\"|Greetings|Flashcards|2 / 3|2" });
        // With the round, a row per phrase: the card marked "not yet" once is hard, the others, marked at once on
        // the test's clock of a second a reading, easy; each with its time from the card shown to its marking.
        const QStringList results = launch.phraseRows();
        QCOMPARE(results.size(), 3);
        for (const QString& result : results) {
            const QStringList f = result.split('|');
            const bool missed = f[1] == x.phrases[first].phraseId;
            QCOMPARE(f[2].toInt(), missed ? 2 : 4);
            QVERIFY2(f[3].toInt() > 0 && f[3].toInt() <= QuickAnswerMs, qPrintable(result));
        }

        gametest::sendKey(&window, Qt::Key_Return); // play again: a fresh round, the first row stays
        QVERIFY(!window.showingResult());
        QCOMPARE(window.deck().knownAtFirstSight(), 0);
        for (int i = 0; i < 3; ++i) {
            gametest::sendKey(&window, Qt::Key_Space);
            gametest::sendKey(&window, Qt::Key_1);
        }
        QVERIFY(gametest::waitForSave(window));
        QCOMPARE(launch.rows().size(), 2);
        QCOMPARE(launch.rows().last(), QStringLiteral("Ana O'Brien \"Nana\"|Greetings|Flashcards|3 / 3|3"));
        QVERIFY(launch.dialogs.messages.isEmpty());
    }

    void theResultScreenWaitsForAFreshKey()
    {
        gametest::Launch launch;
        launch.clock.step = 0;
        FlashcardsWindow window(launch.context(flashcards::activity(), launch.exchange(1)));
        gametest::showWindow(&window);
        gametest::sendKey(&window, Qt::Key_Space);
        gametest::sendKey(&window, Qt::Key_1);
        QVERIFY(gametest::waitForSave(window));
        struct Press
        {
            Qt::Key key;
            bool held;
            qint64 at; // after the result screen appeared
            bool newRound;
        };
        const QList<Press> presses {
            { Qt::Key_Space, false, 0, false },
            { Qt::Key_Return, false, GameWindow::ResultKeyPauseMs - 1, false },
            { Qt::Key_Space, true, GameWindow::ResultKeyPauseMs + 2000, false }, // the turn key still held
            { Qt::Key_Space, false, GameWindow::ResultKeyPauseMs, true },
        };
        const qint64 shown = launch.clock.ms;
        for (const Press& p : presses) {
            launch.clock.ms = shown + p.at;
            QKeyEvent press(QEvent::KeyPress, p.key, Qt::NoModifier, QString(), p.held);
            QApplication::sendEvent(window.focusWidget() ? window.focusWidget() : &window, &press);
            QCOMPARE(window.showingResult(), !p.newRound);
        }
    }

    void aMissingSoundIsSaidAndTheGameGoesOn()
    {
        gametest::Launch launch;
        Exchange x = launch.exchange(1, Language::Spanish);
        QFile::remove(x.phrases[0].soundFile);
        FlashcardsWindow window(launch.context(flashcards::activity(), x));
        gametest::showWindow(&window);
        QVERIFY(launch.sound.played.isEmpty());
        QTRY_COMPARE(launch.dialogs.messages.size(), 1);
        const QString notice = launch.dialogs.messages.first();
        QVERIFY2(notice.startsWith("Tarjetas: No se puede reproducir el sonido") && notice.contains("~prl11.wav"),
            qPrintable(notice));
        gametest::sendKey(&window, Qt::Key_Space);
        gametest::sendKey(&window, Qt::Key_1);
        QVERIFY(window.showingResult());
        QVERIFY(gametest::waitForSave(window));
        QCOMPARE(launch.rows(), QStringList { "Ana O'Brien \"Nana\"|Greetings|Tarjetas|1 / 1|1" });
    }

    // Sounds the main program deletes while the game runs, and a computer without sound: one notice a run.
    void soundThatCannotBeHeardIsToldOnceARun()
    {
        gametest::Launch launch;
        const Exchange x = launch.exchange(3);
        FlashcardsWindow window(launch.context(flashcards::activity(), x));
        gametest::showWindow(&window);
        QCOMPARE(launch.sound.played.size(), 1);
        QVERIFY(!window.soundNoticeGiven());
        for (const Phrase& p : x.phrases)
            QFile::remove(p.soundFile);
        for (int round = 0; round < 2; ++round) {
            while (!window.showingResult()) {
                gametest::sendKey(&window, Qt::Key_R);
                gametest::sendKey(&window, Qt::Key_Space);
                gametest::sendKey(&window, Qt::Key_1);
            }
            gametest::sendKey(&window, Qt::Key_Return);
        }
        QTRY_COMPARE(launch.dialogs.messages.size(), 1);
        QVERIFY(launch.dialogs.messages.first().contains("cannot be played"));
        QCOMPARE(launch.sound.played.size(), 1);

        gametest::Launch silent;
        GameContext context = silent.context(flashcards::activity(), silent.exchange(2, Language::Spanish));
        context.soundOutput = false;
        FlashcardsWindow quiet(context);
        gametest::showWindow(&quiet);
        for (int i = 0; i < 2; ++i) {
            gametest::sendKey(&quiet, Qt::Key_R);
            gametest::sendKey(&quiet, Qt::Key_Space);
            gametest::sendKey(&quiet, Qt::Key_1);
        }
        QVERIFY(quiet.showingResult());
        QTRY_COMPARE(silent.dialogs.messages.size(), 1);
        QVERIFY2(silent.dialogs.messages.first().contains("no tiene salida de sonido"),
            qPrintable(silent.dialogs.messages.first()));
        QVERIFY(silent.sound.played.isEmpty());
    }

    // Another activity started in the same run of the main program stays quiet; after the main program deleted the
    // marker at its close or its next start, the learner is told again.
    void theSoundNoticeComesOnceARunOfTheMainProgram()
    {
        gametest::Launch launch;
        GameContext context = launch.context(flashcards::activity(), launch.exchange(2));
        context.soundOutput = false;
        const QString marker = QFileInfo(context.exchangePath).dir().filePath(platform::exchange::SoundNoticeMarker);
        for (const int notices : { 1, 1, 2 }) {
            if (notices == 2)
                QVERIFY(QFile::remove(marker));
            FlashcardsWindow window(context);
            gametest::showWindow(&window);
            QTRY_COMPARE(launch.dialogs.messages.size(), notices);
            QTest::qWait(20);
            QCOMPARE(launch.dialogs.messages.size(), notices);
            QVERIFY(QFile::exists(marker));
        }
    }

    // The back of a card is the phrase's translation into the learner's language, in every product, and
    // never the second translation.
    void theCardShowsOnlyTheLearnersTranslationInEveryProduct()
    {
        for (const gametest::Product& product : gametest::products()) {
            gametest::Launch launch;
            const Exchange x = launch.exchange(product, 3);
            FlashcardsWindow window(launch.context(flashcards::activity(), x));
            gametest::showWindow(&window);
            while (!window.deck().finished()) {
                const Phrase& p = x.phrases[window.deck().current()];
                QVERIFY(!gametest::visibleTexts(&window).contains(p.tTranslation)); // face down
                gametest::sendKey(&window, Qt::Key_Space);
                const QStringList shown = gametest::visibleTexts(&window);
                QVERIFY2(shown.contains(p.tPhrase) && shown.contains(p.tTranslation),
                    qPrintable(product.code + ": " + shown.join(" | ")));
                gametest::verifyNoSecondTranslation(&window, x);
                gametest::sendKey(&window, Qt::Key_1);
            }
        }
    }

    void aLockedDatabaseIsReportedThenTheRowGoesInOnce()
    {
        gametest::Launch launch;
        FlashcardsWindow window(launch.context(flashcards::activity(), launch.exchange(1)));
        gametest::showWindow(&window);
        gametest::sendKey(&window, Qt::Key_Space);
        {
            gametest::LockHolder lock(launch.database(), 5600);
            gametest::sendKey(&window, Qt::Key_1);
            QVERIFY(window.showingResult());
            // The writer waits for the lock beside the window: events still reach it and it says why it waits.
            QVERIFY(window.saving());
            bool answered = false;
            QTimer::singleShot(0, &window, [&] { answered = true; });
            QVERIFY(QTest::qWaitFor([&] { return answered; }, 1000));
            QVERIFY(window.saving());
            QVERIFY(gametest::visibleTexts(&window).contains("Saving your score…"));
            gametest::sendKey(&window, Qt::Key_Return); // no new round before the row is settled
            QVERIFY(window.showingResult());
            QVERIFY(gametest::waitForSave(window));
            QCOMPARE(window.lastSave().status, SaveStatus::Locked);
            QCOMPARE(launch.dialogs.messages.size(), 1);
            QVERIFY(launch.dialogs.messages.first().contains("stayed locked"));
            QVERIFY(window.canSaveAgain());
        }
        QVERIFY(launch.rows().isEmpty());
        window.saveAgain();
        QVERIFY(gametest::waitForSave(window));
        QVERIFY(window.lastSave().saved());
        QVERIFY(!window.canSaveAgain());
        window.saveAgain(); // already stored: not a second row
        QCOMPARE(launch.rows(), QStringList { "Ana O'Brien \"Nana\"|Greetings|Flashcards|1 / 1|1" });
    }

    void closingWhileTheRowIsStoredWaitsForIt()
    {
        gametest::Launch launch;
        FlashcardsWindow window(launch.context(flashcards::activity(), launch.exchange(1)));
        gametest::showWindow(&window);
        gametest::sendKey(&window, Qt::Key_Space);
        {
            gametest::LockHolder lock(launch.database(), 1500);
            gametest::sendKey(&window, Qt::Key_1);
            QVERIFY(window.saving());
            gametest::sendKey(&window, Qt::Key_Escape);
            QVERIFY(window.isVisible());
        }
        QVERIFY(gametest::waitForSave(window));
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(launch.rows().size(), 1);
        QVERIFY(launch.dialogs.messages.isEmpty());
    }

    void aScoreThatCannotBeSavedIsReportedNotHalfWritten()
    {
        gametest::Launch launch;
        Exchange x = launch.exchange(1);
        x.usersDatabase = launch.path("moved-away.dat");
        FlashcardsWindow window(launch.context(flashcards::activity(), x));
        gametest::showWindow(&window);
        gametest::sendKey(&window, Qt::Key_Space);
        gametest::sendKey(&window, Qt::Key_1);
        QVERIFY(window.showingResult());
        QVERIFY(gametest::waitForSave(window));
        QCOMPARE(window.lastSave().status, SaveStatus::Missing);
        QCOMPARE(launch.dialogs.messages.size(), 1);
        QVERIFY(launch.dialogs.messages.first().startsWith("Flashcards: Your score for this round was not saved."));
        QVERIFY(!QFile::exists(launch.path("moved-away.dat")));
        QVERIFY(launch.rows().isEmpty());
    }
};

QTEST_MAIN(TestFlashcards)
#include "tst_flashcards.moc"
