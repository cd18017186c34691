#include "deletionundo.h"

#include <stdexcept>

#include <QTreeWidget>

#include "custom/customnodes.h"
#include "subjects/nodetag.h"

namespace {
void expandedIn(QTreeWidgetItem* node, QVector<QTreeWidgetItem*>& open)
{
    if (node->isExpanded())
        open << node;
    for (int i = 0; i < node->childCount(); ++i)
        expandedIn(node->child(i), open);
}
}

DeletionUndo::DeletionUndo(const Session& session)
    : m_session(session)
{
}

DeletionUndo::~DeletionUndo() = default;

void DeletionUndo::remove(QTreeWidget* tree, QTreeWidgetItem* node)
{
    QTreeWidgetItem* file = Top_Node(node);
    if (!file)
        throw std::invalid_argument("The node belongs to no virtual subject file.");
    const QString displayName = file->text(0);
    Deletion deletion;
    switch (Node_Kind(node)) {
    case NodeKind::Top:
        deletion.file = true;
        deletion.contents = Delete_Virtual_File(m_session, displayName);
        break;
    case NodeKind::Middle:
        deletion.rows = Delete_Virtual_Subject(m_session, displayName, NodeTag::of(node).number(0));
        break;
    case NodeKind::Phrase:
        deletion.rows = { Delete_Phrase(m_session, displayName, NodeTag::of(node).number(5)) };
        break;
    case NodeKind::None:
        return;
    }
    deletion.tree = tree;
    deletion.parent = node->parent();
    deletion.position = deletion.parent ? deletion.parent->indexOfChild(node) : tree->indexOfTopLevelItem(node);
    expandedIn(node, deletion.expanded);
    deletion.node.reset(deletion.parent ? deletion.parent->takeChild(deletion.position)
                                        : tree->takeTopLevelItem(deletion.position));
    m_done.push_back(std::move(deletion));
    // The oldest goes first: a node kept by a newer deletion may be the parent of an older one, never the reverse.
    if (m_done.size() > Depth)
        m_done.pop_front();
}

QTreeWidgetItem* DeletionUndo::undo()
{
    if (m_done.empty())
        return nullptr;
    Deletion& last = m_done.back();
    QTreeWidgetItem* file = last.parent ? Top_Node(last.parent) : last.node.get();
    if (!last.file)
        Restore_Rows(m_session, file->text(0), last.rows);
    else if (last.contents)
        Restore_Virtual_File(m_session, file->text(0), *last.contents);
    // Where it stood, or last when the nodes around it went since.
    QTreeWidgetItem* node = last.node.release();
    if (last.parent)
        last.parent->insertChild(qMin(last.position, last.parent->childCount()), node);
    else
        last.tree->insertTopLevelItem(qMin(last.position, last.tree->topLevelItemCount()), node);
    for (QTreeWidgetItem* open : std::as_const(last.expanded))
        open->setExpanded(true);
    m_done.pop_back();
    return node;
}

void DeletionUndo::clear() { m_done.clear(); }
