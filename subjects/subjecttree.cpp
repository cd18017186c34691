#include "subjecttree.h"

#include <stdexcept>

#include "common/errorreport.h"
#include "common/heldtreeupdates.h"
#include "common/modmain.h"
#include "common/statuslog.h"
#include "subjects/subjectfile.h"
#include "subjects/subjectnames.h"
#include "subjects/treenode.h"

namespace {
// The list trims blanks only, as the title's leading blank is the one thing to go.
QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}
}

SubjectTree::SubjectTree(QTreeWidget* tree, FileList* installed, FileList* virtualFiles)
    : TreeFolders(tree)
    , File1(installed)
    , File2(virtualFiles)
{
}

QTreeWidgetItem* SubjectTree::fixedFolder(int n) const
{
    if (n < 1 || n > 3 || TreeFolders->topLevelItemCount() < n)
        throw std::out_of_range("Index out of bounds");
    return TreeFolders->topLevelItem(n - 1);
}

bool SubjectTree::isVirtualFileFolder(const QTreeWidgetItem* node) const
{
    return node && !node->parent() && TreeFolders->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(node)) >= 3;
}

void SubjectTree::addPlaceholder(QTreeWidgetItem* parent)
{
    parent->addChild(makeNode(Caption(130), IgnoreTag, NoImage));
}

void SubjectTree::reportProgress(BusyProgress& progress, const QString& text)
{
    if (Status_Log_Showing())
        Put_Status_Line(Caption(23) + QLatin1Char(' ') + text);
    progress.report(text);
}

void SubjectTree::Create_Folders()
{
    try {
        TreeFolders->addTopLevelItem(
            makeNode(Caption(2), QStringLiteral("FOLDER*INSTALLED_SUBJECTS"), FolderClosed, NoImage, true));
        TreeFolders->addTopLevelItem(
            makeNode(Caption(117), QStringLiteral("FOLDER*RANDOM_SUBJECT"), FolderClosed, NoImage, true));
        TreeFolders->addTopLevelItem(
            makeNode(Caption(119), QStringLiteral("FOLDER*RANDOM_PHRASES"), FolderClosed, NoImage, true));
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Create_Folders"), failureDescription(e));
    }
}

void SubjectTree::Get_Subjects()
{
    try {
        HeldTreeUpdates held(TreeFolders);
        BusyProgress progress;
        QTreeWidgetItem* installed = fixedFolder(1);
        qDeleteAll(installed->takeChildren());
        File1->refresh();
        // The nodes join the tree together: each one added alone would make the tree announce it to its view.
        QList<QTreeWidgetItem*> subjects;
        for (const QString& name : File1->names()) {
            const QString title = Proper_Title(name);
            subjects << makeNode(trimBlanks(title), QStringLiteral("SUBJECT*") + name, SubjectImage, SubjectSelected);
            reportProgress(progress, title);
        }
        installed->addChildren(subjects);
        if (installed->childCount() == 0)
            addPlaceholder(installed);
        TreeFolders->setCurrentItem(installed);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Subjects"), failureDescription(e));
    }
}

void SubjectTree::Get_vSubjects()
{
    try {
        HeldTreeUpdates held(TreeFolders);
        BusyProgress progress;
        File2->refresh();
        for (const QString& name : inReadingOrder(File2->names())) {
            auto* folder = makeNode(
                virtualFileDisplayName(name), QStringLiteral("FOLDER*") + name, VirtualFileClosed, NoImage, true);
            TreeFolders->addTopLevelItem(folder);
            QList<QTreeWidgetItem*> subjects;
            for (const VirtualSubjectRow& row : readVirtualSubjects(modMain.VirtualSubjectsDir + name)) {
                subjects << makeNode(row.name, QStringLiteral("SUBJECT*VIRTUALSUBJECT*") + row.nParent,
                    VirtualSubjectImage, VirtualSubjectSelected);
                reportProgress(progress, row.name);
            }
            folder->addChildren(subjects);
            if (folder->childCount() == 0)
                addPlaceholder(folder);
        }
    } catch (const std::exception& e) {
        // A file that does not open ends the listing here; what is in the tree stays.
        Error_Report(QStringLiteral("Get_vSubjects"), failureDescription(e));
    }
}

void SubjectTree::Refresh_Subjects()
{
    if (!modMain.VirtualSubjectsChanged)
        return;
    modMain.VirtualSubjectsChanged = false;
    HeldTreeUpdates held(TreeFolders);
    TreeFolders->clear();
    Create_Folders();
    Get_Subjects();
    Get_vSubjects();
}
