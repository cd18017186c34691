#pragma once

#include <QMenu>
#include <QTreeWidget>

#include "common/session.h"
#include "subjects/reviewfolder.h"
#include "subjects/subjecttree.h"
#include "subjects/treeevents.h"
#include "subjects/treenode.h"
#include "tests/support/subjectsession.h"

namespace fixtures {

// The main window's subject tree, wired as the program wires it, over subject folders of its own: the window kept
// from input while a subject is read, the tree with its click steps, the phrase popup and the review folder, which
// lists what the test puts in due.
class TreeWindow
{
public:
    TreeWindow()
        : session(subjectSession(folder))
        , tree(new QTreeWidget(&window))
        , menu(new QMenu(&window))
        , file1(fileList(session.InstalledSubjectsDir, QStringLiteral("*.ale")))
        , file2(fileList(session.VirtualSubjectsDir, QStringLiteral("*.vale")))
        , review(tree, session, [this] { return due; })
        , subjects(tree, &file1, &file2, session, &review)
        , events(tree, &file1, session, &window, menu, menu->addAction(QStringLiteral("T112")), &review)
    {
        loadNumberedCaptions();
    }

    QString installed(const QString& name) const { return session.InstalledSubjectsDir + name; }
    QString virtualFile(const QString& name) const { return session.VirtualSubjectsDir + name; }
    QTreeWidgetItem* top(int n) const { return tree->topLevelItem(n - 1); }
    // The first node showing text, at any depth.
    QTreeWidgetItem* node(const QString& text) const
    {
        const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void click(QTreeWidgetItem* node)
    {
        tree->setCurrentItem(node);
        events.TreeFolders_NodeClick(node);
    }
    // The start-up steps: the folders and subjects in the tree.
    void load()
    {
        subjects.Create_Folders();
        subjects.Get_Subjects();
        subjects.Get_vSubjects();
    }

    SubjectFolders folder;
    Session session;
    QWidget window;
    QTreeWidget* tree;
    QMenu* menu; // the phrase popup
    FileList file1;
    FileList file2;
    DueReview due;
    ReviewFolder review;
    SubjectTree subjects;
    TreeEvents events;
};

}
