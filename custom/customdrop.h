#pragma once

#include <QString>

#include "common/session.h"
#include "subjects/nodetag.h"

class FileList;
class QTreeWidget;
class QTreeWidgetItem;

// What a drop into TreeVirtual did; the refusals have shown their message already.
enum class DropResult {
    Nothing, // the root of TreeSubjects, or nothing dragged
    NoTarget, // let go over no node
    SubjectCopied,
    PhraseCopied,
    NotAFile, // a whole subject on a virtual subject or a phrase: interface text 137
    NotASubject, // a phrase on a file: interface text 126
    SubjectFull, // interface text 7
    AlreadyThere, // the virtual subject has the phrase: interface text 171
    SourceUnusable, // the installed subject cannot be read (deleted, broken): reported, nothing written
    Failed, // the copy failed part way: reported; the rows written so far stay
};
// Whether the drop wrote to a virtual subject file, so that the main tree must be read again.
bool Drop_Wrote(DropResult result);

// Single drops fill a virtual subject up to this many phrases.
constexpr int PhraseLimit = 10;

// The node dragged from TreeSubjects (its selected node) let go on target, a node of TreeVirtual or none:
// the root drops nothing, an installed subject drops the whole subject, a phrase drops one phrase, into the
// session's files. The new
// nodes appear under the target, which is expanded; the new subject or phrase is selected.
DropResult Drop_Node(const Session& session, QTreeWidget* TreeVirtual, QTreeWidgetItem* target,
    const QTreeWidgetItem* dragged, const FileList& File1);
// A whole installed subject (its file name in InstalledSubjectsDir) as a new virtual subject named title;
// a phrase the subject holds twice is copied once, and interface text 171 says so.
DropResult Drop_Subject(const Session& session, QTreeWidget* TreeVirtual, QTreeWidgetItem* target,
    const QString& sourceFile, const QString& title);
// One phrase, by the five-field phrase tag of TreeSubjects.
DropResult Drop_Phrase(
    const Session& session, QTreeWidget* TreeVirtual, QTreeWidgetItem* target, const NodeTag& phrase);
