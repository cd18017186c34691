#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "common/apppath.h"
#include "common/paths.h"
#include "common/filelist.h"
#include "common/registry.h"
#include "common/session.h"
#include "common/subjectfolders.h"
#include "platform/tempfolder.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/privatetemp.h"

// Root may write into any folder, so a read-only program folder is made by a directory standing where
// the probe file must go.
static void makeReadOnly(const QString& folder) { QVERIFY(QDir().mkpath(folder + QStringLiteral("test.txt"))); }

class TestFolders : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { fixtures::loadNumberedCaptions(); }

    void writableProgramFolderHoldsTheData()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        Session session = fixtures::programSession(program.path());
        fixtures::loadNumberedCaptions();
        QString activities;
        Set_Paths(session, &activities);
        QCOMPARE(session.DataDir, program.path());
        QCOMPARE(session.InstalledSubjectsDir, program.path() + "T10/");
        QCOMPARE(session.VirtualSubjectsDir, program.path() + "T11/");
        QCOMPARE(Installed_Subject_Folders(session), QStringList { session.InstalledSubjectsDir });
        QCOMPARE(activities, program.path() + "Activities/");
        QVERIFY(!QFile::exists(program.file("test.txt")));
        QVERIFY(env.shell.copies.isEmpty());
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void readOnlyFolderCopiesVirtualSubjectsOnce()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        QTemporaryDir appData;
        env.shell.appData = appData.path();
        QFile shipped(program.file("T11/Examples.vale"));
        QVERIFY(shipped.open(QIODevice::WriteOnly));
        shipped.write("x");
        shipped.close();
        makeReadOnly(program.path());
        Session session = fixtures::programSession(program.path());
        fixtures::loadNumberedCaptions();

        Set_Paths(session, nullptr);
        const QString expected = appData.path() + QStringLiteral("/Parlanta Alemán/");
        QCOMPARE(session.DataDir, expected);
        QCOMPARE(session.VirtualSubjectsDir, expected + "T11/");
        QCOMPARE(session.InstalledSubjectsDir, program.path() + "T10/");
        QCOMPARE(Installed_Subject_Folders(session), QStringList({ program.path() + "T10/", expected + "T10/" }));
        QVERIFY(QFile::exists(expected + "T11/Examples.vale"));
        QCOMPARE(env.shell.copies.size(), 1);
        constexpr auto othersRights = QFileDevice::Permissions(0x0077);
        QCOMPARE(QFile::permissions(expected) & othersRights, QFileDevice::Permissions());

        // The user's changes survive the next start: no second copy. A folder an older version made open to
        // everybody is closed.
        QFile::remove(expected + "T11/Examples.vale");
        QVERIFY(QFile::setPermissions(expected, QFileDevice::Permissions(0x7755)));
        Set_Paths(session, nullptr);
        QCOMPARE(QFile::permissions(expected) & othersRights, QFileDevice::Permissions());
        QCOMPARE(env.shell.copies.size(), 1);
        QVERIFY(!QFile::exists(expected + "T11/Examples.vale"));
    }

    // Imported lessons of a read-only installation sit in the data folder; the tree lists both folders as one, and
    // a name in both is the program's.
    void installedSubjectsOfBothFoldersAreFoundByName()
    {
        QTemporaryDir root;
        Session session;
        session.InstalledSubjectsDir = root.filePath("program/T10/");
        session.ImportedSubjectsDir = root.filePath("data/T10/");
        for (const QString& path : { session.InstalledSubjectsDir + "b.ale", session.InstalledSubjectsDir + "same.ale",
                 session.ImportedSubjectsDir + "a.ale", session.ImportedSubjectsDir + "Same.ale" }) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        FileList list;
        list.setPaths(Installed_Subject_Folders(session));
        list.setPattern("*.ale");
        list.refresh();
        QCOMPARE(list.names(), QStringList({ "a.ale", "b.ale", "same.ale" }));
        QCOMPARE(Installed_Subject_Path(session, "a.ale"), session.ImportedSubjectsDir + "a.ale");
        QCOMPARE(Installed_Subject_Path(session, "b.ale"), session.InstalledSubjectsDir + "b.ale");
        QCOMPARE(Installed_Subject_Path(session, "gone.ale"), session.InstalledSubjectsDir + "gone.ale");
    }

    void noAppDataFolderFallsBackToTemporaryFolder()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        makeReadOnly(program.path());
        Session session = fixtures::programSession(program.path());
        fixtures::loadNumberedCaptions();
        Set_Paths(session, nullptr);
        QCOMPARE(session.DataDir, Get_Temp_Path() + QStringLiteral("Parlanta Alemán/"));
        QVERIFY(QFileInfo(session.DataDir).isDir());
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.startsWith("Please report the following message to support@"));
        QVERIFY(env.dialogs.shown[0].text.endsWith("The App Data folder does not exist"));
        QDir(session.DataDir).removeRecursively();
    }

    void missingShippedFolderAndUnwritableDataFolderAreReported()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        QDir(program.file("T11")).removeRecursively();
        QTemporaryDir appData;
        env.shell.appData = appData.path();
        makeReadOnly(program.path());
        Session session = fixtures::programSession(program.path());
        fixtures::loadNumberedCaptions();
        Set_Paths(session, nullptr);
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.startsWith("T149\r\n\r\nCopy_Folder: "));
        QCOMPARE(env.dialogs.shown[0].title, QStringLiteral("ERROR"));
        QCOMPARE(session.VirtualSubjectsDir, session.DataDir + "T11/");

        // A data folder that cannot be made: the report names the procedure and start-up goes on.
        QFile blocker(appData.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        env.shell.appData = appData.filePath("file");
        env.dialogs.shown.clear();
        Set_Paths(session, nullptr);
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.startsWith("T149\r\n\r\nSet_Paths: "));
    }

    void registryIsWrittenOnlyWhenDifferentBeyondCase()
    {
        fakes::Environment env;
        Session session = fixtures::programSession("/opt/parlanta");
        fixtures::loadNumberedCaptions();
        session.InstalledSubjectsDir = "/opt/parlanta/T10/";
        session.VirtualSubjectsDir = "/home/u/T11/";
        const QString key = QStringLiteral("Software\\Parlanta\\prlale");
        env.registry.values[key + "|InstalledSubjectsDir"] = "/OPT/PARLANTA/t10/";
        env.registry.values[key + "|ProgramDir"] = "/old/place/";
        Record_Folders(session);
        QCOMPARE(env.registry.writes, QStringList({ key + "|ProgramDir", key + "|VirtualSubjectsDir" }));
        QCOMPARE(env.registry.values[key + "|InstalledSubjectsDir"], QStringLiteral("/OPT/PARLANTA/t10/"));
        QCOMPARE(env.registry.values[key + "|ProgramDir"], QStringLiteral("/opt/parlanta/"));
        env.registry.writes.clear();
        Record_Folders(session);
        QVERIFY(env.registry.writes.isEmpty());
    }

    void foldersEndWithOneSeparator()
    {
        QCOMPARE(With_Separator("/"), QStringLiteral("/"));
        QCOMPARE(With_Separator("/opt/parlanta"), QStringLiteral("/opt/parlanta/"));
        QCOMPARE(fixtures::programSession("/opt/parlanta").ProgramDir, QStringLiteral("/opt/parlanta/"));
        const QString temp = Get_Temp_Path();
        QVERIFY(temp.endsWith('/'));
        QVERIFY(!temp.endsWith("//"));
        QVERIFY(temp.startsWith(QDir::tempPath()));
        // The exchange folder is this user's alone.
        QCOMPARE(QFile::permissions(temp) & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup),
            QFileDevice::Permissions());
        QCOMPARE(platform::privateTempFolderIn(QString()), QStringLiteral("/"));
    }

    void plantedTempFoldersArePassedOver()
    {
#ifdef Q_OS_UNIX
        fixtures::PrivateTempFolder systemTemp;
        QTemporaryDir elsewhere;
        const QString base = systemTemp.path() + "/parlanta-" + QString::number(getuid());
        // A link planted under the predictable name, a file under the next one, and an open folder of this user's.
        QVERIFY(QFile::link(elsewhere.path(), base));
        QFile file(base + "-1");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QDir().mkdir(base + "-2"));
        QVERIFY(QFile::setPermissions(base + "-2", QFileDevice::Permissions(0x7777)));
        QCOMPARE(platform::privateTempFolderIn(systemTemp.path()), base + "-2/");
        QCOMPARE(QFile::permissions(base + "-2")
                & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther | QFileDevice::ReadGroup
                    | QFileDevice::WriteGroup),
            QFileDevice::Permissions());
        QVERIFY(QDir(elsewhere.path()).isEmpty());
        // The same walk in another process of this user ends at the same folder.
        QCOMPARE(platform::privateTempFolderIn(systemTemp.path()), base + "-2/");
        if (getuid() == 0) {
            // Someone else's folder: only root can make one here to try it.
            QVERIFY(::chown(QFile::encodeName(base + "-2").constData(), 65534, 65534) == 0);
            QCOMPARE(platform::privateTempFolderIn(systemTemp.path()), base + "-3/");
        }
#else
        QSKIP("links and owners are checked on Unix");
#endif
    }

    // Another user can take every predictable name at once; the program still gets a folder of its own.
    void everyNameTakenGivesAFreshFolder()
    {
#ifdef Q_OS_UNIX
        QTemporaryDir systemTemp;
        const QString base = systemTemp.path() + "/parlanta-" + QString::number(getuid());
        for (int n = 0; n < 100; ++n) {
            QFile taken(n == 0 ? base : base + "-" + QString::number(n));
            QVERIFY(taken.open(QIODevice::WriteOnly));
        }
        const QString folder = platform::privateTempFolderIn(systemTemp.path());
        QVERIFY2(folder.startsWith(base + "-") && folder.size() == base.size() + 8, qPrintable(folder));
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QFile::permissions(folder) & 0x0077, QFileDevice::Permissions());
        // Made once: every later call of the run names the same folder.
        const QString kept = platform::privateTempFolder();
        QCOMPARE(platform::privateTempFolder(), kept);
#else
        QSKIP("names are taken on Unix");
#endif
    }

    void readOnlyProbe()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        QVERIFY(!Is_Folder_Read_Only(folder));
        QVERIFY(!QFile::exists(folder + "test.txt"));
        QVERIFY(Is_Folder_Read_Only(folder + "missing/"));
        makeReadOnly(folder);
        QVERIFY(Is_Folder_Read_Only(folder));
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_folders.moc"
