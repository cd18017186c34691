#include "subjecttree.h"

#include <stdexcept>
#include <utility>

#include "common/captions.h"
#include "common/errorreport.h"
#include "common/heldtreeupdates.h"
#include "common/session.h"
#include "common/statuslog.h"
#include "subjects/reviewfolder.h"
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

SubjectTree::SubjectTree(
    QTreeWidget* tree, FileList* installed, FileList* virtualFiles, const Session& session, const ReviewFolder* review)
    : TreeFolders(tree)
    , File1(installed)
    , File2(virtualFiles)
    , m_session(session)
    , m_review(review)
{
}

QTreeWidgetItem* SubjectTree::fixedFolder(int n) const
{
    if (n < 1 || n > (m_review ? 4 : 3) || TreeFolders->topLevelItemCount() < n)
        throw std::out_of_range("Index out of bounds");
    return TreeFolders->topLevelItem(n - 1);
}

bool SubjectTree::isVirtualFileFolder(const QTreeWidgetItem* node)
{
    // A virtual subject file's name has its extension; the fixed folders are named without one.
    return node && !node->parent() && Subject_Ref(node).kind == SubjectRef::Kind::Folder
        && Subject_Ref(node).file.contains(QLatin1Char('.'));
}

QTreeWidgetItem* SubjectTree::launchSubject() const
{
    QTreeWidgetItem* node = TreeFolders->currentItem();
    if (Subject_Ref(node).isSubject())
        return node;
    if (!node || Subject_Ref(node).kind == SubjectRef::Kind::Folder)
        return nullptr;
    QTreeWidgetItem* subject = node->parent();
    if (!Subject_Ref(subject).isSubject())
        return nullptr;
    TreeFolders->setCurrentItem(subject);
    return subject;
}

void SubjectTree::addPlaceholder(QTreeWidgetItem* parent)
{
    parent->addChild(makeNode(Caption(130), SubjectRef::placeholder(), NoImage));
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
        const std::pair<int, QString> folders[] = { { 2, QStringLiteral("INSTALLED_SUBJECTS") },
            { 117, QStringLiteral("RANDOM_SUBJECT") }, { 119, QStringLiteral("RANDOM_PHRASES") } };
        for (const auto& [text, name] : folders)
            TreeFolders->addTopLevelItem(makeNode(Caption(text), SubjectRef::folder(name), FolderClosed, NoImage, true));
        if (m_review)
            TreeFolders->addTopLevelItem(m_review->makeFolder());
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
            const QString shown = trimBlanks(title);
            subjects << makeNode(shown, SubjectRef::subject(name, shown, installed->text(0)), SubjectImage,
                SubjectSelected);
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
        for (const QString& name : inReadingOrder(File2->names(), m_session.InterfaceLanguage)) {
            auto* folder
                = makeNode(virtualFileDisplayName(name), SubjectRef::folder(name), VirtualFileClosed, NoImage, true);
            TreeFolders->addTopLevelItem(folder);
            QList<QTreeWidgetItem*> subjects;
            for (const VirtualSubjectRow& row : readVirtualSubjects(m_session.VirtualSubjectsDir + name)) {
                const SubjectRef subject
                    = SubjectRef::virtualSubject(name, row.nParent.trimmed().toInt(), row.name, folder->text(0));
                subjects << makeNode(row.name, subject, VirtualSubjectImage, VirtualSubjectSelected);
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
    HeldTreeUpdates held(TreeFolders);
    TreeFolders->clear();
    Create_Folders();
    Get_Subjects();
    Get_vSubjects();
}
