#include "subjecttree.h"

SubjectTree::SubjectTree(QTreeWidget* tree, FileList* installed, FileList* virtualFiles)
    : TreeFolders(tree)
    , File1(installed)
    , File2(virtualFiles)
{
}

void SubjectTree::Create_Folders() { }
void SubjectTree::Get_Subjects() { }
void SubjectTree::Get_vSubjects() { }
void SubjectTree::Refresh_Subjects() { }
