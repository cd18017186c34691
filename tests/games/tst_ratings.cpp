#include <functional>

#include <QRandomGenerator>
#include <QtTest>

#include "games/common/rating.h"
#include "games/dictation/dictationcheck.h"
#include "games/flashcards/flashcarddeck.h"
#include "games/listenandchoose/choosequiz.h"
#include "games/pairs/pairsboard.h"

using namespace games;

// Every game rates a phrase by the one rule of rateAnswer from the mistakes it counts itself.
class TestRatings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theRule_data()
    {
        QTest::addColumn<int>("mistakes");
        QTest::addColumn<qint64>("answerMs"); // -1: not measured
        QTest::addColumn<int>("rating");
        QTest::newRow("at once, quickly") << 0 << QuickAnswerMs << 4;
        QTest::newRow("at once, slowly") << 0 << QuickAnswerMs + 1 << 3;
        QTest::newRow("at once, not timed") << 0 << qint64(-1) << 3;
        QTest::newRow("one mistake, quickly") << 1 << qint64(800) << 2;
        QTest::newRow("two mistakes") << 2 << qint64(800) << 1;
        QTest::newRow("many") << 7 << qint64(-1) << 1;
    }
    void theRule()
    {
        QFETCH(int, mistakes);
        QFETCH(qint64, answerMs);
        QFETCH(int, rating);
        const std::optional<qint64> ms = answerMs < 0 ? std::nullopt : std::optional<qint64>(answerMs);
        QCOMPARE(static_cast<int>(rateAnswer(mistakes, ms)), rating);
    }

    void eachGameCountsItsMistakes()
    {
        QRandomGenerator random(7);
        const struct
        {
            const char* what;
            std::function<int()> mistakes;
            int expected;
        } cases[] = {
            { "flashcards: known at once",
                [] {
                    FlashcardDeck deck(1);
                    deck.reveal();
                    deck.markKnown();
                    return deck.notYets(0);
                },
                0 },
            { "flashcards: not yet twice",
                [] {
                    FlashcardDeck deck(2);
                    for (const bool known : { false, true, false, true }) {
                        deck.reveal();
                        known ? deck.markKnown() : deck.markNotYet();
                    }
                    return deck.notYets(0);
                },
                2 },
            { "listen and choose: one wrong pick",
                [&random] {
                    ChooseQuiz quiz({ "a", "b", "c" }, &random);
                    const ChoiceQuestion q = quiz.question();
                    quiz.pick((q.answer + 1) % q.options.size());
                    quiz.pick(q.answer);
                    return quiz.wrongPicks(q.phrase);
                },
                1 },
            { "pairs: both pairs of a mismatch",
                [] {
                    PairsBoard board(2); // unshuffled: phrase 0, translation 0, phrase 1, translation 1
                    for (const int card : { 0, 2, 0, 1, 2, 3 })
                        board.flip(card);
                    return board.finished() ? board.mismatches(0) * 10 + board.mismatches(1) : -1;
                },
                11 },
            { "dictation: all right", [] { return dictationMistakes(checkDictation("Grüße, Anna!", "grüße anna")); },
                0 },
            { "dictation: accents only",
                [] { return dictationMistakes(checkDictation("Mañana, Mädchen", "manana madchen")); }, 1 },
            { "dictation: ss for ß", [] { return dictationMistakes(checkDictation("Grüße", "Grüsse")); }, 2 },
            { "dictation: a letter missing", [] { return dictationMistakes(checkDictation("Mädchen", "Madchn")); }, 2 },
        };
        for (const auto& c : cases)
            QVERIFY2(c.mistakes() == c.expected, c.what);
    }
};

QTEST_GUILESS_MAIN(TestRatings)
#include "tst_ratings.moc"
