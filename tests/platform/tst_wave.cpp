#include <QtEndian>
#include <QtTest>

#include "platform/wave.h"

using namespace platform;

class TestWave : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void headerGivesFormatAndDuration()
    {
        const QByteArray pcm(16000, '\0'); // 8000 samples of 16 bits
        const WaveInfo info = readWaveInfo(makeWave(pcm, 8000));
        QVERIFY(info.valid);
        QCOMPARE(info.bitsPerSample, 16);
        QCOMPARE(info.channels, 1);
        QCOMPARE(info.durationMs, 1000);
        QCOMPARE(readWaveInfo(makeWave8(QByteArray(8000, '\x80'), 8000)).durationMs, qint64(1000));
        QVERIFY(!readWaveInfo("RIFF0000WAVX").valid);
        QVERIFY(!readWaveInfo(QByteArray("RIFF\x10\0\0\0WAVEdata", 16)).valid);
    }

    // A header promising an hour of sound over a file that holds one second: the length is what the file holds,
    // read from memory or from a file of which only the header is read.
    void aCutFileCountsOnlyTheSamplesItHolds()
    {
        QByteArray cut = makeWave8(QByteArray(8000, '\x80'), 8000);
        qToLittleEndian<quint32>(8000u * 3600u, cut.data() + 40); // the data chunk's size
        const WaveInfo memory = readWaveInfo(cut);
        QVERIFY(memory.valid);
        QCOMPARE(memory.dataBytes, qint64(8000));
        QCOMPARE(memory.durationMs, qint64(1000));
        QTemporaryDir dir;
        QFile file(dir.filePath("cut.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(cut);
        file.close();
        QCOMPARE(readWaveFile(file.fileName()).durationMs, qint64(1000));
        // Only the header: nothing to play.
        QCOMPARE(readWaveInfo(cut.left(44)).durationMs, qint64(0));
        QCOMPARE(readWaveInfo(cut.left(44), 44 + 4000).durationMs, qint64(500));
    }

    void oddLengthIsPaddedToAWholeWord()
    {
        const QByteArray odd = makeWave8(QByteArray(5, '\x80'), 11025);
        QCOMPARE(odd.size(), 44 + 5 + 1);
        QCOMPARE(odd.back(), '\x80'); // the pad is silence
        QCOMPARE(qFromLittleEndian<quint32>(odd.constData() + 4), quint32(odd.size() - 8));
        const WaveInfo info = readWaveInfo(odd);
        QVERIFY(info.valid);
        QCOMPARE(info.dataBytes, qint64(5));
        QCOMPARE(info.bitsPerSample, 8);
        QCOMPARE(info.sampleRate, 11025);
        QCOMPARE(info.channels, 1);

        const QByteArray even = makeWave8(QByteArray(6, '\x80'), 8000);
        QCOMPARE(even.size(), 44 + 6);
        QCOMPARE(qFromLittleEndian<quint32>(even.constData() + 4), quint32(even.size() - 8));
    }
};

QTEST_GUILESS_MAIN(TestWave)
#include "tst_wave.moc"
