#include "customdrop.h"

#include <QTreeWidget>

#include "common/captions.h"
#include "common/errorreport.h"
#include "common/filelist.h"
#include "custom/customfill.h"
#include "custom/customnodes.h"
#include "custom/virtualfiles.h"
#include "platform/services.h"
#include "subjects/subjectchecks.h"

namespace {
void refuse(const Session& session, int text)
{
    platform::services().dialogs->message(Caption(text), session.ProductName, platform::Icon::None);
}

bool holds(const QTreeWidgetItem* subject, const NodeTag& phrase)
{
    const PhraseIdentity dropped { phrase.field(0), phrase.number(1), phrase.field(2) };
    for (int i = 0; i < subject->childCount(); ++i) {
        const NodeTag held = NodeTag::of(subject->child(i));
        if (Same_Phrase(dropped, { held.field(0), held.number(1), held.field(2) }))
            return true;
    }
    return false;
}

// A subject that was deleted or broke since the tree was filled gives nothing to copy; saying so beats a
// virtual subject whose phrases cannot be heard.
bool sourceUsable(const Session& session, const QString& file)
{
    const QString status = Check_Subject(session, file);
    if (status == ValidSubject)
        return true;
    Report_Subject_Problem(session, file, status);
    return false;
}

void openAndSelect(QTreeWidget* tree, QTreeWidgetItem* node)
{
    node->setExpanded(true);
    tree->setCurrentItem(node);
}
}

bool Drop_Wrote(DropResult result)
{
    return result == DropResult::SubjectCopied || result == DropResult::PhraseCopied || result == DropResult::Failed;
}

DropResult Drop_Node(const Session& session, QTreeWidget* TreeVirtual, QTreeWidgetItem* target,
    const QTreeWidgetItem* dragged, const FileList& File1)
{
    switch (Node_Kind(dragged)) {
    case NodeKind::Middle:
        return Drop_Subject(session, TreeVirtual, target, File1.list(NodeTag::of(dragged).number(0)), dragged->text(0));
    case NodeKind::Phrase:
        return Drop_Phrase(session, TreeVirtual, target, NodeTag::of(dragged));
    case NodeKind::Top:
    case NodeKind::None:
        break;
    }
    return DropResult::Nothing;
}

DropResult Drop_Subject(const Session& session, QTreeWidget* TreeVirtual, QTreeWidgetItem* target,
    const QString& sourceFile, const QString& title)
{
    if (!target)
        return DropResult::NoTarget;
    if (Node_Kind(target) != NodeKind::Top) {
        refuse(session, 137);
        return DropResult::NotAFile;
    }
    if (!sourceUsable(session, sourceFile))
        return DropResult::SourceUnusable;
    openAndSelect(TreeVirtual, target);
    try {
        const CopiedSubject copied = Copy_Subject(session, target->text(0), sourceFile, title);
        QTreeWidgetItem* subject = Virtual_Subject_Node(title, QString::number(copied.key));
        target->addChild(subject);
        for (const VirtualPhraseRow& row : copied.phrases)
            subject->addChild(Virtual_Phrase_Node(row));
        TreeVirtual->setCurrentItem(subject);
        if (copied.repeatsLeftOut > 0)
            refuse(session, 171);
        return DropResult::SubjectCopied;
    } catch (const std::exception& e) {
        // The rows written before the failure stay in the file; the main tree must show them (Drop_Wrote).
        Error_Report(QStringLiteral("Copy_Subject"), failureDescription(e));
        return DropResult::Failed;
    }
}

DropResult Drop_Phrase(const Session& session, QTreeWidget* TreeVirtual, QTreeWidgetItem* target, const NodeTag& phrase)
{
    if (!target)
        return DropResult::NoTarget;
    openAndSelect(TreeVirtual, target);
    const NodeKind kind = Node_Kind(target);
    if (kind == NodeKind::Top) {
        refuse(session, 126);
        return DropResult::NotASubject;
    }
    QTreeWidgetItem* subject = kind == NodeKind::Middle ? target : target->parent();
    // The stored phrases count too: without them a subject not opened yet would take ten more.
    Get_Virtual_Phrases(session, subject);
    if (subject->childCount() >= PhraseLimit) {
        refuse(session, 7);
        return DropResult::SubjectFull;
    }
    if (holds(subject, phrase)) {
        refuse(session, 171);
        return DropResult::AlreadyThere;
    }
    if (!sourceUsable(session, phrase.field(0)))
        return DropResult::SourceUnusable;
    try {
        const int row = Copy_Phrase(session, subject->parent()->text(0), NodeTag::of(subject).number(0),
            phrase.field(0), phrase.number(1), phrase.field(2), phrase.field(3), phrase.field(4));
        QTreeWidgetItem* node = Virtual_Phrase_Node(
            NodeTag({ phrase.field(0), phrase.field(1), phrase.field(2), phrase.field(3), phrase.field(4) }), row);
        subject->addChild(node);
        subject->setExpanded(true);
        TreeVirtual->setCurrentItem(node);
        return DropResult::PhraseCopied;
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Copy_Phrase"), failureDescription(e));
        return DropResult::Failed;
    }
}
