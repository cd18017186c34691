#include <algorithm>
#include <cmath>

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "games/speak/speechaudio.h"
#include "games/speak/speechcompare.h"
#include "platform/wave.h"

using namespace games;

Q_DECLARE_METATYPE(std::vector<float>)
Q_DECLARE_METATYPE(games::SpeechAudioFailure)

namespace {

const QStringList teacher { "-v", "de", "-s", "140" };
const QStringList learner { "-v", "de+f3", "-s", "115", "-p", "65" };

QByteArray pcm16(const std::vector<float>& samples, int repeat = 1)
{
    QByteArray pcm;
    for (float s : samples) {
        const qint16 value = qint16(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767));
        for (int r = 0; r < repeat; ++r)
            pcm.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    return pcm;
}

// The samples in both channels of a 16-bit stereo WAVE file: a mono file's header with the channel fields changed.
QByteArray stereoWave(const std::vector<float>& samples, int rate)
{
    QByteArray pcm;
    const QByteArray mono = pcm16(samples);
    for (qsizetype i = 0; i < mono.size(); i += 2)
        pcm.append(mono.mid(i, 2)).append(mono.mid(i, 2));
    QByteArray wave = platform::makeWave(pcm, rate);
    qToLittleEndian<quint16>(2, wave.data() + 22);
    qToLittleEndian<quint32>(quint32(rate * 4), wave.data() + 28);
    qToLittleEndian<quint16>(4, wave.data() + 32);
    return wave;
}

QByteArray wave8(const std::vector<float>& samples)
{
    QByteArray bytes;
    for (float s : samples)
        bytes.append(char(quint8(std::lround(128 + std::clamp(s, -1.0f, 1.0f) * 127))));
    return platform::makeWave8(bytes, kSpeechRate);
}

SpeechComparison compare(const std::vector<float>& reference, const std::vector<float>& said)
{
    return compareSpeech(speechFeatures(reference), speechFeatures(said));
}

}

class TestSpeechCompare : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QHash<QString, std::vector<float>> m_spoken;

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return file.fileName();
    }

    // espeak-ng's saying of a German text, read as the game reads a phrase's sound; empty when it failed.
    std::vector<float> say(const QString& text, const QStringList& voice = teacher)
    {
        const QString key = voice.join(' ') + '|' + text;
        if (!m_spoken.contains(key)) {
            const QString path = m_dir.filePath(QString("%1.wav").arg(m_spoken.size()));
            QProcess::execute("espeak-ng", QStringList(voice) << "-w" << path << text);
            m_spoken.insert(key, readSpeechAudio(path).samples);
        }
        return m_spoken.value(key);
    }

private Q_SLOTS:
    void samePhraseInAnotherVoiceScoresAboveAnotherPhrase_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("other");
        QTest::newRow("coffee") << "Ich möchte gern einen Kaffee trinken."
                                << "Mein Bruder wohnt in Berlin.";
        QTest::newRow("station") << "Wo ist der Bahnhof, bitte?"
                                 << "Das Wetter ist heute schön.";
        QTest::newRow("salt") << "Kannst du mir das Salz geben?"
                              << "Wir fahren morgen ans Meer.";
        QTest::newRow("one word") << "Hallo"
                                  << "Danke";
    }
    void samePhraseInAnotherVoiceScoresAboveAnotherPhrase()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, other);
        const std::vector<float> reference = say(phrase);
        const std::vector<float> said = say(phrase, learner);
        QVERIFY(!reference.empty());
        QElapsedTimer timer;
        timer.start();
        const SpeechComparison same = compare(reference, said);
        const qint64 sameMs = timer.elapsed();
        const SpeechComparison different = compare(reference, say(other, learner));
        qInfo("same %d (cost %.2f; %.1f s against %.1f s in %lld ms), other %d (cost %.2f)", same.score, same.meanCost,
            reference.size() / double(kSpeechRate), said.size() / double(kSpeechRate), sameMs, different.score,
            different.meanCost);
        QCOMPARE(same.verdict, SpeechVerdict::Compared);
        QCOMPARE(different.verdict, SpeechVerdict::Compared);
        QVERIFY(same.score >= different.score + 20);

        const SpeechFeatures features = speechFeatures(reference);
        QCOMPARE(int(same.pitch.size()), features.frames());
        QVERIFY(std::any_of(same.pitch.begin(), same.pitch.end(),
            [](const SpeechPitchPoint& p) { return !std::isnan(p.reference) && !std::isnan(p.learner); }));
        QVERIFY(same.worstFromMs >= features.startMs);
        QVERIFY(same.worstFromMs < same.worstToMs);
        QVERIFY(same.worstToMs <= features.frameMs(features.frames()));
    }

    void noVoiceIsNothingSaid_data()
    {
        QTest::addColumn<std::vector<float>>("said");
        std::vector<float> hiss(3 * kSpeechRate);
        std::vector<float> noise(3 * kSpeechRate);
        QRandomGenerator random(7);
        for (std::size_t i = 0; i < noise.size(); ++i) {
            hiss[i] = float(random.bounded(2e-4) - 1e-4);
            noise[i] = float(random.bounded(0.6) - 0.3);
        }
        QTest::newRow("silence") << std::vector<float>(3 * kSpeechRate);
        QTest::newRow("hiss") << hiss;
        QTest::newRow("noise") << noise;
        QTest::newRow("nothing") << std::vector<float>();
    }
    void noVoiceIsNothingSaid()
    {
        QFETCH(std::vector<float>, said);
        const SpeechComparison result = compare(say("Wo ist der Bahnhof, bitte?"), said);
        QCOMPARE(result.verdict, SpeechVerdict::NothingSaid);
        QCOMPARE(result.score, 0);
        QCOMPARE(compare(said, say("Wo ist der Bahnhof, bitte?")).verdict, SpeechVerdict::ReferenceSilent);
    }

    void everyFormOfTheSoundReadsAlike_data()
    {
        QTest::addColumn<QString>("form");
        QTest::newRow("8-bit") << "8-bit";
        QTest::newRow("stereo") << "stereo";
        QTest::newRow("48 kHz") << "48 kHz";
        QTest::newRow("48 kHz in memory") << "memory";
    }
    void everyFormOfTheSoundReadsAlike()
    {
        QFETCH(QString, form);
        const std::vector<float> original = say("Das Wetter ist heute schön.");
        QVERIFY(!original.empty());
        SpeechAudio audio;
        if (form == "8-bit") {
            audio = readSpeechAudio(write("8bit.wav", wave8(original)));
        } else if (form == "stereo") {
            audio = readSpeechAudio(write("stereo.wav", stereoWave(original, kSpeechRate)));
        } else if (form == "48 kHz") {
            audio = readSpeechAudio(write("48k.wav", platform::makeWave(pcm16(original, 3), 3 * kSpeechRate)));
        } else {
            std::vector<float> tripled;
            for (float s : original)
                tripled.insert(tripled.end(), 3, s);
            audio = speechAudio(tripled, 3 * kSpeechRate);
        }
        QVERIFY(audio.ok());
        QVERIFY(std::abs(audio.durationMs() - qint64(original.size()) * 1000 / kSpeechRate) <= 20);
        const SpeechComparison result = compare(original, audio.samples);
        QVERIFY2(result.score >= 90, qPrintable(QString::number(result.score)));
    }

    void whatIsNoSoundFails_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<SpeechAudioFailure>("failure");
        QTest::newRow("text") << write("text.wav", "RIFF but not a sound") << SpeechAudioFailure::NotSound;
        QTest::newRow("bytes") << write("bytes.wav", QByteArray(5000, '\x07')) << SpeechAudioFailure::NotSound;
        QTest::newRow("missing") << m_dir.filePath("gone.wav") << SpeechAudioFailure::NoFile;
        QTest::newRow("folder") << m_dir.path() << SpeechAudioFailure::NoFile;
    }
    void whatIsNoSoundFails()
    {
        QFETCH(QString, path);
        QFETCH(SpeechAudioFailure, failure);
        const SpeechAudio audio = readSpeechAudio(path);
        QCOMPARE(audio.failure, failure);
        QVERIFY(audio.samples.empty());
        QCOMPARE(speechAudio({ 0.5f, 0.5f }, 0).failure, SpeechAudioFailure::NotSound);
    }

    void aRecordingFarTooLongIsComparedInPart()
    {
        const std::vector<float> reference = say("Wo ist der Bahnhof, bitte?");
        const std::vector<float> once = say("Wo ist der Bahnhof, bitte?", learner);
        std::vector<float> tenTimes;
        for (int i = 0; i < 10; ++i)
            tenTimes.insert(tenTimes.end(), once.begin(), once.end());
        const SpeechFeatures features = speechFeatures(tenTimes);
        QCOMPARE(features.frames(), kSpeechMaxFrames);
        const SpeechComparison result = compareSpeech(speechFeatures(reference), features);
        QCOMPARE(result.verdict, SpeechVerdict::Compared);
        QVERIFY(result.score < compare(reference, once).score);
    }
};

QTEST_MAIN(TestSpeechCompare)
#include "tst_speechcompare.moc"
