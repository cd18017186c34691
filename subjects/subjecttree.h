#pragma once

#include <QTreeWidget>

#include "common/busyprogress.h"
#include "common/filelist.h"

class ReviewFolder;
struct Session;

// The subject tree of the main window: the fixed folders, the installed subjects and the virtual subject files
// with their virtual subjects. Every node carries its tag and image numbers (treenode.h).
class SubjectTree
{
public:
    // The virtual subject files are read from the session's folder and listed in the order of its language. With
    // a review folder the fixed folders end with it.
    SubjectTree(QTreeWidget* TreeFolders, FileList* File1, FileList* File2, const Session& session,
        const ReviewFolder* review = nullptr);
    void Create_Folders();
    void Get_Subjects();
    void Get_vSubjects();
    void Refresh_Subjects();

    // Fixed folder n: 1 installed subjects, 2 random subject, 3 random phrases, 4 to review. Throws when the
    // tree does not hold it.
    QTreeWidgetItem* fixedFolder(int n) const;
    // A virtual subject file's folder sits at the top level after the fixed folders.
    static bool isVirtualFileFolder(const QTreeWidgetItem* node);
    // The subject a launch takes: the selected one, or the subject of the selected phrase, which becomes the
    // selected node. nullptr when a folder or nothing is selected.
    QTreeWidgetItem* launchSubject() const;

private:
    void addPlaceholder(QTreeWidgetItem* parent);
    void reportProgress(BusyProgress& progress, const QString& text);

    QTreeWidget* TreeFolders;
    FileList* File1;
    FileList* File2;
    const Session& m_session;
    const ReviewFolder* m_review;
};
