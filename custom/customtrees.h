#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>

class QMenu;

// TreeSubjects: the installed subjects the student drags from. A press selects the node under the pointer,
// so that a drag always carries the node the student took hold of.
class SubjectsTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit SubjectsTree(QWidget* parent = nullptr);
    static const QString MimeType;

Q_SIGNALS:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
};

// TreeVirtual: the student's virtual subject files. It takes drops only from its source tree, marks the
// node under a hovering drag as the drop target, opens its popup menu for the node a right-click is on, and
// ends label edits through the window, which decides whether a new name is stored.
class VirtualTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit VirtualTree(QWidget* parent = nullptr);

    // Drags that started anywhere else (another window, another program) are not taken.
    void setDragSource(QWidget* source) { m_source = source; }
    // The popup menu a right press opens, once the node under the pointer is selected.
    void setPopupMenu(QMenu* menu);

    QTreeWidgetItem* dropHighlight() const;
    void setDropHighlight(QTreeWidgetItem* node);
    // The drop target under a point in the tree's own coordinates (frame included), in pixels.
    void highlightAt(const QPoint& treePosition);

    // Starts a label edit: the node's text is kept as OldName first.
    void editLabel(QTreeWidgetItem* node);
    QString OldName;
    // The node of the last label edit started; nullptr once it has gone.
    QTreeWidgetItem* editedNode() const;

Q_SIGNALS:
    void pressed();
    // A right press selected the node under the pointer; its menu opens next.
    void rightClickSelected(QTreeWidgetItem* node);
    void mouseReleased();
    void deletePressed();
    // A drag of the source tree hovers at a point in the tree's coordinates, in pixels.
    void dragMoved(const QPoint& treePosition);
    // The drag went away or was given up.
    void dragLeft();
    // A drag of the source tree was let go over the tree; target is the node highlighted then, if any.
    void dropped(QTreeWidgetItem* target);
    // A label edit ended with a text; the node still shows its old one. An edit given up with Escape writes
    // nothing, so the node keeps OldName.
    void labelEdited(QTreeWidgetItem* node, const QString& newText);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    friend class LabelEditDelegate;
    // Accepts a drag of the source tree as a copy; ignores any other.
    bool takeDrag(QDropEvent* event) const;
    QPoint treePosition(const QPoint& viewportPosition) const;

    QPointer<QWidget> m_source;
    QPointer<QMenu> m_menu;
    QPersistentModelIndex m_highlight;
    QPersistentModelIndex m_edited;
};
