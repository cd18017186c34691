#pragma once

#include <QObject>
#include <QPoint>

class QTimer;
class VirtualTree;

enum class ScrollDirection {
    None,
    Up,
    Down,
};
// Where a drag hovering y twips below the top of a tree heightTwips high scrolls it: up within 100 twips of
// the top, down within 200 twips of the bottom.
ScrollDirection Auto_Scroll_Direction(int yTwips, int heightTwips);

// Scrolls TreeVirtual one line each tick of Timer1 while a drag hovers near its top or bottom edge, and
// keeps the node under the resting pointer highlighted as the drop target while the rows move under it.
class AutoScroll : public QObject
{
    Q_OBJECT
public:
    AutoScroll(VirtualTree* tree, QTimer* Timer1);
    // The drag at a point in the tree's coordinates (frame included), in pixels.
    void dragOver(const QPoint& treePosition);
    void Timer1_Timer();
    // The drag dropped or went away: no scrolling, no drop target.
    void stop();

    bool ScrollUp = false;

private:
    VirtualTree* m_tree;
    QTimer* m_timer;
    QPoint m_last;
};
