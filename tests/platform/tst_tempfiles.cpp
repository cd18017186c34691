#include <QtTest>

#include "platform/services.h"
#include "platform/tempfolder.h"
#include "platform/wave.h"

#include <unistd.h>

namespace {
const char* const ChildSwitch = "--play-and-exit";

QByteArray clickWave() { return platform::makeWave(QByteArray(2000, '\0'), 8000); }

QStringList soundFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("parlanta-sound-*") }, QDir::Files | QDir::System);
}
}

class TestTempFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Another user of the computer knows the process number and plants links under every name the program could
    // pick; the student's own file behind them stays as it was.
    void aPlantedLinkIsNeverFollowed()
    {
        QTemporaryDir systemTemp;
        QTemporaryDir home;
        const QString victim = home.filePath("notes.txt");
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("my notes");
        file.close();
        qputenv("TMPDIR", QFile::encodeName(systemTemp.path()));
        const QString privateFolder = platform::privateTempFolder();
        QVERIFY(privateFolder.startsWith(systemTemp.path()));
        for (const QString& folder : { systemTemp.path() + "/", privateFolder }) {
            for (int n : { 0, 1 }) {
                const QString name
                    = QStringLiteral("parlanta-sound-%1-%2.wav").arg(QCoreApplication::applicationPid()).arg(n);
                QVERIFY(QFile::link(victim, folder + name));
            }
        }
        platform::Sound& sound = *platform::services().sound;
        for (int i = 0; i < 3; ++i)
            sound.playMemory(clickWave(), platform::SndAsync | platform::SndMemory);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("my notes"));
        // The planted links, and the two newest sounds: older ones are gone.
        QCOMPARE(soundFiles(privateFolder).size(), 2 + 2);
        sound.stop();
    }

    void soundFilesAreGoneAtExit()
    {
        QTemporaryDir systemTemp;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMPDIR", systemTemp.path());
        // Qt's media stack leaves buffers to the end of the process; what this child checks is its own files.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), { QString::fromLatin1(ChildSwitch) });
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QString played = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
        QVERIFY2(played.contains("parlanta-sound-"), qPrintable(played));
        QVERIFY(!QFile::exists(played));
        QCOMPARE(soundFiles(QFileInfo(played).path()), QStringList());
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::installQtServices();
    if (argc > 1 && qstrcmp(argv[1], ChildSwitch) == 0) {
        platform::services().sound->playMemory(clickWave(), platform::SndAsync | platform::SndMemory);
        const QStringList files = soundFiles(platform::privateTempFolder());
        if (files.size() != 1)
            return 2;
        fprintf(stdout, "%s\n", qPrintable(platform::privateTempFolder() + files.first()));
        fflush(stdout);
        // Files still held are deleted as the process ends, however it ends normally.
        return 0;
    }
    TestTempFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tempfiles.moc"
