#include <QtTest>

#include "activities/activitypanel.h"
#include "activities/exchange.h"
#include "app/frmmain.h"
#include "app/frmmsgbox.h"
#include "app/modmain.h"
#include "app/util/apppath.h"
#include "app/util/files.h"
#include "app/util/rnd.h"
#include "platform/services.h"
#include "subjects/subjecttree.h"
#include "subjects/treeevents.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectfolders.h"

namespace {
QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString exchangePath()
{
    return Get_Temp_Path() + Exchange_File_Name();
}

QStringList exchangeLines()
{
    QStringList lines = QString::fromLocal8Bit(contents(exchangePath())).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
}

class TestLaunch : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_temp;
    std::unique_ptr<fixtures::SubjectFolders> m_folder;
    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<fakes::Environment> m_env;
    std::unique_ptr<frmMain> m_window;

    QString installed(const QString& name) const { return modMain.InstalledSubjectsDir + name; }
    QString activities() const { return m_folder->file("Activities/"); }
    QTreeWidgetItem* top(int n) const { return m_window->TreeFolders->topLevelItem(n - 1); }
    QTreeWidgetItem* node(const QString& text) const
    {
        const auto found = m_window->TreeFolders->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void click(QTreeWidgetItem* n)
    {
        m_window->TreeFolders->setCurrentItem(n);
        m_window->treeEvents().TreeFolders_NodeClick(n);
    }
    // The start-up steps the launch relies on: the file lists and the tree.
    void load()
    {
        frmMain& w = *m_window;
        for (const char* name : { "Pairs.exe", "Quiz.exe" })
            fixtures::writeActivityProgram(activities() + name);
        w.FileAct.setPath(activities());
        w.FileAct.setPattern("*.exe");
        w.FileAct.refresh();
        w.File1.setPath(modMain.InstalledSubjectsDir);
        w.File1.setPattern("*.ale");
        w.File2.setPath(modMain.VirtualSubjectsDir);
        w.File2.setPattern("*.vale");
        w.subjectTree().Create_Folders();
        w.subjectTree().Get_Subjects();
        w.subjectTree().Get_vSubjects();
    }
    QStringList errorReports() const
    {
        QStringList reports;
        for (const fakes::Message& m : m_env->dialogs.shown) {
            if (m.title == "ERROR")
                reports << m.text;
        }
        return reports;
    }
    QStringList tempFolderFiles() const { return QDir(Get_Temp_Path()).entryList(QDir::Files, QDir::Name); }

private Q_SLOTS:
    void initTestCase() { qputenv("TMPDIR", m_temp.path().toLocal8Bit()); }

    void init()
    {
        m_folder = std::make_unique<fixtures::SubjectFolders>();
        m_data = std::make_unique<QTemporaryDir>();
        fixtures::useProgramFolder(m_folder->path());
        fixtures::loadNumberedCaptions();
        modMain.DataDir = m_data->path() + "/";
        modMain.InstalledSubjectsDir = m_folder->file("T10/");
        modMain.VirtualSubjectsDir = m_folder->file("T11/");
        modMain.CurrentStudent = QStringLiteral("Zoë Núñez");
        modMain.WindowHandle = 90210;
        m_env = std::make_unique<fakes::Environment>();
        m_window = std::make_unique<frmMain>();
        m_window->ActivitiesDir = activities();
    }

    void cleanup()
    {
        Set_Rnd_Script({});
        Delete_Temp_Files();
        modMain.StudyPhraseCount = 0;
        m_window.reset();
        frmMsgBox::Unload();
        m_env.reset();
    }

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
        m_env->processes.onStart = [&] { disabledAtStart = !m_window->isEnabled(); };

        m_window->activityPanel().btnAct_Click(1);

        QCOMPARE(m_env->processes.started.size(), 1);
        const auto& start = m_env->processes.started[0];
        QCOMPARE(start.program, activities() + "Quiz.exe");
        QCOMPARE(start.arguments, QStringList { "~prl90210.txt" });
        QCOMPARE(start.workingFolder, Get_Temp_Path());
        QVERIFY(disabledAtStart);
        QVERIFY(m_window->isEnabled());
        QVERIFY(m_env->dialogs.shown.isEmpty());

        const QString temp = Get_Temp_Path();
        const QByteArray expected = QByteArray::number(QCoreApplication::applicationPid()) + "\r\n"
            "prlale\r\n"
            "Parlanta Alemán\r\n"
            "Spanish\r\n"
            "German\r\n"
            "Zoë Núñez\r\n"
            "Café Und Kuchen\r\n"
            "3\r\n"
            + modMain.DataDir.toUtf8() + "Users.dat\r\n"
            "EMPTY\r\nEMPTY\r\nEMPTY\r\nEMPTY\r\nEMPTY\r\n"
            " 0 \r\n"
            "\"Er sagt \"Grüß Gott\"\"\r\n\"Dice \"hola\"\"\r\n\"\"\r\n\"" + temp.toUtf8() + "~prl902101.wav\"\r\n"
            "\"Die Straße\"\r\n\"La calle\"\r\n\"Rúa\"\r\n\"" + temp.toUtf8() + "~prl902102.wav\"\r\n"
            "\"Das Mädchen\"\r\n\"La niña\"\r\n\"\"chica\"\"\r\n\"" + temp.toUtf8() + "~prl902103.wav\"\r\n";
        QCOMPARE(contents(exchangePath()), expected);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(contents(temp + Exchange_Sound_File_Name(i)), phrases[i - 1].sound);
        // Nothing half-written stays beside them.
        QCOMPARE(tempFolderFiles(),
            QStringList({ "~prl90210.txt", "~prl902101.wav", "~prl902102.wav", "~prl902103.wav" }));
        QCOMPARE(modMain.StudyPhraseCount, 3);
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
        QCOMPARE(m_window->TreeFolders->currentItem(), random);

        QElapsedTimer timer;
        qint64 startedAfter = -1;
        m_env->processes.onStart = [&] { startedAfter = timer.nsecsElapsed(); };
        timer.start();
        m_window->activityPanel().btnAct_Click(0);
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
        m_window->TreeFolders->setCurrentItem(colours->child(2));
        m_window->activityPanel().btnAct_Click(0);
        QCOMPARE(m_window->TreeFolders->currentItem(), colours);
        QCOMPARE(exchangeLines()[6], QStringLiteral("Colours"));
        QCOMPARE(exchangeLines().size(), 15 + 16);
    }

    void foldersAndNothingSelectedAreRefused()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(1));
        load();
        m_window->TreeFolders->setCurrentItem(top(1));
        m_window->activityPanel().btnAct_Click(0);
        m_window->TreeFolders->setCurrentItem(nullptr);
        m_window->activityPanel().btnAct_Click(0);
        QCOMPARE(m_env->dialogs.shown.size(), 2);
        for (const fakes::Message& m : m_env->dialogs.shown) {
            QCOMPARE(m.text, QStringLiteral("T22"));
            QCOMPARE(m.title, QStringLiteral("T103"));
            QCOMPARE(m.icon, platform::Icon::Warning);
        }
        QVERIFY(m_env->processes.started.isEmpty());
        QVERIFY(m_window->isEnabled());
    }

    void randomPhrasesAndVirtualSubjectsLaunchTheirUsablePhrases()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(5));
        fixtures::writeVirtualSubjectFile(modMain.VirtualSubjectsDir + "Mine.vale",
            { { "Four",
                { { "colours.ale", 5, "P5", "Tr5", "" }, { "gone.ale", 1, "G", "Gone", "" },
                    { "colours.ale", 1, "P1", "Tr1", "" }, { "colours.ale", 2, "P2", "Tr2", "" } } } });
        load();
        Set_Rnd_Script([] { return 0.5; });
        click(top(3));
        m_window->activityPanel().btnAct_Click(0);
        QStringList lines = exchangeLines();
        QCOMPARE(lines[6], QStringLiteral("T118"));
        QCOMPARE(lines.size(), 55);
        QCOMPARE(lines[15], QStringLiteral("\"P3\"")); // int(0.5 × 5) + 1

        QTreeWidgetItem* four = node("Four");
        click(four);
        m_env->dialogs.answers << false;
        m_window->activityPanel().btnAct_Click(1);
        QCOMPARE(m_env->dialogs.shown.size(), 1); // the missing phrase, answered No
        QVERIFY(m_env->dialogs.shown[0].text.contains("GONE.ALE"));
        lines = exchangeLines();
        QCOMPARE(lines[6], QStringLiteral("Four"));
        QCOMPARE(lines[7], QStringLiteral("3"));
        QCOMPARE(lines.mid(15, 1) + lines.mid(19, 1) + lines.mid(23, 1), QStringList({ "\"P5\"", "\"P1\"", "\"P2\"" }));
        QCOMPARE(m_env->processes.started.size(), 2);
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
        m_window->activityPanel().btnAct_Click(0);
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].title, QStringLiteral("T103"));
        QCOMPARE(nodeImage(colours), int(UnusableSubject));
        QCOMPARE(nodeSelectedImage(colours), int(UnusableSubject));

        click(node("Eleven"));
        m_window->activityPanel().btnAct_Click(0);
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(errorReports()[0].startsWith("T149\r\n\r\nGet_Phraes_to_Study: "));
        QCOMPARE(m_env->dialogs.shown.last().text, QStringLiteral("There are no phrases to study"));

        click(node("Empty"));
        m_window->activityPanel().btnAct_Click(0);
        QCOMPARE(m_env->dialogs.shown.last().text, QStringLiteral("There are no phrases to study"));
        QCOMPARE(m_env->dialogs.shown.last().icon, platform::Icon::None);
        QVERIFY(m_env->processes.started.isEmpty());
        QVERIFY(!QFile::exists(exchangePath()));
        QVERIFY(m_window->isEnabled());
    }

    void aFileThatCannotBeWrittenOrAProgramThatDoesNotStart()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(2));
        load();
        click(node("Colours"));
        // A folder where the exchange file belongs.
        QVERIFY(QDir().mkpath(exchangePath()));
        m_window->activityPanel().btnAct_Click(0);
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(errorReports()[0].startsWith("T149\r\n\r\nWrite_Exchange_File: "));
        QVERIFY(m_env->processes.started.isEmpty());
        QVERIFY(m_window->isEnabled());
        QVERIFY(QDir().rmdir(exchangePath()));

        m_env->processes.succeed = false;
        m_window->activityPanel().btnAct_Click(0);
        QCOMPARE(errorReports().size(), 2);
        QVERIFY(errorReports()[1].startsWith("T149\r\n\r\nbtnAct_Click: "));
        QVERIFY(errorReports()[1].contains("Pairs.exe"));
        QVERIFY(m_window->isEnabled());
    }

    void aProgramThatIsNotExecutableIsReported()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(2));
        load();
        click(node("Colours"));
        platform::installQtServices();
        platform::Processes* real = platform::services().processes;
        platform::installServices({ &m_env->dialogs, &m_env->shell, real, &m_env->sound, &m_env->network,
            &m_env->registry, &m_env->clock });
        QFile program(activities() + "Pairs.exe");
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        m_window->activityPanel().btnAct_Click(0);
        platform::installServices(m_env->previous);
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(errorReports()[0].contains("Pairs.exe"));
        QVERIFY(m_window->isEnabled());
    }

    void moreActivitiesOpensItsPage()
    {
        QLabel* more = m_window->lblMoreActs;
        auto release = [more] {
            QMouseEvent event(QEvent::MouseButtonRelease, QPointF(3, 3), QPointF(more->mapToGlobal(QPoint(3, 3))),
                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(more, &event);
        };
        release();
        m_env->network.online = true;
        release();
        QCOMPARE(m_env->shell.opened, QStringList({ Get_App_Path() + "T95", "T94activities.htm" }));
        QVERIFY(!frmMsgBox::isLoaded());
    }

    void linesOfTheExchangeFileStayLines()
    {
        modMain.StudyPhrases.resize(11);
        modMain.StudyPhrases[1] = { "a.ale", 1, "Zwei\r\nZeilen", "dos\nlíneas", "tres\rlíneas" };
        modMain.StudyPhraseCount = 1;
        modMain.CurrentStudent = "Ana\nRuiz";
        const QStringList lines = Exchange_File_Lines("Sub\r\nject", 42);
        QCOMPARE(lines.size(), 19);
        QCOMPARE(lines[0], QStringLiteral("42"));
        QCOMPARE(lines[5], QStringLiteral("Ana Ruiz"));
        QCOMPARE(lines[6], QStringLiteral("Sub ject"));
        QCOMPARE(lines.mid(15, 3), QStringList({ "\"Zwei Zeilen\"", "\"dos líneas\"", "\"tres líneas\"" }));
        modMain.StudyPhrases.clear();
    }
};

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
