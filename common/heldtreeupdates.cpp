#include "heldtreeupdates.h"

#include <QTreeWidget>

HeldTreeUpdates::HeldTreeUpdates(QTreeWidget* tree)
    : m_tree(tree)
{
    if (!tree)
        return;
    m_updatesWereEnabled = tree->updatesEnabled();
    tree->setUpdatesEnabled(false);
    QHeaderView* header = tree->header();
    for (int i = 0; i < header->count(); ++i) {
        if (header->sectionResizeMode(i) == QHeaderView::ResizeToContents) {
            m_contentSized << i;
            header->setSectionResizeMode(i, QHeaderView::Interactive);
        }
    }
}

HeldTreeUpdates::~HeldTreeUpdates()
{
    if (!m_tree)
        return;
    QHeaderView* header = m_tree->header();
    for (int i : m_contentSized)
        header->setSectionResizeMode(i, QHeaderView::ResizeToContents);
    m_tree->setUpdatesEnabled(m_updatesWereEnabled);
}
