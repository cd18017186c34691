#include <cmath>
#include <numbers>
#include <vector>

#include <QTemporaryDir>
#include <QtTest>

#include "games/speak/recordingstop.h"
#include "games/speak/speechcapture.h"
#include "platform/wave.h"
#include "platform/wholefile.h"

using namespace games;

namespace {

constexpr int Rate = 16000;

// Stretches of a recording: a voice-like tone (about -14 dB) or the hum of a quiet room (about -57 dB).
struct Stretch
{
    int ms;
    bool loud;
};

std::vector<float> recording(const QVector<Stretch>& stretches)
{
    std::vector<float> samples;
    for (const Stretch& s : stretches) {
        const float amplitude = s.loud ? 0.3f : 0.002f;
        for (int i = 0; i < s.ms * Rate / 1000; ++i)
            samples.push_back(amplitude * float(std::sin(2 * std::numbers::pi * 220 * double(samples.size()) / Rate)));
    }
    return samples;
}

QString waveFile(const QTemporaryDir& folder, const QString& name, const QVector<Stretch>& stretches)
{
    QByteArray pcm;
    for (float sample : recording(stretches)) {
        const qint16 value = qint16(std::lround(sample * 32767));
        pcm.append(reinterpret_cast<const char*>(&value), 2);
    }
    const QString path = folder.filePath(name);
    return platform::writeWholeFile(path, platform::makeWave(pcm, Rate)) ? path : QString();
}

}

Q_DECLARE_METATYPE(QVector<Stretch>)

class TestSpeechCapture : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordingStopsByItself_data()
    {
        QTest::addColumn<QVector<Stretch>>("stretches");
        QTest::addColumn<int>("referenceMs");
        QTest::addColumn<int>("stopMs");
        QTest::addColumn<bool>("heard");
        QTest::newRow("a second of silence after speech")
            << QVector<Stretch> { { 800, true }, { 3000, false } } << 2000 << 1800 << true;
        QTest::newRow("a pause within the phrase goes on")
            << QVector<Stretch> { { 500, true }, { 600, false }, { 500, true }, { 3000, false } } << 2000 << 2600
            << true;
        QTest::newRow("nothing said: three times the phrase")
            << QVector<Stretch> { { 9000, false } } << 1500 << 4500 << false;
        QTest::newRow("speaking on: three times the phrase")
            << QVector<Stretch> { { 9000, true } } << 1500 << 4500 << true;
        QTest::newRow("a click is no speech")
            << QVector<Stretch> { { 30, true }, { 9000, false } } << 1000 << 3000 << false;
        QTest::newRow("a short phrase still gets three seconds")
            << QVector<Stretch> { { 9000, false } } << 400 << 3000 << false;
    }
    void recordingStopsByItself()
    {
        QFETCH(QVector<Stretch>, stretches);
        QFETCH(int, referenceMs);
        QFETCH(int, stopMs);
        QFETCH(bool, heard);
        const std::vector<float> samples = recording(stretches);
        RecordingStop stop(referenceMs, Rate);
        // In the capture's chunks, which do not fall on the frames.
        for (size_t at = 0; at < samples.size() && !stop.stopped(); at += 1234)
            stop.feed(samples.data() + at, qsizetype(std::min<size_t>(1234, samples.size() - at)));
        QVERIFY(stop.stopped());
        QCOMPARE(stop.recordedMs(), qint64(stopMs));
        QCOMPARE(stop.heardSpeech(), heard);
    }

    // The test hook says a file into the game as a microphone would, a chunk at a time, until it is stopped.
    void aFileIsSaidLikeIntoAMicrophone()
    {
        QTemporaryDir folder;
        const QString path = waveFile(folder, QStringLiteral("said.wav"), { { 700, true }, { 3000, false } });
        qputenv(SpeakCaptureVariable, path.toUtf8());
        const std::unique_ptr<SpeechCapture> capture = makeSpeechCapture();
        qunsetenv(SpeakCaptureVariable);

        RecordingStop stop(1000, capture->sampleRate());
        qsizetype received = 0;
        bool ended = false;
        connect(capture.get(), &SpeechCapture::chunk, this, [&](const std::vector<float>& chunk) {
            received += qsizetype(chunk.size());
            if (stop.feed(chunk.data(), qsizetype(chunk.size())))
                capture->stop();
        });
        connect(capture.get(), &SpeechCapture::ended, this, [&] { ended = true; });
        QCOMPARE(capture->start(), SpeechCapture::Failure::None);
        QCOMPARE(received, 0);
        QTRY_VERIFY(stop.stopped());
        QCOMPARE(stop.recordedMs(), qint64(1700));
        QVERIFY(received < qsizetype(Rate) * 2); // no chunk after the stop
        QVERIFY(!ended);

        FileCapture missing(folder.filePath(QStringLiteral("none.wav")));
        QCOMPARE(missing.start(), SpeechCapture::Failure::NoMicrophone);
    }

    // A file that ends before the learner would have stopped says so, as the game must not wait for more.
    void aFileThatEndsSaysSo()
    {
        QTemporaryDir folder;
        FileCapture capture(waveFile(folder, QStringLiteral("short.wav"), { { 500, true } }));
        bool ended = false;
        connect(&capture, &SpeechCapture::ended, this, [&] { ended = true; });
        QCOMPARE(capture.start(), SpeechCapture::Failure::None);
        QTRY_VERIFY(ended);
    }
};

QTEST_GUILESS_MAIN(TestSpeechCapture)
#include "tst_speechcapture.moc"
