#include <QApplication>
#include <QLabel>
#include <QRandomGenerator>
#include <QtTest>

#include "gamefixture.h"
#include "games/common/gamestyle.h"
#include "games/pairs/pairsboard.h"
#include "games/pairs/pairstexts.h"
#include "games/pairs/pairswindow.h"
#include "pairspartner.h"

using namespace games;

class TestPairs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theBoardHoldsEachPairOnce()
    {
        QRandomGenerator random(2);
        const PairsBoard board(6, &random);
        QCOMPARE(board.cardCount(), 12);
        QMap<int, int> phraseCards;
        QMap<int, int> translationCards;
        for (int i = 0; i < board.cardCount(); ++i) {
            ++(board.card(i).translation ? translationCards : phraseCards)[board.card(i).pair];
            QVERIFY(!board.card(i).faceUp);
        }
        QCOMPARE(phraseCards.size(), 6);
        QCOMPARE(translationCards.size(), 6);
        for (int n : phraseCards)
            QCOMPARE(n, 1);
    }

    void aPerfectGameTakesOneTurnAPair()
    {
        QRandomGenerator random(9);
        PairsBoard board(5, &random);
        for (int i = 0; i < board.cardCount(); ++i) {
            if (board.card(i).matched)
                continue;
            QCOMPARE(board.flip(i), PairsBoard::Flip::First);
            QCOMPARE(board.flip(gametest::partner(board, i)), PairsBoard::Flip::Match);
        }
        QVERIFY(board.finished());
        QCOMPARE(board.turns(), 5);
        QCOMPARE(board.pairsFound(), 5);
    }

    void turnsCountPairsOfFlipsOnly()
    {
        PairsBoard board(3); // unshuffled: cards 2k and 2k+1 are pair k
        QCOMPARE(board.flip(0), PairsBoard::Flip::First);
        QCOMPARE(board.flip(0), PairsBoard::Flip::Ignored); // the open card again: no turn
        QCOMPARE(board.turns(), 0);
        QCOMPARE(board.flip(2), PairsBoard::Flip::Mismatch);
        QCOMPARE(board.turns(), 1);
        QVERIFY(board.mismatchShowing());
        QVERIFY(board.card(0).faceUp && board.card(2).faceUp);
        // The next card ends the mismatch and starts the next turn.
        QCOMPARE(board.flip(3), PairsBoard::Flip::First);
        QVERIFY(!board.card(0).faceUp && !board.card(2).faceUp);
        QCOMPARE(board.flip(2), PairsBoard::Flip::Match);
        QCOMPARE(board.turns(), 2);
        QCOMPARE(board.flip(2), PairsBoard::Flip::Ignored); // matched cards stay out of play
        QCOMPARE(board.flip(99), PairsBoard::Flip::Ignored);
        QCOMPARE(board.flip(4), PairsBoard::Flip::First);
        QCOMPARE(board.flip(1), PairsBoard::Flip::Mismatch);
        board.hideMismatch();
        QVERIFY(!board.mismatchShowing());
        QCOMPARE(board.flip(0), PairsBoard::Flip::First);
        QCOMPARE(board.flip(1), PairsBoard::Flip::Match);
        QCOMPARE(board.flip(4), PairsBoard::Flip::First);
        QCOMPARE(board.flip(5), PairsBoard::Flip::Match);
        QVERIFY(board.finished());
        QCOMPARE(board.turns(), 5);
    }

    void cardsThatReadAlikeAreLeftOut()
    {
        const QStringList texts { "Hallo!", "Tschüss!", "hallo! ", "Hotel", "Danke", "Bitte" };
        const QStringList translations { "Hello!", "Bye!", "Hi!", "Hotel", "Thanks", "bye!" };
        QCOMPARE(PairsBoard::distinctPairs(texts, translations), (std::vector<int> { 0, 1, 3, 4 }));
        QCOMPARE(pairs::boardColumns(4), 2);
        QCOMPARE(pairs::boardColumns(10), 5);
        QCOMPARE(pairs::boardColumns(16), 4);
        QCOMPARE(pairs::boardColumns(20), 5);
        QCOMPARE(pairs::turnsText(Language::English, 1), QStringLiteral("1 turn"));
        QCOMPARE(pairs::turnsText(Language::Spanish, 12), QStringLiteral("12 intentos"));
    }

    // The turns as the learner reads them, and the pairs found per turn as the per cent the charts draw.
    void aGameInTheWindowStoresTurnsAndPairsPerTurn()
    {
        gametest::Launch launch;
        PairsWindow window(launch.context(pairs::activity(), launch.exchange(3)));
        gametest::showWindow(&window);
        const PairsBoard& board = window.board();
        QCOMPARE(board.cardCount(), 6);
        // One miss with the keyboard: the card under the cursor and the next one that is not its partner.
        const int other = gametest::partner(board, 0) == 1 ? 2 : 1;
        gametest::sendKey(&window, Qt::Key_Space);
        for (int i = 0; i < other; ++i)
            gametest::sendKey(&window, Qt::Key_Right);
        QCOMPARE(window.cursor(), other);
        gametest::sendKey(&window, Qt::Key_Enter);
        QVERIFY(board.mismatchShowing());
        QTRY_VERIFY_WITH_TIMEOUT(!board.mismatchShowing(), 3000); // turned back by itself
        for (int i = 0; i < board.cardCount(); ++i) {
            if (board.card(i).matched)
                continue;
            const int p = gametest::partner(board, i);
            for (int pos : { i, p }) {
                while (window.cursor() != pos)
                    gametest::sendKey(&window, Qt::Key_Right);
                gametest::sendKey(&window, Qt::Key_Space);
            }
        }
        QVERIFY(window.showingResult());
        QCOMPARE(window.resultHeadline(), QStringLiteral("4 turns"));
        QVERIFY(gametest::waitForSave(window));
        QCOMPARE(launch.rows(), QStringList { "Ana O'Brien \"Nana\"|Greetings|Pairs|4 turns|75" });
        // A phrase card speaks when it is turned; a translation card is silent.
        QSet<QString> sounds;
        for (const Phrase& p : window.phrases())
            sounds.insert(p.soundFile);
        QVERIFY(launch.sound.played.size() >= 3);
        for (const QString& played : launch.sound.played)
            QVERIFY(sounds.contains(played));
    }

    // A translation card reads the translation into the learner's language in every product, never the second
    // translation; and the pairs the game can tell apart are counted on that translation.
    void translationCardsAreInTheLearnersLanguageInEveryProduct()
    {
        for (const gametest::Product& product : gametest::products()) {
            gametest::Launch launch;
            const Exchange x = launch.exchange(product, 3);
            PairsWindow window(launch.context(pairs::activity(), x));
            gametest::showWindow(&window);
            const PairsBoard& board = window.board();
            for (int i = 0; i < board.cardCount(); ++i) {
                if (board.card(i).matched)
                    continue;
                const int p = gametest::partner(board, i);
                for (int pos : { i, p }) {
                    while (window.cursor() != pos)
                        gametest::sendKey(&window, Qt::Key_Right);
                    gametest::sendKey(&window, Qt::Key_Space);
                }
                if (window.showingResult())
                    break;
                const Phrase& phrase = x.phrases[window.phraseOf(i)];
                const QStringList shown = gametest::visibleTexts(&window);
                QVERIFY2(shown.contains(phrase.tPhrase) && shown.contains(phrase.tTranslation),
                    qPrintable(product.code + ": " + shown.join(" | ")));
                gametest::verifyNoSecondTranslation(&window, x);
            }
            QVERIFY(window.showingResult());
            Exchange same = x;
            for (Phrase& p : same.phrases)
                p.tTranslation2 = product.secondTranslationWord;
            QCOMPARE(pairs::activity().usablePhrases(same.phrases), 3);
            same.phrases[1].tTranslation = same.phrases[0].tTranslation;
            QCOMPARE(pairs::activity().usablePhrases(same.phrases), 2);
        }
    }

    void longPhrasesFitTheirCardsWhole()
    {
        QFont base;
        base.setPointSize(13);
        QCOMPARE(pairs::fittingCardFont(QStringLiteral("Ja"), base, { 150, 70 }).pointSizeF(), 13.0);
        QCOMPARE(
            pairs::fittingCardFont(QString(400, 'x'), base, { 150, 70 }).pointSizeF(), pairs::MinimumCardPointSize);

        gametest::Launch launch;
        Exchange x = launch.exchange(platform::exchange::MaxPhrases);
        const QStringList longTexts { "Entschuldigung, wo ist die Bushaltestelle? Ich habe Kopfschmerzen und Fieber.",
            "Excuse me, where is the nearest bus stop? I have a headache, a sore throat and a temperature." };
        x.phrases[0].tPhrase = longTexts[0];
        x.phrases[1].tTranslation = longTexts[1];
        applyGameStyle(*qApp, pairs::activity().accent); // the style sheet must not undo the fitted fonts
        PairsWindow window(launch.context(pairs::activity(), x));
        window.resize(gameWindowSize({ 1024, 768 }));
        gametest::showWindow(&window);
        const PairsBoard& board = window.board();
        for (int pos = 0; pos < board.cardCount(); ++pos) {
            if (window.phraseOf(pos) != (board.card(pos).translation ? 1 : 0))
                continue;
            while (window.cursor() != pos)
                gametest::sendKey(&window, Qt::Key_Right);
            gametest::sendKey(&window, Qt::Key_Space);
        }
        QVERIFY(board.mismatchShowing());
        int checked = 0;
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            if (!longTexts.contains(label->text()))
                continue;
            ++checked;
            const QRect room = label->contentsRect();
            const QRect used = QFontMetrics(label->font()).boundingRect(room, pairs::CardTextFlags, label->text());
            QVERIFY2(room.contains(used) && label->font().pointSizeF() < 13,
                qPrintable(QStringLiteral("%1 at %2pt").arg(label->text()).arg(label->font().pointSizeF())));
        }
        QCOMPARE(checked, 2);
    }

    void withoutSoundOutputTheGameTellsOnceAndGoesOn()
    {
        gametest::Launch launch;
        GameContext context = launch.context(pairs::activity(), launch.exchange(2, Language::Spanish));
        context.soundOutput = false;
        PairsWindow window(context);
        gametest::showWindow(&window);
        QTRY_COMPARE(launch.dialogs.messages.size(), 1); // before the first card is turned
        for (int round = 0; round < 2; ++round) {
            const PairsBoard& board = window.board(); // each round deals a new board
            for (int i = 0; i < board.cardCount(); ++i) {
                if (board.card(i).matched)
                    continue;
                for (int pos : { i, gametest::partner(board, i) }) {
                    while (window.cursor() != pos)
                        gametest::sendKey(&window, Qt::Key_Right);
                    gametest::sendKey(&window, Qt::Key_Space);
                }
            }
            QVERIFY(window.showingResult());
            gametest::sendKey(&window, Qt::Key_Return);
        }
        QVERIFY(launch.sound.played.isEmpty());
        QCOMPARE(launch.dialogs.messages.size(), 1);
        QVERIFY(launch.dialogs.messages.first().startsWith("Parejas: Este ordenador no tiene salida de sonido"));
    }
};

QTEST_MAIN(TestPairs)
#include "tst_pairs.moc"
