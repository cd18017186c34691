#pragma once

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>

// The editor's trees size their column to their contents, so every layout (opening, resizing, expanding, each
// drop) measures up to a thousand rows again, and shaping their texts is most of that work. This delegate
// draws nodes as the standard one does and keeps each size it has measured: the same text in the same font,
// picture and state always measures the same.
class NodeSizeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Everything the standard measure reads of a node that is not wrapped.
    struct Look
    {
        QString text;
        QFont font;
        qint64 icon;
        QSize decoration;
        unsigned features;
        unsigned state;
        int checkState;
        unsigned alignment;
        bool operator==(const Look&) const = default;
    };

private:
    mutable QHash<Look, QSize> m_sizes;
};

size_t qHash(const NodeSizeDelegate::Look& look, size_t seed = 0);
