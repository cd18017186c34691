#include <QtTest>

#include "gamefixture.h"
#include "games/speak/speakround.h"
#include "games/speak/speaktexts.h"
#include "games/speak/speakwindow.h"
#include "games/speak/speechcapture.h"
#include "platform/wave.h"
#include "platform/wholefile.h"

using namespace games;

namespace {

// A launch of German phrases whose sounds are spoken ones, and the learner's saying of the first phrase.
struct SpokenLaunch
{
    SpokenLaunch(const QStringList& texts, const QString& learnerSays)
    {
        exchange = launch.exchange(int(texts.size()));
        for (int i = 0; i < texts.size(); ++i) {
            exchange.phrases[i].tPhrase = texts[i];
            QVERIFY(gametest::espeak(texts[i], QStringLiteral("de"), exchange.phrases[i].soundFile));
        }
        launch.writeFile(exchange);
        learner = launch.path(QStringLiteral("learner.wav"));
        QVERIFY(gametest::espeak(learnerSays, QStringLiteral("de+f3"), learner));
        qputenv(SpeakCaptureVariable, learner.toUtf8());
    }
    ~SpokenLaunch() { qunsetenv(SpeakCaptureVariable); }

    gametest::Launch launch;
    Exchange exchange;
    QString learner;
};

}

class TestSpeak : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bestOfThreeTriesCountsAndRates_data()
    {
        QTest::addColumn<QList<int>>("tries");
        QTest::addColumn<int>("best");
        QTest::addColumn<int>("rating");
        QTest::newRow("well said at once") << QList<int> { 90 } << 90 << int(Rating::Easy);
        QTest::newRow("better at the third try") << QList<int> { 30, 50, 70 } << 70 << int(Rating::Good);
        QTest::newRow("a fourth try does not count") << QList<int> { 20, 30, 45, 99 } << 45 << int(Rating::Hard);
        QTest::newRow("nothing said") << QList<int> { 0 } << 0 << int(Rating::Again);
        QTest::newRow("no try") << QList<int> {} << -1 << int(Rating::NotRated);
    }
    void bestOfThreeTriesCountsAndRates()
    {
        QFETCH(QList<int>, tries);
        QFETCH(int, best);
        QFETCH(int, rating);
        SpeakRound round(2);
        for (int score : tries)
            round.addTry(score);
        QCOMPARE(round.best(0), best);
        QCOMPARE(int(round.rating(0)), rating);
        round.next();
        round.addTry(60);
        round.next();
        QVERIFY(round.finished());
        QCOMPARE(round.meanScore(), (std::max(best, 0) + 60 + 1) / 2);
    }

    void theWordAtAMomentGoesByItsLetters()
    {
        // "Guten Morgen, Anna" has 5 + 6 + 4 letters over 1.5 s of speech from 100 ms on.
        const QString phrase = QStringLiteral("Guten Morgen, Anna");
        QCOMPARE(wordAt(phrase, 100, 100, 1600), 0);
        QCOMPARE(wordAt(phrase, 700, 100, 1600), 1);
        QCOMPARE(wordAt(phrase, 1590, 100, 1600), 2);
        QCOMPARE(wordAt(phrase, 99999, 100, 1600), 2);
        QCOMPARE(wordAt(QStringLiteral("¡…!"), 500, 0, 1000), -1);
        QCOMPARE(phraseWords(phrase).at(1).from, 6);
    }

    // A round as a learner plays it: the phrase is said, compared and scored; the round stores its score and a
    // rated row per phrase.
    void aSayingIsComparedAndTheRoundStored()
    {
        SpokenLaunch spoken(
            { QStringLiteral("Guten Morgen"), QStringLiteral("Danke schön") }, QStringLiteral("Guten Morgen"));
        SpeakWindow window(spoken.launch.context(speak::activity(), spoken.exchange));
        gametest::showWindow(&window);
        QSignalSpy ended(&window, &SpeakWindow::recordingEnded);
        gametest::sendKey(&window, Qt::Key_Space);
        QTRY_VERIFY(!window.recording());
        QCOMPARE(ended.count(), 1); // once, though both the silence and the file's end would stop it
        QCOMPARE(window.lastComparison().verdict, SpeechVerdict::Compared);
        QVERIFY(window.round().best(0) > 0);
        QVERIFY(QFile::exists(window.recordingFile()));
        gametest::sendKey(&window, Qt::Key_M);
        QCOMPARE(spoken.launch.sound.played.last(), window.recordingFile());
        gametest::sendKey(&window, Qt::Key_Return);
        gametest::sendKey(&window, Qt::Key_Return); // the second phrase, not said: 0
        QVERIFY(gametest::waitForSave(window));
        QCOMPARE(spoken.launch.rows().size(), 1);
        QVERIFY(spoken.launch.rows().first().contains(QStringLiteral("|Speak|")));
        QCOMPARE(spoken.launch.phraseRows().size(), 1); // the phrase without a try is not rated
    }

    void aRecordingOfSilenceScoresNothing()
    {
        SpokenLaunch spoken({ QStringLiteral("Guten Morgen") }, QStringLiteral("Guten Morgen"));
        QVERIFY(QFile::remove(spoken.learner));
        QVERIFY(platform::writeWholeFile(spoken.learner, platform::makeWave(QByteArray(32000, '\0'), 16000)));
        SpeakWindow window(spoken.launch.context(speak::activity(), spoken.exchange));
        gametest::showWindow(&window);
        gametest::sendKey(&window, Qt::Key_Space);
        QTRY_VERIFY(!window.recording());
        QCOMPARE(window.lastComparison().verdict, SpeechVerdict::NothingSaid);
        QCOMPARE(window.round().best(0), 0);
    }

    // Without a microphone the learner is told at once, and the game closes having stored nothing.
    void noMicrophoneIsToldAndNothingStored()
    {
        SpokenLaunch spoken({ QStringLiteral("Guten Morgen") }, QStringLiteral("Guten Morgen"));
        qputenv(SpeakCaptureVariable, spoken.launch.path(QStringLiteral("no-such.wav")).toUtf8());
        SpeakWindow window(spoken.launch.context(speak::activity(), spoken.exchange));
        window.show();
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(spoken.launch.dialogs.messages.size(), 1);
        QVERIFY(spoken.launch.dialogs.messages.first().contains(say(Language::English, speak::NoMicrophone)));
        QVERIFY(spoken.launch.rows().isEmpty());
    }
};

QTEST_MAIN(TestSpeak)
#include "tst_speak.moc"
