#include <QFile>
#include <QtTest>

#include "gamefixture.h"
#include "games/common/phrasesound.h"
#include "platform/wave.h"

using namespace games;

class TestSound : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void onlyASoundThatCanBeHeardIsPlayed()
    {
        gametest::Launch launch;
        const QString good = launch.exchange(1).phrases[0].soundFile;
        auto write = [&launch](const QString& name, const QByteArray& bytes) {
            QFile f(launch.path(name));
            if (f.open(QIODevice::WriteOnly))
                f.write(bytes);
            return f.fileName();
        };
        const QString text = write("text.wav", "RIFF but not a sound");
        const QString silent = write("silent.wav", platform::makeWave({}, 8000));
        const QString folder = launch.path("");

        struct Case
        {
            QString path;
            bool output;
            Hearing expected;
        };
        const Case cases[] = { { good, true, Hearing::Yes }, { good, false, Hearing::NoOutput },
            { launch.path("gone.wav"), true, Hearing::NoFile }, { QString(), true, Hearing::NoFile },
            { folder, true, Hearing::NoFile }, { text, true, Hearing::Unplayable },
            { silent, true, Hearing::Unplayable }, { text, false, Hearing::NoOutput } };
        for (const Case& c : cases) {
            QCOMPARE(PhraseSound::check(c.path, c.output), c.expected);
            const qsizetype before = launch.sound.played.size();
            QCOMPARE(PhraseSound::play(c.path, c.output), c.expected);
            QCOMPARE(launch.sound.played.size(), before + (c.expected == Hearing::Yes ? 1 : 0));
        }
        QCOMPARE(launch.sound.played, QStringList { good });
        QCOMPARE(launch.sound.lastFlags, int(platform::SndAsync));
    }
};

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
