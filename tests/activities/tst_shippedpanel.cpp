#include <QtTest>

#include <QLabel>
#include <QTreeWidget>

#include "activities/activitypanel.h"
#include "common/filelist.h"
#include "common/session.h"
#include "platform/services.h"
#include "subjects/subjecttree.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfixtures.h"

using platform::twips;

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
        Session session = fixtures::programSession(folder.path());
        fixtures::loadNumberedCaptions();
        session.DataDir = data.path() + "/";
        session.InstalledSubjectsDir = stage + "/Temas/";
        session.VirtualSubjectsDir = stage + "/Mis temas/";
        // The activity programs arrive later: stand-ins beside copies of the shipped settings files.
        const QString activities = folder.file("Activities/");
        for (const QString& cfg : settings) {
            QVERIFY(QFile::copy(stage + "/Activities/" + cfg, activities + cfg));
            fixtures::writeActivityProgram(activities + QFileInfo(cfg).completeBaseName() + ".exe");
        }
        fakes::Environment env;
        QWidget window;
        auto* tree = new QTreeWidget(&window);
        auto* holder = new QWidget(&window);
        holder->resize(twips(5280), twips(5100));
        auto listed = [](const QString& folder, const QString& pattern) {
            FileList list;
            list.setPath(folder);
            list.setPattern(pattern);
            list.refresh();
            return list;
        };
        const FileList fileAct = listed(activities, "*.exe");
        FileList file1 = listed(session.InstalledSubjectsDir, "*.ale");
        FileList file2 = listed(session.VirtualSubjectsDir, "*.vale");
        ActivityPanel panel(holder, session);
        SubjectTree subjects(tree, &file1, &file2, session);
        QSignalSpy quit(&panel, &ActivityPanel::quitRequested);

        panel.Get_Settings(fileAct);
        subjects.Create_Folders();
        subjects.Get_Subjects();
        subjects.Get_vSubjects();
        panel.Get_Activities(fileAct, activities, session.ProgramCode);

        QCOMPARE(env.dialogs.shown.size(), 0);
        QVERIFY(quit.isEmpty());
        QCOMPARE(tree->topLevelItem(0)->childCount(), installed.size());
        QCOMPARE(tree->topLevelItemCount(), 3 + virtualFiles.size());
        for (int i = 3; i < tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* file = tree->topLevelItem(i);
            QVERIFY(file->childCount() > 0);
            QVERIFY(nodeTag(file->child(0)).startsWith("SUBJECT*VIRTUALSUBJECT*"));
        }
        QCOMPARE(panel.btnAct.size(), settings.size());
        for (QLabel* button : panel.btnAct)
            QVERIFY(!button->pixmap().isNull());
        for (int i = 1; i <= settings.size(); ++i)
            QVERIFY(panel.ImgON[i].toImage() != panel.ImgOFF[i].toImage());
    }
};

QTEST_MAIN(TestShippedPanel)
#include "tst_shippedpanel.moc"
