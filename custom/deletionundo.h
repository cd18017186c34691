#pragma once

#include <deque>
#include <memory>

#include <QByteArray>

#include "custom/virtualfiles.h"

class QTreeWidget;
class QTreeWidgetItem;

// The deletions made in the custom subject editor while it is open, newest last, each with what it takes to put
// it back exactly: the file's contents or the rows with their own keys, and the node of TreeVirtual, taken out of
// the tree whole (its children, its pictures, whether it was open) and kept with its parent and position.
// The file a deletion belongs to is read from the tree when it is undone, so a folder renamed since is found.
class DeletionUndo
{
public:
    // The deletions older than this many are forgotten.
    static constexpr int Depth = 20;

    // The deletions are made in the session's folders.
    explicit DeletionUndo(const Session& session);
    ~DeletionUndo();
    DeletionUndo(const DeletionUndo&) = delete;
    DeletionUndo& operator=(const DeletionUndo&) = delete;

    // Deletes on disk what the node stands for (a file, a virtual subject with its phrases, a phrase), then
    // takes the node out of its tree and remembers both. A failure throws (std::exception) and leaves the node
    // and the undo list as they were.
    void remove(QTreeWidget* tree, QTreeWidgetItem* node);

    bool canUndo() const { return !m_done.empty(); }
    // Puts the newest deletion back on disk and its node back in its place; the node. nullptr when there is
    // nothing to undo. A failure throws and keeps the deletion, so that nothing else is lost.
    QTreeWidgetItem* undo();
    // Forgets every deletion (the editor closes).
    void clear();

private:
    struct Deletion
    {
        QTreeWidget* tree = nullptr;
        QTreeWidgetItem* parent = nullptr; // nullptr for a file at the top of the tree
        int position = 0;
        std::unique_ptr<QTreeWidgetItem> node;
        QVector<QTreeWidgetItem*> expanded; // the node and those under it that were open: the tree forgets it
        bool file = false;
        std::optional<QByteArray> contents; // of a file that was there
        QVector<StoredRows> rows; // of a virtual subject or a phrase
    };

    const Session m_session;
    std::deque<Deletion> m_done;
};
