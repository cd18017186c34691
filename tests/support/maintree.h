#pragma once

#include <QMenu>
#include <QTreeWidget>

#include "activities/activitylaunch.h"
#include "common/apppath.h"
#include "common/files.h"
#include "common/session.h"
#include "subjects/subjecttree.h"
#include "subjects/treeevents.h"
#include "tests/support/subjectsession.h"

namespace fixtures {

// The main window's part in a launch, wired as the program wires it, over subject folders of its own: the window
// kept from input while a subject is read, the subject tree with its click steps and the activity buttons'
// launcher. The student "Ana" studies; the data folder is the subject folders' own.
class MainTree
{
public:
    MainTree()
        : tree(new QTreeWidget(&window))
        , menu(new QMenu(&window))
        , fileAct(fileList(folder.file(QStringLiteral("Activities/")), QStringLiteral("*.exe")))
        , file1(fileList(used(folder).InstalledSubjectsDir, QStringLiteral("*.ale")))
        , file2(fileList(modMain.VirtualSubjectsDir, QStringLiteral("*.vale")))
        , subjects(tree, &file1, &file2)
        , events(tree, &file1, &window, menu, menu->addAction(QStringLiteral("T112")))
        , launcher(tree, &window, fileAct)
    {
        modMain.WindowHandle = 815;
        session = modMain;
        session.DataDir = folder.path();
        session.CurrentStudent = QStringLiteral("Ana");
    }

    QString installed(const QString& name) const { return modMain.InstalledSubjectsDir + name; }
    QString activities() const { return folder.file(QStringLiteral("Activities/")); }
    QString exchangePath() const { return Get_Temp_Path() + Exchange_File_Name(); }
    QTreeWidgetItem* top(int n) const { return tree->topLevelItem(n - 1); }
    void click(QTreeWidgetItem* node)
    {
        tree->setCurrentItem(node);
        events.TreeFolders_NodeClick(node);
    }
    void launch(int index = 0) { launcher.btnAct_Click(index, session, activities()); }
    // The start-up steps a launch relies on: the activity programs found, the folders and subjects in the tree.
    void load()
    {
        fileAct.refresh();
        subjects.Create_Folders();
        subjects.Get_Subjects();
        subjects.Get_vSubjects();
    }

    SubjectFolders folder;
    QWidget window;
    QTreeWidget* tree;
    QMenu* menu; // the phrase popup
    FileList fileAct;
    FileList file1;
    FileList file2;
    SubjectTree subjects;
    TreeEvents events;
    ActivityLauncher launcher;
    Session session;

private:
    // The folders are the program's before the file lists are made from them.
    static const Session& used(const SubjectFolders& folders)
    {
        useSubjectFolders(folders);
        return modMain;
    }
};

}
