#include "customfill.h"

#include <QTreeWidget>

#include "common/busyprogress.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/filelist.h"
#include "common/frmmsgbox.h"
#include "custom/customnodes.h"
#include "custom/virtualfiles.h"
#include "subjects/subjectfile.h"
#include "subjects/subjectnames.h"
#include "common/subjectfolders.h"

// The nodes are made apart from their tree and join it at once: a tree laid out again at every pass of the
// pending events would cost more than the fill itself. The window is not shown while it fills.
void Fill_Installed_Subjects(QTreeWidgetItem* root, FileList& File1)
{
    QList<QTreeWidgetItem*> subjects;
    try {
        qDeleteAll(root->takeChildren());
        File1.refresh();
        BusyProgress progress;
        for (int i = 0; i < File1.listCount(); ++i) {
            const QString title = Proper_Title(File1.list(i));
            subjects << Installed_Subject_Node(title.trimmed(), i);
            progress.report(title);
        }
    } catch (const std::exception& e) {
        root->addChildren(subjects);
        Error_Report(QStringLiteral("Fill_Installed_Subjects"), failureDescription(e));
        return;
    }
    root->addChildren(subjects);
}

void Fill_Virtual_Subjects(const Session& session, QTreeWidget* TreeVirtual, FileList& File2)
{
    QStringList files;
    try {
        files = List_Virtual_Files(session, File2);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Fill_Virtual_Subjects"), failureDescription(e));
        return;
    }
    QList<QTreeWidgetItem*> nodes;
    BusyProgress progress;
    for (const QString& name : files) {
        QTreeWidgetItem* file = Virtual_File_Node(name);
        nodes << file;
        try {
            for (const VirtualSubjectRow& row : List_Virtual_Subjects(session, name)) {
                file->addChild(Virtual_Subject_Node(row.name, row.nParent));
                progress.report(row.name);
            }
        } catch (const std::exception& e) {
            // One unreadable file does not hide the others.
            Error_Report(QStringLiteral("Fill_Virtual_Subjects"), name + QStringLiteral(": ") + failureDescription(e));
        }
    }
    TreeVirtual->addTopLevelItems(nodes);
}

void Get_Subject_Phrases(const Session& session, QTreeWidgetItem* subject, const QString& file)
{
    if (!subject || subject->childCount() > 0)
        return;
    try {
        const platform::Recordset rs = readSubjectFile(Installed_Subject_Path(session, file), AllPhrasesSql);
        for (int i = 0; i < rs.count(); ++i)
            subject->addChild(Installed_Phrase_Node(file, phraseAt(rs, i)));
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Subject_Phrases"), failureDescription(e));
    }
}

void Get_Virtual_Phrases(const Session& session, QTreeWidgetItem* virtualSubject)
{
    if (!virtualSubject || virtualSubject->childCount() > 0 || !virtualSubject->parent())
        return;
    try {
        const QString file = virtualSubject->parent()->text(0);
        for (const VirtualPhraseRow& row : List_Virtual_Phrases(session, file, NodeTag::of(virtualSubject).number(0)))
            virtualSubject->addChild(Virtual_Phrase_Node(row));
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Virtual_Phrases"), failureDescription(e));
    }
}
