#include "customtrees.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "custom/nodesizes.h"
#include "subjects/treenode.h"

const QString SubjectsTree::MimeType = QStringLiteral("application/x-parlanta-subject-node");

SubjectsTree::SubjectsTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setItemDelegate(new NodeSizeDelegate(this));
}

void SubjectsTree::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed();
    QTreeWidget::mousePressEvent(event);
}

void SubjectsTree::startDrag(Qt::DropActions)
{
    QTreeWidgetItem* node = currentItem();
    if (!node)
        return;
    auto* data = new QMimeData;
    data->setData(MimeType, nodeTag(node).toUtf8());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QRect row = visualItemRect(node);
    if (row.isValid()) {
        drag->setPixmap(viewport()->grab(row));
        drag->setHotSpot(QPoint(row.height(), row.height() / 2));
    }
    // Copy only: the installed subjects must never lose a node to a drop.
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

// Ends an edit without writing the text: the window stores the name, or refuses it and edits again.
class LabelEditDelegate : public NodeSizeDelegate
{
public:
    explicit LabelEditDelegate(VirtualTree* tree)
        : NodeSizeDelegate(tree)
        , m_tree(tree)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return new QLineEdit(parent);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        const auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line)
            return;
        // After the editor has closed, so that a notice about the name does not open under it.
        QTimer::singleShot(0, m_tree, [tree = m_tree, index = QPersistentModelIndex(index), text = line->text()] {
            if (QTreeWidgetItem* node = tree->itemFromIndex(index))
                Q_EMIT tree->labelEdited(node, text);
        });
    }

private:
    VirtualTree* m_tree;
};

VirtualTree::VirtualTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
    // The window's own timer scrolls during a drag.
    setAutoScroll(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new LabelEditDelegate(this));
}

void VirtualTree::setPopupMenu(QMenu* menu) { m_menu = menu; }

QTreeWidgetItem* VirtualTree::dropHighlight() const
{
    return m_highlight.isValid() ? itemFromIndex(m_highlight) : nullptr;
}

void VirtualTree::setDropHighlight(QTreeWidgetItem* node)
{
    const QPersistentModelIndex index = node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
    if (index == m_highlight)
        return;
    m_highlight = index;
    viewport()->update();
}

void VirtualTree::highlightAt(const QPoint& at) { setDropHighlight(itemAt(viewport()->mapFrom(this, at))); }

void VirtualTree::editLabel(QTreeWidgetItem* node)
{
    if (!node)
        return;
    m_edited = indexFromItem(node);
    OldName = node->text(0);
    setCurrentItem(node);
    scrollToItem(node);
    editItem(node);
}

QTreeWidgetItem* VirtualTree::editedNode() const { return m_edited.isValid() ? itemFromIndex(m_edited) : nullptr; }

void VirtualTree::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed();
    if (event->button() != Qt::RightButton) {
        QTreeWidget::mousePressEvent(event);
        return;
    }
    // The node under the pointer first, so that the menu's commands act on the node the student pointed at.
    if (QTreeWidgetItem* node = itemAt(event->position().toPoint())) {
        setCurrentItem(node);
        Q_EMIT rightClickSelected(node);
    }
    if (m_menu)
        m_menu->exec(event->globalPosition().toPoint());
    event->accept();
}

void VirtualTree::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT mouseReleased();
    QTreeWidget::mouseReleaseEvent(event);
}

void VirtualTree::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        Q_EMIT deletePressed();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QPoint VirtualTree::treePosition(const QPoint& viewportPosition) const
{
    return viewport()->mapTo(this, viewportPosition);
}

bool VirtualTree::takeDrag(QDropEvent* event) const
{
    if (!m_source || event->source() != m_source.data()) {
        event->ignore();
        return false;
    }
    // A copy: the source tree never loses a node.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void VirtualTree::dragEnterEvent(QDragEnterEvent* event) { takeDrag(event); }

void VirtualTree::dragMoveEvent(QDragMoveEvent* event)
{
    if (takeDrag(event))
        Q_EMIT dragMoved(treePosition(event->position().toPoint()));
}

void VirtualTree::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
    Q_EMIT dragLeft();
}

void VirtualTree::dropEvent(QDropEvent* event)
{
    if (!takeDrag(event))
        return;
    // The drop is worked once the drag has ended, so that its messages do not open inside the drag.
    QTimer::singleShot(0, this, [this, target = m_highlight] { Q_EMIT dropped(itemFromIndex(target)); });
}

void VirtualTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool target = m_highlight.isValid() && index == m_highlight;
    // Warmer than the selection, so that the student tells the drop target from the selected node; the
    // fill goes under the text and the frame over it.
    const QRectF frame = QRectF(option.rect).adjusted(1, 1, -1, -1);
    if (target)
        painter->fillRect(frame, QColor(0xf4, 0xa2, 0x61, 110));
    QTreeWidget::drawRow(painter, option, index);
    if (!target)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(QColor(0xe7, 0x6f, 0x51), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(frame, 4, 4);
    painter->restore();
}
