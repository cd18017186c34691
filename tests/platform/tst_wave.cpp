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
