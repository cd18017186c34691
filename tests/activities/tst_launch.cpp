#include <QtTest>

#include "activities/exchange.h"
#include "common/apppath.h"
#include "common/files.h"
#include "common/frmmsgbox.h"
#include "common/rnd.h"
#include "common/session.h"
#include "platform/services.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/maintree.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/treetest.h"

namespace {
QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

class TestLaunch : public fixtures::TreeTest<fixtures::MainTree>
{
    Q_OBJECT
private:
    QString activities() const { return m_main->activities(); }
    QString exchangePath() const { return m_main->exchangePath(); }
    QStringList exchangeLines() const
    {
        QStringList lines = QString::fromLocal8Bit(contents(exchangePath())).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    QTreeWidgetItem* node(const QString& text) const { return m_main->node(text); }
    void launch(int index) { m_main->launch(index); }
    // The start-up steps the launch relies on, with two activity programs.
    void load()
    {
        for (const char* name : { "Pairs.exe", "Quiz.exe" })
            fixtures::writeActivityProgram(activities() + name);
        m_main->load();
    }
    QStringList tempFolderFiles() const { return QDir(Get_Temp_Path()).entryList(QDir::Files, QDir::Name); }

private Q_SLOTS:
    void init()
    {
        start();
        // The launch is told who studies; the program-wide state does not know.
        Session& session = m_main->session;
        session.ProgramCode = QStringLiteral("prlale");
        session.ProductName = QStringLiteral("Parlanta Alemán");
        session.InterfaceLanguage = QStringLiteral("Spanish");
        session.TaughtLanguage = QStringLiteral("German");
        session.CurrentStudent = QStringLiteral("Zoë Núñez");
        session.ExchangeNumber = 90210;
    }

    void cleanup() { finish(); }

    void exchangeFileByteForByte()
    {
        const QVector<fixtures::PhraseFixture> phrases {
            { 1, QStringLiteral("Er sagt \"Grüß Gott\""), QStringLiteral("Dice \"hola\""), QVariant(),
                fixtures::waveBytes(400, 1) },
            { 2, QStringLiteral("Die Straße"), QStringLiteral("La calle"), QStringLiteral("Rúa"),
                fixtures::waveBytes(500, 2) },
            { 3, QStringLiteral("Das Mädchen"), QStringLiteral("La niña"), QStringLiteral("\"chica\""),
                fixtures::waveBytes(600, 3) },
        };
        fixtures::writeInstalledSubject(installed("café_und_kuchen.ale"), phrases);
        load();
        QTreeWidgetItem* subject = node(QStringLiteral("Café Und Kuchen"));
        QVERIFY(subject);
        click(subject);
        bool disabledAtStart = false;
        m_env->processes.onStart = [&] { disabledAtStart = !m_main->window.isEnabled(); };

        launch(1);

        QCOMPARE(m_env->processes.started.size(), 1);
        const auto& start = m_env->processes.started[0];
        QCOMPARE(start.program, activities() + "Quiz.exe");
        QCOMPARE(start.arguments, QStringList { "~prl90210.txt" });
        QCOMPARE(start.workingFolder, Get_Temp_Path());
        QVERIFY(disabledAtStart);
        QVERIFY(m_main->window.isEnabled());
        QVERIFY(m_env->dialogs.shown.isEmpty());

        const QString temp = Get_Temp_Path();
        const QByteArray expected = QByteArray::number(QCoreApplication::applicationPid())
            + "\r\n"
              "prlale\r\n"
              "Parlanta Alemán\r\n"
              "Spanish\r\n"
              "German\r\n"
              "Zoë Núñez\r\n"
              "Café Und Kuchen\r\n"
              "3\r\n"
            + m_main->session.DataDir.toUtf8()
            + "Users.dat\r\n"
              "café_und_kuchen.ale#1\tcafé_und_kuchen.ale#2\tcafé_und_kuchen.ale#3\r\n"
              "EMPTY\r\nEMPTY\r\nEMPTY\r\nEMPTY\r\n"
              " 0 \r\n"
              "\"Er sagt \"Grüß Gott\"\"\r\n\"Dice \"hola\"\"\r\n\"\"\r\n\""
            + temp.toUtf8()
            + "~prl902101.wav\"\r\n"
              "\"Die Straße\"\r\n\"La calle\"\r\n\"Rúa\"\r\n\""
            + temp.toUtf8()
            + "~prl902102.wav\"\r\n"
              "\"Das Mädchen\"\r\n\"La niña\"\r\n\"\"chica\"\"\r\n\""
            + temp.toUtf8() + "~prl902103.wav\"\r\n";
        QCOMPARE(contents(exchangePath()), expected);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(contents(temp + Exchange_Sound_File_Name(m_main->session.ExchangeNumber, i)), phrases[i - 1].sound);
        // Nothing half-written stays beside them.
        QCOMPARE(
            tempFolderFiles(), QStringList({ "~prl90210.txt", "~prl902101.wav", "~prl902102.wav", "~prl902103.wav" }));
    }

    void tenPhrasesOfARandomSubjectAndTheTimeTheyTake()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(10);
        for (int i = 0; i < 10; ++i)
            phrases[i].sound = fixtures::waveBytes(2 * 22050, i); // a second of sound each
        fixtures::writeInstalledSubject(installed("at_home.ale"), phrases);
        load();
        Set_Rnd_Script([] { return 0.0; });
        click(top(2));
        QTreeWidgetItem* random = top(2)->child(0);
        QCOMPARE(m_main->tree->currentItem(), random);

        QElapsedTimer timer;
        qint64 startedAfter = -1;
        m_env->processes.onStart = [&] { startedAfter = timer.nsecsElapsed(); };
        timer.start();
        launch(0);
        QVERIFY(startedAfter > 0);
        qInfo("Launch with ten phrases and their sounds: %.1f ms from the click to the start",
            static_cast<double>(startedAfter) / 1e6);

        const QStringList lines = exchangeLines();
        QCOMPARE(lines.size(), 55);
        QCOMPARE(lines[6], QStringLiteral(" At Home")); // the random subject keeps its leading blank
        QCOMPARE(lines[7], QStringLiteral("10"));
        QCOMPARE(lines[54], "\"" + Get_Temp_Path() + "~prl9021010.wav\"");
        QCOMPARE(m_env->processes.started[0].program, activities() + "Pairs.exe");
    }

    void aPhraseLaunchesItsSubject()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(4));
        load();
        QTreeWidgetItem* colours = node("Colours");
        click(colours);
        m_main->tree->setCurrentItem(colours->child(2));
        launch(0);
        QCOMPARE(m_main->tree->currentItem(), colours);
        QCOMPARE(exchangeLines()[6], QStringLiteral("Colours"));
        QCOMPARE(exchangeLines().size(), 15 + 16);
    }

    void foldersAndNothingSelectedAreRefused()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(1));
        load();
        m_main->tree->setCurrentItem(top(1));
        launch(0);
        m_main->tree->setCurrentItem(nullptr);
        launch(0);
        QCOMPARE(m_env->dialogs.shown.size(), 2);
        for (const fakes::Message& m : m_env->dialogs.shown) {
            QCOMPARE(m.text, QStringLiteral("T22"));
            QCOMPARE(m.title, QStringLiteral("T103"));
            QCOMPARE(m.icon, platform::Icon::Warning);
        }
        QVERIFY(m_env->processes.started.isEmpty());
        QVERIFY(m_main->window.isEnabled());
    }

    void randomPhrasesAndVirtualSubjectsLaunchTheirUsablePhrases()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(5));
        fixtures::writeVirtualSubjectFile(m_main->virtualFile("Mine.vale"),
            { { "Four",
                { { "colours.ale", 5, "P5", "Tr5", "" }, { "gone.ale", 1, "G", "Gone", "" },
                    { "colours.ale", 1, "P1", "Tr1", "" }, { "colours.ale", 2, "P2", "Tr2", "" } } } });
        load();
        Set_Rnd_Script([] { return 0.5; });
        click(top(3));
        launch(0);
        QStringList lines = exchangeLines();
        QCOMPARE(lines[6], QStringLiteral("T118"));
        QCOMPARE(lines.size(), 55);
        QCOMPARE(lines[15], QStringLiteral("\"P3\"")); // int(0.5 × 5) + 1
        // Ten phrases of one subject: it is checked once.
        QCOMPARE(m_main->checked, QStringList { "colours.ale" });
        m_main->checked.clear();

        QTreeWidgetItem* four = node("Four");
        click(four);
        m_env->dialogs.answers << false;
        launch(1);
        QCOMPARE(m_env->dialogs.shown.size(), 1); // the missing phrase, answered No
        QVERIFY(m_env->dialogs.shown[0].text.contains("GONE.ALE"));
        lines = exchangeLines();
        QCOMPARE(lines[6], QStringLiteral("Four"));
        QCOMPARE(lines[7], QStringLiteral("3"));
        QCOMPARE(lines.mid(15, 1) + lines.mid(19, 1) + lines.mid(23, 1), QStringList({ "\"P5\"", "\"P1\"", "\"P2\"" }));
        QCOMPARE(m_env->processes.started.size(), 2);
        QCOMPARE(m_main->checked, QStringList { "colours.ale" });
    }

    void unusableSubjectsStartNothing()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(2));
        fixtures::writeInstalledSubject(installed("eleven.ale"), fixtures::numberedPhrases(11));
        fixtures::writeInstalledSubject(installed("empty.ale"), {});
        load();
        // Deleted while the program runs.
        QTreeWidgetItem* colours = node("Colours");
        click(colours);
        QFile::remove(installed("colours.ale"));
        m_env->dialogs.answers << false;
        launch(0);
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].title, QStringLiteral("T103"));
        QCOMPARE(nodeImage(colours), int(UnusableSubject));
        QCOMPARE(nodeSelectedImage(colours), int(UnusableSubject));

        click(node("Eleven"));
        launch(0);
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(errorReports()[0].startsWith("T149\r\n\r\nGet_Phraes_to_Study: "));
        QCOMPARE(m_env->dialogs.shown.last().text, QStringLiteral("There are no phrases to study"));

        click(node("Empty"));
        launch(0);
        QCOMPARE(m_env->dialogs.shown.last().text, QStringLiteral("There are no phrases to study"));
        QCOMPARE(m_env->dialogs.shown.last().icon, platform::Icon::None);
        QVERIFY(m_env->processes.started.isEmpty());
        QVERIFY(!QFile::exists(exchangePath()));
        QVERIFY(m_main->window.isEnabled());
    }

    void aFileThatCannotBeWrittenOrAProgramThatDoesNotStart()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(2));
        load();
        click(node("Colours"));
        // A folder where the exchange file belongs.
        QVERIFY(QDir().mkpath(exchangePath()));
        launch(0);
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(errorReports()[0].startsWith("T149\r\n\r\nWrite_Exchange_File: "));
        QVERIFY(m_env->processes.started.isEmpty());
        QVERIFY(m_main->window.isEnabled());
        QVERIFY(QDir().rmdir(exchangePath()));

        m_env->processes.succeed = false;
        launch(0);
        QCOMPARE(errorReports().size(), 2);
        QVERIFY(errorReports()[1].startsWith("T149\r\n\r\nbtnAct_Click: "));
        QVERIFY(errorReports()[1].contains("Pairs.exe"));
        QVERIFY(m_main->window.isEnabled());
    }

    void aProgramThatIsNotExecutableIsReported()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(2));
        load();
        click(node("Colours"));
        platform::installQtServices();
        platform::Processes* real = platform::services().processes;
        platform::installServices(
            { &m_env->dialogs, &m_env->shell, real, &m_env->sound, &m_env->network, &m_env->registry, &m_env->clock });
        QFile program(activities() + "Pairs.exe");
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        launch(0);
        platform::installServices(m_env->previous);
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(errorReports()[0].contains("Pairs.exe"));
        QVERIFY(m_main->window.isEnabled());
    }

    void linesOfTheExchangeFileStayLines()
    {
        const StudySet set { { "a.ale", 1, "Zwei\r\nZeilen", "dos\nlíneas", "tres\rlíneas" },
            { "sub/b.ale", 7, "b", "b", "b" } };
        Session session;
        session.ProgramCode = "prlspa";
        session.ProductName = "Parlanta Inglés";
        session.InterfaceLanguage = "English";
        session.TaughtLanguage = "Spanish";
        session.DataDir = "/data/";
        session.CurrentStudent = "Ana\nRuiz";
        const QStringList lines = Exchange_File_Lines(session, set, "Sub\r\nject", 42);
        QCOMPARE(lines.size(), 23);
        QCOMPARE(lines[0], QStringLiteral("42"));
        // Everything about the program and the student comes from the session handed over.
        QCOMPARE(lines.mid(1, 4), QStringList({ "prlspa", "Parlanta Inglés", "English", "Spanish" }));
        QCOMPARE(lines[5], QStringLiteral("Ana Ruiz"));
        QCOMPARE(lines[8], QStringLiteral("/data/Users.dat"));
        QCOMPARE(lines[6], QStringLiteral("Sub ject"));
        // Each phrase is named by its installed source, so its results gather under one phrase.
        QCOMPARE(lines[9], QStringLiteral("a.ale#1\tb.ale#7"));
        QCOMPARE(lines.mid(15, 3), QStringList({ "\"Zwei Zeilen\"", "\"dos líneas\"", "\"tres líneas\"" }));
    }
};

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
