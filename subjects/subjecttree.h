#pragma once

#include <QTreeWidget>

#include "app/util/filelist.h"

// The subject tree of the main window: the three fixed folders, the installed subjects and the virtual
// subject files with their virtual subjects.
class SubjectTree
{
public:
    SubjectTree(QTreeWidget* TreeFolders, FileList* File1, FileList* File2);
    void Create_Folders();
    void Get_Subjects();
    void Get_vSubjects();
    void Refresh_Subjects();

private:
    QTreeWidget* TreeFolders;
    FileList* File1;
    FileList* File2;
};
