#include <QtTest>

#include "activities/activitypanel.h"
#include "app/frmmain.h"
#include "app/modmain.h"
#include "subjects/subjecttree.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfixtures.h"

// The program folder the build assembles: its subjects, virtual subjects and settings files must load into
// the tree and the panel without a single message. Skipped when the content has not been built.
class TestShippedPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shippedFilesLoad()
    {
        const QString stage = qEnvironmentVariable("PARLANTA_STAGE");
        const QStringList settings = QDir(stage + "/Activities").entryList({ "*.cfg" }, QDir::Files);
        const QStringList installed = QDir(stage + "/Temas").entryList({ "*.ale" }, QDir::Files);
        const QStringList virtualFiles = QDir(stage + "/Mis temas").entryList({ "*.vale" }, QDir::Files);
        if (stage.isEmpty() || settings.size() < 2 || installed.isEmpty() || virtualFiles.isEmpty())
            QSKIP("The program folder's content is not built.");

        fixtures::ProgramFolder folder;
        QTemporaryDir data;
        fixtures::useProgramFolder(folder.path());
        fixtures::loadNumberedCaptions();
        modMain.DataDir = data.path() + "/";
        modMain.InstalledSubjectsDir = stage + "/Temas/";
        modMain.VirtualSubjectsDir = stage + "/Mis temas/";
        // The activity programs arrive later: stand-ins beside copies of the shipped settings files.
        for (const QString& cfg : settings) {
            QVERIFY(QFile::copy(stage + "/Activities/" + cfg, folder.file("Activities/" + cfg)));
            fixtures::writeActivityProgram(folder.file("Activities/" + QFileInfo(cfg).completeBaseName() + ".exe"));
        }
        fakes::Environment env;
        frmMain window;
        window.ActivitiesDir = folder.file("Activities/");
        window.FileAct.setPath(window.ActivitiesDir);
        window.FileAct.setPattern("*.exe");
        window.FileAct.refresh();
        int ends = 0;
        window.activityPanel().setEndProgram([&] { ++ends; });

        window.activityPanel().Get_Settings();
        window.subjectTree().Create_Folders();
        window.subjectTree().Get_Subjects();
        window.subjectTree().Get_vSubjects();
        window.activityPanel().Get_Activities();

        QCOMPARE(env.dialogs.shown.size(), 0);
        QCOMPARE(ends, 0);
        QCOMPARE(window.TreeFolders->topLevelItem(0)->childCount(), installed.size());
        QCOMPARE(window.TreeFolders->topLevelItemCount(), 3 + virtualFiles.size());
        for (int i = 3; i < window.TreeFolders->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* file = window.TreeFolders->topLevelItem(i);
            QVERIFY(file->childCount() > 0);
            QVERIFY(nodeTag(file->child(0)).startsWith("SUBJECT*VIRTUALSUBJECT*"));
        }
        QCOMPARE(window.btnAct.size(), settings.size());
        for (QLabel* button : window.btnAct)
            QVERIFY(!button->pixmap().isNull());
        for (int i = 1; i <= settings.size(); ++i)
            QVERIFY(window.activityPanel().ImgON[i].toImage() != window.activityPanel().ImgOFF[i].toImage());
    }
};

QTEST_MAIN(TestShippedPanel)
#include "tst_shippedpanel.moc"
