#include "nodesizes.h"

size_t qHash(const NodeSizeDelegate::Look& look, size_t seed)
{
    return qHashMulti(seed, look.text, look.font, look.icon, look.decoration.width(), look.decoration.height(),
        look.features, look.state, look.checkState, look.alignment);
}

QSize NodeSizeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // A size the node carries is the standard answer, with nothing to measure.
    const QVariant carried = index.data(Qt::SizeHintRole);
    if (carried.isValid())
        return carried.toSize();
    QStyleOptionViewItem node = option;
    initStyleOption(&node, index);
    const Look look { node.text, node.font, node.icon.cacheKey(), node.decorationSize, node.features.toInt(),
        node.state.toInt(), node.checkState, node.displayAlignment.toInt() };
    const auto found = m_sizes.constFind(look);
    if (found != m_sizes.constEnd())
        return *found;
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    m_sizes.insert(look, size);
    return size;
}
