#pragma once

#include <QString>

#include "subjects/nodetag.h"
#include "subjects/subjectfile.h"

class QTreeWidgetItem;

// Both trees of the custom subject editor have three levels, told apart by boldness alone: a bold node is a
// top node (the installed subjects folder, a virtual subject file), a node whose parent is bold is the
// middle level (an installed or a virtual subject), any other node is a phrase.
enum class NodeKind {
    None,
    Top,
    Middle,
    Phrase,
};
NodeKind Node_Kind(const QTreeWidgetItem* node);
// The bold node above a node, or the node itself when it is bold; nullptr when there is none.
QTreeWidgetItem* Top_Node(QTreeWidgetItem* node);

// TreeSubjects: the folder of the installed subjects, a subject by its position in File1, one of its phrases.
QTreeWidgetItem* Installed_Root_Node();
QTreeWidgetItem* Installed_Subject_Node(const QString& title, int position);
QTreeWidgetItem* Installed_Phrase_Node(const QString& file, const PhraseRow& row);

// TreeVirtual: a virtual subject file by its display name, a virtual subject by its key, a phrase by the
// five fields it shares with the installed phrase and its own row key in the virtual subject file.
QTreeWidgetItem* Virtual_File_Node(const QString& displayName);
QTreeWidgetItem* Virtual_Subject_Node(const QString& name, const QString& key);
QTreeWidgetItem* Virtual_Phrase_Node(const NodeTag& phrase, int pkPhraseNo);
QTreeWidgetItem* Virtual_Phrase_Node(const VirtualPhraseRow& row);

// A top node opened or closed: the open or closed picture of its kind of folder.
void Show_Folder_State(QTreeWidgetItem* node, bool open);
// A click on a top node: toggles it. An empty folder cannot be expanded, so its picture holds its state.
void Toggle_Folder(QTreeWidgetItem* node);
