#include "customnodes.h"

#include <QTreeWidgetItem>

#include "common/captions.h"
#include "platform/plaintooltip.h"
#include "subjects/treenode.h"

namespace {
// A long phrase is cut at the edge of its tree; the pointer resting on it shows it whole, with the phrase in
// the language taught.
QTreeWidgetItem* withToolTip(QTreeWidgetItem* node, const NodeTag& phrase)
{
    node->setToolTip(0, platform::plainToolTip(phrase.field(3) + QLatin1Char('\n') + phrase.field(2)));
    return node;
}

// Only files and virtual subjects take a new name.
QTreeWidgetItem* renamable(QTreeWidgetItem* node)
{
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    return node;
}

bool isFixedFolder(const QTreeWidgetItem* node)
{
    const int image = nodeImage(node);
    return image == FolderClosed || image == FolderOpen;
}
}

NodeKind Node_Kind(const QTreeWidgetItem* node)
{
    if (!node)
        return NodeKind::None;
    if (isBoldNode(node))
        return NodeKind::Top;
    if (node->parent() && isBoldNode(node->parent()))
        return NodeKind::Middle;
    return NodeKind::Phrase;
}

QTreeWidgetItem* Top_Node(QTreeWidgetItem* node)
{
    while (node && !isBoldNode(node))
        node = node->parent();
    return node;
}

QTreeWidgetItem* Installed_Root_Node() { return makeNode(Caption(2), QString(), FolderClosed, NoImage, true); }

QTreeWidgetItem* Installed_Subject_Node(const QString& title, int position)
{
    return makeNode(title, QString::number(position), SubjectImage, SubjectSelected);
}

QTreeWidgetItem* Installed_Phrase_Node(const QString& file, const PhraseRow& row)
{
    const NodeTag tag = Phrase_Tag(file, row);
    return withToolTip(Phrase_Node(tag, PhraseImage), tag);
}

QTreeWidgetItem* Virtual_File_Node(const QString& displayName)
{
    return renamable(makeNode(displayName, QString(), VirtualFileClosed, NoImage, true));
}

QTreeWidgetItem* Virtual_Subject_Node(const QString& name, const QString& key)
{
    return renamable(makeNode(name, key, VirtualSubjectImage, VirtualSubjectSelected));
}

QTreeWidgetItem* Virtual_Phrase_Node(const NodeTag& phrase, int pkPhraseNo)
{
    return withToolTip(Phrase_Node(phrase.with(QString::number(pkPhraseNo)), VirtualPhraseImage), phrase);
}

QTreeWidgetItem* Virtual_Phrase_Node(const VirtualPhraseRow& row)
{
    return Virtual_Phrase_Node(Phrase_Tag(row), row.pkPhraseNo);
}

void Show_Folder_State(QTreeWidgetItem* node, bool open)
{
    if (Node_Kind(node) != NodeKind::Top)
        return;
    if (isFixedFolder(node))
        setNodeImage(node, open ? FolderOpen : FolderClosed);
    else
        setNodeImage(node, open ? VirtualFileOpen : VirtualFileClosed);
}

void Toggle_Folder(QTreeWidgetItem* node)
{
    const bool open = node->childCount() > 0 ? node->isExpanded()
                                             : nodeImage(node) == FolderOpen || nodeImage(node) == VirtualFileOpen;
    node->setExpanded(!open);
    Show_Folder_State(node, !open);
}
