#include <QtTest>

#include "common/apppath.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/files.h"
#include "common/sounds.h"
#include "common/wait.h"
#include "platform/wave.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

class TestUtil : public QObject
{
    Q_OBJECT
private:
    static void touch(const QString& path)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

private Q_SLOTS:
    void init() { fixtures::loadNumberedCaptions(); }

    void waitLastsAboutTheAskedSeconds_data()
    {
        QTest::addColumn<qint64>("startMs");
        QTest::addColumn<qint64>("lowMs");
        QTest::addColumn<qint64>("highMs");
        // The start is rounded to a whole second: a wait of one second lasts 0.5 to 1.5 seconds.
        QTest::newRow("just after a second") << qint64(10'000) << qint64(990) << qint64(1'010);
        QTest::newRow("just before rounding up") << qint64(10'499) << qint64(500) << qint64(520);
        QTest::newRow("just after rounding up") << qint64(10'500) << qint64(1'490) << qint64(1'510);
        QTest::newRow("past midnight of the day clock") << qint64(86'399'800) << qint64(1'190) << qint64(1'210);
    }

    void waitLastsAboutTheAskedSeconds()
    {
        QFETCH(qint64, startMs);
        fakes::Environment env;
        env.clock.ms = startMs;
        env.clock.step = 10;
        Wait_Seconds(1);
        const qint64 waited = env.clock.ms - startMs;
        QFETCH(qint64, lowMs);
        QFETCH(qint64, highMs);
        QVERIFY2(waited >= lowMs && waited <= highMs, qPrintable(QString::number(waited)));
        QVERIFY(env.clock.eventPasses > 0);
    }

    void waitOfZeroReturnsAtOnce()
    {
        fakes::Environment env;
        env.clock.ms = 5'000;
        Wait_Seconds(0);
        QCOMPARE(env.clock.eventPasses, 0);
    }

    void deleteTempFilesTakesThisRunsFiles()
    {
        const QString temp = Get_Temp_Path();
        QCOMPARE(Exchange_File_Name(4242), QStringLiteral("~prl4242.txt"));
        QCOMPARE(Exchange_Sound_File_Name(4242, 3), QStringLiteral("~prl42423.wav"));
        touch(temp + "~prl4242.txt");
        touch(temp + "~prl42421.wav");
        touch(temp + "~prl42422.wav");
        touch(temp + "~prl4243.txt"); // another run's file
        touch(temp + "~prl424210.wav");
        touch(temp + "~prl4242said.wav"); // the learner's recording in Speak
        // Every name a launch may use goes; the missing ones are skipped.
        Delete_Temp_Files(4242);
        QVERIFY(!QFile::exists(temp + "~prl424210.wav"));
        QVERIFY(!QFile::exists(temp + "~prl4242said.wav"));
        QVERIFY(!QFile::exists(temp + "~prl4242.txt"));
        QVERIFY(!QFile::exists(temp + "~prl42421.wav"));
        QVERIFY(!QFile::exists(temp + "~prl42422.wav"));
        QVERIFY(QFile::exists(temp + "~prl4243.txt"));
        QFile::remove(temp + "~prl4243.txt");
    }

    void fileExistsMatchesWildcards()
    {
        QTemporaryDir dir;
        const QString d = dir.path() + "/";
        QVERIFY(!File_Exists(d + "*.ale"));
        touch(d + "animals_at_the_zoo.ale");
        touch(d + ".hidden.vale");
        QDir().mkdir(d + "folder.vale");
        QVERIFY(File_Exists(d + "*.ale"));
        QVERIFY(File_Exists(d + "animals_at_the_zoo.ale"));
        QVERIFY(File_Exists(d + "animals_?t_the_zoo.*"));
        QVERIFY(!File_Exists(d + "*.vale")); // hidden files and folders are not ordinary files
        QVERIFY(!File_Exists(d + "missing.ale"));
        QVERIFY(!File_Exists(d));
    }

    void connectionTexts()
    {
        QCOMPARE(Connection_String("/s/a.ale"),
            QStringLiteral(
                "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/s/a.ale;Jet OLEDB:Database Password=mervanto4816;"));
        QCOMPARE(Template_Connection_String("/p/Parlanta.tpl"),
            QStringLiteral(
                "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/p/Parlanta.tpl;Jet OLEDB:Database Password=kqv4816;"));
    }

    void errorReportText()
    {
        fakes::Environment env;
        Error_Report("Get_Subjects", "Path not found");
        QCOMPARE(env.dialogs.shown.size(), 1);
        QCOMPARE(env.dialogs.shown[0].text, QStringLiteral("T149\r\n\r\nGet_Subjects: Path not found"));
        QCOMPARE(env.dialogs.shown[0].title, QStringLiteral("ERROR"));
        QCOMPARE(env.dialogs.shown[0].icon, platform::Icon::Critical);
        const QString fixed = Template_Failure_Text("/p/Parlanta.tpl", "no such table");
        QVERIFY(fixed.contains("/p/Parlanta.tpl"));
        QVERIFY(fixed.contains("no such table"));
        QVERIFY(fixed.contains("No se pudieron leer"));
    }

    void clickSoundReplacesTheBufferAfterStopping()
    {
        fakes::Environment env;
        Play_Resource_Sound("click", platform::SndAsync);
        QCOMPARE(env.sound.memory.size(), 1);
        QCOMPARE(env.sound.memory[0].second, platform::SndAsync | platform::SndMemory);
        QCOMPARE(env.sound.memory[0].first, env.sound.lastBytes.constData());
        QCOMPARE(env.sound.lastBytes.size(), 582);
        QVERIFY(platform::readWaveInfo(env.sound.lastBytes).valid);
        Play_Resource_Sound("Click");
        QCOMPARE(env.sound.stops, 2);
        QCOMPARE(env.sound.memory[1].second, 6);
        QCOMPARE(env.sound.memory[1].first, env.sound.lastBytes.constData());
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, Play_Resource_Sound("nothing"));
        QCOMPARE(env.sound.memory.size(), 2);
        Play_Sound_File("/x/y.wav");
        QCOMPARE(env.sound.files.size(), 1);
        QCOMPARE(env.sound.files[0].second, 2);
    }
};

QTEST_GUILESS_MAIN(TestUtil)
#include "tst_util.moc"
