#include <cmath>

#include <QtTest>

#include "platform/lessons/audiodecode.h"
#include "platform/lessons/soundcheck.h"
#include "platform/wave.h"

using namespace lessons;

namespace {

// A 220 Hz tone at the given level between stretches of silence, as a 16-bit WAVE at the subjects' rate.
QByteArray toneWave(double silenceBeforeS, double toneS, double silenceAfterS, double levelDb)
{
    const double amplitude = 32767.0 * std::pow(10.0, levelDb / 20.0);
    QByteArray pcm;
    const auto append = [&pcm](double value) {
        const auto sample = static_cast<qint16>(std::lround(value));
        pcm.append(reinterpret_cast<const char*>(&sample), 2);
    };
    for (int i = 0; i < int(silenceBeforeS * SubjectSampleRate); ++i)
        append(0);
    for (int i = 0; i < int(toneS * SubjectSampleRate); ++i)
        append(amplitude * std::sin(2 * M_PI * 220.0 * i / SubjectSampleRate));
    for (int i = 0; i < int(silenceAfterS * SubjectSampleRate); ++i)
        append(0);
    return platform::makeWave(pcm, SubjectSampleRate);
}

}

class TestSoundCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spokenSoundProblem_data();
    void spokenSoundProblem();
    void levelsOfATone();
    void trailingSilenceIsTrimmed();
};

void TestSoundCheck::spokenSoundProblem_data()
{
    QTest::addColumn<QByteArray>("sound");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem");

    // "Guten Morgen." has eleven letters: a voice takes between 275 ms and 3.3 s over them.
    const QString text = QStringLiteral("Guten Morgen.");
    QTest::newRow("spoken") << toneWave(0.1, 0.9, 0.2, -6) << text << QString();
    QTest::newRow("quiet but audible") << toneWave(0.1, 0.9, 0.2, -19) << text << QString();
    QTest::newRow("nearly silent") << toneWave(0.1, 0.9, 0.2, -30) << text << "nearly silent";
    QTest::newRow("all silence") << toneWave(1, 0, 0, 0) << text << "nearly silent";
    QTest::newRow("cut off") << toneWave(0.1, 0.9, 0, -6) << text << "stops mid-word";
    QTest::newRow("too short for the text") << toneWave(0.1, 0.2, 0.2, -6) << text << "too short for 11 letters";
    QTest::newRow("too long for the text") << toneWave(0.1, 4, 0.2, -6) << text << "too long for 11 letters";
    QTest::newRow("silence does not count as voice") << toneWave(3, 0.2, 3, -6) << text << "too short for 11 letters";
    QTest::newRow("not a sound") << QByteArray("RIFF....WAVEfmt ") << text << "no samples";
}

void TestSoundCheck::spokenSoundProblem()
{
    QFETCH(QByteArray, sound);
    QFETCH(QString, text);
    QFETCH(QString, problem);
    const QString found = lessons::spokenSoundProblem(sound, text);
    if (problem.isEmpty())
        QVERIFY2(found.isEmpty(), qPrintable(found));
    else
        QVERIFY2(found.contains(problem), qPrintable(found));
}

void TestSoundCheck::levelsOfATone()
{
    const SoundLevels levels = measureSound(toneWave(0.5, 1, 0.5, -12));
    QVERIFY(levels.valid);
    QCOMPARE(levels.durationMs, 2000);
    QVERIFY2(std::abs(levels.voicedMs - 1000) <= 5, qPrintable(QString::number(levels.voicedMs)));
    QVERIFY2(std::abs(levels.peakDb + 12) < 0.1, qPrintable(QString::number(levels.peakDb)));
    QCOMPARE(levels.endDb, -120.0);
}

void TestSoundCheck::trailingSilenceIsTrimmed()
{
    // Leading silence and the tone stay whole; of the two seconds after it, 200 ms remain.
    const SoundLevels levels = measureSound(trimTrailingSilence(toneWave(0.3, 1, 2, -12), 200));
    QVERIFY(levels.valid);
    QCOMPARE(levels.durationMs, 1500);
    QVERIFY2(std::abs(levels.voicedMs - 1000) <= 5, qPrintable(QString::number(levels.voicedMs)));
    // A sound without a pause at its end keeps all it has.
    QCOMPARE(measureSound(trimTrailingSilence(toneWave(0, 1, 0.1, -12), 200)).durationMs, 1100);
    QVERIFY(trimTrailingSilence(QByteArray("no sound"), 200).isEmpty());
}

QTEST_GUILESS_MAIN(TestSoundCheck)
#include "tst_soundcheck.moc"
