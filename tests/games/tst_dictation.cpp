#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "gamefixture.h"
#include "games/dictation/dictationcheck.h"
#include "games/dictation/dictationtexts.h"
#include "games/dictation/dictationwindow.h"

using namespace games;

namespace {
QString marks(const std::vector<Mark>& m)
{
    QString out;
    for (Mark k : m)
        out += k == Mark::Right ? '+' : k == Mark::Wrong ? 'x' : '.';
    return out;
}
}

class TestDictation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void normalisationIgnoresCaseBlanksAndPunctuation()
    {
        QCOMPARE(dictationKey(QStringLiteral("  ¿Wie   heißt du?  ")), QStringLiteral("wie heißt du"));
        QCOMPARE(dictationKey(QStringLiteral("Sehr gut, danke.")), QStringLiteral("sehr gut danke"));
        QCOMPARE(dictationKey(QStringLiteral("Je m'appelle Anna !")), QStringLiteral("je mappelle anna"));
        QCOMPARE(dictationKey(QStringLiteral("\t¡Hola!\n")), QStringLiteral("hola"));
        QCOMPARE(dictationKey(QStringLiteral("...")), QString());
        // French prints a no-break space before ? and !; a learner types an ordinary blank there, or none.
        QVERIFY(checkDictation(QStringLiteral("Tu viens d'o\u00f9\u00a0?"), QStringLiteral("tu viens d'o\u00f9?"))
                    .perfect());
        QVERIFY(checkDictation(QStringLiteral("Allez\u00a0!"), QStringLiteral("Allez !")).perfect());
        // The same letter typed as a base letter and a combining accent.
        QCOMPARE(dictationKey(QStringLiteral("Tschu\u0308ss")), dictationKey(QStringLiteral("Tschüss")));

        const DictationCheck same = checkDictation(QStringLiteral("Guten Morgen."), QStringLiteral("  guten   MORGEN"));
        QVERIFY(same.perfect());
        QCOMPARE(same.percent(), 100);
        QCOMPARE(same.compared, 12);
    }

    void accentsAndLettersCount()
    {
        const DictationCheck c = checkDictation(QStringLiteral("Tschüss"), QStringLiteral("tschuss"));
        QCOMPARE(c.right, 6);
        QCOMPARE(c.compared, 7);
        QCOMPARE(c.percent(), 86);
        QCOMPARE(marks(c.expectedMarks), QStringLiteral("++++x++"));
        QCOMPARE(marks(c.typedMarks), QStringLiteral("++++x++"));
    }

    void doubleSForSharpSIsOneCharacterWrong()
    {
        struct Case
        {
            QString expected, typed;
            int right, compared;
            QString expectedMarks, typedMarks;
        };
        const QList<Case> cases {
            { "Straße", "strasse", 5, 6, "++++x+", "++++xx+" }, // as "Strase": one character wrong
            { "Fuß", "FUSS", 2, 3, "++x", "++xx" },
            { "Strasse", "Straße", 5, 7, "++++xx+", "++++x+" }, // only the one way round
        };
        for (const Case& c : cases) {
            const DictationCheck check = checkDictation(c.expected, c.typed);
            QCOMPARE(check.right, c.right);
            QCOMPARE(check.compared, c.compared);
            QCOMPARE(marks(check.expectedMarks), c.expectedMarks);
            QCOMPARE(marks(check.typedMarks), c.typedMarks);
        }
    }

    void missingAndExtraCharactersAreMarkedWhereTheyAre()
    {
        // A letter left out: it shows in the phrase, the answer has nothing there.
        const DictationCheck left = checkDictation(QStringLiteral("Hallo!"), QStringLiteral("Halo"));
        QCOMPARE(left.right, 4);
        QCOMPARE(left.compared, 5);
        QCOMPARE(marks(left.expectedMarks).count('x'), 1);
        QCOMPARE(marks(left.expectedMarks).back(), QChar('.')); // the "!" is not compared
        QCOMPARE(marks(left.typedMarks), QStringLiteral("++++"));

        // Letters typed too many count against the answer.
        const DictationCheck extra = checkDictation(QStringLiteral("Ja"), QStringLiteral("Jaaaa"));
        QCOMPARE(extra.right, 2);
        QCOMPARE(extra.compared, 5);
        QCOMPARE(extra.percent(), 40);
        QCOMPARE(marks(extra.expectedMarks), QStringLiteral("++"));

        // Words run together: the missing blank is the one fault.
        const DictationCheck joined = checkDictation(QStringLiteral("Bis morgen!"), QStringLiteral("bismorgen"));
        QCOMPARE(joined.right, 9);
        QCOMPARE(joined.compared, 10);
        QCOMPARE(marks(joined.expectedMarks), QStringLiteral("+++x++++++."));

        const DictationCheck nothing = checkDictation(QStringLiteral("Danke."), QString());
        QCOMPARE(nothing.right, 0);
        QCOMPARE(nothing.percent(), 0);
    }

    void theRoundCountsEveryCharacter()
    {
        DictationRound round({ 1, 0 });
        QCOMPARE(round.current(), 1);
        QVERIFY(!round.answer(QStringLiteral("Ja"), QStringLiteral(" ?! "))); // nothing typed yet
        QVERIFY(round.answer(QStringLiteral("Ja"), QStringLiteral("ja")));
        QVERIFY(round.checked());
        QVERIFY(!round.answer(QStringLiteral("Ja"), QStringLiteral("ja"))); // one answer per phrase
        QCOMPARE(round.current(), 1);
        QVERIFY(round.next());
        QCOMPARE(round.current(), 0);
        QVERIFY(round.answer(QStringLiteral("Nein danke"), QStringLiteral("nein")));
        QVERIFY(round.next());
        QVERIFY(round.finished());
        // 2 of 2 and 4 of 10: 6 of 12 characters, not the mean of 100% and 40%.
        QCOMPARE(round.right(), 6);
        QCOMPARE(round.compared(), 12);
        QCOMPARE(round.percent(), 50);
    }

    void differencesAreShownAsMarkedText()
    {
        const DictationCheck c = checkDictation(QStringLiteral("Gute Nacht."), QStringLiteral("gute nackt"));
        const QString expected = dictation::markedHtml(c.expected, c.expectedMarks, true);
        QVERIFY2(expected.contains("text-decoration:underline; font-weight:bold;\">h</span>"), qPrintable(expected));
        const QString typed = dictation::markedHtml(c.typed, c.typedMarks, false);
        QVERIFY2(typed.contains("line-through;\">k</span>"), qPrintable(typed));
        QVERIFY(dictation::markedHtml(QStringLiteral("<b>"), { Mark::Right, Mark::Right, Mark::Right }, true)
                    .contains("&lt;b&gt;"));
        QCOMPARE(dictation::percentText(Language::English, 87), QStringLiteral("87%"));
        QCOMPARE(dictation::percentText(Language::Spanish, 87), QStringLiteral("87 %"));
    }

    void aRoundTypedInTheWindowStoresItsScore()
    {
        gametest::Launch launch;
        const Exchange x = launch.exchange(2);
        DictationWindow window(launch.context(dictation::activity(), x));
        gametest::showWindow(&window);
        QCOMPARE(window.focusWidget(), window.answerBox());
        gametest::sendKey(&window, Qt::Key_Return); // nothing typed: nothing checked
        QVERIFY(!window.round().checked());

        const QString first = x.phrases[window.round().current()].tPhrase; // "Satz k"
        gametest::sendText(&window, first.toUpper());
        gametest::sendKey(&window, Qt::Key_Return);
        QVERIFY(window.round().checked());
        QCOMPARE(window.round().number(), 1); // one Enter checks, it does not also move on
        QCOMPARE(window.round().lastCheck().percent(), 100);
        gametest::sendKey(&window, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(launch.sound.played.size(), 2);
        gametest::sendKey(&window, Qt::Key_Return);
        QCOMPARE(window.round().number(), 2);
        QVERIFY(window.answerBox()->text().isEmpty());
        QCOMPARE(launch.sound.played.size(), 3);

        gametest::sendText(&window, QStringLiteral("Sat"));
        gametest::sendKey(&window, Qt::Key_Return);
        gametest::sendKey(&window, Qt::Key_Return);
        QVERIFY(window.showingResult());
        // 6 of 6, then 3 of 6.
        QCOMPARE(window.resultHeadline(), QStringLiteral("75%"));
        QVERIFY(gametest::waitForSave(window));
        QCOMPARE(launch.rows(), QStringList { "Ana O'Brien \"Nana\"|Greetings|Dictation|75%|75" });
    }

    void aPhraseThatCannotBeHeardIsShownToType()
    {
        gametest::Launch launch;
        Exchange x = launch.exchange(3, Language::Spanish);
        QFile::remove(x.phrases[1].soundFile);
        QFile bad(x.phrases[2].soundFile); // a file that is no sound at all
        QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write("not a wave");
        bad.close();
        DictationWindow window(launch.context(dictation::activity(), x));
        gametest::showWindow(&window);
        while (!window.showingResult()) {
            const int phrase = window.round().current();
            QCOMPARE(window.shownPhrase(), phrase == 0 ? QString() : x.phrases[phrase].tPhrase);
            QCOMPARE(window.answerBox()->placeholderText(),
                phrase == 0 ? QStringLiteral("Escribe lo que oyes") : QStringLiteral("Escribe la frase de arriba"));
            gametest::sendText(&window, x.phrases[phrase].tPhrase);
            gametest::sendKey(&window, Qt::Key_Return);
            gametest::sendKey(&window, Qt::Key_Return);
        }
        QCOMPARE(window.resultHeadline(), QStringLiteral("100 %"));
        QCOMPARE(launch.sound.played, QStringList { x.phrases[0].soundFile });
        QTRY_COMPARE(launch.dialogs.messages.size(), 1);
        QVERIFY2(launch.dialogs.messages.first().startsWith("Dictado: No se puede reproducir el sonido"),
            qPrintable(launch.dialogs.messages.first()));
    }

    void withoutSoundOutputTheLearnerIsToldOnce()
    {
        gametest::Launch launch;
        const Exchange x = launch.exchange(2);
        GameContext context = launch.context(dictation::activity(), x);
        context.soundOutput = false;
        DictationWindow window(context);
        gametest::showWindow(&window);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(window.shownPhrase(), x.phrases[window.round().current()].tPhrase);
            gametest::sendKey(&window, Qt::Key_Space, Qt::ControlModifier);
            gametest::sendText(&window, QStringLiteral("x"));
            gametest::sendKey(&window, Qt::Key_Return);
            gametest::sendKey(&window, Qt::Key_Return);
        }
        QVERIFY(window.showingResult());
        QVERIFY(launch.sound.played.isEmpty());
        QTRY_COMPARE(launch.dialogs.messages.size(), 1);
        QVERIFY(launch.dialogs.messages.first().contains("no sound output"));
    }

    // What the phrase means is said in the learner's language in every product; the second translation never
    // shows, neither before nor after the answer is checked.
    void theMeaningIsInTheLearnersLanguageInEveryProduct()
    {
        for (const gametest::Product& product : gametest::products()) {
            gametest::Launch launch;
            const Exchange x = launch.exchange(product, 2);
            DictationWindow window(launch.context(dictation::activity(), x));
            gametest::showWindow(&window);
            while (!window.showingResult()) {
                const Phrase& p = x.phrases[window.round().current()];
                const QString means = say(window.language(), dictation::Means).arg(p.tTranslation);
                QVERIFY2(gametest::visibleTexts(&window).contains(means), qPrintable(product.code));
                gametest::verifyNoSecondTranslation(&window, x);
                window.answerBox()->setText(p.tPhrase); // the key presses of a test can only be ASCII
                gametest::sendKey(&window, Qt::Key_Return);
                gametest::verifyNoSecondTranslation(&window, x);
                gametest::sendKey(&window, Qt::Key_Return);
            }
        }
    }

    void theLettersOfTheLanguageTaughtHaveButtons()
    {
        const QMap<QString, QString> letters { { "German", "äöüßÄÖÜ" }, { "French", "éèêëàâçîïôùûœ" },
            { "Spanish", "ñáéíóúü¿¡" }, { "Italian", "àèéìòù" }, { "English", "" } };
        for (const gametest::Product& product : gametest::products()) {
            gametest::Launch launch;
            DictationWindow window(launch.context(dictation::activity(), launch.exchange(product, 1)));
            const QString name = product.language == Language::Spanish ? "Escribir la letra " : "Type the letter ";
            QString shown;
            for (const QPushButton* button : window.letterButtons()) {
                shown += button->text();
                QCOMPARE(button->accessibleName(), name + button->text());
            }
            QCOMPARE(shown, letters.value(product.taught));
        }
    }

    void aLetterButtonTypesAtTheCursorAndGivesTheKeyboardBack()
    {
        gametest::Launch launch;
        DictationWindow window(launch.context(dictation::activity(), launch.exchange(1)));
        gametest::showWindow(&window);
        QLineEdit* box = window.answerBox();
        box->setText(QStringLiteral("Grüe"));
        box->setCursorPosition(3);
        box->clearFocus();
        window.letterButtons().at(3)->click(); // ß
        QCOMPARE(box->text(), QStringLiteral("Grüße"));
        QCOMPARE(box->cursorPosition(), 4);
        QVERIFY(box->hasFocus());
        gametest::sendKey(&window, Qt::Key_Return);
        QVERIFY(window.round().checked());
        window.letterButtons().at(3)->click(); // the answer stays as it was checked
        QCOMPARE(box->text(), QStringLiteral("Grüße"));
    }
};

QTEST_MAIN(TestDictation)
#include "tst_dictation.moc"
