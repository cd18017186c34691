#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include "gamefixture.h"
#include "games/listenandchoose/choosequiz.h"
#include "games/listenandchoose/choosetexts.h"
#include "games/listenandchoose/choosewindow.h"

using namespace games;

namespace {
// The options of a question are the answer once and others, all different as the learner reads them.
void verifyQuestion(const ChoiceQuestion& q, const QStringList& translations, int expectedOptions)
{
    QCOMPARE(q.options.size(), expectedOptions);
    QVERIFY(q.answer >= 0 && q.answer < q.options.size());
    QCOMPARE(q.options[q.answer], translations[q.phrase]);
    QSet<QString> keys;
    for (const QString& o : q.options) {
        QVERIFY(translations.contains(o));
        keys.insert(ChooseQuiz::optionKey(o));
    }
    QCOMPARE(keys.size(), q.options.size());
}
}

class TestChoose : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void distractorsNeverRepeatTheAnswer()
    {
        // Two phrases share a translation up to case and blanks; a third differs only in its blanks.
        const QStringList translations { "Hello!", "Good morning.", "hello! ", "Good  morning.", "Goodbye!", "Thanks.",
            "See you." };
        QCOMPARE(ChooseQuiz::distinctTranslations(translations), 5);
        QRandomGenerator random(11);
        QSet<int> answerPlaces;
        for (int round = 0; round < 300; ++round) {
            const int phrase = random.bounded(translations.size());
            const ChoiceQuestion q = ChooseQuiz::makeQuestion(phrase, translations, &random);
            verifyQuestion(q, translations, 4);
            answerPlaces.insert(q.answer);
        }
        QCOMPARE(answerPlaces.size(), 4); // the answer is not always in the same place
    }

    void threePhrasesGiveThreeOptions()
    {
        const QStringList translations { "Red", "Green", "Blue" };
        QRandomGenerator random(3);
        for (int phrase = 0; phrase < 3; ++phrase) {
            for (int round = 0; round < 20; ++round)
                verifyQuestion(ChooseQuiz::makeQuestion(phrase, translations, &random), translations, 3);
        }
        // With a shared translation only two different options remain.
        const QStringList shared { "Red", "red", "Blue" };
        verifyQuestion(ChooseQuiz::makeQuestion(0, shared, &random), shared, 2);
        QCOMPARE(ChooseQuiz::distinctTranslations(shared), 2);
    }

    void onlyARightFirstPickScores()
    {
        const QStringList translations { "One", "Two", "Three", "Four", "Five" };
        QRandomGenerator random(5);
        ChooseQuiz quiz(translations, &random);
        QCOMPARE(quiz.total(), 5);
        QSet<int> heard;
        int round = 0;
        while (!quiz.finished()) {
            const ChoiceQuestion q = quiz.question();
            heard.insert(q.phrase);
            QVERIFY(!quiz.next()); // not before the answer is found
            if (round % 2 == 1) {
                const int wrong = (q.answer + 1) % q.options.size();
                QCOMPARE(quiz.pick(wrong), ChooseQuiz::Pick::Wrong);
                QCOMPARE(quiz.pick(wrong), ChooseQuiz::Pick::Ignored);
                QVERIFY(quiz.missed(wrong));
            }
            QCOMPARE(quiz.pick(q.answer), ChooseQuiz::Pick::Right);
            QCOMPARE(quiz.pick(q.answer), ChooseQuiz::Pick::Ignored);
            QCOMPARE(quiz.firstTryWasRight(), round % 2 == 0);
            QVERIFY(quiz.next());
            ++round;
        }
        QCOMPARE(heard.size(), 5);
        QCOMPARE(quiz.rightFirst(), 3);
        QCOMPARE(quiz.pick(0), ChooseQuiz::Pick::Ignored);
        QCOMPARE(quiz.pick(-1), ChooseQuiz::Pick::Ignored);
    }

    void aRoundPlayedWithNumberKeysStoresItsScore()
    {
        gametest::Launch launch;
        ChooseWindow window(launch.context(choose::activity(), launch.exchange(4, Language::Spanish)));
        gametest::showWindow(&window);
        int wrongFirst = 0;
        for (int i = 0; i < 4; ++i) {
            const ChoiceQuestion q = window.quiz().question();
            QCOMPARE(launch.sound.played.last(), window.phrases()[q.phrase].soundFile);
            if (i == 0) {
                gametest::sendKey(&window, Qt::Key_1 + (q.answer + 1) % q.options.size());
                ++wrongFirst;
            }
            gametest::sendKey(&window, Qt::Key_Return); // no next before the right answer
            QCOMPARE(window.quiz().number(), i + 1);
            gametest::sendKey(&window, Qt::Key_1 + q.answer);
            QVERIFY(window.quiz().answered());
            gametest::sendKey(&window, Qt::Key_Return);
        }
        QVERIFY(window.showingResult());
        QCOMPARE(window.resultHeadline(), QStringLiteral("3 / 4"));
        QVERIFY(gametest::waitForSave(window));
        QCOMPARE(launch.rows(), QStringList { "Ana O'Brien \"Nana\"|Greetings|Escucha y elige|3 / 4|3" });
    }

    void withoutItsSoundAPhraseIsReadInstead()
    {
        gametest::Launch launch;
        Exchange x = launch.exchange(3);
        for (const Phrase& p : x.phrases)
            QFile::remove(p.soundFile);
        x.phrases[1].soundFile.clear();
        ChooseWindow window(launch.context(choose::activity(), x));
        gametest::showWindow(&window);
        for (int i = 0; i < 3; ++i) {
            const ChoiceQuestion q = window.quiz().question();
            QCOMPARE(window.shownPhrase(), window.phrases()[q.phrase].tPhrase);
            QVERIFY(gametest::visibleTexts(&window).contains("Read, then choose what it means."));
            gametest::sendKey(&window, Qt::Key_1 + q.answer);
            gametest::sendKey(&window, Qt::Key_Return);
        }
        QVERIFY(launch.sound.played.isEmpty());
        QVERIFY(gametest::waitForSave(window));
        QCOMPARE(launch.rows().size(), 1);
        // Three silent phrases, one notice.
        QTRY_COMPARE(launch.dialogs.messages.size(), 1);
        QVERIFY2(
            launch.dialogs.messages.first().contains("cannot be played"), qPrintable(launch.dialogs.messages.first()));
    }

    void aPhraseThatIsHeardIsNotGivenAway()
    {
        gametest::Launch launch;
        Exchange x = launch.exchange(3, Language::Spanish);
        QFile::remove(x.phrases[2].soundFile);
        ChooseWindow window(launch.context(choose::activity(), x));
        gametest::showWindow(&window);
        for (int i = 0; i < 3; ++i) {
            const ChoiceQuestion q = window.quiz().question();
            const QString phrase = window.phrases()[q.phrase].tPhrase;
            QCOMPARE(window.shownPhrase() == phrase, q.phrase == 2);
            gametest::sendKey(&window, Qt::Key_1 + q.answer);
            QCOMPARE(window.shownPhrase(), phrase); // found: now it may be read
            gametest::sendKey(&window, Qt::Key_Return);
        }
        QCOMPARE(launch.sound.played.size(), 2);
        QTRY_COMPARE(launch.dialogs.messages.size(), 1);
        QVERIFY(launch.dialogs.messages.first().contains("~prl13.wav"));
    }

    void withoutSoundOutputEveryPhraseIsRead()
    {
        gametest::Launch launch;
        GameContext context = launch.context(choose::activity(), launch.exchange(3, Language::Spanish));
        context.soundOutput = false;
        ChooseWindow window(context);
        gametest::showWindow(&window);
        for (int round = 0; round < 2; ++round) {
            while (!window.showingResult()) {
                const ChoiceQuestion q = window.quiz().question();
                QCOMPARE(window.shownPhrase(), window.phrases()[q.phrase].tPhrase);
                QVERIFY(gametest::visibleTexts(&window).contains("Lee y elige lo que significa."));
                gametest::sendKey(&window, Qt::Key_Space); // listening again stays silent
                gametest::sendKey(&window, Qt::Key_1 + q.answer);
                gametest::sendKey(&window, Qt::Key_Return);
            }
            gametest::sendKey(&window, Qt::Key_Return);
        }
        QVERIFY(launch.sound.played.isEmpty());
        QTRY_COMPARE(launch.dialogs.messages.size(), 1);
        QVERIFY(
            launch.dialogs.messages.first().startsWith("Escucha y elige: Este ordenador no tiene salida de sonido"));
    }

    // The options are the translations into the learner's language in every product; the second translations
    // neither show nor count towards the phrases the game can tell apart.
    void theOptionsAreTheLearnersTranslationsInEveryProduct()
    {
        for (const gametest::Product& product : gametest::products()) {
            gametest::Launch launch;
            const Exchange x = launch.exchange(product, 4);
            const QStringList translations = translationsOf(x.phrases);
            ChooseWindow window(launch.context(choose::activity(), x));
            gametest::showWindow(&window);
            while (!window.showingResult()) {
                const ChoiceQuestion q = window.quiz().question();
                verifyQuestion(q, translations, 4);
                QCOMPARE(q.options[q.answer], x.phrases[q.phrase].tTranslation);
                gametest::verifyNoSecondTranslation(&window, x);
                gametest::sendKey(&window, Qt::Key_1 + q.answer);
                gametest::verifyNoSecondTranslation(&window, x);
                gametest::sendKey(&window, Qt::Key_Return);
            }
            Exchange same = x;
            for (Phrase& p : same.phrases)
                p.tTranslation2 = product.secondTranslationWord;
            QCOMPARE(choose::activity().usablePhrases(same.phrases), 4);
            for (Phrase& p : same.phrases)
                p.tTranslation = x.phrases[0].tTranslation;
            QCOMPARE(choose::activity().usablePhrases(same.phrases), 1);
        }
    }
};

QTEST_MAIN(TestChoose)
#include "tst_choose.moc"
