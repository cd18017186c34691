#include <cmath>
#include <vector>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sndfile.h>

#include "platform/lessons/audiodecode.h"
#include "platform/lessons/subjectfile.h"
#include "platform/wave.h"

using namespace lessons;

namespace {

// A sine of the given frequency in every channel, each channel at its own amplitude, encoded by libsndfile's own
// writer in the given format (its MP3, FLAC and Vorbis encoders among them).
QByteArray encodedSine(int format, int rate, double seconds, double hz, const std::vector<double>& amplitudes)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("sound")));
    SF_INFO info {};
    info.samplerate = rate;
    info.channels = int(amplitudes.size());
    info.format = format;
    SNDFILE* file = sf_open(path.constData(), SFM_WRITE, &info);
    if (!file)
        qFatal("cannot encode: %s", sf_strerror(nullptr));
    // Writing floats beyond full scale must reach the file as they are, for the float WAVE case.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_FALSE);
    const auto frames = sf_count_t(rate * seconds);
    std::vector<float> samples;
    for (sf_count_t f = 0; f < frames; ++f) {
        for (double a : amplitudes)
            samples.push_back(float(a * std::sin(2 * M_PI * hz * double(f) / rate)));
    }
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    QFile written(dir.filePath(QStringLiteral("sound")));
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

std::vector<double> samplesOf(const QByteArray& wave)
{
    const auto* pcm = reinterpret_cast<const qint16*>(wave.constData() + 44);
    return std::vector<double>(pcm, pcm + (wave.size() - 44) / 2);
}

}

class TestAudioDecode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodesTheSameSignal_data();
    void decodesTheSameSignal();
    void loudSoundsAreTurnedDownNotClipped();
    void refusesWhatIsNoSound_data();
    void refusesWhatIsNoSound();
};

void TestAudioDecode::decodesTheSameSignal_data()
{
    QTest::addColumn<QByteArray>("encoded");
    QTest::addColumn<double>("amplitude"); // of the mono mix
    const double seconds = 1.5;
    QTest::newRow("WAVE 22050 mono") << encodedSine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, seconds, 440, { 0.5 })
                                     << 0.5;
    QTest::newRow("WAVE 44100 stereo mixed down")
        << encodedSine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, seconds, 440, { 0.6, 0.2 }) << 0.4;
    QTest::newRow("WAVE 8000 8-bit") << encodedSine(SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, seconds, 440, { 0.5 })
                                     << 0.5;
    QTest::newRow("FLAC 48000") << encodedSine(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, seconds, 440, { 0.5 }) << 0.5;
    QTest::newRow("OGG Vorbis 44100 stereo")
        << encodedSine(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, seconds, 440, { 0.5, 0.5 }) << 0.5;
    QTest::newRow("MP3 44100") << encodedSine(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, seconds, 440, { 0.5 })
                               << 0.5;
}

void TestAudioDecode::decodesTheSameSignal()
{
    QFETCH(QByteArray, encoded);
    QFETCH(double, amplitude);
    QVERIFY(!encoded.isEmpty());
    QString problem;
    const QByteArray wave = decodeToWave(encoded, &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(waveProblem(wave).isEmpty());
    const platform::WaveInfo info = platform::readWaveInfo(wave);
    QCOMPARE(info.channels, 1);
    QCOMPARE(info.bitsPerSample, 16);
    QCOMPARE(info.sampleRate, SubjectSampleRate);
    // Lossy coders add a frame or two of padding at the ends.
    QVERIFY2(std::abs(info.durationMs - 1500) <= 60, qPrintable(QString::number(info.durationMs)));

    // The middle second, away from the coders' ends: 440 rising zero crossings and the sine's energy.
    const std::vector<double> s = samplesOf(wave);
    const size_t from = SubjectSampleRate / 4;
    const size_t to = from + SubjectSampleRate;
    int rising = 0;
    double energy = 0;
    for (size_t i = from; i < to; ++i) {
        rising += s[i - 1] < 0 && s[i] >= 0;
        energy += s[i] * s[i];
    }
    QVERIFY2(std::abs(rising - 440) <= 2, qPrintable(QString::number(rising)));
    const double rms = std::sqrt(energy / SubjectSampleRate) / 32767;
    QVERIFY2(std::abs(rms - amplitude / std::sqrt(2.0)) < 0.05 * amplitude, qPrintable(QString::number(rms)));
}

void TestAudioDecode::loudSoundsAreTurnedDownNotClipped()
{
    // Float samples twice full scale, as a float WAVE may hold.
    QString problem;
    const QByteArray wave
        = decodeToWave(encodedSine(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 22050, 1, 100, { 2.0 }), &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    int atFullScale = 0;
    double peak = 0;
    for (double v : samplesOf(wave)) {
        atFullScale += std::abs(v) >= 32767;
        peak = std::max(peak, std::abs(v));
    }
    QVERIFY(peak > 32000);
    // Clipping would flatten a third of every period; turned down, only the crests touch full scale.
    QVERIFY2(atFullScale <= 200, qPrintable(QString::number(atFullScale)));
}

void TestAudioDecode::refusesWhatIsNoSound_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QTest::newRow("empty") << QByteArray() << "an empty file";
    QTest::newRow("text") << QByteArray("<html>not found</html>", 22) << "not a sound libsndfile can read (";
    QTest::newRow("no samples") << platform::makeWave({}, 22050) << "holds no sound";
    // 8 kHz for 480 s: 3.8 MB as it is, 21 MB at the subjects' rate.
    QTest::newRow("too long") << platform::makeWave8(QByteArray(8000 * 480, '\x90'), 8000)
                              << "a sound of 480 s, longer than the 20 MB";
}

void TestAudioDecode::refusesWhatIsNoSound()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    QString found;
    QVERIFY(decodeToWave(bytes, &found).isEmpty());
    QVERIFY2(found.contains(problem), qPrintable(found));
}

QTEST_GUILESS_MAIN(TestAudioDecode)
#include "tst_audiodecode.moc"
